#pragma once
#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>

// Shows the current user's notes whose reminder time has come, each once, while the program
// runs: first right after login (reminders missed while it was closed), then at every full
// minute. A check is one small query of its own; when the database cannot be read (a restore
// under way, the file closed) the check is skipped without a word.
class ReminderWatch : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    inline static const QString kCaption = QStringLiteral("记事本提醒");

    explicit ReminderWatch(QObject *parent = nullptr, Clock clock = &QDateTime::currentDateTime);

    // The first check once the event loop runs, then one each minute.
    void Start();
    // One check now: every due note is marked and shown. Gives how many were shown.
    int Check();
    // When the next check comes, in milliseconds from the clock's now.
    int NextInterval() const;
    const QTimer &Timer() const { return m_timer; }

    // What the notice of a note says.
    static QString NoticeText(const QString &title, const QString &remindAt, const QString &text);

private:
    void tick();

    Clock m_clock;
    QTimer m_timer;
    bool m_checking = false;
};
