#include "mail/mailattfile.h"
#include "mail/mailerror.h"
#include "mail/mailmsg.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

namespace {

TMailMsg Feedback()
{
    TMailMsg m;
    m.TextEncoding = TMailMsg::teBase64;
    m.UserName = QStringLiteral("张三");
    m.From = QStringLiteral("shop@tessaly.test");
    m.SendTo = QStringLiteral("maker@tessaly.test");
    m.CC = QStringLiteral("cc@tessaly.test");
    m.BCC = QStringLiteral("hidden@tessaly.test");
    m.Subject = QStringLiteral("Tessaly 2.10 beta建意");
    m.Text = QStringList{QStringLiteral("用户名 ：张三"), QStringLiteral("内容 ：好茶")};
    m.ExtraHeaders = QStringList{QStringLiteral("X-Shop: Tessaly")};
    m.DateText = QStringLiteral("Tue, 5 May 2009 14:05:07 +0800");
    return m;
}

QStringList HeaderNames(const QList<QByteArray> &raw)
{
    QStringList names;
    for (const QByteArray &line : raw) {
        if (line.isEmpty())
            break;
        if (!line.startsWith(' '))
            names << QString::fromUtf8(line.left(line.indexOf(':')));
    }
    return names;
}

QByteArray Body(const QList<QByteArray> &raw)
{
    const qsizetype blank = raw.indexOf(QByteArray());
    return raw.mid(blank + 1).join("\r\n");
}

TEST(FillRawMail, HeadersInTheirOrderAndNoBcc)
{
    TMailMsg m = Feedback();
    m.FillRawMail();
    EXPECT_EQ(HeaderNames(m.RawMail),
              QStringList({"Message-Id", "Date", "X-Priority", "From", "X-Mailer", "To", "CC", "MIME-Version", "Subject",
                           "Content-Type", "Content-Transfer-Encoding", "X-Shop"}));
    const QString head = QString::fromUtf8(m.RawMail.join("\n"));
    EXPECT_TRUE(head.contains(QStringLiteral("\nDate: Tue, 5 May 2009 14:05:07 +0800\n")));
    EXPECT_TRUE(head.contains(QStringLiteral("\nX-Priority: 3\n")));
    EXPECT_TRUE(head.contains(QStringLiteral("\nContent-Type: text/plain; charset=UTF-8\n")));
    EXPECT_TRUE(head.contains(QStringLiteral("\nContent-Transfer-Encoding: base64\n")));
    EXPECT_FALSE(head.contains(QStringLiteral("hidden@")));
    EXPECT_EQ(QByteArray::fromBase64(Body(m.RawMail)),
              QStringLiteral("用户名 ：张三\r\n内容 ：好茶\r\n").toUtf8());
}

TEST(FillRawMail, BodyLineBreaksBecomeCrLf)
{
    TMailMsg m = Feedback();
    m.Text = QStringList{QStringLiteral("a\rb\nc"), QStringLiteral("d")};
    m.FillRawMail();
    EXPECT_EQ(QByteArray::fromBase64(Body(m.RawMail)), QByteArray("a\r\nb\r\nc\r\nd\r\n"));
    m.TextEncoding = TMailMsg::te8Bit;
    m.FillRawMail();
    EXPECT_EQ(Body(m.RawMail), QByteArray("a\r\nb\r\nc\r\nd"));
}

TEST(FillRawMail, DotsAreLeftForTheTransmissionToStuff)
{
    TMailMsg m = Feedback();
    m.TextEncoding = TMailMsg::te8Bit;
    m.Text = QStringList{QStringLiteral("."), QStringLiteral(".x")};
    m.FillRawMail();
    EXPECT_EQ(Body(m.RawMail), QByteArray(".\r\n.x"));
}

TEST(FillRawMail, FromWithoutAtSignIsRefused)
{
    TMailMsg m = Feedback();
    m.From = QStringLiteral("shop");
    try {
        m.FillRawMail();
        FAIL() << "no exception";
    } catch (const MailError &e) {
        EXPECT_STREQ(e.what(), "\"From\" address not complete.");
    }
}

TEST(FillRawMail, AttachmentsMakeAMultipartMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stock.csv"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, 'z'));
    f.close();
    TMailMsg m = Feedback();
    m.Attachments.AddFile(path);
    m.Attachments.AddData(QStringLiteral("账本 \"1\".bin"), QByteArray("\x00\x01\xff", 3));
    m.FillRawMail();

    const QString all = QString::fromUtf8(m.RawMail.join("\n"));
    const QRegularExpression type(QStringLiteral("\nContent-Type: multipart/mixed; boundary=\"(--_TSY_bound_[a-y]{12})\"\n"));
    const auto match = type.match(all);
    ASSERT_TRUE(match.hasMatch()) << all.toStdString();
    const QByteArray delimiter = "--" + match.captured(1).toLatin1();
    EXPECT_EQ(m.RawMail.count(delimiter), 3);
    EXPECT_EQ(m.RawMail.last(), QByteArray());
    EXPECT_EQ(m.RawMail[m.RawMail.size() - 2], delimiter + "--");
    EXPECT_TRUE(all.contains(QStringLiteral("\nContent-Type: text/csv; name=\"stock.csv\"\n")));
    EXPECT_TRUE(all.contains(QStringLiteral("\nContent-Disposition: attachment; filename=\"stock.csv\"\n")));
    EXPECT_TRUE(all.contains(
        QStringLiteral("\nContent-Disposition: attachment; filename*=UTF-8''%E8%B4%A6%E6%9C%AC%20%221%22.bin\n")));
    const qsizetype firstEncoded = m.RawMail.indexOf(QByteArray()) + 1;
    for (qsizetype i = firstEncoded; i < m.RawMail.size(); ++i)
        if (!m.RawMail[i].contains(':') && !m.RawMail[i].startsWith("--"))
            EXPECT_LE(m.RawMail[i].size(), 76) << m.RawMail[i].constData();
}

TEST(Attachments, UnreadableFileIsAnError)
{
    TMailMsg m = Feedback();
    m.Attachments.AddFile(QStringLiteral("/no/such/folder/file.txt"));
    EXPECT_THROW(m.FillRawMail(), MailError);
}

TEST(ContentTypeFor, TheExtensionDecides)
{
    EXPECT_EQ(ContentTypeFor(QStringLiteral("a.txt")), QStringLiteral("text/plain"));
    EXPECT_EQ(ContentTypeFor(QStringLiteral("logo.JPG")), QStringLiteral("image/jpeg"));
    EXPECT_EQ(ContentTypeFor(QStringLiteral("book.pdf")), QStringLiteral("application/pdf"));
    EXPECT_EQ(ContentTypeFor(QStringLiteral("noextension")), QStringLiteral("application/octet-stream"));
    EXPECT_EQ(ContentTypeFor(QStringLiteral("x.nosuchextension")), QStringLiteral("application/octet-stream"));
}

} // namespace
