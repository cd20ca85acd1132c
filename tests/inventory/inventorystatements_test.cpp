#include "inventory/blendstatements.h"
#include "inventory/stockstatements.h"

#include "datalayer/numbertext.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "tests/support/qtprint.h"
#include "tests/support/testfolder.h"

#include <gtest/gtest.h>

namespace {

struct YieldText {
    const char *ratio, *price, *net;
};

class NetPrice : public ::testing::TestWithParam<YieldText> {};

TEST_P(NetPrice, DividesByTheRatioInTenths)
{
    const YieldText c = GetParam();
    EXPECT_EQ(NetPriceFromYield(c.ratio, c.price), c.net);
}

INSTANTIATE_TEST_SUITE_P(Cases, NetPrice,
                         ::testing::Values(YieldText{"10.0折", "100", "100.00"}, YieldText{"8.0折", "100", "125.00"},
                                           YieldText{"8.5折", "100", "117.65"}, YieldText{"5.0折", "100", "200.00"},
                                           YieldText{"9.5折", "38", "40.00"}, YieldText{"7.5折", "0", "0.00"},
                                           YieldText{"8.0折", "", ""}, YieldText{"8.0", "100", ""},
                                           YieldText{"0折", "100", ""}, YieldText{"折", "100", ""}));

TEST(NetPrice, ARawPriceThatIsNoNumberRaisesTheConversionError)
{
    EXPECT_THROW(NetPriceFromYield("8.0折", "abc"), ConvertError);
}

struct TotalsStep {
    BlendTotals before;
    bool adding;
    const char *weight, *priceOrAmount;
    BlendTotals after;
};

class Totals : public ::testing::TestWithParam<TotalsStep> {};

TEST_P(Totals, FollowEachPortion)
{
    const TotalsStep c = GetParam();
    const BlendTotals after = c.adding ? AddPortion(c.before, StrToFloat(c.weight), StrToFloat(c.priceOrAmount))
                                       : RemovePortion(c.before, c.weight, c.priceOrAmount);
    EXPECT_EQ(after.weight, c.after.weight);
    EXPECT_EQ(after.amount, c.after.amount);
    EXPECT_EQ(after.unitPrice, c.after.unitPrice);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Totals,
    ::testing::Values(TotalsStep{{"0", "0", "0"}, true, "2.5", "40", {"2.5", "100", "40.00"}},
                      TotalsStep{{"3", "150", "50"}, true, "2", "80", {"5", "310", "62.00"}},
                      TotalsStep{{"2", "200", "100.00"}, true, "3", "50", {"5", "350", "70.00"}},
                      TotalsStep{{"3", "100", "33.33"}, true, "0.1", "0.7", {"3.1", "100.07", "32.28"}},
                      TotalsStep{{"5", "350", "70.00"}, false, "2", "200", {"3", "150", "50"}},
                      TotalsStep{{"3", "100", "33.33"}, false, "1", "50", {"2", "50", "25"}},
                      TotalsStep{{"3", "150", "50"}, false, "3", "150", {"0", "0", "0"}},
                      TotalsStep{{"0.3", "0.06", "0.20"}, false, "0.1", "0.02", {"0.2", "0.04", "0.2"}},
                      TotalsStep{{"0.3", "0.3", "1"}, false, "0.30000000000000004", "0.3", {"0", "0", "0"}}));

TEST(Totals, TextsThatAreNoNumbersRaiseTheConversionError)
{
    EXPECT_THROW(AddPortion({"", "0", "0"}, 1, 1), ConvertError);
    EXPECT_THROW(RemovePortion({"5", "350", "70"}, "x", "1"), ConvertError);
}

struct PortionInput {
    const char *lot, *price, *weight, *maximum;
    PortionVerdict verdict;
    const char *problem = "";
};

class Portions : public ::testing::TestWithParam<PortionInput> {};

TEST_P(Portions, AreCheckedAgainstTheLot)
{
    const PortionInput c = GetParam();
    const PortionCheck check = CheckPortion(c.lot, c.price, c.weight, c.maximum);
    EXPECT_EQ(check.verdict, c.verdict);
    EXPECT_EQ(check.problem, QString::fromUtf8(c.problem));
}

INSTANTIATE_TEST_SUITE_P(Cases, Portions,
                         ::testing::Values(PortionInput{"A", "100", "10", "10", PortionVerdict::Add},
                                           PortionInput{"A", "100", "10.5", "10", PortionVerdict::TooHeavy},
                                           PortionInput{"", "100", "1", "10", PortionVerdict::Ignore},
                                           PortionInput{"A", "", "1", "10", PortionVerdict::Ignore},
                                           PortionInput{"A", "100", "", "10", PortionVerdict::Ignore},
                                           PortionInput{"A", "100", "0", "10", PortionVerdict::Refused, "加入重量必须大于0!"},
                                           PortionInput{"A", "100", "0.0", "10", PortionVerdict::Refused, "加入重量必须大于0!"},
                                           PortionInput{"A", "100", "-5", "10", PortionVerdict::Refused, "加入重量必须大于0!"},
                                           PortionInput{"A", "0", "1", "10", PortionVerdict::Refused, "成本单价必须大于0!"},
                                           PortionInput{"A", "-1", "-1", "10", PortionVerdict::Refused, "成本单价必须大于0!"}));

TEST(Portions, TextsThatAreNoNumbersRaiseTheConversionError)
{
    EXPECT_THROW(CheckPortion("A", "100", "1", ""), ConvertError); // a lot without remaining weight
    EXPECT_THROW(CheckPortion("A", "1o0", "1", "10"), ConvertError);
    EXPECT_THROW(CheckPortion("A", "100", "one", "10"), ConvertError);
}

TEST(BlendDetail, KeepsTheStoredLayout)
{
    EXPECT_EQ(WriteBlendDetail({{"A", "2", "100", "200"}, {"B", "3", "50", "150"}}),
              "A  2 100 200\r\nB  3 50 150\r\n");
    EXPECT_EQ(WriteBlendDetail({}), "");
}

} // namespace

// Readable failures: a portion's texts, blanks shown by the quotes.
void PrintTo(const BlendPortion &p, std::ostream *os)
{
    for (const QString &t : {p.lot, p.weight, p.price, p.amount})
        PrintTo(t, os);
}

namespace {

class DetailRoundTrip : public ::testing::TestWithParam<std::vector<BlendPortion>> {};

TEST_P(DetailRoundTrip, ReadsBackWhatWasWritten)
{
    EXPECT_EQ(ParseBlendDetail(WriteBlendDetail(GetParam())), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DetailRoundTrip,
    ::testing::Values(std::vector<BlendPortion>{}, std::vector<BlendPortion>{{"A", "2", "100", "200"}},
                      std::vector<BlendPortion>{{"O'Neil 01", "2.5", "40", "100"}, {"B", "3", "50", "150"}},
                      std::vector<BlendPortion>{{"批 次  7", "0.125", "33.3", "4.1625"}},
                      std::vector<BlendPortion>{{"12", "1", "2", "2"}},
                      // Lot numbers are stored as typed: blanks around them are theirs.
                      std::vector<BlendPortion>{{" A ", "2", "100", "200"}, {"B\t", "1E20", "1.5E-7", "1.5E13"}},
                      std::vector<BlendPortion>{{"批次\u3000", "2", "1", "2"}, {"\u3000批次", "3", "1", "3"}},
                      std::vector<BlendPortion>{{" ", "2", "1", "2"}, {"A\r", "3", "1", "3"}}));

TEST(BlendDetail, ALineBreakInALotHidesNoPortion)
{
    const QString written = WriteBlendDetail({{"A\nB", "2", "100", "200"}, {"C\r\n", "3", "50", "150"}, {"D", "1", "1", "1"}});
    EXPECT_EQ(written, "A B  2 100 200\r\nC\r   3 50 150\r\nD  1 1 1\r\n");
    EXPECT_EQ(ParseBlendDetail(written),
              (std::vector<BlendPortion>{{"A B", "2", "100", "200"}, {"C\r ", "3", "50", "150"}, {"D", "1", "1", "1"}}));
}

struct DetailText {
    const char *text;
    std::vector<BlendPortion> read;
};

class DetailReading : public ::testing::TestWithParam<DetailText> {};

TEST_P(DetailReading, StopsAtTheFirstLineThatDoesNotRead)
{
    EXPECT_EQ(ParseBlendDetail(QString::fromUtf8(GetParam().text)), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DetailReading,
    ::testing::Values(DetailText{"A  2 100 200\nB 3 50 150", {{"A", "2", "100", "200"}, {"B", "3", "50", "150"}}},
                      DetailText{"A  2 100\r\nB  3 50 150\r\n", {}},
                      DetailText{"A  2 100 200\r\n\r\nB  3 50 150\r\n", {{"A", "2", "100", "200"}}},
                      DetailText{"A  2 x 200\r\n", {}},
                      DetailText{"  2 100 200\r\n", {}},
                      DetailText{"A\t 2  100   200  \r\n", {{"A", "2", "100", "200"}}},
                      DetailText{"A   2 100 200\r\n\tB\t  2 100 200", {{"A ", "2", "100", "200"}, {"\tB\t", "2", "100", "200"}}}));

struct AutoNumberCase {
    const char *variety;
    QDate date;
    const char *price, *number;
};

class AutoNumber : public ::testing::TestWithParam<AutoNumberCase> {};

TEST_P(AutoNumber, IsInitialDayAndRoundedPrice)
{
    const AutoNumberCase c = GetParam();
    EXPECT_EQ(BlendAutoNumberText(c.variety, c.date, c.price), c.number);
}

INSTANTIATE_TEST_SUITE_P(Cases, AutoNumber,
                         ::testing::Values(AutoNumberCase{"铁观音", QDate(2026, 5, 12), "45.6", "T0512046"},
                                           AutoNumberCase{"龙井", QDate(2026, 12, 1), "1234.5", "L12011235"},
                                           AutoNumberCase{"Oolong", QDate(2026, 1, 9), "7", " 0109007"},
                                           AutoNumberCase{"", QDate(2026, 1, 9), "0", " 0109000"}));

struct NumberTexts {
    const char *a, *b, *c, *d;
    const char *problem;
};

class BlendNumberChecks : public ::testing::TestWithParam<NumberTexts> {};

TEST_P(BlendNumberChecks, NameTheFirstFieldThatIsNoNumberOrNotAboveZero)
{
    const NumberTexts c = GetParam();
    BlendFields b;
    b.unitPrice = c.a;
    b.totalWeight = c.b;
    b.totalAmount = c.c;
    b.salePrice = c.d;
    EXPECT_EQ(BlendNumberProblem(b), c.problem);
    // The stock tab's three corrections only need numbers (a lot may well be sold out).
    const QString p = QString(c.problem).startsWith("请输入正确") ? QString(c.problem) : QString();
    EXPECT_EQ(InventoryCorrectionProblem(c.a, c.b, c.c),
              p.contains("成本单价")   ? QString("请输入正确的剩余重量!")
              : p.contains("配茶总重") ? QString("请输入正确的净茶价!")
              : p.contains("总金额")   ? QString("请输入正确的销售单价!")
                                       : QString());
}

INSTANTIATE_TEST_SUITE_P(Cases, BlendNumberChecks,
                         ::testing::Values(NumberTexts{"70", "5", "350", "120", ""},
                                           NumberTexts{" 70 ", "5", "350", "0.5", ""},
                                           NumberTexts{"70", "5", "350", "0.0", "销售单价必须大于0!"},
                                           NumberTexts{"70", "-5", "-350", "120", "配茶总重必须大于0!"},
                                           NumberTexts{"0", "5", "0", "120", "成本单价必须大于0!"},
                                           NumberTexts{"", "5", "350", "120", "请输入正确的成本单价!"},
                                           NumberTexts{"70", "5.5.5", "", "120", "请输入正确的配茶总重!"},
                                           NumberTexts{"70", "5", "3,50", "120", "请输入正确的总金额!"},
                                           NumberTexts{"70", "5", "350", "12O", "请输入正确的销售单价!"}));

// Statements run against a real database: every text goes through quoting.
class StoredStatements : public ::testing::Test {
protected:
    StoredStatements()
    {
        Form_sql = new TForm_sql();
        Form_sql->FormCreate();
    }
    ~StoredStatements() override
    {
        delete Form_sql;
        Form_sql = nullptr;
    }
    static Connection &conn() { return Form_sql->ADOConnection1; }
    static std::vector<QStringList> rows(const QString &sql, const QStringList &columns)
    {
        Query q(&conn(), "check");
        q.SetSQL(sql);
        q.Open();
        std::vector<QStringList> out;
        for (q.First(); !q.Eof(); q.Next()) {
            QStringList row;
            for (const QString &c : columns)
                row << q.FieldByName(c).AsString();
            out.push_back(row);
        }
        return out;
    }
    TestFolder folder;
};

TEST_F(StoredStatements, ABlendWithQuotesEverywhereIsStoredAndCorrectedIntact)
{
    BlendFields b;
    b.number = "B'1";
    b.rawNet = "净'茶";
    b.variety = "O'Long";
    b.unitPrice = "70";
    b.totalWeight = " 5 ";
    b.totalAmount = "350";
    b.salePrice = "120.5";
    b.date = QDate(2026, 2, 28);
    b.handler = "张'三";
    b.detail = WriteBlendDetail({{"A'1", "5", "70", "350"}});
    b.blender = "'; DROP TABLE 库存管理; --";
    ASSERT_TRUE(RunSQL(BlendInsertStatement(b), conn())) << conn().LastError().toStdString();
    const QStringList columns{"ID", "编号", "毛净茶", "品种", "净茶价", "总重量", "剩余重量", "总金额", "销售单价", "入库日期",
                              "经办人", "配茶师", "配茶详细", "包装", "产地", "配茶"};
    auto stored = rows(AllStockStatement(AllStockEntry::Number, "B'1", {}), columns);
    EXPECT_EQ(rows(BlendListStatement(BlendEntry::Number, "B'1", {}), {"编号"}).size(), 1u);
    ASSERT_EQ(stored.size(), 1u);
    const QString id = stored[0][0];
    EXPECT_EQ(stored[0].mid(1), QStringList({"B'1", "净'茶", "O'Long", "70", "5", "5", "350", "120.5", "2026-02-28",
                                             "张'三", "'; DROP TABLE 库存管理; --", "A'1  5 70 350\r\n", "散装", "安溪",
                                             "True"}));

    b.number = "B'2";
    b.totalWeight = "4";
    b.blender = "O'Hara";
    ASSERT_TRUE(RunSQL(BlendUpdateStatement(b, id), conn())) << conn().LastError().toStdString();
    stored = rows(BlendListStatement(BlendEntry::Blender, "O'Hara", {}), {"编号", "总重量", "剩余重量", "配茶详细"});
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0], QStringList({"B'2", "4", "5", "A'1  5 70 350\r\n"}));

    // A number the checks would have refused is refused by the table as well.
    b.salePrice = "abc";
    EXPECT_FALSE(RunSQL(BlendUpdateStatement(b, id), conn()));
    EXPECT_TRUE(RunSQL(InventoryDeleteStatement(id), conn()));
    EXPECT_TRUE(rows(BlendListStatement(BlendEntry::All, {}, {}), {"ID"}).empty());
}

TEST_F(StoredStatements, AKeyThatIsNoNumberAddressesNoRow)
{
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,剩余重量) values('A',5)", conn()));
    EXPECT_TRUE(RunSQL(InventoryCorrectionUpdate("1 or 1=1", "0", "1", "1"), conn()));
    EXPECT_TRUE(RunSQL(InventoryDeleteStatement(""), conn()));
    EXPECT_EQ(rows("Select 剩余重量 From 库存管理", {"剩余重量"}), std::vector<QStringList>({{"5"}}));
}

TEST_F(StoredStatements, OnlyBlendsAreListedAsBlends)
{
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,配茶,入库日期) values('L',false,'2026-01-01')", conn()));
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,配茶,入库日期) values('M',true,'2026-01-01')", conn()));
    for (BlendEntry e : {BlendEntry::All, BlendEntry::IntakeDate}) {
        const auto listed = rows(BlendListStatement(e, {}, QDate(2026, 1, 1)), {"编号"});
        EXPECT_EQ(listed, std::vector<QStringList>({{"M"}})) << int(e);
    }
    EXPECT_EQ(rows(BlendOpeningStatement(), {"编号"}), std::vector<QStringList>({{"M"}}));
    EXPECT_EQ(rows(AllStockStatement(AllStockEntry::IntakeDate, {}, QDate(2026, 1, 1)), {"编号"}).size(), 2u);
}

} // namespace
