#include "datalayer/connection.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "tests/support/testfolder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <random>

namespace {

constexpr int kSales = 1000;
constexpr int kKills = 25;
constexpr double kStart = 100000;

// A process killed in the middle of its sales leaves every finished sale with its stock
// change and no half of one.
TEST(SaleKill, EverySaleKeepsItsStockChangeThroughKills)
{
    TestFolder folder;
    const QString db = folder.DatabasePath();
    {
        Connection c;
        c.SetDatabase(db);
        ASSERT_TRUE(RunSQL(QStringLiteral("insert into 库存管理(ID,编号,品种,剩余重量,总重量,销售单价) values(1,'K1','龙井',") +
                               QString::number(kStart) + ',' + QString::number(kStart) + QStringLiteral(",38)"),
                           c))
            << c.LastError().toStdString();
    }

    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> pause(0, 40);
    int kills = 0;
    bool finished = false;
    QElapsedTimer clock;
    clock.start();
    while (!finished && clock.elapsed() < 45000) {
        QProcess worker;
        worker.start(QStringLiteral(SALE_WORKER_PATH), {db, QString::number(kSales)});
        ASSERT_TRUE(worker.waitForStarted(5000));
        if (kills < kKills) {
            // Kill only after the database is open, so that every kill lands among the sales.
            worker.waitForReadyRead(10000);
            QThread::msleep(pause(rng));
            if (worker.state() == QProcess::Running) {
                worker.kill(); // SIGKILL
                worker.waitForFinished(5000);
                ++kills;
                continue;
            }
        }
        ASSERT_TRUE(worker.waitForFinished(30000));
        ASSERT_EQ(worker.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(worker.exitCode(), 0) << worker.readAllStandardError().toStdString();
        finished = true;
    }
    const qint64 elapsed = clock.elapsed();
    ASSERT_TRUE(finished) << "the worker did not finish in time";

    Connection c;
    c.SetDatabase(db);
    Query q(&c, QStringLiteral("check"));
    q.SetSQL(QStringLiteral("PRAGMA integrity_check"));
    q.Open();
    EXPECT_EQ(q.Fields(0).AsString(), QStringLiteral("ok"));
    q.Close();
    q.SetSQL(QStringLiteral("Select count(*), sum(重量) From 销售记录"));
    q.Open();
    const int sales = int(q.Fields(0).AsInteger());
    const double sold = q.Fields(1).AsFloat();
    q.Close();
    q.SetSQL(QStringLiteral("Select 剩余重量 From 库存管理 where ID = 1"));
    q.Open();
    const double remaining = q.Fields(0).AsFloat();

    std::cout << "kills: " << kills << ", sales completed: " << sales << ", time: " << elapsed << " ms\n";
    RecordProperty("kills", kills);
    RecordProperty("sales", sales);
    EXPECT_GE(kills, 20);
    EXPECT_EQ(sales, kSales);
    EXPECT_NEAR(kStart - remaining, sold, 1e-6);
}

} // namespace
