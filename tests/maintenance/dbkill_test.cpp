#include "datalayer/connection.h"
#include "datalayer/query.h"
#include "maintenance/databasecheck.h"
#include "tests/support/testfolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <random>

namespace {

using Rows = QSet<qint64>;

// The numbers of the rows the worker writes, as the connection sees them.
Rows rowsOn(Connection &c)
{
    Query q(&c, QStringLiteral("rows"));
    q.SetSQL(QStringLiteral("Select 金额 From 支出管理"));
    q.Open();
    Rows rows;
    for (int r = 0; r < q.RecordCount(); ++r)
        rows.insert(qint64(q.Number(r, 0)));
    return rows;
}

// Opens a backup read-only with the key: whether it checks, and the rows it holds.
QString checkBackup(const QString &path, Rows &rows)
{
    Connection c(QStringLiteral("backup"));
    c.SetDatabase(path);
    c.SetReadOnly(true);
    c.Open();
    const QString problem = CheckDatabase(c);
    rows = rowsOn(c);
    return problem;
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1) : QByteArray();
}

// What the worker was doing when it was killed, by the line it printed last.
enum Kind { Writing, BackingUp, Restoring, Compacting, Between };
const char *const kKindNames[] = {"write", "backup", "restore", "compaction", "between"};

// A process that writes, backs up, restores and compacts on its one exclusive connection is
// killed at random moments; after every kill the database opens and checks "ok", holds the
// rows of the last reported restore plus every row reported after it, an interrupted restore
// left the old database or the new one whole, and every reported backup checks "ok" with the
// rows it was made with.
TEST(DatabaseKill, NothingReportedIsLostAndNothingIsLeftHalfDone)
{
    TestFolder folder;
    const QString db = folder.DatabasePath();
    const QString bak = folder.Path(QStringLiteral("bak"));
    ASSERT_TRUE(QDir().mkpath(bak));

    constexpr int kRuns = 40;
    std::mt19937 rng(20261210);
    const char *const startLines[] = {"writing ", "backing-up ", "restoring ", "compacting"};
    const int typical[] = {4, 250, 400, 15}; // ms an operation of each kind may take here

    Rows expected; // the rows the live database must hold
    QMap<QString, Rows> backups;
    QMap<QString, QByteArray> backupDigests;
    QSet<QString> unreported; // backups killed before their report, checked once
    int kills = 0;
    int killedIn[5] = {};
    QElapsedTimer clock;
    clock.start();
    // The time cap is only a backstop for a machine that crawls; the runs bound the test.
    for (int run = 0; run < kRuns && clock.elapsed() < 150000; ++run) {
        const int target = run % 4; // spread the kills over the four kinds of work
        QProcess worker;
        worker.start(QStringLiteral(DBKILL_WORKER_PATH),
                     {db, bak, QString::number(qint64(run + 1) * 1000000), QString::number(rng()),
                      QString::number(target)});
        ASSERT_TRUE(worker.waitForStarted(5000));
        // Wait for the kind of work this run aims at, then kill somewhere inside it.
        QByteArray out;
        QElapsedTimer wait;
        wait.start();
        while (!out.contains(startLines[target]) && worker.state() == QProcess::Running && wait.elapsed() < 10000) {
            worker.waitForReadyRead(100);
            out += worker.readAllStandardOutput();
        }
        ASSERT_EQ(worker.state(), QProcess::Running) << worker.readAllStandardError().toStdString();
        QThread::msleep(std::uniform_int_distribution<int>(0, typical[target])(rng));
        worker.kill(); // SIGKILL
        ASSERT_TRUE(worker.waitForFinished(5000));
        ++kills;
        out += worker.readAllStandardOutput();

        // Follow what the worker reported, in order.
        Kind inFlight = Between;
        QString flightName;
        Rows beforeFlight;
        for (const QByteArray &raw : out.split('\n')) {
            const QString line = QString::fromUtf8(raw);
            const QString arg = line.section(' ', 1);
            if (line.isEmpty())
                continue;
            inFlight = Between;
            if (line.startsWith("writing ")) {
                inFlight = Writing;
                flightName = arg;
            } else if (line.startsWith("commit ")) {
                expected.insert(arg.toLongLong());
            } else if (line.startsWith("backing-up ")) {
                inFlight = BackingUp;
            } else if (line.startsWith("backup ")) {
                backups[arg] = expected;
                const QString path = QDir(bak).filePath(arg);
                Rows held;
                EXPECT_EQ(checkBackup(path, held), "") << arg.toStdString();
                EXPECT_EQ(held, expected) << "backup " << arg.toStdString();
                backupDigests[arg] = digest(path);
            } else if (line.startsWith("restoring ")) {
                inFlight = Restoring;
                flightName = arg;
            } else if (line.startsWith("restore ")) {
                ASSERT_TRUE(backups.contains(arg));
                expected = backups[arg];
            } else if (line.startsWith("compacting")) {
                inFlight = Compacting;
            }
        }
        ++killedIn[inFlight];

        // The next start of the program: the exclusive open rolls back what the kill left unfinished.
        Connection live(QStringLiteral("live"));
        live.SetDatabase(db);
        live.SetExclusive(true);
        live.Open();
        ASSERT_EQ(CheckDatabase(live), "") << "after kill " << kills;
        const Rows actual = rowsOn(live);
        live.Close();
        if (inFlight == Writing) {
            Rows withIt = expected;
            withIt.insert(flightName.toLongLong());
            EXPECT_TRUE(actual == expected || actual == withIt) << "kill " << kills << " during a write";
        } else if (inFlight == Restoring) {
            EXPECT_TRUE(actual == expected || actual == backups.value(flightName))
                << "kill " << kills << " during a restore left neither database";
        } else {
            EXPECT_EQ(actual, expected) << "kill " << kills << " while " << kKindNames[inFlight];
        }
        expected = actual; // a write or restore in flight may have finished
        // A kill between a backup's rename into place and its report leaves one more whole copy,
        // never a partial one: unfinished copies keep their hidden temporary names.
        for (const QString &name : QDir(bak).entryList({QStringLiteral("*.mdb")}, QDir::Files)) {
            if (backups.contains(name) || unreported.contains(name))
                continue;
            Rows held;
            EXPECT_EQ(checkBackup(QDir(bak).filePath(name), held), "") << "unreported backup " << name.toStdString();
            unreported.insert(name);
        }
    }
    const qint64 elapsed = clock.elapsed();

    // Every reported backup is still as it was checked: restores read them, nothing wrote them.
    for (auto b = backupDigests.cbegin(); b != backupDigests.cend(); ++b)
        EXPECT_EQ(digest(QDir(bak).filePath(b.key())), b.value()) << b.key().toStdString();

    std::cout << "kills: " << kills << ", unreported backups: " << unreported.size() << " (write " << killedIn[Writing] << ", backup " << killedIn[BackingUp]
              << ", restore " << killedIn[Restoring] << ", compaction " << killedIn[Compacting] << ", between "
              << killedIn[Between] << "), backups reported: " << backups.size()
              << ", rows at the end: " << expected.size() << ", time: " << elapsed << " ms\n";
    RecordProperty("kills", kills);
    EXPECT_GE(killedIn[BackingUp] + killedIn[Restoring] + killedIn[Compacting], 20);
    for (const Kind k : {BackingUp, Restoring, Compacting})
        EXPECT_GE(killedIn[k], 1) << "no kill landed in a " << kKindNames[k];
}

} // namespace
