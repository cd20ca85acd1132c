#pragma once
#include "datalayer/dbgrid.h"

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class LabeledEdit;
class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QTabWidget;
class QMenu;
class QPlainTextEdit;
class Query;
class QPushButton;
class QScrollArea;
class QToolButton;
class QWidget;

// Builders for the controls the screens lay out by hand, so every screen's fields,
// pickers and grid columns come out alike.

// The group box that fills a screen, its frame for everything else.
QGroupBox *FillWithGroupBox(QWidget *screen, const char *name = "GroupBox1");
// A remark box as the keyboard wants it: Tab moves on instead of storing a tab, and Tab
// into it leaves the cursor at the end, after the starter text ("备注：").
void TabThroughRemark(QPlainTextEdit *box);
// Flat tabs that fill a screen, "PageControl1", with a page a caption named TabSheet1, TabSheet2...
QTabWidget *FillWithPages(QWidget *screen, const QStringList &captions);
// A fixed-width panel in a scroll area of its own beside the lists: on a small screen the panel
// scrolls instead of pushing the lists and their totals off the window. The panel takes the
// area's height, down to its own minimum height.
QScrollArea *ScrollablePanel(QWidget *parent, QWidget *panel);
// A group box, a push button and a tool button at their place in the parent.
QGroupBox *MakeGroupBox(QWidget *parent, const char *name, const QRect &geometry);
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, const QRect &geometry);
QToolButton *MakeToolButton(QWidget *parent, const char *name, const QString &text, const QRect &geometry);
// A popup item with its object name, doing one thing.
QAction *AddMenuItem(QMenu *menu, const char *name, const QString &caption, std::function<void()> action);
// A labelled edit with its caption on the left, at (8, top) in its panel.
LabeledEdit *MakeField(QWidget *parent, const char *name, const QString &label, int top, bool editable,
                       const QString &initial = QString(), int width = 185);
// An editable choice box with its caption label on the left, at (8, top) in its panel; a typed
// text is taken as it is and never added to the list.
QComboBox *MakeChoice(QWidget *parent, const char *name, const QString &label, int top, const QStringList &items,
                      const QString &initial);
// Adds the first column of a statement's rows to a choice box, read through the query; the box
// then shows the first item it holds.
void FillChoice(QComboBox *box, Query *query, const QString &sql);
// A date picker in the short date format, showing today, with a calendar popup.
QDateEdit *MakeDatePicker(QWidget *parent, const char *name);
// A grid column bound to a result column by name.
GridColumn MakeColumn(const QString &name, const QString &format = QString(), int width = 0);
// The same column with the footer text "总计：" under it, or with its sum in a format.
GridColumn WithTotalText(GridColumn column);
GridColumn WithSum(GridColumn column, const QString &format);
// The colour of a control's typed text.
void SetTextColour(QWidget *widget, const QColor &colour);
// The menu pops up where the grid is right-clicked.
void AttachPopup(DBGrid *grid, QMenu *menu);
// How a tool window stands. The defaults make the usual one: its own window above the
// program's others with only a close box, resizable, destroyed when closed, centred on the screen.
struct ToolWindowLook {
    enum class TitleBar {
        CloseBox,  // a close box only (with the system menu that carries it)
        NoButtons, // the caption alone: the window's own buttons answer it
        None,      // borderless
    };
    TitleBar titleBar = TitleBar::CloseBox;
    bool onTop = true;
    bool utility = false; // a small helper window of the window manager's kind (Qt::Tool)
    bool fixedSize = false;
    bool destroyedWhenClosed = true; // false for a window that is hidden and shown again
    bool closedByEscape = false;
    std::optional<QPoint> designPosition = std::nullopt; // the client area's top left; centred when empty
};
// Names, captions, sizes and places a window as a tool window.
void MakeToolWindow(QWidget *window, const QString &name, const QString &caption, const QSize &size,
                    const ToolWindowLook &look = {});
// Moves a window to the middle of the screen.
void CentreOnScreen(QWidget *window);
// Runs the handler whenever the program shows the window (show() after hide() too), or the
// first time only; never when the window system restores it.
void OnShow(QWidget *window, std::function<void()> handler);
void OnFirstShow(QWidget *window, std::function<void()> handler);
