#include "mail/sendmailmessage.h"
#include "tests/mail/server/smtptestserver.h"
#include "tests/support/qtprint.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

using Mode = SmtpTestServer::Mode;

class MailSendThreadTest : public ::testing::Test {
protected:
    // Starts a send to a fresh server of the kind given; its result reaches `result`
    // through the receiver.
    QPointer<MailSendThread> Start(Mode mode, quint32 timeOut, QObject *receiver)
    {
        server = std::make_unique<SmtpTestServer>(mode);
        EXPECT_TRUE(server->Problem().isEmpty()) << server->Problem().toStdString();
        MailSettings settings = server->Settings();
        settings.timeOut = timeOut;
        auto *sender = new MailSendThread(settings, QString(), QStringLiteral("内容 ：好茶\r\n"),
                                          QStringLiteral("建意"), QStringLiteral("张三"));
        QObject::connect(sender, &MailSendThread::Sent, receiver, [this](bool ok) {
            result = ok;
            reportedOn = QThread::currentThread();
        });
        sender->start();
        return sender;
    }

    bool WaitForResult()
    {
        return QTest::qWaitFor([this] { return result.has_value(); }, 30000);
    }

    std::unique_ptr<SmtpTestServer> server;
    QObject receiver;
    std::optional<bool> result;
    QThread *reportedOn = nullptr;
};

TEST_F(MailSendThreadTest, DeliversAndReportsOnTheGuiThread)
{
    QPointer<MailSendThread> sender = Start(Mode::Auth, 10000, &receiver);
    ASSERT_TRUE(WaitForResult());
    EXPECT_TRUE(*result);
    EXPECT_EQ(reportedOn, QCoreApplication::instance()->thread());
    ASSERT_EQ(server->Messages().size(), 1);
    EXPECT_EQ(Parsed(server->Messages()[0]).value("body").toString(), QStringLiteral("内容 ：好茶\r\n"));
    // The thread object goes once it is done.
    EXPECT_TRUE(QTest::qWaitFor([&] { return sender.isNull(); }, 5000));
}

TEST_F(MailSendThreadTest, SilentServerFailsAfterTimeOutWhileTheGuiThreadRuns)
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    Start(Mode::Silent, 1500, &receiver);
    ASSERT_TRUE(WaitForResult());
    EXPECT_FALSE(*result);
    // The GUI thread went on with its events all along: about 30 ticks in 1.5 seconds.
    EXPECT_GE(ticks, 10);
}

TEST_F(MailSendThreadTest, AResultForAReceiverThatIsGoneIsDropped)
{
    auto *gone = new QObject;
    QPointer<MailSendThread> sender = Start(Mode::Silent, 500, gone);
    delete gone;
    ASSERT_TRUE(QTest::qWaitFor([&] { return sender.isNull(); }, 30000));
    QTest::qWait(50);
    EXPECT_FALSE(result.has_value());
}

TEST_F(MailSendThreadTest, AnInterruptionEndsTheWaitEarly)
{
    QPointer<MailSendThread> sender = Start(Mode::Silent, 600000, &receiver);
    QTest::qWait(300);
    sender->requestInterruption(); // what quitting the application does
    ASSERT_TRUE(WaitForResult());
    EXPECT_FALSE(*result);
}

} // namespace
