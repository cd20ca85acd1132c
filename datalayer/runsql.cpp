#include "datalayer/runsql.h"

#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "datalayer/dialogs.h"

bool RunSQL(const QString &sql, Connection &conn)
{
    try {
        conn.Execute(sql);
        conn.SetLastError(QString());
        return true;
    } catch (const DbError &e) {
        conn.SetLastError(e.text());
        return false;
    }
}

bool RunSQLTogether(const QStringList &statements, Connection &conn)
{
    try {
        conn.BeginTransaction();
        for (const QString &sql : statements)
            conn.Execute(sql);
        conn.Commit();
        conn.SetLastError(QString());
        return true;
    } catch (const DbError &e) {
        const QString reason = e.text();
        try {
            conn.Rollback();
        } catch (const DbError &) {
            // The engine has already rolled back (it does so on some errors).
        }
        conn.SetLastError(reason);
        return false;
    }
}

bool RunSQLOrReport(const QString &sql, Connection &conn, QWidget *owner)
{
    if (RunSQL(sql, conn))
        return true;
    Dialogs::ShowError(owner, conn.LastError());
    return false;
}

RowWrite RunSQLOnRowOrReport(const QString &sql, Connection &conn, QWidget *owner)
{
    if (!RunSQLOrReport(sql, conn, owner))
        return RowWrite::Refused;
    if (conn.RowsAffected() > 0)
        return RowWrite::Done;
    Dialogs::Notice(owner, Dialogs::kRowGone);
    return RowWrite::NoRow;
}
