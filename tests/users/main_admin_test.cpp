#include "tests/users/accountfixture.h"

#include "datalayer/dbgrid.h"
#include "datalayer/labelededit.h"
#include "users/main_admin.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {

const StoredAccount kAdmin{"admin", "admin", "高级用户", "备注：\n系统管理员"};

class UserManagement : public AccountTest {
protected:
    TForm_admin *openAdmin() { return Form_admin = open<TForm_admin>(); }
    void type(const QString &name, const QString &password, const QString &permission)
    {
        w->LabeledEdit1->setText(name);
        w->LabeledEdit2->setText(password);
        w->ComboBox1->setCurrentText(permission);
    }
    // Loads the listed row that holds the name, as a click on it does.
    void clickName(const QString &name)
    {
        const int row = int(Listed(w->DBGrid1, "用户名").indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        ClickRow(w->DBGrid1, row);
    }
    QStringList names() { return Listed(w->DBGrid1, "用户名"); }
    TForm_admin *w = nullptr;
};

TEST_F(UserManagement, ListsTheAccountsNewestFirstWithTheirCiphertext)
{
    addAccount("clerk", "tea", "普通用户");
    w = openAdmin();
    EXPECT_EQ(w->windowTitle(), "用户管理");
    EXPECT_EQ(w->size(), QSize(521, 334));
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(w->LabeledEdit1->EditLabel()->text(), "用户名：");
    EXPECT_EQ(w->LabeledEdit2->EditLabel()->text(), "密    码：");
    EXPECT_EQ(w->LabeledEdit2->Edit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(w->Label1->text(), "权   限：");
    EXPECT_EQ(w->Label1->buddy(), w->ComboBox1);
    EXPECT_TRUE(w->ComboBox1->isEditable());
    EXPECT_EQ(w->ComboBox1->currentText(), "普通用户");
    ASSERT_EQ(w->ComboBox1->count(), 2);
    EXPECT_EQ(w->ComboBox1->itemText(1), "高级用户");
    EXPECT_EQ(w->Memo1->toPlainText(), "备注：");
    EXPECT_EQ(w->Button1->text(), "添加(&A)");
    EXPECT_EQ(w->Button2->text(), "修改(&E)");
    EXPECT_EQ(w->Button3->text(), "删除(&D)");
    EXPECT_EQ(w->C1->text(), "添加(&A)");
    EXPECT_EQ(w->D1->text(), "删除(&D)");
    EXPECT_EQ(w->E1->text(), "修改(&E)");

    QStringList columns;
    for (const GridColumn &c : w->DBGrid1->Columns())
        columns << c.fieldName;
    EXPECT_EQ(columns, QStringList({"序号", "用户名", "密码", "权限"}));
    EXPECT_EQ(w->DBGrid1->columnWidth(0), 30);
    EXPECT_EQ(names(), QStringList({"clerk", "admin"}));
    for (const QString &cipher : Listed(w->DBGrid1, "密码")) {
        EXPECT_TRUE(QRegularExpression("^([0-9A-F]{2})+$").match(cipher).hasMatch()) << cipher.toStdString();
        EXPECT_NE(cipher, "tea");
    }
    EXPECT_EQ(Listed(w->DBGrid1, "权限"), QStringList({"普通用户", "高级用户"}));
}

TEST_F(UserManagement, AddStoresTheTypedPasswordEncipheredAndTheRemarkBox)
{
    w = openAdmin();
    type("clerk", "Tea'Pot", "普通用户");
    w->Button1->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定添加此用户资料!"}));
    EXPECT_EQ(dialogs.Requests().front().caption, "提示!");
    ASSERT_EQ(accounts().size(), 2u);
    EXPECT_EQ(accounts().back(), (StoredAccount{"clerk", "Tea'Pot", "普通用户", "备注："}));
    EXPECT_EQ(w->LabeledEdit1->text(), "");
    EXPECT_EQ(w->LabeledEdit2->text(), "");
    EXPECT_EQ(w->Memo1->toPlainText(), "备注："); // the remark stays for the next one
    EXPECT_EQ(names(), QStringList({"clerk", "admin"}));
    EXPECT_TRUE(logsIn("clerk", "tea'pot")); // letter case aside, as every check
}

TEST_F(UserManagement, ANameThatExistsInAnyLetterCaseIsNotAddedTwice)
{
    w = openAdmin();
    for (const char *name : {"admin", "ADMIN", "Admin"}) {
        dialogs.Clear();
        type(name, "other", "普通用户");
        w->Button1->click();
        EXPECT_EQ(dialogs.Texts(), QStringList({"此用户名已存在!"})) << name; // no question first
        EXPECT_EQ(w->LabeledEdit1->text(), name);
    }
    ASSERT_EQ(accounts().size(), 1u);
    EXPECT_TRUE(logsIn("admin", "admin"));
}

// An empty required box asks nothing; Cancel at the question leaves everything as it was.
TEST_F(UserManagement, EmptyBoxesAndCancelChangeNothing)
{
    addAccount("clerk", "tea", "普通用户");
    w = openAdmin();
    const QString add = "是否确定添加此用户资料!", change = "是否确定修改此用户资料!",
                  remove = "是否确定删除此用户资料!";
    const struct {
        const char *what;
        QString name, password, permission;
        QPushButton *TForm_admin::*button;
        QString question; // empty: none is asked
    } cases[] = {
        {"add without a name", "", "pw", "普通用户", &TForm_admin::Button1, ""},
        {"add without a password", "new", "", "普通用户", &TForm_admin::Button1, ""},
        {"add without a permission", "new", "pw", "", &TForm_admin::Button1, ""},
        {"change without a name", "", "pw", "高级用户", &TForm_admin::Button2, ""},
        {"change without a permission", "clerk", "pw", "", &TForm_admin::Button2, ""},
        {"delete without a name", "", "pw", "普通用户", &TForm_admin::Button3, ""},
        {"add cancelled", "new", "pw", "普通用户", &TForm_admin::Button1, add},
        {"change cancelled", "clerk", "pw", "高级用户", &TForm_admin::Button2, change},
        {"delete cancelled", "clerk", "", "普通用户", &TForm_admin::Button3, remove},
    };
    const auto before = accounts();
    for (const auto &c : cases) {
        dialogs.Clear();
        dialogs.Cancel();
        type(c.name, c.password, c.permission);
        (w->*c.button)->click();
        EXPECT_EQ(dialogs.Texts(), c.question.isEmpty() ? QStringList() : QStringList({c.question})) << c.what;
        EXPECT_EQ(accounts(), before) << c.what;
        EXPECT_EQ(w->LabeledEdit1->text(), c.name) << c.what;
        EXPECT_EQ(w->LabeledEdit2->text(), c.password) << c.what;
        EXPECT_EQ(w->ComboBox1->currentText(), c.permission) << c.what;
    }
}

TEST_F(UserManagement, ARowClickLoadsTheAccountButLeavesThePasswordBoxEmpty)
{
    addAccount("clerk", "tea", "普通用户", "备注：\n早班");
    w = openAdmin();
    w->LabeledEdit2->setText("typed before");
    clickName("clerk");
    EXPECT_EQ(w->LabeledEdit1->text(), "clerk");
    EXPECT_EQ(w->LabeledEdit2->text(), "");
    EXPECT_EQ(w->ComboBox1->currentText(), "普通用户");
    EXPECT_EQ(w->Memo1->toPlainText(), "备注：\n早班");
}

TEST_F(UserManagement, ChangeKeepsThePasswordWhenItsBoxIsEmptyAndReplacesItWhenTyped)
{
    const struct {
        const char *typed;
        const char *worksAfter;
        const char *failsAfter;
    } cases[] = {{"", "tea", "new"}, {"New", "New", "tea"}};
    for (const auto &c : cases) {
        Run("delete from 用户管理 where 用户名='clerk'");
        addAccount("clerk", "tea", "普通用户", "备注：原来的");
        w = openAdmin();
        clickName("clerk");
        w->LabeledEdit2->setText(c.typed);
        w->ComboBox1->setCurrentText("高级用户");
        w->Memo1->setPlainText("备注：改了");
        w->Button2->click();
        EXPECT_EQ(dialogs.Texts().last(), "是否确定修改此用户资料!");
        // The permission changes; the remark is not written by a change.
        EXPECT_EQ(accounts().back(), (StoredAccount{"clerk", c.worksAfter, "高级用户", "备注：原来的"})) << c.typed;
        EXPECT_EQ(w->LabeledEdit1->text(), "");
        EXPECT_EQ(w->LabeledEdit2->text(), "");
        EXPECT_EQ(Listed(w->DBGrid1, "权限").first(), "高级用户");
        EXPECT_TRUE(logsIn("clerk", c.worksAfter)) << c.typed;
        EXPECT_FALSE(logsIn("clerk", c.failsAfter)) << c.typed;
        delete w;
    }
}

TEST_F(UserManagement, DeleteRemovesOnlyTheAccountOfThatExactName)
{
    addAccount("x' or '1'='1", "pw", "普通用户");
    addAccount("clerk", "tea", "普通用户");
    w = openAdmin();
    w->LabeledEdit1->setText("x' or '1'='1");
    w->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定删除此用户资料!"}));
    EXPECT_EQ(names(), QStringList({"clerk", "admin"}));
    EXPECT_EQ(w->LabeledEdit1->text(), "");
    ASSERT_EQ(accounts().size(), 2u);

    // The same name typed into a change touches nothing else either.
    addAccount("o'neil", "pw", "普通用户");
    w->LabeledEdit1->setText("O'Neil");
    w->ComboBox1->setCurrentText("高级用户");
    w->Button2->click();
    EXPECT_EQ(accounts()[1].permission, "普通用户");
    EXPECT_EQ(accounts()[2], (StoredAccount{"o'neil", "pw", "高级用户", "备注："}));
}

TEST_F(UserManagement, ANameThatIsNoAccountAsksForARow)
{
    w = openAdmin();
    for (QPushButton *b : {w->Button2, w->Button3}) {
        dialogs.Clear();
        type("nobody", "", "普通用户");
        b->click();
        EXPECT_EQ(dialogs.Texts(), QStringList({Dialogs::kChooseRow}));
    }
    EXPECT_EQ(accounts().size(), 1u);
}

TEST_F(UserManagement, NobodyIsLockedOut)
{
    addAccount("clerk", "tea", "普通用户");
    Client().currentUser = "ADMIN"; // as typed at login
    w = openAdmin();
    const struct {
        const char *what;
        QString name, permission;
        QPushButton *TForm_admin::*button;
        QString notice;
    } refusals[] = {
        {"the logged-in account", "admin", "高级用户", &TForm_admin::Button3, "不能删除当前登陆的用户!"},
        {"the last senior demoted", "admin", "普通用户", &TForm_admin::Button2, "不能修改最后一个高级用户的权限!"},
        {"the last senior demoted to any text", "admin", "店长", &TForm_admin::Button2,
         "不能修改最后一个高级用户的权限!"},
    };
    const auto before = accounts();
    for (const auto &r : refusals) {
        dialogs.Clear();
        clickName("admin");
        w->ComboBox1->setCurrentText(r.permission);
        (w->*r.button)->click();
        EXPECT_EQ(dialogs.Texts(), QStringList({r.notice})) << r.what; // no question is asked
        EXPECT_EQ(accounts(), before) << r.what;
    }

    // Someone else at work: the last senior still stays.
    Client().currentUser = "clerk";
    Client().currentPermission = "店长";
    dialogs.Clear();
    clickName("admin");
    w->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"不能删除最后一个高级用户!"}));
    EXPECT_EQ(accounts(), before);

    // With a second senior, either may go or become ordinary.
    addAccount("boss", "b", "高级用户");
    dialogs.Clear();
    clickName("admin");
    w->ComboBox1->setCurrentText("普通用户");
    w->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改此用户资料!"}));
    EXPECT_EQ(accounts()[0].permission, "普通用户");
    dialogs.Clear();
    w->LabeledEdit1->setText("boss");
    w->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"不能删除最后一个高级用户!"}));
}

TEST_F(UserManagement, ChangingTheLoggedInAccountHandsItsNewPermissionOverAtOnce)
{
    addAccount("boss", "b", "高级用户");
    Client().currentUser = "Admin";
    w = openAdmin();
    clickName("admin");
    w->ComboBox1->setCurrentText("普通用户");
    w->Button2->click();
    EXPECT_EQ(Client().currentPermission, "普通用户");
    EXPECT_EQ(Client().currentUser, "admin");
    EXPECT_EQ(permissionApplied, 1);
    EXPECT_EQ(statusPanel, "当前用户:admin 普通用户");

    // Another account's change leaves the current one alone.
    Client().currentPermission = "高级用户";
    clickName("boss");
    w->Button2->click();
    EXPECT_EQ(permissionApplied, 1);
    EXPECT_EQ(Client().currentPermission, "高级用户");
}

TEST_F(UserManagement, AnOrdinaryUserAtWorkChangesNothing)
{
    addAccount("clerk", "tea", "普通用户");
    Client().currentPermission = "普通用户"; // switched to while the window stayed open
    w = openAdmin();
    const auto before = accounts();
    for (QPushButton *b : {w->Button1, w->Button2, w->Button3}) {
        dialogs.Clear();
        type("clerk", "pw", "高级用户");
        b->click();
        EXPECT_EQ(dialogs.Texts(), QStringList({"普通用户不能管理用户资料!"}));
    }
    EXPECT_EQ(accounts(), before);
}

TEST_F(UserManagement, ThePopupItemsDoWhatTheButtonsDo)
{
    w = openAdmin();
    type("clerk", "tea", "普通用户");
    w->C1->trigger();
    EXPECT_EQ(names(), QStringList({"clerk", "admin"}));
    clickName("clerk");
    w->ComboBox1->setCurrentText("高级用户");
    w->E1->trigger();
    EXPECT_EQ(accounts().back().permission, "高级用户");
    clickName("clerk");
    w->D1->trigger();
    EXPECT_EQ(names(), QStringList({"admin"}));
    EXPECT_EQ(dialogs.Texts(),
              QStringList({"是否确定添加此用户资料!", "是否确定修改此用户资料!", "是否确定删除此用户资料!"}));
}

TEST_F(UserManagement, ClosingGivesTheMainWindowBack)
{
    w = openAdmin();
    EXPECT_FALSE(main.isEnabled());
    w->close();
    EXPECT_TRUE(windowGone());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_EQ(Form_admin, nullptr);
}

} // namespace
