#include "datalayer/labelfor.h"

#include <QLabel>

QString LabelName(const QString &caption)
{
    QString name = caption;
    name.remove(QLatin1Char('&'));
    return name.trimmed();
}

void LabelFor(QLabel *label, QWidget *control)
{
    label->setBuddy(control);
    control->setAccessibleName(LabelName(label->text()));
}
