#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "finance/main_qk.h"
#include "sales/main_xs.h"
#include "tests/support/screentest.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class SalesRecords : public ScreenTest {
protected:
    ~SalesRecords() override
    {
        delete screen.data();
        delete Form_qk;
    }

    // A lot and one sale of it at the counter, as the front desk writes them.
    static qint64 lot(const QString &number, double remaining)
    {
        Run("insert into 库存管理(编号,品种,产地,毛净茶,剩余重量,总重量,销售单价,入库日期) values(" + QuotedStr(number) +
            ",'龙井','杭州','净茶'," + QString::number(remaining) + ',' + QString::number(remaining) + ",38,'2026-03-01')");
        return NewestLot();
    }
    static qint64 sale(const QString &number, const QString &customer, double price, double weight, double received,
                       const QString &date = "2026-03-02", const QString &variety = "龙井")
    {
        Run("insert into 销售记录(编号,品种,产地,客户,客户类型,日期,单价,重量,总金额,备注,毛净茶,实收款) values(" +
            QuotedStr(number) + ',' + QuotedStr(variety) + ",'杭州'," + QuotedStr(customer) + ",'零售客户','" + date +
            "'," + QString::number(price) + ',' + QString::number(weight) + ',' + QString::number(price * weight) +
            ",'备注：','净茶'," + QString::number(received) + ')');
        return Scalar("Select max(ID) From 销售记录").toLongLong();
    }
    static QString stored(qint64 id, const char *column)
    {
        return Scalar(QStringLiteral("Select ") + QString::fromUtf8(column) + " From 销售记录 where ID = " +
                      QString::number(id));
    }
    static QString remaining(qint64 lotId)
    {
        return Scalar("Select 剩余重量 From 库存管理 where ID = " + QString::number(lotId));
    }
    static int saleCount() { return Scalar("Select count(*) From 销售记录").toInt(); }

    TForm_xs *open()
    {
        screen = Form_xs = new TForm_xs();
        screen->show();
        QCoreApplication::processEvents();
        return screen;
    }
    QStringList listed(const char *column = "编号") { return Listed(screen->DBGrid1, QString::fromUtf8(column)); }
    QString footer(const char *column)
    {
        return screen->DBGrid1->FooterCellText(screen->DBGrid1->ColumnIndex(QString::fromUtf8(column)));
    }
    // Loads the sale with this key, wherever the list shows it.
    void load(qint64 id)
    {
        const Query *q = Form_sql->ADOQuery_xs;
        for (int r = 0; r < q->RecordCount(); ++r)
            if (q->Text(r, q->FieldIndex("ID")) == QString::number(id)) {
                ClickRow(screen->DBGrid1, r);
                ASSERT_EQ(screen->SaleId(), id);
                return;
            }
        FAIL() << "sale " << id << " is not listed";
    }
    void filter(int choice, const QString &value)
    {
        screen->ComboBox7->setCurrentIndex(choice);
        screen->Edit2->setText(value);
        screen->Button3->click();
    }

    QPointer<TForm_xs> screen;
};

struct Correction {
    const char *what;
    std::function<void(TForm_xs *)> edit;
    bool pressEquals;
    const char *price, *weight, *amount, *received, *customer;
};

void PrintTo(const Correction &c, std::ostream *os)
{
    *os << c.what;
}

class SaleCorrections : public SalesRecords, public ::testing::WithParamInterface<Correction> {};

TEST_P(SaleCorrections, StoreExactlyWhatTheBoxesShowAndNeverMoveStock)
{
    const Correction c = GetParam();
    const qint64 l = lot("A1", 7.5);
    sale("A1", "张三", 38, 1, 38);
    const qint64 id = sale("A1", "李四", 40, 2.5, 80);
    open();
    load(id);
    c.edit(screen);
    if (c.pressEquals)
        screen->SpeedButton1->click();
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改此销售记录!"})) << c.what;
    EXPECT_EQ(stored(id, "单价"), c.price) << c.what;
    EXPECT_EQ(stored(id, "重量"), c.weight) << c.what;
    EXPECT_EQ(stored(id, "总金额"), c.amount) << c.what;
    EXPECT_EQ(stored(id, "实收款"), c.received) << c.what;
    EXPECT_EQ(stored(id, "客户"), c.customer) << c.what;
    EXPECT_EQ(stored(id, "编号"), "A1");
    EXPECT_EQ(remaining(l), "7.5") << "a correction never changes stock";
    EXPECT_EQ(stored(id - 1, "重量"), "1") << "the other sale of the lot stays as it was";
    // The fields keep their values and still name the sale: it can be saved again.
    EXPECT_EQ(screen->SaleId(), id);
    EXPECT_EQ(screen->LabeledEdit8->text().toDouble(), QString(c.amount).toDouble());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaleCorrections,
    ::testing::Values(
        Correction{"weight, total kept", [](TForm_xs *s) { s->LabeledEdit7->setText("3"); }, false, "40", "3", "100",
                   "80", "李四"},
        Correction{"weight, then =", [](TForm_xs *s) { s->LabeledEdit7->setText("3"); }, true, "40", "3", "120", "80",
                   "李四"},
        Correction{"price, then =", [](TForm_xs *s) { s->LabeledEdit2->setText("36.5"); }, true, "36.5", "2.5",
                   "91.25", "80", "李四"},
        Correction{"customer with a quote",
                   [](TForm_xs *s) {
                       s->ComboBox5->setCurrentText("O'Brien茶庄");
                       s->LabeledEdit3->setText("100");
                   },
                   false, "40", "2.5", "100", "100", "O'Brien茶庄"}));

TEST_F(SalesRecords, EverythingElseOnThePanelIsStoredToo)
{
    const qint64 id = sale("B1", "张三", 20, 1, 20);
    open();
    load(id);
    screen->ComboBox9->setCurrentText("毛茶");
    screen->ComboBox1->setCurrentText("碧螺春");
    screen->ComboBox3->setCurrentText("苏州");
    screen->ComboBox6->setCurrentText("批发客户");
    screen->DateTimePicker1->setDate(QDate(2026, 4, 5));
    screen->Memo2->setPlainText("备注：\n'赊账' 一周");
    screen->Button2->click();
    EXPECT_EQ(stored(id, "毛净茶"), "毛茶");
    EXPECT_EQ(stored(id, "品种"), "碧螺春");
    EXPECT_EQ(stored(id, "产地"), "苏州");
    EXPECT_EQ(stored(id, "客户类型"), "批发客户");
    EXPECT_EQ(stored(id, "日期"), "2026-04-05");
    EXPECT_EQ(stored(id, "备注"), "备注：\n'赊账' 一周");
    // The lot number box cannot be typed in: a correction stays with its lot.
    EXPECT_TRUE(screen->LabeledEdit1->Edit()->isReadOnly());
    EXPECT_TRUE(screen->LabeledEdit8->Edit()->isReadOnly());
}

struct BadInput {
    const char *what;
    std::function<void(TForm_xs *)> edit;
    const char *notice;
};

void PrintTo(const BadInput &c, std::ostream *os)
{
    *os << c.what;
}

class SaleInputs : public SalesRecords, public ::testing::WithParamInterface<BadInput> {};

TEST_P(SaleInputs, AreCheckedBeforeAnyQuestionAndWriteNothing)
{
    const qint64 id = sale("C1", "张三", 40, 2.5, 80);
    open();
    load(id);
    GetParam().edit(screen);
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({GetParam().notice}));
    EXPECT_EQ(stored(id, "单价"), "40");
    EXPECT_EQ(stored(id, "重量"), "2.5");
    EXPECT_EQ(stored(id, "毛净茶"), "净茶");
    EXPECT_EQ(stored(id, "实收款"), "80");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaleInputs,
    ::testing::Values(BadInput{"empty price", [](TForm_xs *s) { s->LabeledEdit2->setText(""); }, "请输入正确的出售单价!"},
                      BadInput{"price 4..0", [](TForm_xs *s) { s->LabeledEdit2->setText("4..0"); }, "请输入正确的出售单价!"},
                      BadInput{"weight abc", [](TForm_xs *s) { s->LabeledEdit7->setText("abc"); }, "请输入正确的销售重量!"},
                      BadInput{"weight 0", [](TForm_xs *s) { s->LabeledEdit7->setText("0"); }, "请输入正确的销售重量!"},
                      BadInput{"empty total", [](TForm_xs *s) { s->LabeledEdit8->setText(""); }, "请输入正确的总金额!"},
                      BadInput{"received 1,000", [](TForm_xs *s) { s->LabeledEdit3->setText("1,000"); }, "请输入正确的实收款!"},
                      BadInput{"received -5", [](TForm_xs *s) { s->LabeledEdit3->setText("-5"); }, "请输入正确的实收款!"},
                      BadInput{"kind 红茶", [](TForm_xs *s) { s->ComboBox9->setCurrentText("红茶"); },
                               "毛/净茶只能选择毛茶或净茶!"}));

struct Pricing {
    const char *price, *weight, *notice, *total;
};

void PrintTo(const Pricing &c, std::ostream *os)
{
    *os << "price '" << c.price << "' weight '" << c.weight << "'";
}

class SaleEquals : public SalesRecords, public ::testing::WithParamInterface<Pricing> {};

TEST_P(SaleEquals, RecomputesTheTotalOnlyFromGoodNumbers)
{
    const Pricing c = GetParam();
    const qint64 l = lot("D1", 1); // less stock than any weight here: "=" does not look at it
    const qint64 id = sale("D1", "张三", 40, 2.5, 80);
    open();
    load(id);
    screen->LabeledEdit2->setText(c.price);
    screen->LabeledEdit7->setText(c.weight);
    screen->SpeedButton1->click();
    EXPECT_EQ(dialogs.Texts(), QString(c.notice).isEmpty() ? QStringList() : QStringList({c.notice}));
    EXPECT_EQ(screen->LabeledEdit8->text(), c.total);
    EXPECT_EQ(screen->LabeledEdit3->text(), "80"); // 实收款 is left as typed
    EXPECT_EQ(remaining(l), "1");
}

INSTANTIATE_TEST_SUITE_P(Cases, SaleEquals,
                         ::testing::Values(Pricing{"40", "3", "", "120.00"}, Pricing{"2.675", "1", "", "2.68"},
                                           Pricing{"38", "12.5", "", "475.00"},
                                           Pricing{"", "3", "请输入正确的出售单价!", "100"},
                                           Pricing{"40", "", "请输入正确的销售重量!", "100"},
                                           Pricing{"40", "1.2.3", "请输入正确的销售重量!", "100"}));

TEST_F(SalesRecords, DeletingOneSaleOfSeveralLeavesTheOthersAndTheStock)
{
    const qint64 l = lot("E1", 4);
    const qint64 a = sale("E1", "张三", 38, 1, 38);
    const qint64 b = sale("E1", "李四", 38, 2, 76);
    const qint64 c = sale("E1", "王五", 38, 3, 114);
    open();
    load(b);
    screen->Button5->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除此销售记录!"}));
    EXPECT_EQ(saleCount(), 2);
    EXPECT_EQ(stored(a, "客户"), "张三");
    EXPECT_EQ(stored(c, "客户"), "王五");
    EXPECT_TRUE(stored(b, "客户").isEmpty());
    EXPECT_EQ(remaining(l), "4") << "a deleted sale does not give its weight back";
    EXPECT_EQ(listed("客户"), QStringList({"张三", "王五"}));
    for (LabeledEdit *e : {screen->LabeledEdit1, screen->LabeledEdit2, screen->LabeledEdit7, screen->LabeledEdit8})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
    EXPECT_TRUE(screen->Memo2->toPlainText().isEmpty());

    // The key went with the row: neither button addresses anything now.
    dialogs.Clear();
    screen->Button5->click();
    screen->LabeledEdit2->setText("1");
    screen->LabeledEdit7->setText("1");
    screen->LabeledEdit8->setText("1");
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!", "请先在列表中选择一条记录!"}));
    EXPECT_EQ(saleCount(), 2);
    EXPECT_EQ(stored(a, "重量"), "1");
    EXPECT_EQ(stored(c, "重量"), "3");
}

TEST_F(SalesRecords, TheDeleteItemOfThePopupPressesTheButton)
{
    const qint64 id = sale("E2", "张三", 38, 1, 38);
    open();
    load(id);
    dialogs.Cancel();
    screen->D2->trigger();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除此销售记录!"}));
    EXPECT_EQ(saleCount(), 1) << "cancelled";
    screen->D2->trigger();
    EXPECT_EQ(saleCount(), 0);
}

TEST_F(SalesRecords, NothingIsWrittenWithoutALoadedRow)
{
    sale("F1", "张三", 38, 1, 38);
    open();
    screen->LabeledEdit2->setText("50");
    screen->LabeledEdit7->setText("9");
    screen->LabeledEdit8->setText("450");
    screen->LabeledEdit3->setText("450");
    screen->Button2->click();
    screen->Button5->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!", "请先在列表中选择一条记录!"}));
    EXPECT_EQ(Scalar("Select 重量 From 销售记录"), "1");
    EXPECT_EQ(saleCount(), 1);
}

TEST_F(SalesRecords, ASaleDeletedMeanwhileIsReportedNotCorrected)
{
    const qint64 id = sale("G1", "张三", 38, 1, 38);
    open();
    load(id);
    Run("DELETE FROM 销售记录 WHERE ID = " + QString::number(id));
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改此销售记录!", "所选记录已不存在，请在列表中重新选择!"}));
    EXPECT_EQ(saleCount(), 0);
    EXPECT_EQ(screen->SaleId(), -1);
    EXPECT_TRUE(listed().isEmpty());
}

struct FilterCase {
    int choice;
    const char *value;
    QDate date;
    QStringList lots;
    const char *weight, *amount, *received;
};

void PrintTo(const FilterCase &c, std::ostream *os)
{
    *os << "choice " << c.choice << " '" << c.value << "'";
}

class SaleFilters : public SalesRecords, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(SaleFilters, ListTheirRowsAndTheFooterSumsThem)
{
    const FilterCase c = GetParam();
    sale("H1", "张三", 10, 1, 10, "2026-03-01", "龙井");
    sale("H2", "李四", 20, 2, 30, "2026-03-02", "碧螺春");
    sale("H1", "O'Brien", 30, 3, 0, "2026-03-02", "龙井");
    open();
    EXPECT_EQ(listed(), QStringList({"H1", "H2", "H1"}));
    EXPECT_EQ(footer("单价"), "总计：");
    screen->ComboBox7->setCurrentIndex(c.choice);
    if (c.date.isValid())
        screen->DateTimePicker2->setDate(c.date);
    else
        screen->Edit2->setText(c.value);
    screen->Button3->click();
    QStringList lots = listed(); // rows equal in the sorted column come in no fixed order
    lots.sort();
    EXPECT_EQ(lots, c.lots);
    EXPECT_EQ(footer("重量"), c.weight);
    EXPECT_EQ(footer("总金额"), c.amount);
    EXPECT_EQ(footer("实收款"), c.received);
    if (c.choice != 0)
        EXPECT_TRUE(screen->Edit2->text().isEmpty()) << "the value box is emptied after a keyed query";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaleFilters,
    ::testing::Values(FilterCase{0, "", {}, {"H1", "H1", "H2"}, "6.00 Kg", "￥140.00", "￥40.00"},
                      FilterCase{1, "H1", {}, {"H1", "H1"}, "4.00 Kg", "￥100.00", "￥10.00"},
                      FilterCase{2, "碧螺春", {}, {"H2"}, "2.00 Kg", "￥40.00", "￥30.00"},
                      FilterCase{3, "杭州", {}, {"H1", "H1", "H2"}, "6.00 Kg", "￥140.00", "￥40.00"},
                      FilterCase{4, "", QDate(2026, 3, 2), {"H1", "H2"}, "5.00 Kg", "￥130.00", "￥30.00"},
                      FilterCase{5, "O'Brien", {}, {"H1"}, "3.00 Kg", "￥90.00", "￥0.00"},
                      FilterCase{5, "nobody", {}, {}, "0.00 Kg", "￥0.00", "￥0.00"}));

TEST_F(SalesRecords, PopupItemsFilterByTheLoadedSale)
{
    sale("I1", "张三", 10, 1, 10, "2026-03-01");
    const qint64 b = sale("I2", "李四", 20, 2, 40, "2026-03-02");
    sale("I3", "李四", 30, 3, 90, "2026-03-03");
    open();
    load(b);
    screen->N1->trigger(); // 筛选此客户
    EXPECT_EQ(listed(), QStringList({"I2", "I3"}));
    EXPECT_EQ(screen->ComboBox7->currentText(), "客户");
    screen->N9->trigger(); // 筛选此日期
    EXPECT_EQ(listed(), QStringList({"I2"}));
    EXPECT_TRUE(screen->DateTimePicker2->isVisibleTo(screen));
    EXPECT_FALSE(screen->Edit2->isVisibleTo(screen));
    screen->N4->trigger(); // 筛选此编号
    EXPECT_EQ(listed(), QStringList({"I2"}));
    screen->N3->trigger(); // 重新导入
    EXPECT_EQ(listed(), QStringList({"I1", "I2", "I3"}));
    EXPECT_EQ(footer("重量"), "6.00 Kg");
}

TEST_F(SalesRecords, TheListsHoldTheReferenceValuesAndEveryContact)
{
    Run("insert into 通讯管理(名称,类型) values('甲茶厂','供应商')");
    Run("insert into 通讯管理(名称,类型) values('老主顾','客户')");
    open();
    QStringList customers;
    for (int i = 0; i < screen->ComboBox5->count(); ++i)
        customers << screen->ComboBox5->itemText(i);
    EXPECT_EQ(customers, QStringList({"甲茶厂", "老主顾"}));
    EXPECT_EQ(screen->ComboBox5->currentText(), "甲茶厂");
    EXPECT_EQ(screen->ComboBox9->currentText(), "净茶");
    EXPECT_EQ(screen->ComboBox6->currentText(), "批发客户");
    EXPECT_EQ(screen->ComboBox1->count(), Scalar("Select count(*) From 品种管理").toInt());
    EXPECT_EQ(screen->ComboBox1->currentText(), Scalar("Select 品种 From 品种管理"));
    EXPECT_EQ(screen->DateTimePicker1->date(), QDate::currentDate());
    EXPECT_EQ(screen->Memo2->toPlainText(), "备注：");
}

TEST_F(SalesRecords, ExportWritesTheListedSales)
{
    sale("J1", "张三", 10, 1, 10);
    open();
    const QString path = folder.Path("sales.csv");
    dialogs.SaveAs(path, 2);
    screen->Button1->click();
    EXPECT_EQ(dialogs.Texts().last(), "导出成功!");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("J1"));
}

// The debts window: shown for the loaded sale, preset from it, and made afresh once closed.
class SaleDebts : public SalesRecords {
protected:
    SaleDebts()
    {
        Client().mainWindow = &mainWindow;
        Client().childOpen = true; // the sales records are the open list screen
        Client().enableToolbar = [this] { ++toolbarEnabled; };
    }
    ~SaleDebts() override
    {
        Client().mainWindow = nullptr;
        Client().childOpen = false;
        Client().enableToolbar = nullptr;
    }
    QWidget mainWindow;
    int toolbarEnabled = 0;
};

TEST_F(SaleDebts, TheDebtIsPresetFromTheSaleOnAFreshWindowEachTime)
{
    Run("insert into 通讯管理(名称,联系人,电话,类型) values('O''Brien茶庄','小王','555','客户')");
    const qint64 a = sale("K1", "O'Brien茶庄", 40, 2.5, 30, "2026-03-02");
    const qint64 b = sale("K2", "张三", 10, 1, 10, "2026-03-04");
    open();
    Form_qk = new TForm_qk(); // made with the screen, as the main window does
    QPointer<TForm_qk> first = Form_qk;
    load(a);
    screen->N10->trigger();
    ASSERT_EQ(Form_qk, first.data()) << "the window made with the screen serves first";
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(mainWindow.isEnabled());
    EXPECT_EQ(first->ComboBox1->currentText(), "O'Brien茶庄");
    EXPECT_EQ(first->ComboBox3->currentText(), "小王");
    EXPECT_EQ(first->CardValue(2), "555");
    EXPECT_EQ(first->ComboBox2->currentText(), "欠款");
    EXPECT_EQ(first->LabeledEdit4->text(), "70.00");
    EXPECT_EQ(first->DateTimePicker1->date(), QDate(2026, 3, 2));
    first->Button1->click();
    EXPECT_EQ(Scalar("Select 客户名称 From 欠款管理"), "O'Brien茶庄");
    EXPECT_EQ(Scalar("Select 金额 From 欠款管理"), "70");
    EXPECT_EQ(Scalar("Select 日期 From 欠款管理"), "2026-03-02");
    first->close();
    QTest::qWait(20);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(Form_qk, nullptr);
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_EQ(toolbarEnabled, 0) << "the sales records stay the only list screen";

    // Again, from another sale: a fresh window, preset after its own opening filled its boxes.
    load(b);
    screen->N10->trigger();
    QPointer<TForm_qk> second = Form_qk;
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->ComboBox1->currentText(), "张三");
    EXPECT_EQ(second->ComboBox1->count(), 1); // the contact book's names
    EXPECT_TRUE(second->LabeledEdit4->text().isEmpty()) << "paid in full: nothing owed";
    EXPECT_EQ(second->DateTimePicker1->date(), QDate(2026, 3, 4));
    EXPECT_EQ(second->LabeledEdit1->text(), "70"); // the ledger's totals
    second->close();
    QTest::qWait(20);
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(mainWindow.isEnabled());
}

TEST_F(SaleDebts, ADebtsWindowNeverShownGoesWithTheScreen)
{
    open();
    QPointer<TForm_qk> hidden = Form_qk = new TForm_qk();
    screen->close();
    QTest::qWait(20);
    EXPECT_TRUE(hidden.isNull());
    EXPECT_EQ(Form_qk, nullptr);
}

} // namespace
