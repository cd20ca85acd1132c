#include "tools/jcl_js.h"

#include "datalayer/clientstate.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/labelfor.h"
#include "datalayer/sysfun.h"
#include "tools/nettearatio.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

TForm_jcl *Form_jcl = nullptr;

TForm_jcl::TForm_jcl(QWidget *parent) : QWidget(parent)
{
    MakeToolWindow(this, "Form_jcl", QStringLiteral("净茶率计算工具"), {334, 225}, {.fixedSize = true});

    LabeledEdit7 = MakeField(this, "LabeledEdit7", QStringLiteral("总重量："), 12, true, {}, 220);
    LabeledEdit1 = MakeField(this, "LabeledEdit1", QStringLiteral("毛茶价："), 46, true, QStringLiteral("150"), 220);

    Label6 = new QLabel(QStringLiteral("净茶率："), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setGeometry(8, 80, 70, 26);
    ComboBox6 = new QComboBox(this);
    ComboBox6->setObjectName(QStringLiteral("ComboBox6"));
    ComboBox6->setEditable(true);
    ComboBox6->setInsertPolicy(QComboBox::NoInsert); // a typed ratio is used, not added to the list
    ComboBox6->addItems(kNetTeaRatios);
    ComboBox6->setCurrentText(QStringLiteral("80%"));
    ComboBox6->setGeometry(82, 80, 146, 26);
    LabelFor(Label6, ComboBox6);

    SpeedButton1 = MakeToolButton(this, "SpeedButton1", QStringLiteral("="), {236, 80, 28, 26});
    SpeedButton1->setAccessibleName(QStringLiteral("计算"));

    LabeledEdit8 = MakeField(this, "LabeledEdit8", QStringLiteral("净茶重："), 130, false, {}, 220);
    LabeledEdit6 = MakeField(this, "LabeledEdit6", QStringLiteral("净茶价："), 164, false, {}, 220);

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_jcl::SpeedButton1Click);
    // At the counter Enter in any input gives the answer.
    for (QLineEdit *input : {LabeledEdit7->Edit(), LabeledEdit1->Edit(), ComboBox6->lineEdit()})
        connect(input, &QLineEdit::returnPressed, SpeedButton1, &QToolButton::click);
    PrepareLabels(this);
}

TForm_jcl::~TForm_jcl()
{
    if (Form_jcl == this)
        Form_jcl = nullptr;
}

void TForm_jcl::SpeedButton1Click()
{
    NetTeaBoxes boxes{LabeledEdit7->text(), LabeledEdit1->text(), ComboBox6->currentText(), LabeledEdit8->text(),
                      LabeledEdit6->text()};
    Guarded(this, [&boxes] { CalculateNetTea(boxes); });
    LabeledEdit8->setText(boxes.netWeight);
    LabeledEdit6->setText(boxes.netPrice);
}

void TForm_jcl::closeEvent(QCloseEvent *event)
{
    if (QWidget *main = Client().mainWindow)
        main->setEnabled(true);
    QWidget::closeEvent(event);
}
