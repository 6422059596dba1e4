#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

// Number and date formatting and parsing with the suite's fixed conventions, independent of the
// machine's locale: "," groups thousands, "." is the decimal point, dates are month/day/year.
// Rounding is half away from zero on the value's 15-significant-digit decimal form, so 2.675
// formatted with ".00" gives 2.68 although the double is slightly below 2.675.
namespace vb {

// The value's 15-significant-digit decimal form: value = mantissa * 10^exponent, with
// |mantissa| < 10^15 and no trailing zeros in the mantissa (0 is {0, 0}). None for NaN/infinity.
struct DecimalForm
{
    qint64 mantissa = 0;
    int exponent = 0;
};
std::optional<DecimalForm> decimalForm(double value);

// Rounds half away from zero to `decimals` places, on the 15-significant-digit form.
double roundHalfAway(double value, int decimals);

// Numeric patterns: "#" optional digit, "0" required digit, "," anywhere in the integer part turns
// on thousands grouping, "." the decimal point; any other character is literal and stays where it
// stands ("-(###0" gives "-(5" for 5). Examples: "###,###.00" gives ".00" for 0 and "1,234.50"
// for 1234.5; "0000" gives "0012" for 12 and "12345" for 12345; "######.000"; "###,##0.00".
// Negative values get a leading minus sign, in front of any literal; a value that rounds to zero
// gets none. A "#" after the point drops a trailing zero. The empty pattern gives the plain number
// ("12", "0.5", "-1.25"). NaN or infinity throws DbError 6 "Overflow".
QString formatNumber(double value, const QString &pattern);

// Date/time patterns, letters in either case: d dd ddd dddd, m mm (month, or minutes when the
// nearest field before it is an hour: "hh:mm" and "h.m" are minutes, "mm:ss" and "hh:ss mm" are
// months) mmm mmmm, y (day of the year) yy yyyy, h hh, n nn (minutes), s ss, AM/PM (12-hour
// clock); text in double quotes and a character after a backslash are literal (the quotes and
// the backslash are dropped), as is everything else. Names are English. Invalid gives "".
// "mm/dd/yy", "MM/DD/YYYY", "mmddyyyy", "m/d/yyyy hh:nn:ss", "h:m:s" (no leading zeros), "hh:mm",
// "HH:MM:SS".
QString formatDateTime(const QDateTime &value, const QString &pattern);

// A date serial as the suite stores dates in numbers: whole days since 30 December 1899, the
// fraction's magnitude being the time of day, to the nearest second (45000.75 is 3/15/2023 18:00,
// -1.25 is 12/29/1899 06:00). Outside 1 January 100 to 31 December 9999, and NaN, throw DbError 6
// "Overflow".
QDateTime dateFromSerial(double serial);

// Format(value, pattern) of any stored value: null gives ""; with a date pattern, dates, times and
// date texts (ISO "yyyy-MM-dd[ hh:mm:ss]", "m/d/yyyy") are formatted as they are, and numbers and
// numeric texts as date serials (see dateFromSerial, which may throw); with any other pattern,
// numbers and numeric texts are formatted as numbers; any other text is returned unchanged. A
// pattern is a date pattern when it holds one of the letters d m y h n s and neither "#" nor "0".
// The empty pattern gives the plain number, the general date ("m/d/yyyy", plus " h:nn:ss AM/PM"
// when there is a time), or the text. Booleans count as -1 and 0, currency is formatted from its
// exact value.
QString format(const QVariant &value, const QString &pattern);

// Str(): a leading blank for non-negative numbers, no leading zero before the point
// (" 5", " 2.5", "-3", " .5"), up to 15 significant digits; exponent form ("1E-05",
// "1.23456789012346E+15") below 0.0001 and from 10^15 on.
QString Str(double value);

// Val(): blanks (space, tab, line feed) anywhere are skipped; then an optional sign, digits, a
// decimal point, digits and an exponent (E or D) are read up to the first character that cannot
// belong to a number. "" gives 0, "12abc" gives 12, "1,5" gives 1. A number too large for a double
// throws DbError 6 "Overflow".
double Val(const QString &text);

// A text that reads wholly as a number: blanks around it, a leading sign, thousands separators,
// one decimal point and an exponent are allowed. Nothing else ("", "x", "1O", "1 2").
std::optional<double> parseNumber(const QString &text);
// A stored value as a number: numbers, money, booleans (True is -1) and numeric texts; nothing
// for null and anything else.
std::optional<double> toNumber(const QVariant &value);
bool IsNumeric(const QVariant &value);

// A stored or typed date: QDate, QDateTime, QTime (on 12/30/1899, the suite's day zero) and texts:
// "yyyy-MM-dd", "yyyy-MM-dd hh:mm[:ss[.zzz]]" (blank or "T"), "m/d/yy[yy]" with an optional time
// "h:mm[:ss]" and optional AM/PM, or a time alone. Two-digit years 00-29 are 2000-2029, 30-99 are
// 1930-1999. Numbers are not dates.
std::optional<QDateTime> toDateTime(const QVariant &value);

} // namespace vb
