#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "datalayer/dialect.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "finance/statisticsstatements.h"
#include "tests/support/testfolder.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

namespace {

using Money = std::optional<double>;

// One row of 销售统计 as the tests compare it: figures rounded to the cent.
struct StatRow {
    QString day, kind;
    Money weight, amount, received, expenses, debts;
    bool operator==(const StatRow &) const = default;
};

std::string show(const Money &m)
{
    return m ? QString::number(*m, 'f', 2).toStdString() : std::string("NULL");
}

std::ostream &operator<<(std::ostream &os, const StatRow &r)
{
    return os << r.day.toStdString() << ' ' << (r.kind.isNull() ? "NULL" : r.kind.toStdString()) << " w="
              << show(r.weight) << " a=" << show(r.amount) << " r=" << show(r.received) << " e=" << show(r.expenses)
              << " d=" << show(r.debts);
}

Money cents(const Money &m)
{
    if (!m)
        return m;
    return std::round(*m * 100) / 100;
}

class Statistics : public ::testing::Test {
protected:
    Statistics()
    {
        conn.SetDatabase(folder.DatabasePath());
        conn.SetExclusive(true);
    }

    void run(const QString &sql) { ASSERT_TRUE(RunSQL(sql, conn)) << sql.toStdString() << ": " << conn.LastError().toStdString(); }

    static QString num(const Money &m) { return m ? QString::number(*m, 'g', 17) : QStringLiteral("NULL"); }
    static QString text(const QString &t) { return t.isNull() ? QStringLiteral("NULL") : QuotedStr(t); }

    void sale(const QString &day, const QString &kind, Money weight, Money amount, Money received,
              const QString &customer = QStringLiteral("王'五"))
    {
        run(QStringLiteral("insert into 销售记录(编号,客户,日期,毛净茶,重量,总金额,实收款) values('A1',%1,%2,%3,%4,%5,%6)")
                .arg(text(customer), text(day), text(kind), num(weight), num(amount), num(received)));
    }
    void expense(const QString &day, Money amount)
    {
        run(QStringLiteral("insert into 支出管理(日期,金额,事项) values(%1,%2,'电费''s')").arg(text(day), num(amount)));
    }
    void ledger(const QString &day, const QString &item, Money amount)
    {
        run(QStringLiteral("insert into 欠款管理(客户名称,项目,金额,日期) values('李''四',%1,%2,%3)")
                .arg(text(item), num(amount), text(day)));
    }

    std::vector<StatRow> table()
    {
        Query q(&conn, QStringLiteral("stat"));
        q.SetSQL(StatisticsListStatement());
        q.Open();
        std::vector<StatRow> rows;
        auto money = [&q](const char *c) {
            const Field f = q.FieldByName(QString::fromUtf8(c));
            return f.IsNull() ? Money() : cents(f.AsFloat());
        };
        for (q.First(); !q.Eof(); q.Next())
            rows.push_back({q.FieldByName("日期").AsString(),
                            q.FieldByName("毛净茶").IsNull() ? QString() : q.FieldByName("毛净茶").AsString(),
                            money("总重量"), money("总金额"), money("实收款"), money("总支出"), money("欠款总额")});
        return rows;
    }

    // The rules, computed day by day in plain code from the source tables.
    std::vector<StatRow> reference()
    {
        struct Sums {
            Money weight;
            double amount = 0, received = 0;
        };
        std::map<QString, std::map<QString, Sums>> sales;
        std::map<QString, double> expenses, debts;
        auto add = [](Money &to, const Money &v) {
            if (v)
                to = to.value_or(0) + *v;
        };
        Query q(&conn, QStringLiteral("ref"));
        q.SetSQL("Select 日期, 毛净茶, 重量, 总金额, 实收款 From 销售记录");
        q.Open();
        for (q.First(); !q.Eof(); q.Next()) {
            const QString day = q.Fields(0).AsString().left(10), kind = q.Fields(1).AsString();
            if (day.isEmpty() || (kind != "毛茶" && kind != "净茶"))
                continue;
            Sums &s = sales[day][kind];
            add(s.weight, q.Fields(2).IsNull() ? Money() : q.Fields(2).AsFloat());
            s.amount += q.Fields(3).AsFloat();
            s.received += q.Fields(4).AsFloat();
        }
        q.Close();
        q.SetSQL("Select 日期, 金额 From 支出管理");
        q.Open();
        for (q.First(); !q.Eof(); q.Next())
            if (!q.Fields(0).AsString().isEmpty())
                expenses[q.Fields(0).AsString().left(10)] += q.Fields(1).AsFloat();
        q.Close();
        q.SetSQL("Select 日期, 项目, 金额 From 欠款管理");
        q.Open();
        for (q.First(); !q.Eof(); q.Next()) {
            const QString day = q.Fields(0).AsString().left(10), item = q.Fields(1).AsString();
            if (day.isEmpty())
                continue;
            debts[day] += item == "欠款" ? q.Fields(2).AsFloat() : item == "还款" ? -q.Fields(2).AsFloat() : 0;
        }
        std::map<QString, int> days;
        for (const auto &[d, k] : sales)
            for (const auto &[kind, s] : k)
                if (s.weight)
                    days[d];
        for (const auto &[d, v] : expenses)
            days[d];
        for (const auto &[d, v] : debts)
            days[d];
        std::vector<StatRow> rows;
        for (const auto &[day, unused] : days) {
            const Money e = expenses.count(day) ? Money(cents(expenses[day])) : Money();
            const Money d = debts.count(day) ? Money(cents(debts[day])) : Money();
            bool carried = false;
            for (const QString kind : {QStringLiteral("毛茶"), QStringLiteral("净茶")}) {
                const auto it = sales[day].find(kind);
                if (it == sales[day].end() || !it->second.weight)
                    continue;
                const Sums &s = it->second;
                rows.push_back({day, kind, cents(s.weight), cents(s.amount), cents(s.received), carried ? Money() : e,
                                carried ? Money() : d});
                carried = true;
            }
            if (!carried)
                rows.push_back({day, QString(), {}, {}, {}, e, d});
        }
        return rows;
    }

    TestFolder folder;
    Connection conn{QStringLiteral("ADOConnection1")};
};

TEST_F(Statistics, TheShopsExamplesComeOutAsTheShopCountsThem)
{
    expense("2009-04-26", 30);
    expense("2009-04-26", 20);
    expense("2009-04-27", 15);
    RunStatisticsPass(conn, StatisticsPass::Expenses);
    EXPECT_EQ(table(), (std::vector<StatRow>{{"2009-04-26", {}, {}, {}, {}, 50, {}}, {"2009-04-27", {}, {}, {}, {}, 15, {}}}));
    RunStatisticsPass(conn, StatisticsPass::Expenses); // again: the same rows, not a second set
    EXPECT_EQ(table().size(), 2u);

    ledger("2009-05-01", "欠款", 300);
    ledger("2009-05-01", "还款", 100);
    sale("2009-05-02", "毛茶", 2.5, 100, 90);
    sale("2009-05-02", "毛茶", 1.5, 60, 60);
    RunStatisticsPass(conn, StatisticsPass::All);
    EXPECT_EQ(table(), (std::vector<StatRow>{{"2009-04-26", {}, {}, {}, {}, 50, {}},
                                             {"2009-04-27", {}, {}, {}, {}, 15, {}},
                                             {"2009-05-01", {}, {}, {}, {}, {}, 200},
                                             {"2009-05-02", "毛茶", 4, 160, 150, {}, {}}}));
    ClearStatistics(conn);
    EXPECT_TRUE(table().empty());
}

TEST_F(Statistics, ADayWithBothKindsKeepsARowForEachAndCountsItsExpensesAndDebtsOnce)
{
    sale("2009-05-02", "净茶", 1, 80, 80);
    sale("2009-05-02", "毛茶", 2, 50, 40);
    sale("2009-05-03", "净茶", 3, 90, 90);
    expense("2009-05-02", 12.5);
    expense("2009-05-03", 7);
    ledger("2009-05-02", "欠款", 10);
    ledger("2009-05-03", "还款", 4);
    for (StatisticsPass pass : {StatisticsPass::Sales, StatisticsPass::Expenses, StatisticsPass::Debts})
        RunStatisticsPass(conn, pass);
    const std::vector<StatRow> expected{{"2009-05-02", "毛茶", 2, 50, 40, 12.5, 10},
                                        {"2009-05-02", "净茶", 1, 80, 80, {}, {}},
                                        {"2009-05-03", "净茶", 3, 90, 90, 7, -4}};
    EXPECT_EQ(table(), expected);
    RunStatisticsPass(conn, StatisticsPass::All);
    EXPECT_EQ(table(), expected);
}

TEST_F(Statistics, ASinglePassLeavesItsColumnsAsAFullRebuildWould)
{
    sale("2009-05-02", "毛茶", 2, 50, 40);
    sale("2009-05-02", "净茶", 1, 80, 80);
    sale("2009-05-04", "毛茶", 1, 10, 10);
    expense("2009-05-04", 5);
    RunStatisticsPass(conn, StatisticsPass::All);

    // The raw tea sale becomes net tea; the only sale of the 4th goes.
    run("update 销售记录 set 毛净茶='净茶' where 总金额=50");
    run("delete from 销售记录 where 日期='2009-05-04'");
    RunStatisticsPass(conn, StatisticsPass::Sales);
    EXPECT_EQ(table(), (std::vector<StatRow>{{"2009-05-02", "净茶", 3, 130, 120, {}, {}},
                                             {"2009-05-04", {}, {}, {}, {}, 5, {}}}));
    run("delete from 支出管理");
    RunStatisticsPass(conn, StatisticsPass::Expenses);
    EXPECT_EQ(table(), (std::vector<StatRow>{{"2009-05-02", "净茶", 3, 130, 120, {}, {}}}));
}

TEST_F(Statistics, RandomShopsRebuildAsTheDayByDayRulesSay)
{
    QRandomGenerator rnd(20261210);
    const QStringList kinds{"毛茶", "净茶", "毛茶", "净茶", "", QString()};
    const QStringList items{"欠款", "还款", "欠款", "其他"};
    auto day = [&rnd] {
        const QDate d = QDate(2009, 4, 1).addDays(rnd.bounded(40));
        return rnd.bounded(30) == 0 ? QString() // a row without a date
               : rnd.bounded(10) == 0 ? d.toString("yyyy-MM-dd") + " 10:30:00"
                                      : d.toString("yyyy-MM-dd");
    };
    auto money = [&rnd](int nullOneIn) {
        return rnd.bounded(nullOneIn) == 0 ? Money() : Money(rnd.bounded(100000) / 100.0);
    };
    auto mutate = [&] {
        for (int i = 0; i < 150; ++i)
            sale(day(), kinds[rnd.bounded(kinds.size())], money(15), money(15), money(10));
        for (int i = 0; i < 40; ++i)
            expense(day(), money(10));
        for (int i = 0; i < 40; ++i)
            ledger(day(), items[rnd.bounded(items.size())], money(10));
    };
    conn.BeginTransaction();
    mutate();
    conn.Commit();
    RunStatisticsPass(conn, StatisticsPass::All);
    EXPECT_EQ(table(), reference());

    // Edits of every source, then the three single passes in turn reach the full rebuild too.
    run("update 销售记录 set 毛净茶 = CASE 毛净茶 WHEN '毛茶' THEN '净茶' ELSE '毛茶' END where ID % 7 = 0");
    run("delete from 销售记录 where ID % 5 = 0");
    run("delete from 支出管理 where ID % 3 = 0");
    run("update 欠款管理 set 日期 = '2009-06-01' where ID % 4 = 0");
    conn.BeginTransaction();
    mutate();
    conn.Commit();
    for (StatisticsPass pass : {StatisticsPass::Debts, StatisticsPass::Sales, StatisticsPass::Expenses})
        RunStatisticsPass(conn, pass);
    EXPECT_EQ(table(), reference());
}

TEST_F(Statistics, AFailingPassLeavesTheTableAsItWasAndGivesTheEnginesReason)
{
    sale("2009-05-02", "毛茶", 2, 50, 40);
    RunStatisticsPass(conn, StatisticsPass::All);
    const std::vector<StatRow> before = table();
    sale("2009-05-03", "毛茶", 1, 10, 10);
    conn.ExecuteNative("CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.销售统计 WHEN NEW.日期 = '2009-05-03'"
                       " BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    for (StatisticsPass pass : {StatisticsPass::All, StatisticsPass::Sales}) {
        try {
            RunStatisticsPass(conn, pass);
            ADD_FAILURE() << "the pass went through";
        } catch (const DbError &e) {
            EXPECT_EQ(e.text(), "disk full");
        }
        EXPECT_EQ(table(), before);
        EXPECT_FALSE(conn.InTransaction());
    }
}

} // namespace
