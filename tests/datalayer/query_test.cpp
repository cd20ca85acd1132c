#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "datalayer/numbertext.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "tests/support/testfolder.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class Dataset : public ::testing::Test {
protected:
    Dataset()
    {
        conn.SetDatabase(folder.DatabasePath());
        const char *rows[] = {
            "insert into 库存管理(编号,品种,总重量,剩余重量,毛茶价,入库日期,配茶) values('B2','铁观音',375,12.5,30,'2009-04-26',true)",
            "insert into 库存管理(编号,品种,总重量,剩余重量,入库日期) values('a1','本山',10.5,0,'2009-04-27')",
            "insert into 库存管理(编号,品种,总重量) values('C3','黄金桂',2)",
        };
        for (const char *r : rows)
            EXPECT_TRUE(RunSQL(QString::fromUtf8(r), conn)) << conn.LastError().toStdString();
        q.SetSQL("Select * From 库存管理 Order By ID ASC");
        q.Open();
    }
    QStringList column(const QString &name)
    {
        QStringList out;
        const int c = q.FieldIndex(name);
        for (int r = 0; r < q.RecordCount(); ++r)
            out << q.Text(r, c);
        return out;
    }

    TestFolder folder;
    Connection conn;
    Query q{&conn, QStringLiteral("ADOQuery1")};
};

TEST_F(Dataset, FieldTextsFollowTheOldRuntime)
{
    EXPECT_EQ(q.RecordCount(), 3);
    EXPECT_EQ(q.RecNo(), 1);
    EXPECT_EQ(q.FieldByName("总重量").AsString(), "375");
    EXPECT_EQ(q.FieldByName("剩余重量").AsString(), "12.5");
    EXPECT_EQ(q.FieldByName("剩余重量").AsFloat(), 12.5);
    EXPECT_EQ(q.FieldByName("配茶").AsString(), "True");
    EXPECT_TRUE(q.FieldByName("配茶").AsBoolean());
    EXPECT_EQ(q.FieldByName("入库日期").AsString(), "2009-04-26");
    EXPECT_EQ(q.FieldByName("入库日期").AsDateTime().date(), QDate(2009, 4, 26));
    EXPECT_EQ(q.FieldByName("ID").AsString(), "1");
    q.Last();
    EXPECT_EQ(q.FieldByName("剩余重量").AsString(), ""); // NULL
    EXPECT_TRUE(q.FieldByName("剩余重量").IsNull());
    EXPECT_EQ(q.FieldByName("剩余重量").AsFloat(), 0.0);
    EXPECT_EQ(q.FieldByName("结算").AsString(), "False");
    EXPECT_EQ(q.Fields(1).AsString(), "C3");
    EXPECT_EQ(q.FieldByName("编号").AsString(), q.FieldByName("编号").Value().toString());
}

TEST_F(Dataset, ATextThatIsNoNumberRaisesTheConversionError)
{
    try {
        q.FieldByName("编号").AsFloat();
        FAIL();
    } catch (const ConvertError &e) {
        EXPECT_EQ(e.text(), "'B2' is not a valid floating point value");
    }
    EXPECT_THROW(q.FieldByName("没有"), DbError);
}

TEST_F(Dataset, NavigationStopsAtTheEnds)
{
    int seen = 0;
    for (q.First(); !q.Eof(); q.Next())
        ++seen;
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(q.RecNo(), 3);
    q.SetRecNo(99);
    EXPECT_EQ(q.RecNo(), 3);
    q.Prior();
    q.Prior();
    q.Prior();
    EXPECT_TRUE(q.Bof());
    EXPECT_EQ(q.RecNo(), 1);
}

TEST_F(Dataset, SortsInMemoryAndKeepsTheCurrentRecord)
{
    q.SetRecNo(2); // a1
    q.SetSort("编号 ASC");
    EXPECT_EQ(column("编号"), (QStringList{"a1", "B2", "C3"})); // case-insensitive
    EXPECT_EQ(q.FieldByName("编号").AsString(), "a1");
    q.SetSort("剩余重量 DESC");
    EXPECT_EQ(column("编号"), (QStringList{"B2", "a1", "C3"})); // NULL last when descending
    q.SetSort("剩余重量 ASC");
    EXPECT_EQ(column("编号"), (QStringList{"C3", "a1", "B2"}));
    q.SetSort("品种 ASC"); // GBK order: 本山 (B), 黄金桂 (H), 铁观音 (T)
    EXPECT_EQ(column("品种"), (QStringList{"本山", "黄金桂", "铁观音"}));
    q.SetSort("");
    EXPECT_EQ(column("编号"), (QStringList{"B2", "a1", "C3"}));
}

TEST_F(Dataset, RequeryRunsTheSameStatementAndKeepsTheOrder)
{
    q.SetSort("编号 DESC");
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号) values('D4')", conn));
    QSignalSpy reset(&q, &Query::rowsReset);
    q.Requery();
    EXPECT_GE(reset.count(), 1);
    EXPECT_EQ(column("编号"), (QStringList{"D4", "C3", "B2", "a1"}));
    EXPECT_EQ(q.Sort(), "编号 DESC");
}

TEST_F(Dataset, ReopenShowsTheNewStatementsRowsOnAnOpenQuery)
{
    q.SetSort("编号 DESC");
    q.Reopen("Select * From 库存管理 where 品种 = '本山'");
    EXPECT_TRUE(q.Active());
    EXPECT_EQ(column("编号"), (QStringList{"a1"}));
    EXPECT_EQ(q.Sort(), ""); // another statement, its own order
    EXPECT_EQ(q.RecNo(), 1);

    // The same statement again reads the table anew and keeps the order chosen on it.
    q.SetSort("编号 DESC");
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,品种) values('A0','本山')", conn));
    q.Reopen("Select * From 库存管理 where 品种 = '本山'");
    EXPECT_EQ(column("编号"), (QStringList{"a1", "A0"}));
    EXPECT_EQ(q.Sort(), "编号 DESC");
}

TEST_F(Dataset, ReopenWithAFailingStatementLeavesNoOldRows)
{
    QSignalSpy reset(&q, &Query::rowsReset);
    EXPECT_THROW(q.Reopen("Select * From 库存 where"), DbError);
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(q.RecordCount(), 0);
    EXPECT_EQ(reset.count(), 1); // the grids bound to it empty themselves
}

TEST_F(Dataset, CurrentRowChangesAreSignalled)
{
    QSignalSpy moved(&q, &Query::currentChanged);
    q.SetRecNo(3);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 2);
}

TEST_F(Dataset, AFailedOpenGivesTheEngineTextAndLeavesItClosed)
{
    Query bad(&conn, "bad");
    bad.SetSQL("Select * From 库存 where");
    EXPECT_THROW(bad.Open(), DbError);
    EXPECT_FALSE(bad.Active());
    EXPECT_EQ(bad.RecordCount(), 0);
}

TEST_F(Dataset, BlobsAreWrittenAndReadThroughTheDataset)
{
    ASSERT_TRUE(RunSQL("insert into TeaGG(公司名称,栏位) values('茶庄','1')", conn));
    Query g(&conn, "ADOQuery_GGuser");
    g.SetSQL("select * from TeaGG");
    g.Open();
    EXPECT_TRUE(g.ReadBlob("logoimg").isEmpty());
    QByteArray jpeg("\xFF\xD8\xFF\x00\x01\x02", 6);
    QSignalSpy changed(&g, &Query::rowChanged);
    g.WriteBlob("logoimg", jpeg);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(g.ReadBlob("logoimg"), jpeg);
    g.Requery();
    EXPECT_EQ(g.ReadBlob("logoimg"), jpeg);
}

TEST_F(Dataset, TheConnectionOpensOnFirstUse)
{
    Connection fresh;
    fresh.SetDatabase(folder.DatabasePath());
    Query users(&fresh, "users");
    users.SetSQL("Select 用户名 From 用户管理 Order By Id Desc");
    EXPECT_FALSE(fresh.Connected());
    users.Open();
    EXPECT_TRUE(fresh.Connected());
    EXPECT_EQ(users.FieldByName("用户名").AsString(), "admin");
}

} // namespace
