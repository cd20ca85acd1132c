#include "app/screenregistry.h"
#include "app/screens.h"
#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "feedback/jy_send.h"
#include "tests/mail/server/smtptestserver.h"
#include "tests/support/qtprint.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Dialogs::Kind;
using Mode = SmtpTestServer::Mode;

const QString kSent = QStringLiteral("信息发送成功！");
const QString kFailed = QStringLiteral("信息发送失败！");

class FeedbackTest : public ::testing::Test {
protected:
    FeedbackTest()
    {
        main.setWindowTitle(QStringLiteral("Tessaly 2.10 beta"));
        Client().mainWindow = &main;
        form = new TForm_jy_send();
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
    }
    ~FeedbackTest() override
    {
        delete form;
        Client().mainWindow = nullptr;
    }

    // Points the form at a fresh server of the kind given.
    void Serve(Mode mode, quint32 timeOut = 10000)
    {
        server = std::make_unique<SmtpTestServer>(mode);
        ASSERT_TRUE(server->Problem().isEmpty()) << server->Problem().toStdString();
        form->Settings = server->Settings();
        form->Settings.timeOut = timeOut;
    }

    bool WaitForNotice()
    {
        return QTest::qWaitFor([this] { return dialogs.Count(Kind::Notice) > 0; }, 30000);
    }

    QString Body() const
    {
        return Parsed(server->Messages().value(0)).value(QStringLiteral("body")).toString();
    }

    QWidget main;
    QPointer<TForm_jy_send> form;
    Dialogs::Script dialogs;
    std::unique_ptr<SmtpTestServer> server;
};

TEST_F(FeedbackTest, SendsTheSevenLinesUnderTheMainWindowsCaption)
{
    Serve(Mode::Auth);
    form->LabeledEdit1->setText(QStringLiteral("张三"));
    form->LabeledEdit2->setText(QStringLiteral("0591-8888"));
    form->LabeledEdit3->setText(QStringLiteral("13800000000"));
    form->LabeledEdit4->setText(QStringLiteral("zs@example.com"));
    form->LabeledEdit5->setText(QStringLiteral("12345"));
    form->LabeledEdit6->setText(QStringLiteral("福州"));
    form->Memo1->setPlainText(QStringLiteral("建意内容：\n请多进些岩茶"));
    bool disabledDuringNotice = false;
    dialogs.onRequest = [&](const Dialogs::Request &r) {
        if (r.kind == Kind::Notice)
            disabledDuringNotice = !form->isEnabled();
    };
    form->Button1->click();
    ASSERT_EQ(dialogs.Count(Kind::Confirm), 1);
    EXPECT_EQ(dialogs.Requests()[0].text, QStringLiteral("是否确定发送此建意!"));
    EXPECT_EQ(dialogs.Requests()[0].caption, QStringLiteral("提示!"));
    EXPECT_FALSE(form->isEnabled()); // while the worker sends
    ASSERT_TRUE(WaitForNotice());
    EXPECT_EQ(dialogs.Texts().last(), kSent);
    EXPECT_TRUE(disabledDuringNotice);
    EXPECT_TRUE(form->isEnabled());

    ASSERT_EQ(server->Messages().size(), 1);
    const QJsonObject p = Parsed(server->Messages()[0]);
    EXPECT_EQ(p.value("subject").toString(), QStringLiteral("Tessaly 2.10 beta建意"));
    EXPECT_EQ(p.value("from_name").toString(), QStringLiteral("张三"));
    EXPECT_EQ(Body(), QStringLiteral("用户名 ：张三\r\n电话 ：0591-8888\r\n手机 ：13800000000\r\nQQ号 ：12345\r\n"
                                     "E_mail ：zs@example.com\r\n地址 ：福州\r\n内容 ：建意内容：\r\n请多进些岩茶\r\n"));
}

TEST_F(FeedbackTest, EmptyContactsStillGiveSevenLinesAndTheUntouchedSuggestionIsSent)
{
    Serve(Mode::Auth);
    form->LabeledEdit1->setText(QStringLiteral("李四"));
    form->Button1->click();
    ASSERT_TRUE(WaitForNotice());
    EXPECT_EQ(dialogs.Texts().last(), kSent);
    EXPECT_EQ(Body(), QStringLiteral("用户名 ：李四\r\n电话 ：\r\n手机 ：\r\nQQ号 ：\r\nE_mail ：\r\n地址 ：\r\n内容 ：建意内容：\r\n"));
}

TEST_F(FeedbackTest, EmptyNameIsMarkedAndTheMarkIsNoName)
{
    form->Button1->click();
    EXPECT_EQ(form->LabeledEdit1->text(), QStringLiteral("不能为空"));
    EXPECT_EQ(form->LabeledEdit1->Edit()->palette().color(QPalette::Text), QColor(Qt::red));
    // A second press does not send the mark as the name.
    form->Button1->click();
    EXPECT_TRUE(dialogs.Requests().empty());
    EXPECT_TRUE(form->isEnabled());
    // Typing replaces the marked text and the colour comes back.
    QTest::keyClicks(form->LabeledEdit1->Edit(), QStringLiteral("Wang"));
    EXPECT_EQ(form->LabeledEdit1->text(), QStringLiteral("Wang"));
    EXPECT_NE(form->LabeledEdit1->Edit()->palette().color(QPalette::Text), QColor(Qt::red));
}

TEST_F(FeedbackTest, EmptySuggestionAsksForOne)
{
    form->LabeledEdit1->setText(QStringLiteral("张三"));
    form->Memo1->clear();
    form->Button1->click();
    EXPECT_EQ(form->Memo1->toPlainText(), QStringLiteral("请输入你的建意"));
    form->Button1->click();
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(FeedbackTest, CancelSendsNothing)
{
    Serve(Mode::Auth);
    form->LabeledEdit1->setText(QStringLiteral("张三"));
    dialogs.Cancel();
    form->Button1->click();
    EXPECT_EQ(dialogs.Count(Kind::Confirm), 1);
    EXPECT_EQ(dialogs.Count(Kind::Notice), 0);
    EXPECT_TRUE(form->isEnabled());
    QTest::qWait(300);
    EXPECT_TRUE(server->Events().isEmpty()); // not even a connection
}

TEST_F(FeedbackTest, SilentServerFailsAfterTimeOutWhileTheProgramRuns)
{
    Serve(Mode::Silent, 1500);
    form->LabeledEdit1->setText(QStringLiteral("张三"));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    form->Button1->click();
    EXPECT_FALSE(form->isEnabled());
    ASSERT_TRUE(WaitForNotice());
    EXPECT_EQ(dialogs.Texts().last(), kFailed);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_GE(ticks, 10);
}

TEST_F(FeedbackTest, NoServerSetFailsAtOnce)
{
    form->Settings = MailSettings();
    form->LabeledEdit1->setText(QStringLiteral("张三"));
    form->Button1->click();
    ASSERT_TRUE(WaitForNotice());
    EXPECT_EQ(dialogs.Texts().last(), kFailed);
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(FeedbackTest, ClosingTheWindowWhileSendingDropsTheResult)
{
    Serve(Mode::Silent, 800);
    form->LabeledEdit1->setText(QStringLiteral("张三"));
    form->Button1->click();
    form->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return form.isNull(); }, 5000));
    ASSERT_TRUE(server->WaitClosed());
    QTest::qWait(300);
    EXPECT_EQ(dialogs.Count(Kind::Notice), 0);
}

TEST_F(FeedbackTest, SubjectFollowsTheMainWindowsCaption)
{
    EXPECT_EQ(form->MailSubject(), QStringLiteral("Tessaly 2.10 beta建意"));
    main.setWindowTitle(QStringLiteral("茶行"));
    EXPECT_EQ(form->MailSubject(), QStringLiteral("茶行建意"));
}

TEST_F(FeedbackTest, EveryControlIsNamedForAssistiveTools)
{
    EXPECT_EQ(form->LabeledEdit1->Edit()->accessibleName(), QStringLiteral("用户名："));
    EXPECT_EQ(form->LabeledEdit5->Edit()->accessibleName(), QStringLiteral("QQ号码："));
    EXPECT_EQ(form->Memo1->accessibleName(), QStringLiteral("建意内容"));
    EXPECT_EQ(form->Button1->text(), QStringLiteral("提交建意"));
}

TEST(FeedbackMenu, HelpSuggestionOpensTheFormBesideTheMainWindow)
{
    RegisterScreens();
    const ScreenEntry *entry = FindScreen(QStringLiteral("N26"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->way, OpenWay::Tool);
    std::unique_ptr<QWidget> screen(entry->create());
    EXPECT_EQ(screen.get(), Form_jy_send);
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("建意"));
    EXPECT_EQ(screen->size(), QSize(611, 235));
    EXPECT_TRUE(screen->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(screen->windowFlags() & Qt::WindowMinimizeButtonHint);
}

} // namespace
