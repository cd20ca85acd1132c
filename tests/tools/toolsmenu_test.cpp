#include "app/main_client.h"
#include "app/screenregistry.h"
#include "app/screens.h"
#include "datalayer/clientstate.h"
#include "datalayer/inifile.h"
#include "datalayer/settings.h"
#include "datalayer/sql_ado_conn.h"
#include "tests/support/screentest.h"
#include "tools/jcl_js.h"
#include "tools/main_admin_js.h"
#include "tools/notestatements.h"
#include "tools/reminderwatch.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTest>

namespace {

// The program as it runs after a login: the main window over the data module.
class AfterLogin : public ::testing::Test {
protected:
    AfterLogin()
    {
        IniFile ini(folder.Path("config.ini"));
        ini.WriteString(ConfigKey::LoginSection, ConfigKey::UserName, "admin");
        ini.WriteString(ConfigKey::LoginSection, ConfigKey::Permission, "高级用户");
        RegisterScreens();
    }
    ~AfterLogin() override
    {
        delete window.data();
        delete Form_sql;
        Form_sql = nullptr;
        Client().currentUser.clear();
    }
    TForm_Client *open()
    {
        window = Form_Client = new TForm_Client();
        Form_sql = new TForm_sql();
        Form_sql->FormCreate();
        window->show();
        QCoreApplication::processEvents();
        return window;
    }

    TestFolder folder;
    Dialogs::Script dialogs;
    QPointer<TForm_Client> window;
};

TEST_F(AfterLogin, TheCalculatorHoldsTheMainWindowAndTheNotepadDoesNot)
{
    TForm_Client *w = open();
    w->N24->trigger();
    QPointer<TForm_jcl> calculator = Form_jcl;
    ASSERT_FALSE(calculator.isNull());
    EXPECT_TRUE(calculator->isVisible());
    EXPECT_FALSE(w->isEnabled());
    calculator->close();
    QTest::qWait(20);
    EXPECT_TRUE(calculator.isNull());
    EXPECT_TRUE(w->isEnabled());

    w->N25->trigger();
    QPointer<TForm_js> notepad = Form_js;
    ASSERT_FALSE(notepad.isNull());
    EXPECT_TRUE(notepad->isVisible());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(notepad->Owner(), "admin");
    notepad->close();
    QTest::qWait(20);
    EXPECT_TRUE(notepad.isNull());
}

TEST_F(AfterLogin, AReminderMissedWhileTheProgramWasClosedShowsOnceTheMainWindowIsUp)
{
    {
        Connection before;
        before.SetDatabase(folder.DatabasePath());
        before.Execute(AddNoteSql("admin", {"盘点", "内容：月底盘点", true, QDateTime(QDate(2009, 4, 30), QTime(9, 0))},
                                  QDate(2009, 4, 1)));
        before.Execute(AddNoteSql("李四", {"别人的", "", true, QDateTime(QDate(2009, 4, 30), QTime(9, 0))},
                                  QDate(2009, 4, 1)));
    }
    open();
    EXPECT_EQ(dialogs.Texts(), QStringList({ReminderWatch::NoticeText("盘点", "2009-04-30 09:00:00", "内容：月底盘点")}));
    EXPECT_EQ(dialogs.Requests().at(0).caption, ReminderWatch::kCaption);
}

} // namespace
