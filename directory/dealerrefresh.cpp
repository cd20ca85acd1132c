#include "directory/dealerrefresh.h"

#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "datalayer/jpegimage.h"
#include "datalayer/odbcconnection.h"
#include "datalayer/query.h"
#include "directory/dealercards.h"
#include "directory/tilelayout.h"

#include <QHash>
#include <QSet>

namespace {
// Remote columns by position: 0 is the key and 12 the logo, which is read by name.
const int kRemotePositions[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15};

// The wall slot a card's 栏位 names, or -1.
int wallSlot(const QString &slot)
{
    bool ok = false;
    const int n = slot.toInt(&ok);
    return ok && n >= 0 && n < kTileCount && QString::number(n) == slot ? n : -1;
}
} // namespace

QList<RemoteCard> ReadRemoteCards(OdbcConnection &conn, OdbcQuery &query, const QString &connectionString,
                                  const std::function<bool()> &stop)
{
    const auto stopIfAsked = [&] {
        if (stop && stop())
            throw DbError(QStringLiteral("cancelled"));
    };
    query.Close();
    stopIfAsked();
    conn.Close();
    conn.Open(connectionString);
    stopIfAsked();
    query.SetSQL(kDealerListStatement);
    query.Open();
    const int logo = query.FieldIndex(QStringLiteral("logoimg"));
    if (query.FieldCount() < 16 || logo < 0)
        throw DbError(QStringLiteral("服务器上的 TeaGG 表应有 16 列，其中一列为 logoimg；它有 %1 列").arg(query.FieldCount()));
    QList<RemoteCard> cards;
    for (int r = 0; r < query.RecordCount(); ++r) {
        stopIfAsked();
        RemoteCard card;
        for (int position : kRemotePositions)
            card.values << query.Text(r, position);
        const QByteArray bytes = query.Bytes(r, logo);
        if (!bytes.isEmpty())
            card.logo = EncodeJpeg(DecodeJpeg(bytes)); // empty when it is no JPEG picture
        cards << card;
    }
    query.Close();
    conn.Close();
    return cards;
}

QList<LocalCard> ReadLocalCards(Connection &conn)
{
    Query q(&conn, QStringLiteral("LocalCards"));
    q.SetSQL(QStringLiteral("select ID,栏位,更新时间 from TeaGG order by ID"));
    q.Open();
    QList<LocalCard> cards;
    for (int r = 0; r < q.RecordCount(); ++r)
        cards << LocalCard{qint64(q.Number(r, 0)), q.Text(r, 1), q.Text(r, 2)};
    return cards;
}

RefreshPlan PlanRefresh(const QList<LocalCard> &local, const QList<RemoteCard> &remote)
{
    QHash<QString, QList<const LocalCard *>> localBySlot;
    for (const LocalCard &card : local)
        localBySlot[card.slot] << &card;
    QHash<QString, int> lastOfSlot;
    for (int i = 0; i < remote.size(); ++i)
        lastOfSlot[remote[i].Slot()] = i;

    RefreshPlan plan;
    for (int i = 0; i < remote.size(); ++i) {
        const RemoteCard &card = remote[i];
        if (lastOfSlot.value(card.Slot()) != i)
            continue;
        const QList<const LocalCard *> held = localBySlot.value(card.Slot());
        if (held.size() == 1 && held.first()->updated == card.Updated())
            continue;
        CardReplacement replacement{card, {}};
        for (const LocalCard *old : held)
            replacement.oldIds << old->id;
        plan.replace << replacement;
    }
    for (const LocalCard &card : local)
        if (!lastOfSlot.contains(card.slot))
            plan.prune << card;
    return plan;
}

RefreshOutcome ApplyRefresh(const RefreshPlan &plan, Connection &conn)
{
    RefreshOutcome out;
    const auto touch = [&out](const QString &slot) {
        const int n = wallSlot(slot);
        if (n >= 0 && !out.tiles.contains(n))
            out.tiles << n;
    };
    const auto deleteStatement = [](qint64 id) { return QStringLiteral("DELETE FROM TeaGG WHERE ID = ") + QString::number(id); };
    try {
        if (!plan.prune.isEmpty()) {
            conn.BeginTransaction();
            for (const LocalCard &card : plan.prune)
                conn.Execute(deleteStatement(card.id));
            conn.Commit();
            out.removed = int(plan.prune.size());
            for (const LocalCard &card : plan.prune)
                touch(card.slot);
        }
        for (const CardReplacement &r : plan.replace) {
            conn.BeginTransaction();
            for (qint64 id : r.oldIds)
                conn.Execute(deleteStatement(id));
            conn.Execute(DealerInsertStatement(r.card.values));
            if (!r.card.logo.isEmpty()) {
                Query added(&conn, QStringLiteral("NewCard"));
                added.SetSQL(QStringLiteral("select ID,logoimg from TeaGG where ID = last_insert_rowid()"));
                added.Open();
                added.WriteBlob(QStringLiteral("logoimg"), r.card.logo);
            }
            conn.Commit();
            ++(r.oldIds.isEmpty() ? out.added : out.changed);
            touch(r.card.Slot());
        }
    } catch (const DbError &e) {
        out.error = e.text();
        try {
            conn.Rollback();
        } catch (const DbError &) {
            // The engine has already rolled back.
        }
    }
    return out;
}

GGDownloadThread::GGDownloadThread(OdbcConnection *conn, OdbcQuery *query, const QString &connectionString, QObject *parent)
    : QThread(parent), m_conn(conn), m_query(query), m_connectionString(connectionString)
{
}

void GGDownloadThread::Cancel()
{
    requestInterruption();
    m_query->Cancel();
}

void GGDownloadThread::run()
{
    try {
        m_cards = ReadRemoteCards(*m_conn, *m_query, m_connectionString, [this] { return isInterruptionRequested(); });
        m_succeeded = true;
    } catch (const DbError &e) {
        m_error = e.text();
    }
    m_query->Close();
    m_conn->Close();
}
