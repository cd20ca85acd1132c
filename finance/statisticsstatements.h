#pragma once
#include <QDate>
#include <QString>

class Connection;

// The daily statistics in 销售统计, rebuilt from the sales, the expenses and the debt ledger.
//
// After any pass each day holds one row per kind of tea sold that day (毛茶 first), or one
// row with 毛净茶 NULL when nothing was sold; the day's 总支出 and 欠款总额 stand on its 毛茶
// row, or on its only row. A pass recomputes its own columns from its source exactly as the
// full rebuild would and keeps the others as they stand. Source rows without a date are
// skipped; 欠款总额 is the day's debts minus its repayments.
enum class StatisticsPass { Expenses, Sales, Debts, All };

// Runs one pass as one transaction: on failure 销售统计 is left as it was and DbError carries
// the engine's text.
void RunStatisticsPass(Connection &conn, StatisticsPass pass);

// Empties 销售统计; throws DbError.
void ClearStatistics(Connection &conn);

// The statistics list: every day oldest first ("导入"), or one day ("查询").
QString StatisticsListStatement();
QString StatisticsDayStatement(const QDate &day);
