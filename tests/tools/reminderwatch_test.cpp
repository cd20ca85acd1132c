#include "datalayer/clientstate.h"
#include "datalayer/connection.h"
#include "datalayer/dialect.h"
#include "datalayer/labelededit.h"
#include "datalayer/numbertext.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "tests/support/screentest.h"
#include "tools/main_admin_js.h"
#include "tools/notestatements.h"
#include "tools/reminderwatch.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimeEdit>

namespace {

const QDateTime kDue(QDate(2009, 4, 30), QTime(14, 5, 0));

class Reminders : public ScreenTest {
protected:
    static qint64 addNote(const QString &owner, const QString &title, bool remind = true, const QDateTime &at = kDue)
    {
        Run(AddNoteSql(owner, {title, "内容：" + title, remind, at}, at.date()));
        return Scalar("Select max(ID) From 记事本").toLongLong();
    }

    // The notices shown so far, as their texts.
    QStringList shown() const
    {
        QStringList out;
        for (const Dialogs::Request &r : dialogs.Requests()) {
            EXPECT_EQ(r.kind, Dialogs::Kind::Notice);
            EXPECT_EQ(r.caption, ReminderWatch::kCaption);
            out << r.text;
        }
        return out;
    }

    static QString notice(const QString &title, const QDateTime &at = kDue)
    {
        return ReminderWatch::NoticeText(title, DateTimeToStr(at), "内容：" + title);
    }

    QDateTime now = kDue.addSecs(-60);
    ReminderWatch watch{nullptr, [this] { return now; }};
};

TEST_F(Reminders, ANoteRemindsOnceWhenItsTimeComes)
{
    addNote("admin", "给供应商打电话");
    EXPECT_EQ(watch.Check(), 0);
    now = kDue.addSecs(-1);
    EXPECT_EQ(watch.Check(), 0);
    now = kDue;
    EXPECT_EQ(watch.Check(), 1);
    EXPECT_EQ(shown(), QStringList({notice("给供应商打电话")}));
    EXPECT_EQ(shown().at(0), "给供应商打电话\n提醒时间：2009-04-30 14:05:00\n\n内容：给供应商打电话");
    now = kDue.addSecs(60);
    EXPECT_EQ(watch.Check(), 0);
    EXPECT_EQ(shown().size(), 1);
}

struct WhoseCase {
    const char *name;
    QString owner;
    bool ticked;
    bool reminds;
};

void PrintTo(const WhoseCase &c, std::ostream *os)
{
    *os << c.name;
}

class Whose : public Reminders, public ::testing::WithParamInterface<WhoseCase> {};

TEST_P(Whose, OnlyTheCurrentUsersTickedNotesRemind)
{
    addNote(GetParam().owner, "便条", GetParam().ticked);
    now = kDue.addDays(3);
    EXPECT_EQ(watch.Check(), GetParam().reminds ? 1 : 0);
    EXPECT_EQ(shown().size(), GetParam().reminds ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Table, Whose,
                         ::testing::Values(WhoseCase{"Own", "admin", true, true},
                                           WhoseCase{"OwnUnticked", "admin", false, false},
                                           WhoseCase{"Another", "李四", true, false},
                                           WhoseCase{"OwnerNamedInAnotherCase", "ADMIN", true, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Reminders, MissedRemindersShowOnceAtLoginOldestFirst)
{
    addNote("admin", "后");
    addNote("admin", "先", true, kDue.addDays(-1));
    addNote("admin", "将来", true, kDue.addDays(10));
    now = kDue.addDays(1);
    watch.Start();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(), QStringList({notice("先", kDue.addDays(-1)), notice("后")}));
    EXPECT_TRUE(watch.Timer().isActive());

    // The next login finds nothing new.
    dialogs.Clear();
    ReminderWatch next{nullptr, [this] { return now; }};
    next.Start();
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(Reminders, RemindersFollowTheCurrentUserAtCheckTime)
{
    addNote("李四", "李四的");
    now = kDue;
    EXPECT_EQ(watch.Check(), 0);
    Client().currentUser = "李四";
    EXPECT_EQ(watch.Check(), 1);
    EXPECT_EQ(shown(), QStringList({notice("李四的")}));
    Client().currentUser.clear();
    EXPECT_EQ(watch.Check(), 0);
}

TEST_F(Reminders, AChangedReminderTimeRemindsAgainAndOtherChangesDoNot)
{
    addNote("admin", "乌龙");
    now = kDue;
    ASSERT_EQ(watch.Check(), 1);

    auto *w = new TForm_js();
    QPointer<TForm_js> window(w);
    w->show();
    QCoreApplication::processEvents();
    ClickRow(w->DBGrid1, 0);
    w->LabeledEdit2->setText("乌龙，文字改了");
    w->Button2->click();
    dialogs.Clear(); // the question
    now = kDue.addSecs(120);
    EXPECT_EQ(watch.Check(), 0);

    ClickRow(w->DBGrid1, 0);
    w->DateTimePicker2->setTime(QTime(16, 0, 0));
    w->Button2->click();
    dialogs.Clear();
    now = QDateTime(kDue.date(), QTime(15, 59, 59));
    EXPECT_EQ(watch.Check(), 0);
    now = QDateTime(kDue.date(), QTime(16, 0, 0));
    EXPECT_EQ(watch.Check(), 1);
    EXPECT_TRUE(shown().at(0).startsWith("乌龙，文字改了\n提醒时间：2009-04-30 16:00:00"));
    delete window.data();
}

TEST_F(Reminders, ACheckWhileANoticeIsOpenShowsNothingTwice)
{
    addNote("admin", "一");
    addNote("admin", "二");
    now = kDue;
    int nested = -1;
    dialogs.onRequest = [&](const Dialogs::Request &) {
        if (nested < 0)
            nested = watch.Check(); // a timer that fires while the first notice is open
    };
    EXPECT_EQ(watch.Check(), 2);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(shown().size(), 2);
}

TEST_F(Reminders, AnUnreadableDatabaseSkipsTheCheckSilentlyAndLeavesAClosedFileClosed)
{
    addNote("admin", "乌龙");
    now = kDue;
    // A restore has the file: the connection is closed.
    conn().Close();
    EXPECT_EQ(watch.Check(), 0);
    EXPECT_FALSE(conn().Connected());

    // The engine refuses the read (the table is not there as the check expects).
    conn().Open();
    conn().ExecuteNative("ALTER TABLE 记事本 RENAME TO 记事本旧");
    EXPECT_EQ(watch.Check(), 0);
    EXPECT_TRUE(dialogs.Requests().empty());

    // Inside a screen's write nothing is read or written.
    conn().ExecuteNative("ALTER TABLE 记事本旧 RENAME TO 记事本");
    conn().BeginTransaction();
    EXPECT_EQ(watch.Check(), 0);
    conn().Rollback();
    EXPECT_EQ(watch.Check(), 1);
}

TEST_F(Reminders, ChecksComeJustAfterEachFullMinute)
{
    now = QDateTime(kDue.date(), QTime(14, 4, 30));
    EXPECT_EQ(watch.NextInterval(), 30250);
    now = QDateTime(kDue.date(), QTime(14, 5, 0, 250));
    EXPECT_EQ(watch.NextInterval(), 60000);
    watch.Start();
    QCoreApplication::processEvents();
    EXPECT_TRUE(watch.Timer().isActive());
    EXPECT_EQ(watch.Timer().interval(), 60000);
}

// A file from before the reminded mark existed: the data module's open adds it, and the
// notes remind as any other.
class OlderNotepad : public ::testing::Test {
protected:
    OlderNotepad()
    {
        {
            Connection old;
            old.SetDatabase(folder.DatabasePath());
            old.ExecuteNative("DROP TABLE 记事本");
            old.ExecuteNative(
                "CREATE TABLE 记事本 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 用户名 TEXT COLLATE NOCASE, 修改日期 DATE,"
                " 提醒 BOOLEAN NOT NULL DEFAULT 0, 提醒时间 DATE, 标题 TEXT COLLATE NOCASE, 内容 TEXT COLLATE NOCASE)");
            old.Execute("insert into 记事本(用户名,标题,修改日期,提醒,提醒时间,内容)values('admin','旧记事','2009-04-01','-1',"
                        "'2009-04-30 14:05:00','内容：旧')");
        }
        Form_sql = new TForm_sql();
        Form_sql->FormCreate();
        Client().currentUser = "admin";
    }
    ~OlderNotepad() override
    {
        Client().currentUser.clear();
        delete Form_sql;
        Form_sql = nullptr;
    }

    TestFolder folder;
    Dialogs::Script dialogs;
};

TEST_F(OlderNotepad, GetsTheMarkAndStillRemindsOnce)
{
    Query q(&Form_sql->ADOConnection1, "check");
    q.SetSQL("Select * From 记事本");
    q.Open();
    ASSERT_GE(q.FieldIndex("已提醒时间"), 0);
    EXPECT_EQ(q.FieldIndex("已提醒时间"), q.FieldCount() - 1);
    EXPECT_TRUE(q.FieldByName("已提醒时间").IsNull());
    q.Close();

    ReminderWatch watch{nullptr, [] { return kDue.addDays(1); }};
    EXPECT_EQ(watch.Check(), 1);
    EXPECT_EQ(dialogs.Texts(), QStringList({ReminderWatch::NoticeText("旧记事", "2009-04-30 14:05:00", "内容：旧")}));
    EXPECT_EQ(watch.Check(), 0);
}

} // namespace
