#include "datalayer/formparts.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using TitleBar = ToolWindowLook::TitleBar;

struct LookCase {
    const char *what;
    ToolWindowLook look;
    Qt::WindowType type;
    Qt::WindowFlags present; // every one of these flags is set
    Qt::WindowFlags absent;  // none of these is
};

const Qt::WindowFlags kMinMax = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;

const LookCase kLooks[] = {
    {"the usual tool window", {}, Qt::Window,
     Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint,
     kMinMax | Qt::FramelessWindowHint},
    {"an ordinary window", {.onTop = false}, Qt::Window,
     Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint, kMinMax | Qt::WindowStaysOnTopHint},
    {"a window that must be answered", {.titleBar = TitleBar::NoButtons, .fixedSize = true}, Qt::Window,
     Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint,
     kMinMax | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint},
    {"a borderless card", {.titleBar = TitleBar::None, .onTop = false, .destroyedWhenClosed = false}, Qt::Window,
     Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint},
    {"a small helper", {.utility = true, .destroyedWhenClosed = false}, Qt::Tool,
     Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint, kMinMax},
};

TEST(ToolWindow, EachLookGivesItsTitleBarAndLayer)
{
    for (const LookCase &c : kLooks) {
        SCOPED_TRACE(c.what);
        QWidget w;
        MakeToolWindow(&w, "Form_test", QStringLiteral("标题"), {300, 200}, c.look);
        EXPECT_EQ(w.objectName(), "Form_test");
        EXPECT_EQ(w.windowTitle(), "标题");
        EXPECT_TRUE(w.isWindow());
        EXPECT_EQ(w.windowType(), c.type);
        EXPECT_EQ(w.windowFlags() & c.present, c.present);
        EXPECT_EQ(w.windowFlags() & c.absent, Qt::WindowFlags());
        EXPECT_EQ(w.testAttribute(Qt::WA_DeleteOnClose), c.look.destroyedWhenClosed);
        EXPECT_EQ(w.size(), QSize(300, 200));
        EXPECT_EQ(w.minimumSize() == w.maximumSize(), c.look.fixedSize);
    }
}

TEST(ToolWindow, StandsCentredOrAtItsDesignPosition)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    QWidget centred;
    MakeToolWindow(&centred, "Form_a", QString(), {300, 200});
    EXPECT_EQ(centred.geometry().center(), screen->availableGeometry().center());

    QWidget placed;
    MakeToolWindow(&placed, "Form_b", QString(), {300, 200}, {.designPosition = QPoint(46, 22)});
    EXPECT_EQ(placed.geometry(), QRect(46, 22, 300, 200));
}

TEST(ToolWindow, EscapeClosesOnlyAWindowThatAsksForIt)
{
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "asked" : "not asked");
        QPointer<QWidget> w = new QWidget();
        MakeToolWindow(w, "Form_test", QString(), {200, 100}, {.closedByEscape = escape});
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(w.isNull(), escape); // destroyed when closed
        delete w.data();
    }
}

TEST(ToolWindow, ShowHandlersRunOnEveryShowOrTheFirstOnly)
{
    QWidget w;
    auto *child = new QWidget(&w);
    int every = 0, first = 0;
    OnShow(&w, [&] { ++every; });
    OnFirstShow(&w, [&] { ++first; });
    w.show();
    EXPECT_EQ(every, 1);
    EXPECT_EQ(first, 1);
    child->hide();
    child->show(); // a control shown is not the window shown
    w.hide();
    w.show();
    EXPECT_EQ(every, 2);
    EXPECT_EQ(first, 1);
}

} // namespace
