#include "users/main_admin.h"

#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/labelfor.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/schema.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "users/accounts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

TForm_admin *Form_admin = nullptr;

namespace {

const QString kRemarkStart = QStringLiteral("备注：");

Connection &conn()
{
    return Form_sql->ADOConnection1;
}

} // namespace

TForm_admin::TForm_admin(QWidget *parent) : QWidget(parent)
{
    MakeToolWindow(this, "Form_admin", QStringLiteral("用户管理"), {521, 334}, {.fixedSize = true});

    LabeledEdit1 = MakeField(this, "LabeledEdit1", QStringLiteral("用户名："), 10, true, QString(), 200);
    LabeledEdit2 = MakeField(this, "LabeledEdit2", QStringLiteral("密    码："), 42, true, QString(), 200);
    LabeledEdit2->Edit()->setEchoMode(QLineEdit::Password);

    Label1 = new QLabel(QStringLiteral("权   限："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 74, 70, 26);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert); // Enter must not grow the list
    ComboBox1->addItems({kOrdinaryUser, kSeniorUser});
    ComboBox1->setCurrentText(kOrdinaryUser);
    ComboBox1->setGeometry(82, 74, 126, 26);
    LabelFor(Label1, ComboBox1);

    Button1 = MakeButton(this, "Button1", QStringLiteral("添加(&A)"), {8, 108, 64, 26});
    Button2 = MakeButton(this, "Button2", QStringLiteral("修改(&E)"), {76, 108, 64, 26});
    Button3 = MakeButton(this, "Button3", QStringLiteral("删除(&D)"), {144, 108, 64, 26});

    Memo1 = new QPlainTextEdit(kRemarkStart, this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("备注"));
    TabThroughRemark(Memo1);
    Memo1->setGeometry(8, 142, 200, 184);

    UserList = new Query(&conn(), QStringLiteral("UserList"), this);
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("用户列表"));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->SetColumns({MakeColumn(QStringLiteral("序号"), QString(), 30), MakeColumn(QStringLiteral("用户名")),
                         MakeColumn(QStringLiteral("密码")), MakeColumn(QStringLiteral("权限"))});
    DBGrid1->setGeometry(216, 8, 297, 318);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    C1 = AddMenuItem(PopupMenu1, "C1", QStringLiteral("添加(&A)"), [this] { Button1Click(); });
    D1 = AddMenuItem(PopupMenu1, "D1", QStringLiteral("删除(&D)"), [this] { Button3Click(); });
    E1 = AddMenuItem(PopupMenu1, "E1", QStringLiteral("修改(&E)"), [this] { Button2Click(); });
    AttachPopup(DBGrid1, PopupMenu1);

    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_admin::DBGrid1CellClick);
    connect(Button1, &QPushButton::clicked, this, &TForm_admin::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_admin::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_admin::Button3Click);

    PrepareForm(this);
    OnShow(this, [this] { FormShow(); });
}

TForm_admin::~TForm_admin()
{
    if (Form_admin == this)
        Form_admin = nullptr;
}

void TForm_admin::FormShow()
{
    Guarded(this, [this] {
        DBGrid1->SetQuery(UserList);
        UserList->Reopen(QStringLiteral("Select * From ") + tables::Users + QStringLiteral(" Order By Id Desc"));
        DBGrid1->SetColumnWidth(QStringLiteral("序号"), 30);
    });
}

void TForm_admin::DBGrid1CellClick()
{
    Silently([this] {
        m_loadedId = UserList->CurrentKey();
        LabeledEdit1->setText(UserList->FieldByName(QStringLiteral("用户名")).AsString());
        // The stored password stays unseen; an empty box keeps it at a change.
        LabeledEdit2->setText(QString());
        ComboBox1->setCurrentText(UserList->FieldByName(QStringLiteral("权限")).AsString());
        Memo1->setPlainText(UserList->FieldByName(QStringLiteral("备注")).AsString());
    });
}

void TForm_admin::Button1Click()
{
    const QString name = LabeledEdit1->text();
    const QString password = LabeledEdit2->text();
    const QString permission = ComboBox1->currentText();
    if (name.isEmpty() || password.isEmpty() || permission.isEmpty())
        return;
    Guarded(this, [&] {
        if (!mayManage() || refused(AddRefusal(conn(), name)))
            return;
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定添加此用户资料!")))
            return;
        if (RunSQLOrReport(AddAccountStatement(name, password, permission, Memo1->toPlainText()), conn(), this))
            clearNameAndPassword();
        UserList->Requery();
    });
}

void TForm_admin::Button2Click()
{
    const QString name = LabeledEdit1->text();
    const QString password = LabeledEdit2->text();
    const QString permission = ComboBox1->currentText();
    if (name.isEmpty() || permission.isEmpty())
        return;
    Guarded(this, [&] {
        const std::optional<Account> target = accountToWrite(name);
        if (!target)
            return;
        if (refused(ChangeRefusal(conn(), *target, permission)))
            return;
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定修改此用户资料!")))
            return;
        if (RunSQLOrReport(ChangeAccountStatement(target->id, password, permission), conn(), this)) {
            clearNameAndPassword();
            if (target->name.compare(Client().currentUser, Qt::CaseInsensitive) == 0) {
                // The logged-in account's own rights change now, not at the next login.
                Account changed = *target;
                changed.permission = permission;
                TakeOverAccount(changed);
            }
        }
        UserList->Requery();
    });
}

void TForm_admin::Button3Click()
{
    const QString name = LabeledEdit1->text();
    if (name.isEmpty())
        return;
    Guarded(this, [&] {
        const std::optional<Account> target = accountToWrite(name);
        if (!target)
            return;
        if (refused(DeleteRefusal(conn(), *target, Client().currentUser)))
            return;
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定删除此用户资料!")))
            return;
        if (!RunSQLOrReport(DeleteAccountStatement(target->id), conn(), this))
            return;
        clearNameAndPassword();
        UserList->Requery();
    });
}

void TForm_admin::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
}

void TForm_admin::FormClose()
{
    DBGrid1->SetQuery(nullptr);
    if (QWidget *main = Client().mainWindow)
        main->setEnabled(true);
}

bool TForm_admin::mayManage()
{
    // A switch to an ordinary user while this window stays open must not leave its rights here.
    return !refused(Client().currentPermission == kOrdinaryUser ? kNoManagingRights : QString());
}

std::optional<Account> TForm_admin::accountToWrite(const QString &name)
{
    if (!mayManage())
        return std::nullopt;
    std::optional<Account> target = TargetAccount(conn(), name, m_loadedId);
    if (!target)
        Dialogs::Notice(this, Dialogs::kChooseRow);
    return target;
}

bool TForm_admin::refused(const QString &why)
{
    if (why.isEmpty())
        return false;
    Dialogs::Notice(this, why);
    return true;
}

void TForm_admin::clearNameAndPassword()
{
    LabeledEdit1->setText(QString());
    LabeledEdit2->setText(QString());
    m_loadedId = -1; // the next change or delete names its row again
}
