#include "tests/inventory/inventoryfixture.h"

#include "app/screenregistry.h"
#include "datalayer/numbertext.h"

#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {

using StockTab = InventoryTest;

struct YieldCase {
    const char *rawPrice; // empty: the lot has no 毛茶价
    const char *ratio;
    const char *shown;    // 净茶价 afterwards
};

class YieldRatio : public InventoryTest, public ::testing::WithParamInterface<YieldCase> {};

TEST_P(YieldRatio, ShowsTheNetPriceWithoutStoringIt)
{
    const YieldCase c = GetParam();
    LotRow r;
    r.number = "Y1";
    r.rawPrice = c.rawPrice;
    r.netPrice = "90";
    const qint64 id = lot(r);
    open();
    clickLot(screen->DBGrid1, "Y1");
    ASSERT_EQ(screen->LabeledEdit1->text(), c.rawPrice);
    choose(screen->ComboBox4, c.ratio);
    EXPECT_EQ(screen->LabeledEdit16->text(), c.shown);
    EXPECT_EQ(column(id, "净茶价"), "90");
    EXPECT_TRUE(dialogs.Requests().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, YieldRatio,
                         ::testing::Values(YieldCase{"100", "8.0折", "125.00"}, YieldCase{"100", "5.0折", "200.00"},
                                           YieldCase{"100", "10.0折", "100.00"}, YieldCase{"100", "8.5折", "117.65"},
                                           YieldCase{"", "8.0折", "90"}));

TEST_F(StockTab, RowClickLoadsTheLotAndAnEmptyListLoadsNothing)
{
    LotRow r;
    r.number = "L1";
    r.rawNet = "毛茶";
    r.remark = "备注：\n陈茶";
    const qint64 id = lot(r);
    open();
    screen->LabeledEdit5->setText("配茶X");
    clickLot(screen->DBGrid1, "L1");
    EXPECT_EQ(screen->SelectedLot(), QString::number(id));
    EXPECT_TRUE(screen->LabeledEdit5->text().isEmpty());
    EXPECT_EQ(screen->LabeledEdit3->text(), "L1");
    EXPECT_EQ(screen->LabeledEdit20->text(), "甲茶厂");
    EXPECT_EQ(screen->LabeledEdit22->text(), "2026-03-01");
    EXPECT_EQ(screen->LabeledEdit2->text(), "10");
    EXPECT_EQ(screen->LabeledEdit13->text(), "150");
    EXPECT_EQ(screen->LabeledEdit15->text(), "900");
    EXPECT_EQ(screen->Memo1->toPlainText(), "备注：\n陈茶");
    EXPECT_TRUE(screen->RadioButton1->isChecked());

    // A filter that finds nothing, then a click on the empty grid.
    screen->ComboBox7->setCurrentIndex(1); // 售完
    ASSERT_EQ(screen->DBGrid1->model()->rowCount(), 0);
    QTest::mouseClick(screen->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(screen->SelectedLot().isEmpty());
    EXPECT_TRUE(screen->LabeledEdit3->text().isEmpty());
    EXPECT_TRUE(screen->LabeledEdit1->text().isEmpty());
    EXPECT_TRUE(screen->RadioButton2->isChecked());
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(StockTab, ZeroingTheWeightMovesALotFromInStockToSoldOut)
{
    LotRow a, b, c;
    a.number = "A";
    a.remaining = "5";
    b.number = "B";
    b.remaining = "0";
    c.number = "C";
    c.remaining = "-1";
    const qint64 idA = lot(a);
    lot(b);
    lot(c);
    open();
    screen->ComboBox7->setCurrentIndex(1);
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"B"}));
    screen->ComboBox7->setCurrentIndex(2);
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"A"}));

    clickLot(screen->DBGrid1, "A");
    screen->Button4->click();
    EXPECT_EQ(screen->LabeledEdit2->text(), "0");
    EXPECT_EQ(column(idA, "剩余重量"), "5"); // nothing stored before "修改(&E)"
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定是否进行修改!"}));
    EXPECT_EQ(column(idA, "剩余重量"), "0");
    EXPECT_TRUE(listed(screen->DBGrid1).isEmpty()); // the 未完 list was run again

    screen->ComboBox7->setCurrentIndex(1);
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"B", "A"}));
    screen->ComboBox7->setCurrentIndex(2);
    EXPECT_TRUE(listed(screen->DBGrid1).isEmpty());
}

struct WriteCase {
    bool ok;       // the answer to the question
    bool deleting; // "删除(&D)" instead of "修改(&E)"
};

class AskedWrite : public InventoryTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(AskedWrite, AsksThenWritesAndResetsOrChangesNothing)
{
    const WriteCase c = GetParam();
    LotRow r;
    r.number = "W1";
    const qint64 id = lot(r);
    ASSERT_TRUE(RunSQL("insert into 销售记录(编号,重量) values('W1',1)", conn()));
    open();
    clickLot(screen->DBGrid1, "W1");
    screen->LabeledEdit16->setText("95.5");
    screen->LabeledEdit13->setText("160");
    screen->LabeledEdit2->setText("7.25");
    if (!c.ok)
        dialogs.Cancel();
    (c.deleting ? screen->Button1 : screen->Button3)->click();
    ASSERT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 1);
    EXPECT_EQ(dialogs.Texts(), QStringList({c.deleting ? "是否确定删除此商品!" : "是否确定是否进行修改!"}));
    const bool gone = scalar("Select count(*) From 库存管理 where ID = " + QString::number(id)) == "0";
    EXPECT_EQ(gone, c.ok && c.deleting);
    if (c.ok && !c.deleting) {
        EXPECT_EQ(column(id, "剩余重量"), "7.25");
        EXPECT_EQ(column(id, "净茶价"), "95.5");
        EXPECT_EQ(column(id, "销售单价"), "160");
    }
    if (!c.ok) {
        EXPECT_EQ(column(id, "剩余重量"), "10");
        EXPECT_EQ(screen->LabeledEdit2->text(), "7.25");
        EXPECT_EQ(screen->LabeledEdit3->text(), "W1");
        return;
    }
    for (LabeledEdit *e : screen->GroupBox1->findChildren<LabeledEdit *>())
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
    EXPECT_EQ(screen->Memo1->toPlainText(), "备注：");
    EXPECT_EQ(scalar("Select count(*) From 销售记录 where 编号 = 'W1'"), "1");
    // With the fields reset neither button does anything until a row is loaded.
    dialogs.Clear();
    screen->Button3->click();
    screen->Button1->click();
    EXPECT_TRUE(dialogs.Requests().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, AskedWrite,
                         ::testing::Values(WriteCase{true, false}, WriteCase{false, false}, WriteCase{true, true},
                                           WriteCase{false, true}));

TEST_F(StockTab, ARefusedWriteIsReportedAndTheFieldsStay)
{
    LotRow r;
    r.number = "R1";
    const qint64 id = lot(r);
    conn().ExecuteNative("CREATE TRIGGER t1 BEFORE UPDATE ON 库存管理 BEGIN SELECT RAISE(ABORT,'库存被锁定'); END");
    conn().ExecuteNative("CREATE TRIGGER t2 BEFORE DELETE ON 库存管理 BEGIN SELECT RAISE(ABORT,'库存被锁定'); END");
    open();
    clickLot(screen->DBGrid1, "R1");
    screen->LabeledEdit2->setText("3");
    for (QPushButton *button : {screen->Button3, screen->Button1}) {
        dialogs.Clear();
        button->click();
        EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1) << button->objectName().toStdString();
        EXPECT_TRUE(dialogs.Texts().last().contains("库存被锁定"));
        EXPECT_EQ(screen->LabeledEdit2->text(), "3");
        EXPECT_EQ(screen->LabeledEdit3->text(), "R1");
    }
    EXPECT_EQ(column(id, "剩余重量"), "10");
}

TEST_F(StockTab, ACorrectionOfALotDeletedMeanwhileSaysSo)
{
    LotRow r;
    r.number = "G1";
    const qint64 id = lot(r);
    open();
    clickLot(screen->DBGrid1, "G1");
    Run("DELETE FROM 库存管理 WHERE ID = " + QString::number(id)); // as the blending tab deletes a blend
    screen->LabeledEdit2->setText("3");
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定是否进行修改!", "所选记录已不存在，请在列表中重新选择!"}));
    EXPECT_TRUE(screen->SelectedLot().isEmpty());
    EXPECT_EQ(screen->LabeledEdit2->text(), "3"); // what was typed stays
    EXPECT_TRUE(listed(screen->DBGrid1).isEmpty());
}

TEST_F(StockTab, CorrectingBeforeAnyRowIsLoadedAsksForARow)
{
    LotRow r;
    r.number = "N1";
    lot(r);
    open();
    ASSERT_EQ(screen->LabeledEdit1->text(), "0");
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));
    dialogs.Clear();
    screen->Button1->click(); // no 编号: nothing at all
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(StockTab, ALotWithoutRawPriceCannotBeCorrectedButCanBeDeleted)
{
    LotRow r;
    r.number = "P1";
    r.rawPrice = "";
    const qint64 id = lot(r);
    open();
    clickLot(screen->DBGrid1, "P1");
    screen->LabeledEdit2->setText("1");
    screen->Button3->click();
    EXPECT_TRUE(dialogs.Requests().empty());
    EXPECT_EQ(column(id, "剩余重量"), "10");
    screen->D1->trigger(); // the popup's "删除(&D)"
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除此商品!"}));
    EXPECT_EQ(scalar("Select count(*) From 库存管理"), "0");
}

struct BadNumber {
    const char *remaining, *net, *sale;
    const char *message;
};

class StockBadNumber : public InventoryTest, public ::testing::WithParamInterface<BadNumber> {};

TEST_P(StockBadNumber, IsNamedBeforeTheQuestionAndNothingIsWritten)
{
    const BadNumber c = GetParam();
    LotRow r;
    r.number = "B1";
    const qint64 id = lot(r);
    open();
    clickLot(screen->DBGrid1, "B1");
    screen->LabeledEdit2->setText(c.remaining);
    screen->LabeledEdit16->setText(c.net);
    screen->LabeledEdit13->setText(c.sale);
    screen->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({c.message}));
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 0);
    EXPECT_EQ(column(id, "剩余重量"), "10");
    EXPECT_EQ(column(id, "净茶价"), "90");
    EXPECT_EQ(column(id, "销售单价"), "150");
    EXPECT_EQ(screen->LabeledEdit2->text(), c.remaining);
    EXPECT_EQ(screen->LabeledEdit16->text(), c.net);
}

INSTANTIATE_TEST_SUITE_P(Cases, StockBadNumber,
                         ::testing::Values(BadNumber{"", "90", "150", "请输入正确的剩余重量!"},
                                           BadNumber{"1.2.3", "90", "150", "请输入正确的剩余重量!"},
                                           BadNumber{"5", "", "150", "请输入正确的净茶价!"},
                                           BadNumber{"5", "9'0", "150", "请输入正确的净茶价!"},
                                           BadNumber{"5", "90", "", "请输入正确的销售单价!"},
                                           BadNumber{"5", "90", "1,5", "请输入正确的销售单价!"}));

struct FilterCase {
    int entry;
    const char *value;
    QDate date;
    QStringList expected;
};

class StockFilter : public InventoryTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(StockFilter, ListsTheMatchingLotsNewestFirst)
{
    const FilterCase c = GetParam();
    LotRow a, b, d;
    a.number = "F1";
    a.remaining = "0";
    b.number = "F2";
    b.variety = "碧螺春";
    b.origin = "苏州";
    b.supplier = "O'Brien 茶行";
    b.handler = "王五";
    b.date = "2026-03-02";
    d.number = "F3";
    d.remaining = "2.5";
    d.date = "2026-03-02";
    lot(a);
    lot(b);
    lot(d);
    open();
    screen->ComboBox7->setCurrentIndex(c.entry);
    screen->Edit2->setText(c.value);
    screen->DateTimePicker4->setDate(c.date);
    dialogs.Clear();
    screen->Button5->click();
    EXPECT_EQ(listed(screen->DBGrid1), c.expected);
    EXPECT_TRUE(dialogs.Requests().empty());
}

const QDate kMar2(2026, 3, 2);

INSTANTIATE_TEST_SUITE_P(
    Cases, StockFilter,
    ::testing::Values(FilterCase{0, "F1", {}, {"F3", "F2", "F1"}}, FilterCase{1, "", {}, {"F1"}},
                      FilterCase{2, "", {}, {"F3", "F2"}}, FilterCase{3, "F2", {}, {"F2"}},
                      FilterCase{3, "f2", {}, {"F2"}}, FilterCase{4, "龙井", {}, {"F3", "F1"}},
                      FilterCase{5, "苏州", {}, {"F2"}}, FilterCase{6, "O'Brien 茶行", {}, {"F2"}},
                      FilterCase{7, "李四", {}, {"F3", "F1"}}, FilterCase{8, "", kMar2, {"F3", "F2"}},
                      FilterCase{3, "x' or '1'='1", {}, {}}));

TEST_F(StockTab, ChoosingAFilterKindSwitchesTheValueBoxAndRunsOnlyTheFixedLists)
{
    LotRow a, b;
    a.number = "K1";
    a.remaining = "0";
    a.date = "2026-04-01";
    b.number = "K2";
    lot(a);
    lot(b);
    open();
    screen->Edit2->setText("剩下的字");
    screen->ComboBox7->setCurrentIndex(1); // 售完 runs at once
    EXPECT_TRUE(screen->Edit2->text().isEmpty());
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"K1"}));
    screen->ComboBox7->setCurrentIndex(8); // 入库日期 waits for "查询"
    EXPECT_TRUE(screen->DateTimePicker4->isVisible());
    EXPECT_FALSE(screen->Edit2->isVisible());
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"K1"}));
    screen->DateTimePicker4->setDate(QDate(2026, 4, 1));
    screen->Button5->click();
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"K1"}));
    screen->ComboBox7->setCurrentIndex(3); // 编号 waits too
    EXPECT_TRUE(screen->Edit2->isVisible());
    EXPECT_FALSE(screen->DateTimePicker4->isVisible());
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"K1"}));
}

TEST_F(StockTab, PopupFiltersTakeTheLoadedLotsValues)
{
    LotRow a, b, c;
    a.number = "M1";
    a.supplier = "乙茶厂";
    a.date = "2026-05-01";
    b.number = "M2";
    c.number = "M3";
    c.supplier = "乙茶厂";
    lot(a);
    lot(b);
    lot(c);
    open();
    clickLot(screen->DBGrid1, "M1");
    screen->N6->trigger(); // 筛选此供应商
    EXPECT_EQ(screen->ComboBox7->currentText(), "供应商");
    EXPECT_EQ(screen->Edit2->text(), "乙茶厂");
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"M3", "M1"}));
    screen->N8->trigger(); // 筛选此入库日期
    EXPECT_TRUE(screen->DateTimePicker4->isVisible());
    EXPECT_EQ(screen->DateTimePicker4->date(), QDate(2026, 5, 1));
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"M1"}));
    screen->N3->trigger(); // 筛选此编号
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"M1"}));
    screen->N2->trigger(); // 重新导入
    EXPECT_EQ(screen->ComboBox7->currentText(), "全部");
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"M3", "M2", "M1"}));
}

TEST_F(StockTab, FooterSumsFollowTheFilter)
{
    LotRow a, b;
    a.number = "S1";
    a.remaining = "1234.5";
    b.number = "S2";
    b.remaining = "0.5";
    b.variety = "碧螺春";
    lot(a);
    lot(b);
    open();
    DBGrid *g = screen->DBGrid1;
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("毛茶价")), "总计：");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("剩余重量")), "1,235.00 Kg");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("实付款")), "￥1,800.00");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("净茶价")), "");
    screen->ComboBox7->setCurrentIndex(4);
    screen->Edit2->setText("碧螺春");
    screen->Button5->click();
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("剩余重量")), "0.50 Kg");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("总金额")), "￥1,000.00");
}

TEST_F(StockTab, ExportWritesTheStockGrid)
{
    LotRow r;
    r.number = "E1";
    lot(r);
    open();
    const QString path = folder.Path("stock.txt");
    dialogs.SaveAs(path, 1);
    screen->Button10->click();
    EXPECT_EQ(dialogs.Texts().last(), "导出成功!");
    QFile f(path);
    ASSERT_TRUE(f.exists());
    dialogs.Clear();
    dialogs.Cancel();
    screen->Button10->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Notice), 0);
}

TEST_F(StockTab, ClosingReleasesTheQueriesAndTheDialogGoesWithTheScreen)
{
    LotRow r;
    r.number = "Z1";
    lot(r);
    open();
    screen->PageControl1->setCurrentWidget(screen->TabSheet2);
    addPortion("Z1", "99"); // too much: the dialog stays open
    ASSERT_TRUE(Form_bcadd->isVisible());
    screen->close();
    EXPECT_FALSE(Form_bcadd->isVisible());
    EXPECT_FALSE(Form_sql->ADOQuery1->Active());
    EXPECT_FALSE(Form_sql->ADOQuery_xs->Active());
    EXPECT_EQ(screen->DBGrid1->query(), nullptr);
    delete screen.data();
    EXPECT_EQ(Form_bcadd, nullptr);
    EXPECT_EQ(Form_kc, nullptr);
}

TEST_F(StockTab, AQueryTheDatabaseRefusesReachesTheErrorBox)
{
    open();
    conn().ExecuteNative("ALTER TABLE 库存管理 RENAME TO 旧库存");
    for (QPushButton *button : {screen->Button5, screen->Button8, screen->Button9}) {
        dialogs.Clear();
        button->click();
        EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1) << button->objectName().toStdString();
    }
    EXPECT_EQ(screen->DBGrid1->model()->rowCount(), 0);
}

TEST_F(StockTab, NumberFieldsTakeOnlyDigitsAndPoints)
{
    open();
    for (LabeledEdit *e : {screen->LabeledEdit2, screen->LabeledEdit16, screen->LabeledEdit13, screen->LabeledEdit11,
                           screen->LabeledEdit6}) {
        e->Edit()->setReadOnly(false);
        e->setText(QString());
        QTest::keyClicks(e->Edit(), "a1-2.5x");
        EXPECT_EQ(e->text(), "12.5") << e->objectName().toStdString();
    }
}

} // namespace
