#include "datalayer/inifile.h"

#include "datalayer/gbk.h"

#include <QFile>
#include <QList>
#include <QSaveFile>

#include <optional>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// One line of the file as raw bytes, so lines nobody touches are written back unchanged.
struct Line {
    QByteArray text;
    QByteArray end; // "\r\n", "\n", or empty for a last line without a line end
};

QList<Line> SplitLines(const QByteArray &bytes)
{
    // '\n' and '\r' never occur inside a GBK double-byte character.
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            lines.append({bytes.mid(start), QByteArray()});
            break;
        }
        qsizetype end = newline;
        if (end > start && bytes.at(end - 1) == '\r')
            --end;
        lines.append({bytes.mid(start, end - start), bytes.mid(end, newline + 1 - end)});
        start = newline + 1;
    }
    return lines;
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QString> SectionOf(const QString &line)
{
    const QString text = line.trimmed();
    const qsizetype close = text.indexOf(u']');
    if (!text.startsWith(u'[') || close < 0)
        return std::nullopt;
    return text.mid(1, close - 1).trimmed();
}

struct Entry {
    QString key;
    QString value;
};

std::optional<Entry> EntryOf(const QString &line)
{
    const QString text = line.trimmed();
    const qsizetype equals = text.indexOf(u'=');
    if (text.startsWith(u';') || equals < 0)
        return std::nullopt;
    QString value = text.mid(equals + 1).trimmed();
    // A value in matching quotes reads without them, as the Windows profile routines do.
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return Entry{text.left(equals).trimmed(), value};
}

// Where a section and a key sit in the file; -1 when absent.
struct Place {
    qsizetype section = -1;
    qsizetype key = -1;
    qsizetype lastEntry = -1; // the section's last key line (or its header), where a new key goes
    QString value;
};

Place Find(const QList<Line> &lines, const QString &section, const QString &key)
{
    Place place;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = FromGbk(lines.at(i).text);
        const std::optional<QString> header = SectionOf(text);
        if (place.section < 0) {
            if (header && SameName(*header, section))
                place.section = place.lastEntry = i;
            continue;
        }
        if (header)
            break; // the first section of that name is the one that counts
        const std::optional<Entry> entry = EntryOf(text);
        if (!entry)
            continue;
        place.lastEntry = i;
        if (SameName(entry->key, key)) {
            place.key = i;
            place.value = entry->value;
            break;
        }
    }
    return place;
}

// Text that survives the trip through GBK unchanged and stays on one line.
bool Storable(const QString &text)
{
    return !text.contains(u'\r') && !text.contains(u'\n') && FromGbk(ToGbk(text)) == text;
}

// A name the reader finds again as given: the reader trims blanks around names.
bool PlainName(const QString &name)
{
    return !name.isEmpty() && name == name.trimmed() && Storable(name);
}

// The value as written after "=": in quotes when the reader would otherwise trim its blanks
// or take its own quotes off.
QString StoredValue(const QString &value)
{
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front();
    if (value != value.trimmed() || quoted)
        return u'"' + value + u'"';
    return value;
}

// A whole number: optional sign, then digits only.
std::optional<bool> WholeNumberIsNonZero(const QString &text)
{
    QStringView digits(text);
    if (digits.startsWith(u'+') || digits.startsWith(u'-'))
        digits = digits.mid(1);
    if (digits.isEmpty())
        return std::nullopt;
    bool nonZero = false;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        nonZero = nonZero || c != u'0';
    }
    return nonZero;
}

} // namespace

IniFile::IniFile(const QString &fileName)
    : m_fileName(fileName)
{
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;
    const Place place = Find(SplitLines(file.readAll()), section, key);
    return place.key < 0 ? defaultValue : place.value;
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    const QString text = ReadString(section, key, QString());
    return WholeNumberIsNonZero(text).value_or(defaultValue);
}

bool IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    if (!PlainName(section) || section.contains(u']'))
        return false;
    // A key line must not read as a comment or a section header, which would hide the keys after it.
    if (!PlainName(key) || key.contains(u'=') || key.startsWith(u';') || key.startsWith(u'['))
        return false;
    if (!Storable(value))
        return false;

    QByteArray bytes;
    QFile current(m_fileName);
    if (current.exists()) {
        // Rewriting a file we could not read would throw its other settings away.
        if (!current.open(QIODevice::ReadOnly))
            return false;
        bytes = current.readAll();
        current.close();
    }

    QList<Line> lines = SplitLines(bytes);
    const Place place = Find(lines, section, key);
    const QByteArray entry = ToGbk(key + u'=' + StoredValue(value));
    if (place.key >= 0) {
        lines[place.key].text = entry;
    } else {
        qsizetype at = place.section >= 0 ? place.lastEntry + 1 : lines.size();
        if (at > 0 && lines[at - 1].end.isEmpty())
            lines[at - 1].end = kLineEnd;
        if (place.section < 0)
            lines.insert(at++, Line{ToGbk(u'[' + section + u']'), kLineEnd});
        lines.insert(at, Line{entry, kLineEnd});
    }

    QByteArray out;
    for (const Line &line : std::as_const(lines))
        out += line.text + line.end;

    // Written beside the file and renamed over it, so a crash never leaves half a file.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(out) != out.size())
        return false; // dropping an uncommitted save file leaves the old file in place
    return file.commit();
}

bool IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
