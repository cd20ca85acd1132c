#include "maintenance/databasecopy.h"

#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "maintenance/databasecheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

fs::path fsPath(const QString &path)
{
    return fs::path(path.toStdU16String());
}

QString sqlText(const QString &text)
{
    QString q = text;
    q.replace('\'', QStringLiteral("''"));
    return '\'' + q + '\'';
}

// A fresh name beside path that starts with "." (so no list shows it) and exists nowhere.
QString hiddenNameBeside(const QString &path, const char *tag)
{
    const QFileInfo info(path);
    QString name;
    do {
        name = info.absolutePath() + QStringLiteral("/.") + info.fileName() + '.' + QLatin1String(tag) + '.' +
               QString::number(QRandomGenerator::global()->generate(), 16);
    } while (QFileInfo::exists(name));
    return name;
}

// The engine leaves a journal beside a file it wrote; after a clean close it holds nothing.
void removeWithJournal(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// Removes an unfinished file when the routine leaves early.
class Unfinished {
public:
    explicit Unfinished(QString path) : m_path(std::move(path)) {}
    ~Unfinished()
    {
        if (!m_path.isEmpty())
            removeWithJournal(m_path);
    }
    void Keep() { m_path.clear(); }

private:
    QString m_path;
};

// Holds the live connection closed; nothing can open it until released.
class Held {
public:
    explicit Held(Connection &conn) : m_conn(conn) { m_conn.SetHeld(true); }
    ~Held() { m_conn.SetHeld(false); }
    Held(const Held &) = delete;
    Held &operator=(const Held &) = delete;

private:
    Connection &m_conn;
};

bool syncPath(const QString &path, bool folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | (folder ? O_DIRECTORY : 0));
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    Q_UNUSED(path);
    Q_UNUSED(folder);
    return true;
#endif
}

// Renames over target in one step (readers see the old file or the new, never neither),
// then makes the rename itself durable.
QString replaceFile(const QString &from, const QString &target)
{
    std::error_code ec;
    fs::rename(fsPath(from), fsPath(target), ec);
    if (ec)
        return QStringLiteral("无法写入文件 ") + target + QStringLiteral("：") + QString::fromLocal8Bit(ec.message());
    syncPath(QFileInfo(target).absolutePath(), true);
    return QString();
}

// A byte copy of a file no connection holds, flushed to disk before it counts as made.
QString copySynced(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("无法读取文件 ") + source;
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QStringLiteral("无法写入文件 ") + target;
    QByteArray block;
    while (!(block = in.read(1 << 16)).isEmpty()) {
        if (out.write(block) != block.size())
            return QStringLiteral("无法写入文件 ") + target + QStringLiteral("（磁盘已满？）");
    }
    if (in.error() != QFileDevice::NoError)
        return QStringLiteral("无法读取文件 ") + source;
    if (!out.flush())
        return QStringLiteral("无法写入文件 ") + target;
#ifdef Q_OS_UNIX
    if (::fsync(out.handle()) != 0)
        return QStringLiteral("无法写入文件 ") + target;
#endif
    return QString();
}

// Keeps the live file's present content reachable under another name, without copying
// when the file system allows a second link.
QString keepAside(const QString &live, const QString &aside)
{
    std::error_code ec;
    fs::create_hard_link(fsPath(live), fsPath(aside), ec);
    return ec ? copySynced(live, aside) : QString();
}

} // namespace

bool SameFile(const QString &a, const QString &b)
{
    auto place = [](const QString &path) {
        const QFileInfo info(path);
        if (info.exists())
            return info.canonicalFilePath();
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        return (folder.isEmpty() ? info.absolutePath() : folder) + '/' + info.fileName();
    };
    return place(a) == place(b);
}

QString BackupDatabase(Connection &live, const QString &target, const std::function<void(int)> &progress)
{
    auto report = [&progress](int value) {
        if (progress)
            progress(value);
    };
    report(0);
    if (SameFile(target, live.Database()))
        return QStringLiteral("备份文件不能是正在使用的数据库");
    const QFileInfo info(target);
    if (!QFileInfo(info.absolutePath()).isDir())
        return QStringLiteral("备份目录不存在：") + info.absolutePath();
    if (info.isDir())
        return QStringLiteral("已有同名的文件夹：") + target;

    const QString temporary = hiddenNameBeside(target, "part");
    // The live connection may open files but not make them: the empty file is made here.
    if (QFile empty(temporary); !empty.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QStringLiteral("无法写入备份文件 ") + temporary;
    Unfinished unfinished(temporary);
    const QString alias = QStringLiteral("tessaly_copy");
    try {
        // The export reads one consistent state of the live file and writes it keyed like it.
        live.ExecuteNative(QStringLiteral("ATTACH DATABASE %1 AS %2 KEY %3")
                               .arg(sqlText(temporary), alias, sqlText(kDatabasePassword)));
        try {
            // An unfinished copy is thrown away whole, so it needs no journal of its own.
            live.ExecuteNative(QStringLiteral("PRAGMA %1.journal_mode = OFF").arg(alias));
            live.ExecuteNative(QStringLiteral("SELECT sqlcipher_export('%1')").arg(alias));
        } catch (const DbError &) {
            live.ExecuteNative(QStringLiteral("DETACH DATABASE ") + alias);
            throw;
        }
        live.ExecuteNative(QStringLiteral("DETACH DATABASE ") + alias);
    } catch (const DbError &e) {
        return QStringLiteral("无法复制数据库：") + e.text();
    }
    if (!syncPath(temporary, false))
        return QStringLiteral("无法写入备份文件 ") + temporary;
    report(60);
    const QString problem = CheckDatabaseFile(temporary);
    if (!problem.isEmpty())
        return QStringLiteral("备份的副本未通过检查：") + problem;
    report(90);
    const QString renamed = replaceFile(temporary, target);
    if (!renamed.isEmpty())
        return renamed;
    unfinished.Keep();
    report(100);
    return QString();
}

QString RestoreDatabase(Connection &live, const QString &source, const QString &backupFirst)
{
    const QString livePath = live.Database();
    if (SameFile(source, livePath))
        return QStringLiteral("要还原的文件就是正在使用的数据库");
    QString problem = CheckDatabaseFile(source);
    if (!problem.isEmpty())
        return problem;
    if (!backupFirst.isEmpty()) {
        if (SameFile(backupFirst, source))
            return QStringLiteral("还原前的备份会覆盖要还原的文件，请换一个备份文件名");
        problem = BackupDatabase(live, backupFirst);
        if (!problem.isEmpty())
            return QStringLiteral("还原前的备份失败：") + problem;
    }

    // What goes in place is the copy that was checked, beside the live file so that the
    // rename stays on one file system; an older file is brought up to the schema here,
    // before the live file is touched.
    const QString incoming = hiddenNameBeside(livePath, "restore");
    Unfinished unfinishedIncoming(incoming);
    problem = copySynced(source, incoming);
    if (!problem.isEmpty())
        return problem;
    QFile::setPermissions(incoming, QFile::permissions(livePath));
    try {
        Connection upgrade(QStringLiteral("restore"));
        upgrade.SetDatabase(incoming);
        upgrade.SetExclusive(true);
        upgrade.Open();
    } catch (const DbError &e) {
        return QStringLiteral("无法打开要还原的数据库：") + e.text();
    }
    QFile::remove(incoming + QStringLiteral("-journal"));
    problem = CheckDatabaseFile(incoming);
    if (!problem.isEmpty())
        return problem;

    const QString aside = hiddenNameBeside(livePath, "old");
    Unfinished unfinishedAside(aside);
    {
        Held held(live);
        live.Close();
        problem = keepAside(livePath, aside);
        if (problem.isEmpty())
            problem = replaceFile(incoming, livePath);
        if (problem.isEmpty())
            unfinishedIncoming.Keep();
    }
    try {
        live.Open();
    } catch (const DbError &e) {
        if (problem.isEmpty()) {
            // The new file will not open: the old one goes back. Should even that fail, the old
            // file stays where it is, the one copy of it.
            const QString back = replaceFile(aside, livePath);
            unfinishedAside.Keep();
            try {
                live.Open();
            } catch (const DbError &) {
            }
            return QStringLiteral("还原的数据库无法打开（") + e.text() + QStringLiteral("），") +
                   (back.isEmpty() ? QStringLiteral("已放回原数据库")
                                   : back + QStringLiteral("；原数据库保存在 ") + aside);
        }
        return problem + QStringLiteral("；数据库无法重新打开：") + e.text();
    }
    return problem;
}

QString CompactDatabase(Connection &live, const QString &path)
{
    try {
        if (SameFile(path, live.Database())) {
            // The program's own connection holds the file exclusively: it compacts it.
            live.EnsureOpen();
            const QString problem = CheckDatabase(live);
            if (!problem.isEmpty())
                return problem;
            live.ExecuteNative(QStringLiteral("VACUUM"));
            return QString();
        }
        const QString problem = CheckDatabaseFile(path);
        if (!problem.isEmpty())
            return problem;
        Connection conn(QStringLiteral("compact"));
        conn.SetDatabase(path);
        conn.Open();
        conn.ExecuteNative(QStringLiteral("VACUUM"));
        return QString();
    } catch (const DbError &e) {
        return QStringLiteral("无法压缩数据库：") + e.text();
    }
}
