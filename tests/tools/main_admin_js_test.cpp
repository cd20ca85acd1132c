#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/labelededit.h"
#include "datalayer/numbertext.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "tests/support/screentest.h"
#include "tools/main_admin_js.h"
#include "tools/notestatements.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

namespace {

const QDateTime kAt(QDate(2009, 4, 30), QTime(14, 5, 0));

// One row of 记事本 as the tests read it.
struct StoredNote {
    QString owner, saved, flag, at, title, text;
    bool operator==(const StoredNote &) const = default;
};

void PrintTo(const StoredNote &n, std::ostream *os)
{
    *os << QStringList{n.owner, n.saved, n.flag, n.at, n.title, n.text}.join(" | ").toStdString();
}

class Notepad : public ScreenTest {
protected:
    ~Notepad() override
    {
        for (const QPointer<TForm_js> &w : windows)
            delete w.data();
    }

    TForm_js *open()
    {
        auto *w = Form_js = new TForm_js();
        windows << w;
        w->show();
        QCoreApplication::processEvents();
        return w;
    }

    static qint64 addNote(const QString &owner, const QString &title, bool remind = true, const QDateTime &at = kAt,
                          const QString &text = "内容：\n给供应商打电话")
    {
        Run(AddNoteSql(owner, {title, text, remind, at}, QDate(2001, 1, 1)));
        return Scalar("Select max(ID) From 记事本").toLongLong();
    }

    static std::vector<StoredNote> stored()
    {
        Query q(&conn(), "check");
        q.SetSQL("Select 用户名, 修改日期, cast(提醒 as integer), 提醒时间, 标题, 内容 From 记事本 Order By ID");
        q.Open();
        std::vector<StoredNote> out;
        for (int r = 0; r < q.RecordCount(); ++r)
            out.push_back({q.Text(r, 0), q.Text(r, 1), q.Text(r, 2), q.Text(r, 3), q.Text(r, 4), q.Text(r, 5)});
        return out;
    }

    static QString storedFlag(qint64 id)
    {
        return Scalar(QString("Select 提醒 From 记事本 where ID=%1").arg(id));
    }

    static QStringList titles(TForm_js *w) { return Listed(w->DBGrid1, "标题"); }

    static void fill(TForm_js *w, const QString &title, const QString &text)
    {
        w->LabeledEdit2->setText(title);
        w->Memo1->setPlainText(text);
    }

    static QString today() { return DateToStr(QDate::currentDate()); }

    static QPushButton *button(TForm_js *w, int n) { return w->findChild<QPushButton *>(QString("Button%1").arg(n)); }

    QList<QPointer<TForm_js>> windows;
};

TEST_F(Notepad, ShowsItsControlsAndOnlyTheCurrentUsersNotes)
{
    addNote("admin", "自己的");
    addNote("李四", "别人的");
    TForm_js *w = open();
    EXPECT_EQ(w->windowTitle(), "记事本");
    EXPECT_EQ(w->size(), QSize(699, 414));
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(w->Label1->text(), "提醒日期：");
    EXPECT_EQ(w->Label1->buddy(), w->DateTimePicker1);
    EXPECT_EQ(w->DateTimePicker2->accessibleName(), "提醒时间");
    EXPECT_EQ(w->CheckBox1->text(), "提醒");
    EXPECT_EQ(w->LabeledEdit2->EditLabel()->text(), "标题：");
    EXPECT_EQ(w->Memo1->toPlainText(), "内容：");
    EXPECT_TRUE(w->Memo1->tabChangesFocus());
    EXPECT_EQ(w->Button1->text(), "添加");
    EXPECT_EQ(w->Button2->text(), "修改");
    EXPECT_EQ(w->Button3->text(), "删除");
    QStringList columns;
    for (const GridColumn &c : w->DBGrid1->Columns())
        columns << c.fieldName;
    EXPECT_EQ(columns, QStringList({"标题", "修改日期", "提醒", "提醒时间"}));
    EXPECT_EQ(w->DBGrid1->columnWidth(0), 103);
    EXPECT_EQ(w->DBGrid1->columnWidth(2), 30);
    EXPECT_EQ(titles(w), QStringList({"自己的"}));
    EXPECT_EQ(Listed(w->DBGrid1, "提醒时间"), QStringList({"2009-04-30 14:05:00"}));
}

struct AddCase {
    const char *name;
    bool ticked;
    QString flag;
};

void PrintTo(const AddCase &c, std::ostream *os)
{
    *os << c.name;
}

class Adding : public Notepad, public ::testing::WithParamInterface<AddCase> {};

TEST_P(Adding, StoresTheOwnerTodayTheFlagTheTimeTextAndTheUntouchedTextLine)
{
    TForm_js *w = open();
    w->DateTimePicker1->setDate(kAt.date());
    w->DateTimePicker2->setTime(kAt.time());
    w->CheckBox1->setChecked(GetParam().ticked);
    w->LabeledEdit2->setText("秋季乌龙");
    w->Button1->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定添加!"}));
    EXPECT_EQ(dialogs.Requests().at(0).caption, "提示!");
    EXPECT_EQ(stored(), std::vector<StoredNote>({{"admin", today(), GetParam().flag, "2009-04-30 14:05:00", "秋季乌龙",
                                                  "内容："}}));
    EXPECT_EQ(w->LabeledEdit2->text(), "");
    EXPECT_EQ(w->Memo1->toPlainText(), "");
    EXPECT_EQ(titles(w), QStringList({"秋季乌龙"}));
}

INSTANTIATE_TEST_SUITE_P(Flag, Adding,
                         ::testing::Values(AddCase{"Ticked", true, "-1"}, AddCase{"Unticked", false, "0"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Notepad, QuotesAndCommentMarksAreStoredAsTyped)
{
    TForm_js *w = open();
    const QString title = "O'Brien's '); delete from 记事本; --";
    const QString text = "内容：\nit's 100% -- \"fine\"";
    fill(w, title, text);
    w->Button1->click();
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_EQ(stored().at(0).title, title);
    EXPECT_EQ(stored().at(0).text, text);
}

TEST_F(Notepad, AClickFillsEveryControlAndAChangedTimeKeepsTheDate)
{
    const qint64 id = addNote("admin", "乌龙");
    TForm_js *w = open();
    ClickRow(w->DBGrid1, 0);
    EXPECT_EQ(w->SelectedRecord(), id);
    EXPECT_TRUE(w->CheckBox1->isChecked());
    EXPECT_EQ(w->DateTimePicker1->date(), QDate(2009, 4, 30));
    EXPECT_EQ(w->DateTimePicker2->time(), QTime(14, 5, 0));
    EXPECT_EQ(w->LabeledEdit2->text(), "乌龙");
    EXPECT_EQ(w->Memo1->toPlainText(), "内容：\n给供应商打电话");

    w->DateTimePicker2->setTime(QTime(15, 30, 0));
    w->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改!"}));
    EXPECT_EQ(stored(), std::vector<StoredNote>({{"admin", today(), "-1", "2009-04-30 15:30:00", "乌龙",
                                                  "内容：\n给供应商打电话"}}));
    EXPECT_EQ(w->LabeledEdit2->text(), "");
    EXPECT_EQ(w->Memo1->toPlainText(), "");
    EXPECT_EQ(w->SelectedRecord(), -1);
}

TEST_F(Notepad, AClickOnAnEmptyListChangesNothing)
{
    TForm_js *w = open();
    fill(w, "typed", "text");
    QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(w->LabeledEdit2->text(), "typed");
    EXPECT_EQ(w->SelectedRecord(), -1);
    EXPECT_TRUE(dialogs.Requests().empty());
}

struct ButtonCase {
    const char *name;
    int button;
    QString question;
};

void PrintTo(const ButtonCase &c, std::ostream *os)
{
    *os << c.name;
}

const ButtonCase kAdd{"Add", 1, "是否确定添加!"};
const ButtonCase kChange{"Change", 2, "是否确定修改!"};
const ButtonCase kDelete{"Delete", 3, "是否确定删除!"};

std::string caseName(const ::testing::TestParamInfo<ButtonCase> &info)
{
    return info.param.name;
}

class Buttons : public Notepad, public ::testing::WithParamInterface<ButtonCase> {
protected:
    QPushButton *pressed(TForm_js *w) const { return button(w, GetParam().button); }
};

TEST_P(Buttons, CancelChangesNothingAndKeepsTheTexts)
{
    addNote("admin", "乌龙");
    TForm_js *w = open();
    ClickRow(w->DBGrid1, 0);
    const auto before = stored();
    fill(w, "新标题", "新内容");
    dialogs.Cancel();
    pressed(w)->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({GetParam().question}));
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(w->LabeledEdit2->text(), "新标题");
    EXPECT_EQ(w->Memo1->toPlainText(), "新内容");
    EXPECT_EQ(titles(w), QStringList({"乌龙"}));
}

TEST_P(Buttons, AnEmptyTitleDoesNothing)
{
    addNote("admin", "乌龙");
    TForm_js *w = open();
    ClickRow(w->DBGrid1, 0);
    const auto before = stored();
    w->LabeledEdit2->setText("");
    pressed(w)->click();
    EXPECT_TRUE(dialogs.Requests().empty());
    EXPECT_EQ(stored(), before);
}

INSTANTIATE_TEST_SUITE_P(Each, Buttons, ::testing::Values(kAdd, kChange, kDelete), caseName);

// Change and delete, which need a note loaded.
class WithoutANote : public Buttons {};

TEST_P(WithoutANote, ChangeAndDeleteAskForANoteAndKeepTheTexts)
{
    addNote("admin", "乌龙");
    TForm_js *w = open();
    fill(w, "打字", "没选记事");
    pressed(w)->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({Dialogs::kChooseRow}));
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 0);
    EXPECT_EQ(titles(w), QStringList({"乌龙"}));
    EXPECT_EQ(w->LabeledEdit2->text(), "打字");
    EXPECT_EQ(w->Memo1->toPlainText(), "没选记事");
}

INSTANTIATE_TEST_SUITE_P(Each, WithoutANote, ::testing::Values(kChange, kDelete), caseName);

TEST_F(Notepad, DeleteForgetsTheNoteSoALaterChangeAsksForOne)
{
    addNote("admin", "留下");
    const qint64 gone = addNote("admin", "删掉");
    TForm_js *w = open();
    ClickRow(w->DBGrid1, 0); // newest on top
    ASSERT_EQ(w->SelectedRecord(), gone);
    w->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除!"}));
    EXPECT_EQ(titles(w), QStringList({"留下"}));
    EXPECT_EQ(w->SelectedRecord(), -1);
    EXPECT_EQ(w->LabeledEdit2->text(), "");

    dialogs.Clear();
    fill(w, "删掉", "再改");
    w->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({Dialogs::kChooseRow}));
    EXPECT_EQ(stored().size(), 1u);
    EXPECT_EQ(stored().at(0).title, "留下");
    EXPECT_EQ(w->LabeledEdit2->text(), "删掉");
}

class NoteGone : public Buttons {};

TEST_P(NoteGone, AWriteOnANoteDeletedElsewhereSaysSoAndKeepsTheTexts)
{
    addNote("admin", "乌龙");
    TForm_js *first = open();
    TForm_js *second = open();
    ClickRow(first->DBGrid1, 0);
    ClickRow(second->DBGrid1, 0);
    second->Button3->click();
    ASSERT_TRUE(stored().empty());
    dialogs.Clear();

    fill(first, "乌龙", "改过的内容");
    pressed(first)->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({GetParam().question, Dialogs::kRowGone}));
    EXPECT_TRUE(stored().empty());
    EXPECT_TRUE(titles(first).isEmpty());
    EXPECT_EQ(first->SelectedRecord(), -1);
    EXPECT_EQ(first->LabeledEdit2->text(), "乌龙");
    EXPECT_EQ(first->Memo1->toPlainText(), "改过的内容");
}

INSTANTIATE_TEST_SUITE_P(Each, NoteGone, ::testing::Values(kChange, kDelete), caseName);

TEST_F(Notepad, TheWindowKeepsItsOwnerAcrossAUserSwitch)
{
    const qint64 id = addNote("admin", "乌龙");
    addNote("李四", "李四的");
    TForm_js *w = open();
    ClickRow(w->DBGrid1, 0);
    Client().currentUser = "李四";
    fill(w, "乌龙改", "改");
    w->Button2->click();
    EXPECT_EQ(Scalar(QString("Select 用户名 From 记事本 where ID=%1").arg(id)), "admin");
    fill(w, "新记事", "新");
    w->Button1->click();
    EXPECT_EQ(Scalar("Select 用户名 From 记事本 where 标题='新记事'"), "admin");
    EXPECT_EQ(titles(w), QStringList({"新记事", "乌龙改"}));
    EXPECT_EQ(w->Owner(), "admin");

    // A notepad opened now is the other user's.
    TForm_js *other = open();
    EXPECT_EQ(titles(other), QStringList({"李四的"}));
}

TEST_F(Notepad, ChangeAndDeleteReachOnlyTheOwnersNotes)
{
    const qint64 id = addNote("admin", "乌龙");
    EXPECT_TRUE(RunSQL(ChangeNoteSql("李四", id, {"改", "改", false, kAt}, QDate::currentDate()), conn()));
    EXPECT_EQ(conn().RowsAffected(), 0);
    EXPECT_TRUE(RunSQL(DeleteNoteSql("李四", id), conn()));
    EXPECT_EQ(conn().RowsAffected(), 0);
    EXPECT_EQ(stored().at(0).title, "乌龙");
}

TEST_F(Notepad, ReadsThroughAQueryOfItsOwnAndIsDestroyedWhenClosed)
{
    addNote("admin", "乌龙");
    TForm_js *w = open();
    Query *shared = Form_sql->ADOQuery1;
    shared->Close();
    shared->SetSQL("Select 用户名 From 用户管理");
    shared->Open();
    EXPECT_EQ(titles(w), QStringList({"乌龙"}));
    EXPECT_NE(w->DBGrid1->query(), shared);

    QPointer<TForm_js> alive(w);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(Form_js, nullptr);
}

} // namespace
