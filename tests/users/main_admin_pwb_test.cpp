#include "tests/users/accountfixture.h"

#include "datalayer/labelededit.h"
#include "users/main_admin_pwb.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class PasswordChange : public AccountTest {
protected:
    PasswordChange() { Client().currentUser = "clerk"; }
    void SetUp() override
    {
        addAccount("clerk", "Tea", "普通用户");
        w = Form_pwbedit = open<TForm_pwbedit>();
    }
    void type(const QString &old, const QString &fresh, const QString &again)
    {
        w->LabeledEdit2->setText(old);
        w->LabeledEdit3->setText(fresh);
        w->LabeledEdit4->setText(again);
    }
    TForm_pwbedit *w = nullptr;
};

TEST_F(PasswordChange, ShowsTheCurrentUserReadOnly)
{
    EXPECT_EQ(w->windowTitle(), "密码修改");
    EXPECT_EQ(w->size(), QSize(249, 255));
    EXPECT_FALSE(w->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(w->LabeledEdit1->text(), "clerk");
    EXPECT_TRUE(w->LabeledEdit1->Edit()->isReadOnly());
    const QStringList labels{"用户名：", "旧密码：", "新密码：", "密码确认："};
    const LabeledEdit *edits[] = {w->LabeledEdit1, w->LabeledEdit2, w->LabeledEdit3, w->LabeledEdit4};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(edits[i]->EditLabel()->text(), labels[i]);
        EXPECT_EQ(edits[i]->Edit()->echoMode(), i == 0 ? QLineEdit::Normal : QLineEdit::Password);
    }
    EXPECT_EQ(w->Button1->text(), "确定");
    EXPECT_EQ(w->Button2->text(), "取消");
    EXPECT_TRUE(main.isEnabled() == false); // the window does not touch the main window
}

TEST_F(PasswordChange, TheOldPasswordInAnyLetterCaseLetsTheNewOneIn)
{
    type("TEA", "Leaf9", "Leaf9");
    w->Button1->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"密码修改成功!"}));
    EXPECT_EQ(dialogs.Requests().front().caption, "提示");
    EXPECT_TRUE(windowGone());
    EXPECT_TRUE(logsIn("clerk", "leaf9"));
    EXPECT_FALSE(logsIn("clerk", "Tea"));
    EXPECT_TRUE(logsIn("admin", "admin")); // nobody else's
}

TEST_F(PasswordChange, RefusalsKeepTheStoredPassword)
{
    const struct {
        const char *what;
        QString old, fresh, again;
        QString notice;
        QString oldAfter, freshAfter, againAfter;
    } cases[] = {
        {"confirmation differs in letter case", "Tea", "leaf", "LEAF", "新密码重复输入不相同!", "Tea", "", ""},
        {"confirmation differs", "Tea", "leaf", "leaves", "新密码重复输入不相同!", "Tea", "", ""},
        {"wrong old password", "Coffee", "leaf", "leaf", "旧密码错误!", "Coffee", "leaf", "leaf"},
    };
    for (const auto &c : cases) {
        dialogs.Clear();
        type(c.old, c.fresh, c.again);
        w->Button1->click();
        EXPECT_EQ(dialogs.Texts(), QStringList({c.notice})) << c.what;
        EXPECT_EQ(dialogs.Requests().front().caption, "提示") << c.what;
        EXPECT_EQ(w->LabeledEdit2->text(), c.oldAfter) << c.what;
        EXPECT_EQ(w->LabeledEdit3->text(), c.freshAfter) << c.what;
        EXPECT_EQ(w->LabeledEdit4->text(), c.againAfter) << c.what;
        EXPECT_FALSE(windowGone()) << c.what;
    }
    EXPECT_TRUE(logsIn("clerk", "Tea"));
}

TEST_F(PasswordChange, AnEmptyBoxDoesNothing)
{
    const QString boxes[][3] = {{"", "a", "a"}, {"Tea", "", "a"}, {"Tea", "a", ""}};
    for (const auto &b : boxes) {
        type(b[0], b[1], b[2]);
        w->Button1->click();
    }
    w->LabeledEdit1->setText("");
    type("Tea", "a", "a");
    w->Button1->click();
    EXPECT_TRUE(dialogs.Requests().empty());
    EXPECT_TRUE(logsIn("clerk", "Tea"));
}

TEST_F(PasswordChange, AUserWithoutAnAccountHasAWrongOldPassword)
{
    w->LabeledEdit1->setText("x' or '1'='1");
    type("Tea", "a", "a");
    w->Button1->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"旧密码错误!"}));
    EXPECT_TRUE(logsIn("clerk", "Tea"));
    EXPECT_TRUE(logsIn("admin", "admin"));
}

TEST_F(PasswordChange, EnterConfirmsAndEscapeCancels)
{
    type("Tea", "leaf", "leaf");
    QTest::keyClick(w->LabeledEdit4->Edit(), Qt::Key_Return);
    EXPECT_EQ(dialogs.Texts(), QStringList({"密码修改成功!"}));
    EXPECT_TRUE(windowGone());

    w = Form_pwbedit = open<TForm_pwbedit>();
    w->activateWindow();
    QTest::keyClick(w->LabeledEdit2->Edit(), Qt::Key_Escape);
    EXPECT_TRUE(windowGone());

    w = Form_pwbedit = open<TForm_pwbedit>();
    w->Button2->click();
    EXPECT_TRUE(windowGone());
    EXPECT_TRUE(logsIn("clerk", "leaf"));
}

} // namespace
