#pragma once
#include <QString>
#include <functional>

class QWidget;

// What the main window keeps for every screen: who is working, and its flags.
// Screens live in libraries below the main window, so they reach it through here.
struct ClientState {
    QString currentUser;       // the handler (经办人) recorded by several screens
    QString currentPermission;
    bool closeFlag = false;    // set only by the exit backup's "退出系统"
    bool childOpen = false;    // one list screen at a time, for the whole program
    QWidget *mainWindow = nullptr;
    std::function<void()> enableToolbar; // every toolbar button enabled again
    std::function<void(const QString &)> setUserPanel; // the first status panel
    // The menu rule of currentPermission, applied again whenever the permission changes.
    std::function<void()> applyPermission;

    // A list screen closed: buttons back, flag cleared.
    void ListScreenClosed()
    {
        childOpen = false;
        if (enableToolbar)
            enableToolbar();
    }
};

ClientState &Client();
