#pragma once
#include "datalayer/connection.h"
#include "datalayer/odbcconnection.h"
#include "datalayer/query.h"

#include <QObject>
#include <QStringList>
#include <memory>

// What the export's save dialog keeps between uses.
struct SaveDialogSettings {
    QStringList filters;
    int filterIndex = 1;
    QString fileName;
    QString defaultExt;
};

// The data module: owns the one local connection and the shared queries every screen borrows.
class TForm_sql : public QObject {
    Q_OBJECT
public:
    explicit TForm_sql(QObject *parent = nullptr);
    ~TForm_sql() override;

    Connection ADOConnection1{QStringLiteral("ADOConnection1")};
    Query *ADOQuery1;
    Query *main_ADOQuery;
    Query *ADOQuery_user;
    Query *ADOQuery_xs;
    Query *ADOQuery_tj;
    Query *ADOQuery_tj1;
    Query *ADOQuery_GGuser;
    // The dealer directory's remote server, reached through ODBC with the connection string
    // of config.ini when a refresh runs; only the refresh worker uses the pair, one at a time.
    OdbcConnection ADOConnection_sql{QStringLiteral("ADOConnection_sql")};
    OdbcQuery ADOQuery_sql{&ADOConnection_sql, QStringLiteral("ADOQuery_sql")};
    SaveDialogSettings SaveDialog1;

    QList<Query *> SharedQueries() const;

    // The creation step: opens the database exclusively (the remote server waits for a refresh).
    // Throws DbError with the engine's text; the caller shows it in the standard error box.
    void FormCreate();
};

// The one data module, alive from the successful login to the end of the program.
extern TForm_sql *Form_sql;
