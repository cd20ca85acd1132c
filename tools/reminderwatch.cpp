#include "tools/reminderwatch.h"

#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "tools/notestatements.h"

#include <QApplication>
#include <QPointer>
#include <vector>

namespace {
struct DueNote {
    qint64 id;
    QString title;
    QString text;
    QString remindAt;
};

// The user's due notes, or nothing when the database cannot be read just now.
std::vector<DueNote> dueNotes(Connection &conn, const QString &user, const QDateTime &now)
{
    std::vector<DueNote> due;
    try {
        Query q(&conn, QStringLiteral("ReminderQuery"));
        q.SetSQL(DueRemindersSql(user, now));
        q.Open();
        for (q.First(); !q.Eof(); q.Next()) {
            auto text = [&q](const char *column) { return q.FieldByName(QString::fromUtf8(column)).AsString(); };
            due.push_back({q.FieldByName(QStringLiteral("ID")).AsInteger(), text("标题"), text("内容"), text("提醒时间")});
        }
    } catch (const std::exception &) {
        due.clear();
    }
    return due;
}

// The data module's connection when a check may use it: open and not inside a screen's write.
// A closed connection is left closed, since whoever closed it is working on the file.
Connection *idleConnection()
{
    if (!Form_sql)
        return nullptr;
    Connection &conn = Form_sql->ADOConnection1;
    return conn.Connected() && !conn.InTransaction() ? &conn : nullptr;
}
} // namespace

ReminderWatch::ReminderWatch(QObject *parent, Clock clock) : QObject(parent), m_clock(std::move(clock))
{
    setObjectName(QStringLiteral("ReminderWatch"));
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReminderWatch::tick);
}

void ReminderWatch::Start()
{
    m_timer.start(0);
}

void ReminderWatch::tick()
{
    QPointer<ReminderWatch> alive(this);
    Check();
    if (alive)
        m_timer.start(NextInterval());
}

int ReminderWatch::NextInterval() const
{
    // Just past the next full minute, so a note due at 14:05:00 shows at 14:05:00 and not
    // up to a minute late; a timer that fires a little early must not find it not yet due.
    const QTime now = m_clock().time();
    const int intoMinute = now.second() * 1000 + now.msec();
    return 60000 - intoMinute + 250;
}

int ReminderWatch::Check()
{
    if (m_checking)
        return 0; // a notice of this check is still open
    const QString user = Client().currentUser;
    Connection *conn = idleConnection();
    if (user.isEmpty() || !conn)
        return 0;
    m_checking = true;
    QPointer<ReminderWatch> alive(this);
    int shown = 0;
    for (const DueNote &note : dueNotes(*conn, user, m_clock())) {
        // Marked before it shows: a note that cannot be marked would come back every minute.
        conn = idleConnection();
        if (!conn || !RunSQL(MarkRemindedSql(note.id, note.remindAt), *conn) || conn->RowsAffected() != 1)
            continue;
        if (QWidget *main = Client().mainWindow)
            QApplication::alert(main);
        Dialogs::Notice(nullptr, NoticeText(note.title, note.remindAt, note.text), kCaption);
        ++shown;
        if (!alive)
            return shown; // the program ended while the notice was open
    }
    m_checking = false;
    return shown;
}

QString ReminderWatch::NoticeText(const QString &title, const QString &remindAt, const QString &text)
{
    return title + QStringLiteral("\n提醒时间：") + remindAt + QStringLiteral("\n\n") + text;
}
