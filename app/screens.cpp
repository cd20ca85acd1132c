#include "app/screens.h"

#include "app/about.h"
#include "app/screenregistry.h"

void RegisterScreens()
{
    RegisterScreen(QStringLiteral("N14"), OpenWay::Tool, [] { return Form_about = new TForm_about(); });
}
