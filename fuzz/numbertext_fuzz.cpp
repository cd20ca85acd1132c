// The number texts on any input: reading never fails but with the conversion error, a text
// reads as the C library reads it (too small for a double: 0, too large: refused), and the
// "0.00" format rounds as a decimal reference does: half away from zero on 15 digits.
#include "datalayer/numbertext.h"
#include "fuzz/fuzzcheck.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// [+-] digits [. digits] [eE [+-] digits], at least one digit before the exponent.
bool NumberGrammar(const QString &t)
{
    qsizetype i = 0;
    auto digits = [&] {
        const qsizetype from = i;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9')
            ++i;
        return i - from;
    };
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    qsizetype mantissa = digits();
    if (i < t.size() && t[i] == u'.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == t.size();
}

// v to two places, half away from zero on its 15 significant digits, in whole-number arithmetic.
QString TwoPlaces(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(v)); // d.dddddddddddddde+XX
    std::string digits = std::string(1, buffer[0]) + std::string(buffer + 2, 14);
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    const int shift = exponent - 14 + 2; // v * 100 = digits * 10^shift
    std::string cents;
    if (shift >= 0) {
        cents = digits + std::string(size_t(shift), '0');
    } else if (-shift > 15) {
        cents = "0";
    } else {
        uint64_t power = 1;
        for (int k = 0; k < -shift; ++k)
            power *= 10;
        const uint64_t whole = std::stoull(digits);
        cents = std::to_string(whole / power + (2 * (whole % power) >= power ? 1 : 0));
    }
    cents.erase(0, std::min(cents.find_first_not_of('0'), cents.size()));
    const bool zero = cents.empty();
    if (cents.size() < 3)
        cents.insert(0, 3 - cents.size(), '0');
    cents.insert(cents.size() - 2, 1, '.');
    return QString::fromLatin1((v < 0 && !zero ? "-" : "") + cents);
}

void CheckFormats(double v)
{
    if (!std::isfinite(v))
        return;
    FUZZ_CHECK(FormatFloat(QStringLiteral("0.00"), v) == TwoPlaces(v),
               QString::asprintf("%.17g: ", v) + FormatFloat(QStringLiteral("0.00"), v) + " not " + TwoPlaces(v));
    // Fifteen digits name one double closely enough to give the same fifteen digits again;
    // only the largest doubles round up past the range (1.79769313486232E308).
    if (std::fabs(v) > 1e308)
        return;
    const QString general = FormatGeneral(v);
    double again = 0;
    FUZZ_CHECK(TryStrToFloat(general, again), "the general format does not read back: " + general);
    FUZZ_CHECK(FormatGeneral(again) == general, general + " reads back as " + FormatGeneral(again));
}

} // namespace

// The input as UTF-8 text to read and as a pattern; its first eight bytes also as a double.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    double value = 42;
    const bool read = TryStrToFloat(text, value);
    try {
        FUZZ_CHECK(StrToFloat(text) == value && read, "StrToFloat and TryStrToFloat disagree: " + text);
    } catch (const ConvertError &e) {
        FUZZ_CHECK(!read && value == 42, "refused but changed: " + text);
        FUZZ_CHECK(e.text() == "'" + text + "' is not a valid floating point value", e.text());
    }

    const QString trimmed = text.trimmed();
    if (NumberGrammar(trimmed)) {
        errno = 0;
        const double c = std::strtod(trimmed.toLatin1().constData(), nullptr);
        const bool tooLarge = errno == ERANGE && std::isinf(c);
        FUZZ_CHECK(read != tooLarge, "read " + QString::number(read) + ": " + text);
        FUZZ_CHECK(!read || value == c, QString::asprintf("%.17g, not %.17g: ", value, c) + text);
    } else {
        FUZZ_CHECK(!read, "not a number, yet read: " + text);
    }
    if (read)
        CheckFormats(value);

    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        CheckFormats(raw);
        FormatFloat(text, raw);
    }
    FormatFloat(text, value);
    return 0;
}
