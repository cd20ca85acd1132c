#include "mail/mailmsg.h"

#include "mail/mailerror.h"
#include "mail/mimetext.h"

#include <QDate>
#include <QUrl>

namespace {

// A Content-Type or Content-Disposition parameter: a quoted string for an ASCII name,
// the charset-tagged form of RFC 2231 otherwise.
QString NameParameter(const QString &key, const QString &fileName)
{
    const QString name = HeaderSafe(fileName);
    bool ascii = true;
    for (const QChar c : name)
        ascii = ascii && c.unicode() < 0x7f;
    if (!ascii)
        return key + QStringLiteral("*=UTF-8''") +
               QString::fromLatin1(QUrl::toPercentEncoding(name, QByteArrayLiteral("!#$&+^`|")));
    QString quoted = name;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return key + QStringLiteral("=\"") + quoted + u'"';
}

QList<QByteArray> Utf8(const QStringList &lines)
{
    QList<QByteArray> out;
    for (const QString &line : lines)
        out << line.toUtf8();
    return out;
}

} // namespace

void TMailMsg::FillRawMail()
{
    QStringList headers;
    headers << QStringLiteral("Message-Id: ") + NewMessageId(QDate::currentDate());
    headers << QStringLiteral("Date: ") + HeaderSafe(DateText);
    headers << QStringLiteral("X-Priority: ") + QString::number(int(Priority) + 1);
    if (!From.contains(u'@'))
        throw MailError(QStringLiteral("\"From\" address not complete."));
    headers << FromHeader(UserName, From, CharSet);
    if (!InReplyTo.isEmpty())
        headers << QStringLiteral("In-Reply-To: ") + HeaderSafe(InReplyTo);
    if (!ReplyTo.isEmpty())
        headers << QStringLiteral("Reply-To: ") + HeaderSafe(ReplyTo);
    headers << TextHeader(QStringLiteral("X-Mailer"), XMailer, CharSet, false);
    headers << QStringLiteral("To: ") + HeaderSafe(SendTo);
    if (!CC.isEmpty())
        headers << QStringLiteral("CC: ") + HeaderSafe(CC);
    headers << QStringLiteral("MIME-Version: 1.0");

    QString bodyText;
    for (const QString &line : Text)
        bodyText += NormaliseLineBreaks(line) + QStringLiteral("\r\n");
    QString charset = CharSet;
    const QByteArray bodyBytes = EncodeText(bodyText, charset);
    QList<QByteArray> body;
    QString transfer;
    if (TextEncoding == teBase64) {
        transfer = QStringLiteral("base64");
        body = Base64Lines(bodyBytes);
    } else {
        transfer = QStringLiteral("8Bit");
        body = bodyBytes.split('\n');
        body.removeLast(); // the text ends with its line break, or is empty
        for (QByteArray &line : body)
            line.chop(1); // the CR
    }
    headers << TextHeader(QStringLiteral("Subject"), Subject, charset, TextEncoding == teBase64);

    const QString textType = QStringLiteral("Content-Type: text/plain; charset=") + charset;
    const QString textEncoding = QStringLiteral("Content-Transfer-Encoding: ") + transfer;
    if (Attachments.Count() == 0) {
        headers << textType << textEncoding;
    } else {
        Attachments.Encode();
        const QString boundary = NewBoundary();
        headers << QStringLiteral("Content-Type: multipart/mixed; boundary=\"") + boundary + u'"';
        const QByteArray delimiter = QByteArrayLiteral("--") + boundary.toLatin1();
        QList<QByteArray> parts{delimiter, textType.toLatin1(), textEncoding.toLatin1(), QByteArray()};
        parts << body;
        for (qsizetype i = 0; i < Attachments.Count(); ++i) {
            const TAttachedFile &file = Attachments[i];
            parts << delimiter;
            parts << Utf8({QStringLiteral("Content-Type: ") + HeaderSafe(file.ContentType) + QStringLiteral("; ") +
                               NameParameter(QStringLiteral("name"), file.FileName),
                           QStringLiteral("Content-Transfer-Encoding: base64"),
                           QStringLiteral("Content-Disposition: attachment; ") +
                               NameParameter(QStringLiteral("filename"), file.FileName),
                           QString()});
            parts << file.EncodedLines;
        }
        parts << QByteArray() << delimiter + "--" << QByteArray();
        body = parts;
    }
    for (const QString &line : ExtraHeaders)
        headers << HeaderSafe(line);

    RawMail = Utf8(headers);
    RawMail << QByteArray();
    RawMail << body;
}
