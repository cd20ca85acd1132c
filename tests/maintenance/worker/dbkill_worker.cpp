// Works on the database named on the command line the way the program does, on one exclusive
// connection: writes, backups, restores and compactions in a random order, reporting each one
// on stdout before it starts and after it is done. A few writes come first, then the kind of
// work named (0 write, 1 backup, 2 restore, 3 compaction), so that the test's kill can aim at
// it. The kill test ends it with SIGKILL.
//   dbkill_worker <database> <backup folder> <first number> <seed> <kind>
#include "datalayer/connection.h"
#include "datalayer/runsql.h"
#include "maintenance/databasecopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>
#include <random>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

int fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", what.toUtf8().constData());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 6)
        return fail(QStringLiteral("usage: dbkill_worker <database> <backup folder> <first number> <seed> <kind>"));
    const QString database = QString::fromLocal8Bit(argv[1]);
    const QDir backups(QString::fromLocal8Bit(argv[2]));
    qint64 next = QByteArray(argv[3]).toLongLong();
    std::mt19937 rng(QByteArray(argv[4]).toUInt());
    std::uniform_int_distribution<int> choose(0, 99);
    const QString padding(1500, QChar(u'茶'));

    Connection conn(QStringLiteral("worker"));
    conn.SetDatabase(database);
    conn.SetExclusive(true);
    try {
        conn.Open();
    } catch (const std::exception &e) {
        return fail(QString::fromUtf8(e.what()));
    }
    say(QStringLiteral("open"));
    QStringList made; // the backups of this run, each reported whole
    // The kinds by the number drawn: below 50 a write, then backup, restore, compaction.
    const int aimed[] = {0, 50, 70, 85};
    int aim = aimed[QByteArray(argv[5]).toInt() & 3];
    const int before = std::uniform_int_distribution<int>(0, 2)(rng);
    for (int op = 0; op < 100000; ++op) {
        const int c = op < before ? 0 : aim >= 0 ? aim : choose(rng);
        // A restore needs a backup of this run first; the aimed work comes right after it.
        if (op >= before && !(aim == aimed[2] && made.isEmpty()))
            aim = -1;
        if (c < 50) {
            say(QStringLiteral("writing %1").arg(next));
            if (!RunSQL(QStringLiteral("insert into 支出管理(日期, 金额, 事项) values(#2026-12-10#, %1, '%2')")
                            .arg(next)
                            .arg(padding),
                        conn))
                return fail(conn.LastError());
            say(QStringLiteral("commit %1").arg(next++));
            // Rows that come and go leave free pages for a compaction to give back.
            if (!RunSQL(QStringLiteral("insert into 销售统计(毛净茶) values('%1')").arg(padding), conn) ||
                !RunSQL(QStringLiteral("delete from 销售统计"), conn))
                return fail(conn.LastError());
        } else if (c < 70 || (c < 85 && made.isEmpty())) {
            const QString name = QStringLiteral("b%1-%2.mdb").arg(next).arg(op);
            say(QStringLiteral("backing-up ") + name);
            const QString problem = BackupDatabase(conn, backups.filePath(name));
            if (!problem.isEmpty())
                return fail(problem);
            made << name;
            say(QStringLiteral("backup ") + name);
        } else if (c < 85) {
            const QString name = made[std::uniform_int_distribution<int>(0, int(made.size()) - 1)(rng)];
            say(QStringLiteral("restoring ") + name);
            const QString problem = RestoreDatabase(conn, backups.filePath(name));
            if (!problem.isEmpty())
                return fail(problem);
            say(QStringLiteral("restore ") + name);
        } else {
            say(QStringLiteral("compacting"));
            const QString problem = CompactDatabase(conn, database);
            if (!problem.isEmpty())
                return fail(problem);
            say(QStringLiteral("compact"));
        }
    }
    return 0;
}
