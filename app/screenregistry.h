#pragma once
#include <QString>
#include <functional>

class QWidget;

// How the main window opens a screen.
enum class OpenWay {
    ListScreen,     // a maximised MDI child, one at a time; the other toolbar buttons wait
    DisablingTool,  // a tool window; the main window is disabled until it closes
    Tool,           // a tool window beside the main window, which stays usable
};

using ScreenFactory = std::function<QWidget *()>;

// Screens plug into the main window by the object name of the button or menu item that
// opens them. Each opening calls the factory again: a fresh instance every time.
void RegisterScreen(const QString &trigger, OpenWay way, ScreenFactory factory);
void UnregisterScreen(const QString &trigger);
struct ScreenEntry {
    OpenWay way;
    ScreenFactory create;
};
const ScreenEntry *FindScreen(const QString &trigger);
