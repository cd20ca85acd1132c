#pragma once
#include <QString>

// The folder that holds the executable, ending in "/"; every path of the program is built from it.
QString ProgramFolder();
// Tests point the program at a folder of their own; an empty path returns to the executable's folder.
void SetProgramFolder(const QString &folder);
// A path inside the program folder, such as "data/datas.mdb".
QString ProgramPath(const QString &relative);
