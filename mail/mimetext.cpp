#include "mail/mimetext.h"

#include <QRandomGenerator>
#include <QStringEncoder>
#include <cstdlib>

namespace {

QString RandomLetters(int count, char last)
{
    QString out;
    for (int i = 0; i < count; ++i)
        out += QChar(u'a' + QRandomGenerator::global()->bounded(last - 'a' + 1));
    return out;
}

bool IsPrintableAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

QString QuotedString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

// A line that holds encoded words may be 76 characters long at most.
constexpr qsizetype kEncodedLine = 76;

// Header lines: the first carries the name, each further word goes on a folded line; a tail
// that would make the last line too long goes on a line of its own (it starts with the blank
// that folds it).
QStringList Folded(const QString &first, const QStringList &words, const QString &tail = QString())
{
    QStringList lines{first + words.value(0)};
    for (qsizetype i = 1; i < words.size(); ++i)
        lines << QStringLiteral(" ") + words[i];
    if (lines.last().size() + tail.size() <= kEncodedLine)
        lines.last() += tail;
    else
        lines << tail;
    return lines;
}

} // namespace

QString DateText(const QDateTime &time)
{
    static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = time.date();
    const int offset = time.offsetFromUtc();
    QString zone = QStringLiteral("GMT");
    if (offset != 0) {
        const int minutes = std::abs(offset) / 60;
        zone = QStringLiteral("%1%2%3")
                   .arg(QChar(offset > 0 ? u'+' : u'-'))
                   .arg(minutes / 60, 2, 10, QChar(u'0'))
                   .arg(minutes % 60, 2, 10, QChar(u'0'));
    }
    return QStringLiteral("%1, %2 %3 %4 %5 %6")
        .arg(QLatin1String(days[d.dayOfWeek() - 1]))
        .arg(d.day())
        .arg(QLatin1String(months[d.month() - 1]))
        .arg(d.year(), 4, 10, QChar(u'0'))
        .arg(time.time().toString(QStringLiteral("HH:mm:ss")), zone);
}

QString NewMessageId(const QDate &day)
{
    return QStringLiteral("<TSY.") + day.toString(QStringLiteral("yyyy.MM.dd.")) + RandomLetters(16, 't') +
           QStringLiteral("@a.b.c>");
}

QString NewBoundary()
{
    return QStringLiteral("--_TSY_bound_") + RandomLetters(12, 'y');
}

QString CleanAddress(const QString &address, bool wrap)
{
    QString s = HeaderSafe(address);
    for (;;) {
        const qsizetype open = s.indexOf(u'(');
        const qsizetype close = s.indexOf(u')');
        if (open < 0 || close < open)
            break;
        s.remove(open, close - open + 1);
    }
    s = s.trimmed();
    const qsizetype lt = s.indexOf(u'<');
    const qsizetype gt = s.indexOf(u'>');
    if (lt >= 0 && gt >= 0)
        s = s.mid(lt + 1, gt - lt - 1);
    return wrap ? u'<' + s + u'>' : s;
}

QStringList ParseAddressList(const QString &list)
{
    QString s;
    for (const QChar c : HeaderSafe(list))
        if (!c.isSpace())
            s += c;
    for (;;) {
        const qsizetype open = s.indexOf(u'"');
        if (open < 0)
            break;
        const qsizetype close = s.indexOf(u'"', open + 1);
        s.remove(open, close < 0 ? 1 : close - open + 1);
    }
    QStringList out;
    for (const QString &piece : s.toLower().split(u',')) {
        const QString address = CleanAddress(piece);
        if (!address.isEmpty())
            out << address;
    }
    return out;
}

QString HeaderSafe(const QString &value)
{
    QString out = value;
    for (QChar &c : out) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            c = u' ';
    }
    return out;
}

QStringList EncodedWords(const QString &text, const QString &charset, qsizetype firstRoom)
{
    QString cs = charset;
    EncodeText(text, cs); // settles a charset that holds every character
    const QString head = QStringLiteral("=?") + cs + QStringLiteral("?B?");
    auto bytesIn = [&head](qsizetype wordRoom) {
        return std::max<qsizetype>((std::min<qsizetype>(wordRoom, 75) - head.size() - 2) / 4 * 3, 3);
    };
    qsizetype maxBytes = bytesIn(firstRoom);
    QStringList words;
    QByteArray chunk;
    auto flush = [&] {
        if (!chunk.isEmpty())
            words << head + QString::fromLatin1(chunk.toBase64()) + QStringLiteral("?=");
        chunk.clear();
        maxBytes = bytesIn(75); // later words stand on lines of their own after one blank
    };
    for (qsizetype i = 0; i < text.size();) {
        // One whole character: a surrogate pair stays together.
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        QString used = cs;
        const QByteArray bytes = EncodeText(text.mid(i, n), used);
        if (!chunk.isEmpty() && chunk.size() + bytes.size() > maxBytes)
            flush();
        chunk += bytes;
        i += n;
    }
    flush();
    return words;
}

QStringList FromHeader(const QString &displayName, const QString &address, const QString &charset)
{
    const QString name = HeaderSafe(displayName).trimmed();
    const QString mailbox = u'<' + CleanAddress(address) + u'>';
    if (name.isEmpty())
        return {QStringLiteral("From: ") + mailbox};
    if (IsPrintableAscii(name))
        return {QStringLiteral("From: ") + QuotedString(name) + u' ' + mailbox};
    const QString first = QStringLiteral("From: ");
    return Folded(first, EncodedWords(name, charset, kEncodedLine - first.size()), u' ' + mailbox);
}

QStringList TextHeader(const QString &name, const QString &value, const QString &charset, bool encode)
{
    const QString safe = HeaderSafe(value);
    if ((!encode && IsPrintableAscii(safe)) || safe.isEmpty())
        return {name + QStringLiteral(": ") + safe};
    const QString first = name + QStringLiteral(": ");
    return Folded(first, EncodedWords(safe, charset, kEncodedLine - first.size()));
}

QList<QByteArray> Base64Lines(const QByteArray &bytes)
{
    const QByteArray all = bytes.toBase64();
    QList<QByteArray> lines;
    for (qsizetype at = 0; at < all.size(); at += 76)
        lines << all.mid(at, 76);
    return lines;
}

QByteArray EncodeText(const QString &text, QString &charset)
{
    QStringEncoder encoder(charset.toLatin1().constData());
    if (encoder.isValid()) {
        const QByteArray bytes = encoder.encode(text);
        if (!encoder.hasError())
            return bytes;
    }
    charset = QStringLiteral("UTF-8");
    return text.toUtf8();
}

QString NormaliseLineBreaks(const QString &text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return s;
}
