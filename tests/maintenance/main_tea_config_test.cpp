#include "contacts/main_jh_user.h"
#include "datalayer/clientstate.h"
#include "datalayer/dialect.h"
#include "datalayer/query.h"
#include "maintenance/main_tea_config.h"
#include "maintenance/teaparameters.h"
#include "purchasing/main_jh.h"
#include "tests/support/screentest.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QToolButton>

namespace {

// One of the three lists with the controls that keep it.
struct Group {
    const char *name;
    QString table, column;
    QString caption, initial;
    QLineEdit *TForm_tea_config::*edit;
    QToolButton *TForm_tea_config::*add;
    QToolButton *TForm_tea_config::*remove;
    QListWidget *TForm_tea_config::*list;
};

void PrintTo(const Group &g, std::ostream *os)
{
    *os << g.name;
}

const Group kGroups[] = {
    {"Varieties", "品种管理", "品种", "品种管理", "铁观音", &TForm_tea_config::Edit1, &TForm_tea_config::SpeedButton1,
     &TForm_tea_config::SpeedButton2, &TForm_tea_config::ListBox1},
    {"Origins", "产地管理", "产地", "产地管理", "感德", &TForm_tea_config::Edit2, &TForm_tea_config::SpeedButton3,
     &TForm_tea_config::SpeedButton4, &TForm_tea_config::ListBox2},
    {"Packaging", "包装管理", "包装", "包装管理", "散装", &TForm_tea_config::Edit3, &TForm_tea_config::SpeedButton5,
     &TForm_tea_config::SpeedButton6, &TForm_tea_config::ListBox3},
};

class TeaParameters : public ScreenTest {
protected:
    TeaParameters()
    {
        main.show();
        main.setEnabled(false);
        Client().mainWindow = &main;
    }
    ~TeaParameters() override
    {
        delete window.data();
        Client().mainWindow = nullptr;
    }
    TForm_tea_config *open()
    {
        delete window.data();
        window = Form_tea_config = new TForm_tea_config();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QCoreApplication::processEvents();
        return window;
    }
    // A list as its table holds it, in stored order.
    static QStringList stored(const QString &table, const QString &column)
    {
        Query q(&conn(), "check");
        q.SetSQL("select " + column + " from " + table + " Order By ID");
        q.Open();
        QStringList out;
        for (int r = 0; r < q.RecordCount(); ++r)
            out << q.Text(r, 0);
        return out;
    }
    static QStringList shown(const QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    QWidget main;
    QPointer<TForm_tea_config> window;
};

TEST_F(TeaParameters, OpensWithTheDefaultTextsAndTheThreeTables)
{
    TForm_tea_config *w = open();
    EXPECT_EQ(w->windowTitle(), "茶叶相关参数管理");
    EXPECT_EQ(w->size(), QSize(484, 470));
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    int left = -1;
    for (const Group &g : kGroups) {
        auto *box = (w->*g.edit)->parentWidget();
        EXPECT_EQ(qobject_cast<QGroupBox *>(box)->title(), g.caption);
        EXPECT_GT(box->x(), left) << g.name; // side by side, left to right
        left = box->x();
        EXPECT_EQ((w->*g.edit)->text(), g.initial);
        EXPECT_EQ((w->*g.add)->text(), "+");
        EXPECT_EQ((w->*g.remove)->text(), "-");
        EXPECT_EQ(shown(w->*g.list), stored(g.table, g.column)) << g.name;
        EXPECT_FALSE(stored(g.table, g.column).isEmpty()) << g.name;
        EXPECT_FALSE((w->*g.edit)->accessibleName().isEmpty());
    }
}

TEST_F(TeaParameters, ClosingGivesTheMainWindowBack)
{
    open()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main.isEnabled());
}

class EachList : public TeaParameters, public ::testing::WithParamInterface<Group> {
protected:
    void SetUp() override
    {
        const Group &g = GetParam();
        Run("delete from " + g.table);
        for (const char *v : {"甲", "乙", "丙"})
            Run("insert into " + g.table + "(" + g.column + ") values('" + v + "')");
        w = open();
    }
    QLineEdit *edit() { return w->*GetParam().edit; }
    QListWidget *list() { return w->*GetParam().list; }
    void plus() { (w->*GetParam().add)->click(); }
    void minus() { (w->*GetParam().remove)->click(); }
    QStringList table() { return stored(GetParam().table, GetParam().column); }
    void pick(int row)
    {
        const QRect r = list()->visualItemRect(list()->item(row));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
    }
    TForm_tea_config *w = nullptr;
};

TEST_P(EachList, AnEmptyBoxDoesNothing)
{
    edit()->clear();
    plus();
    minus();
    EXPECT_EQ(table(), QStringList({"甲", "乙", "丙"}));
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_P(EachList, PlusAddsAtTheBottomAndEmptiesTheBox)
{
    edit()->setText("x' or '1'='1");
    plus();
    EXPECT_EQ(table(), QStringList({"甲", "乙", "丙", "x' or '1'='1"}));
    EXPECT_EQ(shown(list()), table());
    EXPECT_EQ(edit()->text(), "");
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_P(EachList, AClickCopiesTheEntryAndMinusRemovesThatEntry)
{
    Run("insert into " + GetParam().table + "(" + GetParam().column + ") values('乙')"); // a second 乙
    w = open();
    pick(1);
    EXPECT_EQ(edit()->text(), "乙");
    minus();
    // The picked row goes, not every row of that name.
    EXPECT_EQ(table(), QStringList({"甲", "丙", "乙"}));
    EXPECT_EQ(shown(list()), table());
    EXPECT_EQ(edit()->text(), "");

    // The picked entry goes even when the box was typed over since.
    pick(0);
    edit()->setText("丙");
    minus();
    EXPECT_EQ(table(), QStringList({"丙", "乙"}));
    EXPECT_EQ(shown(list()), table());
}

TEST_P(EachList, WithNothingPickedMinusRemovesTheTypedName)
{
    edit()->setText("乙");
    minus();
    EXPECT_EQ(table(), QStringList({"甲", "丙"}));
    EXPECT_EQ(shown(list()), table());
    EXPECT_EQ(edit()->text(), "");

    // A quote is part of the name: nothing else goes.
    edit()->setText("x' or '1'='1");
    minus();
    EXPECT_EQ(dialogs.Texts(), QStringList({"列表中没有“x' or '1'='1”!"}));
    EXPECT_EQ(table(), QStringList({"甲", "丙"}));
    EXPECT_EQ(edit()->text(), "x' or '1'='1");

    plus();
    edit()->setText("x' or '1'='1");
    minus();
    EXPECT_EQ(table(), QStringList({"甲", "丙"}));
}

TEST_P(EachList, TheListFollowsItsTableAfterEveryPress)
{
    // Written behind the window's back; the next press shows it.
    Run("insert into " + GetParam().table + "(" + GetParam().column + ") values('丁')");
    edit()->setText("戊");
    plus();
    EXPECT_EQ(shown(list()), QStringList({"甲", "乙", "丙", "丁", "戊"}));
    Run("delete from " + GetParam().table + " where " + GetParam().column + "='甲'");
    edit()->setText("乙");
    minus();
    EXPECT_EQ(shown(list()), QStringList({"丙", "丁", "戊"}));
}

INSTANTIATE_TEST_SUITE_P(TeaParameters, EachList, ::testing::ValuesIn(kGroups),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(TeaParameters, StockIntakeOffersWhatTheListsHoldWhenItOpens)
{
    TForm_tea_config *w = open();
    w->Edit1->setText("龙井");
    w->SpeedButton1->click();
    w->Edit2->setText("杭州");
    w->SpeedButton3->click();
    w->Edit3->setText("散装");
    w->SpeedButton6->click();
    w->close();

    QPointer<TForm_jh> intake = Form_jh = new TForm_jh();
    intake->show();
    QCoreApplication::processEvents();
    auto items = [](const QComboBox *box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    };
    EXPECT_TRUE(items(intake->ComboBox1).contains("龙井"));
    EXPECT_TRUE(items(intake->ComboBox3).contains("杭州"));
    EXPECT_FALSE(items(intake->ComboBox6).contains("散装"));
    EXPECT_EQ(items(intake->ComboBox6), stored("包装管理", "包装"));
    delete intake.data();
    delete Form_jh_user;
}

} // namespace
