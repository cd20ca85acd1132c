#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "datalayer/query.h"
#include "datalayer/sql_ado_conn.h"
#include "finance/main_zc.h"
#include "tests/support/screentest.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class Expenses : public ScreenTest {
protected:
    ~Expenses() override { delete screen.data(); }

    TForm_zc *open()
    {
        screen = Form_zc = new TForm_zc();
        screen->show();
        QCoreApplication::processEvents();
        return screen;
    }

    void add(const QDate &day, const QString &amount, const QString &what)
    {
        screen->DateTimePicker1->setDate(day);
        screen->LabeledEdit1->setText(amount);
        screen->Memo1->setPlainText(what);
        screen->Button1->click();
    }

    int row(const QString &what)
    {
        return int(Listed(screen->DBGrid1, "事项").indexOf(what));
    }

    static int count() { return Scalar("Select count(*) From 支出管理").toInt(); }

    QPointer<TForm_zc> screen;
};

TEST_F(Expenses, AddChangeAndDeleteWithTheirQuestionsAndTheListedTotal)
{
    open();
    add(QDate(2009, 4, 26), "30", "事项：\n电费");
    add(QDate(2009, 4, 26), "20", "事项：\n房东's 水费");
    add(QDate(2009, 4, 27), "15", "事项：\n茶袋");
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定加入此事项!", "是否确定加入此事项!", "是否确定加入此事项!"}));
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(screen->LabeledEdit1->text(), "");
    EXPECT_EQ(screen->Memo1->toPlainText(), "事项：");
    EXPECT_EQ(Listed(screen->DBGrid1, "日期"), QStringList({"2009-04-27", "2009-04-26", "2009-04-26"}));
    EXPECT_EQ(screen->DBGrid1->FooterCellText(screen->DBGrid1->ColumnIndex("金额")), "￥65.00");
    EXPECT_EQ(Scalar("Select 事项 From 支出管理 where 金额=20"), "事项：\n房东's 水费");

    // A click loads the row; a change touches only that row.
    ClickRow(screen->DBGrid1, row("事项：\n电费"));
    EXPECT_EQ(screen->LabeledEdit1->text(), "30");
    EXPECT_EQ(screen->DateTimePicker1->date(), QDate(2009, 4, 26));
    screen->LabeledEdit1->setText("35.5");
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改此事项!"}));
    EXPECT_EQ(Scalar("Select sum(金额) From 支出管理"), "70.5");
    EXPECT_EQ(screen->Memo1->toPlainText(), "事项：");

    // The day's list and its footer.
    screen->DateTimePicker1->setDate(QDate(2009, 4, 26));
    screen->SpeedButton1->click();
    EXPECT_EQ(Listed(screen->DBGrid1, "金额").size(), 2);
    EXPECT_EQ(screen->DBGrid1->FooterCellText(screen->DBGrid1->ColumnIndex("金额")), "￥55.50");
    screen->DateTimePicker1->setDate(QDate(2009, 5, 1));
    screen->N8->trigger();
    EXPECT_TRUE(Listed(screen->DBGrid1, "金额").isEmpty());
    EXPECT_EQ(screen->DBGrid1->FooterCellText(screen->DBGrid1->ColumnIndex("金额")), "￥0.00");
    screen->N2->trigger();
    ASSERT_EQ(Listed(screen->DBGrid1, "金额").size(), 3);

    // Cancel deletes nothing; the popup's item asks as the button does.
    ClickRow(screen->DBGrid1, row("事项：\n茶袋"));
    dialogs.Clear();
    dialogs.Cancel();
    screen->D1->trigger();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除此事项!"}));
    EXPECT_EQ(count(), 3);
    screen->Button2->click();
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(Scalar("Select count(*) From 支出管理 where 金额=15"), "0");
}

TEST_F(Expenses, AWriteAddressesTheRowOnScreenOrNothing)
{
    Run("insert into 支出管理(日期,金额,事项) values('2009-04-26',30,'a')");
    Run("insert into 支出管理(日期,金额,事项) values('2009-04-26',20,'b')");
    open();
    // Nothing loaded: both writes ask for a row and change nothing.
    for (QPushButton *b : {screen->Button3, screen->Button2}) {
        screen->LabeledEdit1->setText("1");
        dialogs.Clear();
        b->click();
        EXPECT_EQ(dialogs.Texts(), QStringList({Dialogs::kChooseRow}));
    }
    // After a change the key is forgotten: a second press asks again.
    ClickRow(screen->DBGrid1, row("a"));
    screen->LabeledEdit1->setText("31");
    screen->Button3->click();
    dialogs.Clear();
    screen->LabeledEdit1->setText("99");
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({Dialogs::kChooseRow}));
    EXPECT_EQ(Scalar("Select 金额 From 支出管理 where 事项='a'"), "31");
    EXPECT_EQ(Scalar("Select 金额 From 支出管理 where 事项='b'"), "20");

    // A row deleted meanwhile is reported, not changed into existence.
    ClickRow(screen->DBGrid1, row("b"));
    Run("delete from 支出管理 where 事项='b'");
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改此事项!", Dialogs::kRowGone}));
    EXPECT_EQ(count(), 1);
}

TEST_F(Expenses, ABadAmountIsNamedBeforeAnyQuestion)
{
    open();
    for (const QString amount : {"", "abc", "1.2.3"}) {
        dialogs.Clear();
        add(QDate(2009, 4, 26), amount, "事项：x");
        EXPECT_EQ(dialogs.Texts(), QStringList({"请输入正确的金额!"})) << amount.toStdString();
    }
    EXPECT_EQ(count(), 0);
}

} // namespace
