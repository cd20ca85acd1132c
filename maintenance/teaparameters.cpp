#include "maintenance/teaparameters.h"

#include "datalayer/dialect.h"
#include "datalayer/query.h"
#include "datalayer/schema.h"

const std::array<TeaList, 3> &TeaLists()
{
    static const std::array<TeaList, 3> lists{{{tables::Varieties, QStringLiteral("品种")},
                                               {tables::Origins, QStringLiteral("产地")},
                                               {tables::Packaging, QStringLiteral("包装")}}};
    return lists;
}

std::vector<TeaEntry> ReadTeaList(Connection &conn, const TeaList &list)
{
    Query q(&conn, QStringLiteral("tealist"));
    q.SetSQL(QStringLiteral("select ID,") + list.column + QStringLiteral(" from ") + list.table +
             QStringLiteral(" Order By ID"));
    q.Open();
    std::vector<TeaEntry> entries;
    for (int r = 0; r < q.RecordCount(); ++r)
        entries.push_back({q.Cell(r, 0).AsInteger(), q.Text(r, 1)});
    return entries;
}

QString AddTeaEntryStatement(const TeaList &list, const QString &text)
{
    return QStringLiteral("insert into ") + list.table + u'(' + list.column + QStringLiteral(") values(") +
           QuotedStr(text) + u')';
}

QString DeleteTeaEntryStatement(const TeaList &list, qint64 id)
{
    return QStringLiteral("DELETE FROM ") + list.table + QStringLiteral(" WHERE ID = ") + QString::number(id);
}

QString DeleteTeaEntriesStatement(const TeaList &list, const QString &text)
{
    return QStringLiteral("DELETE FROM ") + list.table + QStringLiteral(" WHERE ") + list.column +
           QStringLiteral(" = ") + QuotedStr(text);
}
