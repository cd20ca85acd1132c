// The xls, rtf and htm files open in a real office program with the same cells.
#include "reporting/exportwriters.h"
#include "tests/reporting/samplecontent.h"
#include "tests/support/qtprint.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString office()
{
    for (const char *name : {"libreoffice", "soffice"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

class LibreOffice : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_office = office();
        if (m_office.isEmpty()) {
            if (qEnvironmentVariable("CI") == "true")
                FAIL() << "LibreOffice is not installed; setup.sh installs it";
            GTEST_SKIP() << "LibreOffice is not installed";
        }
    }
    // Writes the sample with a writer and converts the file; gives the converted text as UTF-8.
    QString roundTrip(bool (*write)(const GridContent &, QIODevice &), const QString &ext, const QString &to,
                      const QString &filter = QString())
    {
        const QString source = m_dir.filePath("list." + ext);
        QFile file(source);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_TRUE(write(m_sample, file));
        file.close();
        QStringList args{"-env:UserInstallation=file://" + m_dir.filePath("profile"), "--headless", "--norestore"};
        if (!filter.isEmpty())
            args << "--infilter=" + filter;
        args << "--convert-to" << to << "--outdir" << m_dir.filePath("out") << source;
        QProcess p;
        p.start(m_office, args);
        EXPECT_TRUE(p.waitForFinished(180000)) << "conversion timed out";
        const QString target = m_dir.filePath("out/list." + to.section(':', 0, 0));
        QFile result(target);
        EXPECT_TRUE(result.open(QIODevice::ReadOnly)) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(result.readAll());
    }

    QString m_office;
    QTemporaryDir m_dir;
    SampleContent m_sample = StockSample();
};

TEST_F(LibreOffice, XlsCellsComeBackAsWritten)
{
    // Calc's CSV export: comma separated, text in quotes where needed, UTF-8 by this filter option.
    const QString csv = roundTrip(WriteXls, "xls", "csv:Text - txt - csv (StarCalc):44,34,76");
    const QStringList lines = csv.split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << csv.toStdString();
    EXPECT_EQ(lines[0], "编号,品种,总重量,总金额");
    EXPECT_EQ(lines[1], "B01,铁观音,12.5,375"); // numbers unformatted, the integer as an integer
    EXPECT_EQ(lines[2], "\"A\"\"1;2\",<红&茶>,,1234.5");
    EXPECT_EQ(lines[3], ",总计：,12.5,1609.5");
}

TEST_F(LibreOffice, RtfAndHtmHoldTheShownTexts)
{
    const QString rtf = roundTrip(WriteRtf, "rtf", "txt:Text (encoded):UTF8");
    const QString htm = roundTrip(WriteHtm, "htm", "txt:Text (encoded):UTF8", "HTML (StarWriter)");
    for (const QString &text : {rtf, htm}) {
        for (const char *cell : {"编号", "铁观音", "12.50 Kg", "￥375.00", "A\"1;2", "<红&茶>", "￥1,234.50", "总计：",
                                 "￥1,609.50"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(cell))) << cell << " missing in:\n" << text.toStdString();
    }
}

} // namespace
