#include "app/installdb.h"

#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "datalayer/dialect.h"
#include "datalayer/runsql.h"
#include "users/uncryp.h"

#include <QFile>

void CreateInstallationDatabase(const QString &path)
{
    CreateDatabaseFile(path);
    Connection conn(QStringLiteral("install"));
    conn.SetDatabase(path);
    QStringList statements;
    statements << "insert into 用户管理(用户名,密码,权限,备注) values('admin'," + QuotedStr(EncipherHex(QStringLiteral("admin")))
                          + ",'高级用户','')";
    const struct {
        const char *table, *column;
        QStringList values;
    } lists[] = {
        {"品种管理", "品种", {"铁观音", "本山", "黄金桂", "毛蟹", "大红袍"}},
        {"产地管理", "产地", {"安溪", "感德", "祥华", "西坪"}},
        {"包装管理", "包装", {"散装", "贷装", "罐装", "礼盒"}},
    };
    for (const auto &l : lists)
        for (const QString &v : l.values)
            statements << QStringLiteral("insert into %1(%2) values(%3)")
                              .arg(QString::fromUtf8(l.table), QString::fromUtf8(l.column), QuotedStr(v));
    if (!RunSQLTogether(statements, conn)) {
        const QString reason = conn.LastError();
        conn.Close();
        QFile::remove(path);
        throw DbError(reason);
    }
}
