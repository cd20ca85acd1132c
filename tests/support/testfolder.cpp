#include "tests/support/testfolder.h"

#include "app/installdb.h"
#include "datalayer/programfolder.h"

#include <QDir>
#include <QFile>

namespace {
// Made once per test program and copied, so each test starts from the same installation.
QString templateDatabase()
{
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        path = dir.filePath(QStringLiteral("template.mdb"));
        CreateInstallationDatabase(path);
    }
    return path;
}
} // namespace

TestFolder::TestFolder(bool withDatabase)
{
    SetProgramFolder(m_dir.path());
    if (withDatabase) {
        QDir(m_dir.path()).mkpath(QStringLiteral("data"));
        QFile::copy(templateDatabase(), DatabasePath());
        QFile(DatabasePath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
}

TestFolder::~TestFolder()
{
    SetProgramFolder(QString());
}

QString TestFolder::Path(const QString &relative) const
{
    return relative.isEmpty() ? m_dir.path() + '/' : m_dir.filePath(relative);
}
