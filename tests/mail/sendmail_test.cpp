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

MailSendThread *Sender(const MailSettings &settings)
{
    return new MailSendThread(settings, QString(), QStringLiteral("内容 ：好茶\r\n"), QStringLiteral("建意"),
                              QStringLiteral("张三"));
}

TEST(MailSendThread, DeliversAndReportsOnTheGuiThread)
{
    SmtpTestServer server(Mode::Auth);
    ASSERT_TRUE(server.Problem().isEmpty()) << server.Problem().toStdString();
    QObject receiver;
    std::optional<bool> result;
    QThread *reportedOn = nullptr;
    QPointer<MailSendThread> sender = Sender(server.Settings());
    QObject::connect(sender, &MailSendThread::Sent, &receiver, [&](bool ok) {
        result = ok;
        reportedOn = QThread::currentThread();
    });
    sender->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 20000));
    EXPECT_TRUE(*result);
    EXPECT_EQ(reportedOn, QCoreApplication::instance()->thread());
    ASSERT_EQ(server.Messages().size(), 1);
    EXPECT_EQ(Parsed(server.Messages()[0]).value("body").toString(), QStringLiteral("内容 ：好茶\r\n"));
    // The thread object goes once it is done.
    EXPECT_TRUE(QTest::qWaitFor([&] { return sender.isNull(); }, 5000));
}

TEST(MailSendThread, SilentServerFailsAfterTimeOutWhileTheGuiThreadRuns)
{
    SmtpTestServer server(Mode::Silent);
    ASSERT_TRUE(server.Problem().isEmpty()) << server.Problem().toStdString();
    MailSettings settings = server.Settings();
    settings.timeOut = 1500;
    QObject receiver;
    std::optional<bool> result;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    MailSendThread *sender = Sender(settings);
    QObject::connect(sender, &MailSendThread::Sent, &receiver, [&](bool ok) { result = ok; });
    sender->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 30000));
    EXPECT_FALSE(*result);
    // The GUI thread went on with its events all along: about 30 ticks in 1.5 seconds.
    EXPECT_GE(ticks, 10);
}

TEST(MailSendThread, AResultForAReceiverThatIsGoneIsDropped)
{
    SmtpTestServer server(Mode::Silent);
    ASSERT_TRUE(server.Problem().isEmpty()) << server.Problem().toStdString();
    MailSettings settings = server.Settings();
    settings.timeOut = 500;
    bool called = false;
    auto *receiver = new QObject;
    QPointer<MailSendThread> sender = Sender(settings);
    QObject::connect(sender, &MailSendThread::Sent, receiver, [&] { called = true; });
    sender->start();
    delete receiver;
    ASSERT_TRUE(QTest::qWaitFor([&] { return sender.isNull(); }, 30000));
    QTest::qWait(50);
    EXPECT_FALSE(called);
}

TEST(MailSendThread, AnInterruptionEndsTheWaitEarly)
{
    SmtpTestServer server(Mode::Silent);
    ASSERT_TRUE(server.Problem().isEmpty()) << server.Problem().toStdString();
    MailSettings settings = server.Settings();
    settings.timeOut = 600000;
    QObject receiver;
    std::optional<bool> result;
    MailSendThread *sender = Sender(settings);
    QObject::connect(sender, &MailSendThread::Sent, &receiver, [&](bool ok) { result = ok; });
    sender->start();
    QTest::qWait(300);
    sender->requestInterruption(); // what quitting the application does
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 30000));
    EXPECT_FALSE(*result);
}

} // namespace
