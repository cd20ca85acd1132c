#include "tests/app/everywindow.h"

#include "app/main_client.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

template <typename Box>
void tabFrom(Box *box, const OpenedWindow &opened, QStringList &swallowed)
{
    const QString where = opened.trigger + u' ' + opened.window->objectName() + u' ' + box->objectName();
    if (!box->isVisible() || box->isReadOnly())
        return;
    QWidget *top = box->window();
    QApplication::setActiveWindow(top);
    if (!QTest::qWaitForWindowActive(top)) {
        swallowed << where + QStringLiteral(": its window never became active");
        return;
    }
    box->setFocus();
    box->setPlainText(QStringLiteral("备注：x"));
    QTest::keyClick(box, Qt::Key_Tab);
    if (box->toPlainText() != QStringLiteral("备注：x") || QApplication::focusWidget() == box)
        swallowed << where;
}

TEST(EveryWindow, TabLeavesEveryTextBoxAndPutsNoTabIntoIt)
{
    QStringList swallowed;
    int boxes = 0;
    ForEveryWindow([&](const OpenedWindow &opened) {
        for (QPlainTextEdit *box : opened.window->findChildren<QPlainTextEdit *>()) {
            boxes += box->isVisible() && !box->isReadOnly();
            tabFrom(box, opened, swallowed);
        }
        for (QTextEdit *box : opened.window->findChildren<QTextEdit *>())
            tabFrom(box, opened, swallowed);
    });
    EXPECT_GE(boxes, 8);
    EXPECT_TRUE(swallowed.isEmpty()) << "Tab stays in:\n" << swallowed.join(u'\n').toStdString();
}

TEST(EveryWindow, AWindowThatDisablesTheMainWindowStaysAboveIt)
{
    // A click on the disabled main window raises it over a window that is not kept on top,
    // and the program then looks locked.
    QStringList hidden;
    int disabling = 0;
    ForEveryWindow([&](const OpenedWindow &opened) {
        if (opened.main->isEnabled() || !opened.window->isWindow())
            return;
        ++disabling;
        if (!opened.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            hidden << opened.trigger + u' ' + opened.window->objectName();
    });
    EXPECT_GE(disabling, 8);
    EXPECT_TRUE(hidden.isEmpty()) << hidden.join(u'\n').toStdString();
}

} // namespace
