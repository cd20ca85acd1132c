#include "maintenance/skin.h"

#include "datalayer/programfolder.h"
#include "datalayer/sysfun.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString SkinPath(const QString &name)
{
    return ProgramPath(QStringLiteral("skins/") + name);
}

QStringList SkinFiles(const QString &folder)
{
    QStringList names;
    ListFolder(folder, names);
    // Sub-folders and other files are not skins: choosing one would only store a name that
    // paints nothing.
    const QDir dir(folder);
    names.removeIf([&dir](const QString &name) {
        return !name.endsWith(QStringLiteral(".skn"), Qt::CaseInsensitive) || !QFileInfo(dir.filePath(name)).isFile();
    });
    return names;
}

bool ApplySkin(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    // The application's style sheet reaches every window, open now or opened later.
    qApp->setStyleSheet(QString::fromUtf8(file.readAll()));
    return true;
}
