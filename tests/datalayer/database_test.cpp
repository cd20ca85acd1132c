#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "datalayer/dialect.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/schema.h"
#include "tests/support/testfolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class Database : public ::testing::Test {
protected:
    Database()
    {
        conn.SetDatabase(folder.DatabasePath());
        conn.SetExclusive(true);
    }
    QString scalar(const QString &sql)
    {
        Query q(&conn, QStringLiteral("probe"));
        q.SetSQL(sql);
        q.Open();
        return q.IsEmpty() ? QStringLiteral("<no row>") : q.Fields(0).AsString();
    }

    TestFolder folder;
    Connection conn{QStringLiteral("ADOConnection1")};
};

TEST_F(Database, EveryTableHasItsColumnsInTheirPositions)
{
    for (const TableDef &t : SchemaTables()) {
        Query q(&conn, QStringLiteral("info"));
        q.SetSQL(QStringLiteral("PRAGMA table_info(\"%1\")").arg(t.name));
        q.Open();
        ASSERT_EQ(q.RecordCount(), int(t.columns.size())) << t.name.toStdString();
        for (int i = 0; i < q.RecordCount(); ++i) {
            q.SetRecNo(i + 1);
            EXPECT_EQ(q.FieldByName("cid").AsInteger(), i);
            EXPECT_EQ(q.FieldByName("name").AsString(), t.columns[size_t(i)].name) << t.name.toStdString();
        }
    }
    // Positions that screens read rows by.
    Query stock(&conn, QStringLiteral("stock"));
    stock.SetSQL(QStringLiteral("Select * From 库存管理"));
    stock.Open();
    EXPECT_EQ(stock.FieldName(7), QStringLiteral("剩余重量"));
    EXPECT_EQ(stock.FieldName(15), QStringLiteral("销售单价"));
    EXPECT_EQ(stock.FieldName(19), QStringLiteral("净茶价"));
}

struct TypeCase {
    const char *statement;
    bool accepted;
};

class ColumnTypes : public Database, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(ColumnTypes, TheSchemaEnforcesTheOldEngineTypes)
{
    EXPECT_EQ(RunSQL(QString::fromUtf8(GetParam().statement), conn), GetParam().accepted)
        << GetParam().statement << " -> " << conn.LastError().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColumnTypes,
    ::testing::Values(TypeCase{"insert into 支出管理(日期,金额,事项) values('2009-04-26',12.5,'电费')", true},
                      TypeCase{"insert into 支出管理(日期,金额,事项) values('2009-04-26','12.5','电费')", true},
                      TypeCase{"insert into 支出管理(日期,金额,事项) values('2009-04-26','abc','电费')", false},
                      TypeCase{"insert into 支出管理(日期,金额,事项) values('2009-04-26','','电费')", false},
                      TypeCase{"insert into 支出管理(日期,金额,事项) values('2009-04-26',,'电费')", false},
                      TypeCase{"insert into 支出管理(日期,金额,事项) values('2009-04-26',-3,'退款')", true},
                      TypeCase{"insert into 支出管理(日期,金额,事项) values('abc',1,'x')", false},
                      TypeCase{"insert into 支出管理(日期,金额,事项) values('2009-02-30',1,'x')", false},
                      TypeCase{"insert into 支出管理(日期,金额,事项) values('2009',1,'x')", false},
                      TypeCase{"insert into 记事本(用户名,修改日期,提醒,提醒时间,标题) values('a','2009-04-26','-1','2009-04-26 08:30:00','t')", true},
                      TypeCase{"insert into 记事本(用户名,修改日期,提醒,提醒时间,标题) values('a','2009-04-26','0','2009-04-26 8:30','t')", false},
                      TypeCase{"insert into 库存管理(编号,总重量) values('T1',abc)", false},
                      TypeCase{"insert into 库存管理(编号,配茶) values('T1',true)", true},
                      TypeCase{"UPDATE 库存管理 SET 净茶价='12.5' WHERE ID = 1", true},
                      TypeCase{"UPDATE 库存管理 SET 净茶价='' WHERE ID = 1", true /* no row: nothing checked */},
                      TypeCase{"insert into 不存在(a) values(1)", false}),
    [](const ::testing::TestParamInfo<TypeCase> &info) { return std::to_string(info.index); });

TEST_F(Database, YesNoDefaultsToFalseAndTrueSelects)
{
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,剩余重量) values('T1',10)", conn));
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,剩余重量,配茶) values('P1',5,true)", conn));
    EXPECT_EQ(scalar("select count(*) from 库存管理 where 配茶 = true"), "1");
    EXPECT_EQ(scalar("select 编号 from 库存管理 where 配茶 = true"), "P1");
    Query q(&conn, "q");
    q.SetSQL("Select * From 库存管理 where 编号='T1'");
    q.Open();
    EXPECT_FALSE(q.FieldByName("配茶").AsBoolean());
    EXPECT_EQ(q.FieldByName("结算").AsString(), "False");
    EXPECT_EQ(q.FieldByName("配茶详细").AsString(), "");
    EXPECT_TRUE(q.FieldByName("配茶详细").IsNull());
}

TEST_F(Database, TextComparesIgnoringCase)
{
    ASSERT_TRUE(RunSQL("insert into 通讯管理(名称,类型) values('Lin Tea','供应商')", conn));
    EXPECT_EQ(scalar("select count(*) from 通讯管理 where 名称='lin tea'"), "1");
}

TEST_F(Database, QuotedTextRoundTripsWithoutChangingTheStatement)
{
    const QString name = QStringLiteral("O'Brien'); delete from 通讯管理; --");
    ASSERT_TRUE(RunSQL("insert into 通讯管理(名称,类型) values(" + QuotedStr(name) + ",'供应商')", conn));
    ASSERT_TRUE(RunSQL("insert into 通讯管理(名称,类型) values('Lin','供应商')", conn));
    EXPECT_EQ(scalar("select 名称 from 通讯管理 where 名称=" + QuotedStr(name)), name);
    EXPECT_EQ(scalar("select count(*) from 通讯管理"), "2");
}

TEST_F(Database, ARemarkWithALineBreakRoundTrips)
{
    const QString remark = QStringLiteral("第一行\r\n第二行\n'三'");
    ASSERT_TRUE(RunSQL("insert into 销售记录(编号,备注) values('T1'," + QuotedStr(remark) + ")", conn));
    EXPECT_EQ(scalar("select 备注 from 销售记录"), remark);
}

TEST_F(Database, DeleteStarEmptiesTheStatistics)
{
    ASSERT_TRUE(RunSQL("insert into 销售统计(日期,毛净茶,总重量) values('2009-04-26','毛茶',3)", conn));
    ASSERT_TRUE(RunSQL("insert into 销售统计(日期,毛净茶,总重量) values('2009-04-27','净茶',4)", conn));
    ASSERT_TRUE(RunSQL("delete * FROM 销售统计", conn));
    EXPECT_EQ(scalar("select count(*) from 销售统计"), "0");
}

TEST_F(Database, RunSqlSucceedsOnAMissingKeyAndFailsWithoutAKey)
{
    EXPECT_TRUE(RunSQL("DELETE FROM 库存管理 WHERE ID = 4711", conn));
    EXPECT_TRUE(conn.LastError().isEmpty());
    EXPECT_FALSE(RunSQL("DELETE FROM 库存管理 WHERE ID = ", conn));
    EXPECT_FALSE(conn.LastError().isEmpty()); // the engine's reason, for the screen to report
}

TEST_F(Database, SumsOverNoRowsAreEmpty)
{
    Query q(&conn, "sum");
    q.SetSQL("Select SUM(重量),sum(总金额),sum(实收款)  FROM 销售记录 where (毛净茶 = '毛茶') and (日期 = #2009-4-26#)");
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    for (int c = 0; c < 3; ++c) {
        EXPECT_TRUE(q.Fields(c).IsNull());
        EXPECT_EQ(q.Fields(c).AsString(), "");
        EXPECT_EQ(q.Fields(c).AsFloat(), 0.0);
    }
    ASSERT_TRUE(RunSQL("insert into 支出管理(日期,金额) values('2009-04-26',10.5)", conn));
    ASSERT_TRUE(RunSQL("insert into 支出管理(日期,金额) values('2009-04-26',-0.3)", conn));
    EXPECT_EQ(scalar("Select sum(金额)  FROM 支出管理 where 日期 = #2009-4-26#"), "10.2");
}

TEST_F(Database, DatesCompareAsLiteralsInConditions)
{
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,入库日期) values('T1','2009-04-26')", conn));
    EXPECT_EQ(scalar("Select 编号 From 库存管理 where  入库日期=#2009-4-26#Order By ID DESC"), "T1");
    EXPECT_EQ(scalar("Select count(*) From 库存管理 where 入库日期=#2009-04-27#"), "0");
}

TEST_F(Database, ARefusedStatementChangesNothing)
{
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,剩余重量) values('T1',10)", conn));
    EXPECT_FALSE(RunSQL("UPDATE 库存管理 SET 剩余重量=abc WHERE ID = 1", conn));
    EXPECT_EQ(scalar("select 剩余重量 from 库存管理"), "10");
}

TEST_F(Database, StatementsTogetherHappenOrNot)
{
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,剩余重量) values('T1',10)", conn));
    EXPECT_FALSE(RunSQLTogether({"insert into 销售记录(编号,重量) values('T1',2)",
                                 "UPDATE 库存管理 SET 剩余重量=bad WHERE ID = 1"},
                                conn));
    EXPECT_EQ(scalar("select count(*) from 销售记录"), "0");
    EXPECT_FALSE(conn.LastError().isEmpty());
    EXPECT_TRUE(RunSQLTogether({"insert into 销售记录(编号,重量) values('T1',2)",
                                "UPDATE 库存管理 SET 剩余重量=8 WHERE ID = 1"},
                               conn));
    EXPECT_EQ(scalar("select 剩余重量 from 库存管理"), "8");
    EXPECT_FALSE(conn.InTransaction());
}

TEST_F(Database, TheExclusiveConnectionLocksOthersOut)
{
    conn.Open();
    Connection other(QStringLiteral("other"));
    other.SetDatabase(folder.DatabasePath());
    try {
        other.Open();
        FAIL() << "a second connection opened the file";
    } catch (const DbError &e) {
        EXPECT_EQ(e.text(), "database is locked");
    }
    conn.Close();
    EXPECT_NO_THROW(other.Open()); // closing gives the file back (backups rely on it)
}

TEST(DatabaseFile, OpeningFailuresGiveTheEngineText)
{
    TestFolder folder;
    struct {
        QString path;
        QString password;
        QString text;
    } cases[] = {
        {folder.Path("data/missing.mdb"), kDatabasePassword, "unable to open database file"},
        {folder.DatabasePath(), "wrong", "file is encrypted or is not a database"},
    };
    for (const auto &c : cases) {
        Connection conn;
        conn.SetDatabase(c.path);
        conn.SetPassword(c.password);
        try {
            conn.Open();
            ADD_FAILURE() << "opened " << c.path.toStdString();
        } catch (const DbError &e) {
            EXPECT_EQ(e.text(), c.text);
        }
        EXPECT_FALSE(conn.Connected());
    }
    EXPECT_FALSE(QFile::exists(folder.Path("data/missing.mdb"))); // never created
}

TEST(DatabaseFile, PlainSqliteCannotReadIt)
{
    TestFolder folder;
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(folder.DatabasePath().toUtf8(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    EXPECT_NE(sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_STREQ(sqlite3_errmsg(db), "file is encrypted or is not a database");
    sqlite3_close(db);
}

TEST_F(Database, AWriteRunsExactlyOneStatement)
{
    struct {
        const char *sql;
        bool runs;
    } cases[] = {
        {"insert into 支出管理(日期,金额,事项) values('2009-04-26',1,'a')", true},
        {"insert into 支出管理(日期,金额,事项) values('2009-04-26',1,'a');", true},
        {"insert into 支出管理(日期,金额,事项) values('2009-04-26',1,'a') ; ; -- done", true},
        {"insert into 支出管理(日期,金额,事项) values('2009-04-26',1,'a; delete from 支出管理')", true},
        {"insert into 支出管理(日期,金额,事项) values('2009-04-26',1,'a'); delete from 用户管理", false},
        {"insert into 支出管理(日期,金额,事项) values('2009-04-26',1,'a');;/* x */ drop table 用户管理", false},
        {"insert into 支出管理(日期,金额,事项) values('2009-04-26',1,'a'); garbage", false},
        {"", false},
    };
    for (const auto &c : cases) {
        const QString before = scalar("select count(*) from 支出管理");
        EXPECT_EQ(RunSQL(QString::fromUtf8(c.sql), conn), c.runs) << c.sql;
        EXPECT_EQ(scalar("select count(*) from 支出管理").toInt(), before.toInt() + (c.runs ? 1 : 0)) << c.sql;
    }
    EXPECT_EQ(scalar("select count(*) from 用户管理"), "1");
    EXPECT_EQ(scalar("select count(*) from sqlite_master where name='用户管理'"), "1");
}

TEST(DatabaseFile, AnOlderFileGetsTheAddedColumnsWhenTheDataModuleOpensIt)
{
    TestFolder folder;
    {
        // An older file: one table lacks its last column and another table is missing.
        Connection old;
        old.SetDatabase(folder.DatabasePath());
        old.ExecuteNative("DROP TABLE 记事本");
        old.ExecuteNative("CREATE TABLE 记事本 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 用户名 TEXT, 修改日期 DATE,"
                          " 提醒 BOOLEAN NOT NULL DEFAULT 0, 提醒时间 DATE, 标题 TEXT)");
        old.ExecuteNative("INSERT INTO 记事本(用户名, 标题) VALUES('admin', 'kept')");
        old.ExecuteNative("DROP TABLE TeaGG");
        old.ExecuteNative("DROP TABLE 销售统计");
        old.ExecuteNative("CREATE TABLE 销售统计 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 日期 DATE, 毛净茶 TEXT,"
                          " 总重量 REAL, 总金额 REAL, 实收款 REAL, 总支出 REAL)");
        old.ExecuteNative("INSERT INTO 销售统计(日期) VALUES('2009-04-26')");
    }
    Connection conn;
    conn.SetDatabase(folder.DatabasePath());
    conn.SetExclusive(true);
    conn.Open();
    for (const QString table : {tables::Notepad, tables::DealerCache, tables::Statistics}) {
        Query q(&conn, QStringLiteral("info"));
        q.SetSQL(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        q.Open();
        EXPECT_EQ(q.RecordCount(), int(FindTable(table)->columns.size())) << table.toStdString();
    }
    Query q(&conn, QStringLiteral("row"));
    q.SetSQL(QStringLiteral("Select * From 记事本"));
    q.Open();
    EXPECT_EQ(q.FieldByName("标题").AsString(), "kept");
    EXPECT_TRUE(q.FieldByName("内容").IsNull());
    // The added column keeps its type rule.
    EXPECT_FALSE(RunSQL("update 销售统计 set 欠款总额='abc'", conn));
    EXPECT_TRUE(RunSQL("update 销售统计 set 欠款总额='12.5'", conn));
    // A file that is already current is left as it is.
    EXPECT_TRUE(SchemaUpgradeStatements([](const QString &t) {
                    QStringList names;
                    for (const ColumnDef &c : FindTable(t)->columns)
                        names << c.name;
                    return names;
                }).filter("ALTER").isEmpty());
}

} // namespace
