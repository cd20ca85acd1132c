#pragma once
#include <QString>
#include <QStringList>

// A skin is a Qt style sheet in a .skn file of the skins/ folder beside the executable.

// skins/<name> in the program folder.
QString SkinPath(const QString &name);
// The skins of a folder: its .skn files, by name.
QStringList SkinFiles(const QString &folder);
// Applies the skin file to every window of the program at once; false, with the look
// unchanged, when the file cannot be read.
bool ApplySkin(const QString &path);
