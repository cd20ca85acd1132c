#include "datalayer/sql_ado_conn.h"

#include "datalayer/programfolder.h"

TForm_sql *Form_sql = nullptr;

TForm_sql::TForm_sql(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("Form_sql"));
    ADOConnection1.SetDatabase(ProgramPath(QStringLiteral("data/datas.mdb")));
    ADOConnection1.SetPassword(kDatabasePassword);
    ADOConnection1.SetExclusive(true);
    auto make = [this](const char *name) { return new Query(&ADOConnection1, QString::fromLatin1(name), this); };
    ADOQuery1 = make("ADOQuery1");
    main_ADOQuery = make("main_ADOQuery");
    ADOQuery_user = make("ADOQuery_user");
    ADOQuery_xs = make("ADOQuery_xs");
    ADOQuery_tj = make("ADOQuery_tj");
    ADOQuery_tj1 = make("ADOQuery_tj1");
    ADOQuery_GGuser = make("ADOQuery_GGuser");
}

TForm_sql::~TForm_sql()
{
    if (Form_sql == this)
        Form_sql = nullptr;
}

QList<Query *> TForm_sql::SharedQueries() const
{
    return {ADOQuery1, main_ADOQuery, ADOQuery_user, ADOQuery_xs, ADOQuery_tj, ADOQuery_tj1, ADOQuery_GGuser};
}

void TForm_sql::FormCreate()
{
    // The first open connects to the database; its rows wait for a screen to replace them.
    ADOQuery1->Close();
    ADOQuery1->ClearSQL();
    ADOQuery1->SetSQL(QStringLiteral("Select 用户名 From 用户管理 Order By Id Desc"));
    ADOQuery1->Open();
}
