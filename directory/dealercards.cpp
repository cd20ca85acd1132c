#include "directory/dealercards.h"

#include "datalayer/dialect.h"
#include "datalayer/query.h"
#include "directory/tilelayout.h"

#include <QHash>

QString DealerSlotStatement(const QString &slot)
{
    return QStringLiteral("select * from TeaGG where 栏位 = ") + QuotedStr(slot);
}

const QStringList &DealerInsertColumns()
{
    static const QStringList columns = {"公司名称", "联系人", "商农", "电话", "传真", "手机", "在线QQ",
                                        "Email",    "网站",   "地址", "简介", "栏位", "更新时间", "编号"};
    return columns;
}

QString DealerInsertStatement(const QStringList &values)
{
    QStringList quoted;
    for (const QString &v : values)
        quoted << QuotedStr(v);
    return QStringLiteral("insert into TeaGG(") + DealerInsertColumns().join(',') + QStringLiteral(")values(") +
           quoted.join(',') + ')';
}

const QStringList &CardColumns()
{
    static const QStringList columns = DealerInsertColumns().mid(0, 10);
    return columns;
}

const QStringList &CardCaptions()
{
    static const QStringList captions = {"公司名称:", "联系人：", "商/农：", "电话：", "传真：",
                                         "手机：",    "在线QQ：", "E-mail：", "网站：", "地址："};
    return captions;
}

DealerCard CurrentCard(const Query &query)
{
    DealerCard card;
    for (const QString &column : CardColumns())
        card.values << query.FieldByName(column).AsString();
    card.intro = query.FieldByName(QStringLiteral("简介")).AsString();
    card.logo = query.ReadBlob(QStringLiteral("logoimg"));
    return card;
}

QList<int> AllSlots()
{
    QList<int> numbers;
    for (int n = 0; n < kTileCount; ++n)
        numbers << n;
    return numbers;
}

std::vector<TileSource> ReadTileSources(Connection &conn, const QList<int> &numbers)
{
    Query q(&conn, QStringLiteral("TileSources"));
    q.SetSQL(QStringLiteral("select 栏位,公司名称,logoimg from TeaGG order by ID"));
    q.Open();
    const int slotColumn = q.FieldIndex(QStringLiteral("栏位"));
    QHash<QString, int> firstRow;
    for (int r = q.RecordCount() - 1; r >= 0; --r)
        firstRow.insert(q.Text(r, slotColumn), r);
    std::vector<TileSource> sources;
    for (int n : numbers) {
        TileSource s;
        s.slot = n;
        const auto found = firstRow.constFind(QString::number(n));
        if (found != firstRow.cend()) {
            s.entry = true;
            s.company = q.Text(*found, q.FieldIndex(QStringLiteral("公司名称")));
            s.logo = q.Bytes(*found, q.FieldIndex(QStringLiteral("logoimg")));
        }
        sources.push_back(s);
    }
    return sources;
}
