#include "tests/app/everywindow.h"

#include "app/main_client.h"
#include "app/screenregistry.h"
#include "app/screens.h"
#include "datalayer/dialogs.h"
#include "datalayer/sql_ado_conn.h"
#include "tests/support/testfolder.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QList<QAction *> menuActions(QMenuBar *bar)
{
    QList<QAction *> out;
    QList<QAction *> pending = bar->actions();
    while (!pending.isEmpty()) {
        QAction *a = pending.takeFirst();
        if (QMenu *menu = a->menu())
            pending = menu->actions() + pending;
        else if (!a->isSeparator())
            out << a;
    }
    return out;
}

} // namespace

int ForEveryWindow(const std::function<void(const OpenedWindow &)> &check, const std::function<void()> &seed)
{
    TestFolder folder;
    Dialogs::Script dialogs;
    Form_sql = new TForm_sql();
    Form_sql->FormCreate();
    if (seed)
        seed();
    RegisterScreens();
    QPointer<TForm_Client> main = new TForm_Client();
    main->show();

    // Every button and menu item that has a screen behind it, as the main window offers them.
    QList<QPair<QString, QToolButton *>> triggers;
    for (QToolButton *b : main->ToolButtons())
        if (FindScreen(b->objectName()))
            triggers.append({b->objectName(), b});
    for (QAction *a : menuActions(main->menuBar()))
        if (FindScreen(a->objectName()))
            triggers.append({a->objectName(), nullptr});

    for (const auto &[trigger, button] : triggers) {
        const QList<QWidget *> before = QApplication::topLevelWidgets();
        main->OpenScreen(trigger, button);
        QApplication::processEvents();
        QList<QWidget *> opened;
        for (QMdiSubWindow *sub : main->MdiArea->subWindowList())
            if (sub->isVisible())
                opened << sub->widget();
        for (QWidget *top : QApplication::topLevelWidgets())
            if (!before.contains(top) && top->isVisible() && top->isWindow() && !qobject_cast<QMenu *>(top))
                opened << top;
        EXPECT_FALSE(opened.isEmpty()) << trigger.toStdString() << " opened no window";
        for (QWidget *w : opened)
            check({trigger, w, main});

        main->MdiArea->closeAllSubWindows();
        for (QWidget *top : QApplication::topLevelWidgets())
            if (!before.contains(top) && top->isVisible())
                top->close();
        QTest::qWait(20);
        main->setEnabled(true);
    }

    delete main.data();
    delete Form_sql;
    Form_sql = nullptr;
    return int(triggers.size());
}
