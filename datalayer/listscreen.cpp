#include "datalayer/listscreen.h"

#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/guards.h"
#include "datalayer/query.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>

ListScreen::ListScreen(QWidget *parent) : QWidget(parent) {}

ListScreen::~ListScreen()
{
    if (!m_closed) {
        // Destroyed without a close (the main window went first): still give everything back.
        for (DBGrid *grid : m_grids)
            grid->SetQuery(nullptr);
    }
}

bool ListScreen::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        guardFrame();
    return QWidget::event(event);
}

void ListScreen::guardFrame()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub || sub == m_frame)
        return;
    m_frame = sub;
    sub->setWindowFlags(sub->windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    // The system menu keeps move and close; minimise, maximise and restore do nothing here.
    if (QMenu *menu = sub->systemMenu())
        for (QAction *a : menu->actions()) {
            const QString t = a->text().remove('&').toLower();
            if (t.contains("min") || t.contains("max") || t.contains("restore") || t.contains("stay on top") ||
                t.contains("shade"))
                a->setVisible(false);
        }
    sub->installEventFilter(this);
}

bool ListScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_frame && event->type() == QEvent::WindowStateChange) {
        auto *sub = static_cast<QMdiSubWindow *>(m_frame);
        if (!(sub->windowState() & Qt::WindowMaximized) && !m_closed)
            QTimer::singleShot(0, sub, [sub] { sub->showMaximized(); });
    }
    return QWidget::eventFilter(watched, event);
}

void ListScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormPaint();
    if (!m_shown) {
        m_shown = true;
        Guarded(this, [this] { FormShow(); });
    }
}

void ListScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormPaint();
}

void ListScreen::closeEvent(QCloseEvent *event)
{
    FormClose();
    Client().ListScreenClosed();
    for (Query *q : m_queries)
        q->Close();
    for (DBGrid *grid : m_grids)
        grid->SetQuery(nullptr);
    m_closed = true;
    QWidget::closeEvent(event);
}
