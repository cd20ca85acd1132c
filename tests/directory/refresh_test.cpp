#include "datalayer/dbgrid.h"
#include "datalayer/inifile.h"
#include "datalayer/settings.h"
#include "directory/dealercards.h"
#include "directory/dealerrefresh.h"
#include "tests/directory/directoryfixture.h"
#include "tests/directory/postgresserver.h"

#include <QLabel>
#include <QTableWidget>

namespace {

RemoteCard remote(const QString &slot, const QString &updated, const QString &company = "甲")
{
    QStringList values;
    for (int i = 0; i < 14; ++i)
        values << QString();
    values[0] = company;
    values[11] = slot;
    values[12] = updated;
    return RemoteCard{values, {}};
}

QStringList plannedSlots(const RefreshPlan &plan)
{
    QStringList slotsOut;
    for (const CardReplacement &r : plan.replace)
        slotsOut << r.card.Slot() + (r.oldIds.isEmpty() ? "+" : "~") + QString::number(r.oldIds.size());
    for (const LocalCard &c : plan.prune)
        slotsOut << c.slot + "-";
    return slotsOut;
}

TEST(RefreshPlan, NewChangedUnchangedRemovedAndDoubledSlots)
{
    const QList<LocalCard> local = {{1, "1", "t1"}, {2, "2", "t1"}, {3, "3", "t1"}, {4, "5", "t1"}, {5, "5", "t1"}, {6, "", "t1"}};
    const QList<RemoteCard> server = {remote("1", "t1"),        // the same time: left alone
                                      remote("2", "t2"),        // changed
                                      remote("4", "t1"),        // new
                                      remote("5", "t1"),        // held twice locally: replaced as a whole
                                      remote("7", "t1", "先"),  // listed twice: the last one counts
                                      remote("7", "t2", "后")};
    const RefreshPlan plan = PlanRefresh(local, server);
    EXPECT_EQ(plannedSlots(plan), QStringList({"2~1", "4+0", "5~2", "7+0", "3-", "-"}));
    EXPECT_EQ(plan.replace.at(3).card.values.first(), "后");
    EXPECT_TRUE(PlanRefresh(local, {}).replace.isEmpty());
    EXPECT_EQ(PlanRefresh(local, {}).prune.size(), local.size());
}

class Refresh : public DirectoryTest {
protected:
    // The local table as text: key, company, slot, time and logo of every card.
    static QString localCards()
    {
        return Scalar("select group_concat(ID||'|'||coalesce(公司名称,'')||'|'||coalesce(栏位,'')||'|'||"
                      "coalesce(更新时间,'')||'|'||coalesce(hex(logoimg),''), ';') from TeaGG order by ID");
    }

    void configure(const QString &source)
    {
        IniFile ini(folder.Path("config.ini"));
        ASSERT_TRUE(ini.WriteString(ConfigKey::DealerSection, ConfigKey::DealerSource, source));
    }

    // The remote table with the local layout: key, eleven texts, logo, slot, time, number.
    static QString remoteTable(const QString &name)
    {
        return "create table " + name +
               " (\"ID\" serial primary key, \"公司名称\" text, \"联系人\" text, \"商农\" text, \"电话\" text, \"传真\" text,"
               " \"手机\" text, \"在线QQ\" text, \"Email\" text, \"网站\" text, \"地址\" text, \"简介\" text, logoimg bytea,"
               " \"栏位\" text, \"更新时间\" timestamp, \"编号\" text);\n";
    }
    // A value of the local card of a slot.
    static QString cardValue(const QString &slot, const QString &expression)
    {
        return Scalar("select " + expression + " from TeaGG where 栏位 = " + QuotedStr(slot));
    }
    static QString pgText(const QString &text) { return "'" + QString(text).replace("'", "''") + "'"; }
    static QString remoteInsert(const QString &table, const QString &slot, const QString &company, const QString &updated,
                                const QByteArray &logo)
    {
        return "insert into " + table +
               " (\"公司名称\",\"联系人\",\"商农\",\"电话\",\"传真\",\"手机\",\"在线QQ\",\"Email\",\"网站\",\"地址\",\"简介\","
               "logoimg,\"栏位\",\"更新时间\",\"编号\") values (" +
               QStringList{pgText(company), pgText("远程联系人" + slot), pgText("农"), pgText("0595-" + slot), "NULL",
                           pgText("138" + slot), pgText("2000" + slot), pgText("r" + slot + "@example.com"),
                           pgText("www.r" + slot + ".com"), pgText("感德" + slot), pgText("远程简介 " + company),
                           logo.isEmpty() ? QString("NULL") : "decode('" + QString::fromLatin1(logo.toHex()) + "','hex')",
                           pgText(slot), pgText(updated), pgText("R" + slot)}
                   .join(',') +
               ");\n";
    }

    bool refreshed()
    {
        return QTest::qWaitFor([this] { return screen && screen->WallReady() && !screen->Refreshing(); }, 60000);
    }
};

TEST_F(Refresh, WithoutASourceNothingIsRefreshed)
{
    AddCard("1", "甲");
    const QString before = localCards();
    Open();
    ASSERT_TRUE(refreshed());
    EXPECT_FALSE(screen->Label1->isVisible());
    EXPECT_EQ(localCards(), before);
}

TEST_F(Refresh, ARefusedWriteLeavesThatCardAsItWas)
{
    AddCard("1", "甲", MakeLogo(SlotColour(1)), "t1");
    AddCard("2", "乙", MakeLogo(SlotColour(2)), "t1");
    AddCard("3", "丙", {}, "t1");
    // The engine refuses one new card, as a full disk or a broken file would.
    conn().ExecuteNative("CREATE TRIGGER refuse BEFORE INSERT ON TeaGG WHEN NEW.公司名称 = '坏' "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    RemoteCard good = remote("1", "t2", "甲二");
    good.logo = MakeLogo(SlotColour(11), QSize(80, 40));
    const QList<RemoteCard> server = {good, remote("2", "t2", "坏"), remote("3", "t2", "丙二")};
    const RefreshOutcome out = ApplyRefresh(PlanRefresh(ReadLocalCards(conn()), server), conn());
    EXPECT_EQ(out.error, "refused");
    EXPECT_EQ(out.changed, 1);
    EXPECT_EQ(out.tiles, QList<int>({1}));
    EXPECT_EQ(cardValue("1", "公司名称"), "甲二");
    EXPECT_EQ(cardValue("1", "count(*)"), "1");
    // The refused card is still there, with its logo; the one after it waits for the next refresh.
    EXPECT_EQ(cardValue("2", "公司名称"), "乙");
    EXPECT_EQ(cardValue("2", "length(logoimg) > 0"), "1");
    EXPECT_EQ(cardValue("2", "更新时间"), "t1");
    EXPECT_EQ(cardValue("3", "公司名称"), "丙");
    Query logo(&conn(), "logo");
    logo.SetSQL("select logoimg from TeaGG where 栏位 = '1'");
    logo.Open();
    EXPECT_TRUE(CloseColour(DecodeJpeg(logo.ReadBlob("logoimg")).pixelColor(40, 10), SlotColour(11)));
}

TEST_F(Refresh, AnUnreachableSourceLeavesTheCardsAndSaysSo)
{
    AddCard("1", "甲", MakeLogo(SlotColour(1)));
    AddCard("2", "乙");
    const QString before = localCards();
    configure(QStringLiteral("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Database=postgres;Uid=postgres;")
                  .arg(PostgresServer::FreePort()));
    Open();
    ASSERT_TRUE(refreshed());
    EXPECT_TRUE(screen->Label1->isVisible());
    EXPECT_TRUE(screen->Label1->text().startsWith("未能从服务器更新经销商信息，显示的是本机保存的信息："))
        << screen->Label1->text().toStdString();
    EXPECT_EQ(localCards(), before);
    EXPECT_TRUE(screen->Tile(1)->Clickable());
    EXPECT_EQ(screen->DBGrid1->model()->rowCount(), 2);
    EXPECT_TRUE(dialogs.Requests().empty());
}

class RefreshFromServer : public Refresh {
protected:
    void SetUp() override { ASSERT_TRUE(server.Error().isEmpty()) << server.Error().toStdString(); }
    PostgresServer server;
};

TEST_F(RefreshFromServer, NewChangedAndRemovedCardsArrive)
{
    const qint64 kept = AddCard("1", "甲茶行", MakeLogo(SlotColour(1)), "2026-01-01 08:00:00");
    AddCard("2", "乙茶行", MakeLogo(SlotColour(2)), "2026-01-01 08:00:00");
    AddCard("3", "丙茶行", MakeLogo(SlotColour(3)), "2026-01-01 08:00:00");
    AddCard("x", "没有栏位的茶行", {}, "2026-01-01 08:00:00");
    QString sql = remoteTable("TeaGG");
    // The same time: the card is left alone, even where the server's text differs.
    sql += remoteInsert("TeaGG", "1", "甲茶行（服务器）", "2026-01-01 08:00:00", MakeLogo(SlotColour(21)));
    sql += remoteInsert("TeaGG", "2", "乙茶行's 新店", "2026-02-01 09:30:00", MakeLogo(SlotColour(22)));
    sql += remoteInsert("TeaGG", "4", "丁茶行", "2026-02-02 10:00:00", MakeLogo(SlotColour(24)));
    sql += remoteInsert("TeaGG", "5", "戊茶行", "2026-02-03 11:00:00", "not a picture");
    ASSERT_TRUE(server.Run(sql)) << server.Error().toStdString();
    configure(server.ConnectionString());

    Open(610);
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(screen->Label1->text(), "经销商信息已更新：新增 2 条，更改 1 条，删除 2 条。");
    EXPECT_TRUE(dialogs.Requests().empty()) << dialogs.Texts().join('\n').toStdString();
    EXPECT_EQ(Scalar("select group_concat(栏位, ',') from (select 栏位 from TeaGG order by 栏位)"), "1,2,4,5");
    EXPECT_EQ(cardValue("1", "ID"), QString::number(kept));
    EXPECT_EQ(cardValue("1", "公司名称"), "甲茶行");
    EXPECT_EQ(cardValue("2", "公司名称"), "乙茶行's 新店");
    EXPECT_EQ(cardValue("2", "更新时间"), "2026-02-01 09:30:00");
    EXPECT_EQ(cardValue("2", "传真"), "");
    EXPECT_EQ(cardValue("4", "编号||'/'||简介||'/'||地址"), "R4/远程简介 丁茶行/感德4");
    EXPECT_EQ(cardValue("5", "logoimg is null"), "1");

    // The tiles and the list follow.
    ASSERT_TRUE(QTest::qWaitFor([this] { return CloseColour(TileColour(screen->Tile(4)), SlotColour(24)); }, 20000));
    EXPECT_TRUE(screen->Tile(4)->Clickable());
    EXPECT_TRUE(CloseColour(TileColour(screen->Tile(2)), SlotColour(22)));
    EXPECT_TRUE(CloseColour(TileColour(screen->Tile(1)), SlotColour(1)));
    EXPECT_FALSE(screen->Tile(3)->Clickable());
    EXPECT_TRUE(CloseColour(TileColour(screen->Tile(3)), EmptyColour()));
    EXPECT_TRUE(screen->Tile(5)->Clickable());
    EXPECT_TRUE(screen->Tile(5)->pixmap().isNull());
    QStringList listed = Listed(screen->DBGrid1, "公司名称");
    listed.sort();
    EXPECT_EQ(listed, QStringList({"丁茶行", "乙茶行's 新店", "戊茶行", "甲茶行"}));
    QTest::mousePress(screen->Tile(4), Qt::LeftButton);
    ASSERT_TRUE(Form_TeaGG_kan->isVisible());
    EXPECT_EQ(Form_TeaGG_kan->StringGrid1->item(0, 1)->text(), "丁茶行");
    EXPECT_EQ(Form_TeaGG_kan->StringGrid1->item(1, 1)->text(), "远程联系人4");

    // Nothing new on the server: the next opening changes nothing.
    const QString after = localCards();
    delete screen.data();
    Open(610);
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(screen->Label1->text(), "经销商信息已是最新。");
    EXPECT_EQ(localCards(), after);
}

TEST_F(RefreshFromServer, AReadThatFailsHalfWayLeavesTheCards)
{
    AddCard("1", "甲", MakeLogo(SlotColour(1)), "2026-01-01 08:00:00");
    AddCard("9", "己", {}, "2026-01-01 08:00:00");
    const QString before = localCards();
    // The third row cannot be computed; the driver hands the rows over one at a time, so the
    // first two are read before the server fails.
    QString sql = remoteTable("dealer_rows");
    for (int n = 1; n <= 5; ++n)
        sql += remoteInsert("dealer_rows", QString::number(n), "远程" + QString::number(n), "2026-03-01 08:00:00",
                            MakeLogo(SlotColour(n + 10), QSize(64, 32)));
    sql += "create view TeaGG as select \"ID\",\"公司名称\",\"联系人\",\"商农\",\"电话\",\"传真\",\"手机\",\"在线QQ\","
           "\"Email\",\"网站\",\"地址\",\"简介\",logoimg,"
           "case when \"ID\" = 3 then (\"ID\" / 0)::text else \"栏位\" end as \"栏位\",\"更新时间\",\"编号\" "
           "from dealer_rows order by \"ID\";\n";
    ASSERT_TRUE(server.Run(sql)) << server.Error().toStdString();
    configure(server.ConnectionString("UseDeclareFetch=1;Fetch=1;"));

    Open();
    ASSERT_TRUE(refreshed());
    EXPECT_TRUE(screen->Label1->text().startsWith("未能从服务器更新经销商信息，显示的是本机保存的信息："));
    EXPECT_TRUE(screen->Label1->text().contains("division by zero")) << screen->Label1->text().toStdString();
    EXPECT_EQ(localCards(), before);
    EXPECT_FALSE(screen->Tile(2)->Clickable());
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(RefreshFromServer, ClosingDuringTheRemoteReadCancelsIt)
{
    AddCard("1", "甲", {}, "2026-01-01 08:00:00");
    const QString before = localCards();
    QString sql = remoteTable("dealer_rows");
    sql += remoteInsert("dealer_rows", "1", "远程", "2026-03-01 08:00:00", {});
    sql += "create view TeaGG as select * from dealer_rows where pg_sleep(600) is not null;\n";
    ASSERT_TRUE(server.Run(sql)) << server.Error().toStdString();
    configure(server.ConnectionString());

    Open();
    const auto reading = [this] {
        QString out;
        server.Run("select count(*) from pg_stat_activity where state = 'active' and query like 'select * from TeaGG%';", &out);
        return out.trimmed() == "1";
    };
    ASSERT_TRUE(QTest::qWaitFor(reading, 30000)) << server.Log().toStdString();
    ASSERT_TRUE(screen->Refreshing());
    screen->close();
    EXPECT_FALSE(screen->Refreshing());
    // The server was told to stop the statement, not left to run it out.
    EXPECT_TRUE(server.Log().contains("canceling statement due to user request")) << server.Log().toStdString();
    EXPECT_FALSE(reading());
    EXPECT_EQ(localCards(), before);
}

} // namespace
