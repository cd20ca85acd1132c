#include "mail/mimetext.h"

#include <QRegularExpression>
#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

namespace {

struct DateCase {
    const char *when;  // local wall time
    int offsetSeconds; // east of UTC
    const char *expected;
};

class DateTextTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateTextTest, WritesDayMonthTimeAndSignedOffset)
{
    const DateCase &c = GetParam();
    const QDateTime local = QDateTime::fromString(QString::fromLatin1(c.when), Qt::ISODate);
    const QDateTime t(local.date(), local.time(), Qt::OffsetFromUTC, c.offsetSeconds);
    EXPECT_EQ(DateText(t), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, DateTextTest,
    ::testing::Values(DateCase{"2009-05-05T14:05:07", 8 * 3600, "Tue, 5 May 2009 14:05:07 +0800"},
                      DateCase{"2009-05-05T14:05:07", 0, "Tue, 5 May 2009 14:05:07 GMT"},
                      DateCase{"2023-12-31T23:59:59", -(3 * 3600 + 1800), "Sun, 31 Dec 2023 23:59:59 -0330"},
                      DateCase{"2024-02-29T00:00:00", 5 * 3600 + 45 * 60, "Thu, 29 Feb 2024 00:00:00 +0545"},
                      DateCase{"2010-01-01T09:08:07", -1800, "Fri, 1 Jan 2010 09:08:07 -0030"},
                      DateCase{"2010-07-10T12:00:00", -10 * 3600, "Sat, 10 Jul 2010 12:00:00 -1000"}));

class Base64LinesTest : public ::testing::TestWithParam<int> {};

TEST_P(Base64LinesTest, LinesOf76AndTheRestOnTheLast)
{
    QByteArray bytes;
    for (int i = 0; i < GetParam(); ++i)
        bytes += char(i * 37 + 11);
    const QList<QByteArray> lines = Base64Lines(bytes);
    const qsizetype chars = (bytes.size() + 2) / 3 * 4;
    ASSERT_EQ(lines.size(), (chars + 75) / 76);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), 76) << "line " << i;
    if (!lines.isEmpty())
        EXPECT_EQ(lines.last().size(), chars - (lines.size() - 1) * 76);
    EXPECT_EQ(QByteArray::fromBase64(lines.join()), bytes);
}

// 57 bytes fill one line exactly; 58 add a final group of two characters and "==".
INSTANTIATE_TEST_SUITE_P(Sizes, Base64LinesTest, ::testing::Values(0, 1, 2, 3, 56, 57, 58, 114, 115, 1000));

TEST(Base64Lines, FiftyEightBytesEndInTwoPaddedCharacters)
{
    const QList<QByteArray> lines = Base64Lines(QByteArray(58, 'x'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], QByteArray("eA=="));
}

TEST(ParseAddressList, NamesCommentsAndCaseAreDropped)
{
    EXPECT_EQ(ParseAddressList(QStringLiteral("  \"Zhang San\" <Zhang.San@Example.COM> , (the shop) Li@Example.com ")),
              QStringList({QStringLiteral("zhang.san@example.com"), QStringLiteral("li@example.com")}));
    EXPECT_TRUE(ParseAddressList(QString()).isEmpty());
    EXPECT_TRUE(ParseAddressList(QStringLiteral("   ")).isEmpty());
    // An empty piece would become an empty recipient.
    EXPECT_EQ(ParseAddressList(QStringLiteral("a@b.c,,")), QStringList{QStringLiteral("a@b.c")});
    // A line break cannot smuggle a second command into the dialogue.
    const QStringList parsed = ParseAddressList(QStringLiteral("a@b.c\r\nRSET"));
    ASSERT_EQ(parsed.size(), 1);
    EXPECT_FALSE(parsed[0].contains(u'\r') || parsed[0].contains(u'\n'));
}

TEST(CleanAddress, KeepsWhatIsInsideTheAngleBrackets)
{
    EXPECT_EQ(CleanAddress(QStringLiteral(" Shop (main) <shop@x.com> ")), QStringLiteral("shop@x.com"));
    EXPECT_EQ(CleanAddress(QStringLiteral("shop@x.com"), true), QStringLiteral("<shop@x.com>"));
    EXPECT_EQ(CleanAddress(QStringLiteral(")odd( a@b.c")), QStringLiteral(")odd( a@b.c"));
}

TEST(HeaderSafe, ControlCharactersBecomeBlanks)
{
    EXPECT_EQ(HeaderSafe(QStringLiteral("Eve\r\nBcc: x@y.z\t\x01")), QStringLiteral("Eve  Bcc: x@y.z  "));
    EXPECT_EQ(HeaderSafe(QStringLiteral("a\u2028b\u0085c")), QStringLiteral("a b c"));
}

TEST(FromHeader, QuotedOrEncodedNameThenAddress)
{
    const QString charset = QStringLiteral("UTF-8");
    const QString address = QStringLiteral("shop@x.com");
    EXPECT_EQ(FromHeader(QString(), address, charset), QStringList{QStringLiteral("From: <shop@x.com>")});
    EXPECT_EQ(FromHeader(QStringLiteral("Zhang"), address, charset),
              QStringList{QStringLiteral("From: \"Zhang\" <shop@x.com>")});
    EXPECT_EQ(FromHeader(QStringLiteral("Say \"hi\" \\o/"), address, charset),
              QStringList{QStringLiteral("From: \"Say \\\"hi\\\" \\\\o/\" <shop@x.com>")});
    EXPECT_EQ(FromHeader(QStringLiteral("张三"), address, charset),
              QStringList{QStringLiteral("From: =?UTF-8?B?5byg5LiJ?= <shop@x.com>")});
    EXPECT_EQ(FromHeader(QStringLiteral("Eve\r\nBcc: v@x.com"), address, charset),
              QStringList{QStringLiteral("From: \"Eve  Bcc: v@x.com\" <shop@x.com>")});
}

TEST(EncodedWords, LongTextSplitsIntoWholeCharacters)
{
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("茶叶建意😀");
    const QStringList words = EncodedWords(text, QStringLiteral("UTF-8"));
    ASSERT_GT(words.size(), 1);
    const QRegularExpression shape(QStringLiteral("^=\\?UTF-8\\?B\\?([A-Za-z0-9+/=]+)\\?=$"));
    QString joined;
    for (const QString &w : words) {
        EXPECT_LE(w.size(), 75) << w.toStdString();
        const auto m = shape.match(w);
        ASSERT_TRUE(m.hasMatch()) << w.toStdString();
        const QByteArray bytes = QByteArray::fromBase64(m.captured(1).toLatin1());
        // Each word decodes on its own: no character is cut in two.
        EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes);
        joined += QString::fromUtf8(bytes);
    }
    EXPECT_EQ(joined, text);
}

// A line that holds encoded words is at most 76 characters long, the header's name included.
TEST(EncodedWords, NoHeaderLineIsLongerThan76)
{
    const QString charset = QStringLiteral("UTF-8");
    QString text;
    for (int i = 0; i < 12; ++i)
        text += QStringLiteral("茶叶建意😀");
    for (const QStringList &lines :
         {TextHeader(QStringLiteral("Subject"), text, charset, true),
          FromHeader(text, QStringLiteral("a.very.long.mailbox.name.for.the.shop@example.com"), charset),
          FromHeader(QStringLiteral("茶"), QStringLiteral("a.very.long.mailbox.name.for.the.shop.of.tea@example.com"),
                     charset)}) {
        for (const QString &line : lines)
            EXPECT_LE(line.size(), 76) << line.toStdString();
        for (qsizetype i = 1; i < lines.size(); ++i)
            EXPECT_TRUE(lines[i].startsWith(u' ')) << lines[i].toStdString();
    }
}

TEST(EncodeText, TheCharsetNamedIsTheCharsetUsed)
{
    QString charset = QStringLiteral("ISO-8859-1");
    EXPECT_EQ(EncodeText(QStringLiteral("caf\u00e9"), charset), QByteArray("caf\xe9"));
    EXPECT_EQ(charset, QStringLiteral("ISO-8859-1"));
    // Chinese has no place in Latin-1: the bytes are UTF-8 and say so.
    EXPECT_EQ(EncodeText(QStringLiteral("茶"), charset), QStringLiteral("茶").toUtf8());
    EXPECT_EQ(charset, QStringLiteral("UTF-8"));
    charset = QStringLiteral("no-such-charset");
    EXPECT_EQ(EncodeText(QStringLiteral("a"), charset), QByteArray("a"));
    EXPECT_EQ(charset, QStringLiteral("UTF-8"));
}

TEST(NormaliseLineBreaks, BareCrAndLfBecomeCrLf)
{
    EXPECT_EQ(NormaliseLineBreaks(QStringLiteral("a\rb\nc\r\nd\n\re")), QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne"));
}

TEST(Identifiers, MessageIdAndBoundaryTakeFreshRandomLetters)
{
    const QRegularExpression id(QStringLiteral("^<TSY\\.2009\\.05\\.05\\.[a-t]{16}@a\\.b\\.c>$"));
    const QString first = NewMessageId(QDate(2009, 5, 5));
    EXPECT_TRUE(id.match(first).hasMatch()) << first.toStdString();
    EXPECT_NE(first, NewMessageId(QDate(2009, 5, 5)));
    const QRegularExpression boundary(QStringLiteral("^--_TSY_bound_[a-y]{12}$"));
    EXPECT_TRUE(boundary.match(NewBoundary()).hasMatch());
    EXPECT_NE(NewBoundary(), NewBoundary());
}

} // namespace
