#include "users/main_admin_pwb.h"

#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "users/accounts.h"

#include <QLineEdit>
#include <QPushButton>

TForm_pwbedit *Form_pwbedit = nullptr;

TForm_pwbedit::TForm_pwbedit(QWidget *parent) : QWidget(parent)
{
    // No buttons in the title bar: its own "取消" closes it, and so does Escape.
    MakeToolWindow(this, "Form_pwbedit", QStringLiteral("密码修改"), {249, 255},
                   {.titleBar = ToolWindowLook::TitleBar::NoButtons, .fixedSize = true, .closedByEscape = true});

    LabeledEdit1 = MakeField(this, "LabeledEdit1", QStringLiteral("用户名："), 16, false, QString(), 225);
    LabeledEdit2 = MakeField(this, "LabeledEdit2", QStringLiteral("旧密码："), 56, true, QString(), 225);
    LabeledEdit3 = MakeField(this, "LabeledEdit3", QStringLiteral("新密码："), 96, true, QString(), 225);
    LabeledEdit4 = MakeField(this, "LabeledEdit4", QStringLiteral("密码确认："), 136, true, QString(), 225);
    for (LabeledEdit *e : {LabeledEdit2, LabeledEdit3, LabeledEdit4}) {
        e->Edit()->setEchoMode(QLineEdit::Password);
        connect(e->Edit(), &QLineEdit::returnPressed, this, &TForm_pwbedit::Button1Click);
    }
    Button1 = MakeButton(this, "Button1", QStringLiteral("确定"), {40, 190, 75, 28});
    Button2 = MakeButton(this, "Button2", QStringLiteral("取消"), {134, 190, 75, 28});
    connect(Button1, &QPushButton::clicked, this, &TForm_pwbedit::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_pwbedit::Button2Click);
    PrepareLabels(this);
    OnShow(this, [this] { FormShow(); });
}

TForm_pwbedit::~TForm_pwbedit()
{
    if (Form_pwbedit == this)
        Form_pwbedit = nullptr;
}

void TForm_pwbedit::FormShow()
{
    LabeledEdit1->setText(Client().currentUser);
    LabeledEdit2->Edit()->setFocus();
}

void TForm_pwbedit::Button1Click()
{
    const QString user = LabeledEdit1->text();
    const QString old = LabeledEdit2->text();
    const QString fresh = LabeledEdit3->text();
    const QString again = LabeledEdit4->text();
    if (user.isEmpty() || old.isEmpty() || fresh.isEmpty() || again.isEmpty())
        return;
    if (fresh != again) {
        Dialogs::Notice(this, QStringLiteral("新密码重复输入不相同!"), QStringLiteral("提示"));
        LabeledEdit3->setText(QString());
        LabeledEdit4->setText(QString());
        return;
    }
    Guarded(this, [&] {
        Connection &conn = Form_sql->ADOConnection1;
        const std::optional<Account> account = CheckAccount(conn, user, old);
        if (!account) {
            Dialogs::Notice(this, QStringLiteral("旧密码错误!"), QStringLiteral("提示"));
            return;
        }
        if (!RunSQLOrReport(SetPasswordStatement(account->id, fresh), conn, this))
            return;
        Dialogs::Notice(this, QStringLiteral("密码修改成功!"), QStringLiteral("提示"));
        close();
    });
}

void TForm_pwbedit::Button2Click()
{
    close();
}
