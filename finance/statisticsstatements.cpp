#include "finance/statisticsstatements.h"

#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "datalayer/dialect.h"

namespace {

// Working tables of the rebuild: each holds one source's figures per day (and kind).
const char *const kWorkTables[] = {
    "CREATE TEMP TABLE IF NOT EXISTS stat_sales(day TEXT, kind TEXT, weight REAL, amount REAL, received REAL,"
    " PRIMARY KEY(day, kind))",
    "CREATE TEMP TABLE IF NOT EXISTS stat_expenses(day TEXT PRIMARY KEY, total REAL)",
    "CREATE TEMP TABLE IF NOT EXISTS stat_debts(day TEXT PRIMARY KEY, total REAL)",
    "DELETE FROM stat_sales",
    "DELETE FROM stat_expenses",
    "DELETE FROM stat_debts",
};

// From the sources. Each groups by the stored date first (the index order), then by day, so a
// date stored with a time of day still falls on its day. A kind without any weight on a day
// writes nothing for that kind, as a day without sales of it.
const char kSalesFromSource[] =
    "INSERT INTO stat_sales SELECT date(d), kind, sum(w), sum(a), sum(r) FROM"
    " (SELECT 日期 AS d, 毛净茶 AS kind, sum(重量) AS w, coalesce(sum(总金额), 0) AS a,"
    "  coalesce(sum(实收款), 0) AS r FROM 销售记录"
    "  WHERE 日期 IS NOT NULL AND 毛净茶 IN ('毛茶', '净茶') GROUP BY 日期, 毛净茶)"
    " GROUP BY date(d), kind HAVING sum(w) IS NOT NULL";
const char kExpensesFromSource[] =
    "INSERT INTO stat_expenses SELECT date(d), sum(v) FROM"
    " (SELECT 日期 AS d, coalesce(sum(金额), 0) AS v FROM 支出管理 WHERE 日期 IS NOT NULL GROUP BY 日期)"
    " GROUP BY date(d)";
const char kDebtsFromSource[] =
    "INSERT INTO stat_debts SELECT date(d), sum(v) FROM"
    " (SELECT 日期 AS d, coalesce(sum(CASE 项目 WHEN '欠款' THEN 金额 WHEN '还款' THEN -金额 ELSE 0 END), 0) AS v"
    "  FROM 欠款管理 WHERE 日期 IS NOT NULL GROUP BY 日期)"
    " GROUP BY date(d)";

// From the table as it stands, for the columns a single pass keeps.
const char kSalesKept[] =
    "INSERT INTO stat_sales SELECT date(日期), 毛净茶, sum(总重量), sum(总金额), sum(实收款) FROM 销售统计"
    " WHERE date(日期) IS NOT NULL AND 毛净茶 IS NOT NULL GROUP BY date(日期), 毛净茶";
const char kExpensesKept[] =
    "INSERT INTO stat_expenses SELECT date(日期), sum(总支出) FROM 销售统计"
    " WHERE date(日期) IS NOT NULL AND 总支出 IS NOT NULL GROUP BY date(日期)";
const char kDebtsKept[] =
    "INSERT INTO stat_debts SELECT date(日期), sum(欠款总额) FROM 销售统计"
    " WHERE date(日期) IS NOT NULL AND 欠款总额 IS NOT NULL GROUP BY date(日期)";

// The table made anew from the three working tables: a row per day and kind sold, or one row
// for a day without sales; the day's expenses and debts on its 毛茶 row or its only row.
const char kAssemble[] =
    "INSERT INTO 销售统计(日期, 毛净茶, 总重量, 总金额, 实收款, 总支出, 欠款总额)"
    " SELECT days.day, s.kind, s.weight, s.amount, s.received,"
    "  CASE WHEN s.kind IS NULL OR s.carrier THEN e.total END,"
    "  CASE WHEN s.kind IS NULL OR s.carrier THEN d.total END FROM"
    " (SELECT day FROM stat_sales UNION SELECT day FROM stat_expenses UNION SELECT day FROM stat_debts) AS days"
    " LEFT JOIN (SELECT x.*, (x.kind = '毛茶' OR NOT EXISTS"
    "   (SELECT 1 FROM stat_sales y WHERE y.day = x.day AND y.kind = '毛茶')) AS carrier FROM stat_sales x) AS s"
    "  ON s.day = days.day"
    " LEFT JOIN stat_expenses e ON e.day = days.day"
    " LEFT JOIN stat_debts d ON d.day = days.day"
    " ORDER BY days.day, s.kind = '净茶'";

void runPass(Connection &conn, StatisticsPass pass)
{
    for (const char *statement : kWorkTables)
        conn.ExecuteNative(QString::fromUtf8(statement));
    const bool all = pass == StatisticsPass::All;
    conn.ExecuteNative(QString::fromUtf8(all || pass == StatisticsPass::Sales ? kSalesFromSource : kSalesKept));
    conn.ExecuteNative(
        QString::fromUtf8(all || pass == StatisticsPass::Expenses ? kExpensesFromSource : kExpensesKept));
    conn.ExecuteNative(QString::fromUtf8(all || pass == StatisticsPass::Debts ? kDebtsFromSource : kDebtsKept));
    conn.ExecuteNative(QStringLiteral("DELETE FROM 销售统计"));
    conn.ExecuteNative(QString::fromUtf8(kAssemble));
}

} // namespace

void RunStatisticsPass(Connection &conn, StatisticsPass pass)
{
    conn.BeginTransaction();
    try {
        runPass(conn, pass);
        conn.Commit();
    } catch (const DbError &) {
        try {
            conn.Rollback();
        } catch (const DbError &) {
            // The engine rolled back already.
        }
        throw;
    }
}

void ClearStatistics(Connection &conn)
{
    conn.Execute(QStringLiteral("delete * FROM 销售统计"));
}

QString StatisticsListStatement()
{
    // A day's rows stay in their order (毛茶 before 净茶) under the day order.
    return QStringLiteral("Select * FROM 销售统计 Order By 日期 ASC, ID ASC");
}

QString StatisticsDayStatement(const QDate &day)
{
    return QStringLiteral("Select * FROM 销售统计 where 日期 = ") + DateLiteral(day);
}
