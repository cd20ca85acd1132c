#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <stdexcept>

// A text that does not read as the number asked for; what() holds the message in UTF-8.
class ConvertError : public std::runtime_error
{
public:
    // The error with a complete message.
    explicit ConvertError(const QString &message);
    // "'<text>' is not a valid floating point value".
    static ConvertError invalidFloat(const QString &text);
    // "'<text>' is not a valid integer value".
    static ConvertError invalidInteger(const QString &text);
    // The message as shown to the user.
    QString text() const;

private:
    QString m_text; // what() ends at the first NUL character; this does not
};

// The general number format: up to 15 significant digits, no trailing zeros; an exponent
// ("1E20", "1.5E-7") only from 16 integer digits on or below 0.00001.
QString FormatGeneral(double v);

// Formats v by a pattern: "0" digit places, the first "." the decimal point, a "," anywhere
// turns on thousands separators; other characters are copied. Rounds half away from zero on
// the 15-digit decimal text, so 2.675 with "0.00" gives "2.68". An empty pattern gives
// FormatGeneral.
QString FormatFloat(const QString &pattern, double v);

// Reads a typed number: blanks around it, optional sign, digits with "." as decimal point,
// optional exponent. A value too small for a double reads as 0; one too large, or any other
// text, throws ConvertError::invalidFloat(text).
double StrToFloat(const QString &text);
// As StrToFloat, but returns false and leaves value alone instead of throwing.
bool TryStrToFloat(const QString &text, double &value);
// Whether a typed text reads as a number; as a weight (a number above 0).
bool IsNumberText(const QString &text);
bool IsWeightText(const QString &text);
// Why a typed text cannot be stored as the number of the named field ("请输入正确的毛茶价!"),
// or empty when it can.
QString NumberFieldProblem(const QString &fieldName, const QString &text);

inline constexpr char kShortDateFormat[] = "yyyy-MM-dd";
inline constexpr char kLongTimeFormat[] = "HH:mm:ss";

// The date in the short date format; empty for an invalid date.
QString DateToStr(const QDate &date);
// The time in the long time format; empty for an invalid time.
QString TimeToStr(const QTime &time);
// The date, a blank and the time; empty for an invalid date-time.
QString DateTimeToStr(const QDateTime &dateTime);
// Reads year-month-day with a four-digit year and one- or two-digit month and day
// ("2009-04-26", "2009-4-26"), blanks around allowed; an invalid QDate when it does not read.
QDate StrToDate(const QString &text);
// The "mmdd" pattern: two-digit month and day ("0426").
QString FormatMMDD(const QDate &date);
