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

// Rounds half away from zero to `decimals` places, on the 15-significant-digit form.
double roundHalfAway(double value, int decimals);

// Numeric patterns: "#" optional digit, "0" required digit, "," anywhere in the integer part turns
// on thousands grouping, "." the decimal point; any other character is literal and stays where it
// stands ("-(###0" gives "-(5" for 5). Examples: "###,###.00" gives ".00" for 0 and "1,234.50"
// for 1234.5; "0000" gives "0012" for 12 and "12345" for 12345; "######.000"; "###,##0.00".
// Negative values get a leading minus sign.
QString formatNumber(double value, const QString &pattern);

// Date/time patterns, letters in either case: d dd, m mm (month; minutes when the m follows an h
// or precedes an s), yy yyyy, h hh, n nn (minutes), s ss; everything else literal.
// "mm/dd/yy", "MM/DD/YYYY", "mmddyyyy", "h:m:s" (no leading zeros), "hh:mm", "HH:MM:SS".
QString formatDateTime(const QDateTime &value, const QString &pattern);

// Format(value, pattern) of any stored value: null gives ""; numbers and numeric texts take a
// numeric pattern; dates, times and date texts (ISO "yyyy-MM-dd[ hh:mm:ss]", "m/d/yyyy") take a
// date pattern; any other text is returned unchanged.
QString format(const QVariant &value, const QString &pattern);

// Str(): a leading blank for non-negative numbers, no leading zero before the point
// (" 5", " 2.5", "-3", " .5"), up to 15 significant digits.
QString Str(double value);

// Val(): blanks (space, tab, line feed) anywhere are skipped; then an optional sign, digits, a
// decimal point, digits and an exponent (E or D) are read up to the first character that cannot
// belong to a number. "" gives 0, "12abc" gives 12, "1,5" gives 1.
double Val(const QString &text);

// A text that reads wholly as a number: blanks around it, a leading sign, thousands separators,
// one decimal point and an exponent are allowed. Nothing else ("", "x", "1O", "1 2").
std::optional<double> parseNumber(const QString &text);
bool IsNumeric(const QVariant &value);

// A stored or typed date: QDate, QDateTime, ISO texts and month/day/year texts.
std::optional<QDateTime> toDateTime(const QVariant &value);

} // namespace vb
