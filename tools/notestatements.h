#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

// One note as the notepad's controls hold it.
struct NotepadNote {
    QString title;
    QString text;
    bool remind = false;
    QDateTime remindAt; // the reminder's date and time
};

// The statements of the notepad and its reminders over 记事本. Every note belongs to one
// user, and a change or deletion addresses a note only together with its owner.

// The owner's notes.
QString NotesSql(const QString &owner);
// A new note of the owner, saved today.
QString AddNoteSql(const QString &owner, const NotepadNote &note, const QDate &today);
// The owner's note with the key, rewritten and saved today; its owner stays.
QString ChangeNoteSql(const QString &owner, qint64 id, const NotepadNote &note, const QDate &today);
QString DeleteNoteSql(const QString &owner, qint64 id);

// The user's ticked notes whose reminder time has come and has not been shown yet, oldest first.
QString DueRemindersSql(const QString &user, const QDateTime &now);
// Marks the note as reminded for the reminder time it was found with; a note whose time was
// changed meanwhile is left alone.
QString MarkRemindedSql(qint64 id, const QString &remindAt);
