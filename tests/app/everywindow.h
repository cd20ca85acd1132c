#pragma once
#include <QString>
#include <functional>

class QWidget;
class TForm_Client;

// Opens, one at a time, every window the main window offers through a toolbar button or a
// menu item, hands each window that came up to the check, and closes it again. Runs on a
// fresh program folder with the data module open; dialogs are answered by a script.
struct OpenedWindow {
    QString trigger;      // the button or menu item's objectName
    QWidget *window;      // the list screen, or the top-level window that came up
    TForm_Client *main;
};
// Returns the number of triggers tried. The seed runs first, with the data module open.
int ForEveryWindow(const std::function<void(const OpenedWindow &)> &check, const std::function<void()> &seed = {});
