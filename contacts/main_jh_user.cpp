#include "contacts/main_jh_user.h"

#include "datalayer/guards.h"
#include "datalayer/query.h"
#include "datalayer/schema.h"
#include "datalayer/sql_ado_conn.h"

#include <QAction>
#include <QPushButton>

TForm_jh_user *Form_jh_user = nullptr;
std::function<void(const QStringList &)> TForm_jh_user::SupplierNamesChanged;

namespace {

ContactBook::Config supplierBook()
{
    ContactBook::Config c;
    c.formName = QStringLiteral("Form_jh_user");
    c.caption = QStringLiteral("进货渠道管理");
    c.type = QStringLiteral("供应商");
    c.subject = QStringLiteral("渠道商信息");
    // 名称, 联系人, 电话, 手机, 传真, 开户银行, 银行账号, 地址
    c.fields = {{{1, QStringLiteral("名    称：")},
                 {5, QStringLiteral("联系人：")},
                 {2, QStringLiteral("电    话：")},
                 {8, QStringLiteral("手    机：")},
                 {3, QStringLiteral("传    真：")},
                 {4, QStringLiteral("开户银行：")},
                 {6, QStringLiteral("银行账号：")},
                 {7, QStringLiteral("地    址：")}}};
    c.nameItem = QStringLiteral("名称");
    c.rowColours = false;
    c.remarkColumn = true;
    c.clearedOnChange = QStringList(ContactBook::kColumns.begin(), ContactBook::kColumns.end());
    c.remarkResetOnChange = true;
    c.deleteItem = QStringLiteral("E1");
    return c;
}

} // namespace

TForm_jh_user::TForm_jh_user(QWidget *parent) : ContactBook(supplierBook(), parent), E1(DeleteItem())
{
    connect(E1, &QAction::triggered, this, &TForm_jh_user::E1Click);
}

TForm_jh_user::~TForm_jh_user()
{
    if (Form_jh_user == this)
        Form_jh_user = nullptr;
}

void TForm_jh_user::E1Click()
{
    Button3->click();
}

void TForm_jh_user::FormClose()
{
    ContactBook::FormClose();
    // Stock intake may not be open, or the read may fail: the close goes on regardless.
    Silently([] {
        Query q(&Form_sql->ADOConnection1, QStringLiteral("SupplierNames"));
        q.Reopen(QStringLiteral("Select 名称 From ") + tables::Contacts + QStringLiteral(" where 类型 = '供应商'"));
        QStringList names;
        for (int r = 0; r < q.RecordCount(); ++r)
            names << q.Text(r, 0);
        if (SupplierNamesChanged)
            SupplierNamesChanged(names);
    });
}
