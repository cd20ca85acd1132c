#include "maintenance/windowparts.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
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

void CentreOnScreen(QWidget *window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
