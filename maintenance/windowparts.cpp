#include "maintenance/windowparts.h"

#include <QLabel>
#include <QStatusBar>

QStatusBar *MakeStatusBar(QWidget *window, QLabel *&panel)
{
    auto *bar = new QStatusBar(window);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel"));
    bar->addWidget(panel, 1);
    return bar;
}
