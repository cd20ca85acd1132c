#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/schema.h"
#include "datalayer/sql_ado_conn.h"
#include "finance/main_xszj.h"
#include "finance/settlementstatements.h"
#include "sales/salestatements.h"
#include "tests/support/screentest.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Summary : public ScreenTest {
protected:
    ~Summary() override { delete screen.data(); }

    TForm_xszj *open()
    {
        screen = Form_xszj = new TForm_xszj();
        screen->show();
        QCoreApplication::processEvents();
        return screen;
    }

    static qint64 lot(const QString &number, double remaining)
    {
        Run("insert into 库存管理(编号,品种,毛净茶,总重量,剩余重量,入库日期) values(" + QuotedStr(number) +
            ",'龙井','毛茶',20," + QString::number(remaining) + ",'2009-04-01')");
        return NewestLot();
    }

    // A sale as the front desk records it, with the key of its lot.
    static void sell(qint64 lotId, const QString &number, const QString &received, double remaining)
    {
        SaleFields s;
        s.lotNumber = number;
        s.customer = "王五";
        s.date = QDate(2009, 4, 26);
        s.unitPrice = "100";
        s.weight = "1";
        s.amount = "100";
        s.received = received;
        s.rawNet = "毛茶";
        ASSERT_TRUE(RecordSale(s, lotId, remaining, conn())) << conn().LastError().toStdString();
    }

    static QString lotField(qint64 id, const QString &column)
    {
        return Scalar("Select " + column + " From 库存管理 where ID = " + QString::number(id));
    }

    void toSettlement()
    {
        screen->PageControl1->setCurrentIndex(1);
        screen->Button5->click();
    }

    int rowOfLot(qint64 id)
    {
        const Query *q = Form_sql->ADOQuery_tj;
        for (int r = 0; r < q->RecordCount(); ++r)
            if (q->Text(r, q->FieldIndex("ID")) == QString::number(id))
                return r;
        return -1;
    }

    QPointer<TForm_xszj> screen;
};

TEST_F(Summary, TheButtonsFillTheListAndItsFootersInDateOrder)
{
    Run("insert into 支出管理(日期,金额,事项) values('2009-04-27',15,'x')");
    Run("insert into 欠款管理(客户名称,项目,金额,日期) values('a','欠款',300,'2009-04-25')");
    Run("insert into 欠款管理(客户名称,项目,金额,日期) values('a','还款',100,'2009-04-25')");
    Run("insert into 销售记录(编号,日期,毛净茶,重量,总金额,实收款) values('A','2009-04-26','毛茶',2.5,100,90)");
    Run("insert into 销售记录(编号,日期,毛净茶,重量,总金额,实收款) values('A','2009-04-26','净茶',1.5,60,60)");
    open();
    EXPECT_EQ(screen->windowTitle(), "销售总结");
    EXPECT_TRUE(Listed(screen->DBGrid1, "日期").isEmpty());
    screen->Button1->click();
    DBGrid *g = screen->DBGrid1;
    EXPECT_EQ(Listed(g, "日期"), QStringList({"2009-04-25", "2009-04-26", "2009-04-26", "2009-04-27"}));
    EXPECT_EQ(Listed(g, "毛净茶"), QStringList({"", "毛茶", "净茶", ""}));
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("毛净茶")), "总计：");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("总重量")), "4.00Kg");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("总金额")), "￥160.00");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("实收款")), "￥150.00");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("总支出")), "￥15.00");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("欠款总额")), "￥200.00");

    screen->DateTimePicker1->setDate(QDate(2009, 4, 26));
    screen->Button2->click();
    EXPECT_EQ(Listed(g, "毛净茶"), QStringList({"毛茶", "净茶"}));
    screen->Button9->click();
    EXPECT_TRUE(Listed(g, "日期").isEmpty());
    screen->Button3->click();
    EXPECT_TRUE(Listed(g, "日期").isEmpty());
    screen->Button7->click();
    EXPECT_EQ(Listed(g, "日期"), QStringList({"2009-04-27"}));
    screen->Button8->click();
    screen->Button10->click();
    EXPECT_EQ(Listed(g, "日期").size(), 4);
    EXPECT_EQ(Scalar("Select count(*) From 销售统计"), "4");
}

TEST_F(Summary, AFailingPassShowsTheEnginesReasonAndLeavesTheList)
{
    Run("insert into 支出管理(日期,金额,事项) values('2009-04-27',15,'x')");
    open();
    screen->Button7->click();
    conn().ExecuteNative("CREATE TEMP TRIGGER refuse BEFORE DELETE ON main.销售统计 BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    screen->Button1->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"disk full"}));
    EXPECT_EQ(Scalar("Select 总支出 From 销售统计"), "15");
}

TEST_F(Summary, SettlingALotStoresItsProfitAndClosesItAlone)
{
    const qint64 a = lot("L1", 8), b = lot("L2", 5);
    sell(a, "L1", "120", 7);
    sell(a, "L1", "80", 6);
    sell(b, "L2", "50", 4);
    EXPECT_EQ(Scalar("Select " + columns::SaleLotKey + " From 销售记录 where 实收款=120"), QString::number(a));
    open();
    toSettlement();
    EXPECT_EQ(screen->DBGrid2->Columns()[size_t(screen->DBGrid2->ColumnIndex("入库日期"))].title, "进货日期");
    ClickRow(screen->DBGrid2, rowOfLot(a));
    EXPECT_EQ(screen->LabeledEdit1->text(), "L1");
    EXPECT_EQ(screen->LabeledEdit2->text(), "200");
    EXPECT_EQ(Listed(screen->DBGrid3, "实收款"), QStringList({"80", "120"}));
    dialogs.Cancel();
    screen->Button4->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定时行清货结算!"}));
    EXPECT_EQ(lotField(a, "结算"), "False");
    screen->Button4->click();
    EXPECT_EQ(lotField(a, "利润总额"), "200");
    EXPECT_EQ(lotField(a, "剩余重量"), "0");
    EXPECT_EQ(lotField(a, "结算"), "True");
    EXPECT_EQ(lotField(b, "剩余重量"), "4");
    EXPECT_EQ(lotField(b, "结算"), "False");
    EXPECT_TRUE(lotField(b, "利润总额").isEmpty());
    // The lot is forgotten with the write.
    dialogs.Clear();
    screen->LabeledEdit2->setText("1");
    screen->Button4->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({Dialogs::kChooseRow}));
    EXPECT_EQ(lotField(a, "利润总额"), "200");
}

TEST_F(Summary, TwoLotsWithOneNumberSettleWithTheirOwnSales)
{
    const qint64 first = lot("M0426", 10), second = lot("M0426", 10);
    sell(first, "M0426", "30", 9);
    sell(second, "M0426", "70", 9);
    // A sale stored before keys were recorded counts for the number.
    Run("insert into 销售记录(编号,日期,毛净茶,重量,总金额,实收款) values('M0426','2009-04-20','毛茶',1,5,5)");
    open();
    toSettlement();
    ClickRow(screen->DBGrid2, rowOfLot(first));
    EXPECT_EQ(screen->LabeledEdit2->text(), "35");
    EXPECT_EQ(Listed(screen->DBGrid3, "实收款"), QStringList({"5", "30"}));
    ClickRow(screen->DBGrid2, rowOfLot(second));
    EXPECT_EQ(screen->LabeledEdit2->text(), "75");
    screen->Button4->click();
    EXPECT_EQ(lotField(second, "利润总额"), "75");
    EXPECT_EQ(lotField(first, "结算"), "False");
    EXPECT_EQ(lotField(first, "剩余重量"), "9");
}

TEST_F(Summary, SettlingAddressesTheLotOnScreenOrNothing)
{
    const qint64 a = lot("L1", 8);
    lot("L2", 5);
    open();
    toSettlement();
    struct Case {
        const char *what;
        std::function<void()> prepare;
        QString notice;
    } cases[] = {
        {"no lot loaded", [] {}, Dialogs::kChooseRow},
        {"number retyped",
         [this, a] {
             ClickRow(screen->DBGrid2, rowOfLot(a));
             QTest::keyClicks(screen->LabeledEdit1->Edit(), "2");
         },
         Dialogs::kChooseRow},
        {"lot list reloaded",
         [this, a] {
             ClickRow(screen->DBGrid2, rowOfLot(a));
             screen->Button5->click();
         },
         Dialogs::kChooseRow},
        {"lots looked up",
         [this, a] {
             ClickRow(screen->DBGrid2, rowOfLot(a));
             screen->Button6->click();
         },
         Dialogs::kChooseRow},
        {"empty profit", [this, a] { ClickRow(screen->DBGrid2, rowOfLot(a)); }, "请输入正确的利润总额!"},
    };
    for (const Case &c : cases) {
        screen->LabeledEdit1->setText("L1");
        c.prepare();
        if (c.notice != Dialogs::kChooseRow)
            screen->LabeledEdit2->setText(QString());
        else
            screen->LabeledEdit2->setText("100");
        dialogs.Clear();
        screen->Button4->click();
        EXPECT_EQ(dialogs.Texts(), QStringList({c.notice})) << c.what;
        EXPECT_EQ(Scalar("Select count(*) From 库存管理 where 结算 <> 0"), "0") << c.what;
    }
}

TEST_F(Summary, SettlingALotDeletedMeanwhileSaysSoAndKeepsTheProfit)
{
    const qint64 a = lot("L1", 8);
    open();
    toSettlement();
    ClickRow(screen->DBGrid2, rowOfLot(a));
    Run("DELETE FROM 库存管理 WHERE ID = " + QString::number(a));
    screen->LabeledEdit2->setText("100");
    dialogs.Clear();
    screen->Button4->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定时行清货结算!", Dialogs::kRowGone}));
    EXPECT_EQ(screen->LabeledEdit2->text(), "100");
    dialogs.Clear();
    screen->Button4->click(); // the lot is forgotten
    EXPECT_EQ(dialogs.Texts(), QStringList({Dialogs::kChooseRow}));
}

} // namespace
