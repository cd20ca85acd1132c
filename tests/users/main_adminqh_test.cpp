#include "tests/users/accountfixture.h"

#include "datalayer/labelededit.h"
#include "users/main_adminqh.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class UserSwitch : public AccountTest {
protected:
    void SetUp() override
    {
        addAccount("Clerk", "Tea", "普通用户");
        addAccount("boss", "b", "店长");
        w = Form_adminqh = open<TForm_adminqh>();
    }
    TForm_adminqh *w = nullptr;
};

TEST_F(UserSwitch, OffersEveryAccountAndShowsTheLast)
{
    EXPECT_EQ(w->windowTitle(), "用户切换");
    EXPECT_EQ(w->size(), QSize(225, 187));
    EXPECT_FALSE(w->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(w->Label1->text(), "用户名：");
    EXPECT_EQ(w->Label1->buddy(), w->ComboBox1);
    EXPECT_EQ(w->LabeledEdit1->EditLabel()->text(), "密  码：");
    EXPECT_EQ(w->LabeledEdit1->Edit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(w->Button1->text(), "登陆");
    EXPECT_EQ(w->Button2->text(), "取消");
    QStringList names;
    for (int i = 0; i < w->ComboBox1->count(); ++i)
        names << w->ComboBox1->itemText(i);
    EXPECT_EQ(w->ComboBox1->currentText(), names.last()); // in the order the table gives them
    names.sort();
    EXPECT_EQ(names, QStringList({"Clerk", "admin", "boss"}));
}

TEST_F(UserSwitch, AWrongOrEmptyPasswordSwitchesNothing)
{
    const struct {
        QString name, password;
    } cases[] = {{"Clerk", ""}, {"Clerk", "coffee"}, {"nobody", "Tea"}, {"x' or '1'='1", "Tea"}};
    for (const auto &c : cases) {
        dialogs.Clear();
        w->ComboBox1->setEditText(c.name);
        w->LabeledEdit1->setText(c.password);
        w->Button1->click();
        EXPECT_EQ(dialogs.Texts(), QStringList({"登陆密码错误!"})) << c.name.toStdString();
        EXPECT_EQ(dialogs.Requests().front().caption, "提示");
        EXPECT_EQ(w->LabeledEdit1->text(), "");
        EXPECT_FALSE(windowGone());
    }
    EXPECT_EQ(Client().currentUser, "admin");
    EXPECT_EQ(Client().currentPermission, "高级用户");
    EXPECT_EQ(permissionApplied, 0);
    EXPECT_TRUE(statusPanel.isEmpty());
}

TEST_F(UserSwitch, TheAccountTakesOverWithItsStoredNameAndPermission)
{
    w->ComboBox1->setEditText("CLERK");
    w->LabeledEdit1->setText("tEA");
    QTest::keyClick(w->LabeledEdit1->Edit(), Qt::Key_Return);
    EXPECT_TRUE(dialogs.Requests().empty());
    EXPECT_TRUE(windowGone());
    EXPECT_EQ(Client().currentUser, "Clerk");
    EXPECT_EQ(Client().currentPermission, "普通用户");
    EXPECT_EQ(permissionApplied, 1);
    EXPECT_EQ(statusPanel, "当前用户:Clerk 普通用户");
}

TEST_F(UserSwitch, CancelAndEscapeCloseIt)
{
    w->Button2->click();
    EXPECT_TRUE(windowGone());
    w = Form_adminqh = open<TForm_adminqh>();
    QTest::keyClick(w->LabeledEdit1->Edit(), Qt::Key_Escape);
    EXPECT_TRUE(windowGone());
    EXPECT_EQ(Client().currentUser, "admin");
}

} // namespace
