#pragma once

class QApplication;

// The program entry's steps after the application object exists; gives the exit code.
int RunClient(QApplication &app);
