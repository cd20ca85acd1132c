// The statistics rebuild on a shop of ten years (3,650 days, 20,000 lots, 200,000 sales,
// 20,000 expenses, 20,000 ledger rows), next to its floor: the engine computing the same sums
// with one GROUP BY per source table. Also the time to open the statistics and lot lists.
#include "bench/bench_statistics.h"
#include "bench/timing.h"

#include "app/installdb.h"
#include "datalayer/connection.h"
#include "datalayer/dbgrid.h"
#include "datalayer/query.h"
#include "finance/settlementstatements.h"
#include "finance/statisticsstatements.h"

#include <QDate>
#include <QElapsedTimer>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace {

constexpr int kRuns = 5;
constexpr int kDays = 3650, kLots = 20000, kSales = 200000, kExpenses = 20000, kLedger = 20000;

QByteArray day(int i)
{
    return QDate(2016, 1, 1).addDays(i % kDays).toString("yyyy-MM-dd").toUtf8();
}

void insertRows(sqlite3 *db, const char *sql, int count, const std::function<void(sqlite3_stmt *, int)> &bind)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    for (int i = 0; i < count; ++i) {
        bind(stmt, i);
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
}

void fill(Connection &conn)
{
    sqlite3 *db = conn.Handle();
    conn.BeginTransaction();
    insertRows(db, "insert into 库存管理(编号,品种,毛净茶,总重量,剩余重量,总金额,入库日期) values(?,'铁观音',?,50,20,1500,?)",
               kLots, [](sqlite3_stmt *s, int i) {
                   sqlite3_bind_text(s, 1, QByteArray("L" + QByteArray::number(i)).constData(), -1, SQLITE_TRANSIENT);
                   sqlite3_bind_text(s, 2, i % 3 ? "毛茶" : "净茶", -1, SQLITE_STATIC);
                   sqlite3_bind_text(s, 3, day(i * 7).constData(), -1, SQLITE_TRANSIENT);
               });
    insertRows(db,
               "insert into 销售记录(编号,客户,客户类型,日期,单价,重量,总金额,实收款,毛净茶,备用1) "
               "values(?,'王老板','批发客户',?,?,?,?,?,?,?)",
               kSales, [](sqlite3_stmt *s, int i) {
                   const double w = 0.5 + (i % 20) * 0.25, p = 80 + i % 40;
                   sqlite3_bind_text(s, 1, QByteArray("L" + QByteArray::number(i % kLots)).constData(), -1,
                                     SQLITE_TRANSIENT);
                   sqlite3_bind_text(s, 2, day(i).constData(), -1, SQLITE_TRANSIENT);
                   sqlite3_bind_double(s, 3, p);
                   sqlite3_bind_double(s, 4, w);
                   sqlite3_bind_double(s, 5, p * w);
                   sqlite3_bind_double(s, 6, p * w - i % 3);
                   sqlite3_bind_text(s, 7, i % 3 ? "毛茶" : "净茶", -1, SQLITE_STATIC);
                   sqlite3_bind_text(s, 8, QByteArray::number(i % kLots + 1).constData(), -1, SQLITE_TRANSIENT);
               });
    insertRows(db, "insert into 支出管理(日期,金额,事项) values(?,?,'事项：电费')", kExpenses, [](sqlite3_stmt *s, int i) {
        sqlite3_bind_text(s, 1, day(i * 3).constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(s, 2, 10 + i % 90);
    });
    insertRows(db, "insert into 欠款管理(客户名称,项目,金额,日期) values('李四',?,?,?)", kLedger, [](sqlite3_stmt *s, int i) {
        sqlite3_bind_text(s, 1, i % 2 ? "还款" : "欠款", -1, SQLITE_STATIC);
        sqlite3_bind_double(s, 2, 50 + i % 200);
        sqlite3_bind_text(s, 3, day(i * 5).constData(), -1, SQLITE_TRANSIENT);
    });
    conn.Commit();
}

void stepAll(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    volatile double sink = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        sink = sink + sqlite3_column_double(stmt, 1);
    sqlite3_finalize(stmt);
}

const char kSalesFloor[] = "SELECT 日期, 毛净茶, sum(重量), sum(总金额), sum(实收款) FROM 销售记录 GROUP BY 日期, 毛净茶";
const char kExpensesFloor[] = "SELECT 日期, sum(金额) FROM 支出管理 GROUP BY 日期";
const char kDebtsFloor[] =
    "SELECT 日期, sum(CASE 项目 WHEN '欠款' THEN 金额 WHEN '还款' THEN -金额 ELSE 0 END) FROM 欠款管理 GROUP BY 日期";

} // namespace

void BenchStatistics(const QString &folder)
{
    const QString path = folder + QStringLiteral("/shop10.mdb");
    CreateInstallationDatabase(path);
    Connection conn;
    conn.SetDatabase(path);
    conn.SetExclusive(true);
    QElapsedTimer made;
    made.start();
    fill(conn);
    std::printf("\nstatistics: %d days, %d lots, %d sales, %d expenses, %d ledger rows, made in %.0f ms\n", kDays, kLots,
                kSales, kExpenses, kLedger, made.nsecsElapsed() / 1e6);

    sqlite3 *db = conn.Handle();
    const double salesFloor = MedianMs([&] { stepAll(db, kSalesFloor); }, kRuns);
    const double expensesFloor = MedianMs([&] { stepAll(db, kExpensesFloor); }, kRuns);
    const double debtsFloor = MedianMs([&] { stepAll(db, kDebtsFloor); }, kRuns);
    const double floor = salesFloor + expensesFloor + debtsFloor;
    const struct {
        const char *name;
        StatisticsPass pass;
        double floor;
    } passes[] = {{"全部统计 (full rebuild)", StatisticsPass::All, floor},
                  {"销售统计 (sales pass)", StatisticsPass::Sales, salesFloor},
                  {"支出统计 (expenses pass)", StatisticsPass::Expenses, expensesFloor},
                  {"欠款统计 (debts pass)", StatisticsPass::Debts, debtsFloor}};
    std::printf("%-44s %10s\n", "measure (median of 5)", "ms");
    std::printf("%-44s %10.1f  (sales %.1f, expenses %.1f, debts %.1f)\n", "floor: one GROUP BY per source", floor,
                salesFloor, expensesFloor, debtsFloor);
    for (const auto &p : passes) {
        const double ms = MedianMs([&] { RunStatisticsPass(conn, p.pass); }, kRuns);
        std::printf("%-44s %10.1f  (%.2f x its floor)\n", p.name, ms, ms / p.floor);
    }

    Query q(&conn, QStringLiteral("ADOQuery_tj"));
    DBGrid grid;
    grid.resize(1000, 600);
    grid.SetQuery(&q);
    const struct {
        const char *name;
        QString sql;
    } lists[] = {{"open the statistics list", StatisticsListStatement()},
                 {"open the settlement's lot list", SettlementLotListStatement()},
                 {"a lot's sales (a click in the lot list)", LotSalesStatement(kLots / 2, QStringLiteral("L9999"))}};
    for (const auto &list : lists) {
        const double ms = MedianMs([&] {
            q.Reopen(list.sql);
        }, kRuns);
        std::printf("%-44s %10.1f  (%d rows)\n", list.name, ms, q.RecordCount());
    }
}
