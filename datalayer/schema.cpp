#include "datalayer/schema.h"

namespace {
using T = ColumnType;

std::vector<TableDef> makeTables()
{
    return {
        {tables::Stock,
         {{"ID", T::Key},        {"编号", T::Text},       {"品种", T::Text},     {"产地", T::Text},
          {"供应商", T::Text},   {"毛茶价", T::Number},   {"总重量", T::Number}, {"剩余重量", T::Number},
          {"总金额", T::Number}, {"包装", T::Text},       {"入库日期", T::Date}, {"经办人", T::Text},
          {"实付款", T::Number}, {"备注", T::LongText},   {"毛净茶", T::Text},   {"销售单价", T::Number},
          {"配茶", T::YesNo},    {"配茶详细", T::LongText}, {"配茶师", T::Text}, {"净茶价", T::Number},
          {"利润总额", T::Number}, {"结算", T::YesNo}}},
        {tables::Sales,
         {{"ID", T::Key},       {"编号", T::Text},     {"品种", T::Text},   {"产地", T::Text},
          {"备用1", T::Text},   {"备用2", T::Text},    {"客户", T::Text},   {"客户类型", T::Text},
          {"日期", T::Date},    {"单价", T::Number},   {"重量", T::Number}, {"总金额", T::Number},
          {"备注", T::LongText}, {"实收款", T::Number}, {"毛净茶", T::Text}}},
        {tables::Returns,
         {{"ID", T::Key},         {"编号", T::Text},       {"供应商", T::Text},   {"毛净茶", T::Text},
          {"退回重量", T::Number}, {"退回金额", T::Number}, {"退回日期", T::Date}, {"备注", T::LongText},
          {"品种", T::Text},      {"经办人", T::Text},     {"库存ID", T::Number}}},
        {tables::Debts,
         {{"ID", T::Key}, {"客户名称", T::Text}, {"联系人", T::Text}, {"项目", T::Text},
          {"金额", T::Number}, {"日期", T::Date}, {"备注", T::LongText}}},
        {tables::Expenses, {{"ID", T::Key}, {"日期", T::Date}, {"金额", T::Number}, {"事项", T::LongText}}},
        {tables::Statistics,
         {{"ID", T::Key}, {"日期", T::Date}, {"毛净茶", T::Text}, {"总重量", T::Number}, {"总金额", T::Number},
          {"实收款", T::Number}, {"总支出", T::Number}, {"欠款总额", T::Number}}},
        {tables::Contacts,
         {{"ID", T::Key},     {"名称", T::Text},     {"联系人", T::Text},   {"电话", T::Text},
          {"手机", T::Text},  {"传真", T::Text},     {"开户银行", T::Text}, {"银行账号", T::Text},
          {"地址", T::Text},  {"备注", T::LongText}, {"类型", T::Text}}},
        {tables::Users,
         {{"ID", T::Key}, {"用户名", T::Text}, {"密码", T::Text}, {"权限", T::Text}, {"备注", T::LongText}}},
        {tables::Varieties, {{"ID", T::Key}, {"品种", T::Text}}},
        {tables::Origins, {{"ID", T::Key}, {"产地", T::Text}}},
        {tables::Packaging, {{"ID", T::Key}, {"包装", T::Text}}},
        {tables::Notepad,
         {{"ID", T::Key}, {"用户名", T::Text}, {"修改日期", T::Date}, {"提醒", T::YesNo},
          {"提醒时间", T::Date}, {"标题", T::Text}, {"内容", T::LongText},
          // The reminder time a notice was last shown for: a changed time reminds again.
          {"已提醒时间", T::Date}}},
        {tables::DealerCache,
         {{"ID", T::Key},      {"公司名称", T::Text}, {"联系人", T::Text},   {"商农", T::Text},
          {"电话", T::Text},   {"传真", T::Text},     {"手机", T::Text},     {"在线QQ", T::Text},
          {"Email", T::Text},  {"网站", T::Text},     {"地址", T::Text},     {"简介", T::LongText},
          {"logoimg", T::Image}, {"栏位", T::Text},   {"更新时间", T::Text}, {"编号", T::Text}}},
    };
}

// Lookups and daily sums filter by these. Append only: an index is known by its position.
const char *const kIndexes[][2] = {
    {"库存管理", "编号"},     {"库存管理", "入库日期"}, {"库存管理", "配茶"},
    {"销售记录", "编号"},     {"销售记录", "日期"},     {"退货管理", "编号"},
    {"退货管理", "退回日期"}, {"欠款管理", "客户名称"}, {"欠款管理", "日期"},
    {"支出管理", "日期"},     {"销售统计", "日期"},     {"通讯管理", "名称"},
    {"通讯管理", "类型"},     {"用户管理", "用户名"},   {"记事本", "用户名"},
    {"TeaGG", "栏位"},        {"销售记录", "备用1"}, // a lot's sales, by the lot's key
};

QString quoteName(const QString &name)
{
    return '"' + name + '"';
}

QString columnSql(const ColumnDef &c)
{
    const QString n = quoteName(c.name);
    switch (c.type) {
    case T::Key:
        return n + " INTEGER PRIMARY KEY AUTOINCREMENT";
    case T::Text:
    case T::LongText:
        return n + " TEXT COLLATE NOCASE";
    case T::Number:
        // REAL affinity turns '12.5' into 12.5; what stays text ('abc', '') fails the check.
        return n + QString(" REAL CHECK(%1 IS NULL OR CAST(%1 AS REAL) = %1)").arg(n);
    case T::Date:
        // The '+0 days' modifier makes the engine normalise, so 2009-02-30 no longer equals itself.
        return n + QString(" DATE CHECK(%1 IS NULL OR coalesce(date(%1, '+0 days')=%1 OR datetime(%1, '+0 days')=%1, 0))").arg(n);
    case T::YesNo:
        return n + " BOOLEAN NOT NULL DEFAULT 0";
    case T::Image:
        return n + " BLOB";
    }
    return n;
}
} // namespace

const std::vector<TableDef> &SchemaTables()
{
    static const std::vector<TableDef> tables = makeTables();
    return tables;
}

const TableDef *FindTable(const QString &name)
{
    for (const TableDef &t : SchemaTables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

namespace {
QString createTableSql(const TableDef &t)
{
    QStringList cols;
    for (const ColumnDef &c : t.columns)
        cols << columnSql(c);
    return "CREATE TABLE " + quoteName(t.name) + " (" + cols.join(", ") + ")";
}

QStringList indexStatements(const QString &prefix)
{
    QStringList out;
    int n = 0;
    for (const auto &ix : kIndexes)
        out << QString("%1 ix%2 ON %3 (%4)")
                   .arg(prefix)
                   .arg(++n)
                   .arg(quoteName(QString::fromUtf8(ix[0])), quoteName(QString::fromUtf8(ix[1])));
    return out;
}
} // namespace

QStringList SchemaStatements()
{
    QStringList out;
    for (const TableDef &t : SchemaTables())
        out << createTableSql(t);
    return out + indexStatements(QStringLiteral("CREATE INDEX"));
}

QStringList SchemaUpgradeStatements(const std::function<QStringList(const QString &table)> &columnsOf)
{
    QStringList out;
    for (const TableDef &t : SchemaTables()) {
        const QStringList present = columnsOf(t.name);
        if (present.isEmpty()) {
            out << createTableSql(t);
            continue;
        }
        for (const ColumnDef &c : t.columns)
            if (!present.contains(c.name, Qt::CaseInsensitive))
                out << "ALTER TABLE " + quoteName(t.name) + " ADD COLUMN " + columnSql(c);
    }
    return out + indexStatements(QStringLiteral("CREATE INDEX IF NOT EXISTS"));
}
