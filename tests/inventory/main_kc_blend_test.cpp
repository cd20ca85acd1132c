#include "tests/inventory/inventoryfixture.h"

#include "datalayer/inifile.h"
#include "datalayer/numbertext.h"
#include "datalayer/programfolder.h"
#include "datalayer/settings.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

class Blending : public InventoryTest {
protected:
    // Lots A (10 kg at 100) and B (8 kg at 50), the blending tab open.
    void twoLots()
    {
        LotRow a, b;
        a.number = "A";
        a.netPrice = "100";
        a.remaining = "10";
        b.number = "B";
        b.netPrice = "50";
        b.remaining = "8";
        idA = lot(a);
        idB = lot(b);
        open();
        screen->PageControl1->setCurrentWidget(screen->TabSheet2);
        QCoreApplication::processEvents();
    }

    void selectPortion(int row)
    {
        QTreeWidgetItem *item = screen->ListView1->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        screen->ListView1->setCurrentItem(item);
        item->setSelected(true);
    }

    // Stores the blend being composed under a number.
    void store(const QString &number, const QString &salePrice = "120")
    {
        screen->LabeledEdit5->setText(number);
        screen->LabeledEdit11->setText(salePrice);
        screen->Button2->click();
    }

    qint64 idA = -1, idB = -1;
};

TEST_F(Blending, TwoPortionsAddUpAndComeOutAgain)
{
    twoLots();
    addPortion("A", "2");
    EXPECT_FALSE(Form_bcadd->isVisible());
    addPortion("B", "3");
    EXPECT_EQ(totals(), QStringList({"5", "350", "70.00"}));
    EXPECT_EQ(portions(), QStringList({"A|2|100|200", "B|3|50|150"}));

    selectPortion(0);
    screen->SpeedButton2->click();
    EXPECT_EQ(totals(), QStringList({"3", "150", "50"}));
    EXPECT_EQ(portions(), QStringList({"B|3|50|150"}));
    selectPortion(0);
    screen->SpeedButton2->click();
    EXPECT_EQ(totals(), QStringList({"0", "0", "0"}));
    EXPECT_TRUE(portions().isEmpty());
    EXPECT_TRUE(dialogs.Requests().empty());
    // Nothing taken from the lots.
    EXPECT_EQ(column(idA, "剩余重量"), "10");
    EXPECT_EQ(column(idB, "剩余重量"), "8");
}

TEST_F(Blending, RemovingWithoutASelectedPortionDoesNothing)
{
    twoLots();
    addPortion("A", "2");
    screen->ListView1->clearSelection();
    screen->ListView1->setCurrentItem(nullptr);
    screen->SpeedButton2->click();
    EXPECT_EQ(portions().size(), 1);
    EXPECT_EQ(totals(), QStringList({"2", "200", "100.00"}));
}

TEST_F(Blending, ALotAlreadyInTheListIsRefused)
{
    twoLots();
    addPortion("A", "2");
    clickLot(screen->DBGrid3, "A");
    screen->N1->trigger();
    EXPECT_EQ(dialogs.Texts(), QStringList({"已经添加了这个编号的商品!"}));
    EXPECT_FALSE(Form_bcadd->isVisible());
    EXPECT_EQ(portions(), QStringList({"A|2|100|200"}));
    EXPECT_EQ(totals(), QStringList({"2", "200", "100.00"}));
}

TEST_F(Blending, TheFirstPortionStartsANewBlendAndClearingKeepsTheTotals)
{
    twoLots();
    screen->LabeledEdit5->setText("旧编号");
    screen->LabeledEdit6->setText("7");
    screen->LabeledEdit11->setText("33");
    clickLot(screen->DBGrid3, "A");
    screen->N1->trigger();
    EXPECT_TRUE(screen->LabeledEdit5->text().isEmpty());
    EXPECT_EQ(totals(), QStringList({"0", "0", "0"}));
    EXPECT_EQ(screen->LabeledEdit11->text(), "0");
    EXPECT_EQ(Form_bcadd->LabeledEdit1->text(), "A");
    EXPECT_EQ(Form_bcadd->LabeledEdit2->text(), "100");
    EXPECT_EQ(Form_bcadd->LabeledEdit4->text(), "10");
    Form_bcadd->Button1->click();
    screen->Button11->click(); // 清空
    EXPECT_TRUE(portions().isEmpty());
    EXPECT_EQ(totals(), QStringList({"10", "1000", "100.00"}));
}

struct DialogCase {
    const char *price, *weight;
    const char *weightAfter; // what the weight field then holds
    bool added;
    bool error;              // the standard error box
    const char *notice = ""; // the notice naming the field
};

void PrintTo(const DialogCase &c, std::ostream *os)
{
    *os << c.price << " x " << c.weight;
}

class ComponentDialog : public Blending, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(ComponentDialog, AddsOnlyAValidWeightUpToTheLot)
{
    const DialogCase c = GetParam();
    twoLots();
    clickLot(screen->DBGrid3, "A");
    screen->N1->trigger();
    Form_bcadd->LabeledEdit2->setText(c.price);
    Form_bcadd->LabeledEdit4->setText(c.weight);
    Form_bcadd->Button1->click();
    EXPECT_EQ(portions().size(), c.added ? 1 : 0);
    EXPECT_EQ(Form_bcadd->isVisible(), !c.added);
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), c.error ? 1 : 0);
    const QString notice = QString::fromUtf8(c.notice);
    if (!notice.isEmpty())
        EXPECT_EQ(dialogs.Texts(), QStringList({notice}));
    EXPECT_EQ(dialogs.Requests().size(), c.error || !notice.isEmpty() ? 1u : 0u);
    EXPECT_EQ(Form_bcadd->LabeledEdit4->text(), c.weightAfter);
    if (!c.added)
        EXPECT_EQ(totals(), QStringList({"0", "0", "0"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, ComponentDialog,
                         ::testing::Values(DialogCase{"100", "10", "10", true, false},
                                           DialogCase{"100", "12", "10", false, false},
                                           DialogCase{"100", "10.01", "10", false, false},
                                           DialogCase{"100", "", "", false, false},
                                           DialogCase{"", "2", "2", false, false},
                                           DialogCase{"100", "2kg", "2kg", false, true},
                                           DialogCase{"100", "0", "0", false, false, "加入重量必须大于0!"},
                                           DialogCase{"100", "0.0", "0.0", false, false, "加入重量必须大于0!"},
                                           DialogCase{"100", "-5", "-5", false, false, "加入重量必须大于0!"},
                                           DialogCase{"0", "2", "2", false, false, "成本单价必须大于0!"},
                                           DialogCase{"-40", "2", "2", false, false, "成本单价必须大于0!"}));

TEST_F(Blending, TooMuchResetsToTheLotAndASecondPressAddsIt)
{
    twoLots();
    addPortion("A", "12");
    EXPECT_TRUE(Form_bcadd->isVisible());
    EXPECT_EQ(Form_bcadd->LabeledEdit4->text(), "10");
    EXPECT_TRUE(portions().isEmpty());
    EXPECT_TRUE(dialogs.Requests().empty());
    Form_bcadd->Button1->click();
    EXPECT_FALSE(Form_bcadd->isVisible());
    EXPECT_EQ(portions(), QStringList({"A|10|100|1000"}));
    EXPECT_EQ(totals(), QStringList({"10", "1000", "100.00"}));
}

TEST_F(Blending, TheOfferedLotsDialogTakesTheKeysTypedNext)
{
    // Shown without the keyboard, the dialog let the weight typed next go to the stock list.
    twoLots();
    ASSERT_TRUE(RunSQL("UPDATE 库存管理 SET 净茶价 = NULL WHERE 编号 = 'B'", Form_sql->ADOConnection1));
    Form_sql->ADOQuery1->Requery();
    const struct {
        const char *lot, *typed, *price, *weight;
    } cases[] = {
        {"A", "2", "100", "2"}, // the weight, ready to be replaced
        {"B", "40", "40", "8"}, // a lot without a cost price asks for the price first
    };
    for (const auto &c : cases) {
        QApplication::setActiveWindow(screen);
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
        clickLot(screen->DBGrid3, c.lot);
        screen->N1->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form_bcadd)) << c.lot;
        QTest::keyClicks(QApplication::focusWidget(), c.typed);
        EXPECT_EQ(Form_bcadd->LabeledEdit2->text(), c.price) << c.lot;
        EXPECT_EQ(Form_bcadd->LabeledEdit4->text(), c.weight) << c.lot;
        Form_bcadd->hide();
    }
}

TEST_F(Blending, AnOpenDialogRefilledWithAnotherLotTakesThatLotsLimit)
{
    twoLots();
    clickLot(screen->DBGrid3, "A");
    screen->N1->trigger();
    ASSERT_EQ(Form_bcadd->MaximumWeight(), "10");
    clickLot(screen->DBGrid3, "B"); // the dialog is still open
    screen->N1->trigger();
    EXPECT_EQ(Form_bcadd->MaximumWeight(), "8");
    Form_bcadd->LabeledEdit4->setText("9");
    Form_bcadd->Button1->click();
    EXPECT_EQ(Form_bcadd->LabeledEdit4->text(), "8");
    EXPECT_TRUE(portions().isEmpty());
}

TEST_F(Blending, ANewBlendIsStoredWithItsPortionsAndLeavesItsLotsAlone)
{
    twoLots();
    addPortion("A", "2");
    addPortion("B", "3");
    screen->LabeledEdit17->setText("王师傅");
    screen->ComboBox2->setCurrentText("大红袍");
    screen->DateTimePicker2->setDate(QDate(2026, 6, 3));
    store("BL-1");
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定添加此商品!"}));
    const QString id = scalar("Select ID From 库存管理 where 配茶 = 1");
    ASSERT_FALSE(id.isEmpty());
    const qint64 blend = id.toLongLong();
    EXPECT_EQ(column(blend, "编号"), "BL-1");
    EXPECT_EQ(column(blend, "总重量"), "5");
    EXPECT_EQ(column(blend, "剩余重量"), "5");
    EXPECT_EQ(column(blend, "总金额"), "350");
    EXPECT_EQ(column(blend, "净茶价"), "70");
    EXPECT_EQ(column(blend, "销售单价"), "120");
    EXPECT_EQ(column(blend, "入库日期"), "2026-06-03");
    EXPECT_EQ(column(blend, "品种"), "大红袍");
    EXPECT_EQ(column(blend, "毛净茶"), "净茶");
    EXPECT_EQ(column(blend, "经办人"), "张三");
    EXPECT_EQ(column(blend, "配茶师"), "王师傅");
    EXPECT_EQ(column(blend, "包装"), "散装");
    EXPECT_EQ(column(blend, "产地"), "安溪");
    EXPECT_EQ(column(blend, "配茶详细"), "A  2 100 200\r\nB  3 50 150\r\n");
    EXPECT_EQ(column(idA, "剩余重量"), "10");
    EXPECT_EQ(column(idB, "剩余重量"), "8");
    // The tab starts over and both lists show the new lot.
    EXPECT_TRUE(screen->LabeledEdit5->text().isEmpty());
    EXPECT_EQ(totals(), QStringList({"0", "0", "0"}));
    EXPECT_EQ(screen->LabeledEdit11->text(), "0");
    EXPECT_TRUE(portions().isEmpty());
    EXPECT_EQ(listed(screen->DBGrid2), QStringList({"BL-1"}));
    EXPECT_TRUE(listed(screen->DBGrid3).contains("BL-1"));

    clickLot(screen->DBGrid2, "BL-1");
    EXPECT_EQ(screen->SelectedBlend(), id);
    EXPECT_EQ(portions(), QStringList({"A|2|100|200", "B|3|50|150"}));
    EXPECT_EQ(totals(), QStringList({"5", "350", "70"}));
    EXPECT_EQ(screen->LabeledEdit5->text(), "BL-1");
    EXPECT_EQ(screen->LabeledEdit17->text(), "王师傅");
    EXPECT_EQ(screen->ComboBox2->currentText(), "大红袍");
    EXPECT_EQ(screen->DateTimePicker2->date(), QDate(2026, 6, 3));
    EXPECT_EQ(screen->DateTimePicker1->date(), QDate(2026, 6, 3));
}

TEST_F(Blending, ALotNumberWithABlankAndAQuoteComesBackWhole)
{
    LotRow r;
    r.number = "O'Neil 01";
    r.netPrice = "40";
    lot(r);
    open();
    addPortion("O'Neil 01", "2.5");
    EXPECT_EQ(portions(), QStringList({"O'Neil 01|2.5|40|100"}));
    screen->LabeledEdit17->setText("D'Arcy");
    store("配'茶 1");
    ASSERT_EQ(listed(screen->DBGrid2), QStringList({"配'茶 1"}));
    clickLot(screen->DBGrid2, "配'茶 1");
    EXPECT_EQ(portions(), QStringList({"O'Neil 01|2.5|40|100"}));
    EXPECT_EQ(screen->LabeledEdit17->text(), "D'Arcy");
}

struct AddGate {
    const char *number, *salePrice;
    bool autoNumber;
    bool portion;     // one portion of A in the list
    const char *notice; // empty: stored, or nothing at all when not stored
    bool stored;
};

void PrintTo(const AddGate &c, std::ostream *os)
{
    *os << c.number << '/' << c.salePrice << (c.autoNumber ? " auto" : "") << (c.portion ? "" : " no portion");
}

class BlendAddGate : public Blending, public ::testing::WithParamInterface<AddGate> {};

TEST_P(BlendAddGate, NeedsANumberAPortionAndASalePriceAboveZero)
{
    const AddGate c = GetParam();
    twoLots();
    if (c.portion)
        addPortion("A", "2");
    screen->CheckBox2->setChecked(c.autoNumber);
    store(c.number, c.salePrice);
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), c.stored ? 1 : 0);
    const QString notice = QString::fromUtf8(c.notice);
    if (!notice.isEmpty())
        EXPECT_EQ(dialogs.Texts(), QStringList({notice}));
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Notice), notice.isEmpty() ? 0 : 1);
    EXPECT_EQ(scalar("Select count(*) From 库存管理 where 配茶 = 1"), c.stored ? "1" : "0");
    if (!c.stored)
        EXPECT_EQ(portions().size(), c.portion ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, BlendAddGate,
                         ::testing::Values(AddGate{"BL", "0", false, true, "销售单价必须大于0!", false},
                                           AddGate{"BL", "0", true, true, "销售单价必须大于0!", false},
                                           AddGate{"BL", "0.0", false, true, "销售单价必须大于0!", false},
                                           AddGate{"BL", "-3", false, true, "销售单价必须大于0!", false},
                                           AddGate{"", "120", false, true, "", false},
                                           AddGate{"", "120", true, true, "", false},
                                           AddGate{"BL", "120", false, false, "请先加入配茶!", false},
                                           AddGate{"BL", "120", true, false, "请先加入配茶!", false},
                                           AddGate{"BL", "0.5", false, true, "", true},
                                           AddGate{"BL", "120", true, true, "", true}));

TEST_F(Blending, AutoNumberingReplacesTheTypedNumber)
{
    LotRow r;
    r.number = "T1";
    r.netPrice = "45.6";
    lot(r);
    open();
    addPortion("T1", "1");
    ASSERT_EQ(screen->LabeledEdit4->text(), "45.60");
    screen->CheckBox2->setChecked(true);
    screen->ComboBox2->setCurrentText("铁观音");
    screen->DateTimePicker2->setDate(QDate(2026, 5, 12));
    dialogs.Cancel();
    store("手写编号");
    EXPECT_EQ(screen->LabeledEdit5->text(), "T0512046"); // a cancelled add keeps the generated number
    EXPECT_EQ(scalar("Select count(*) From 库存管理 where 配茶 = 1"), "0");
    store("又一个");
    EXPECT_EQ(scalar("Select 编号 From 库存管理 where 配茶 = 1"), "T0512046");
}

struct BlendBadNumber {
    const char *field; // object name of the field on the tab
    const char *text;
    const char *message;
};

class BlendNumbers : public Blending, public ::testing::WithParamInterface<BlendBadNumber> {};

TEST_P(BlendNumbers, AreNamedBeforeTheQuestion)
{
    const BlendBadNumber c = GetParam();
    twoLots();
    addPortion("A", "2");
    screen->LabeledEdit5->setText("BL");
    screen->LabeledEdit11->setText("120");
    auto *field = screen->findChild<LabeledEdit *>(c.field);
    ASSERT_NE(field, nullptr);
    field->setText(c.text);
    screen->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({c.message}));
    EXPECT_EQ(scalar("Select count(*) From 库存管理 where 配茶 = 1"), "0");
    EXPECT_EQ(field->text(), c.text);
    EXPECT_EQ(portions().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, BlendNumbers,
                         ::testing::Values(BlendBadNumber{"LabeledEdit4", "", "请输入正确的成本单价!"},
                                           BlendBadNumber{"LabeledEdit6", "5..", "请输入正确的配茶总重!"},
                                           BlendBadNumber{"LabeledEdit9", "", "请输入正确的总金额!"},
                                           BlendBadNumber{"LabeledEdit11", "", "请输入正确的销售单价!"},
                                           BlendBadNumber{"LabeledEdit11", "1'0", "请输入正确的销售单价!"}));

TEST_F(Blending, CorrectingALoadedBlendStoresTheNewTotalsOnly)
{
    twoLots();
    addPortion("A", "2");
    addPortion("B", "3");
    store("BL-2");
    const qint64 blend = scalar("Select ID From 库存管理 where 配茶 = 1").toLongLong();
    dialogs.Clear();
    screen->Button6->click(); // no blend loaded yet
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));
    dialogs.Clear();

    clickLot(screen->DBGrid2, "BL-2");
    selectPortion(0);
    screen->SpeedButton2->click();
    screen->LabeledEdit11->setText("99.5");
    screen->LabeledEdit17->setText("O'Hara");
    screen->Button6->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改此商品资料!"}));
    EXPECT_EQ(column(blend, "总重量"), "3");
    EXPECT_EQ(column(blend, "总金额"), "150");
    EXPECT_EQ(column(blend, "净茶价"), "50");
    EXPECT_EQ(column(blend, "销售单价"), "99.5");
    EXPECT_EQ(column(blend, "配茶师"), "O'Hara");
    EXPECT_EQ(column(blend, "剩余重量"), "5");
    EXPECT_EQ(column(blend, "配茶详细"), "A  2 100 200\r\nB  3 50 150\r\n");
    EXPECT_TRUE(portions().isEmpty());
    EXPECT_TRUE(screen->LabeledEdit5->text().isEmpty());

    // A bad number is named; a cancelled question writes nothing.
    clickLot(screen->DBGrid2, "BL-2");
    screen->LabeledEdit11->setText("");
    dialogs.Clear();
    screen->Button6->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请输入正确的销售单价!"}));
    screen->LabeledEdit11->setText("1");
    dialogs.Clear();
    dialogs.Cancel();
    screen->Button6->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 1);
    EXPECT_EQ(column(blend, "销售单价"), "99.5");
}

struct WritePair {
    const char *first, *second; // "添加", "修改" or "删除", pressed on a loaded blend and confirmed
    int blendsLeft;
};

void PrintTo(const WritePair &c, std::ostream *os)
{
    *os << c.first << " then " << c.second;
}

class BlendWrites : public Blending, public ::testing::WithParamInterface<WritePair> {
protected:
    QPushButton *button(const char *caption)
    {
        for (QPushButton *b : {screen->Button2, screen->Button6, screen->Button7})
            if (b->text() == QString::fromUtf8(caption))
                return b;
        return nullptr;
    }
};

TEST_P(BlendWrites, TheLoadedBlendIsForgottenAfterEachWrite)
{
    const WritePair c = GetParam();
    twoLots();
    addPortion("A", "2");
    store("BL");
    const qint64 blend = scalar("Select ID From 库存管理 where 配茶 = 1").toLongLong();
    clickLot(screen->DBGrid2, "BL");
    ASSERT_EQ(screen->SelectedBlend(), QString::number(blend));
    button(c.first)->click();
    EXPECT_TRUE(screen->SelectedBlend().isEmpty());
    dialogs.Clear();
    button(c.second)->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));
    EXPECT_EQ(scalar("Select count(*) From 库存管理 where 配茶 = 1").toInt(), c.blendsLeft);
    if (QString(c.first) != "删除") {
        EXPECT_EQ(column(blend, "编号"), "BL");
        EXPECT_EQ(column(blend, "总重量"), "2");
        EXPECT_EQ(column(blend, "销售单价"), "120");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BlendWrites,
                         ::testing::Values(WritePair{"修改", "修改", 1}, WritePair{"修改", "删除", 1},
                                           WritePair{"添加", "删除", 2}, WritePair{"添加", "修改", 2},
                                           WritePair{"删除", "修改", 0}, WritePair{"删除", "删除", 0}),
                         [](const ::testing::TestParamInfo<WritePair> &info) { return std::to_string(info.index); });

TEST_F(Blending, AChangeOfABlendDeletedMeanwhileSaysSoAndKeepsTheTab)
{
    twoLots();
    addPortion("A", "2");
    store("BL");
    clickLot(screen->DBGrid2, "BL");
    Run("delete from 库存管理 where 配茶 = 1"); // as the stock tab's 删除 does
    screen->LabeledEdit11->setText("130");
    dialogs.Clear();
    screen->Button6->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改此商品资料!", "所选记录已不存在，请在列表中重新选择!"}));
    EXPECT_EQ(screen->LabeledEdit11->text(), "130");
    EXPECT_EQ(portions(), QStringList({"A|2|100|200"}));
    EXPECT_TRUE(screen->SelectedBlend().isEmpty());
    EXPECT_TRUE(listed(screen->DBGrid2).isEmpty());
}

TEST_F(Blending, DeletingABlendLeavesItsLots)
{
    twoLots();
    addPortion("A", "2");
    store("BL-3");
    dialogs.Clear();
    screen->Button7->click(); // no blend loaded yet
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));
    clickLot(screen->DBGrid2, "BL-3");
    dialogs.Clear();
    dialogs.Cancel();
    screen->D2->trigger();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除此商品!"}));
    EXPECT_EQ(scalar("Select count(*) From 库存管理 where 配茶 = 1"), "1");
    screen->Button7->click();
    EXPECT_EQ(scalar("Select count(*) From 库存管理 where 配茶 = 1"), "0");
    EXPECT_TRUE(listed(screen->DBGrid2).isEmpty());
    EXPECT_EQ(column(idA, "剩余重量"), "10");
}

TEST_F(Blending, ARefusedBlendWriteIsReportedAndTheTabKeepsItsContents)
{
    twoLots();
    addPortion("A", "2");
    conn().ExecuteNative("CREATE TRIGGER t BEFORE INSERT ON 库存管理 BEGIN SELECT RAISE(ABORT,'磁盘已满'); END");
    store("BL-4");
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_TRUE(dialogs.Texts().last().contains("磁盘已满"));
    EXPECT_EQ(screen->LabeledEdit5->text(), "BL-4");
    EXPECT_EQ(portions().size(), 1);
    EXPECT_EQ(totals(), QStringList({"2", "200", "100.00"}));
}

TEST_F(Blending, ARefusedCorrectionOrDeletionIsReportedAndTheBlendStays)
{
    twoLots();
    addPortion("A", "2");
    store("BL-5");
    clickLot(screen->DBGrid2, "BL-5");
    conn().ExecuteNative("CREATE TRIGGER t1 BEFORE UPDATE ON 库存管理 BEGIN SELECT RAISE(ABORT,'只读'); END");
    conn().ExecuteNative("CREATE TRIGGER t2 BEFORE DELETE ON 库存管理 BEGIN SELECT RAISE(ABORT,'只读'); END");
    screen->LabeledEdit11->setText("77");
    for (QPushButton *button : {screen->Button6, screen->Button7}) {
        dialogs.Clear();
        button->click();
        EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1) << button->objectName().toStdString();
        EXPECT_TRUE(dialogs.Texts().last().contains("只读"));
        EXPECT_EQ(screen->LabeledEdit5->text(), "BL-5");
        EXPECT_EQ(screen->LabeledEdit11->text(), "77");
        EXPECT_EQ(portions(), QStringList({"A|2|100|200"}));
    }
    EXPECT_EQ(scalar("Select 销售单价 From 库存管理 where 配茶 = 1"), "120");
}

TEST_F(Blending, TheNumberFilterOfAllStockShowsInBothGrids)
{
    LotRow a, b, c;
    a.number = "P2";
    b.number = "P1";
    b.supplier = "丙茶厂";
    c.number = "p2";
    c.date = "2026-07-07";
    lot(a);
    lot(b);
    lot(c);
    open();
    screen->PageControl1->setCurrentWidget(screen->TabSheet2);
    screen->ComboBox3->setCurrentIndex(1);
    screen->Edit3->setText("P2");
    screen->Button9->click();
    EXPECT_EQ(listed(screen->DBGrid3).size(), 2);
    EXPECT_FALSE(listed(screen->DBGrid3).contains("P1"));
    EXPECT_EQ(listed(screen->DBGrid1), listed(screen->DBGrid3));

    screen->ComboBox3->setCurrentIndex(2);
    EXPECT_TRUE(screen->Edit3->text().isEmpty());
    screen->Edit3->setText("丙茶厂");
    screen->Button9->click();
    EXPECT_EQ(listed(screen->DBGrid1), QStringList({"P1"}));

    screen->ComboBox3->setCurrentIndex(3);
    EXPECT_EQ(screen->DateTimePicker3->date(), QDate::currentDate());
    EXPECT_TRUE(screen->DateTimePicker3->isVisible());
    screen->DateTimePicker3->setDate(QDate(2026, 7, 7));
    screen->Button9->click();
    EXPECT_EQ(listed(screen->DBGrid3), QStringList({"p2"}));

    screen->ComboBox3->setCurrentIndex(0);
    screen->Button9->click();
    EXPECT_EQ(listed(screen->DBGrid3), QStringList({"P2", "P1", "p2"})); // oldest first
}

TEST_F(Blending, BlendFiltersAndPopups)
{
    twoLots();
    addPortion("A", "1");
    screen->LabeledEdit17->setText("甲师傅");
    screen->DateTimePicker2->setDate(QDate(2026, 1, 5));
    store("X1");
    addPortion("A", "1");
    screen->LabeledEdit17->setText("乙师傅");
    screen->ComboBox2->setCurrentText("水仙");
    screen->DateTimePicker2->setDate(QDate(2026, 1, 6));
    store("X2");
    EXPECT_EQ(listed(screen->DBGrid2), QStringList({"X2", "X1"})); // newest first when opened

    screen->ComboBox1->setCurrentIndex(3);
    screen->Edit1->setText("甲师傅");
    screen->Button8->click();
    EXPECT_EQ(listed(screen->DBGrid2), QStringList({"X1"}));
    screen->N11->trigger(); // 重新导入: oldest first
    EXPECT_EQ(listed(screen->DBGrid2), QStringList({"X1", "X2"}));
    clickLot(screen->DBGrid2, "X2");
    screen->N13->trigger(); // 筛选此品种
    EXPECT_EQ(listed(screen->DBGrid2), QStringList({"X2"}));
    screen->N11->trigger();
    clickLot(screen->DBGrid2, "X1");
    screen->N17->trigger(); // 筛选此入库日期
    EXPECT_TRUE(screen->DateTimePicker1->isVisible());
    EXPECT_EQ(listed(screen->DBGrid2), QStringList({"X1"}));
    screen->N12->trigger(); // 筛选此编号
    EXPECT_EQ(listed(screen->DBGrid2), QStringList({"X1"}));
    EXPECT_TRUE(screen->Edit1->isVisible());
    screen->N16->trigger(); // 筛选此配茶师
    EXPECT_EQ(listed(screen->DBGrid2), QStringList({"X1"}));
    EXPECT_EQ(screen->Edit1->text(), "甲师傅");

    DBGrid *g = screen->DBGrid2;
    screen->N11->trigger();
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("净茶价")), "总计：");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("总重量")), "2.00 Kg");
    EXPECT_EQ(g->FooterCellText(g->ColumnIndex("总金额")), "￥200.00");
}

TEST_F(Blending, TheAutoNumberTickIsStoredAtOnceAndReadOnTheNextOpening)
{
    open();
    EXPECT_FALSE(screen->CheckBox2->isChecked());
    screen->CheckBox2->click();
    IniFile ini(ProgramPath("config.ini"));
    EXPECT_TRUE(BlendAutoNumber(ini));
    delete screen.data();
    open();
    EXPECT_TRUE(screen->CheckBox2->isChecked());
    screen->CheckBox2->click();
    EXPECT_FALSE(BlendAutoNumber(ini));
}

TEST_F(Blending, ATickThatCannotBeStoredSaysSo)
{
    QDir().mkpath(ProgramPath("config.ini")); // a folder where the file should be
    open();
    screen->CheckBox2->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
}

} // namespace
