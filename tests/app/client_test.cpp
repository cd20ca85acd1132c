#include "app/about.h"
#include "app/main_client.h"
#include "app/screenregistry.h"
#include "app/screens.h"
#include "contacts/main_jh_user.h"
#include "inventory/main_kc.h"
#include "inventory/main_kc_bc.h"
#include "purchasing/main_jh.h"
#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/inifile.h"
#include "datalayer/sql_ado_conn.h"
#include "maintenance/data_bak.h"
#include "tests/support/testfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class MainWindow : public ::testing::Test {
protected:
    void login(const QString &user, const QString &permission)
    {
        IniFile ini(folder.Path("config.ini"));
        ini.WriteString("登陆用户", "用户名", user);
        ini.WriteString("登陆用户", "权限", permission);
    }
    TForm_Client *open()
    {
        window = new TForm_Client();
        window->setAttribute(Qt::WA_DeleteOnClose);
        Form_sql = new TForm_sql();
        Form_sql->FormCreate();
        window->show();
        return window;
    }
    ~MainWindow() override
    {
        delete window.data();
        delete Form_sql;
        UnregisterScreen("ToolButton2");
        UnregisterScreen("ToolButton6");
        UnregisterScreen("N15");
        UnregisterScreen("N25");
    }
    // The window that opened last for a close request.
    TForm_data_bak *exitWindow() { return Form_data_bak; }

    TestFolder folder;
    Dialogs::Script dialogs;
    QPointer<TForm_Client> window;
};

TEST_F(MainWindow, ShowsItsToolbarMenusAndStatus)
{
    login("admin", "高级用户");
    TForm_Client *w = open();
    EXPECT_EQ(w->windowTitle(), "Tessaly 2.10 beta");
    QStringList captions;
    for (QToolButton *b : w->ToolButtons())
        captions << b->text();
    EXPECT_EQ(captions, (QStringList{"前台销售", "进贷管理", "库存管理", "销售记录", "退货管理", "欠款管理", "支出管理",
                                     "系统统计", "经销商查询"}));
    QStringList menus;
    for (QAction *a : w->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"系统(&S)", "维护选项(&W)", "数据库(&D)", "工具(&T)", "帮助(&H)"}));
    EXPECT_EQ(w->N10->text(), "备份与还原");
    EXPECT_EQ(w->StatusPanel(0), "当前用户：admin  高级用户");
    EXPECT_EQ(Client().currentUser, "admin");
    EXPECT_TRUE(w->N4->isEnabled());
}

TEST_F(MainWindow, OrdinaryUsersLoseUserManagementAndRestore)
{
    for (const char *permission : {"普通用户", "高级用户", ""}) {
        login("clerk", QString::fromUtf8(permission));
        TForm_Client *w = open();
        const bool ordinary = QString::fromUtf8(permission) == "普通用户";
        EXPECT_EQ(w->N4->isEnabled(), !ordinary) << permission;
        EXPECT_EQ(w->N10->isEnabled(), !ordinary) << permission;
        EXPECT_TRUE(w->N5->isEnabled());
        delete window.data();
        delete Form_sql;
    }
}

TEST_F(MainWindow, TheSkinNamedInTheSettingsIsApplied)
{
    QDir(folder.Path()).mkpath("skins");
    QFile skin(folder.Path("skins/green.skn"));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write("QToolBar { background: #00aa00; }");
    skin.close();
    IniFile(folder.Path("config.ini")).WriteString("界面选择", "路径", "green.skn");
    TForm_Client *w = open();
    EXPECT_EQ(w->SkinFile(), folder.Path("skins/green.skn"));
    EXPECT_TRUE(qApp->styleSheet().contains("#00aa00"));
    delete window.data();
    delete Form_sql;
    qApp->setStyleSheet(QString());
    IniFile(folder.Path("config.ini")).WriteString("界面选择", "路径", "missing.skn");
    EXPECT_TRUE(open()->isVisible()); // no skin, no error
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(MainWindow, WithoutLoginTheStatusHasTwoBlanks)
{
    EXPECT_EQ(open()->StatusPanel(0), "当前用户：  ");
}

TEST_F(MainWindow, OneListScreenAtATime)
{
    int made = 0;
    RegisterScreen("ToolButton2", OpenWay::ListScreen, [&made] {
        ++made;
        auto *w = new QWidget();
        w->setObjectName("Form_jh");
        return w;
    });
    TForm_Client *w = open();
    w->ToolButton2->click();
    ASSERT_EQ(w->MdiArea->subWindowList().size(), 1);
    EXPECT_TRUE(w->MdiArea->subWindowList().first()->isMaximized());
    EXPECT_TRUE(Client().childOpen);
    for (QToolButton *b : w->ToolButtons())
        EXPECT_EQ(b->isEnabled(), b == w->ToolButton2) << b->text().toStdString();

    w->ToolButton2->click(); // the second press closes it
    QApplication::processEvents();
    QTest::qWait(50);
    EXPECT_TRUE(w->MdiArea->subWindowList().isEmpty());
    EXPECT_FALSE(Client().childOpen);
    for (QToolButton *b : w->ToolButtons())
        EXPECT_TRUE(b->isEnabled());

    w->ToolButton2->click(); // a fresh instance, closed by its own close box
    EXPECT_EQ(made, 2);
    w->MdiArea->subWindowList().first()->close();
    QTest::qWait(50);
    EXPECT_FALSE(Client().childOpen);
    EXPECT_TRUE(w->ToolButton7->isEnabled());
}

TEST_F(MainWindow, AltDPressesTheListScreensDeleteButtonThoughTheDatabaseMenuSharesTheLetter)
{
    // Both underline D; the screen's button was only focused, so its letter did nothing.
    int pressed = 0;
    RegisterScreen("ToolButton2", OpenWay::ListScreen, [&pressed] {
        auto *w = new QWidget();
        w->setObjectName("Form_jh");
        auto *remove = new QPushButton(QStringLiteral("删除(&D)"), w);
        QObject::connect(remove, &QPushButton::clicked, [&pressed] { ++pressed; });
        return w;
    });
    TForm_Client *w = open();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_D, Qt::AltModifier); // no list screen: the menu opens
    EXPECT_NE(QApplication::activePopupWidget(), nullptr);
    if (QWidget *menu = QApplication::activePopupWidget())
        menu->close();
    w->ToolButton2->click();
    ASSERT_EQ(w->MdiArea->subWindowList().size(), 1);
    QTest::keyClick(w, Qt::Key_D, Qt::AltModifier);
    QTest::qWait(300); // the button's pressed look lasts a moment
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(MainWindow, AScreenThatFailsToOpenLeavesTheToolbarFree)
{
    RegisterScreen("ToolButton2", OpenWay::ListScreen, []() -> QWidget * { throw std::runtime_error("broken"); });
    TForm_Client *w = open();
    w->ToolButton2->click();
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_FALSE(Client().childOpen);
    EXPECT_TRUE(w->ToolButton7->isEnabled());
}

TEST_F(MainWindow, ToolWindowsDisableTheMainWindowOrNot)
{
    QPointer<QWidget> book, notes;
    RegisterScreen("N15", OpenWay::DisablingTool, [&book] { return book = new QWidget(); });
    RegisterScreen("N25", OpenWay::Tool, [&notes] { return notes = new QWidget(); });
    TForm_Client *w = open();
    w->N25->trigger();
    EXPECT_TRUE(w->isEnabled());
    w->N15->trigger();
    EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(book->isEnabled()); // usable while the main window waits
    book->close();
    QTest::qWait(50);
    EXPECT_TRUE(book.isNull());
    EXPECT_TRUE(w->isEnabled());
    notes->close();
}

TEST_F(MainWindow, HelpDoesNothingAboutOpens)
{
    RegisterScreens();
    TForm_Client *w = open();
    w->N13->trigger();
    EXPECT_TRUE(w->isEnabled());
    w->N14->trigger();
    QWidget *box = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == "Form_about" && top->isVisible())
            box = top;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->size(), QSize(450, 306));
    box->findChild<QPushButton *>("Button1")->click();
    EXPECT_FALSE(box->isVisible());
}

TEST_F(MainWindow, IntakeAndInventoryComeWithTheirHiddenCompanionsAndTakeThemAlong)
{
    RegisterScreens();
    TForm_Client *w = open();
    struct Case {
        QToolButton *button;
        std::function<QWidget *()> screen, companion;
    };
    for (const Case &c : {Case{w->ToolButton2, [] { return static_cast<QWidget *>(Form_jh); },
                               [] { return static_cast<QWidget *>(Form_jh_user); }},
                          Case{w->ToolButton6, [] { return static_cast<QWidget *>(Form_kc); },
                               [] { return static_cast<QWidget *>(Form_bcadd); }}}) {
        c.button->click();
        QApplication::processEvents();
        ASSERT_NE(c.screen(), nullptr) << c.button->objectName().toStdString();
        EXPECT_TRUE(c.screen()->isVisible());
        ASSERT_NE(c.companion(), nullptr);
        EXPECT_FALSE(c.companion()->isVisible());
        c.button->click(); // the second press closes the screen, and its companion goes too
        QTest::qWait(50);
        EXPECT_EQ(c.screen(), nullptr);
        EXPECT_EQ(c.companion(), nullptr);
        EXPECT_FALSE(Client().childOpen);
    }
}

TEST_F(MainWindow, CloseIsRefusedUntilTheExitWindowLetsIt)
{
    TForm_Client *w = open();
    w->N7->trigger();
    ASSERT_NE(exitWindow(), nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isEnabled());
    exitWindow()->Button3->click(); // 取消: back to work
    QTest::qWait(50);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(Client().closeFlag);
    EXPECT_EQ(exitWindow(), nullptr);

    w->close(); // again: a new exit window
    ASSERT_NE(exitWindow(), nullptr);
    exitWindow()->Button2->click(); // 退出系统, unticked: no backup
    QTest::qWait(50);
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(QDir(folder.Path("bakdata")).exists() && !QDir(folder.Path("bakdata")).isEmpty());
}

TEST_F(MainWindow, ADisabledMainWindowRefusesItsCloseBox)
{
    QPointer<QWidget> book;
    RegisterScreen("N15", OpenWay::DisablingTool, [&book] { return book = new QWidget(); });
    TForm_Client *w = open();
    w->N15->trigger();
    ASSERT_FALSE(w->isEnabled());
    EXPECT_FALSE(w->close()); // as the window manager's close box asks
    EXPECT_EQ(exitWindow(), nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(book->isVisible());
    book->close();
    QTest::qWait(50);
    ASSERT_TRUE(w->isEnabled());
    EXPECT_FALSE(w->close()); // enabled again: the close goes through the exit window
    EXPECT_NE(exitWindow(), nullptr);
}

TEST_F(MainWindow, EveryOtherWindowClosesWithTheMainWindow)
{
    RegisterScreens();
    TForm_Client *w = open();
    w->N14->trigger();
    QPointer<QWidget> about = Form_about;
    ASSERT_TRUE(about && about->isVisible());
    w->N7->trigger();
    ASSERT_NE(exitWindow(), nullptr);
    exitWindow()->Button2->click(); // 退出系统
    QTest::qWait(50);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(about.isNull()); // closed, and gone as it closes
    for (QWidget *top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->isVisible()) << top->objectName().toStdString();
}

TEST_F(MainWindow, TheInventoryFitsTheDesignSizeWithItsTotalsInSight)
{
    RegisterScreens();
    for (const QSize size : {QSize(1063, 754), QSize(1024, 738)}) {
        TForm_Client *w = open();
        w->resize(size);
        w->ToolButton6->click();
        QApplication::processEvents();
        ASSERT_NE(Form_kc, nullptr);
        const QWidget *area = w->MdiArea->viewport();
        // Lists with their footers, and the field panels (which scroll), all inside the child area.
        for (QWidget *tab : {Form_kc->TabSheet1, Form_kc->TabSheet2}) {
            Form_kc->PageControl1->setCurrentWidget(tab);
            QApplication::processEvents();
            for (const QWidget *part : tab->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
                if (!part->isVisible())
                    continue;
                const QRect shown(part->mapTo(area, QPoint(0, 0)), part->size());
                EXPECT_TRUE(area->rect().contains(shown))
                    << size.width() << "x" << size.height() << " " << part->objectName().toStdString() << " at "
                    << shown.y() << "+" << shown.height() << " in " << area->height();
            }
        }
        EXPECT_TRUE(Form_kc->DBGrid1->FooterVisible());
        delete window.data();
        delete Form_sql;
    }
}

} // namespace

#include "app/client.h"
#include "app/main_login.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace {

TEST(ProgramEntry, CancelAtLoginEndsWithoutMainWindowDataModuleOrSettings)
{
    TestFolder folder;
    Dialogs::Script dialogs;
    QTimer::singleShot(300, [] {
        if (Form_login)
            Form_login->Button2->click();
    });
    EXPECT_EQ(RunClient(*qApp), 0);
    EXPECT_EQ(Form_Client, nullptr);
    EXPECT_EQ(Form_sql, nullptr);
    EXPECT_FALSE(QFile::exists(folder.Path("config.ini")));
}

TEST(ProgramEntry, TheProgramEndsWhenTheMainWindowClosesWhateverElseIsOpen)
{
    TestFolder folder;
    Dialogs::Script dialogs;
    // A person's steps, each taken once the window it needs is there.
    int step = 0;
    bool timedOut = false;
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        if (step == 0 && Form_login && Form_login->isVisible() && !Form_login->Checking()) {
            Form_login->Edit1->setText("admin");
            Form_login->Button1->click();
            ++step;
        } else if (step == 1 && Form_Client && Form_Client->isVisible()) {
            Form_Client->N14->trigger(); // the about box stays on top
            ++step;
        } else if (step == 2 && Form_about && Form_about->isVisible()) {
            Form_Client->N7->trigger();
            ++step;
        } else if (step == 3 && Form_data_bak && Form_data_bak->isVisible()) {
            Form_data_bak->Button2->click(); // 退出系统
            ++step;
        }
    });
    person.start(50);
    QTimer::singleShot(20000, [&] {
        // The program did not end by itself: end it, so the test can say so.
        timedOut = true;
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
    EXPECT_EQ(RunClient(*qApp), 0);
    EXPECT_EQ(step, 4);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(Form_Client, nullptr);
    EXPECT_EQ(Form_sql, nullptr);
    EXPECT_EQ(Form_about, nullptr);
}

TEST(DataModule, ASecondProcessCannotOpenTheDatabase)
{
    const QString cli = QStandardPaths::findExecutable("sqlcipher");
    if (cli.isEmpty())
        GTEST_SKIP() << "the sqlcipher command-line engine is not installed";
    TestFolder folder;
    auto run = [&] {
        QProcess p;
        p.start(cli, {folder.DatabasePath(), "PRAGMA key='wdkrp52917046'; select count(*) from 用户管理;"});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
    };
    EXPECT_EQ(run(), "1"); // the CLI reads the file with the program's password
    Form_sql = new TForm_sql();
    Form_sql->FormCreate();
    EXPECT_TRUE(run().contains("database is locked")) << run().toStdString();
    delete Form_sql;
    EXPECT_EQ(run(), "1");
}

} // namespace
