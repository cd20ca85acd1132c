#include "contacts/main_jh_user.h"
#include "datalayer/connection.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/inifile.h"
#include "datalayer/labelededit.h"
#include "datalayer/numbertext.h"
#include "datalayer/programfolder.h"
#include "datalayer/query.h"
#include "purchasing/intakestatements.h"
#include "purchasing/main_jh.h"
#include "tests/support/screentest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class StockIntake : public ScreenTest {
protected:
    StockIntake() : ScreenTest("张三") {}
    ~StockIntake() override
    {
        delete screen.data();
        delete Form_jh_user;
    }

    static void run(const QString &sql) { Run(sql); }

    static QString lotValue(const QString &column, const QString &number)
    {
        return Scalar("Select " + column + " From 库存管理 where 编号=" + QuotedStr(number));
    }

    static QString lotCount() { return Scalar("Select count(*) From 库存管理"); }

    TForm_jh *open()
    {
        delete screen.data();
        screen = Form_jh = new TForm_jh();
        screen->show();
        QCoreApplication::processEvents();
        return screen;
    }

    QStringList listed() { return Listed(screen->DBGrid1); }
    void clickRow(int row) { ClickRow(screen->DBGrid1, row); }

    // A purchase typed into the panel, priced with "=".
    void typePurchase(const QString &number, const QString &price, const QString &weight)
    {
        screen->LabeledEdit3->setText(number);
        screen->ComboBox1->setCurrentText("铁观音");
        screen->ComboBox3->setCurrentText("安溪");
        screen->ComboBox5->setCurrentText("老王");
        screen->LabeledEdit1->setText(price);
        screen->LabeledEdit7->setText(weight);
        screen->SpeedButton3->click();
    }

    QPointer<TForm_jh> screen;
};

TEST_F(StockIntake, OpensWithTheChoiceListsTheHandlerAndEveryLotNewestFirst)
{
    run("delete from 品种管理");
    run("insert into 品种管理(品种) values('铁观音')");
    run("insert into 品种管理(品种) values('龙井')");
    run("delete from 产地管理");
    run("insert into 产地管理(产地) values('安溪')");
    run("insert into 通讯管理(名称,类型) values('老王','供应商')");
    run("insert into 通讯管理(名称,类型) values('小李','零售客户')");
    run("insert into 库存管理(编号,总重量,剩余重量,总金额) values('A1',10,4,300)");
    run("insert into 库存管理(编号,总重量,剩余重量,总金额,配茶) values('B1',5,5,250,true)");
    open();
    EXPECT_EQ(screen->ComboBox1->currentText(), "铁观音");
    EXPECT_EQ(screen->ComboBox1->count(), 2);
    EXPECT_EQ(screen->ComboBox3->currentText(), "安溪");
    EXPECT_EQ(screen->ComboBox5->count(), 1);
    EXPECT_EQ(screen->ComboBox5->currentText(), "老王");
    EXPECT_EQ(screen->LabeledEdit13->text(), "张三");
    EXPECT_EQ(screen->DateTimePicker1->date(), QDate::currentDate());
    EXPECT_EQ(listed(), QStringList({"B1", "A1"})); // blends are lots too
    const DBGrid *g = screen->DBGrid1;
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("毛茶价")), "总计：");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("总重量")), "15.00 Kg");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("剩余重量")), "9.00 Kg");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("总金额")), "￥550.00");
}

TEST_F(StockIntake, EqualsPricesThePurchaseAndEnterInTheWeightDoesTheSame)
{
    open();
    typePurchase("", "30", "12.5");
    EXPECT_EQ(screen->LabeledEdit9->text(), "375.00");
    EXPECT_EQ(screen->LabeledEdit5->text(), "375.00");
    EXPECT_EQ(screen->LabeledEdit14->text(), "12.5");
    screen->LabeledEdit7->setText("2");
    QTest::keyClick(screen->LabeledEdit7->Edit(), Qt::Key_Return);
    EXPECT_EQ(screen->LabeledEdit9->text(), "60.00");
    EXPECT_EQ(screen->LabeledEdit14->text(), "2");
    // A weight that is not a number is a conversion error, and nothing moves.
    screen->LabeledEdit7->setText("");
    screen->SpeedButton3->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_EQ(screen->LabeledEdit9->text(), "60.00");
}

TEST_F(StockIntake, APurchaseStoresEveryFieldAndEmptiesOnlyTheNumbers)
{
    open();
    typePurchase("T1", "30", "12.5");
    screen->ComboBox6->setCurrentText("散装");
    screen->DateTimePicker1->setDate({2026, 4, 26});
    screen->RadioButton2->setChecked(true);
    screen->LabeledEdit5->setText("370");
    screen->Memo1->setPlainText("备注：O'Brien 的茶");
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定购入此商品!"}));
    EXPECT_EQ(lotValue("品种", "T1"), "铁观音");
    EXPECT_EQ(lotValue("供应商", "T1"), "老王");
    EXPECT_EQ(lotValue("总金额", "T1"), "375");
    EXPECT_EQ(lotValue("剩余重量", "T1"), "12.5");
    EXPECT_EQ(lotValue("实付款", "T1"), "370");
    EXPECT_EQ(lotValue("包装", "T1"), "散装");
    EXPECT_EQ(lotValue("入库日期", "T1"), "2026-04-26");
    EXPECT_EQ(lotValue("经办人", "T1"), "张三");
    EXPECT_EQ(lotValue("备注", "T1"), "备注：O'Brien 的茶");
    EXPECT_EQ(lotValue("毛净茶", "T1"), "净茶");
    EXPECT_EQ(lotValue("配茶", "T1"), "False");
    EXPECT_EQ(lotValue("销售单价", "T1"), "");
    EXPECT_EQ(listed(), QStringList({"T1"}));
    for (LabeledEdit *e : {screen->LabeledEdit1, screen->LabeledEdit3, screen->LabeledEdit5, screen->LabeledEdit7,
                           screen->LabeledEdit9, screen->LabeledEdit14})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
    EXPECT_EQ(screen->Memo1->toPlainText(), "备注：");
    EXPECT_EQ(screen->ComboBox1->currentText(), "铁观音");
    EXPECT_EQ(screen->DateTimePicker1->date(), QDate(2026, 4, 26));
    EXPECT_EQ(screen->LabeledEdit13->text(), "张三");
    EXPECT_TRUE(screen->RadioButton2->isChecked());

    // Right after it, without "=", the empty fields are named and nothing is asked or written.
    dialogs.Clear();
    screen->LabeledEdit3->setText("T2");
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请输入正确的毛茶价!"}));
    EXPECT_EQ(lotCount(), "1");
}

TEST(AutoLotNumber, InitialMonthDayAndTheWeightInAtLeastThreeDigits)
{
    const QDate april26(2026, 4, 26);
    EXPECT_EQ(AutoLotNumber("铁观音", april26, "12.5"), "T0426013");
    EXPECT_EQ(AutoLotNumber("铁观音", april26, "1250"), "T04261250");
    EXPECT_EQ(AutoLotNumber("龙井", QDate(2026, 12, 1), "7"), "L1201007");
    EXPECT_EQ(AutoLotNumber("Assam", april26, "12.5"), " 0426013");
    EXPECT_THROW(AutoLotNumber("铁观音", april26, ""), ConvertError);
}

TEST_F(StockIntake, AutoNumberingNumbersBeforeTheQuestionAndACancelWritesNothing)
{
    open();
    screen->CheckBox2->click();
    typePurchase("手写", "30", "12.5");
    screen->DateTimePicker1->setDate({2026, 4, 26});
    dialogs.Cancel();
    screen->Button2->click();
    EXPECT_EQ(screen->LabeledEdit3->text(), "T0426013");
    EXPECT_EQ(lotCount(), "0");
    screen->Button2->click();
    EXPECT_EQ(lotValue("总重量", "T0426013"), "12.5");
    // With the weight emptied by that purchase, numbering stops at the conversion error.
    dialogs.Clear();
    screen->Button2->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 0);
    EXPECT_EQ(lotCount(), "1");
}

TEST_F(StockIntake, TheAutoNumberTickSurvivesARestart)
{
    open();
    EXPECT_FALSE(screen->CheckBox2->isChecked());
    screen->CheckBox2->click();
    EXPECT_TRUE(IniFile(ProgramPath("config.ini")).ReadBool("选项", "自动编号"));
    screen->close();
    open();
    EXPECT_TRUE(screen->CheckBox2->isChecked());
    screen->CheckBox2->click();
    open();
    EXPECT_FALSE(screen->CheckBox2->isChecked());
}

TEST_F(StockIntake, ATickThatCannotBeStoredSaysSo)
{
    QDir().mkpath(ProgramPath("config.ini")); // a folder where the file should be
    open();
    screen->CheckBox2->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
}

TEST_F(StockIntake, ARowLoadsIntoThePanelAndAChangeRewritesThatLotOnly)
{
    run("insert into 库存管理(编号,品种,毛茶价,总重量,剩余重量,总金额,实付款,入库日期,毛净茶,备注) "
        "values('A1','龙井',20,10,8,200,200,'2026-03-01','毛茶','第一批')");
    run("insert into 库存管理(编号,品种,毛茶价,总重量,剩余重量,总金额,实付款,入库日期,毛净茶) "
        "values('B1','龙井',20,10,8,200,200,'2026-03-02','')");
    open();
    clickRow(1); // A1
    EXPECT_EQ(screen->LabeledEdit3->text(), "A1");
    EXPECT_EQ(screen->LabeledEdit14->text(), "8");
    EXPECT_EQ(screen->DateTimePicker1->date(), QDate(2026, 3, 1));
    EXPECT_EQ(screen->Memo1->toPlainText(), "第一批");
    EXPECT_TRUE(screen->RadioButton1->isChecked());
    screen->LabeledEdit14->setText("6.5");
    screen->LabeledEdit3->setText("A1'改");
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改此商品!"}));
    EXPECT_EQ(lotValue("剩余重量", "A1'改"), "6.5");
    EXPECT_EQ(lotValue("备注", "A1'改"), "第一批");
    EXPECT_EQ(lotValue("剩余重量", "B1"), "8");
    EXPECT_EQ(lotCount(), "2");
    // The panel was emptied with the change, so a second change needs a row again.
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));

    clickRow(0); // B1, 毛净茶 empty
    EXPECT_TRUE(screen->RadioButton2->isChecked());
}

struct EqualsCase {
    const char *name;
    const char *stored;    // the loaded lot's remaining weight (total 12.5); empty: a new purchase
    bool asked;            // "=" asks before resetting the remaining weight
    bool reset;            // the answer
    const char *remaining; // 剩余重量 after "=", and stored by "修改(&E)"
};

void PrintTo(const EqualsCase &c, std::ostream *os)
{
    *os << c.name;
}

class IntakeEquals : public StockIntake, public ::testing::WithParamInterface<EqualsCase> {};

TEST_P(IntakeEquals, ResetsTheRemainingWeightOnlyOfALotNothingLeftYet)
{
    const EqualsCase c = GetParam();
    const QString stored = QString::fromUtf8(c.stored);
    if (!stored.isEmpty()) {
        run("insert into 库存管理(编号,品种,毛茶价,总重量,剩余重量,总金额,实付款,入库日期,毛净茶) "
            "values('L1','龙井',30,12.5," + stored + ",375,375,'2026-03-01','毛茶')");
        if (c.asked)
            run("insert into 销售记录(编号,重量) values('L1',2.5)");
    }
    open();
    if (!stored.isEmpty())
        clickRow(0);
    screen->LabeledEdit1->setText("32");
    screen->LabeledEdit7->setText("15");
    if (!c.reset)
        dialogs.Cancel();
    screen->SpeedButton3->click();
    EXPECT_EQ(dialogs.Texts(), c.asked ? QStringList({"是否确定将剩余重量重置为总重量(此商品已有售出或退货)!"}) : QStringList());
    EXPECT_EQ(screen->LabeledEdit9->text(), "480.00");
    EXPECT_EQ(screen->LabeledEdit14->text(), c.remaining);
    if (stored.isEmpty())
        return;
    dialogs.Clear();
    screen->Button3->click();
    EXPECT_EQ(lotValue("剩余重量", "L1"), c.remaining);
    EXPECT_EQ(lotValue("总重量", "L1"), "15");
}

INSTANTIATE_TEST_SUITE_P(Cases, IntakeEquals,
                         ::testing::Values(EqualsCase{"newPurchase", "", false, true, "15"},
                                           EqualsCase{"untouchedLot", "12.5", false, true, "15"},
                                           EqualsCase{"soldLotKept", "10", true, false, "10"},
                                           EqualsCase{"soldLotReset", "10", true, true, "15"}),
                         [](const ::testing::TestParamInfo<EqualsCase> &info) { return std::string(info.param.name); });

TEST_F(StockIntake, DeleteAsksRemovesTheLotAndLeavesItsSales)
{
    run("insert into 库存管理(编号,剩余重量) values('A1',3)");
    run("insert into 销售记录(编号,重量) values('A1',1)");
    open();
    screen->Button4->click(); // nothing loaded, 编号 empty: nothing at all
    EXPECT_TRUE(dialogs.Requests().empty());
    screen->LabeledEdit3->setText("A1");
    screen->Button4->click(); // a typed number names no row
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));
    dialogs.Clear();
    clickRow(0);
    dialogs.Cancel();
    screen->D1->trigger();
    EXPECT_EQ(lotCount(), "1");
    screen->D1->trigger();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除此商品!", "是否确定删除此商品!"}));
    EXPECT_EQ(lotCount(), "0");
    EXPECT_EQ(Scalar("Select count(*) From 销售记录"), "1");
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(StockIntake, ARefusedPurchaseIsReportedAndKeepsEveryField)
{
    conn().ExecuteNative("CREATE TRIGGER t BEFORE INSERT ON 库存管理 BEGIN SELECT RAISE(ABORT,'磁盘已满'); END");
    open();
    typePurchase("A1", "30", "2");
    screen->Button2->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_TRUE(dialogs.Texts().last().contains("磁盘已满"));
    EXPECT_EQ(screen->LabeledEdit3->text(), "A1");
    EXPECT_EQ(screen->LabeledEdit9->text(), "60.00");
    EXPECT_EQ(screen->LabeledEdit14->text(), "2");
    EXPECT_EQ(lotCount(), "0");
}

TEST_F(StockIntake, FiltersByEachColumnAndByTheDateOfTheLoadedRow)
{
    run("insert into 库存管理(编号,品种,产地,供应商,经办人,入库日期) values('A1','龙井','杭州','老王','张三','2026-03-01')");
    run("insert into 库存管理(编号,品种,产地,供应商,经办人,入库日期) values('B1','龙井','安溪','小李','李四','2026-03-02')");
    run("insert into 库存管理(编号,品种,产地,供应商,经办人,入库日期) values('C''1','红茶','安溪','老王','张三','2026-03-01')");
    open();
    struct Case {
        QAction *item;
        QStringList shown;
    };
    clickRow(2); // A1
    for (const Case &c : {Case{screen->N7, {"A1"}}, Case{screen->N5, {"B1", "A1"}}, Case{screen->N6, {"A1"}},
                          Case{screen->N2, {"C'1", "A1"}}, Case{screen->N4, {"C'1", "A1"}},
                          Case{screen->N3, {"C'1", "A1"}}, Case{screen->N1, {"C'1", "B1", "A1"}}}) {
        c.item->trigger();
        EXPECT_EQ(listed(), c.shown) << c.item->text().toStdString();
    }
    // A typed value with a quote is a value, not a statement.
    screen->ComboBox2->setCurrentIndex(1);
    screen->Edit1->setText("C'1");
    screen->Button1->click();
    EXPECT_EQ(listed(), QStringList({"C'1"}));
    screen->ComboBox2->setCurrentIndex(6);
    EXPECT_TRUE(screen->Edit1->text().isEmpty());
    EXPECT_TRUE(screen->DateTimePicker3->isVisible());
    EXPECT_EQ(screen->DateTimePicker3->pos(), QPoint(302, 12));
    EXPECT_EQ(screen->DateTimePicker3->date(), QDate::currentDate());
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(StockIntake, TheSupplierBookShownByPlusRefreshesTheSupplierBoxWhenItCloses)
{
    run("insert into 通讯管理(名称,类型) values('老王','供应商')");
    Form_jh_user = new TForm_jh_user(); // made hidden with the screen
    open();
    screen->SpeedButton2->click();
    ASSERT_TRUE(Form_jh_user && Form_jh_user->isVisible());
    run("insert into 通讯管理(名称,类型) values('新供应商','供应商')");
    Form_jh_user->close();
    QCoreApplication::processEvents();
    QStringList items;
    for (int i = 0; i < screen->ComboBox5->count(); ++i)
        items << screen->ComboBox5->itemText(i);
    EXPECT_EQ(items, QStringList({"老王", "新供应商"}));
    EXPECT_EQ(screen->ComboBox5->currentText(), "老王");
    // Once closed it is gone; the next "+" shows a fresh one.
    screen->SpeedButton2->click();
    ASSERT_TRUE(Form_jh_user && Form_jh_user->isVisible());
}

TEST_F(StockIntake, ExportWritesTheListAndSaysSo)
{
    run("insert into 库存管理(编号,总重量) values('A1',2)");
    open();
    const QString path = folder.Path("lots.csv");
    dialogs.SaveAs(path, 2);
    screen->Button6->click();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(dialogs.Texts().last(), "导出成功!");
}

} // namespace
