#pragma once
#include <QString>
#include <QStringList>

class QWidget;

class Connection;

// Executes one statement of the old dialect; true when it ran. Shows nothing: the engine's
// reason for a refusal stays in conn.LastError() for the screen to report.
bool RunSQL(const QString &sql, Connection &conn);

// Executes the statements as one transaction: all of them happen, or none does.
bool RunSQLTogether(const QStringList &statements, Connection &conn);

// RunSQL for a write the user asked for: a refusal shows the engine's reason in the
// standard error box, owned by owner. True when it ran.
bool RunSQLOrReport(const QString &sql, Connection &conn, QWidget *owner);

// RunSQLOrReport for a change or deletion of the row on screen: a statement that matched no
// row (deleted meanwhile) shows the notice Dialogs::kRowGone instead of passing for done.
enum class RowWrite { Refused, NoRow, Done };
RowWrite RunSQLOnRowOrReport(const QString &sql, Connection &conn, QWidget *owner);
