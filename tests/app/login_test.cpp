#include "app/main_login.h"
#include "datalayer/connection.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/gbk.h"
#include "datalayer/inifile.h"
#include "datalayer/runsql.h"
#include "tests/support/testfolder.h"
#include "users/uncryp.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Login : public ::testing::Test {
protected:
    void addUser(const QString &name, const QString &password, const QString &permission)
    {
        Connection conn;
        conn.SetDatabase(folder.DatabasePath());
        ASSERT_TRUE(RunSQL("insert into 用户管理(用户名,密码,权限) values(" + QuotedStr(name) + "," +
                               QuotedStr(EncipherHex(password)) + "," + QuotedStr(permission) + ")",
                           conn));
    }
    TForm_login *open()
    {
        window = std::make_unique<TForm_login>();
        window->show();
        return window.get();
    }
    // Presses "登陆" and waits for the worker's outcome to reach the window.
    bool press(QWidget *target = nullptr)
    {
        QSignalSpy done(window.get(), &TForm_login::checkFinished);
        if (target)
            QTest::keyClick(target, Qt::Key_Return);
        else
            window->Button1->click();
        EXPECT_TRUE(done.wait(10000));
        return !done.isEmpty() && done.first().first().toBool();
    }
    QByteArray configBytes()
    {
        QFile f(folder.Path("config.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TestFolder folder;
    Dialogs::Script dialogs;
    std::unique_ptr<TForm_login> window;
};

TEST_F(Login, TheWindowIsBorderlessAndShowsTheUsers)
{
    addUser("clerk", "1234", "普通用户");
    TForm_login *w = open();
    EXPECT_EQ(w->size(), QSize(526, 303));
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    ASSERT_EQ(w->ComboBox1->count(), 2);
    EXPECT_EQ(w->ComboBox1->itemText(0), "admin"); // table order
    EXPECT_EQ(w->ComboBox1->currentText(), "clerk"); // the last name read
    EXPECT_EQ(w->Edit2->text(), "普通用户");
    EXPECT_EQ(w->Edit1->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(w->Label4->isVisible());
}

TEST_F(Login, SuccessWritesTheUserInGbk)
{
    TForm_login *w = open();
    w->Edit1->setText("admin");
    EXPECT_TRUE(press());
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(configBytes(), ToGbk(QStringLiteral("[登陆用户]\r\n用户名=admin\r\n权限=高级用户\r\n")));
    EXPECT_EQ(dialogs.Requests().size(), 0u);
}

TEST_F(Login, APasswordInAnotherCaseIsAccepted)
{
    addUser("茶师", "Tea茶", "高级用户");
    TForm_login *w = open();
    w->ComboBox1->setEditText("茶师");
    w->Edit1->setText("tEA茶");
    EXPECT_TRUE(press());
}

TEST_F(Login, TheUserIsRecordedAsStoredWhateverCaseWasTyped)
{
    TForm_login *w = open();
    w->ComboBox1->setEditText("ADMIN");
    w->Edit1->setText("admin");
    EXPECT_TRUE(press());
    EXPECT_EQ(configBytes(), ToGbk(QStringLiteral("[登陆用户]\r\n用户名=admin\r\n权限=高级用户\r\n")));
}

struct Refusal {
    const char *user;
    const char *password;
};

class LoginRefused : public Login, public ::testing::WithParamInterface<Refusal> {};

TEST_P(LoginRefused, ShowsTheMessageAndEmptiesThePassword)
{
    addUser("nopass", "", "普通用户");
    TForm_login *w = open();
    w->ComboBox1->setEditText(QString::fromUtf8(GetParam().user));
    w->Edit1->setText(QString::fromUtf8(GetParam().password));
    EXPECT_FALSE(press());
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].text, "登陆密码错误!");
    EXPECT_EQ(dialogs.Requests()[0].caption, "提示");
    EXPECT_EQ(w->Edit1->text(), "");
    EXPECT_EQ(w->focusWidget(), w->Edit1);
    EXPECT_EQ(w->ComboBox1->currentText(), QString::fromUtf8(GetParam().user));
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(folder.Path("config.ini")));
}

INSTANTIATE_TEST_SUITE_P(Cases, LoginRefused,
                         ::testing::Values(Refusal{"admin", "wrong"}, Refusal{"admin", ""},
                                           Refusal{"nobody", "admin"}, Refusal{"nobody", ""},
                                           Refusal{"nopass", ""}, Refusal{"admin", "admin "}),
                         [](const ::testing::TestParamInfo<Refusal> &info) { return std::to_string(info.index); });

TEST_F(Login, CancelWritesNothing)
{
    TForm_login *w = open();
    w->Button2->click();
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(folder.Path("config.ini")));
}

TEST_F(Login, EscapeDoesNotEndTheLogin)
{
    TForm_login *w = open();
    for (QWidget *target : {static_cast<QWidget *>(w->Edit1), static_cast<QWidget *>(w->ComboBox1), static_cast<QWidget *>(w)}) {
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(w->isVisible()) << target->objectName().toStdString();
    }
    w->close(); // the window's close still cancels
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Rejected);
}

struct Unwritable {
    const char *name;
    const char *user; // the user who logs in
    bool folder;      // config.ini is a folder, so nothing can be written
};

void PrintTo(const Unwritable &c, std::ostream *os)
{
    *os << c.name;
}

class LoginSettingsUnwritable : public Login, public ::testing::WithParamInterface<Unwritable> {};

TEST_P(LoginSettingsUnwritable, IsReportedAndTheLoginStays)
{
    const Unwritable c = GetParam();
    const QString user = QString::fromUtf8(c.user);
    addUser(user, "1234", "普通用户");
    if (c.folder) {
        ASSERT_TRUE(QDir(folder.Path()).mkdir("config.ini"));
    } else {
        IniFile ini(folder.Path("config.ini"));
        ini.WriteString("登陆用户", "用户名", "admin");
        ini.WriteString("登陆用户", "权限", "高级用户");
    }
    const QByteArray before = configBytes();
    TForm_login *w = open();
    w->ComboBox1->setEditText(user);
    w->Edit1->setText("1234");
    EXPECT_FALSE(press());
    EXPECT_TRUE(w->isVisible());
    EXPECT_NE(w->result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.Requests()[0].text, "无法保存设置: " + folder.Path("config.ini"));
    EXPECT_EQ(configBytes(), before); // the previous user and permission, together
    EXPECT_EQ(w->Edit1->text(), "1234"); // another user may be picked and logged in
}

INSTANTIATE_TEST_SUITE_P(Cases, LoginSettingsUnwritable,
                         ::testing::Values(Unwritable{"nameGbkCannotHold", "茶😀", false},
                                           Unwritable{"fileCannotBeWritten", "clerk", true}),
                         [](const ::testing::TestParamInfo<Unwritable> &info) { return std::string(info.param.name); });

TEST_F(Login, TheLastUserIsPreselectedWhileStillThere)
{
    addUser("clerk", "1234", "普通用户");
    {
        IniFile ini(folder.Path("config.ini"));
        ini.WriteString("登陆用户", "用户名", "admin");
    }
    EXPECT_EQ(open()->ComboBox1->currentText(), "admin");
    EXPECT_EQ(window->Edit2->text(), "高级用户");
    {
        IniFile ini(folder.Path("config.ini"));
        ini.WriteString("登陆用户", "用户名", "deleted");
    }
    EXPECT_EQ(open()->ComboBox1->currentText(), "clerk");
}

TEST_F(Login, PickingShowsThePermissionTypingDoesNot)
{
    addUser("clerk", "1234", "普通用户");
    TForm_login *w = open();
    w->ComboBox1->setCurrentIndex(0);
    emit w->ComboBox1->activated(0);
    EXPECT_EQ(w->Edit2->text(), "高级用户");
    QTest::keyClicks(w->ComboBox1->lineEdit(), "x");
    EXPECT_EQ(w->Edit2->text(), "高级用户");
}

TEST_F(Login, EnterLogsInFromThePasswordBoxOnly)
{
    TForm_login *w = open();
    w->Edit1->setText("admin");
    QTest::keyClick(w->ComboBox1, Qt::Key_Return);
    QTest::qWait(200);
    EXPECT_FALSE(w->Checking());
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_TRUE(press(w->Edit1));
}

TEST_F(Login, ASecondPressWhileACheckRunsIsIgnored)
{
    TForm_login *w = open();
    w->Edit1->setText("wrong");
    QSignalSpy done(w, &TForm_login::checkFinished);
    w->Button1->click();
    w->Button1->click();
    ASSERT_TRUE(done.wait(10000));
    QTest::qWait(300);
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Notice), 1);
}

TEST_F(Login, TheAnimationCountsToNineDotsAndStartsAgain)
{
    TForm_login *w = open();
    w->Timer1->stop();
    for (int i = 0; i < 9; ++i)
        w->Timer1Timer();
    EXPECT_EQ(w->Label4->text(), "系统启动中.........");
    w->Timer1Timer();
    EXPECT_EQ(w->Label4->text(), "系统启动中");
    EXPECT_EQ(w->Ticks(), 0);
}

TEST(LoginWithoutDatabase, ShowsTheEngineErrorAndAnEmptyList)
{
    TestFolder folder(false);
    Dialogs::Script dialogs;
    TForm_login w;
    w.show();
    EXPECT_EQ(w.ComboBox1->count(), 0);
    ASSERT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_EQ(dialogs.Requests()[0].text, "unable to open database file");
    EXPECT_TRUE(QDir(folder.Path("data")).exists());
    EXPECT_TRUE(QDir(folder.Path("bakdata")).exists());
    EXPECT_FALSE(QFile::exists(folder.DatabasePath())); // never created
}

} // namespace
