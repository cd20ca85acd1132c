// Build tool: lays the installation database into the program folder when it is absent.
#include "app/installdb.h"
#include "datalayer/dberror.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaly_makedb PATH\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFile::exists(path))
        return 0; // an existing database is the shop's data: never touched
    try {
        CreateInstallationDatabase(path);
    } catch (const DbError &e) {
        std::fprintf(stderr, "tessaly_makedb: %s\n", qPrintable(e.text()));
        return 1;
    }
    std::printf("made %s\n", qPrintable(path));
    return 0;
}
