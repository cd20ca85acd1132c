#include "users/main_adminqh.h"

#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/labelfor.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "users/accounts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm_adminqh *Form_adminqh = nullptr;

TForm_adminqh::TForm_adminqh(QWidget *parent) : QWidget(parent)
{
    // No buttons in the title bar: its own "取消" closes it, and so does Escape.
    MakeToolWindow(this, "Form_adminqh", QStringLiteral("用户切换"), {225, 187},
                   {.titleBar = ToolWindowLook::TitleBar::NoButtons, .fixedSize = true, .closedByEscape = true});

    Label1 = new QLabel(QStringLiteral("用户名："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 24, 70, 26);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(82, 24, 126, 26);
    LabelFor(Label1, ComboBox1);
    LabeledEdit1 = MakeField(this, "LabeledEdit1", QStringLiteral("密  码："), 66, true, QString(), 200);
    LabeledEdit1->Edit()->setEchoMode(QLineEdit::Password);
    Button1 = MakeButton(this, "Button1", QStringLiteral("登陆"), {30, 120, 75, 28});
    Button2 = MakeButton(this, "Button2", QStringLiteral("取消"), {120, 120, 75, 28});
    connect(LabeledEdit1->Edit(), &QLineEdit::returnPressed, this, &TForm_adminqh::Button1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_adminqh::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_adminqh::Button2Click);
    PrepareLabels(this);
    OnShow(this, [this] { FormShow(); });
}

TForm_adminqh::~TForm_adminqh()
{
    if (Form_adminqh == this)
        Form_adminqh = nullptr;
}

void TForm_adminqh::FormShow()
{
    Guarded(this, [this] {
        // Every account in the list; the box shows the last one.
        for (const QString &name : AccountNames(Form_sql->ADOConnection1)) {
            ComboBox1->addItem(name);
            ComboBox1->setEditText(name);
        }
    });
    LabeledEdit1->Edit()->setFocus();
}

void TForm_adminqh::Button1Click()
{
    Guarded(this, [this] {
        const std::optional<Account> account =
            CheckAccount(Form_sql->ADOConnection1, ComboBox1->currentText(), LabeledEdit1->text());
        if (!account) {
            Dialogs::Notice(this, QStringLiteral("登陆密码错误!"), QStringLiteral("提示"));
            LabeledEdit1->setText(QString());
            return;
        }
        TakeOverAccount(*account);
        close();
    });
}

void TForm_adminqh::Button2Click()
{
    close();
}
