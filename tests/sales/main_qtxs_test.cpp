#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "datalayer/numbertext.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "sales/main_qtxs.h"
#include "tests/support/screentest.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct Sale {
    QString lot, customer, type, date;
    double price, weight, amount, received;
    QString remark, rawNet;
};

class FrontDeskSales : public ScreenTest {
protected:
    ~FrontDeskSales() override { delete screen.data(); }

    static qint64 lot(const QString &number, double remaining, double price = 38, const QString &remark = "备注：",
                      const QString &date = "2026-03-01", const QString &variety = "龙井")
    {
        EXPECT_TRUE(RunSQL("insert into 库存管理(编号,品种,产地,毛净茶,剩余重量,总重量,销售单价,入库日期,备注) values(" +
                               QuotedStr(number) + ',' + QuotedStr(variety) + ",'杭州','净茶'," +
                               QString::number(remaining) + ',' + QString::number(remaining) + ',' +
                               QString::number(price) + ",'" + date + "'," + QuotedStr(remark) + ')',
                           conn()))
            << conn().LastError().toStdString();
        return Scalar("Select max(ID) From 库存管理").toLongLong();
    }

    static QString remaining(qint64 id)
    {
        return Scalar("Select 剩余重量 From 库存管理 where ID = " + QString::number(id));
    }

    static std::vector<Sale> sales()
    {
        Query q(&conn(), "check");
        q.SetSQL("Select * From 销售记录 Order By ID");
        q.Open();
        std::vector<Sale> out;
        for (q.First(); !q.Eof(); q.Next()) {
            auto t = [&](const char *c) { return q.FieldByName(QString::fromUtf8(c)).AsString(); };
            auto n = [&](const char *c) { return q.FieldByName(QString::fromUtf8(c)).AsFloat(); };
            out.push_back({t("编号"), t("客户"), t("客户类型"), t("日期"), n("单价"), n("重量"), n("总金额"), n("实收款"),
                           t("备注"), t("毛净茶")});
        }
        return out;
    }

    TForm_qtxs *open()
    {
        screen = Form_qtxs = new TForm_qtxs();
        screen->show();
        QCoreApplication::processEvents();
        return screen;
    }

    // The numbers in 编号 and the remaining weights as the list shows them, top to bottom.
    QStringList listed(const char *column = "编号") { return Listed(screen->DBGrid1, QString::fromUtf8(column)); }
    void clickRow(int row) { ClickRow(screen->DBGrid1, row); }

    // Looks a lot up with "查" and types the weight.
    void lookUp(const QString &number, const QString &weight)
    {
        screen->LabeledEdit1->setText(number);
        screen->SpeedButton2->click();
        screen->LabeledEdit7->setText(weight);
    }

    QPointer<TForm_qtxs> screen;
};

struct StockCase {
    const char *remaining;
    const char *weight;
    const char *left;    // 剩余重量 after the sale; empty when refused
    const char *shown;   // what the list then shows
};

class SaleStockCheck : public FrontDeskSales, public ::testing::WithParamInterface<StockCase> {};

TEST_P(SaleStockCheck, SellsWhatTheLotHoldsAndNoMore)
{
    const StockCase c = GetParam();
    const qint64 id = lot("A1", QString(c.remaining).toDouble());
    open();
    lookUp("A1", c.weight);
    screen->SpeedButton1->click();
    const bool refused = QString(c.left).isEmpty();
    if (refused) {
        EXPECT_EQ(dialogs.Texts(), QStringList({"库存量不足!"}));
        EXPECT_TRUE(screen->LabeledEdit8->text().isEmpty());
        // Even with an amount typed by hand the sale is refused before any question.
        screen->LabeledEdit8->setText("1");
        screen->LabeledEdit10->setText("1");
        dialogs.Clear();
    }
    screen->Button2->click();
    if (refused) {
        EXPECT_EQ(dialogs.Texts(), QStringList({"库存量不足!"}));
        EXPECT_TRUE(sales().empty());
        EXPECT_EQ(remaining(id), c.remaining);
    } else {
        EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 1);
        ASSERT_EQ(sales().size(), 1u);
        EXPECT_EQ(remaining(id), c.left);
        EXPECT_EQ(listed("剩余重量"), QStringList({c.shown}));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SaleStockCheck,
                         ::testing::Values(StockCase{"10", "10", "0", "0.00 Kg"}, StockCase{"10", "10.01", "", ""},
                                           StockCase{"10", "2.3", "7.7", "7.70 Kg"},
                                           StockCase{"12.5", "0.01", "12.49", "12.49 Kg"}));

TEST_F(FrontDeskSales, PricesTheWeightAndStoresAChangedAmountReceived)
{
    const qint64 id = lot("B1", 20, 38);
    open();
    clickRow(0);
    screen->LabeledEdit7->setText("2.5");
    QTest::keyClick(screen->LabeledEdit7->Edit(), Qt::Key_Return); // Enter presses "="
    EXPECT_EQ(screen->LabeledEdit8->text(), "95.00");
    EXPECT_EQ(screen->LabeledEdit10->text(), "95.00");
    screen->LabeledEdit10->setText("90");
    screen->Button2->click();
    ASSERT_EQ(sales().size(), 1u);
    const Sale s = sales()[0];
    EXPECT_EQ(s.lot, "B1");
    EXPECT_DOUBLE_EQ(s.price, 38);
    EXPECT_DOUBLE_EQ(s.weight, 2.5);
    EXPECT_DOUBLE_EQ(s.amount, 95);
    EXPECT_DOUBLE_EQ(s.received, 90);
    EXPECT_EQ(s.date, DateToStr(QDate::currentDate()));
    EXPECT_EQ(remaining(id), "17.5");
}

TEST_F(FrontDeskSales, LookUpLoadsTheNewerOfTwoLotsAndOnlyThatOneFalls)
{
    const qint64 older = lot("C1", 10, 30);
    const qint64 newer = lot("C1", 8, 40);
    open();
    lookUp("C1", "3");
    EXPECT_EQ(screen->LotId(), newer);
    EXPECT_EQ(screen->LabeledEdit4->text(), "8");
    EXPECT_EQ(screen->LabeledEdit2->text(), "40");
    screen->SpeedButton1->click();
    screen->Button2->click();
    EXPECT_EQ(remaining(newer), "5");
    EXPECT_EQ(remaining(older), "10");
}

TEST_F(FrontDeskSales, ASaleFromAClickedOlderLotLowersOnlyThatLot)
{
    const qint64 older = lot("C2", 10);
    const qint64 newer = lot("C2", 8);
    open(); // every lot in the database's order: the older first
    clickRow(0);
    ASSERT_EQ(screen->LotId(), older);
    screen->LabeledEdit7->setText("4");
    screen->SpeedButton1->click();
    screen->Button2->click();
    EXPECT_EQ(remaining(older), "6");
    EXPECT_EQ(remaining(newer), "8");
}

TEST_F(FrontDeskSales, AnUnknownNumberEmptiesThePanelSilently)
{
    lot("D1", 5);
    open();
    lookUp("D1", "1");
    screen->LabeledEdit1->setText("无此编号");
    screen->SpeedButton2->click();
    EXPECT_TRUE(dialogs.Requests().empty());
    for (LabeledEdit *e : {screen->LabeledEdit1, screen->LabeledEdit3, screen->LabeledEdit5, screen->LabeledEdit2,
                           screen->LabeledEdit4})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
    EXPECT_EQ(screen->DBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(screen->LotId(), -1);
}

TEST_F(FrontDeskSales, ASuppliersNameGivesItsTypeAndTheSaleStoresIt)
{
    ASSERT_TRUE(RunSQL("insert into 通讯管理(名称,类型) values('O''Neil 茶厂','供应商')", conn()));
    ASSERT_TRUE(RunSQL("insert into 通讯管理(名称,类型) values('王五','客户')", conn()));
    lot("E1", 5);
    open();
    ASSERT_EQ(screen->ComboBox5->count(), 2);
    EXPECT_EQ(screen->ComboBox6->currentText(), "零售客户");
    screen->ComboBox5->setCurrentIndex(0);
    emit screen->ComboBox5->activated(0);
    EXPECT_EQ(screen->ComboBox6->currentText(), "供应商");
    lookUp("E1", "1");
    screen->SpeedButton1->click();
    screen->Button2->click();
    ASSERT_EQ(sales().size(), 1u);
    EXPECT_EQ(sales()[0].customer, "O'Neil 茶厂");
    EXPECT_EQ(sales()[0].type, "供应商");
    // Customer and type stay for the next sale.
    EXPECT_EQ(screen->ComboBox5->currentText(), "O'Neil 茶厂");
    EXPECT_EQ(screen->ComboBox6->currentText(), "供应商");
}

TEST_F(FrontDeskSales, EnterInTheCustomerBoxKeepsTheTypeAndAddsNothing)
{
    Run("insert into 通讯管理(名称,类型) values('小李','批发客户')");
    lot("C1", 5);
    open();
    QLineEdit *box = screen->ComboBox5->lineEdit();
    // Chinese names come from an input method, which commits them whole.
    auto type = [box](const QString &text) {
        QInputMethodEvent e;
        e.setCommitString(text);
        QCoreApplication::sendEvent(box, &e);
    };
    // A walk-in customer: the name is typed, the type shown stays.
    type("路人甲");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(screen->ComboBox5->count(), 1);
    EXPECT_EQ(screen->ComboBox5->currentText(), "路人甲");
    EXPECT_EQ(screen->ComboBox6->currentText(), "零售客户");
    lookUp("C1", "1");
    screen->SpeedButton1->click();
    screen->Button2->click();
    ASSERT_EQ(sales().size(), 1u);
    EXPECT_EQ(sales()[0].customer, "路人甲");
    EXPECT_EQ(sales()[0].type, "零售客户");
    // A name of the list typed in full and entered is that contact's choice.
    box->clear();
    type("小李");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(screen->ComboBox6->currentText(), "批发客户");
    EXPECT_EQ(screen->ComboBox5->count(), 1);
}

TEST_F(FrontDeskSales, TheRemarkComesFromTheClickedLotAndIsGoneAfterTheSale)
{
    lot("F1", 5, 38, "备注：\n老客户的茶");
    open();
    EXPECT_EQ(screen->Memo1->toPlainText(), "备注：");
    screen->ComboBox1->setCurrentText("毛茶");
    clickRow(0);
    EXPECT_EQ(screen->Memo1->toPlainText(), "备注：\n老客户的茶");
    EXPECT_EQ(screen->DateTimePicker3->date(), QDate(2026, 3, 1));
    screen->LabeledEdit7->setText("1");
    screen->SpeedButton1->click();
    screen->DateTimePicker1->setDate(QDate(2026, 4, 2));
    screen->Button2->click();
    ASSERT_EQ(sales().size(), 1u);
    EXPECT_EQ(sales()[0].remark, "备注：\n老客户的茶");
    EXPECT_EQ(sales()[0].date, "2026-04-02");
    EXPECT_EQ(screen->Memo1->toPlainText(), "");
    for (LabeledEdit *e : {screen->LabeledEdit1, screen->LabeledEdit2, screen->LabeledEdit3, screen->LabeledEdit4,
                           screen->LabeledEdit5, screen->LabeledEdit7, screen->LabeledEdit8, screen->LabeledEdit10})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
    EXPECT_EQ(screen->DateTimePicker1->date(), QDate(2026, 4, 2));
    EXPECT_EQ(screen->ComboBox1->currentText(), "净茶"); // the row click loaded the lot's kind and it stays
}

struct BadInput {
    const char *price, *weight, *amount, *received;
    const char *message;
};

class SaleBadInput : public FrontDeskSales, public ::testing::WithParamInterface<BadInput> {};

TEST_P(SaleBadInput, IsNamedBeforeAnyQuestionAndWritesNothing)
{
    const BadInput c = GetParam();
    const qint64 id = lot("G1", 5);
    open();
    lookUp("G1", c.weight);
    screen->LabeledEdit2->setText(c.price);
    screen->LabeledEdit8->setText(c.amount);
    screen->LabeledEdit10->setText(c.received);
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({c.message}));
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 0);
    EXPECT_TRUE(sales().empty());
    EXPECT_EQ(remaining(id), "5");
    EXPECT_EQ(screen->LabeledEdit7->text(), c.weight);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaleBadInput,
    ::testing::Values(BadInput{"38", "", "38", "38", "请确认输入完整出售重量与总价等!"},
                      BadInput{"38", "1", "", "38", "请确认输入完整出售重量与总价等!"},
                      BadInput{"", "1", "38", "38", "请输入正确的单价!"},
                      BadInput{"3.8.1", "1", "38", "38", "请输入正确的单价!"},
                      BadInput{"38", "1..", "38", "38", "请输入正确的重量!"},
                      BadInput{"38", "0", "38", "38", "请输入正确的重量!"},
                      BadInput{"38", "1", "abc", "38", "请输入正确的总金额!"},
                      BadInput{"38", "1", "38", "", "请输入正确的实收款!"}));

TEST_F(FrontDeskSales, ANumberTypedByHandMustBeLookedUpFirst)
{
    const qint64 id = lot("H1", 5);
    open();
    clickRow(0);
    screen->LabeledEdit1->Edit()->clear();
    QTest::keyClicks(screen->LabeledEdit1->Edit(), "H1");
    screen->LabeledEdit7->setText("1");
    screen->SpeedButton1->click();
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));
    EXPECT_EQ(remaining(id), "5");
}

TEST_F(FrontDeskSales, ARefusedStockChangeLeavesNoSaleAndSaysWhy)
{
    const qint64 id = lot("J1", 5);
    conn().ExecuteNative("CREATE TRIGGER t BEFORE UPDATE ON 库存管理 BEGIN SELECT RAISE(ABORT,'库存被锁定'); END");
    open();
    lookUp("J1", "2");
    screen->SpeedButton1->click();
    screen->Button2->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_TRUE(dialogs.Texts().last().contains("库存被锁定"));
    EXPECT_TRUE(sales().empty());
    EXPECT_EQ(remaining(id), "5");
    EXPECT_EQ(screen->LabeledEdit7->text(), "2"); // the clerk can try again
}

TEST_F(FrontDeskSales, AllListsNewestFirstAndKeyedListsOldestFirst)
{
    lot("K1", 1, 38, "", "2026-03-01", "龙井");
    lot("K2", 1, 38, "", "2026-03-02", "龙井");
    lot("K3", 1, 38, "", "2026-03-01", "碧螺春");
    lot("K4", 1, 38, "", "2026-03-01", "龙井");
    open();
    EXPECT_EQ(listed(), QStringList({"K1", "K2", "K3", "K4"}));
    screen->N7->trigger(); // "重新导入"
    EXPECT_EQ(listed(), QStringList({"K4", "K3", "K2", "K1"}));
    clickRow(3); // K1
    screen->N2->trigger(); // "筛选此品种"
    EXPECT_EQ(listed(), QStringList({"K1", "K2", "K4"}));
    clickRow(0);
    screen->N4->trigger(); // "筛选此入库日期"
    EXPECT_EQ(listed(), QStringList({"K1", "K3", "K4"}));
    EXPECT_TRUE(screen->DateTimePicker3->isVisible());
    EXPECT_FALSE(screen->Edit2->isVisible());
    screen->N1->trigger(); // "筛选此编号"
    EXPECT_EQ(listed(), QStringList({"K1"}));
    EXPECT_TRUE(screen->Edit2->isVisible());
    screen->ComboBox7->setCurrentIndex(3);
    EXPECT_TRUE(screen->Edit2->text().isEmpty());
}

} // namespace
