#include "tools/notestatements.h"

#include "datalayer/dialect.h"
#include "datalayer/numbertext.h"
#include "datalayer/schema.h"

namespace {
QString flag(bool on)
{
    // The old engine's true is -1; quoted as the notepad always wrote it.
    return QuotedStr(on ? QStringLiteral("-1") : QStringLiteral("0"));
}

QString ofOwner(const QString &owner, qint64 id)
{
    return QStringLiteral(" WHERE ID = %1 AND 用户名 = ").arg(id) + QuotedStr(owner);
}
} // namespace

QString NotesSql(const QString &owner)
{
    // All rows share the owner; the key puts the newest note on top in a fixed order.
    return QStringLiteral("Select * From ") + tables::Notepad + QStringLiteral(" where 用户名= ") + QuotedStr(owner) +
           QStringLiteral(" Order By 用户名 DESC, ID DESC");
}

QString AddNoteSql(const QString &owner, const NotepadNote &note, const QDate &today)
{
    return QStringLiteral("insert into ") + tables::Notepad +
           QStringLiteral("(用户名,标题,修改日期,提醒,提醒时间,内容)values(") + QuotedStr(owner) + u',' +
           QuotedStr(note.title) + u',' + QuotedStr(DateToStr(today)) + u',' + flag(note.remind) + u',' +
           QuotedStr(DateTimeToStr(note.remindAt)) + u',' + QuotedStr(note.text) + u')';
}

QString ChangeNoteSql(const QString &owner, qint64 id, const NotepadNote &note, const QDate &today)
{
    return QStringLiteral("UPDATE ") + tables::Notepad + QStringLiteral(" SET 标题=") + QuotedStr(note.title) +
           QStringLiteral(",修改日期=") + QuotedStr(DateToStr(today)) + QStringLiteral(",提醒=") + flag(note.remind) +
           QStringLiteral(",提醒时间=") + QuotedStr(DateTimeToStr(note.remindAt)) + QStringLiteral(",内容=") +
           QuotedStr(note.text) + ofOwner(owner, id);
}

QString DeleteNoteSql(const QString &owner, qint64 id)
{
    return QStringLiteral("DELETE FROM ") + tables::Notepad + ofOwner(owner, id);
}

QString DueRemindersSql(const QString &user, const QDateTime &now)
{
    // Stored times are date-time texts, which compare as they sort; a bare date is due
    // from the start of its day.
    return QStringLiteral("Select ID, 标题, 内容, 提醒时间 From ") + tables::Notepad +
           QStringLiteral(" where 用户名 = ") + QuotedStr(user) +
           QStringLiteral(" and 提醒 <> 0 and 提醒时间 <= ") + QuotedStr(DateTimeToStr(now)) +
           QStringLiteral(" and (已提醒时间 is null or 已提醒时间 <> 提醒时间) Order By 提醒时间, ID");
}

QString MarkRemindedSql(qint64 id, const QString &remindAt)
{
    return QStringLiteral("UPDATE ") + tables::Notepad + QStringLiteral(" SET 已提醒时间 = 提醒时间 WHERE ID = %1").arg(id) +
           QStringLiteral(" AND 提醒时间 = ") + QuotedStr(remindAt);
}
