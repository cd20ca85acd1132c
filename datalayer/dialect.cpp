#include "datalayer/dialect.h"

#include "datalayer/dberror.h"
#include "datalayer/numbertext.h"

#include <QRegularExpression>
#include <QTime>

namespace {

// The characters SQLite itself reads as part of a name or number, so that a word boundary
// here is a word boundary for the engine too (配茶true and true1 are single names).
bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0x80 || u == '_' || u == '$' || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z')
        || (u >= 'A' && u <= 'Z');
}

// The body of a #...# literal as SQLite date text, or an empty text when it is no date.
// Only year-first dates are read: a month-first or two-digit-year date would be a guess.
QString normalisedDate(const QString &body)
{
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*([0-9]{4})([-/])([0-9]{1,2})\2([0-9]{1,2})(?:\s+([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?)?\s*$)"));
    const QRegularExpressionMatch m = re.match(body);
    if (!m.hasMatch())
        return {};
    const QDate date(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    if (!date.isValid())
        return {};
    QString text = DateToStr(date);
    if (m.hasCaptured(5)) {
        const QTime time(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt());
        if (!time.isValid())
            return {};
        text += QLatin1Char(' ') + TimeToStr(time);
    }
    return text;
}

qsizetype skipBlanks(const QString &sql, qsizetype i)
{
    while (i < sql.size() && sql[i].isSpace())
        ++i;
    return i;
}

qsizetype wordEnd(const QString &sql, qsizetype i)
{
    while (i < sql.size() && isWordChar(sql[i]))
        ++i;
    return i;
}

} // namespace

QString TranslateSql(const QString &sql)
{
    QString out;
    out.reserve(sql.size() + 8);
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype j = i + 1;
            for (;;) {
                j = sql.indexOf(close, j);
                if (j < 0)
                    return sql; // unterminated: left for the engine to report
                if (close != u']' && j + 1 < n && sql[j + 1] == close) {
                    j += 2; // doubled quote inside the quoted text
                    continue;
                }
                break;
            }
            out += QStringView(sql).mid(i, j + 1 - i);
            i = j + 1;
        } else if (c == u'#') {
            const qsizetype j = sql.indexOf(u'#', i + 1);
            const qsizetype end = j < 0 ? n : j + 1;
            const QString value = j < 0 ? QString() : normalisedDate(sql.mid(i + 1, j - i - 1));
            // SQLite would read "#name" as a parameter bound to NULL and quietly match nothing.
            if (value.isEmpty())
                throw DbError(QStringLiteral("'%1' is not a valid date").arg(sql.mid(i, end - i)));
            // Beside a quote the engine would read one text with an embedded quote: 'a''2009-04-26'.
            if (out.endsWith(u'\''))
                out += QLatin1Char(' ');
            out += QLatin1Char('\'') + value + QLatin1Char('\'');
            if (end < n && sql[end] == u'\'')
                out += QLatin1Char(' ');
            i = end;
        } else if (isWordChar(c)) {
            const qsizetype j = wordEnd(sql, i);
            const QStringView word = QStringView(sql).mid(i, j - i);
            if (word.compare(u"true", Qt::CaseInsensitive) == 0) {
                out += QLatin1Char('1');
            } else if (word.compare(u"false", Qt::CaseInsensitive) == 0) {
                out += QLatin1Char('0');
            } else if (word.compare(u"delete", Qt::CaseInsensitive) == 0) {
                out += word;
                const qsizetype star = skipBlanks(sql, j);
                if (star < n && sql[star] == u'*') {
                    const qsizetype from = skipBlanks(sql, star + 1);
                    const qsizetype fromEnd = wordEnd(sql, from);
                    if (QStringView(sql).mid(from, fromEnd - from).compare(u"from", Qt::CaseInsensitive) == 0) {
                        out += QLatin1Char(' ');
                        i = from; // the word "from" itself is copied on the next turn
                        continue;
                    }
                }
            } else {
                out += word;
            }
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString QuotedStr(const QString &value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString DateLiteral(const QDate &date)
{
    return QLatin1Char('#') + DateToStr(date) + QLatin1Char('#');
}
