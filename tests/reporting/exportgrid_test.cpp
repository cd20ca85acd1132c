#include "datalayer/connection.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/gbk.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "reporting/exportgrid.h"
#include "tests/reporting/xlsreader.h"
#include "tests/support/testfolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(ExportFileName, AddsTheExtensionUnlessTheNameEndsInIt)
{
    const struct {
        const char *chosen, *ext, *result;
    } cases[] = {
        {"data", "txt", "data.txt"},
        {"data", "csv", "data.csv"},
        {"Data.CSV", "csv", "Data.CSV"},
        {"/home/shop/list.Htm", "htm", "/home/shop/list.Htm"},
        {"x.xls", "csv", "x.xls.csv"},
        {"dataTXT", "txt", "dataTXT"},
        {"ab", "rtf", "ab.rtf"},
        {"报表.XLS", "xls", "报表.XLS"},
        {"data.xlſ", "xls", "data.xlſ.xls"}, // only ASCII letters compare without case
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExportFileName(QString::fromUtf8(c.chosen), c.ext), QString::fromUtf8(c.result)) << c.chosen;
}

std::vector<GridColumn> columns()
{
    GridColumn no{"序号"}, lot{"编号"}, kind{"品种"}, price{"毛茶价"}, weight{"总重量"};
    price.displayFormat = "￥,0.00";
    price.footer = FooterKind::Text;
    price.footerText = "总计：";
    weight.footer = FooterKind::Sum;
    weight.footerFormat = "0.00, Kg";
    return {no, lot, kind, price, weight};
}

// A list ready to export, with no scripted answers: the dialogs are a person's.
class ListToExport : public ::testing::Test {
protected:
    ListToExport()
    {
        conn.SetDatabase(folder.DatabasePath());
        for (const char *row : {"insert into 库存管理(编号,品种,毛茶价,总重量) values('B','铁观音',30,12.5)",
                                "insert into 库存管理(编号,品种,毛茶价,总重量) values('A','红\"茶;',1234.5,2)",
                                "insert into 库存管理(编号,毛茶价,总重量) values('C',10,0.25)"})
            EXPECT_TRUE(RunSQL(QString::fromUtf8(row), conn));
        grid.SetColumns(columns());
        grid.SetFooterVisible(true);
        grid.SetQuery(&q);
        open("Select * From 库存管理 Order By ID ASC");
    }
    void open(const QString &sql)
    {
        q.Close();
        q.SetSQL(sql);
        q.Open();
    }
    QString out(const QString &name) const { return QDir(dir.path()).filePath(name); }
    static QString read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? FromGbk(f.readAll()) : QStringLiteral("<missing>");
    }
    bool rowNumbersShown() const { return grid.Columns()[0].visible && !grid.isColumnHidden(0); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    TestFolder folder;
    Connection conn;
    Query q{&conn, "ADOQuery1"};
    DBGrid grid;
    QTemporaryDir dir;
    SaveDialogSettings dialog;
};

class ExportList : public ListToExport {
protected:
    bool exportAs(const QString &path, int index)
    {
        script.SaveAs(path, index);
        return ExportGrid(&grid, dialog, nullptr);
    }

    Dialogs::Script script;
};

TEST_F(ExportList, CancelWritesNothing)
{
    script.Cancel();
    EXPECT_FALSE(ExportGrid(&grid, dialog));
    ASSERT_EQ(script.Count(Dialogs::Kind::SaveFile), 1);
    const Dialogs::Request &r = script.Requests()[0];
    EXPECT_EQ(r.fileName, QDir(FirstExportFolder()).filePath("data.txt"));
    EXPECT_EQ(r.filters, (QStringList{"txt(文本文件) (*.txt)", "csv(数据文件) (*.csv)", "htm(网页文件) (*.htm)",
                                      "rtf(记事本文件) (*.rtf)", "xls(Excel文件) (*.xls)"}));
    EXPECT_EQ(r.filterIndex, 1) << "the first type the first time";
    EXPECT_EQ(dialog.filters, r.filters);
    EXPECT_TRUE(files().isEmpty());
    EXPECT_EQ(script.Count(Dialogs::Kind::Notice), 0);
}

TEST_F(ExportList, WritesEveryRowAndTheFooterWithoutRowNumbers)
{
    EXPECT_TRUE(exportAs(out("data"), 1));
    EXPECT_EQ(files(), QStringList{"data.txt"});
    EXPECT_EQ(read(out("data.txt")), "编号\t品种\t毛茶价\t总重量\r\n"
                                     "B\t铁观音\t￥30.00\t12.5\r\n"
                                     "A\t红\"茶;\t￥1,234.50\t2\r\n"
                                     "C\t\t￥10.00\t0.25\r\n"
                                     "\t\t总计：\t14.75 Kg\r\n");
    EXPECT_TRUE(rowNumbersShown());
    EXPECT_TRUE(grid.updatesEnabled());
    EXPECT_EQ(script.Count(Dialogs::Kind::Notice), 0) << "the screen confirms, not the export";
}

TEST_F(ExportList, SortedListIsWrittenInItsOrder)
{
    grid.TitleBtnClick(1); // 编号 ascending
    grid.TitleBtnClick(1); // descending
    EXPECT_TRUE(exportAs(out("sorted.csv"), 2));
    EXPECT_EQ(read(out("sorted.csv")), "\"编号\";\"品种\";\"毛茶价\";\"总重量\"\r\n"
                                       "\"C\";\"\";\"￥10.00\";\"0.25\"\r\n"
                                       "\"B\";\"铁观音\";\"￥30.00\";\"12.5\"\r\n"
                                       "\"A\";\"红\"\"茶;\";\"￥1,234.50\";\"2\"\r\n"
                                       "\"\";\"\";\"总计：\";\"14.75 Kg\"\r\n");
}

TEST_F(ExportList, FilteredListWritesOnlyItsRowsAndTheirSums)
{
    open("Select * From 库存管理 Where 总重量 > 1 Order By ID ASC");
    EXPECT_TRUE(exportAs(out("big"), 5));
    const xlsread::Sheet sheet = xlsread::ReadSheet([&] {
        QFile f(out("big.xls"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }());
    EXPECT_EQ(sheet.rows, 4);
    EXPECT_EQ(sheet.columns, 4);
    EXPECT_EQ(sheet.cells.at({0, 0}).text, "编号");
    EXPECT_EQ(sheet.cells.at({2, 0}).text, "A");
    EXPECT_EQ(sheet.cells.at({1, 2}).kind, xlsread::Cell::Number) << "the stored price, not ￥30.00";
    EXPECT_EQ(sheet.cells.at({1, 2}).number, 30);
    EXPECT_EQ(sheet.cells.at({3, 2}).text, "总计：");
    EXPECT_EQ(sheet.cells.at({3, 3}).kind, xlsread::Cell::Number);
    EXPECT_EQ(sheet.cells.at({3, 3}).number, 14.5);
    EXPECT_EQ(sheet.cells.at({3, 0}).kind, xlsread::Cell::Blank);
}

TEST_F(ExportList, EmptyListWritesTitlesAndZeroSums)
{
    open("Select * From 库存管理 Where 1 = 0");
    EXPECT_TRUE(exportAs(out("empty"), 1));
    EXPECT_EQ(read(out("empty.txt")), "编号\t品种\t毛茶价\t总重量\r\n\t\t总计：\t0.00 Kg\r\n");
}

TEST_F(ExportList, TheTypeAndFolderUsedLastArePreselected)
{
    EXPECT_TRUE(exportAs(out("first"), 4));
    EXPECT_EQ(dialog.filterIndex, 4);
    EXPECT_TRUE(read(out("first.rtf")).startsWith("{\\rtf1"));
    RunSQL("delete * from 库存管理 where 编号 = 'C'", conn);
    q.Requery();
    EXPECT_TRUE(exportAs(out("first.rtf"), 4)); // the same file again: replaced without a question
    ASSERT_EQ(script.Requests().size(), 2u);
    EXPECT_EQ(script.Requests()[1].filterIndex, 4);
    EXPECT_EQ(script.Requests()[1].fileName, out("data.rtf"));
    EXPECT_FALSE(read(out("first.rtf")).contains("0.25"));
    EXPECT_EQ(script.Count(Dialogs::Kind::Confirm), 0);
    script.Cancel(); // a cancelled dialog forgets neither
    EXPECT_FALSE(ExportGrid(&grid, dialog));
    script.Cancel();
    EXPECT_FALSE(ExportGrid(&grid, dialog));
    EXPECT_EQ(script.Requests()[3].fileName, out("data.rtf"));
}

TEST_F(ExportList, TheFirstDialogProposesAFileInTheDocumentsAndShowsTheTypesAsWritten)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(FirstExportFolder(), QDir(documents).exists() ? documents : QDir::homePath());
    script.Cancel();
    ExportGrid(&grid, dialog);
    ASSERT_EQ(script.Requests().size(), 1u);
    Dialogs::Request r = script.Requests()[0];
    // The dialog a person gets for it, and for a later export into a folder of the program's.
    QDir(dir.path()).mkdir("data");
    for (const QString &proposed : {r.fileName, out("data.csv")}) {
        r.fileName = proposed;
        r.filterIndex = proposed.endsWith("csv") ? 2 : 1;
        const std::unique_ptr<QFileDialog> shown = Dialogs::MakeSaveDialog(nullptr, r);
        const auto *types = shown->findChild<QComboBox *>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        QStringList listed;
        for (int i = 0; i < types->count(); ++i)
            listed << types->itemText(i);
        EXPECT_EQ(listed, (QStringList{"txt(文本文件)", "csv(数据文件)", "htm(网页文件)", "rtf(记事本文件)", "xls(Excel文件)"}));
        EXPECT_EQ(types->currentIndex(), r.filterIndex - 1);
        EXPECT_EQ(shown->directory().absolutePath(), QFileInfo(proposed).absolutePath());
        EXPECT_EQ(shown->selectedFiles(), QStringList({proposed}));
        EXPECT_TRUE(shown->testOption(QFileDialog::DontConfirmOverwrite)) << "an existing file is replaced";
    }
}

TEST_F(ListToExport, TheTypeAPersonChoosesInTheDialogIsTheTypeWritten)
{
    const QStringList filters = ExportFilters();
    const QStringList extensions{"txt", "csv", "htm", "rtf", "xls"};
    for (int i = 0; i < int(filters.size()); ++i) {
        bool answered = false;
        // Fills in the dialog the export shows, as a person would, and presses Save.
        QTimer::singleShot(0, [&] {
            auto *shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            shown->selectNameFilter(filters[i]);
            shown->selectFile(out("list"));
            answered = true;
            static_cast<QDialog *>(shown)->accept(); // the Save button's slot
        });
        const std::string type = filters[i].toStdString();
        EXPECT_TRUE(ExportGrid(&grid, dialog, nullptr)) << type;
        EXPECT_TRUE(answered);
        EXPECT_EQ(dialog.filterIndex, i + 1) << type;
        EXPECT_TRUE(QFileInfo::exists(out("list." + extensions[i]))) << type;
    }
}

TEST_F(ExportList, FailuresGiveFalseAndShowRowNumbersAgain)
{
    const struct {
        const char *name;
        int index;
    } cases[] = {
        {"missing/sub/data", 1}, // a folder that does not exist
        {"data", 0},             // types outside the list
        {"data", 6},
    };
    for (const auto &c : cases) {
        EXPECT_FALSE(exportAs(out(c.name), c.index)) << c.name << " " << c.index;
        EXPECT_TRUE(rowNumbersShown()) << c.name;
        EXPECT_TRUE(grid.updatesEnabled());
    }
    EXPECT_TRUE(files().isEmpty());
    EXPECT_FALSE(QDir(out("missing")).exists());
    EXPECT_EQ(script.Count(Dialogs::Kind::Error) + script.Count(Dialogs::Kind::Notice), 0) << "no message";
}

TEST_F(ExportList, AFailedWriteKeepsTheEarlierFile)
{
    // more columns than a worksheet holds: the xls writer refuses them after the file was opened
    std::vector<GridColumn> wide(258, GridColumn{QStringLiteral("编号")}); // 257 exported
    wide.front().fieldName = QStringLiteral("序号");
    grid.SetColumns(wide);
    {
        QFile good(out("list.xls"));
        ASSERT_TRUE(good.open(QIODevice::WriteOnly));
        good.write("the good file");
    }
    EXPECT_FALSE(exportAs(out("list.xls"), 5));
    EXPECT_EQ(files(), QStringList{"list.xls"}) << "no partial file left beside it";
    EXPECT_EQ(read(out("list.xls")), "the good file");
    EXPECT_TRUE(rowNumbersShown());
    EXPECT_EQ(grid.query()->RecordCount(), q.RecordCount());
}

TEST_F(ExportList, HiddenRowNumbersStayHidden)
{
    grid.SetColumnVisible(0, false);
    EXPECT_TRUE(exportAs(out("data"), 1));
    EXPECT_FALSE(grid.Columns()[0].visible);
    EXPECT_TRUE(read(out("data.txt")).startsWith("编号\t"));
}

} // namespace
