#include "VbFormat.h"

#include "Currency.h"
#include "DbError.h"

#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

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

    bool isZero() const { return digits.empty(); }
};

Decimal fromMagnitude(bool negative, quint64 magnitude, int exponent)
{
    Decimal d;
    if (magnitude == 0)
        return d;
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
    return fromInteger(form->mantissa, form->exponent);
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
    s.append(size_t(d.exponent + decimals), '0');
    if (int(s.size()) < decimals)
        s.insert(0, size_t(decimals) - s.size(), '0');
    FixedParts parts{s.substr(0, s.size() - size_t(decimals)), s.substr(s.size() - size_t(decimals))};
    const size_t first = parts.integer.find_first_not_of('0');
    parts.integer.erase(0, first == std::string::npos ? parts.integer.size() : first);
    return parts;
}

// Plain text with up to 15 significant digits; exponent form below 10^-4 and from 10^15 on.
// `vbStr` gives Str()'s leading blank and drops the zero before the point.
QString plainNumber(const Decimal &d, bool vbStr)
{
    const QString sign = d.negative ? QStringLiteral("-") : vbStr ? QStringLiteral(" ") : QString();
    if (d.isZero())
        return sign + QLatin1Char('0');
    const int length = int(d.digits.size());
    const int magnitude = length - 1 + d.exponent;
    std::string text;
    if (magnitude < -4 || magnitude >= 15) {
        text = d.digits.substr(0, 1);
        if (length > 1)
            text += '.' + d.digits.substr(1);
        const int e = std::abs(magnitude);
        text += std::string(magnitude < 0 ? "E-" : "E+") + (e < 10 ? "0" : "") + std::to_string(e);
    } else if (d.exponent >= 0) {
        text = d.digits + std::string(size_t(d.exponent), '0');
    } else if (length + d.exponent > 0) {
        const size_t integerLength = size_t(length + d.exponent);
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

// Whether a number text that from_chars found out of range is too large rather than too small.
bool tooLarge(const std::string &clean)
{
    const size_t e = clean.find('e');
    long exponent = 0;
    if (e != std::string::npos)
        std::from_chars(clean.data() + e + 1 + (clean[e + 1] == '+'), clean.data() + clean.size(), exponent);
    const std::string mantissa = clean.substr(0, e);
    const size_t point = mantissa.find('.');
    const std::string integer = mantissa.substr(0, point);
    const size_t first = integer.find_first_not_of('0');
    if (first != std::string::npos)
        return exponent > 0 || long(integer.size() - first) + exponent > 0;
    return exponent > 0 && long(mantissa.find_first_not_of('0', point + 1) - point - 1) < exponent;
}

// --- dates

const QDate dayZero(1899, 12, 30);

int fullYear(int year, qsizetype digits)
{
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

std::optional<QTime> parseTime(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^(\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d+))?)?\s*([AaPp][Mm])?$)"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.capturedView(1).toInt();
    const QStringView meridiem = m.capturedView(5);
    if (!meridiem.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        const bool pm = meridiem.startsWith(QLatin1Char('p'), Qt::CaseInsensitive);
        hour = hour % 12 + (pm ? 12 : 0);
    }
    const QString fraction = m.captured(4).left(3).leftJustified(3, QLatin1Char('0'));
    const QTime time(hour, m.capturedView(2).toInt(), m.capturedView(3).toInt(), fraction.toInt());
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

std::optional<QDateTime> parseDateText(const QString &input)
{
    static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](.+))?$)"));
    static const QRegularExpression us(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{4}|\d{2})(?:\s+(.+))?$)"));
    const QString text = input.trimmed();
    QDate date;
    QStringView timeText;
    QRegularExpressionMatch m = iso.match(text);
    if (m.hasMatch()) {
        date = QDate(m.capturedView(1).toInt(), m.capturedView(2).toInt(), m.capturedView(3).toInt());
        timeText = m.capturedView(4);
    } else if ((m = us.match(text)).hasMatch()) {
        date = QDate(fullYear(m.capturedView(3).toInt(), m.capturedLength(3)), m.capturedView(1).toInt(),
                     m.capturedView(2).toInt());
        timeText = m.capturedView(4);
    } else {
        const auto time = parseTime(text);
        if (!time)
            return std::nullopt;
        return QDateTime(dayZero, *time);
    }
    if (!date.isValid())
        return std::nullopt;
    if (timeText.isEmpty())
        return QDateTime(date, QTime(0, 0));
    const auto time = parseTime(timeText.trimmed().toString());
    if (!time)
        return std::nullopt;
    return QDateTime(date, *time);
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

struct DateToken
{
    char kind = 0; // d m y h n s, 'a' for AM/PM, 0 for a literal
    int length = 0;
    QString text;  // the pattern's own text (literal, or the AM/PM spelling)
};

QVector<DateToken> tokenize(const QString &pattern)
{
    static const QString ampm = QStringLiteral("AM/PM");
    QVector<DateToken> tokens;
    for (qsizetype i = 0; i < pattern.size();) {
        if (QStringView(pattern).mid(i, 5).compare(ampm, Qt::CaseInsensitive) == 0) {
            tokens.append({'a', 5, pattern.mid(i, 5)});
            i += 5;
            continue;
        }
        const QChar c = pattern[i].toLower();
        if (!QStringLiteral("dmyhns").contains(c)) {
            tokens.append({0, 1, pattern.mid(i, 1)});
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == c)
            ++run;
        const int longest = (c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) ? 4 : 2;
        int length = int(std::min<qsizetype>(run, longest));
        if (c == QLatin1Char('y') && length == 3)
            length = 2;
        tokens.append({char(c.toLatin1()), length, {}});
        i += length;
    }
    return tokens;
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
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

QString formatDateTime(const QDateTime &value, const QString &pattern)
{
    static const char *const dayNames[] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                                           "Friday", "Saturday", "Sunday"};
    static const char *const monthNames[] = {"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
    if (!value.isValid())
        return {};
    const QDate date = value.date();
    const QTime time = value.time();
    const QVector<DateToken> tokens = tokenize(pattern);
    bool twelveHour = false;
    for (const DateToken &t : tokens)
        twelveHour = twelveHour || t.kind == 'a';

    auto neighbourKind = [&](qsizetype from, int step) -> char {
        for (qsizetype i = from + step; i >= 0 && i < tokens.size(); i += step) {
            if (tokens[i].kind != 0)
                return tokens[i].kind;
        }
        return 0;
    };

    QString text;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const DateToken &t = tokens[i];
        const auto number = [&](int n) { return t.length == 1 ? QString::number(n) : twoDigits(n); };
        switch (t.kind) {
        case 0:
            text += t.text;
            break;
        case 'd':
            if (t.length <= 2)
                text += number(date.day());
            else
                text += QString::fromLatin1(dayNames[date.dayOfWeek() - 1]).left(t.length == 3 ? 3 : -1);
            break;
        case 'm':
            if (t.length <= 2 && (neighbourKind(i, -1) == 'h' || neighbourKind(i, 1) == 's'))
                text += number(time.minute());
            else if (t.length <= 2)
                text += number(date.month());
            else
                text += QString::fromLatin1(monthNames[date.month() - 1]).left(t.length == 3 ? 3 : -1);
            break;
        case 'y':
            if (t.length == 1)
                text += QString::number(date.dayOfYear());
            else if (t.length == 2)
                text += twoDigits(date.year() % 100);
            else
                text += QString::number(date.year());
            break;
        case 'h':
            text += number(twelveHour ? (time.hour() + 11) % 12 + 1 : time.hour());
            break;
        case 'n':
            text += number(time.minute());
            break;
        case 's':
            text += number(time.second());
            break;
        case 'a': {
            const bool lower = t.text.at(0).isLower();
            const QString mark = time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            text += lower ? mark.toLower() : mark;
            break;
        }
        }
    }
    return text;
}

QString format(const QVariant &value, const QString &pattern)
{
    if (!value.isValid() || value.isNull())
        return {};
    const int type = value.metaType().id();
    if (type == qMetaTypeId<Currency>())
        return formatDecimal(fromInteger(value.value<Currency>().raw(), -4), pattern);
    switch (type) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime: {
        const QDateTime when = *toDateTime(value);
        if (!pattern.isEmpty())
            return formatDateTime(when, pattern);
        return generalDate(when, type != QMetaType::QTime,
                           type == QMetaType::QTime || when.time() != QTime(0, 0));
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
    if (isDatePattern(pattern)) {
        if (const auto when = parseDateText(text))
            return formatDateTime(*when, pattern);
    }
    if (const auto number = parseNumber(text))
        return formatNumber(*number, pattern);
    return text;
}

QString Str(double value)
{
    return plainNumber(fromDouble(value), true);
}

double Val(const QString &text)
{
    std::string clean; // sign, mantissa and exponent in from_chars form
    bool negative = false;
    bool mantissaDigits = false;
    enum { Sign, Integer, Fraction } state = Sign;
    qsizetype i = 0;
    auto nextChar = [&]() -> QChar {
        while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') || text[i] == QLatin1Char('\n')))
            ++i;
        return i < text.size() ? text[i] : QChar();
    };
    for (QChar c = nextChar(); !c.isNull(); c = nextChar()) {
        if (state == Sign && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            negative = c == QLatin1Char('-');
            state = Integer;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            clean += char(c.unicode());
            mantissaDigits = true;
            if (state == Sign)
                state = Integer;
        } else if (c == QLatin1Char('.') && state != Fraction) {
            clean += '.';
            state = Fraction;
        } else {
            break;
        }
        ++i;
    }
    if (!mantissaDigits)
        return 0.0;
    // An exponent counts only when at least one digit follows its letter and sign.
    if (i < text.size() && QStringLiteral("eEdD").contains(text[i])) {
        const qsizetype mark = i++;
        std::string exponent = "e";
        QChar c = nextChar();
        if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
            exponent += char(c.unicode());
            ++i;
            c = nextChar();
        }
        bool exponentDigits = false;
        for (; c >= QLatin1Char('0') && c <= QLatin1Char('9'); c = nextChar()) {
            exponent += char(c.unicode());
            exponentDigits = true;
            ++i;
        }
        if (exponentDigits)
            clean += exponent;
        else
            i = mark;
    }
    double value = 0.0;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars reports underflow the same way; only a large magnitude is an overflow.
        if (tooLarge(clean))
            throwOverflow();
        value = 0.0;
    }
    return negative ? -value : value;
}

std::optional<double> parseNumber(const QString &input)
{
    const QString text = input.trimmed();
    std::string clean;
    qsizetype i = 0;
    const auto isDigit = [&](qsizetype at) {
        return at < text.size() && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9');
    };
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    bool digits = false;
    for (; i < text.size(); ++i) {
        if (isDigit(i)) {
            clean += char(text[i].unicode());
            digits = true;
        } else if (text[i] == QLatin1Char(',') && i > 0 && isDigit(i - 1) && isDigit(i + 1)) {
            continue; // a thousands separator sits between digits
        } else {
            break;
        }
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        clean += '.';
        for (++i; isDigit(i); ++i) {
            clean += char(text[i].unicode());
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && QStringLiteral("eEdD").contains(text[i])) {
        clean += 'e';
        ++i;
        if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            clean += char(text[i++].unicode());
        if (!isDigit(i))
            return std::nullopt;
        for (; isDigit(i); ++i)
            clean += char(text[i].unicode());
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (tooLarge(clean))
            return std::nullopt;
        value = 0.0;
    }
    return negative ? -value : value;
}

bool IsNumeric(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return false;
    const int type = value.metaType().id();
    if (type == qMetaTypeId<Currency>())
        return true;
    switch (type) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Float:
        return true;
    case QMetaType::Double:
        return std::isfinite(value.toDouble());
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return parseNumber(value.toString()).has_value();
    default:
        return false;
    }
}

std::optional<QDateTime> toDateTime(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.metaType().id()) {
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        return date.isValid() ? std::optional<QDateTime>(QDateTime(date, QTime(0, 0))) : std::nullopt;
    }
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        return when.isValid() ? std::optional<QDateTime>(when) : std::nullopt;
    }
    case QMetaType::QTime: {
        const QTime time = value.toTime();
        return time.isValid() ? std::optional<QDateTime>(QDateTime(dayZero, time)) : std::nullopt;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return parseDateText(value.toString());
    default:
        return std::nullopt;
    }
}

} // namespace vb
