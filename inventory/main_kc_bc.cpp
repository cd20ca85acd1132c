#include "inventory/main_kc_bc.h"

#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/numbertext.h"
#include "datalayer/sysfun.h"
#include "inventory/blendstatements.h"
#include "inventory/main_kc.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

TForm_bcadd *Form_bcadd = nullptr;

TForm_bcadd::TForm_bcadd(QWidget *parent) : QWidget(parent)
{
    // Hidden and offered again for every lot, centred each time it shows.
    MakeToolWindow(this, "Form_bcadd", QStringLiteral("配茶"), {220, 150},
                   {.utility = true, .fixedSize = true, .destroyedWhenClosed = false});
    LabeledEdit1 = MakeField(this, "LabeledEdit1", QStringLiteral("库存编号："), 10, true, {}, 204);
    LabeledEdit2 = MakeField(this, "LabeledEdit2", QStringLiteral("成本单价："), 41, true, QStringLiteral("0"), 204);
    LabeledEdit4 = MakeField(this, "LabeledEdit4", QStringLiteral("加入重量："), 72, true, QStringLiteral("0"), 204);
    LabeledEdit4->EditLabel()->setStyleSheet(QStringLiteral("color: red"));
    Button1 = MakeButton(this, "Button1", QStringLiteral("加入"), {70, 110, 80, 30});
    connect(Button1, &QPushButton::clicked, this, &TForm_bcadd::Button1Click);
    PrepareLabels(this);
}

TForm_bcadd::~TForm_bcadd()
{
    if (Form_bcadd == this)
        Form_bcadd = nullptr;
}

void TForm_bcadd::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_maximum = LabeledEdit4->text();
    CentreOnScreen(this);
}

void TForm_bcadd::Offer(const QString &lot, const QString &price, const QString &remaining)
{
    LabeledEdit1->setText(lot);
    LabeledEdit2->setText(price);
    LabeledEdit4->setText(remaining);
    // A dialog that is open already gets no new show event, so the new lot's limit is taken here.
    m_maximum = remaining;
    show();
    raise();
    // What is typed next belongs here: the cost price when the lot has none, else the weight.
    activateWindow();
    LabeledEdit *next = price.isEmpty() || price == QStringLiteral("0") ? LabeledEdit2 : LabeledEdit4;
    next->Edit()->setFocus();
    next->Edit()->selectAll();
}

void TForm_bcadd::Button1Click()
{
    Guarded(this, [this] {
        const QString lot = LabeledEdit1->text(), price = LabeledEdit2->text(), weight = LabeledEdit4->text();
        const PortionCheck check = CheckPortion(lot, price, weight, m_maximum);
        switch (check.verdict) {
        case PortionVerdict::Ignore:
            return;
        case PortionVerdict::Refused:
            Dialogs::Notice(this, check.problem);
            return;
        case PortionVerdict::TooHeavy:
            LabeledEdit4->setText(m_maximum);
            return;
        case PortionVerdict::Add:
            break;
        }
        if (!Form_kc)
            return;
        const double w = StrToFloat(weight), p = StrToFloat(price);
        const BlendTotals t = AddPortion(
            {Form_kc->LabeledEdit6->text(), Form_kc->LabeledEdit9->text(), Form_kc->LabeledEdit4->text()}, w, p);
        Form_kc->LabeledEdit6->setText(t.weight);
        Form_kc->LabeledEdit9->setText(t.amount);
        Form_kc->LabeledEdit4->setText(t.unitPrice);
        new QTreeWidgetItem(Form_kc->ListView1, {lot, weight.trimmed(), price.trimmed(), PortionAmount(w, p)});
        hide();
    });
}
