#include "app/screens.h"

#include "app/about.h"
#include "app/screenregistry.h"
#include "contacts/main_jh_user.h"
#include "contacts/main_uses.h"
#include "directory/main_teagg.h"
#include "inventory/main_kc.h"
#include "inventory/main_kc_bc.h"
#include "purchasing/main_jh.h"
#include "returns/main_th.h"
#include "sales/main_qtxs.h"

void RegisterScreens()
{
    RegisterScreen(QStringLiteral("N14"), OpenWay::Tool, [] { return Form_about = new TForm_about(); });
    RegisterScreen(QStringLiteral("N19"), OpenWay::DisablingTool, [] { return Form_jh_user = new TForm_jh_user(); });
    RegisterScreen(QStringLiteral("N15"), OpenWay::DisablingTool, [] { return Form_uses = new TForm_uses(); });
    RegisterScreen(QStringLiteral("ToolButton7"), OpenWay::ListScreen, [] { return Form_qtxs = new TForm_qtxs(); });
    RegisterScreen(QStringLiteral("ToolButton2"), OpenWay::ListScreen, [] {
        // The supplier book comes with stock intake, hidden until its "+" shows it.
        if (!Form_jh_user)
            Form_jh_user = new TForm_jh_user();
        return Form_jh = new TForm_jh();
    });
    RegisterScreen(QStringLiteral("ToolButton6"), OpenWay::ListScreen, [] {
        // The blend component dialog comes with the inventory screen, hidden until a lot is offered.
        Form_bcadd = new TForm_bcadd();
        return Form_kc = new TForm_kc();
    });
    RegisterScreen(QStringLiteral("ToolButton5"), OpenWay::ListScreen, [] { return Form_th = new TForm_th(); });
    // The directory brings its hidden card window along.
    RegisterScreen(QStringLiteral("ToolButton17"), OpenWay::ListScreen, [] { return Form_TeaGG = new TForm_TeaGG(); });
}
