// Measures the list paths on a large shop database: the raw engine fetch (the floor),
// opening a list into a grid, a title-click sort, a requery after a write, and the memory
// the dataset takes. Medians over several runs, in one process.
#include "app/installdb.h"
#include "bench/bench_statistics.h"
#include "bench/timing.h"
#include "datalayer/connection.h"
#include "datalayer/dbgrid.h"
#include "datalayer/programfolder.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "reporting/exportwriters.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <sqlite3.h>
#include <vector>

namespace {
constexpr int kRuns = 7;

void fill(Connection &conn, int lots, int sales)
{
    sqlite3 *db = conn.Handle();
    conn.BeginTransaction();
    sqlite3_stmt *lot = nullptr, *sale = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into 库存管理(编号,品种,产地,供应商,毛茶价,总重量,剩余重量,总金额,包装,入库日期,经办人,"
                       "实付款,备注,毛净茶,销售单价,净茶价) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &lot, nullptr);
    const char *varieties[] = {"铁观音", "本山", "黄金桂", "毛蟹", "大红袍"};
    const char *origins[] = {"安溪", "感德", "祥华", "西坪"};
    for (int i = 0; i < lots; ++i) {
        const QByteArray no = QStringLiteral("T%1").arg(i, 6, 10, QLatin1Char('0')).toUtf8();
        const QByteArray date = QDate(2009, 1, 1).addDays(i % 900).toString("yyyy-MM-dd").toUtf8();
        sqlite3_bind_text(lot, 1, no.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(lot, 2, varieties[i % 5], -1, SQLITE_STATIC);
        sqlite3_bind_text(lot, 3, origins[i % 4], -1, SQLITE_STATIC);
        sqlite3_bind_text(lot, 4, "林记茶行", -1, SQLITE_STATIC);
        sqlite3_bind_double(lot, 5, 30 + i % 70);
        sqlite3_bind_double(lot, 6, 50 + i % 13);
        sqlite3_bind_double(lot, 7, i % 50);
        sqlite3_bind_double(lot, 8, (30 + i % 70) * (50 + i % 13));
        sqlite3_bind_text(lot, 9, "散装", -1, SQLITE_STATIC);
        sqlite3_bind_text(lot, 10, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(lot, 11, "admin", -1, SQLITE_STATIC);
        sqlite3_bind_double(lot, 12, (30 + i % 70) * (50 + i % 13));
        sqlite3_bind_text(lot, 13, "春茶，第一批", -1, SQLITE_STATIC);
        sqlite3_bind_text(lot, 14, i % 3 ? "毛茶" : "净茶", -1, SQLITE_STATIC);
        sqlite3_bind_double(lot, 15, 80 + i % 40);
        sqlite3_bind_double(lot, 16, 40 + i % 40);
        sqlite3_step(lot);
        sqlite3_reset(lot);
    }
    sqlite3_prepare_v2(db,
                       "insert into 销售记录(编号,品种,产地,客户,客户类型,日期,单价,重量,总金额,备注,实收款,毛净茶) "
                       "values(?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &sale, nullptr);
    for (int i = 0; i < sales; ++i) {
        const QByteArray no = QStringLiteral("T%1").arg(i % lots, 6, 10, QLatin1Char('0')).toUtf8();
        const QByteArray date = QDate(2009, 1, 1).addDays(i % 900).toString("yyyy-MM-dd").toUtf8();
        const double w = 0.5 + (i % 20) * 0.25, p = 80 + i % 40;
        sqlite3_bind_text(sale, 1, no.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(sale, 2, varieties[i % 5], -1, SQLITE_STATIC);
        sqlite3_bind_text(sale, 3, origins[i % 4], -1, SQLITE_STATIC);
        sqlite3_bind_text(sale, 4, i % 7 ? "零售" : "王老板", -1, SQLITE_STATIC);
        sqlite3_bind_text(sale, 5, i % 7 ? "零售客户" : "批发客户", -1, SQLITE_STATIC);
        sqlite3_bind_text(sale, 6, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(sale, 7, p);
        sqlite3_bind_double(sale, 8, w);
        sqlite3_bind_double(sale, 9, p * w);
        sqlite3_bind_text(sale, 10, i % 11 ? "" : "熟客，九五折", -1, SQLITE_STATIC);
        sqlite3_bind_double(sale, 11, p * w);
        sqlite3_bind_text(sale, 12, i % 3 ? "毛茶" : "净茶", -1, SQLITE_STATIC);
        sqlite3_step(sale);
        sqlite3_reset(sale);
    }
    sqlite3_finalize(lot);
    sqlite3_finalize(sale);
    conn.Commit();
}

// The floor: the engine alone, every column of every row read once.
void rawFetch(Connection &conn, const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(conn.Handle(), sql, -1, &stmt, nullptr);
    const int n = sqlite3_column_count(stmt);
    size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        for (int c = 0; c < n; ++c) {
            if (sqlite3_column_type(stmt, c) == SQLITE_TEXT)
                bytes += size_t(sqlite3_column_bytes(stmt, c)) + size_t(*sqlite3_column_text(stmt, c) != 0);
            else
                bytes += size_t(sqlite3_column_double(stmt, c) > 0);
        }
    sqlite3_finalize(stmt);
    static volatile size_t sink; // keeps the reads from being optimised away
    sink = bytes;
}

std::vector<GridColumn> salesColumns()
{
    std::vector<GridColumn> cols;
    for (const char *name : {"序号", "编号", "品种", "产地", "客户", "客户类型", "日期", "单价", "重量", "总金额", "实收款",
                             "毛净茶", "备注"})
        cols.push_back(GridColumn{QString::fromUtf8(name)});
    cols[7].displayFormat = cols[9].displayFormat = cols[10].displayFormat = "￥,0.00";
    cols[8].displayFormat = "0.00, Kg";
    cols[7].footer = FooterKind::Text;
    cols[7].footerText = "总计：";
    for (int c : {8, 9, 10}) {
        cols[size_t(c)].footer = FooterKind::Sum;
        cols[size_t(c)].footerFormat = c == 8 ? "0.00, Kg" : "￥,0.00";
    }
    return cols;
}

size_t heapInUse()
{
    malloc_trim(0);
    return mallinfo2().uordblks;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    // "statistics" alone measures the statistics rebuild only.
    const bool statisticsOnly = args.removeAll(QStringLiteral("statistics")) > 0;
    const int sales = !args.isEmpty() ? std::max(1000, args[0].toInt()) : 100000;
    const int lots = std::max(200, sales / 5);

    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    if (statisticsOnly) {
        BenchStatistics(dir.path());
        return 0;
    }
    const QString path = dir.filePath("datas.mdb");
    CreateInstallationDatabase(path);
    Connection conn;
    conn.SetDatabase(path);
    QElapsedTimer made;
    made.start();
    fill(conn, lots, sales);
    std::printf("database: %d sales, %d lots, made in %.0f ms\n\n", sales, lots, made.nsecsElapsed() / 1e6);

    const char *statement = "Select * From 销售记录 Order By ID DESC";
    const double floor = MedianMs([&] { rawFetch(conn, statement); }, kRuns);

    Query q(&conn, "ADOQuery_xs");
    DBGrid grid;
    grid.SetColumns(salesColumns());
    grid.SetFooterVisible(true);
    grid.resize(1200, 700);
    grid.SetQuery(&q);
    const double open = MedianMs([&] {
        q.Reopen(QString::fromUtf8(statement)); // fetch, model reset, footer sums
    }, kRuns);
    const size_t before = [&] { q.Close(); return heapInUse(); }();
    q.Open();
    const size_t dataset = heapInUse() - before;

    const int textColumn = grid.ColumnIndex("客户"), numberColumn = grid.ColumnIndex("总金额");
    const double sortText = MedianMs([&] { grid.TitleBtnClick(textColumn); }, kRuns);
    const double sortNumber = MedianMs([&] { grid.TitleBtnClick(numberColumn); }, kRuns);
    const double requery = MedianMs([&] {
        RunSQL("UPDATE 销售记录 SET 实收款 = 实收款 + 1 WHERE ID = 1", conn);
        q.Requery();
    }, kRuns);

    std::printf("%-44s %10s\n", "measure (median of 7)", "ms");
    std::printf("%-44s %10.1f\n", "raw engine Select * and fetch (floor)", floor);
    std::printf("%-44s %10.1f  (%.2f x floor)\n", "open list: statement, fetch, model, footer", open, open / floor);
    std::printf("%-44s %10.1f\n", "title-click sort, text column (客户)", sortText);
    std::printf("%-44s %10.1f\n", "title-click sort, number column (总金额)", sortNumber);
    std::printf("%-44s %10.1f\n", "write + requery", requery);
    std::printf("%-44s %10.1f MB\n", "dataset memory for the list", dataset / 1048576.0);

    // Exports walk the whole list through the grid, as ExportGrid does.
    const auto content = grid.Content();
    const struct {
        const char *name;
        bool (*write)(const GridContent &, QIODevice &);
    } writers[] = {{"txt", WriteTxt}, {"csv", WriteCsv}, {"htm", WriteHtm}, {"rtf", WriteRtf}, {"xls", WriteXls}};
    for (const auto &w : writers) {
        bool ok = true;
        qint64 size = 0;
        const double ms = MedianMs(
            [&] {
                QFile file(dir.filePath(QStringLiteral("export.") + w.name));
                file.open(QIODevice::WriteOnly | QIODevice::Truncate);
                ok = w.write(*content, file) && ok;
                size = file.size();
            },
            3);
        std::printf("export %-37s %10.1f  (%.1f MB)%s\n", w.name, ms, size / 1048576.0,
                    ok ? "" : "  refused: the list does not fit the type");
    }
    BenchStatistics(dir.path());
    return 0;
}
