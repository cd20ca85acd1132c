#include "datalayer/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct GeneralCase {
    double value;
    const char *expected;
};

const GeneralCase kGeneralCases[] = {
    {375, "375"},
    {12.5, "12.5"},
    {10.5 - 0.3, "10.2"},
    {0.1 + 0.2, "0.3"},
    {-3, "-3"},
    {0, "0"},
    {-0.0, "0"},
    {1234.5, "1234.5"},
    {-1234.5, "-1234.5"},
    {100, "100"},
    {0.5, "0.5"},
    {1.0 / 3, "0.333333333333333"},
    {2.0 / 3, "0.666666666666667"},
    {12.5 * 3.3, "41.25"},
    {123456789012345, "123456789012345"},
    // The 16th digit rounds up through every nine.
    {99999999999999.99, "100000000000000"},
    {999999999999999.9, "1E15"},
    {1e15, "1E15"},
    {1e20, "1E20"},
    {-1.5e20, "-1.5E20"},
    {0.00001, "0.00001"},
    {0.000001, "1E-6"},
    {1.5e-7, "1.5E-7"},
    {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    {std::numeric_limits<double>::infinity(), "INF"},
    {-std::numeric_limits<double>::infinity(), "-INF"},
};

TEST(FormatGeneralTest, Table)
{
    for (const GeneralCase &c : kGeneralCases)
        EXPECT_EQ(FormatGeneral(c.value).toStdString(), c.expected) << "value " << c.value;
}

// Every value of a general text reads back as the same text.
TEST(FormatGeneralTest, ReadsBack)
{
    for (const GeneralCase &c : kGeneralCases) {
        if (!std::isfinite(c.value))
            continue;
        const QString text = FormatGeneral(c.value);
        EXPECT_EQ(FormatGeneral(StrToFloat(text)), text);
    }
}

struct PatternCase {
    const char *pattern;
    double value;
    const char *expected;
};

const PatternCase kPatternCases[] = {
    // The grid and field patterns over ordinary values.
    {"0.00", 375, "375.00"},
    {"0.00, Kg", 375, "375.00 Kg"},
    {"0.00,Kg", 375, "375.00Kg"},
    {"￥,0.00", 375, "￥375.00"},
    {"000", 375, "375"},
    {"0", 375, "375"},

    {"0.00", 12.5, "12.50"},
    {"0.00, Kg", 12.5, "12.50 Kg"},
    {"0.00,Kg", 12.5, "12.50Kg"},
    {"￥,0.00", 12.5, "￥12.50"},
    {"000", 12.5, "013"},
    {"0", 12.5, "13"},

    {"0.00", 10.5 - 0.3, "10.20"},
    {"0.00, Kg", 10.5 - 0.3, "10.20 Kg"},
    {"￥,0.00", 10.5 - 0.3, "￥10.20"},
    {"000", 10.5 - 0.3, "010"},

    {"0.00", 1234.5, "1234.50"},
    {"0.00, Kg", 1234.5, "1,234.50 Kg"},
    {"0.00,Kg", 1234.5, "1,234.50Kg"},
    {"￥,0.00", 1234.5, "￥1,234.50"},
    {"000", 1234.5, "1235"},
    {"0", 1234.5, "1235"},

    // The minus goes before everything, the currency sign too.
    {"0.00", -1234.5, "-1234.50"},
    {"0.00, Kg", -1234.5, "-1,234.50 Kg"},
    {"0.00,Kg", -1234.5, "-1,234.50Kg"},
    {"￥,0.00", -1234.5, "-￥1,234.50"},
    {"000", -1234.5, "-1235"},
    {"000", -12.5, "-013"},
    {"0.00", -3, "-3.00"},

    // Footers of an empty list.
    {"0.00", 0, "0.00"},
    {"0.00, Kg", 0, "0.00 Kg"},
    {"0.00,Kg", 0, "0.00Kg"},
    {"￥,0.00", 0, "￥0.00"},
    {"000", 0, "000"},
    {"0", 0, "0"},
    {"0.00", -0.0, "0.00"},

    // Half away from zero on the decimal text, not on the binary value.
    {"0.00", 2.675, "2.68"},
    {"0.00", -2.675, "-2.68"},
    {"0.00", 0.005, "0.01"},
    {"0.00", 1.005, "1.01"},
    {"0.00", 1.115, "1.12"},
    {"0.00", 0.125, "0.13"},
    {"0.00", -0.125, "-0.13"},
    {"0.00", 0.375, "0.38"},
    {"0.00", 0.1 + 0.2, "0.30"},
    {"0.00", 0.004999, "0.00"},
    {"0", 2.5, "3"},
    {"0", 3.5, "4"},
    {"0", -2.5, "-3"},
    {"0", 0.4, "0"},
    {"000", 0.5, "001"},
    {"000", 45.6, "046"},
    {"0.00", 999999.995, "1000000.00"},
    {"￥,0.00", 999999.995, "￥1,000,000.00"},
    {"0.00, Kg", 999.995, "1,000.00 Kg"},

    // A value that rounds to zero has no sign.
    {"0.00", -0.004, "0.00"},
    {"￥,0.00", -0.004, "￥0.00"},
    {"0.00", -0.005, "-0.01"},

    // Thousands groups.
    {",0.00", 123, "123.00"},
    {",0.00", 123456, "123,456.00"},
    {",0.00", 1000, "1,000.00"},
    {"￥,0.00", 1234567.891, "￥1,234,567.89"},
    {"0,", 1234567, "1,234,567"},
    {"0.00", 1e20, "100000000000000000000.00"},

    // Other layouts of the notation.
    {".00", 0.5, ".50"},
    {".00", 12.5, "12.50"},
    {"0.0", 0.05, "0.1"},
    {"0.0.0", 1.5, "1.50"},
    {"00-00", 1234, "12-34"},
    {"00000", 12.5, "00013"},
    {"Kg", 12.5, "Kg13"},
    {"", 12.5, "12.5"},
    {"", 10.5 - 0.3, "10.2"},
    {"0.00", std::numeric_limits<double>::quiet_NaN(), "NAN"},
    {"0.00", -std::numeric_limits<double>::infinity(), "-INF"},
};

TEST(FormatFloatTest, Table)
{
    for (const PatternCase &c : kPatternCases) {
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.pattern), c.value), QString::fromUtf8(c.expected))
            << "pattern \"" << c.pattern << "\" value " << c.value;
    }
}

struct ReadCase {
    const char *text;
    double expected;
};

const ReadCase kReadCases[] = {
    {"375", 375},
    {"12.5", 12.5},
    {" 12.5 ", 12.5},
    {"\t7\t", 7},
    {"-3", -3},
    {"+4", 4},
    {".5", 0.5},
    {"5.", 5},
    {"0", 0},
    {"007", 7},
    {"1E3", 1000},
    {"1.5e-2", 0.015},
    {"-2.5E+1", -25},
    // Too small for a double, however far: zero.
    {"1e-400", 0},
    {"1e-5000", 0},
    {"9e-9998", 0},
    {"-2.5e-99999999999999999999", 0},
    {"0.000001e-330", 0},
    {"123456e-340", 0},
    {"0e99999", 0},
};

TEST(StrToFloatTest, ReadsNumbers)
{
    for (const ReadCase &c : kReadCases) {
        EXPECT_DOUBLE_EQ(StrToFloat(QString::fromUtf8(c.text)), c.expected) << c.text;
        double value = -1;
        EXPECT_TRUE(TryStrToFloat(QString::fromUtf8(c.text), value)) << c.text;
        EXPECT_DOUBLE_EQ(value, c.expected) << c.text;
    }
}

const char *const kNotNumbers[] = {
    "", " ", "abc", "1.2.3", "1,5", "12a", "1 2", "-", "+", ".", "+-1", "--1",
    "e5", "1e", "1e+", "inf", "nan", "0x10", "1e400", "1e5000", "-9e9998", "0.001e99999999999999999999", "１２", "1.5 Kg", "￥12",
};

TEST(StrToFloatTest, LongDigitRunsBeyondTheRangeOfADouble)
{
    const QString zeros(400, QLatin1Char('0'));
    EXPECT_EQ(StrToFloat("0." + zeros + "1"), 0);
    EXPECT_EQ(StrToFloat("1" + zeros + "e-800"), 0);
    EXPECT_DOUBLE_EQ(StrToFloat("0." + zeros + "1e700"), 1e299);
    EXPECT_EQ(StrToFloat("4.9e-324"), 4.9e-324); // the smallest double is still itself
    EXPECT_FALSE(IsNumberText("1" + zeros));
    EXPECT_FALSE(IsNumberText("0." + zeros + "1e800"));
}

TEST(StrToFloatTest, RejectsOtherTexts)
{
    for (const char *text : kNotNumbers) {
        const QString input = QString::fromUtf8(text);
        double value = 42;
        EXPECT_FALSE(TryStrToFloat(input, value)) << text;
        EXPECT_EQ(value, 42) << "value changed by \"" << text << "\"";
        try {
            StrToFloat(input);
            ADD_FAILURE() << "no error for \"" << text << "\"";
        } catch (const ConvertError &error) {
            EXPECT_EQ(error.text(), QStringLiteral("'%1' is not a valid floating point value").arg(input));
        }
    }
}

TEST(ConvertErrorTest, MessageNamesTextAsTyped)
{
    try {
        StrToFloat(QStringLiteral(" 重量 "));
        FAIL() << "no error";
    } catch (const std::runtime_error &error) {
        EXPECT_STREQ(error.what(), "' 重量 ' is not a valid floating point value");
    }
    EXPECT_EQ(ConvertError::invalidInteger(QStringLiteral("G1")).text(),
              QStringLiteral("'G1' is not a valid integer value"));
    EXPECT_EQ(ConvertError(QStringLiteral("整个消息")).text(), QStringLiteral("整个消息"));
    // A pasted NUL does not cut the message short.
    const QString withNul = QStringLiteral("12") + QChar(0) + QStringLiteral("5");
    EXPECT_EQ(ConvertError::invalidFloat(withNul).text(), "'" + withNul + "' is not a valid floating point value");
}

TEST(DateTextTest, WritesShortDateAndLongTime)
{
    const QDate date(2009, 4, 26);
    EXPECT_EQ(DateToStr(date), QStringLiteral("2009-04-26"));
    EXPECT_EQ(TimeToStr(QTime(9, 5, 7)), QStringLiteral("09:05:07"));
    EXPECT_EQ(DateTimeToStr(QDateTime(date, QTime(9, 5, 7))), QStringLiteral("2009-04-26 09:05:07"));
    EXPECT_EQ(DateTimeToStr(QDateTime(date, QTime(0, 0))), QStringLiteral("2009-04-26 00:00:00"));
    EXPECT_EQ(FormatMMDD(date), QStringLiteral("0426"));
    EXPECT_EQ(FormatMMDD(QDate(2009, 12, 5)), QStringLiteral("1205"));
    EXPECT_EQ(DateToStr(QDate()), QString());
    EXPECT_EQ(FormatMMDD(QDate()), QString());
}

struct DateCase {
    const char *text;
    QDate expected; // invalid: the text does not read
};

const DateCase kDateCases[] = {
    {"2009-04-26", QDate(2009, 4, 26)},
    {"2009-4-26", QDate(2009, 4, 26)},
    {"2009-4-6", QDate(2009, 4, 6)},
    {"2008-5-12", QDate(2008, 5, 12)},
    {" 2009-04-26 ", QDate(2009, 4, 26)},
    {"2008-02-29", QDate(2008, 2, 29)},
    {"", QDate()},
    {"abc", QDate()},
    {"2009/04/26", QDate()},
    {"2009-13-01", QDate()},
    {"2009-02-29", QDate()},
    {"2009-04-31", QDate()},
    {"2009-0-10", QDate()},
    {"09-4-26", QDate()},
    {"2009-004-26", QDate()},
    {"2009-04", QDate()},
    {"2009-04-26 10:00:00", QDate()},
};

TEST(DateTextTest, ReadsDates)
{
    for (const DateCase &c : kDateCases)
        EXPECT_EQ(StrToDate(QString::fromUtf8(c.text)), c.expected) << "\"" << c.text << "\"";
}

TEST(DateTextTest, ShortDateReadsBack)
{
    for (const QDate &date : {QDate(2009, 4, 26), QDate(2000, 1, 1), QDate(1999, 12, 31)})
        EXPECT_EQ(StrToDate(DateToStr(date)), date);
}

} // namespace
