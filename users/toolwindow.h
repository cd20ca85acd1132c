#pragma once
#include <QSize>

class QWidget;

// A small fixed tool window above the program's others, centred on the screen, with no
// buttons in its title bar: its own "取消" closes it, and so does Escape.
void SetUpSmallToolWindow(QWidget *window, const QSize &size);
