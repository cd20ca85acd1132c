#include "app/screens.h"

#include "app/about.h"
#include "app/screenregistry.h"
#include "contacts/main_jh_user.h"
#include "contacts/main_uses.h"
#include "finance/main_xszj.h"
#include "finance/main_zc.h"
#include "finance/main_qk.h"
#include "feedback/jy_send.h"
#include "directory/main_teagg.h"
#include "inventory/main_kc.h"
#include "inventory/main_kc_bc.h"
#include "maintenance/main_tea_config.h"
#include "maintenance/Access_Compact.h"
#include "maintenance/access_bak.h"
#include "maintenance/sys_config.h"
#include "purchasing/main_jh.h"
#include "returns/main_th.h"
#include "sales/main_qtxs.h"
#include "users/main_admin.h"
#include "users/main_admin_pwb.h"
#include "users/main_adminqh.h"
#include "tools/jcl_js.h"
#include "tools/main_admin_js.h"
#include "sales/main_xs.h"

void RegisterScreens()
{
    RegisterScreen(QStringLiteral("N14"), OpenWay::Tool, [] { return Form_about = new TForm_about(); });
    RegisterScreen(QStringLiteral("N26"), OpenWay::Tool, [] { return Form_jy_send = new TForm_jy_send(); });
    RegisterScreen(QStringLiteral("N19"), OpenWay::DisablingTool, [] { return Form_jh_user = new TForm_jh_user(); });
    RegisterScreen(QStringLiteral("N15"), OpenWay::DisablingTool, [] { return Form_uses = new TForm_uses(); });
    RegisterScreen(QStringLiteral("N4"), OpenWay::DisablingTool, [] { return Form_admin = new TForm_admin(); });
    RegisterScreen(QStringLiteral("N5"), OpenWay::Tool, [] { return Form_pwbedit = new TForm_pwbedit(); });
    RegisterScreen(QStringLiteral("N6"), OpenWay::Tool, [] { return Form_adminqh = new TForm_adminqh(); });
    RegisterScreen(QStringLiteral("N16"), OpenWay::DisablingTool,
                   [] { return Form_tea_config = new TForm_tea_config(); });
    RegisterScreen(QStringLiteral("N18"), OpenWay::DisablingTool, [] { return Form_config = new TForm_config(); });
    RegisterScreen(QStringLiteral("N9"), OpenWay::DisablingTool,
                   [] { return Form_Access_Compact = new TForm_Access_Compact(); });
    RegisterScreen(QStringLiteral("N10"), OpenWay::DisablingTool, [] { return Form_access_bak = new TForm_access_bak(); });
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
    RegisterScreen(QStringLiteral("ToolButton8"), OpenWay::DisablingTool, [] { return Form_zc = new TForm_zc(); });
    RegisterScreen(QStringLiteral("ToolButton4"), OpenWay::ListScreen, [] { return Form_xszj = new TForm_xszj(); });
    RegisterScreen(QStringLiteral("N24"), OpenWay::DisablingTool, [] { return Form_jcl = new TForm_jcl(); });
    RegisterScreen(QStringLiteral("N25"), OpenWay::Tool, [] { return Form_js = new TForm_js(); });
    RegisterScreen(QStringLiteral("ToolButton1"), OpenWay::ListScreen, [] {
        // The debts window comes with the sales records, hidden until "欠款" shows it.
        auto *records = new TForm_xs();
        Form_qk = new TForm_qk();
        return Form_xs = records;
    });
    RegisterScreen(QStringLiteral("ToolButton3"), OpenWay::DisablingTool, [] { return Form_qk = new TForm_qk(); });
    // The directory brings its hidden card window along.
    RegisterScreen(QStringLiteral("ToolButton17"), OpenWay::ListScreen, [] { return Form_TeaGG = new TForm_TeaGG(); });
}
