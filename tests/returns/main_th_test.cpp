#include "datalayer/clientstate.h"
#include "datalayer/connection.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "datalayer/numbertext.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "returns/main_th.h"
#include "tests/support/screentest.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class Returns : public ScreenTest {
protected:
    ~Returns() override { delete screen.data(); }

    static qint64 lot(const QString &number, double remaining, const QString &supplier = "甲茶厂",
                      const QString &date = "2026-03-01", const QString &variety = "龙井")
    {
        EXPECT_TRUE(RunSQL("insert into 库存管理(编号,品种,供应商,毛净茶,毛茶价,剩余重量,总重量,入库日期) values(" +
                               QuotedStr(number) + ',' + QuotedStr(variety) + ',' + QuotedStr(supplier) + ",'毛茶',20," +
                               QString::number(remaining) + ',' + QString::number(remaining) + ",'" + date + "')",
                           conn()))
            << conn().LastError().toStdString();
        return Scalar("Select max(ID) From 库存管理").toLongLong();
    }

    static QString remaining(qint64 id) { return Scalar("Select 剩余重量 From 库存管理 where ID = " + QString::number(id)); }
    static int returnCount() { return Scalar("Select count(*) From 退货管理").toInt(); }

    TForm_th *open()
    {
        screen = Form_th = new TForm_th();
        screen->show();
        QCoreApplication::processEvents();
        return screen;
    }

    static QStringList listed(DBGrid *g, const char *column) { return Listed(g, QString::fromUtf8(column)); }
    static void clickRow(DBGrid *g, int row) { ClickRow(g, row); }

    // Clicks the lot in the upper list and returns a weight from it at the price of "=".
    void recordReturn(int lotRow, const QString &weight, const QString &handler = "张三")
    {
        clickRow(screen->DBGrid1, lotRow);
        screen->LabeledEdit2->setText(weight);
        screen->SpeedButton1->click();
        screen->LabeledEdit6->setText(handler);
        screen->Button2->click();
    }

    int rowOf(qint64 id)
    {
        const Query *q = Form_sql->ADOQuery1;
        for (int r = 0; r < q->RecordCount(); ++r)
            if (q->Text(r, q->FieldIndex("ID")) == QString::number(id))
                return r;
        return -1;
    }

    QPointer<TForm_th> screen;
};

TEST_F(Returns, AReturnLowersItsLotAndItsWithdrawalBringsTheWeightBack)
{
    const qint64 id = lot("R1", 12);
    open();
    EXPECT_EQ(screen->LabeledEdit6->text(), "admin");
    screen->Memo1->setPlainText("备注：\n茶叶受潮");
    recordReturn(0, "2.5");
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定退回此商品!"}));
    EXPECT_EQ(remaining(id), "9.5");
    ASSERT_EQ(returnCount(), 1);
    EXPECT_EQ(Scalar("Select 退回金额 From 退货管理"), "50");
    EXPECT_EQ(Scalar("Select 备注 From 退货管理"), "备注：\n茶叶受潮");
    EXPECT_EQ(Scalar("Select 经办人 From 退货管理"), "张三");
    EXPECT_TRUE(screen->LabeledEdit6->text().isEmpty());
    EXPECT_EQ(screen->Memo1->toPlainText(), "备注：");
    EXPECT_EQ(listed(screen->DBGrid1, "剩余重量"), QStringList({"9.50 Kg"}));

    clickRow(screen->DBGrid2, 0);
    EXPECT_EQ(screen->LabeledEdit2->text(), "2.5");
    EXPECT_EQ(screen->LabeledEdit4->text(), "9.5");
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除此退回商品!"}));
    EXPECT_EQ(remaining(id), "12");
    EXPECT_EQ(returnCount(), 0);
    EXPECT_TRUE(screen->LabeledEdit6->text().isEmpty());

    // The return is gone: a second withdrawal must not add the weight again.
    screen->LabeledEdit3->setText("R1");
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));
    EXPECT_EQ(remaining(id), "12");
}

struct WeightCase {
    const char *weight;
    const char *amount; // typed after "="; null keeps the priced amount
    const char *message; // empty when recorded
    const char *left;
};

class ReturnWeights : public Returns, public ::testing::WithParamInterface<WeightCase> {};

TEST_P(ReturnWeights, AreCheckedBeforeAnyQuestion)
{
    const WeightCase c = GetParam();
    const qint64 id = lot("W1", 10);
    open();
    clickRow(screen->DBGrid1, 0);
    screen->LabeledEdit2->setText(c.weight);
    if (c.amount)
        screen->LabeledEdit10->setText(c.amount);
    else
        screen->SpeedButton1->click();
    dialogs.Clear();
    screen->Button2->click();
    if (QString(c.message).isEmpty()) {
        EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 1);
        EXPECT_EQ(returnCount(), 1);
    } else {
        EXPECT_EQ(dialogs.Texts(), QStringList({c.message}));
        EXPECT_EQ(returnCount(), 0);
        EXPECT_EQ(screen->LabeledEdit2->text(), c.weight);
    }
    EXPECT_EQ(remaining(id), c.left);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReturnWeights,
                         ::testing::Values(WeightCase{"10", nullptr, "", "0"},
                                           WeightCase{"10.01", "200.2", "退货重量大于剩余重量!", "10"},
                                           WeightCase{"", "1", "请输入正确的退回重量!", "10"},
                                           WeightCase{"1.2.3", "1", "请输入正确的退回重量!", "10"},
                                           WeightCase{"2", "", "请输入正确的退回金额!", "10"},
                                           WeightCase{"2", "4..0", "请输入正确的退回金额!", "10"}));

TEST_F(Returns, AReturnWithoutALotIsRefused)
{
    open();
    screen->LabeledEdit2->setText("1");
    screen->LabeledEdit10->setText("1");
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));
    EXPECT_EQ(returnCount(), 0);
}

TEST_F(Returns, OnlyTheLotReturnedFromChangesWhenNumbersRepeat)
{
    const qint64 a = lot("S1", 10, "甲茶厂");
    const qint64 b = lot("S1", 10, "乙茶厂");
    open(); // newest first
    recordReturn(rowOf(a), "3");
    EXPECT_EQ(remaining(a), "7");
    EXPECT_EQ(remaining(b), "10");

    // Withdrawing after clicking the other lot still restores the lot the return came from.
    clickRow(screen->DBGrid2, 0);
    clickRow(screen->DBGrid1, rowOf(b));
    EXPECT_EQ(screen->LabeledEdit9->text(), "乙茶厂");
    screen->Button3->click();
    EXPECT_EQ(remaining(a), "10");
    EXPECT_EQ(remaining(b), "10");
    EXPECT_EQ(returnCount(), 0);
}

TEST_F(Returns, AWithdrawalRestoresTheLotTheReturnCameFromAmongIdenticalOnes)
{
    // Same 编号, 品种 and 供应商, as automatic numbers easily give.
    const qint64 a = lot("D1", 10);
    const qint64 b = lot("D1", 6);
    open();
    recordReturn(rowOf(a), "3");
    EXPECT_EQ(Scalar("Select 库存ID From 退货管理"), QString::number(a));
    EXPECT_EQ(remaining(a), "7");
    clickRow(screen->DBGrid2, 0);
    EXPECT_EQ(screen->LabeledEdit4->text(), "7"); // the panel shows that lot, not the newest of the number
    clickRow(screen->DBGrid1, rowOf(b)); // a lot clicked meanwhile does not redirect a keyed return
    screen->Button3->click();
    EXPECT_EQ(remaining(a), "10");
    EXPECT_EQ(remaining(b), "6");
    EXPECT_EQ(returnCount(), 0);
}

// A return recorded before returns kept their lot's key, and which lot the user clicked.
struct OlderReturn {
    const char *name;
    bool twin;          // a second lot with the same 编号, 品种 and 供应商
    const char *picked; // "A", "B", "C" (a lot of another number) or "" for none
    const char *notice; // empty: withdrawn
    const char *a, *b;  // the remaining weights of A and B afterwards
};

void PrintTo(const OlderReturn &c, std::ostream *os)
{
    *os << c.name;
}

class OlderReturns : public Returns, public ::testing::WithParamInterface<OlderReturn> {};

TEST_P(OlderReturns, RestoreTheOnlyMatchingLotOrTheOnePicked)
{
    const OlderReturn c = GetParam();
    const qint64 a = lot("E1", 7);
    const qint64 b = c.twin ? lot("E1", 6) : lot("E2", 6);
    const qint64 other = lot("F1", 5);
    Run("insert into 退货管理(编号,品种,供应商,毛净茶,退回重量,退回日期,退回金额,经办人) "
        "values('E1','龙井','甲茶厂','毛茶',3,'2026-03-05',60,'张三')");
    open();
    clickRow(screen->DBGrid2, 0);
    const QString picked = c.picked;
    if (!picked.isEmpty())
        clickRow(screen->DBGrid1, rowOf(picked == "A" ? a : picked == "B" ? b : other));
    screen->Button3->click();
    const QString notice = QString::fromUtf8(c.notice);
    if (notice.isEmpty()) {
        EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除此退回商品!"}));
        EXPECT_EQ(returnCount(), 0);
    } else {
        EXPECT_EQ(dialogs.Texts(), QStringList({notice}));
        EXPECT_EQ(returnCount(), 1);
        // The lots to pick from are listed.
        EXPECT_EQ(listed(screen->DBGrid1, "编号"), QStringList({"E1", "E1"}));
    }
    EXPECT_EQ(remaining(a), c.a);
    EXPECT_EQ(remaining(b), c.b);
    EXPECT_EQ(remaining(other), "5");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OlderReturns,
    ::testing::Values(
        OlderReturn{"oneLot", false, "", "", "10", "6"}, OlderReturn{"oneLotOtherPicked", false, "C", "", "10", "6"},
        OlderReturn{"twinsNonePicked", true, "", "有多个库存与此退回商品的编号、品种和供应商相同，请先在库存列表中选择它的原库存!", "7", "6"},
        OlderReturn{"twinsOtherPicked", true, "C", "有多个库存与此退回商品的编号、品种和供应商相同，请先在库存列表中选择它的原库存!", "7", "6"},
        OlderReturn{"twinsOlderPicked", true, "A", "", "10", "6"}, OlderReturn{"twinsNewerPicked", true, "B", "", "7", "9"}),
    [](const ::testing::TestParamInfo<OlderReturn> &info) { return std::string(info.param.name); });

TEST_F(Returns, AnOlderFileGetsTheLotKeyColumnAndItsReturnsStillWithdraw)
{
    delete Form_sql;
    {
        // A file from before returns kept their lot's key.
        Connection old;
        old.SetDatabase(folder.DatabasePath());
        old.ExecuteNative("DROP TABLE 退货管理");
        old.ExecuteNative("CREATE TABLE 退货管理 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 编号 TEXT, 供应商 TEXT, 毛净茶 TEXT,"
                          " 退回重量 REAL, 退回金额 REAL, 退回日期 DATE, 备注 TEXT, 品种 TEXT, 经办人 TEXT)");
        old.ExecuteNative("INSERT INTO 退货管理(编号,品种,供应商,退回重量,退回金额) VALUES('G1','龙井','甲茶厂',2,40)");
    }
    Form_sql = new TForm_sql();
    Form_sql->FormCreate();
    Query columns(&conn(), "columns");
    columns.SetSQL("PRAGMA table_info(\"退货管理\")");
    columns.Open();
    ASSERT_EQ(columns.RecordCount(), 11);
    columns.Last();
    EXPECT_EQ(columns.FieldByName("name").AsString(), "库存ID"); // appended, the others in place
    EXPECT_EQ(Scalar("Select 退回重量 From 退货管理"), "2");
    EXPECT_FALSE(RunSQL("update 退货管理 set 库存ID='abc'", conn())); // with its number rule

    const qint64 id = lot("G1", 8);
    open();
    clickRow(screen->DBGrid2, 0);
    screen->Button3->click();
    EXPECT_EQ(remaining(id), "10");
    recordReturn(0, "1");
    EXPECT_EQ(Scalar("Select 库存ID From 退货管理"), QString::number(id));
}

// A return clicked before a write, or in a window since closed, is no longer on screen:
// a lot clicked afterwards must not lead 撤回 to it.
TEST_F(Returns, AWithdrawalNeverActsOnAReturnNoLongerOnScreen)
{
    const qint64 a = lot("W1", 10, "甲茶厂", "2026-03-01");
    const qint64 b = lot("W2", 10, "乙茶厂", "2026-03-02");
    open();
    recordReturn(rowOf(a), "2");
    clickRow(screen->DBGrid2, 0);
    recordReturn(rowOf(b), "3"); // a write after the click

    clickRow(screen->DBGrid1, rowOf(a));
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));

    clickRow(screen->DBGrid2, 0);
    screen->close();
    QCoreApplication::processEvents();
    open();
    clickRow(screen->DBGrid1, rowOf(a));
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));

    EXPECT_EQ(returnCount(), 2);
    EXPECT_EQ(remaining(a), "8");
    EXPECT_EQ(remaining(b), "7");
}

TEST_F(Returns, AWithdrawalWhoseLotIsGoneWritesNothing)
{
    const qint64 id = lot("T1", 10);
    open();
    recordReturn(0, "4");
    clickRow(screen->DBGrid2, 0);
    ASSERT_TRUE(RunSQL("DELETE FROM 库存管理 WHERE ID = " + QString::number(id), conn()));
    screen->LabeledEdit3->setText("T1");
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"此退回商品的原库存已不存在!"}));
    EXPECT_EQ(returnCount(), 1);
}

TEST_F(Returns, ARefusedStockChangeUndoesTheReturnAndTheWithdrawal)
{
    const qint64 id = lot("U1", 12);
    open();
    conn().ExecuteNative("CREATE TRIGGER t BEFORE UPDATE ON 库存管理 BEGIN SELECT RAISE(ABORT,'库存被锁定'); END");
    recordReturn(0, "2.5");
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_TRUE(dialogs.Texts().last().contains("库存被锁定"));
    EXPECT_EQ(returnCount(), 0);
    EXPECT_EQ(remaining(id), "12");
    EXPECT_EQ(screen->LabeledEdit2->text(), "2.5");

    conn().ExecuteNative("DROP TRIGGER t");
    screen->Button2->click();
    ASSERT_EQ(returnCount(), 1);
    ASSERT_EQ(remaining(id), "9.5");
    conn().ExecuteNative("CREATE TRIGGER t BEFORE UPDATE ON 库存管理 BEGIN SELECT RAISE(ABORT,'库存被锁定'); END");
    clickRow(screen->DBGrid2, 0);
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_EQ(returnCount(), 1);
    EXPECT_EQ(remaining(id), "9.5");
}

TEST_F(Returns, ReloadListsLotsOldestFirst)
{
    lot("V1", 1);
    lot("V2", 1);
    lot("V3", 1);
    open();
    EXPECT_EQ(listed(screen->DBGrid1, "编号"), QStringList({"V3", "V2", "V1"}));
    screen->N2->trigger();
    EXPECT_EQ(listed(screen->DBGrid1, "编号"), QStringList({"V1", "V2", "V3"}));
}

TEST_F(Returns, LotFiltersEmptyTheirTextAndTheDateItemListsThatDay)
{
    lot("X1", 1, "甲茶厂", "2026-03-01");
    lot("X2", 1, "乙茶厂", "2026-03-02");
    lot("X3", 1, "甲茶厂", "2026-03-01");
    open();
    clickRow(screen->DBGrid1, 2); // X1
    screen->N8->trigger();
    EXPECT_EQ(listed(screen->DBGrid1, "编号"), QStringList({"X1", "X3"}));
    EXPECT_EQ(screen->DateTimePicker1->pos(), QPoint(414, 20));
    EXPECT_TRUE(screen->DateTimePicker1->isVisible());
    screen->Edit1->setText("keep");
    screen->N6->trigger();
    EXPECT_EQ(listed(screen->DBGrid1, "编号"), QStringList({"X1", "X3"}));
    EXPECT_TRUE(screen->Edit2->text().isEmpty());
    EXPECT_EQ(screen->Edit1->text(), "keep");
}

struct FooterCase {
    int choice;
    const char *value;
    const char *weight, *amount;
};

class ReturnsFooter : public Returns, public ::testing::WithParamInterface<FooterCase> {};

TEST_P(ReturnsFooter, FollowsEveryFilter)
{
    const FooterCase c = GetParam();
    for (const char *sql : {"insert into 退货管理(编号,品种,供应商,毛净茶,退回重量,退回日期,退回金额,经办人) values('Y1','龙井','甲','毛茶',1.5,'2026-03-01',30,'张三')",
                            "insert into 退货管理(编号,品种,供应商,毛净茶,退回重量,退回日期,退回金额,经办人) values('Y2','龙井','乙','毛茶',2,'2026-03-02',1000,'李四')",
                            "insert into 退货管理(编号,品种,供应商,毛净茶,退回重量,退回日期,退回金额,经办人) values('Y1','红茶','甲','净茶',0.25,'2026-03-02',5.5,'张三')"})
        ASSERT_TRUE(RunSQL(QString::fromUtf8(sql), conn())) << conn().LastError().toStdString();
    open();
    DBGrid *g = screen->DBGrid2;
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("毛净茶")), "总计：");
    screen->ComboBox1->setCurrentIndex(c.choice);
    if (c.choice == 5)
        screen->DateTimePicker3->setDate(StrToDate(c.value));
    else
        screen->Edit1->setText(c.value);
    screen->Button5->click();
    EXPECT_TRUE(screen->Edit1->text().isEmpty());
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("退回重量")), c.weight);
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("退回金额")), c.amount);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReturnsFooter,
                         ::testing::Values(FooterCase{0, "", "3.75 Kg", "￥1,035.50"},
                                           FooterCase{1, "Y1", "1.75 Kg", "￥35.50"},
                                           FooterCase{2, "龙井", "3.50 Kg", "￥1,030.00"},
                                           FooterCase{3, "乙", "2.00 Kg", "￥1,000.00"},
                                           FooterCase{4, "张三", "1.75 Kg", "￥35.50"},
                                           FooterCase{5, "2026-03-02", "2.25 Kg", "￥1,005.50"},
                                           FooterCase{1, "无", "0.00 Kg", "￥0.00"}));

} // namespace
