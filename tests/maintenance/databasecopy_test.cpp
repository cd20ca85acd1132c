#include "datalayer/dberror.h"
#include "datalayer/query.h"
#include "datalayer/schema.h"
#include "datalayer/sql_ado_conn.h"
#include "maintenance/databasecheck.h"
#include "maintenance/databasecopy.h"
#include "tests/maintenance/badsources.h"
#include "tests/maintenance/dbfiles.h"
#include "tests/support/screentest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using dbfiles::Digest;

class DatabaseCopy : public ScreenTest {
protected:
    QString live() const { return folder.DatabasePath(); }
    QString path(const QString &name) const { return folder.Path(name); }
    QStringList leftovers(const QString &dir) const
    {
        return QDir(path(dir)).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // n lots in one statement, each with a remark of textSize characters.
    void addLots(int n, int textSize)
    {
        conn().ExecuteNative(QStringLiteral("INSERT INTO 库存管理(编号, 备注) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                            "SELECT i + 1 FROM n WHERE i < %1) SELECT 'L' || i, substr(hex(zeroblob(%2)), 1, %2) FROM n")
                                 .arg(n)
                                 .arg(textSize));
    }
};

TEST_F(DatabaseCopy, ABackupIsAnEncryptedCheckedCopyOfTheLiveRows)
{
    Run("insert into 库存管理(编号, 品种) values('K1', '龙井')");
    Run("insert into 销售记录(编号, 客户) values('K1', 'O''Brien')");
    ASSERT_TRUE(QDir().mkpath(path("bak")));
    EXPECT_EQ(BackupDatabase(conn(), path("bak/a.mdb")), "");
    EXPECT_TRUE(conn().Connected());
    EXPECT_EQ(CheckDatabaseFile(path("bak/a.mdb")), "");
    EXPECT_FALSE(dbfiles::PlainReaderOpens(path("bak/a.mdb")));
    EXPECT_EQ(dbfiles::Scalar(path("bak/a.mdb"), "select 品种 from 库存管理 where 编号 = 'K1'"), "龙井");
    EXPECT_EQ(dbfiles::Scalar(path("bak/a.mdb"), "select 客户 from 销售记录"), "O'Brien");
    EXPECT_EQ(dbfiles::Scalar(path("bak/a.mdb"), "select count(*) from sqlite_master where type = 'index'"),
              Scalar("select count(*) from sqlite_master where type = 'index'"));
    EXPECT_EQ(leftovers("bak"), QStringList());
    // The live database goes on, and a second copy over the first holds the later rows.
    Run("insert into 库存管理(编号) values('K2')");
    EXPECT_EQ(BackupDatabase(conn(), path("bak/a.mdb")), "");
    EXPECT_EQ(dbfiles::Scalar(path("bak/a.mdb"), "select count(*) from 库存管理"), "2");
}

TEST_F(DatabaseCopy, ABackupNeverLandsOnTheLiveFile)
{
    const QByteArray before = Digest(live());
    EXPECT_NE(BackupDatabase(conn(), live()), "");
    // Not through another spelling of the path or a link to its folder either.
    EXPECT_NE(BackupDatabase(conn(), path("data/../data/datas.mdb")), "");
    ASSERT_TRUE(QFile::link(path("data"), path("alias")));
    EXPECT_NE(BackupDatabase(conn(), path("alias/datas.mdb")), "");
    EXPECT_EQ(Digest(live()), before);
    EXPECT_EQ(leftovers("data"), QStringList());
    EXPECT_TRUE(SameFile(live(), path("alias/datas.mdb")));
    EXPECT_FALSE(SameFile(live(), path("alias/other.mdb")));
}

TEST_F(DatabaseCopy, ABackupIntoAMissingFolderFailsAndLeavesNothing)
{
    EXPECT_NE(BackupDatabase(conn(), path("nowhere/a.mdb")), "");
    EXPECT_FALSE(QFileInfo::exists(path("nowhere")));
}

TEST_F(DatabaseCopy, WhileHeldTheConnectionRefusesToOpen)
{
    conn().SetHeld(true);
    conn().Close();
    Query q(&conn(), "q");
    q.SetSQL("select count(*) from 库存管理");
    try {
        q.Open();
        FAIL() << "opened while held";
    } catch (const DbError &e) {
        EXPECT_EQ(e.text(), kConnectionHeldText);
    }
    conn().SetHeld(false);
    q.Open();
    EXPECT_EQ(q.Fields(0).AsString(), "0");
}

TEST_F(DatabaseCopy, EveryBadSourceIsRefusedAndNothingChanges)
{
    addLots(300, 100); // enough pages for a damaged one in the middle
    ASSERT_TRUE(QDir().mkpath(path("bak")));
    ASSERT_EQ(BackupDatabase(conn(), path("bak/good.mdb")), "");
    Run("insert into 库存管理(编号) values('after')");
    for (const BadSource &bad : BadSources()) {
        SCOPED_TRACE(bad.name);
        const QString source = path(QStringLiteral("bak/%1.mdb").arg(QString::fromUtf8(bad.name)));
        bad.make(source, path("bak/good.mdb"));
        const QByteArray liveBefore = Digest(live());
        const QByteArray sourceBefore = Digest(source);
        EXPECT_EQ(RestoreDatabase(conn(), source, path("bak/first.mdb")), QString::fromUtf8(bad.reason));
        EXPECT_EQ(Digest(live()), liveBefore);
        EXPECT_EQ(Digest(source), sourceBefore);
        EXPECT_FALSE(QFileInfo::exists(path("bak/first.mdb"))); // refused before the backup first
        EXPECT_EQ(Scalar("select count(*) from 库存管理 where 编号 = 'after'"), "1");
        EXPECT_EQ(leftovers("data"), QStringList());
    }
}

TEST_F(DatabaseCopy, ARestoreBringsBackTheCopyAndTheConnectionWorks)
{
    Run("insert into 库存管理(编号) values('K1')");
    ASSERT_TRUE(QDir().mkpath(path("bak")));
    ASSERT_EQ(BackupDatabase(conn(), path("bak/one.mdb")), "");
    Run("insert into 库存管理(编号) values('K2')");
    const QByteArray source = Digest(path("bak/one.mdb"));
    EXPECT_EQ(RestoreDatabase(conn(), path("bak/one.mdb")), "");
    EXPECT_TRUE(conn().Connected());
    EXPECT_FALSE(conn().Held());
    EXPECT_EQ(Scalar("select group_concat(编号) from 库存管理"), "K1");
    EXPECT_EQ(Digest(path("bak/one.mdb")), source); // the source stays as it was
    EXPECT_EQ(leftovers("data"), QStringList());
    EXPECT_FALSE(dbfiles::PlainReaderOpens(live()));
    Run("insert into 库存管理(编号) values('K3')");
    EXPECT_EQ(Scalar("select group_concat(编号) from 库存管理"), "K1,K3");
}

TEST_F(DatabaseCopy, TheBackupBeforeARestoreKeepsTheReplacedRows)
{
    Run("insert into 库存管理(编号) values('old')");
    ASSERT_TRUE(QDir().mkpath(path("bak")));
    ASSERT_EQ(BackupDatabase(conn(), path("bak/one.mdb")), "");
    Run("insert into 库存管理(编号) values('new')");
    EXPECT_EQ(RestoreDatabase(conn(), path("bak/one.mdb"), path("bak/before.mdb")), "");
    EXPECT_EQ(Scalar("select count(*) from 库存管理"), "1");
    EXPECT_EQ(dbfiles::Scalar(path("bak/before.mdb"), "select count(*) from 库存管理"), "2");
}

TEST_F(DatabaseCopy, AFailedBackupFirstStopsTheRestore)
{
    Run("insert into 库存管理(编号) values('K1')");
    ASSERT_TRUE(QDir().mkpath(path("bak")));
    ASSERT_EQ(BackupDatabase(conn(), path("bak/one.mdb")), "");
    Run("insert into 库存管理(编号) values('K2')");
    const QByteArray liveBefore = Digest(live());
    const QString failed = RestoreDatabase(conn(), path("bak/one.mdb"), path("no/such/folder/x.mdb"));
    EXPECT_TRUE(failed.startsWith("还原前的备份失败")) << failed.toStdString();
    EXPECT_EQ(Digest(live()), liveBefore);
    EXPECT_EQ(Scalar("select count(*) from 库存管理"), "2");
}

TEST_F(DatabaseCopy, TheBackupFirstNeverOverwritesTheSource)
{
    ASSERT_TRUE(QDir().mkpath(path("bak")));
    ASSERT_EQ(BackupDatabase(conn(), path("bak/one.mdb")), "");
    Run("insert into 库存管理(编号) values('K2')");
    const QByteArray source = Digest(path("bak/one.mdb"));
    EXPECT_NE(RestoreDatabase(conn(), path("bak/one.mdb"), path("bak/./one.mdb")), "");
    EXPECT_EQ(Digest(path("bak/one.mdb")), source);
    EXPECT_EQ(Scalar("select count(*) from 库存管理"), "1");
}

TEST_F(DatabaseCopy, TheLiveFileIsNoSourceForARestore)
{
    const QByteArray before = Digest(live());
    EXPECT_NE(RestoreDatabase(conn(), live()), "");
    EXPECT_EQ(Digest(live()), before);
    EXPECT_TRUE(conn().Connected());
}

TEST_F(DatabaseCopy, AnOlderFileIsRestoredAndBroughtUpToTheSchema)
{
    QStringList older = FirstReleaseSchema();
    older << QStringLiteral("INSERT INTO \"库存管理\"(编号) VALUES('老')");
    ASSERT_TRUE(dbfiles::MakeFile(path("older.mdb"), older));
    EXPECT_EQ(CheckDatabaseFile(path("older.mdb")), "");
    EXPECT_EQ(RestoreDatabase(conn(), path("older.mdb")), "");
    EXPECT_EQ(Scalar("select 编号 from 库存管理"), "老");
    EXPECT_EQ(Scalar("select count(*) from sqlite_master where type = 'index'").toInt(),
              SchemaStatements().filter("CREATE INDEX").size());
    for (const TableDef &t : SchemaTables()) {
        Query q(&conn(), "cols");
        q.SetSQL("PRAGMA table_info(\"" + t.name + "\")");
        q.Open();
        EXPECT_EQ(q.RecordCount(), int(t.columns.size())) << t.name.toStdString();
    }
}

TEST(SchemaCheck, OlderFilesPassAndForeignOnesDoNot)
{
    auto schemaColumns = [](const QString &table) {
        QStringList names;
        for (const ColumnDef &c : FindTable(table)->columns)
            names << c.name;
        return names;
    };
    EXPECT_EQ(CheckSchemaColumns(schemaColumns), "");
    // Columns added since the first release may be missing: the upgrade adds them.
    EXPECT_EQ(CheckSchemaColumns([&](const QString &t) { return schemaColumns(t).mid(0, FirstReleaseColumns(t)); }), "");
    // Names compare as the engine compares them.
    EXPECT_EQ(CheckSchemaColumns([&](const QString &t) {
                  QStringList c = schemaColumns(t);
                  c[0] = c[0].toLower();
                  return c;
              }),
              "");
    const struct {
        const char *what;
        std::function<QStringList(QStringList)> change; // applied to 销售记录 only
    } cases[] = {
        {"table absent", [](QStringList) { return QStringList(); }},
        {"first-release column missing at the end",
         [](QStringList c) { return c.mid(0, FirstReleaseColumns(tables::Sales) - 1); }},
        {"columns in another order", [](QStringList c) { c.swapItemsAt(1, 2); return c; }},
        {"a column this program does not know", [](QStringList c) { return c << QStringLiteral("新列"); }},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.what);
        const QString problem = CheckSchemaColumns([&](const QString &t) {
            return t == tables::Sales ? k.change(schemaColumns(t)) : schemaColumns(t);
        });
        EXPECT_TRUE(problem.contains(tables::Sales)) << problem.toStdString();
    }
}

TEST_F(DatabaseCopy, CompactionShrinksTheLiveFileAndKeepsRowsAndKey)
{
    addLots(400, 500);
    Run("delete from 库存管理 where ID > 20");
    const qint64 before = QFileInfo(live()).size();
    EXPECT_EQ(CompactDatabase(conn(), live()), "");
    EXPECT_LT(QFileInfo(live()).size(), before / 4);
    EXPECT_EQ(Scalar("select count(*) from 库存管理"), "20");
    EXPECT_EQ(Scalar("PRAGMA integrity_check"), "ok");
    EXPECT_FALSE(dbfiles::PlainReaderOpens(live()));
    EXPECT_EQ(CompactDatabase(conn(), live()), ""); // twice in a row
}

TEST_F(DatabaseCopy, CompactionOfAnotherFileChecksItFirst)
{
    addLots(200, 500);
    ASSERT_TRUE(QDir().mkpath(path("bak")));
    ASSERT_EQ(BackupDatabase(conn(), path("bak/full.mdb")), "");
    {
        Connection c;
        c.SetDatabase(path("bak/full.mdb"));
        c.Execute("delete from 库存管理 where ID > 10");
    }
    const qint64 before = QFileInfo(path("bak/full.mdb")).size();
    EXPECT_EQ(CompactDatabase(conn(), path("bak/full.mdb")), "");
    EXPECT_LT(QFileInfo(path("bak/full.mdb")).size(), before / 4);
    EXPECT_EQ(dbfiles::Scalar(path("bak/full.mdb"), "select count(*) from 库存管理"), "10");
    EXPECT_FALSE(dbfiles::PlainReaderOpens(path("bak/full.mdb")));
    EXPECT_EQ(leftovers("bak"), QStringList());

    // A file from before columns were added is compacted as it is.
    ASSERT_TRUE(dbfiles::MakeFile(path("bak/older.mdb"), FirstReleaseSchema()));
    EXPECT_EQ(CompactDatabase(conn(), path("bak/older.mdb")), "");
    EXPECT_EQ(CheckDatabaseFile(path("bak/older.mdb")), "");

    ASSERT_TRUE(dbfiles::MakeFile(path("bak/other.mdb"), SchemaStatements(), "another"));
    ASSERT_TRUE(dbfiles::MakeFile(path("bak/foreign.mdb"), {"CREATE TABLE t (a)", "INSERT INTO t VALUES (1)"}));
    for (const char *name : {"bak/other.mdb", "bak/foreign.mdb"}) {
        SCOPED_TRACE(name);
        const QByteArray digest = Digest(path(name));
        EXPECT_NE(CompactDatabase(conn(), path(name)), "");
        EXPECT_EQ(Digest(path(name)), digest);
    }
}

} // namespace
