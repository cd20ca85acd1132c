#include "mail/mailerror.h"
#include "mail/mailmsg.h"
#include "mail/sendmailmessage.h"
#include "mail/smtpclient.h"
#include "tests/mail/server/smtptestserver.h"

#include <QElapsedTimer>
#include <QHostInfo>
#include <QJsonArray>
#include <QNetworkInterface>
#include <QTemporaryDir>
#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

namespace {

using Mode = SmtpTestServer::Mode;

TMailMsg Message(const QString &name = QStringLiteral("张三"))
{
    TMailMsg m;
    m.TextEncoding = TMailMsg::teBase64;
    m.UserName = name;
    m.From = SmtpTestServer::kSender;
    m.SendTo = SmtpTestServer::kRecipient;
    m.Subject = QStringLiteral("Tessaly 2.10 beta建意");
    m.Text = QStringList{QStringLiteral("用户名 ：张三"), QStringLiteral("内容 ：好茶，请多进货")};
    return m;
}

// The greeting name the client gives a server reached by its IPv4 address.
QString Greeting()
{
    const QString name = QHostInfo::localHostName();
    return QHostAddress(name).protocol() == QAbstractSocket::IPv4Protocol ? u'[' + name + u']' : name;
}

QString B64(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toBase64());
}

// The client's lines before DATA, then those after the message's final ".".
struct Dialogue {
    QStringList commands;
    QList<QStringList> messages; // the lines between DATA and "."
};

Dialogue Split(const QStringList &lines)
{
    Dialogue d;
    bool inData = false;
    for (const QString &line : lines) {
        if (inData) {
            if (line == QStringLiteral(".")) {
                inData = false;
                d.commands << line;
            } else {
                d.messages.last() << line;
            }
            continue;
        }
        d.commands << line;
        if (line == QStringLiteral("DATA")) {
            inData = true;
            d.messages << QStringList();
        }
    }
    return d;
}

class SmtpClientTest : public ::testing::Test {
protected:
    void Start(Mode mode, const QString &address = QStringLiteral("127.0.0.1"))
    {
        server = std::make_unique<SmtpTestServer>(mode, address);
        ASSERT_TRUE(server->Problem().isEmpty()) << server->Problem().toStdString();
        client.Apply(server->Settings());
        QObject::connect(&client, &TSmtpClient::OnError, [this](int code, const QString &text) {
            errors << QStringLiteral("%1 %2").arg(code).arg(text);
        });
    }

    // Connect, send, quit: true when the message was accepted.
    bool SendAndQuit(TMailMsg &m)
    {
        client.Connect();
        if (client.Error())
            return false;
        const bool accepted = client.SendMessage(m);
        client.Quit();
        return accepted;
    }

    std::unique_ptr<SmtpTestServer> server;
    TSmtpClient client;
    QStringList errors;
};

TEST_F(SmtpClientTest, AuthLoginThenOneTransactionAndTheServerGetsTheMessage)
{
    Start(Mode::Auth);
    TMailMsg m = Message();
    client.Connect();
    ASSERT_FALSE(client.Error()) << errors.join(u'\n').toStdString();
    EXPECT_TRUE(client.SendMessage(m));
    client.Quit();
    EXPECT_FALSE(client.Error()) << errors.join(u'\n').toStdString();
    ASSERT_TRUE(server->WaitClosed());

    const Dialogue d = Split(server->ClientLines());
    EXPECT_EQ(d.commands, QStringList({QStringLiteral("EHLO ") + Greeting(), QStringLiteral("AUTH LOGIN"),
                                       B64(SmtpTestServer::kUser), B64(SmtpTestServer::kPassword),
                                       QStringLiteral("MAIL FROM:<shop@tessaly.test>"),
                                       QStringLiteral("RCPT TO:<maker@tessaly.test>"), QStringLiteral("DATA"),
                                       QStringLiteral("."), QStringLiteral("RSET"), QStringLiteral("QUIT")}));
    ASSERT_EQ(d.messages.size(), 1);
    // The message's own lines, ended by CR LF "." CR LF with no empty line added.
    QStringList raw;
    for (const QByteArray &line : m.RawMail)
        raw << QString::fromUtf8(line);
    EXPECT_EQ(d.messages[0], raw);

    const QList<QJsonObject> got = server->Messages();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].value("login").toString(), SmtpTestServer::kUser);
    EXPECT_EQ(got[0].value("rcpt_tos").toArray(), QJsonArray{SmtpTestServer::kRecipient});
    const QJsonObject p = Parsed(got[0]);
    EXPECT_EQ(p.value("subject").toString(), QStringLiteral("Tessaly 2.10 beta建意"));
    EXPECT_EQ(p.value("from_name").toString(), QStringLiteral("张三"));
    EXPECT_EQ(p.value("from_address").toString(), SmtpTestServer::kSender);
    EXPECT_EQ(p.value("body_charset").toString(), QStringLiteral("utf-8"));
    EXPECT_EQ(p.value("body").toString(), QStringLiteral("用户名 ：张三\r\n内容 ：好茶，请多进货\r\n"));
    EXPECT_EQ(p.value("defects").toArray(), QJsonArray());
}

TEST_F(SmtpClientTest, BccGetsATransactionOfItsOwnAndNoHeader)
{
    Start(Mode::Auth);
    TMailMsg m = Message();
    m.BCC = QStringLiteral("Secret <Hidden@Tessaly.test>");
    EXPECT_TRUE(SendAndQuit(m));
    ASSERT_TRUE(server->WaitClosed());

    const Dialogue d = Split(server->ClientLines());
    const QStringList transaction{QStringLiteral("MAIL FROM:<shop@tessaly.test>"), QStringLiteral("RCPT TO:<%1>"),
                                  QStringLiteral("DATA"), QStringLiteral("."), QStringLiteral("RSET")};
    QStringList expected = d.commands.mid(0, 4);
    for (const QString &to : {SmtpTestServer::kRecipient, QStringLiteral("hidden@tessaly.test")})
        for (const QString &line : transaction)
            expected << (line.contains(u'%') ? line.arg(to) : line);
    expected << QStringLiteral("QUIT");
    EXPECT_EQ(d.commands, expected);

    const QList<QJsonObject> got = server->Messages();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0].value("rcpt_tos").toArray(), QJsonArray{SmtpTestServer::kRecipient});
    EXPECT_EQ(got[1].value("rcpt_tos").toArray(), QJsonArray{QStringLiteral("hidden@tessaly.test")});
    EXPECT_EQ(RawData(got[0]), RawData(got[1]));
    EXPECT_FALSE(RawData(got[0]).toLower().contains("hidden"));
    EXPECT_FALSE(Parsed(got[0]).value("header_names").toArray().contains(QStringLiteral("Bcc")));
}

TEST_F(SmtpClientTest, AttachmentsArriveByteForByte)
{
    Start(Mode::Auth);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stock.bin"));
    QByteArray binary;
    for (int i = 0; i < 1000; ++i)
        binary += char(i % 256);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(binary);
    f.close();
    const QByteArray text = QStringLiteral("毛茶 12.5 Kg\r\n.净茶\r\n").toUtf8();
    TMailMsg m = Message();
    m.Attachments.AddFile(path);
    m.Attachments.AddData(QStringLiteral("账本.txt"), text);
    QList<quint16> progress;
    QObject::connect(&client, &TSmtpClient::OnSendProgress, [&](quint16 p) { progress << p; });
    EXPECT_TRUE(SendAndQuit(m)) << errors.join(u'\n').toStdString();

    const QList<QJsonObject> got = server->Messages();
    ASSERT_EQ(got.size(), 1);
    const QJsonObject p = Parsed(got[0]);
    EXPECT_EQ(p.value("defects").toArray(), QJsonArray());
    EXPECT_EQ(p.value("content_type").toString(), QStringLiteral("multipart/mixed"));
    EXPECT_EQ(p.value("body").toString(), QStringLiteral("用户名 ：张三\r\n内容 ：好茶，请多进货\r\n"));
    const QJsonArray files = p.value("attachments").toArray();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0]["filename"].toString(), QStringLiteral("stock.bin"));
    EXPECT_EQ(files[0]["content_type"].toString(), QStringLiteral("application/octet-stream"));
    EXPECT_EQ(QByteArray::fromBase64(files[0]["data"].toString().toLatin1()), binary);
    EXPECT_EQ(files[1]["filename"].toString(), QStringLiteral("账本.txt"));
    EXPECT_EQ(files[1]["content_type"].toString(), QStringLiteral("text/plain"));
    EXPECT_EQ(QByteArray::fromBase64(files[1]["data"].toString().toLatin1()), text);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.last(), 100);
}

TEST_F(SmtpClientTest, DotsAreStuffedOnceAndBareLineBreaksBecomeCrLf)
{
    Start(Mode::Open);
    client.UserName.clear();
    TMailMsg m = Message();
    m.TextEncoding = TMailMsg::te8Bit;
    m.Subject = QStringLiteral("plain");
    m.Text = QStringList{QStringLiteral("."), QStringLiteral(".hidden"), QStringLiteral("..two"),
                         QStringLiteral("a\rb\nc"), QStringLiteral("end")};
    EXPECT_TRUE(SendAndQuit(m)) << errors.join(u'\n').toStdString();
    ASSERT_TRUE(server->WaitClosed());
    const Dialogue d = Split(server->ClientLines());
    ASSERT_EQ(d.messages.size(), 1);
    const QStringList sent = d.messages[0];
    const QStringList bodySent = sent.mid(sent.indexOf(QString()) + 1);
    EXPECT_EQ(bodySent, QStringList({"..", "..hidden", "...two", "a", "b", "c", "end"}));
    const QByteArray got = RawData(server->Messages().value(0));
    EXPECT_TRUE(got.endsWith("\r\n\r\n.\r\n.hidden\r\n..two\r\na\r\nb\r\nc\r\nend\r\n")) << got.constData();
}

TEST_F(SmtpClientTest, WrongPasswordFailsAndSendsNoMail)
{
    Start(Mode::Auth);
    client.PassWord = QStringLiteral("wrong");
    client.Connect();
    EXPECT_TRUE(client.Error());
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.LastReplyCode(), 535);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("535 "))) << errors[0].toStdString();
    ASSERT_TRUE(server->WaitClosed());
    EXPECT_EQ(server->ClientLines().last(), B64(QStringLiteral("wrong")));
    EXPECT_TRUE(server->Messages().isEmpty());

    MailSettings s = server->Settings();
    s.password = QStringLiteral("wrong");
    EXPECT_FALSE(SendMailMessage(s, QString(), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")));
    EXPECT_TRUE(server->Messages().isEmpty());
}

TEST_F(SmtpClientTest, BadGreetingFailsBeforeAnyCommand)
{
    Start(Mode::Greeting);
    client.Connect();
    EXPECT_TRUE(client.Error());
    EXPECT_FALSE(client.Connected());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("554 "))) << errors[0].toStdString();
    ASSERT_TRUE(server->WaitClosed());
    EXPECT_TRUE(server->ClientBytes().isEmpty()) << server->ClientBytes().constData();
    TMailMsg m = Message();
    EXPECT_THROW(client.SendMessage(m), MailError);
}

TEST_F(SmtpClientTest, SilentServerFailsAfterTimeOut)
{
    Start(Mode::Silent);
    client.TimeOut = 1000;
    QElapsedTimer clock;
    clock.start();
    client.Connect();
    EXPECT_TRUE(client.Error());
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 20000); // it gives up instead of waiting for ever
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QStringLiteral("0 Timed out waiting for the server's reply."));
}

TEST_F(SmtpClientTest, ConnectionClosedByTheServerIsAFailure)
{
    Start(Mode::Close);
    client.Connect();
    EXPECT_TRUE(client.Error());
    EXPECT_FALSE(client.Connected());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("0 The connection was closed"))) << errors[0].toStdString();
}

TEST_F(SmtpClientTest, NameWithLineBreakAndBccMakesNoExtraHeader)
{
    Start(Mode::Auth);
    TMailMsg m = Message(QStringLiteral("Eve\r\nBcc: victim@evil.test"));
    EXPECT_TRUE(SendAndQuit(m));
    const QList<QJsonObject> got = server->Messages();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].value("rcpt_tos").toArray(), QJsonArray{SmtpTestServer::kRecipient});
    const QJsonObject p = Parsed(got[0]);
    EXPECT_FALSE(p.value("header_names").toArray().contains(QStringLiteral("Bcc")));
    EXPECT_EQ(p.value("from_name").toString(), QStringLiteral("Eve  Bcc: victim@evil.test"));
    EXPECT_FALSE(RawData(got[0]).contains("\nBcc:"));
    EXPECT_EQ(p.value("defects").toArray(), QJsonArray());
}

TEST_F(SmtpClientTest, RefusedEhloFallsBackToHelo)
{
    Start(Mode::NoEhlo);
    client.UserName.clear();
    TMailMsg m = Message();
    EXPECT_TRUE(SendAndQuit(m)) << errors.join(u'\n').toStdString();
    ASSERT_TRUE(server->WaitClosed());
    const QStringList commands = Split(server->ClientLines()).commands;
    EXPECT_EQ(commands.mid(0, 3), QStringList({QStringLiteral("EHLO ") + Greeting(), QStringLiteral("HELO ") + Greeting(),
                                               QStringLiteral("MAIL FROM:<shop@tessaly.test>")}));
    EXPECT_EQ(server->Messages().size(), 1);
}

TEST_F(SmtpClientTest, RefusedRecipientIsAFailure)
{
    Start(Mode::Auth);
    TMailMsg m = Message();
    m.BCC = QStringLiteral("refused@tessaly.test");
    EXPECT_FALSE(SendAndQuit(m));
    EXPECT_TRUE(client.Error());
    EXPECT_EQ(client.LastReplyCode(), 550);
    EXPECT_EQ(server->Messages().size(), 1); // To had it before BCC was refused

    TSmtpClient second;
    second.Apply(server->Settings());
    TMailMsg n = Message();
    n.SendTo = QStringLiteral("refused@tessaly.test");
    n.BCC = QStringLiteral("hidden@tessaly.test");
    second.Connect();
    EXPECT_FALSE(second.SendMessage(n));
    EXPECT_EQ(server->Messages().size(), 1); // the first refusal stops the send
}

TEST_F(SmtpClientTest, StartTlsVerifiesTheServerWithTheGivenCa)
{
    Start(Mode::StartTls);
    client.CaFile = server->CaFile();
    client.RequireStartTls = true;
    TMailMsg m = Message();
    client.Connect();
    ASSERT_FALSE(client.Error()) << errors.join(u'\n').toStdString();
    EXPECT_TRUE(client.Encrypted());
    EXPECT_TRUE(client.SendMessage(m));
    client.Quit();
    ASSERT_TRUE(server->WaitClosed());
    const QStringList commands = Split(server->ClientLines()).commands;
    EXPECT_EQ(commands.mid(0, 4), QStringList({QStringLiteral("EHLO ") + Greeting(), QStringLiteral("STARTTLS"),
                                               QStringLiteral("EHLO ") + Greeting(), QStringLiteral("AUTH LOGIN")}));
    const QList<QJsonObject> got = server->Messages();
    ASSERT_EQ(got.size(), 1);
    EXPECT_TRUE(got[0].value("encrypted").toBool());
    EXPECT_EQ(got[0].value("login").toString(), SmtpTestServer::kUser);
}

TEST_F(SmtpClientTest, StartTlsRefusesAServerItCannotVerify)
{
    Start(Mode::StartTls);
    // Not signed by any authority the system trusts.
    client.Connect();
    EXPECT_TRUE(client.Error());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("TLS handshake"))) << errors[0].toStdString();
    // The right authority, but a name the certificate does not carry.
    errors.clear();
    client.CaFile = server->CaFile();
    client.Host = QStringLiteral("localhost");
    client.Connect();
    EXPECT_TRUE(client.Error());
    ASSERT_TRUE(server->WaitClosed(2));
    EXPECT_TRUE(server->Messages().isEmpty());
    for (int connection : {1, 2})
        EXPECT_FALSE(server->ClientLines(connection).contains(QStringLiteral("AUTH LOGIN")));
}

TEST_F(SmtpClientTest, RequiredStartTlsThatIsNotOfferedStopsBeforeAuth)
{
    Start(Mode::Auth);
    client.RequireStartTls = true;
    client.Connect();
    EXPECT_TRUE(client.Error());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QStringLiteral("0 The server offers no STARTTLS."));
    ASSERT_TRUE(server->WaitClosed());
    EXPECT_EQ(server->ClientLines(), QStringList{QStringLiteral("EHLO ") + Greeting()});
}

TEST_F(SmtpClientTest, NoClearPasswordToAnotherMachineUnlessAllowed)
{
    QString address;
    for (const QHostAddress &a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            address = a.toString();
    if (address.isEmpty())
        GTEST_SKIP() << "this machine has no address besides the loopback";
    Start(Mode::Auth, address);
    client.Connect();
    EXPECT_TRUE(client.Error());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QStringLiteral("0 The password would cross the network unencrypted; not sent."));
    ASSERT_TRUE(server->WaitClosed());
    EXPECT_EQ(server->ClientLines(), QStringList{QStringLiteral("EHLO ") + Greeting()});

    client.AllowClearAuth = true;
    TMailMsg m = Message();
    EXPECT_TRUE(SendAndQuit(m)) << errors.join(u'\n').toStdString();
    EXPECT_EQ(server->Messages().size(), 1);
}

TEST_F(SmtpClientTest, SendMessageNeedsAConnectionASenderAndARecipient)
{
    struct Case {
        bool connect;
        QString from, to;
        const char *error;
    };
    const Case cases[] = {
        {false, SmtpTestServer::kSender, SmtpTestServer::kRecipient, "Not connected."},
        {true, QString(), SmtpTestServer::kRecipient, "\"From\" field not specified."},
        {true, SmtpTestServer::kSender, QString(), "\"SendTo\" field not specified."},
        {true, QStringLiteral("shop"), SmtpTestServer::kRecipient, "\"From\" address not complete."},
    };
    Start(Mode::Open);
    client.UserName.clear();
    for (const Case &c : cases) {
        if (c.connect) {
            client.Connect();
            ASSERT_FALSE(client.Error());
        }
        TMailMsg m = Message();
        m.From = c.from;
        m.SendTo = c.to;
        try {
            client.SendMessage(m);
            ADD_FAILURE() << "no exception for " << c.error;
        } catch (const MailError &e) {
            EXPECT_STREQ(e.what(), c.error);
        }
        client.Quit();
    }
    EXPECT_TRUE(server->Messages().isEmpty());
}

TEST(SendMailMessage, NoServerSetFailsAtOnce)
{
    MailSettings s;
    s.sender = SmtpTestServer::kSender;
    s.recipient = SmtpTestServer::kRecipient;
    EXPECT_FALSE(SendMailMessage(s, QString(), QStringLiteral("body"), QStringLiteral("subject"), QStringLiteral("me")));
}

} // namespace
