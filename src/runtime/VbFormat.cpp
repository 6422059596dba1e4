#include "runtime/VbFormat.h"

#include "runtime/Currency.h"
#include "runtime/DbError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace vb {

namespace {

[[noreturn]] void throwOverflow()
{
    throw DbError(6, QStringLiteral("Overflow"));
}

// An exact decimal: value = digits * 10^exponent. Zero has no digits and is never negative.
struct Decimal
{
    bool negative = false;
    std::string digits; // no leading zeros
    int exponent = 0;
    bool approximate = false; // from a double: only then may plain text take the exponent form

    bool isZero() const { return digits.empty(); }
};

Decimal fromMagnitude(bool negative, quint64 magnitude, int exponent)
{
    Decimal d;
    if (magnitude == 0)
        return d;
    while (magnitude % 10 == 0) {
        magnitude /= 10;
        ++exponent;
    }
    d.negative = negative;
    d.digits = std::to_string(magnitude);
    d.exponent = exponent;
    return d;
}

Decimal fromInteger(qint64 value, int exponent = 0)
{
    // Negated in unsigned arithmetic so that the smallest qint64 survives.
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    return fromMagnitude(value < 0, magnitude, exponent);
}

Decimal fromDouble(double value)
{
    const std::optional<DecimalForm> form = decimalForm(value);
    if (!form)
        throwOverflow();
    Decimal d = fromInteger(form->mantissa, form->exponent);
    d.approximate = true;
    return d;
}

// Half away from zero at 10^-decimals; digits below that position are dropped.
Decimal roundTo(Decimal d, int decimals)
{
    const int target = -decimals;
    if (d.isZero() || d.exponent >= target)
        return d;
    const int keep = int(d.digits.size()) - (target - d.exponent);
    if (keep < 0)
        return {};
    std::string kept = d.digits.substr(0, size_t(keep));
    if (d.digits[size_t(keep)] >= '5') {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept[size_t(i)] == '9')
            kept[size_t(i--)] = '0';
        if (i >= 0)
            ++kept[size_t(i)];
        else
            kept.insert(kept.begin(), '1');
    }
    d.exponent = target;
    while (!kept.empty() && kept.back() == '0') {
        kept.pop_back();
        ++d.exponent;
    }
    if (kept.empty())
        return {};
    d.digits = kept;
    return d;
}

double toDouble(const Decimal &d)
{
    if (d.isZero())
        return 0.0;
    const std::string text = d.digits + 'e' + std::to_string(d.exponent);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = d.exponent > 0 ? HUGE_VAL : 0.0;
    return d.negative ? -value : value;
}

// Integer digits (no leading zeros, "" for zero) and exactly `decimals` fraction digits of a value
// already rounded to `decimals` places.
struct FixedParts
{
    std::string integer;
    std::string fraction;
};

FixedParts fixedParts(const Decimal &d, int decimals)
{
    if (d.isZero())
        return {std::string(), std::string(size_t(decimals), '0')};
    std::string s = d.digits;
    const int zeros = d.exponent + decimals; // not negative: the value is rounded to `decimals`
    s.append(size_t(zeros), '0');
    if (int(s.size()) < decimals)
        s.insert(0, size_t(decimals) - s.size(), '0');
    FixedParts parts{s.substr(0, s.size() - size_t(decimals)), s.substr(s.size() - size_t(decimals))};
    const size_t first = parts.integer.find_first_not_of('0');
    parts.integer.erase(0, first == std::string::npos ? parts.integer.size() : first);
    return parts;
}

// Plain text; a double has up to 15 significant digits and takes the exponent form below 10^-4
// and from 10^15 on, exact values (integers, currency) are written out in full. `vbStr` gives Str()'s leading blank and drops the zero before the point.
QString plainNumber(const Decimal &d, bool vbStr)
{
    const QString sign = d.negative ? QStringLiteral("-") : vbStr ? QStringLiteral(" ") : QString();
    if (d.isZero())
        return sign + QLatin1Char('0');
    const int length = int(d.digits.size());
    const int magnitude = length - 1 + d.exponent;
    std::string text;
    if (d.approximate && (magnitude < -4 || magnitude >= 15)) {
        text = d.digits.substr(0, 1);
        if (length > 1)
            text += '.' + d.digits.substr(1);
        const int e = std::abs(magnitude);
        text += std::string(magnitude < 0 ? "E-" : "E+") + (e < 10 ? "0" : "") + std::to_string(e);
    } else if (d.exponent >= 0) {
        text = d.digits + std::string(size_t(d.exponent), '0');
    } else if (length + d.exponent > 0) {
        const int integerDigits = length + d.exponent;
        const size_t integerLength = size_t(integerDigits);
        text = d.digits.substr(0, integerLength) + '.' + d.digits.substr(integerLength);
    } else {
        text = std::string(vbStr ? "." : "0.") + std::string(size_t(-(length + d.exponent)), '0') + d.digits;
    }
    return sign + QString::fromLatin1(text);
}

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0');
}

QString formatDecimal(const Decimal &value, const QString &pattern)
{
    if (pattern.isEmpty())
        return plainNumber(value, false);

    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QStringView integerPattern = point < 0 ? QStringView(pattern) : QStringView(pattern).left(point);
    const QStringView fractionPattern = point < 0 ? QStringView() : QStringView(pattern).mid(point + 1);

    int decimals = 0;
    for (QChar c : fractionPattern)
        decimals += isPlaceholder(c);
    int placeholders = 0;
    int minimumDigits = 0; // placeholders from the leftmost "0" to the point
    for (QChar c : integerPattern) {
        if (!isPlaceholder(c))
            continue;
        ++placeholders;
        if (c == QLatin1Char('0') && minimumDigits == 0)
            minimumDigits = 1;
        else if (minimumDigits > 0)
            ++minimumDigits;
    }
    const bool grouping = integerPattern.contains(QLatin1Char(','));

    const Decimal rounded = roundTo(value, decimals);
    FixedParts parts = fixedParts(rounded, decimals);
    if (int(parts.integer.size()) < minimumDigits)
        parts.integer.insert(0, size_t(minimumDigits) - parts.integer.size(), '0');

    // The integer part is built right to left: each placeholder takes the next digit, the
    // leftmost one takes all that are left, literals stay where they stand.
    const std::string &digits = parts.integer;
    int next = int(digits.size()) - 1; // next digit to place, counted from the left
    QString reversed;
    auto placeDigit = [&]() {
        const int fromRight = int(digits.size()) - 1 - next;
        if (grouping && fromRight > 0 && fromRight % 3 == 0)
            reversed += QLatin1Char(',');
        reversed += QLatin1Char(digits[size_t(next--)]);
    };
    int placeholdersLeft = placeholders;
    if (placeholders == 0) {
        while (next >= 0)
            placeDigit();
    }
    for (qsizetype i = integerPattern.size() - 1; i >= 0; --i) {
        const QChar c = integerPattern[i];
        if (isPlaceholder(c)) {
            if (--placeholdersLeft == 0) {
                while (next >= 0)
                    placeDigit();
            } else if (next >= 0) {
                placeDigit();
            }
        } else if (c != QLatin1Char(',')) {
            reversed += c;
        }
    }
    QString text = reversed;
    std::reverse(text.begin(), text.end());

    if (point >= 0) {
        // A "#" drops a trailing zero; a "0" keeps it and every digit before it.
        int shown = decimals;
        for (qsizetype i = fractionPattern.size() - 1; i >= 0 && shown > 0; --i) {
            if (!isPlaceholder(fractionPattern[i]))
                continue;
            if (fractionPattern[i] == QLatin1Char('0') || parts.fraction[size_t(shown - 1)] != '0')
                break;
            --shown;
        }
        text += QLatin1Char('.');
        int placed = 0;
        for (QChar c : fractionPattern) {
            if (!isPlaceholder(c))
                text += c;
            else if (placed < shown)
                text += QLatin1Char(parts.fraction[size_t(placed++)]);
        }
    }
    if (rounded.negative)
        text.prepend(QLatin1Char('-'));
    return text;
}

bool isDatePattern(const QString &pattern)
{
    if (pattern.contains(QLatin1Char('#')) || pattern.contains(QLatin1Char('0')))
        return false;
    for (QChar c : pattern) {
        if (QStringLiteral("dmyhns").contains(c.toLower()))
            return true;
    }
    return false;
}

QString generalDate(const QDateTime &value, bool dateWanted, bool timeWanted)
{
    QString text;
    if (dateWanted)
        text = formatDateTime(value, QStringLiteral("m/d/yyyy"));
    if (timeWanted) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += formatDateTime(value, QStringLiteral("h:nn:ss AM/PM"));
    }
    return text;
}

} // namespace

std::optional<DecimalForm> decimalForm(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    if (value == 0.0)
        return DecimalForm{};
    // "-d.dddddddddddddde+XX": correctly rounded to 15 significant digits, locale-free.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const char *p = buffer;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    qint64 mantissa = 0;
    for (; p < written.ptr && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            mantissa = mantissa * 10 + (*p - '0');
    }
    ++p; // 'e'
    const bool negativeExponent = *p == '-';
    ++p; // exponent sign
    int exponent = 0;
    std::from_chars(p, written.ptr, exponent);
    DecimalForm form{negative ? -mantissa : mantissa, (negativeExponent ? -exponent : exponent) - 14};
    while (form.mantissa % 10 == 0) {
        form.mantissa /= 10;
        ++form.exponent;
    }
    return form;
}

double roundHalfAway(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    return toDouble(roundTo(fromDouble(value), decimals));
}

QString formatNumber(double value, const QString &pattern)
{
    return formatDecimal(fromDouble(value), pattern);
}

QString format(const QVariant &value, const QString &pattern)
{
    if (!value.isValid() || value.isNull())
        return {};
    const int type = value.metaType().id();
    const bool isDate = type == QMetaType::QDate || type == QMetaType::QDateTime || type == QMetaType::QTime;
    if (isDatePattern(pattern)) {
        // Dates and date texts as they are; numbers and numeric texts as date serials.
        if (const auto when = toDateTime(value))
            return formatDateTime(*when, pattern);
        if (type == QMetaType::Double || type == QMetaType::Float)
            return formatDateTime(dateFromSerial(value.toDouble()), pattern); // NaN overflows too
        if (const auto number = toNumber(value))
            return formatDateTime(dateFromSerial(*number), pattern);
        return isDate ? QString() : value.toString();
    }
    if (type == qMetaTypeId<Currency>())
        return formatDecimal(fromInteger(value.value<Currency>().raw(), -4), pattern);
    switch (type) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime: {
        const auto when = toDateTime(value);
        if (!when)
            return {};
        if (!pattern.isEmpty())
            return formatDateTime(*when, pattern);
        return generalDate(*when, type != QMetaType::QTime,
                           type == QMetaType::QTime || when->time() != QTime(0, 0));
    }
    case QMetaType::Bool:
        return formatDecimal(fromInteger(value.toBool() ? -1 : 0), pattern);
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
        return formatDecimal(fromInteger(value.toLongLong()), pattern);
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return formatDecimal(fromMagnitude(false, value.toULongLong(), 0), pattern);
    case QMetaType::Double:
    case QMetaType::Float:
        return formatNumber(value.toDouble(), pattern);
    default:
        break;
    }
    const QString text = value.toString();
    if (pattern.isEmpty())
        return text;
    if (const auto number = parseNumber(text))
        return formatNumber(*number, pattern);
    return text;
}

QString Str(double value)
{
    return plainNumber(fromDouble(value), true);
}

} // namespace vb
