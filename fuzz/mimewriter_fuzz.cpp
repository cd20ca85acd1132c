// The MIME writer over any display name, addresses, subject, body and attachment.
// The input's first byte picks the encoding, the priority and whether there is an
// attachment; the rest is cut at zero bytes into the fields, the attachment's bytes last. Whatever they hold, the mail
// must keep to its header lines (no field starts a header of its own), and the subject,
// the display name, the body and the attachment must read back as they went in.
#include "fuzz/fuzzcheck.h"
#include "mail/mailerror.h"
#include "mail/mailmsg.h"
#include "mail/mimetext.h"

#include <QUrl>
#include <cstddef>
#include <cstdint>

namespace {

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
        FUZZ_CHECK(w.size() <= 75, "encoded word too long: " + w);
        const QByteArray bytes = QByteArray::fromBase64(w.mid(10, w.size() - 12).toLatin1());
        FUZZ_CHECK(QString::fromUtf8(bytes).toUtf8() == bytes, "a character cut in two: " + w);
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
    FUZZ_CHECK(false, "no header " + name);
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
        FUZZ_CHECK(!m.From.contains(u'@'), "refused the sender " + m.From);
        return 0;
    }
    const auto mail = [&m] { return QString::fromUtf8(m.RawMail.join('\n')); };

    for (const QByteArray &line : m.RawMail)
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'), "a line break inside a line: " + mail());
    const qsizetype blank = m.RawMail.indexOf(QByteArray());
    FUZZ_CHECK(blank > 0, "no blank line after the headers: " + mail());
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
    FUZZ_CHECK(names == expected, names.join(u' ') + " instead of " + expected.join(u' ') + ": " + mail());

    FUZZ_CHECK(Decoded(Header(head, QStringLiteral("Subject"))) == HeaderSafe(m.Subject), "the subject differs: " + mail());
    const QStringList from = Header(head, QStringLiteral("From"));
    const QString mailbox = u'<' + CleanAddress(m.From) + u'>';
    const QString name = HeaderSafe(m.UserName).trimmed();
    QStringList nameWords = from;
    FUZZ_CHECK(nameWords.last().endsWith(mailbox), "the sender's mailbox differs: " + mail());
    // A mailbox that would make the name's last line too long is folded onto a line of its own.
    const bool ownLine = nameWords.size() > 1 && nameWords.last() == mailbox;
    if (ownLine)
        nameWords.removeLast();
    else
        nameWords.last().chop(mailbox.size());
    if (name.isEmpty()) {
        FUZZ_CHECK(nameWords == QStringList{QString()}, "a name where none was given: " + mail());
    } else {
        if (!ownLine) {
            FUZZ_CHECK(nameWords.last().endsWith(u' '), "no blank before the mailbox: " + mail());
            nameWords.last().chop(1);
        }
        const bool quoted = nameWords[0].startsWith(u'"');
        QString shown = quoted ? nameWords.join(QString()) : Decoded(nameWords);
        if (quoted) {
            FUZZ_CHECK(shown.endsWith(u'"') && shown.size() >= 2, "an unclosed quoted name: " + mail());
            shown = shown.mid(1, shown.size() - 2);
            QString plain;
            for (qsizetype i = 0; i < shown.size(); ++i) {
                if (shown[i] == u'\\')
                    ++i;
                FUZZ_CHECK(i < shown.size(), "a quoted name ends in a backslash: " + mail());
                plain += shown[i];
            }
            shown = plain;
        }
        FUZZ_CHECK(shown == name, "the name reads back as " + shown + ": " + mail());
    }

    // The body reads back as written, with its line breaks as CR LF.
    QList<QByteArray> text = body;
    QString boundary;
    if (attach) {
        const QString type = Header(head, QStringLiteral("Content-Type")).join(QString());
        boundary = type.section(u'"', 1, 1);
        FUZZ_CHECK(boundary.startsWith(QStringLiteral("--_TSY_bound_")), "boundary " + boundary);
        const QByteArray delimiter = "--" + boundary.toLatin1();
        FUZZ_CHECK(body.size() >= 8 && body[0] == delimiter && body.count(delimiter) == 2, "parts: " + mail());
        FUZZ_CHECK(body[body.size() - 2] == delimiter + "--" && body.last().isEmpty(), "the closing delimiter: " + mail());
        const qsizetype second = body.indexOf(delimiter, 1);
        text = body.mid(4, second - 4);
        const QList<QByteArray> part = body.mid(second + 1, body.size() - 3 - (second + 1));
        const qsizetype partBlank = part.indexOf(QByteArray());
        FUZZ_CHECK(partBlank == 3, "the attachment's headers: " + mail());
        const QString disposition = QString::fromUtf8(part[2]);
        const QString safeName = HeaderSafe(fileName);
        if (disposition.contains(QStringLiteral("filename*=UTF-8''"))) {
            FUZZ_CHECK(QUrl::fromPercentEncoding(disposition.section(QStringLiteral("''"), 1).toLatin1()) == safeName,
                       disposition + " does not name " + safeName);
        } else {
            QString quoted = safeName;
            quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
            FUZZ_CHECK(disposition == QStringLiteral("Content-Disposition: attachment; filename=\"") + quoted + u'"',
                       disposition + " does not name " + safeName);
        }
        QByteArray encoded;
        for (qsizetype i = partBlank + 1; i < part.size(); ++i) {
            FUZZ_CHECK(part[i].size() <= 76, "an attachment line too long: " + mail());
            encoded += part[i];
        }
        FUZZ_CHECK(QByteArray::fromBase64(encoded) == content, "the attachment differs: " + mail());
    }
    const QByteArray wanted = (NormaliseLineBreaks(m.Text.value(0)) + QStringLiteral("\r\n")).toUtf8();
    if (m.TextEncoding == TMailMsg::teBase64) {
        QByteArray encoded;
        for (const QByteArray &line : text) {
            FUZZ_CHECK(line.size() <= 76, "a body line too long: " + mail());
            encoded += line;
        }
        FUZZ_CHECK(QByteArray::fromBase64(encoded) == wanted, "the body differs: " + mail());
    } else {
        FUZZ_CHECK(text.join("\r\n") + "\r\n" == wanted, "the body differs: " + mail());
    }
    return 0;
}
