#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// How a column behaves: the types the old engine enforced, kept by the schema itself.
enum class ColumnType { Key, Text, LongText, Number, Date, YesNo, Image };

struct ColumnDef {
    QString name;
    ColumnType type;
};

struct TableDef {
    QString name;
    std::vector<ColumnDef> columns; // in physical order: rows are read by position
};

// Table names, in one place for the statements and the tests.
namespace tables {
inline const QString Stock = QStringLiteral("库存管理");
inline const QString Sales = QStringLiteral("销售记录");
inline const QString Returns = QStringLiteral("退货管理");
inline const QString Debts = QStringLiteral("欠款管理");
inline const QString Expenses = QStringLiteral("支出管理");
inline const QString Statistics = QStringLiteral("销售统计");
inline const QString Contacts = QStringLiteral("通讯管理");
inline const QString Users = QStringLiteral("用户管理");
inline const QString Varieties = QStringLiteral("品种管理");
inline const QString Origins = QStringLiteral("产地管理");
inline const QString Packaging = QStringLiteral("包装管理");
inline const QString Notepad = QStringLiteral("记事本");
inline const QString DealerCache = QStringLiteral("TeaGG");
} // namespace tables

// Columns whose use the program chose.
namespace columns {
// The key of the lot a sale was taken from, in one of 销售记录's spare columns, as text.
inline const QString SaleLotKey = QStringLiteral("备用1");
} // namespace columns

// Every table of the database with its columns in physical order.
const std::vector<TableDef> &SchemaTables();
const TableDef *FindTable(const QString &name);
// The CREATE TABLE and CREATE INDEX statements (SQLite) that make an empty database.
QStringList SchemaStatements();

// The statements that bring an older file up to this schema: missing tables are created,
// columns added since (always at the end of a table) are appended with their type rules,
// missing indexes made. columnsOf gives a table's present column names, empty when absent.
// Nothing is ever dropped or reordered, so stored rows keep their positions.
QStringList SchemaUpgradeStatements(const std::function<QStringList(const QString &table)> &columnsOf);
