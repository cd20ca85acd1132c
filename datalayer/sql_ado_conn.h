#pragma once
#include "datalayer/connection.h"
#include "datalayer/query.h"

#include <QObject>
#include <QStringList>
#include <memory>

// Where the dealer directory's cache refresh would connect; nothing connects yet.
struct RemoteConnectionSettings {
    QString provider = QStringLiteral("SQLOLEDB.1");
    QString password = QStringLiteral("4417302");
    bool persistSecurityInfo = false;
    QString userId;
    QString dataSource;
    QString ConnectionString() const;
};

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
    RemoteConnectionSettings ADOConnection_sql;
    Query *ADOQuery_sql; // bound to no local connection until the directory refresh exists
    SaveDialogSettings SaveDialog1;

    QList<Query *> SharedQueries() const;

    // The creation steps: holds the remote settings and opens the database exclusively.
    // Throws DbError with the engine's text; the caller shows it in the standard error box.
    void FormCreate();
};

// The one data module, alive from the successful login to the end of the program.
extern TForm_sql *Form_sql;
