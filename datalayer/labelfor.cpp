#include "datalayer/labelfor.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

QString LabelName(const QString &caption)
{
    QString name = caption;
    name.remove(QLatin1Char('&'));
    return name.trimmed();
}

void LabelFor(QLabel *label, QWidget *control)
{
    label->setBuddy(control);
    NameFor(control, LabelName(label->text()));
}

void NameFor(QWidget *control, const QString &role)
{
    control->setAccessibleName(role);
    // Choice boxes and date pickers type into a line of their own, which tools list apart.
    if (qobject_cast<QComboBox *>(control) || qobject_cast<QAbstractSpinBox *>(control))
        for (QLineEdit *line : control->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly))
            line->setAccessibleName(role);
}
