// The settings file on any bytes: reading and writing never fail, an accepted write reads
// back exactly, a refused one leaves the file as it was, and no write changes another entry.
#include "datalayer/gbk.h"
#include "datalayer/inifile.h"
#include "fuzz/fuzzcheck.h"

#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

using Name = std::pair<QString, QString>; // section, key

bool Same(const Name &a, const Name &b)
{
    return a.first.compare(b.first, Qt::CaseInsensitive) == 0 && a.second.compare(b.second, Qt::CaseInsensitive) == 0;
}

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every entry a reader could ask for: each key under the header above it, and the written
// key and section paired with every section and key in the file.
QList<Name> Names(const QByteArray &bytes, const Name &written)
{
    QList<Name> names{written};
    QStringList sections{written.first};
    QStringList keys{written.second};
    QString section;
    for (const QByteArray &line : bytes.split('\n')) {
        const QString text = FromGbk(line).trimmed();
        if (text.startsWith(u'[') && text.contains(u']')) {
            section = text.mid(1, text.indexOf(u']') - 1).trimmed();
            sections.append(section);
        } else if (text.contains(u'=')) {
            const QString key = text.left(text.indexOf(u'=')).trimmed();
            keys.append(key);
            names.append({section, key});
        }
    }
    for (const QString &s : std::as_const(sections))
        names.append({s, written.second});
    for (const QString &k : std::as_const(keys))
        names.append({written.first, k});
    // Each entry once: every read opens and decodes the whole file.
    QList<Name> distinct;
    for (const Name &n : std::as_const(names))
        if (std::none_of(distinct.cbegin(), distinct.cend(), [&](const Name &d) { return Same(d, n); }))
            distinct.append(n);
    return distinct;
}

// A write nobody could object to, which must never be refused.
bool Plain(const Name &name, const QString &value)
{
    static const QRegularExpression word(QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9_]+")));
    static const QRegularExpression text(QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9_./:-]*")));
    return word.match(name.first).hasMatch() && word.match(name.second).hasMatch() && text.match(value).hasMatch();
}

} // namespace

// The input cut at byte 01: the file as it stands, then section, key and value of each write.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    const QList<QByteArray> parts = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)).split('\1');
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(parts.at(0));
    }

    IniFile ini(path);
    const QString absent(QChar(1)); // no file here holds it
    for (qsizetype i = 1; i + 2 < parts.size() && i < 3 * 8; i += 3) {
        const Name name{QString::fromUtf8(parts.at(i)), QString::fromUtf8(parts.at(i + 1))};
        const QString value = QString::fromUtf8(parts.at(i + 2));

        const QByteArray before = Bytes(path);
        const QList<Name> names = Names(before, name);
        QStringList values;
        for (const Name &n : names)
            values.append(ini.ReadString(n.first, n.second, absent));
        ini.ReadBool(name.first, name.second);

        const QString what = "[" + name.first + "] " + name.second + "=" + value;
        if (!ini.WriteString(name.first, name.second, value)) {
            FUZZ_CHECK(!Plain(name, value), "refused: " + what);
            FUZZ_CHECK(Bytes(path) == before, "a refused write changed the file: " + what);
            continue;
        }
        FUZZ_CHECK(ini.ReadString(name.first, name.second, absent) == value,
                   "reads back as " + ini.ReadString(name.first, name.second, absent) + ": " + what);
        for (qsizetype n = 0; n < names.size(); ++n) {
            if (Same(names.at(n), name))
                continue;
            const QString now = ini.ReadString(names.at(n).first, names.at(n).second, absent);
            FUZZ_CHECK(now == values.at(n), "[" + names.at(n).first + "] " + names.at(n).second + " was " + values.at(n)
                                                 + ", is " + now + " after " + what);
        }
    }
    return 0;
}
