#include "app/client.h"

#include "app/main_client.h"
#include "app/main_login.h"
#include "app/screens.h"
#include "datalayer/dberror.h"
#include "datalayer/dialogs.h"
#include "datalayer/sql_ado_conn.h"

#include <QApplication>

int RunClient(QApplication &app)
{
    app.setApplicationName(QStringLiteral("Tessaly"));
    RegisterScreens();

    Form_login = new TForm_login();
    const int result = Form_login->exec();
    delete Form_login;
    if (result != QDialog::Accepted)
        return 0; // neither the main window nor the data module comes into being

    // The main window's creation does not touch the data module; its first showing does,
    // and that comes only when the message loop runs.
    Form_Client = new TForm_Client();
    Form_Client->setAttribute(Qt::WA_DeleteOnClose);
    Form_sql = new TForm_sql(&app);
    try {
        Form_sql->FormCreate();
    } catch (const DbError &e) {
        Dialogs::ShowError(nullptr, e.text());
    }
    Form_Client->showMaximized();
    const int code = app.exec();
    delete Form_sql; // the connections close with their owner
    return code;
}
