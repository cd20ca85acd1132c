// The dialect translator on any text: it never fails but for a # that starts no date, leaves
// quoted text alone, adds nothing but whole date literals, is done after one pass, and a
// value quoted for a statement comes back from the engine exactly.
#include "datalayer/dberror.h"
#include "datalayer/dialect.h"
#include "fuzz/fuzzcheck.h"

#include <QRegularExpression>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <sqlite3.h>

namespace {

// The quoted runs of a statement as the engine reads them ('..', "..", `..` with doubled
// quotes inside, [..]), and the number of # outside them; nothing when a quote is left open.
struct Runs {
    QStringList quoted;
    int hashes = 0;
};

std::optional<Runs> QuotedRuns(const QString &sql)
{
    Runs runs;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar open = sql[i];
        if (open == u'#')
            ++runs.hashes;
        if (open != u'\'' && open != u'"' && open != u'`' && open != u'[')
            continue;
        const QChar close = open == u'[' ? QChar(u']') : open;
        qsizetype j = i + 1;
        for (;; ++j) {
            if (j >= sql.size())
                return std::nullopt;
            if (sql[j] != close)
                continue;
            if (close == u']' || j + 1 >= sql.size() || sql[j + 1] != close)
                break;
            ++j; // a doubled quote stands for one inside the run
        }
        runs.quoted.append(sql.mid(i, j + 1 - i));
        i = j;
    }
    return runs;
}

void CheckStatement(const QString &sql)
{
    QString once;
    try {
        once = TranslateSql(sql);
    } catch (const DbError &e) {
        static const QRegularExpression message(QRegularExpression::anchoredPattern(QStringLiteral("'#.*' is not a valid date")),
                                                QRegularExpression::DotMatchesEverythingOption);
        FUZZ_CHECK(message.match(e.text()).hasMatch(), e.text());
        return;
    }

    const std::optional<Runs> in = QuotedRuns(sql);
    if (!in) {
        FUZZ_CHECK(once == sql, "an open quote must leave the statement as it came: " + sql);
        return;
    }
    const std::optional<Runs> out = QuotedRuns(once);
    FUZZ_CHECK(out, "translated to an open quote: " + sql + "\n -> " + once);
    FUZZ_CHECK(out->hashes == 0, "a # left outside quotes: " + once);

    // The runs of the input, in order, with whole date literals between them.
    static const QRegularExpression date(
        QRegularExpression::anchoredPattern(QStringLiteral("'[0-9]{4}-[0-9]{2}-[0-9]{2}( [0-9]{2}:[0-9]{2}:[0-9]{2})?'")));
    qsizetype next = 0;
    int dates = 0;
    for (const QString &run : out->quoted) {
        if (next < in->quoted.size() && run == in->quoted.at(next)) {
            ++next;
            continue;
        }
        FUZZ_CHECK(date.match(run).hasMatch(), "quoted text changed or merged: " + run + "\n in " + sql + "\n -> " + once);
        ++dates;
    }
    FUZZ_CHECK(next == in->quoted.size(), "quoted text lost: " + sql + "\n -> " + once);
    FUZZ_CHECK(dates * 2 == in->hashes, "date literals and # do not pair up: " + sql + "\n -> " + once);

    QString twice;
    try {
        twice = TranslateSql(once);
    } catch (const DbError &e) {
        FUZZ_CHECK(false, "a translated statement is refused: " + once + "\n" + e.text());
    }
    FUZZ_CHECK(twice == once, "a second pass changes: " + once + "\n -> " + twice);
}

// The input cut at U+0001 into values; a value may carry a date literal after U+0002, written
// straight after its quote. Each value must come back from "select" as its own column.
void CheckValuesThroughTheEngine(const QString &text)
{
    static sqlite3 *db = [] {
        sqlite3 *opened = nullptr;
        sqlite3_open(":memory:", &opened);
        return opened;
    }();

    const QStringList parts = text.split(QChar(1));
    if (parts.size() > 100) // the engine's limit on columns is far off, the time is not
        return;
    QStringList values;
    QString sql = QStringLiteral("select ");
    for (const QString &part : parts) {
        const qsizetype cut = part.indexOf(QChar(2));
        const QString value = part.left(cut);
        const QString body = cut < 0 ? QString() : part.mid(cut + 1);
        if (values.size() > 0)
            sql += QStringLiteral(", ");
        sql += QuotedStr(value);
        if (cut >= 0 && !body.contains(u'#'))
            sql += u'#' + body + u'#';
        values.append(value);
    }

    QByteArray translated;
    try {
        translated = TranslateSql(sql).toUtf8();
    } catch (const DbError &) {
        return; // a body that is no date
    }
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, translated.constData(), int(translated.size()), &stmt, nullptr) != SQLITE_OK) {
        // The engine ends a statement at a NUL character, so such text cannot be sent.
        const bool nul = text.contains(QChar(0));
        FUZZ_CHECK(nul, "the engine refuses: " + QString::fromUtf8(translated) + "\n" + sqlite3_errmsg(db));
        return;
    }
    FUZZ_CHECK(sqlite3_step(stmt) == SQLITE_ROW, "no row: " + QString::fromUtf8(translated));
    FUZZ_CHECK(sqlite3_column_count(stmt) == values.size(), "columns merged: " + QString::fromUtf8(translated));
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray got(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)), sqlite3_column_bytes(stmt, i));
        FUZZ_CHECK(got == values.at(i).toUtf8(),
                   "value " + QString::number(i) + " came back as " + QString::fromUtf8(got) + "\n in " + QString::fromUtf8(translated));
    }
    sqlite3_finalize(stmt);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    CheckStatement(text);
    CheckValuesThroughTheEngine(text);
    return 0;
}
