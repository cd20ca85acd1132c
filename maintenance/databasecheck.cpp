#include "maintenance/databasecheck.h"

#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "datalayer/query.h"
#include "datalayer/schema.h"

#include <QFileInfo>

namespace {

// The tables every file of this program has held since its first release, each with the last
// column it had then. A file without one of them, or with fewer columns, is not one of this
// program's databases. Tables and columns added later are made by the upgrade.
struct FirstTable {
    const QString &table;
    const char *lastColumn;
};
const FirstTable kFirstRelease[] = {
    {tables::Stock, "结算"},       {tables::Sales, "毛净茶"},    {tables::Returns, "经办人"},
    {tables::Debts, "备注"},       {tables::Expenses, "事项"},   {tables::Statistics, "欠款总额"},
    {tables::Contacts, "类型"},    {tables::Users, "备注"},      {tables::Varieties, "品种"},
    {tables::Origins, "产地"},     {tables::Packaging, "包装"},  {tables::Notepad, "内容"},
    {tables::DealerCache, "编号"},
};

QStringList columnsOn(Connection &conn, const QString &table)
{
    QString quoted = table;
    quoted.replace('"', QStringLiteral("\"\""));
    Query q(&conn, QStringLiteral("columns"));
    q.SetSQL(QStringLiteral("PRAGMA table_info(\"") + quoted + QStringLiteral("\")"));
    q.Open();
    QStringList names;
    const int name = q.FieldIndex(QStringLiteral("name"));
    for (int r = 0; r < q.RecordCount(); ++r)
        names << q.Text(r, name);
    return names;
}

QString integrityProblem(Connection &conn)
{
    Query q(&conn, QStringLiteral("integrity"));
    q.SetSQL(QStringLiteral("PRAGMA integrity_check"));
    q.Open();
    if (q.RecordCount() == 1 && q.Text(0, 0) == QStringLiteral("ok"))
        return QString();
    return QStringLiteral("数据库文件已损坏");
}

} // namespace

int FirstReleaseColumns(const QString &table)
{
    const TableDef *t = FindTable(table);
    for (const FirstTable &f : kFirstRelease) {
        if (!t || f.table != t->name)
            continue;
        for (size_t i = 0; i < t->columns.size(); ++i)
            if (t->columns[i].name == QString::fromUtf8(f.lastColumn))
                return int(i) + 1;
    }
    return 0;
}

QString CheckSchemaColumns(const std::function<QStringList(const QString &table)> &columnsOf)
{
    for (const TableDef &t : SchemaTables()) {
        const QStringList present = columnsOf(t.name);
        const int first = FirstReleaseColumns(t.name);
        if (present.isEmpty()) {
            if (first > 0)
                return QStringLiteral("缺少数据表 ") + t.name;
            continue; // added since: the upgrade makes it
        }
        // Rows are read by position: what the file holds must be this table's columns from the
        // first on, in order, at least as many as the first release had and no others.
        bool fits = present.size() >= first && present.size() <= qsizetype(t.columns.size());
        for (qsizetype i = 0; fits && i < present.size(); ++i)
            fits = present[i].compare(t.columns[size_t(i)].name, Qt::CaseInsensitive) == 0;
        if (!fits)
            return QStringLiteral("数据表 ") + t.name + QStringLiteral(" 的列与本系统不符");
    }
    return QString();
}

QString CheckDatabase(Connection &conn)
{
    try {
        const QString broken = integrityProblem(conn);
        if (!broken.isEmpty())
            return broken;
        return CheckSchemaColumns([&conn](const QString &table) { return columnsOn(conn, table); });
    } catch (const DbError &) {
        // The file opened, but a page could not be read back: damaged.
        return QStringLiteral("数据库文件已损坏");
    }
}

QString CheckDatabaseFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return QStringLiteral("文件不存在");
    if (info.size() == 0)
        return QStringLiteral("文件是空的");
    Connection conn(QStringLiteral("check"));
    conn.SetDatabase(path);
    conn.SetReadOnly(true);
    try {
        conn.Open();
    } catch (const DbError &e) {
        if (e.text().contains(QStringLiteral("not a database")))
            return QStringLiteral("不是本系统的数据库文件，或数据库密码不同");
        return QStringLiteral("无法打开数据库文件：") + e.text();
    }
    return CheckDatabase(conn);
}
