#include "app/client.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return RunClient(app);
}
