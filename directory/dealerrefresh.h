#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>
#include <functional>

class Connection;
class OdbcConnection;
class OdbcQuery;

// The cache refresh of the dealer directory: the remote table TeaGG is read whole into memory
// on a worker; the interface thread then brings the local cards up to it.

// One remote card: the fourteen texts of DealerInsertColumns() and its logo, decoded and
// encoded again as JPEG (empty when the server has none or it is no JPEG picture).
struct RemoteCard {
    QStringList values;
    QByteArray logo;
    QString Slot() const { return values.value(11); }
    QString Updated() const { return values.value(12); }
};

// Reads every remote card through the pair (closed and opened again with the connection
// string). The rows are read by position (1 to 11 and 13 to 15) and the logo by name.
// Throws DbError with the driver's message; also when stop() turns true.
QList<RemoteCard> ReadRemoteCards(OdbcConnection &conn, OdbcQuery &query, const QString &connectionString,
                                  const std::function<bool()> &stop);

// A local card as the refresh compares it.
struct LocalCard {
    qint64 id = 0;
    QString slot;
    QString updated;
};
// Every local card; throws DbError.
QList<LocalCard> ReadLocalCards(Connection &conn);

// A remote card that takes the place of the local cards of its slot (none when it is new).
struct CardReplacement {
    RemoteCard card;
    QList<qint64> oldIds;
};
// What a refresh changes: the local cards whose slot the server no longer has, and the remote
// cards that are new or whose 更新时间 differs. A slot the server lists twice takes its last
// card; a slot held by several local cards is replaced as a whole.
struct RefreshPlan {
    QList<LocalCard> prune;
    QList<CardReplacement> replace;
};
RefreshPlan PlanRefresh(const QList<LocalCard> &local, const QList<RemoteCard> &remote);

struct RefreshOutcome {
    int added = 0;
    int changed = 0;
    int removed = 0;
    QList<int> tiles;  // wall slots (0 to 49) whose card came, changed or went
    QString error;     // the engine's text when a write was refused; the writes before it stay
};
// Writes the plan: the pruning in one transaction, then each card replaced in a transaction of
// its own (its old rows deleted, the new one inserted with its logo), so a refused write leaves
// that card as it was. Stops at the first refusal.
RefreshOutcome ApplyRefresh(const RefreshPlan &plan, Connection &conn);

// The worker that reads the remote cards and ends; Cancel stops it at the next step.
class GGDownloadThread : public QThread {
    Q_OBJECT
public:
    GGDownloadThread(OdbcConnection *conn, OdbcQuery *query, const QString &connectionString, QObject *parent = nullptr);

    // Asks the worker to stop, also in the middle of the remote read. Any thread.
    void Cancel();
    // After finished: the cards, or the reason there are none.
    bool Succeeded() const { return m_succeeded; }
    const QList<RemoteCard> &Cards() const { return m_cards; }
    QString Error() const { return m_error; }

protected:
    void run() override;

private:
    OdbcConnection *m_conn;
    OdbcQuery *m_query;
    QString m_connectionString;
    bool m_succeeded = false;
    QList<RemoteCard> m_cards;
    QString m_error;
};
