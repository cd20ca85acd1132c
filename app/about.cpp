#include "app/about.h"

#include "datalayer/formparts.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm_about *Form_about = nullptr;

TForm_about::TForm_about(QWidget *parent) : QWidget(parent)
{
    MakeToolWindow(this, "Form_about", QString(), {450, 306},
                   {.titleBar = ToolWindowLook::TitleBar::None, .fixedSize = true});
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(QStringLiteral(
        "Tessaly 2.10 beta\n\n"
        "茶行进销存管理：进货、库存、配茶、前台销售、退货、欠款、支出与统计结算。\n\n"
        "全部数据保存在一个加密的数据库文件 data/datas.mdb 中；"
        "请经常使用“数据库 → 备份与还原”备份数据。"));
    Memo1->setAccessibleName(QStringLiteral("关于"));
    Button1 = new QPushButton(QStringLiteral("退出"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(Button1->text());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    connect(Button1, &QPushButton::clicked, this, &QWidget::close);
}

TForm_about::~TForm_about()
{
    if (Form_about == this)
        Form_about = nullptr;
}
