#include "datalayer/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder()
{
    QString folder = overrideFolder().isEmpty() ? QCoreApplication::applicationDirPath() : overrideFolder();
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

void SetProgramFolder(const QString &folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

QString ProgramPath(const QString &relative)
{
    return ProgramFolder() + relative;
}
