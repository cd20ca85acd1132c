#pragma once

class QLabel;
class QStatusBar;
class QWidget;

// Parts the maintenance windows share.

// A status bar with its one panel, where the window reports every result.
QStatusBar *MakeStatusBar(QWidget *window, QLabel *&panel);
