#include "datalayer/numbertext.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

constexpr int kPrecision = 15;

// |v| as its 15 significant decimal digits (trailing zeros dropped) and the power of ten
// of the first digit: digits "125", exponent 1 is 12.5.
struct Significant {
    QByteArray digits;
    int exponent = 0;
};

Significant SignificantDigits(double magnitude)
{
    Significant result;
    if (magnitude == 0) {
        result.digits = "0";
        return result;
    }
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                       std::chars_format::scientific, kPrecision - 1);
    const std::string_view text(buffer, written.ptr - buffer); // "d.dddddddddddddde+XX"
    const auto e = text.find('e');
    result.digits.append(text[0]);
    if (e > 2)
        result.digits.append(text.data() + 2, qsizetype(e - 2));
    std::string_view exponent = text.substr(e + 1);
    if (!exponent.empty() && exponent.front() == '+')
        exponent.remove_prefix(1);
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), result.exponent);
    while (result.digits.size() > 1 && result.digits.endsWith('0'))
        result.digits.chop(1);
    return result;
}

// The 15-digit text of |v| rounded half away from zero to `decimals` places, as the integer
// digits (no leading zeros, empty for zero) and exactly `decimals` fraction digits.
void RoundedParts(double magnitude, int decimals, QByteArray &integer, QByteArray &fraction)
{
    const Significant s = SignificantDigits(magnitude);
    if (s.exponent >= 0) {
        integer = s.digits.left(s.exponent + 1);
        if (integer.size() < s.exponent + 1)
            integer.append(QByteArray(s.exponent + 1 - integer.size(), '0'));
        fraction = s.digits.mid(s.exponent + 1);
    } else {
        integer.clear();
        fraction = QByteArray(-s.exponent - 1, '0') + s.digits;
    }

    if (fraction.size() > decimals) {
        const bool up = fraction.at(decimals) >= '5';
        fraction.truncate(decimals);
        if (up) {
            QByteArray all = integer + fraction;
            qsizetype i = all.size() - 1;
            for (; i >= 0 && all.at(i) == '9'; --i)
                all[i] = '0';
            if (i >= 0)
                all[i] = char(all.at(i) + 1);
            else
                all.prepend('1');
            integer = all.left(all.size() - decimals);
            fraction = all.right(decimals);
        }
    } else {
        fraction.append(QByteArray(decimals - fraction.size(), '0'));
    }

    qsizetype leading = 0;
    while (leading < integer.size() && integer.at(leading) == '0')
        ++leading;
    integer.remove(0, leading);
}

// Whether a number text of the form [-]digits[.digits][e[+-]digits] is below 1 in size,
// however long its exponent; only asked of texts a double cannot hold, so never of zero.
bool BelowOne(std::string_view text)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const size_t e = text.find_first_of("eE");
    std::string_view mantissa = text.substr(0, e);
    // The power of ten of the first non-zero digit, as written in the mantissa.
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return true;
    const long long lead = first < point ? (long long)(point - first) - 1 : -(long long)(first - point);
    if (e == std::string_view::npos)
        return lead < 0;
    std::string_view exponent = text.substr(e + 1);
    const bool negative = !exponent.empty() && exponent.front() == '-';
    if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+'))
        exponent.remove_prefix(1);
    while (exponent.size() > 1 && exponent.front() == '0')
        exponent.remove_prefix(1);
    // An exponent of more than 18 digits dwarfs any mantissa a text can hold.
    if (exponent.size() > 18)
        return negative;
    long long power = 0;
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
    return lead + (negative ? -power : power) < 0;
}

QString NonFinite(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

} // namespace

ConvertError::ConvertError(const QString &message)
    : std::runtime_error(message.toUtf8().toStdString())
    , m_text(message)
{
}

ConvertError ConvertError::invalidFloat(const QString &text)
{
    return ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

ConvertError ConvertError::invalidInteger(const QString &text)
{
    return ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

QString ConvertError::text() const
{
    return m_text;
}

QString FormatGeneral(double v)
{
    if (!std::isfinite(v))
        return NonFinite(v);
    if (v == 0)
        return QStringLiteral("0");

    const Significant s = SignificantDigits(std::fabs(v));
    QString result = v < 0 ? QStringLiteral("-") : QString();
    const QString digits = QString::fromLatin1(s.digits);

    if (s.exponent >= kPrecision || s.exponent < -5) {
        result += digits.at(0);
        if (digits.size() > 1)
            result += QLatin1Char('.') + digits.mid(1);
        result += QLatin1Char('E') + QString::number(s.exponent);
        return result;
    }

    if (s.exponent < 0) {
        result += QStringLiteral("0.") + QString(-s.exponent - 1, QLatin1Char('0')) + digits;
    } else if (digits.size() <= s.exponent + 1) {
        result += digits + QString(s.exponent + 1 - digits.size(), QLatin1Char('0'));
    } else {
        result += digits.left(s.exponent + 1) + QLatin1Char('.') + digits.mid(s.exponent + 1);
    }
    return result;
}

QString FormatFloat(const QString &pattern, double v)
{
    if (pattern.isEmpty())
        return FormatGeneral(v);
    if (!std::isfinite(v))
        return NonFinite(v);

    // A pattern without digit places still shows the number, after its text.
    const QString layout = pattern.contains(QLatin1Char('0')) ? pattern : pattern + QLatin1Char('0');

    int integerPlaces = 0;
    int fractionPlaces = 0;
    bool thousands = false;
    bool afterPoint = false;
    for (const QChar c : layout) {
        if (c == QLatin1Char('0'))
            ++(afterPoint ? fractionPlaces : integerPlaces);
        else if (c == QLatin1Char('.'))
            afterPoint = true;
        else if (c == QLatin1Char(','))
            thousands = true;
    }

    QByteArray integer;
    QByteArray fraction;
    RoundedParts(std::fabs(v), fractionPlaces, integer, fraction);
    // A value that rounds to zero shows no sign.
    const bool negative = v < 0 && (!integer.isEmpty() || fraction.count('0') != fraction.size());
    if (integer.size() < integerPlaces)
        integer.prepend(QByteArray(integerPlaces - integer.size(), '0'));

    QString result = negative ? QStringLiteral("-") : QString();
    qsizetype nextInteger = 0;
    qsizetype nextFraction = 0;
    auto putIntegerDigits = [&](qsizetype upTo) {
        for (; nextInteger < upTo; ++nextInteger) {
            result += QLatin1Char(integer.at(nextInteger));
            const qsizetype remaining = integer.size() - nextInteger - 1;
            if (thousands && remaining > 0 && remaining % 3 == 0)
                result += QLatin1Char(',');
        }
    };

    int integerPlaceSeen = 0;
    bool pointSeen = false;
    for (const QChar c : layout) {
        if (c == QLatin1Char('0') && !pointSeen) {
            ++integerPlaceSeen;
            // Digits beyond the places all go out at the first place.
            putIntegerDigits(integer.size() - integerPlaces + integerPlaceSeen);
        } else if (c == QLatin1Char('0')) {
            result += QLatin1Char(fraction.at(nextFraction++));
        } else if (c == QLatin1Char('.')) {
            if (pointSeen)
                continue; // only the first point counts
            pointSeen = true;
            putIntegerDigits(integer.size());
            if (fractionPlaces > 0)
                result += QLatin1Char('.');
        } else if (c != QLatin1Char(',')) {
            result += c;
        }
    }
    return result;
}

bool TryStrToFloat(const QString &text, double &value)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch())
        return false;

    QByteArray latin = trimmed.toLatin1();
    if (latin.startsWith('+'))
        latin.remove(0, 1);
    const char *begin = latin.constData();
    const char *end = begin + latin.size();
    double parsed = 0;
    const auto result = std::from_chars(begin, end, parsed);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small for a double reads as zero; too large is not a value.
        if (!BelowOne(std::string_view(begin, size_t(end - begin))))
            return false;
        parsed = 0;
    } else if (result.ec != std::errc() || result.ptr != end) {
        return false;
    }
    value = parsed;
    return true;
}

double StrToFloat(const QString &text)
{
    double value = 0;
    if (!TryStrToFloat(text, value))
        throw ConvertError::invalidFloat(text);
    return value;
}

QString DateToStr(const QDate &date)
{
    return date.toString(QLatin1String(kShortDateFormat));
}

QString TimeToStr(const QTime &time)
{
    return time.toString(QLatin1String(kLongTimeFormat));
}

QString DateTimeToStr(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return {};
    return DateToStr(dateTime.date()) + QLatin1Char(' ') + TimeToStr(dateTime.time());
}

QDate StrToDate(const QString &text)
{
    static const QRegularExpression date(
        QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    const QRegularExpressionMatch match = date.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

QString FormatMMDD(const QDate &date)
{
    return date.toString(QStringLiteral("MMdd"));
}

bool IsNumberText(const QString &text)
{
    double v = 0;
    return TryStrToFloat(text, v);
}

bool IsWeightText(const QString &text)
{
    double v = 0;
    return TryStrToFloat(text, v) && v > 0;
}

QString NumberFieldProblem(const QString &fieldName, const QString &text)
{
    return IsNumberText(text) ? QString() : QStringLiteral("请输入正确的") + fieldName + QStringLiteral("!");
}
