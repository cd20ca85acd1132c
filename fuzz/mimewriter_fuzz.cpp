// The MIME writer over any display name, addresses, subject, body and attachment.
// The input's first byte picks the encoding, the priority and whether there is an
// attachment; the rest is cut at zero bytes into the fields, the attachment's bytes last. Whatever they hold, the mail
// must keep to its header lines (no field starts a header of its own), and the subject,
// the display name, the body and the attachment must read back as they went in.
#include "mail/mailerror.h"
#include "mail/mailmsg.h"
#include "mail/mimetext.h"

#include <QUrl>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool ok)
{
    if (!ok)
        abort();
}

QString Field(const QList<QByteArray> &fields, qsizetype i)
{
    return QString::fromUtf8(fields.value(i));
}

// The text of a run of encoded words, or of an unencoded value.
QString Decoded(const QStringList &words)
{
    QString out;
    for (const QString &w : words) {
        if (!w.startsWith(QStringLiteral("=?UTF-8?B?")) || !w.endsWith(QStringLiteral("?="))) {
            out += w;
            continue;
        }
        Check(w.size() <= 75);
        const QByteArray bytes = QByteArray::fromBase64(w.mid(10, w.size() - 12).toLatin1());
        Check(QString::fromUtf8(bytes).toUtf8() == bytes); // no character cut in two
        out += QString::fromUtf8(bytes);
    }
    return out;
}

// A header with its folded lines: the first line after "Name: ", then each continuation.
QStringList Header(const QList<QByteArray> &head, const QString &name)
{
    for (qsizetype i = 0; i < head.size(); ++i) {
        const QString line = QString::fromUtf8(head[i]);
        if (!line.startsWith(name + QStringLiteral(": ")))
            continue;
        QStringList parts{line.mid(name.size() + 2)};
        while (i + 1 < head.size() && head[i + 1].startsWith(' '))
            parts << QString::fromUtf8(head[++i].mid(1));
        return parts;
    }
    Check(false);
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > 64 * 1024)
        return 0;
    const uint8_t flags = data[0];
    // Eight fields cut at zero bytes; the attachment's bytes are all the rest, zeros included.
    QByteArray rest(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    QList<QByteArray> fields;
    while (fields.size() < 8) {
        const qsizetype cut = rest.indexOf('\0');
        fields << rest.left(cut < 0 ? rest.size() : cut);
        rest = cut < 0 ? QByteArray() : rest.mid(cut + 1);
    }
    TMailMsg m;
    m.TextEncoding = (flags & 1) ? TMailMsg::teBase64 : TMailMsg::te8Bit;
    const bool attach = flags & 2;
    m.Priority = TMailMsg::TPriority((flags >> 2) % 5);
    m.UserName = Field(fields, 0);
    m.From = Field(fields, 1);
    m.SendTo = Field(fields, 2);
    m.CC = Field(fields, 3);
    m.Subject = Field(fields, 4);
    m.Text = QStringList{Field(fields, 5)};
    const QString fileName = Field(fields, 6);
    m.DateText = Field(fields, 7);
    const QByteArray content = rest;
    if (attach)
        m.Attachments.AddData(fileName, content);
    try {
        m.FillRawMail();
    } catch (const MailError &) {
        Check(!m.From.contains(u'@'));
        return 0;
    }

    for (const QByteArray &line : m.RawMail)
        Check(!line.contains('\r') && !line.contains('\n'));
    const qsizetype blank = m.RawMail.indexOf(QByteArray());
    Check(blank > 0);
    const QList<QByteArray> head = m.RawMail.mid(0, blank);
    const QList<QByteArray> body = m.RawMail.mid(blank + 1);

    // Exactly the headers the writer makes, in their order: nothing typed adds one.
    QStringList names;
    for (const QByteArray &line : head)
        if (!line.startsWith(' '))
            names << QString::fromUtf8(line.left(line.indexOf(':')));
    QStringList expected{"Message-Id", "Date", "X-Priority", "From", "X-Mailer", "To"};
    if (!m.CC.isEmpty())
        expected << "CC";
    expected << "MIME-Version" << "Subject" << "Content-Type";
    if (!attach)
        expected << "Content-Transfer-Encoding";
    Check(names == expected);

    Check(Decoded(Header(head, QStringLiteral("Subject"))) == HeaderSafe(m.Subject));
    const QStringList from = Header(head, QStringLiteral("From"));
    const QString mailbox = u'<' + CleanAddress(m.From) + u'>';
    const QString name = HeaderSafe(m.UserName).trimmed();
    QStringList nameWords = from;
    Check(nameWords.last().endsWith(mailbox));
    nameWords.last().chop(mailbox.size());
    if (name.isEmpty()) {
        Check(nameWords == QStringList{QString()});
    } else {
        Check(nameWords.last().endsWith(u' '));
        nameWords.last().chop(1);
        const bool quoted = nameWords[0].startsWith(u'"');
        QString shown = quoted ? nameWords.join(QString()) : Decoded(nameWords);
        if (quoted) {
            Check(shown.endsWith(u'"') && shown.size() >= 2);
            shown = shown.mid(1, shown.size() - 2);
            QString plain;
            for (qsizetype i = 0; i < shown.size(); ++i) {
                if (shown[i] == u'\\')
                    ++i;
                Check(i < shown.size());
                plain += shown[i];
            }
            shown = plain;
        }
        Check(shown == name);
    }

    // The body reads back as written, with its line breaks as CR LF.
    QList<QByteArray> text = body;
    QString boundary;
    if (attach) {
        const QString type = Header(head, QStringLiteral("Content-Type")).join(QString());
        boundary = type.section(u'"', 1, 1);
        Check(boundary.startsWith(QStringLiteral("--_TSY_bound_")));
        const QByteArray delimiter = "--" + boundary.toLatin1();
        Check(body.size() >= 8 && body[0] == delimiter && body.count(delimiter) == 2);
        Check(body[body.size() - 2] == delimiter + "--" && body.last().isEmpty());
        const qsizetype second = body.indexOf(delimiter, 1);
        text = body.mid(4, second - 4);
        const QList<QByteArray> part = body.mid(second + 1, body.size() - 3 - (second + 1));
        const qsizetype partBlank = part.indexOf(QByteArray());
        Check(partBlank == 3);
        const QString disposition = QString::fromUtf8(part[2]);
        const QString safeName = HeaderSafe(fileName);
        if (disposition.contains(QStringLiteral("filename*=UTF-8''"))) {
            Check(QUrl::fromPercentEncoding(disposition.section(QStringLiteral("''"), 1).toLatin1()) == safeName);
        } else {
            QString quoted = safeName;
            quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
            Check(disposition == QStringLiteral("Content-Disposition: attachment; filename=\"") + quoted + u'"');
        }
        QByteArray encoded;
        for (qsizetype i = partBlank + 1; i < part.size(); ++i) {
            Check(part[i].size() <= 76);
            encoded += part[i];
        }
        Check(QByteArray::fromBase64(encoded) == content);
    }
    const QByteArray wanted = (NormaliseLineBreaks(m.Text.value(0)) + QStringLiteral("\r\n")).toUtf8();
    if (m.TextEncoding == TMailMsg::teBase64) {
        QByteArray encoded;
        for (const QByteArray &line : text) {
            Check(line.size() <= 76);
            encoded += line;
        }
        Check(QByteArray::fromBase64(encoded) == wanted);
    } else {
        Check(text.join("\r\n") + "\r\n" == wanted);
    }
    return 0;
}
