#include "app/main_client.h"
#include "app/screens.h"
#include "contacts/main_jh_user.h"
#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/inifile.h"
#include "datalayer/labelededit.h"
#include "datalayer/query.h"
#include "datalayer/sql_ado_conn.h"
#include "maintenance/main_tea_config.h"
#include "purchasing/main_jh.h"
#include "tests/support/screentest.h"
#include "users/accounts.h"
#include "users/main_admin.h"
#include "users/main_admin_pwb.h"
#include "users/main_adminqh.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// The whole program as the shop runs it: the main window over the data module, admin
// logged in as a senior user, and an ordinary clerk account beside it.
class SwitchInTheMainWindow : public ScreenTest {
protected:
    SwitchInTheMainWindow()
    {
        RegisterScreens();
        IniFile ini(folder.Path("config.ini"));
        ini.WriteString("登陆用户", "用户名", "admin");
        ini.WriteString("登陆用户", "权限", "高级用户");
        Run(AddAccountStatement("clerk", "tea", kOrdinaryUser, "备注："));
        main = new TForm_Client();
        main->show();
        QApplication::processEvents();
    }
    ~SwitchInTheMainWindow() override
    {
        delete main.data();
        delete Form_jh_user;
        Client().currentPermission.clear();
    }

    void settle()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void switchTo(const QString &name, const QString &password)
    {
        main->N6->trigger();
        ASSERT_NE(Form_adminqh, nullptr);
        Form_adminqh->ComboBox1->setEditText(name);
        Form_adminqh->LabeledEdit1->setText(password);
        Form_adminqh->Button1->click();
        settle();
        EXPECT_EQ(Form_adminqh, nullptr) << "the switch window stayed open";
    }

    TForm_jh *openIntake()
    {
        main->ToolButton2->click();
        settle();
        return Form_jh;
    }

    // A purchase made on the open intake screen; gives the handler it recorded.
    QString buy(const QString &number)
    {
        TForm_jh *s = Form_jh;
        s->LabeledEdit3->setText(number);
        s->ComboBox1->setCurrentText("铁观音");
        s->LabeledEdit1->setText("30");
        s->LabeledEdit7->setText("2");
        s->SpeedButton3->click();
        s->Button2->click();
        return Scalar("Select 经办人 From 库存管理 where 编号=" + QuotedStr(number));
    }

    QPointer<TForm_Client> main;
};

TEST_F(SwitchInTheMainWindow, APermissionSwitchAppliesTheMenuRuleBothWays)
{
    EXPECT_TRUE(main->N4->isEnabled());
    EXPECT_TRUE(main->N10->isEnabled());

    switchTo("clerk", "TEA");
    EXPECT_EQ(Client().currentUser, "clerk");
    EXPECT_EQ(Client().currentPermission, "普通用户");
    EXPECT_FALSE(main->N4->isEnabled());
    EXPECT_FALSE(main->N10->isEnabled());
    EXPECT_TRUE(main->N5->isEnabled());
    EXPECT_EQ(main->StatusPanel(0), "当前用户:clerk 普通用户");

    switchTo("Admin", "admin");
    EXPECT_EQ(Client().currentUser, "admin");
    EXPECT_TRUE(main->N4->isEnabled());
    EXPECT_TRUE(main->N10->isEnabled());
    EXPECT_EQ(main->StatusPanel(0), "当前用户:admin 高级用户");

    // The next login still starts from what the login wrote.
    IniFile ini(folder.Path("config.ini"));
    EXPECT_EQ(ini.ReadString("登陆用户", "用户名", ""), "admin");
}

TEST_F(SwitchInTheMainWindow, AnIntakeOpenedAfterTheSwitchRecordsTheNewHandler)
{
    TForm_jh *before = openIntake();
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->LabeledEdit13->text(), "admin");
    switchTo("CLERK", "tea");
    // The screen already open keeps the handler it showed.
    EXPECT_EQ(before->LabeledEdit13->text(), "admin");
    EXPECT_EQ(buy("A1"), "admin");

    main->ToolButton2->click(); // closes it
    settle();
    TForm_jh *after = openIntake();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->LabeledEdit13->text(), "clerk"); // the stored name, not as typed
    EXPECT_EQ(buy("A2"), "clerk");
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 0);
}

TEST_F(SwitchInTheMainWindow, TheAccountAndTeaWindowsLeaveAnOpenListAlone)
{
    Run("insert into 库存管理(编号,总重量,剩余重量,总金额) values('L1',10,10,300)");
    Run("insert into 库存管理(编号,总重量,剩余重量,总金额) values('L2',5,5,100)");
    TForm_jh *intake = openIntake();
    ASSERT_NE(intake, nullptr);
    const QStringList lots = Listed(intake->DBGrid1);
    const QString statement = Form_sql->ADOQuery1->SQL();
    ASSERT_EQ(lots, QStringList({"L2", "L1"}));
    auto unchanged = [&](const char *after) {
        EXPECT_EQ(Listed(intake->DBGrid1), lots) << after;
        EXPECT_EQ(Form_sql->ADOQuery1->SQL(), statement) << after;
        EXPECT_EQ(Form_sql->ADOQuery1->RecordCount(), 2) << after;
    };

    main->N4->trigger();
    ASSERT_NE(Form_admin, nullptr);
    Form_admin->LabeledEdit1->setText("boss");
    Form_admin->LabeledEdit2->setText("b");
    Form_admin->ComboBox1->setCurrentText("高级用户");
    Form_admin->Button1->click();
    unchanged("user management");
    Form_admin->close();
    settle();

    main->N16->trigger();
    ASSERT_NE(Form_tea_config, nullptr);
    Form_tea_config->Edit1->setText("龙井");
    Form_tea_config->SpeedButton1->click();
    unchanged("tea parameters");
    Form_tea_config->close();
    settle();

    main->N5->trigger();
    ASSERT_NE(Form_pwbedit, nullptr);
    Form_pwbedit->LabeledEdit2->setText("admin");
    Form_pwbedit->LabeledEdit3->setText("new");
    Form_pwbedit->LabeledEdit4->setText("new");
    Form_pwbedit->Button1->click();
    settle();
    unchanged("password change");

    switchTo("boss", "b");
    unchanged("user switch");
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 0);
    EXPECT_TRUE(main->isEnabled());
}

} // namespace
