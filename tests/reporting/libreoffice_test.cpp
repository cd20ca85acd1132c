#include "reporting/exportwriters.h"
#include "tests/reporting/samplecontent.h"
#include "tests/support/qtprint.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

// Another program reads the files back: LibreOffice converts them to plain cells, which must
// be the cells written. CI has LibreOffice; elsewhere the check is skipped when it is absent.
namespace {

using Writer = bool (*)(const GridContent &, QIODevice &);

QString office()
{
    for (const char *name : {"libreoffice", "soffice"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// The cells as another program must show them: number cells in the general number format.
std::vector<QStringList> expectedCells(const GridContent &content, bool storedNumbers)
{
    auto text = [&](const ContentCell &c) {
        return storedNumbers && c.number ? QString::number(c.value, 'g', 15) : c.text;
    };
    std::vector<QStringList> rows;
    QStringList title;
    for (int c = 0; c < content.ColumnCount(); ++c)
        title << content.Title(c);
    rows.push_back(title);
    for (int r = 0; r < content.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < content.ColumnCount(); ++c)
            row << text(content.Cell(r, c));
        rows.push_back(row);
    }
    for (int f = 0; f < content.FooterRowCount(); ++f) {
        QStringList row;
        for (int c = 0; c < content.ColumnCount(); ++c)
            row << text(content.FooterCell(f, c));
        rows.push_back(row);
    }
    return rows;
}

// Comma separated, double-quoted cells as LibreOffice writes them.
std::vector<QStringList> parseCsv(const QString &text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                cell += ch;
            }
        } else if (ch == '"') {
            quoted = true;
        } else if (ch == ',') {
            row << cell;
            cell.clear();
        } else if (ch == '\n') {
            row << cell;
            cell.clear();
            rows.push_back(row);
            row.clear();
        } else if (ch != '\r') {
            cell += ch;
        }
    }
    if (!cell.isEmpty() || !row.isEmpty())
        rows.push_back(row << cell);
    return rows;
}

class LibreOffice : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_office = office();
        if (m_office.isEmpty()) {
            if (qgetenv("CI") == "true")
                FAIL() << "LibreOffice (libreoffice or soffice) is not on PATH";
            GTEST_SKIP() << "LibreOffice is not installed";
        }
        ASSERT_TRUE(m_dir.isValid());
    }

    // Writes the content with a writer and has LibreOffice convert the file; the converted text.
    QString convert(Writer writer, const GridContent &content, const QString &name, const QStringList &how)
    {
        const QString source = m_dir.filePath(name);
        {
            QFile f(source);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            EXPECT_TRUE(writer(content, f));
        }
        const QString outDir = m_dir.filePath("out-" + name);
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        QStringList args{"-env:UserInstallation=" + QUrl::fromLocalFile(m_dir.filePath("profile")).toString(),
                         "--headless", "--norestore"};
        args << how << "--outdir" << outDir << source;
        p.start(m_office, args);
        EXPECT_TRUE(p.waitForFinished(240000)) << "LibreOffice did not finish";
        const QString log = QString::fromLocal8Bit(p.readAll());
        const QStringList made = QDir(outDir).entryList(QDir::Files);
        EXPECT_EQ(made.size(), 1) << log.toStdString();
        if (made.isEmpty())
            return {};
        QFile result(QDir(outDir).filePath(made.first()));
        EXPECT_TRUE(result.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(result.readAll());
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }

    QString m_office;
    QTemporaryDir m_dir;
};

// Writer's plain text puts every table cell on a line of its own.
QStringList flattened(const std::vector<QStringList> &rows)
{
    QStringList cells;
    for (const QStringList &row : rows)
        cells << row;
    return cells;
}

QStringList lines(QString text)
{
    text.remove('\r');
    QStringList out = text.split('\n');
    while (!out.isEmpty() && out.back().isEmpty())
        out.pop_back();
    return out;
}

const QStringList kCalcCsv{"--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1"};
const QStringList kWriterText{"--convert-to", "txt:Text (encoded):UTF8"};

TEST_F(LibreOffice, ReadsTheWorksheetCells)
{
    // numbers come back as the stored numbers (375, 12.5), texts and Chinese as written
    for (const SampleContent &content : {StockSample(), EmptyStockSample()}) {
        const QString csv = convert(WriteXls, content, "list.xls", kCalcCsv);
        EXPECT_EQ(parseCsv(csv), expectedCells(content, true)) << csv.toStdString();
    }
}

struct DocumentCase {
    const char *ext;
    Writer writer;
    const char *calcFilter;
};

void PrintTo(const DocumentCase &c, std::ostream *os)
{
    *os << c.ext;
}

class LibreOfficeDocument : public LibreOffice, public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(LibreOfficeDocument, ReadsTheTableCells)
{
    const DocumentCase &c = GetParam();
    const SampleContent content = StockSample();
    const QString ext = QString::fromLatin1(c.ext);
    // the word processor reads every cell's text, in order
    const QString text = convert(c.writer, content, "list." + ext, kWriterText);
    EXPECT_EQ(lines(text), flattened(expectedCells(content, false))) << text.toStdString();
    // the spreadsheet reads the same table into the same rows and columns
    QStringList asTable{QStringLiteral("--infilter=") + QString::fromLatin1(c.calcFilter)};
    asTable << kCalcCsv;
    const QString csv = convert(c.writer, content, "table." + ext, asTable);
    EXPECT_EQ(parseCsv(csv), expectedCells(content, false)) << csv.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Writers, LibreOfficeDocument,
                         ::testing::Values(DocumentCase{"rtf", WriteRtf, "Rich Text Format (StarCalc)"},
                                           DocumentCase{"htm", WriteHtm, "HTML (StarCalc)"}),
                         [](const auto &info) { return std::string(info.param.ext); });

} // namespace
