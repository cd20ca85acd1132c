#include "maintenance/copyfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

QString IoErrorText(int code)
{
    switch (code) {
    case ENOENT:
        return QStringLiteral("File not found");
    case EINVAL:
    case ENAMETOOLONG:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("File access denied");
    case ENOSPC:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(code);
    }
}

QString CopyFileWithProgress(const QString &source, const QString &target, int part,
                             const std::function<void(int)> &progress)
{
    QFile in(source);
    errno = 0;
    if (!in.open(QIODevice::ReadOnly))
        return IoErrorText(errno ? errno : ENOENT);
    // QSaveFile writes to a temporary name in the target's folder and renames on commit.
    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly))
        return IoErrorText(errno ? errno : EACCES);
    const qint64 size = in.size();
    qint64 blocks = 0;
    char buffer[2048];
    while (true) {
        const qint64 read = in.read(buffer, sizeof buffer);
        if (read < 0) {
            out.cancelWriting();
            return IoErrorText(EIO);
        }
        if (progress)
            progress(int(part * (size ? blocks * 2048 * 100 / size : 0) / 4));
        QCoreApplication::processEvents();
        if (read == 0)
            break;
        errno = 0;
        const qint64 written = out.write(buffer, read);
        if (written != read) {
            const int code = errno ? errno : ENOSPC;
            out.cancelWriting();
            return IoErrorText(code);
        }
        ++blocks;
    }
    errno = 0;
    if (!out.commit())
        return IoErrorText(errno ? errno : EIO);
    if (progress)
        progress(100);
    return QString();
}
