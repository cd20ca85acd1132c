#include "maintenance/backupfolders.h"

#include "datalayer/numbertext.h"
#include "datalayer/sysfun.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

QString DayFolderName(const QDate &date)
{
    return DateToStr(date);
}

QString TimeFileName(const QTime &time)
{
    return TimeToStr(time).replace(u':', u'-') + QStringLiteral(".mdb");
}

QStringList DayFolders(const QString &backupFolder)
{
    QStringList names;
    ListFolder(backupFolder, names);
    const QDir dir(backupFolder);
    names.removeIf([&dir](const QString &name) { return !QFileInfo(dir.filePath(name)).isDir(); });
    std::sort(names.begin(), names.end(), std::greater<>());
    return names;
}

QStringList Copies(const QString &dayFolder)
{
    // Names starting with "." are copies still being written; they are not offered.
    QFileInfoList files = QDir(dayFolder).entryInfoList({QStringLiteral("*.mdb")}, QDir::Files);
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const QDateTime ta = a.lastModified(), tb = b.lastModified();
        return ta != tb ? ta > tb : a.fileName() > b.fileName();
    });
    QStringList names;
    for (const QFileInfo &f : files)
        if (!f.fileName().startsWith(u'.'))
            names << f.fileName();
    return names;
}

QString BackupFileName(const QString &typed, QString &problem)
{
    const QString name = typed.trimmed();
    if (name.isEmpty()) {
        problem = QStringLiteral("请输入备份文件名");
        return QString();
    }
    // A name of its own in the day folder: no way up or into another folder, nothing the
    // lists hide, nothing a Windows file system refuses.
    const bool plain = !name.startsWith(u'.') && !name.contains(QStringLiteral("..")) &&
                       std::none_of(name.begin(), name.end(), [](QChar c) {
                           return c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c);
                       });
    if (!plain) {
        problem = QStringLiteral("备份文件名只能是一个文件名，不能以 . 开头，不能含有 .. 或 \\ / : * ? \" < > |");
        return QString();
    }
    return name.endsWith(QStringLiteral(".mdb"), Qt::CaseInsensitive) ? name : name + QStringLiteral(".mdb");
}

QString MakeDayFolder(const QString &backupFolder, const QDate &date, QString &problem)
{
    if (backupFolder.trimmed().isEmpty()) {
        problem = QStringLiteral("请先选择备份目录");
        return QString();
    }
    const QString day = QDir(backupFolder).filePath(DayFolderName(date));
    // One level each, as the folders have always been made.
    QDir().mkdir(backupFolder);
    QDir().mkdir(day);
    if (!QFileInfo(day).isDir()) {
        problem = QStringLiteral("无法创建备份目录 ") + day;
        return QString();
    }
    return day;
}
