#include "datalayer/gbk.h"
#include "reporting/compounddocument.h"
#include "reporting/exportwriters.h"
#include "tests/reporting/samplecontent.h"
#include "tests/reporting/xlsreader.h"
#include "tests/support/qtprint.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using Writer = bool (*)(const GridContent &, QIODevice &);

QByteArray written(Writer writer, const GridContent &content)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writer(content, buffer));
    return bytes;
}

QByteArray golden(const char *name)
{
    QFile f(QStringLiteral(TESSALY_GOLDEN_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

SampleContent oneCell(const QString &text)
{
    SampleContent s;
    s.columns = {{"列", Qt::AlignLeft, 50}};
    s.rows = {{SampleContent::Text(text)}};
    return s;
}

qsizetype count(const QString &text, const QString &what)
{
    return text.count(what);
}

struct GoldenCase {
    const char *file;
    Writer writer;
    bool empty;
};

void PrintTo(const GoldenCase &c, std::ostream *os)
{
    *os << c.file;
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, BytesMatchTheGoldenFile)
{
    const GoldenCase &c = GetParam();
    const SampleContent content = c.empty ? EmptyStockSample() : StockSample();
    EXPECT_EQ(written(c.writer, content), golden(c.file));
}

INSTANTIATE_TEST_SUITE_P(Writers, Golden,
                         ::testing::Values(GoldenCase{"stock.txt", WriteTxt, false},
                                           GoldenCase{"stock.csv", WriteCsv, false},
                                           GoldenCase{"empty.txt", WriteTxt, true},
                                           GoldenCase{"empty.csv", WriteCsv, true}),
                         [](const auto &info) {
                             QString n = QString::fromLatin1(info.param.file);
                             return n.replace('.', '_').toStdString();
                         });

TEST(Csv, QuotesAndSeparatorsStayInsideOneCell)
{
    const struct {
        const char *cell;
        const char *line;
    } cases[] = {
        {"plain", "\"plain\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"1;2;3", "\"1;2;3\""},
        {"", "\"\""},
        {"a\tb", "\"a\tb\""},
    };
    for (const auto &c : cases) {
        const QByteArray bytes = written(WriteCsv, oneCell(QString::fromUtf8(c.cell)));
        EXPECT_EQ(bytes, ToGbk("\"列\"\r\n" + QString::fromUtf8(c.line) + "\r\n")) << c.cell;
    }
}

TEST(Htm, OnePageWithOneTableInTheGridsLook)
{
    const QByteArray bytes = written(WriteHtm, StockSample());
    const QString page = FromGbk(bytes);
    EXPECT_TRUE(bytes.contains(ToGbk("铁观音"))) << "texts are GBK";
    EXPECT_TRUE(page.startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n"));
    EXPECT_TRUE(page.contains("<META http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"));
    EXPECT_EQ(count(page, "<TABLE"), 1);
    EXPECT_EQ(count(page, "</TABLE>"), 1);

    // rows: title, odd, even, footer
    QStringList colours;
    const QRegularExpression tr("<TR BGCOLOR=\"(#[0-9A-F]{6})\">");
    for (const auto &m : tr.globalMatch(page))
        colours << m.captured(1);
    EXPECT_EQ(colours, (QStringList{"#D4D0C8", "#C4C4FF", "#DDDDFF", "#808000"}));

    QStringList aligns;
    const QRegularExpression cell("<(?:TD|TH) ALIGN=(\\w+)");
    for (const auto &m : cell.globalMatch(page))
        aligns << m.captured(1);
    ASSERT_EQ(aligns.size(), 16);
    EXPECT_EQ(aligns.mid(4, 4), (QStringList{"LEFT", "CENTER", "RIGHT", "RIGHT"}));

    EXPECT_TRUE(page.contains("<FONT FACE=\"宋体\""));
    EXPECT_TRUE(page.contains(">A&quot;1;2</FONT>"));
    EXPECT_TRUE(page.contains(">&lt;红&amp;茶&gt;</FONT>"));
    EXPECT_TRUE(page.contains(">￥1,234.50</FONT>"));
    EXPECT_TRUE(page.contains(">总计：</FONT>"));
    EXPECT_FALSE(page.contains("<红")) << "markup characters of cells are escaped";
}

TEST(Htm, RowsStayWhiteWithoutRowColours)
{
    SampleContent s = StockSample();
    s.look.rowColours = false;
    const QString page = FromGbk(written(WriteHtm, s));
    EXPECT_EQ(count(page, "<TR BGCOLOR=\"#FFFFFF\">"), 2);
    EXPECT_EQ(count(page, "<TR BGCOLOR=\"#808000\">"), 1);
}

// RTF control words outside escaped text: \cell but not \cellx.
qsizetype controlWords(const QString &doc, const QString &word)
{
    return doc.count(QRegularExpression("\\\\" + word + "(?![a-z])"));
}

TEST(Rtf, OneTableLaidOutLikeTheGrid)
{
    const QByteArray bytes = written(WriteRtf, StockSample());
    for (char b : bytes)
        ASSERT_LT(uchar(b), 0x80) << "an RTF file is 7-bit text";
    const QString doc = QString::fromLatin1(bytes);
    EXPECT_TRUE(doc.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0"));
    EXPECT_TRUE(doc.contains("{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}")) << "宋体";
    EXPECT_TRUE(doc.contains("{\\colortbl;\\red0\\green0\\blue0;\\red212\\green208\\blue200;\\red196\\green196\\blue255;"
                             "\\red221\\green221\\blue255;\\red128\\green128\\blue0;"));
    EXPECT_EQ(controlWords(doc, "trowd"), 4);
    EXPECT_EQ(controlWords(doc, "row"), 4);
    EXPECT_EQ(controlWords(doc, "cell"), 16);
    EXPECT_EQ(controlWords(doc, "intbl"), 16);

    QStringList edges;
    for (const auto &m : QRegularExpression("\\\\cellx(\\d+)").globalMatch(doc))
        edges << m.captured(1);
    EXPECT_EQ(edges.mid(0, 4), (QStringList{"900", "2100", "3450", "4950"})) << "pixel widths in twips";
    EXPECT_EQ(edges.size(), 16);

    QStringList shading;
    for (const auto &m : QRegularExpression("\\\\trowd[^\\r]*?\\\\clcbpat(\\d)").globalMatch(doc))
        shading << m.captured(1);
    EXPECT_EQ(shading, (QStringList{"2", "3", "4", "5"})) << "title, odd, even, footer";

    EXPECT_TRUE(doc.contains("\\pard\\intbl\\ql\\cf1 B01\\cell"));
    EXPECT_TRUE(doc.contains("\\pard\\intbl\\qc\\cf1 \\'cc\\'fa\\'b9\\'db\\'d2\\'f4\\cell")) << "铁观音 as GBK bytes";
    EXPECT_TRUE(doc.contains("\\pard\\intbl\\qr\\cf1 \\'a3\\'a41,234.50\\cell")) << "the yuan sign as GBK";
    EXPECT_TRUE(doc.trimmed().endsWith('}'));
}

TEST(Rtf, EscapesItsOwnCharacters)
{
    const struct {
        const char *cell;
        const char *rtf;
    } cases[] = {
        {"C:\\{x}", "C:\\\\\\{x\\}"},
        {"two\nlines", "two\\line lines"},
        {"😀", "\\u-10179?\\u-8704?"}, // not in GBK: Unicode escapes
        {"a'b", "a'b"},
    };
    for (const auto &c : cases) {
        const QString doc = QString::fromLatin1(written(WriteRtf, oneCell(QString::fromUtf8(c.cell))));
        EXPECT_TRUE(doc.contains("\\cf1 " + QString::fromLatin1(c.rtf) + "\\cell")) << c.cell << "\n" << doc.toStdString();
        // braces stay balanced when the escaped ones are left out
        QString plain = doc;
        plain.remove("\\\\").remove("\\{").remove("\\}");
        EXPECT_EQ(plain.count('{'), plain.count('}')) << c.cell;
    }
}

TEST(Xls, CellsHoldNumbersTextsAndBlanks)
{
    const xlsread::Sheet sheet = xlsread::ReadSheet(written(WriteXls, StockSample()));
    EXPECT_EQ(sheet.rows, 4);
    EXPECT_EQ(sheet.columns, 4);
    ASSERT_EQ(sheet.cells.size(), 16u);
    using C = xlsread::Cell;
    const struct {
        int row, column;
        C::Kind kind;
        const char *text;
        double number;
    } cases[] = {
        {0, 0, C::Label, "编号", 0},   {0, 3, C::Label, "总金额", 0}, {1, 0, C::Label, "B01", 0},
        {1, 1, C::Label, "铁观音", 0}, {1, 2, C::Number, "", 12.5},   {1, 3, C::Number, "", 375},
        {2, 0, C::Label, "A\"1;2", 0}, {2, 2, C::Blank, "", 0},       {2, 3, C::Number, "", 1234.5},
        {3, 0, C::Blank, "", 0},       {3, 1, C::Label, "总计：", 0}, {3, 3, C::Number, "", 1609.5},
    };
    for (const auto &c : cases) {
        const C &cell = sheet.cells.at({c.row, c.column});
        EXPECT_EQ(cell.kind, c.kind) << c.row << "," << c.column;
        EXPECT_EQ(cell.text, QString::fromUtf8(c.text)) << c.row << "," << c.column;
        EXPECT_EQ(cell.number, c.number) << c.row << "," << c.column;
    }
    bool unicodeStrings = false;
    for (const auto &r : sheet.globals)
        if (r.type == 0x0042)
            unicodeStrings = xlsread::u16(r.data, 0) == 1200;
    EXPECT_TRUE(unicodeStrings) << "CODEPAGE record of a BIFF8 workbook";
    int xfs = 0;
    for (const auto &r : sheet.globals)
        xfs += r.type == 0x00E0;
    for (const auto &[at, cell] : sheet.cells)
        EXPECT_LT(cell.xf, xfs) << "every cell points at an XF record";
}

TEST(Xls, EmptyListHasTitlesAndZeroSums)
{
    const xlsread::Sheet sheet = xlsread::ReadSheet(written(WriteXls, EmptyStockSample()));
    EXPECT_EQ(sheet.rows, 2);
    ASSERT_EQ(sheet.cells.size(), 8u);
    EXPECT_EQ(sheet.cells.at({1, 1}).text, "总计：");
    EXPECT_EQ(sheet.cells.at({1, 2}).kind, xlsread::Cell::Number);
    EXPECT_EQ(sheet.cells.at({1, 2}).number, 0);
}

// A list taller than a worksheet allows, without holding its rows anywhere.
class TallContent : public SampleContent {
public:
    explicit TallContent(int rows) : m_rows(rows) { columns = {{"编号", Qt::AlignLeft, 50}}; }
    int RowCount() const override { return m_rows; }
    ContentCell Cell(int row, int) const override { return Number(row, QString::number(row)); }

private:
    int m_rows;
};

TEST(Xls, ALongListGoesOnOverFurtherSheets)
{
    const QByteArray sheet2("S\0h\0e\0e\0t\0" "2\0", 12);
    const QByteArray fits = written(WriteXls, TallContent(65535));
    const xlsread::Sheet one = xlsread::ReadSheet(fits);
    EXPECT_EQ(one.rows, 65536); // the title row and 65,535 rows fill one sheet exactly
    EXPECT_EQ(one.cells.at({65535, 0}).number, 65534);
    EXPECT_FALSE(fits.contains(sheet2));
    const QByteArray tall = written(WriteXls, TallContent(65536));
    EXPECT_TRUE(tall.contains(sheet2)) << "the last row goes on a second sheet";
    // The reader takes the records in file order, so the second sheet's come out last:
    // its title row and the one row left over.
    const xlsread::Sheet last = xlsread::ReadSheet(tall);
    EXPECT_EQ(last.rows, 2);
    EXPECT_EQ(last.cells.at({0, 0}).text, "编号");
    EXPECT_EQ(last.cells.at({1, 0}).number, 65535);
}

TEST(Writers, ReportAFailedWrite)
{
    QBuffer closed; // never opened: every write fails
    for (Writer w : {WriteTxt, WriteCsv, WriteHtm, WriteRtf, WriteXls})
        EXPECT_FALSE(w(StockSample(), closed));
}

TEST(CompoundDocument, StreamsReadBackWhole)
{
    // short (padded), exactly a sector multiple, and one whose FAT needs DIFAT sectors
    for (const qsizetype size : {qsizetype(10), qsizetype(4096), qsizetype(5000), qsizetype(8 * 1024 * 1024 + 3)}) {
        QByteArray stream(size, '\0');
        for (qsizetype i = 0; i < size; ++i)
            stream[i] = char(i * 7 + i / 511);
        xlsread::Compound info;
        const QByteArray back = xlsread::Stream(CompoundDocument("Workbook", stream), "Workbook", &info);
        EXPECT_EQ(back.left(size), stream) << size;
        EXPECT_EQ(back.size(), qMax<qsizetype>(size, 4096)) << size;
        EXPECT_TRUE(back.mid(size).count('\0') == back.size() - size) << "padding is zeros";
        EXPECT_EQ(info.difatSectors > 0, size > 109 * 128 * 512) << size;
    }
}

} // namespace
