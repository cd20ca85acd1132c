#pragma once
// Files a restore must refuse, and a file as the first release made it.
#include "datalayer/schema.h"
#include "maintenance/databasecheck.h"
#include "tests/maintenance/dbfiles.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

// A database as the first release made it: every table with only the columns it had then,
// and no indexes (the upgrade adds what is missing).
inline QStringList FirstReleaseSchema()
{
    QStringList out;
    for (const TableDef &t : SchemaTables()) {
        QStringList columns{QStringLiteral("ID INTEGER PRIMARY KEY AUTOINCREMENT")};
        for (int i = 1; i < FirstReleaseColumns(t.name); ++i)
            columns << '"' + t.columns[size_t(i)].name + '"';
        out << QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(t.name, columns.join(QStringLiteral(", ")));
    }
    return out;
}

// A source a restore must refuse, leaving the live file and the source as they were.
struct BadSource {
    const char *name;
    std::function<void(const QString &path, const QString &goodBackup)> make;
    const char *reason; // what the refusal says
};

inline void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

inline const std::vector<BadSource> &BadSources()
{
    static const char *const kNotOurs = "不是本系统的数据库文件，或数据库密码不同";
    static const std::vector<BadSource> sources{
        {"zero bytes", [](const QString &p, const QString &) { WriteBytes(p, QByteArray()); }, "文件是空的"},
        {"text file", [](const QString &p, const QString &) { WriteBytes(p, "备份清单\r\n一月：12.mdb\r\n"); }, kNotOurs},
        {"damaged page",
         [](const QString &p, const QString &good) {
             ASSERT_TRUE(QFile::copy(good, p));
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             ASSERT_GT(f.size(), 4 * 1024 * 5);
             f.seek(4 * 1024 * 4 + 200);
             f.write(QByteArray(64, '\x5a'));
         },
         "数据库文件已损坏"},
        {"plain database",
         [](const QString &p, const QString &) { ASSERT_TRUE(dbfiles::MakeFile(p, SchemaStatements(), "")); }, kNotOurs},
        {"another key",
         [](const QString &p, const QString &) { ASSERT_TRUE(dbfiles::MakeFile(p, SchemaStatements(), "another")); },
         kNotOurs},
        {"a table missing",
         [](const QString &p, const QString &) {
             QStringList s = FirstReleaseSchema();
             s.removeFirst();
             ASSERT_TRUE(dbfiles::MakeFile(p, s));
         },
         "缺少数据表 库存管理"},
        {"another program's table",
         [](const QString &p, const QString &) {
             QStringList s = FirstReleaseSchema();
             s.removeFirst();
             s << QStringLiteral("CREATE TABLE \"库存管理\" (ID INTEGER PRIMARY KEY, 名称 TEXT)");
             ASSERT_TRUE(dbfiles::MakeFile(p, s));
         },
         "数据表 库存管理 的列与本系统不符"},
    };
    return sources;
}
