#include "app/folders.h"

#include "datalayer/programfolder.h"

#include <QDir>

void CreateProgramFolders()
{
    QDir folder(ProgramFolder());
    for (const char *name : {"bakdata", "data"})
        if (!folder.exists(QString::fromLatin1(name)))
            folder.mkdir(QString::fromLatin1(name));
}
