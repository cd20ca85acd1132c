#include "contacts/main_uses.h"

#include <QAction>
#include <QPushButton>

TForm_uses *Form_uses = nullptr;

namespace {

ContactBook::Config customerBook()
{
    ContactBook::Config c;
    c.formName = QStringLiteral("Form_uses");
    c.caption = QStringLiteral("客户管理");
    c.type = QStringLiteral("客户");
    c.subject = QStringLiteral("客户资料");
    // 名称, 联系人, 电话, 手机, 传真, 开户银行, 银行账号, 地址
    c.fields = {{{1, QStringLiteral("客户名称：")},
                 {2, QStringLiteral("联系人：")},
                 {3, QStringLiteral("电    话：")},
                 {4, QStringLiteral("手    机：")},
                 {5, QStringLiteral("传    真：")},
                 {6, QStringLiteral("开户银行：")},
                 {7, QStringLiteral("银行账号：")},
                 {8, QStringLiteral("地    址：")}}};
    c.nameItem = QStringLiteral("客户名称");
    c.narrowNumbersOnShow = true;
    // After a change only name and contact are emptied; the rest stays on screen.
    c.clearedOnChange = {QStringLiteral("名称"), QStringLiteral("联系人")};
    c.keptOnDelete = {QStringLiteral("地址")};
    c.deleteItem = QStringLiteral("D1");
    return c;
}

} // namespace

TForm_uses::TForm_uses(QWidget *parent) : ContactBook(customerBook(), parent), D1(DeleteItem())
{
    connect(D1, &QAction::triggered, this, &TForm_uses::D1Click);
}

TForm_uses::~TForm_uses()
{
    if (Form_uses == this)
        Form_uses = nullptr;
}

void TForm_uses::D1Click()
{
    Button3->click();
}
