// The blend component details on any input: reading never fails, reads exactly what a
// reference reader built from the layout's pattern reads (so no portion the text does not
// hold), and what the writer writes reads back as the portions it was given.
#include "datalayer/numbertext.h"
#include "fuzz/fuzzcheck.h"
#include "inventory/blendstatements.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

QString Shown(const std::vector<BlendPortion> &portions)
{
    QStringList out;
    for (const BlendPortion &p : portions)
        out << "[" + p.lot + "|" + p.weight + "|" + p.price + "|" + p.amount + "]";
    return out.join(u' ');
}

// One line per CR LF or LF; a line is the lot, a run of blanks, then three numbers separated
// by blanks. The writer's two blanks after the lot are not part of it; blanks before them are.
std::vector<BlendPortion> Reference(const QString &detail)
{
    static const QRegularExpression line(
        QRegularExpression::anchoredPattern(
            QStringLiteral("(.*[^ \\t])?([ \\t]++)([^ \\t]++)[ \\t]++([^ \\t]++)[ \\t]++([^ \\t]++)[ \\t]*+")),
        QRegularExpression::DotMatchesEverythingOption);
    std::vector<BlendPortion> out;
    QString text = detail;
    for (const QString &l : text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n')) {
        // The pattern never matches text with a half surrogate pair: it is matched on a copy
        // with a letter in every surrogate's place, and the parts taken from the line itself.
        QString probe = l;
        for (QChar &c : probe)
            if (c.isSurrogate())
                c = u'x';
        const QRegularExpressionMatch m = line.match(probe);
        if (!m.hasMatch())
            break;
        const auto part = [&](int n) { return m.capturedStart(n) < 0 ? QString() : l.mid(m.capturedStart(n), m.capturedLength(n)); };
        const QString blanks = part(2);
        const QString lot = part(1) + (blanks.endsWith(QStringLiteral("  ")) ? blanks.chopped(2) : QString());
        if (lot.isEmpty() || !IsNumberText(part(3)) || !IsNumberText(part(4)) || !IsNumberText(part(5)))
            break;
        out.push_back({lot, part(3), part(4), part(5)});
    }
    return out;
}

void CheckReading(const QString &detail)
{
    const std::vector<BlendPortion> read = ParseBlendDetail(detail);
    FUZZ_CHECK(read == Reference(detail), Shown(read) + " instead of " + Shown(Reference(detail)) + " from: " + detail);
    // A blend shown on the tab and stored again keeps its portions.
    FUZZ_CHECK(ParseBlendDetail(WriteBlendDetail(read)) == read, "not stable: " + Shown(read));
}

// A number as the component list holds it: a typed number trimmed, or the general format of
// the field's first bytes as a double.
QString Number(const QByteArray &field)
{
    const QString typed = QString::fromUtf8(field);
    if (IsNumberText(typed))
        return typed.trimmed();
    double v = 0;
    std::memcpy(&v, field.leftJustified(sizeof v, '\0').constData(), sizeof v);
    return FormatGeneral(std::isfinite(v) ? v : 1);
}

} // namespace

// The input as UTF-8 and as UTF-16 text to read; cut at zero bytes, as lot, weight, price and
// amount of each portion to write.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    CheckReading(QString::fromUtf8(bytes));
    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, size / 2 * 2);
    CheckReading(utf16);

    const QList<QByteArray> fields = bytes.split('\0');
    std::vector<BlendPortion> portions, expected;
    for (qsizetype i = 0; i + 3 < fields.size(); i += 4) {
        const QString lot = QString::fromUtf8(fields[i]);
        if (lot.isEmpty()) // the component dialog adds no portion without a lot
            continue;
        portions.push_back({lot, Number(fields[i + 1]), Number(fields[i + 2]), Number(fields[i + 3])});
        // A line break would end the line early; the writer turns it into a blank.
        QString shown = lot;
        shown.replace(u'\n', u' ');
        expected.push_back({shown, portions.back().weight, portions.back().price, portions.back().amount});
    }
    const QString written = WriteBlendDetail(portions);
    FUZZ_CHECK(ParseBlendDetail(written) == expected, Shown(ParseBlendDetail(written)) + " from: " + written);
    return 0;
}
