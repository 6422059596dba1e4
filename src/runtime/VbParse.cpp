#include "runtime/VbFormat.h"

#include "runtime/Currency.h"
#include "runtime/DbError.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace vb {

namespace {

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

} // namespace

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
            throw DbError(6, QStringLiteral("Overflow"));
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

std::optional<double> toNumber(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    const int type = value.metaType().id();
    if (type == qMetaTypeId<Currency>())
        return value.value<Currency>().toDouble();
    switch (type) {
    case QMetaType::Bool:
        return value.toBool() ? -1.0 : 0.0;
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
        return value.toDouble();
    case QMetaType::Double:
        if (!std::isfinite(value.toDouble()))
            return std::nullopt;
        return value.toDouble();
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return parseNumber(value.toString());
    default:
        return std::nullopt;
    }
}

bool IsNumeric(const QVariant &value)
{
    return toNumber(value).has_value();
}

} // namespace vb
