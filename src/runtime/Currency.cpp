#include "runtime/Currency.h"

#include "runtime/DbError.h"
#include "runtime/VbFormat.h"

namespace {

using Wide = __int128;
using WideUnsigned = unsigned __int128;

[[noreturn]] void throwOverflow()
{
    throw DbError(6, QStringLiteral("Overflow"));
}

// n * 10^exponent rounded half away from zero, as ten-thousandths; out of range is an overflow.
qint64 scaled(Wide n, int exponent)
{
    const bool negative = n < 0;
    WideUnsigned magnitude = negative ? WideUnsigned(-n) : WideUnsigned(n);
    const WideUnsigned limit = negative ? WideUnsigned(1) << 63 : (WideUnsigned(1) << 63) - 1;
    if (exponent >= 0) {
        for (int i = 0; i < exponent && magnitude != 0; ++i) {
            if (magnitude > limit / 10)
                throwOverflow();
            magnitude *= 10;
        }
    } else if (exponent < -38) {
        magnitude = 0; // |n| < 2^127 is below half of 10^39
    } else {
        WideUnsigned divisor = 1;
        for (int i = 0; i < -exponent; ++i)
            divisor *= 10;
        const WideUnsigned remainder = magnitude % divisor;
        magnitude = magnitude / divisor + (remainder >= divisor - remainder ? 1 : 0);
    }
    if (magnitude > limit)
        throwOverflow();
    return negative ? qint64(-Wide(magnitude)) : qint64(magnitude);
}

vb::DecimalForm formOf(double value)
{
    const std::optional<vb::DecimalForm> form = vb::decimalForm(value);
    if (!form)
        throwOverflow();
    return *form;
}

bool isDigit(const QString &text, qsizetype at)
{
    return at >= 0 && at < text.size() && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9');
}

} // namespace

Currency Currency::fromDouble(double value)
{
    const vb::DecimalForm form = formOf(value);
    return fromRaw(scaled(form.mantissa, form.exponent + 4));
}

std::optional<Currency> Currency::parse(const QString &input)
{
    const QString text = input.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');

    // Ten-thousandths, with one extra digit kept to round on.
    constexpr Wide tooMany = Wide(1) << 100;
    Wide integer = 0;
    bool digits = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text, i)) {
            integer = integer * 10 + (text[i].unicode() - '0');
            digits = true;
            if (integer > tooMany)
                return std::nullopt;
        } else if (!(text[i] == QLatin1Char(',') && isDigit(text, i - 1) && isDigit(text, i + 1))) {
            break;
        }
    }
    Wide fraction = 0; // the first five decimals
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        int decimals = 0;
        for (++i; isDigit(text, i); ++i, ++decimals) {
            if (decimals < 5)
                fraction = fraction * 10 + (text[i].unicode() - '0');
            digits = true;
        }
        for (; decimals < 5; ++decimals)
            fraction *= 10;
    }
    if (!digits || i != text.size())
        return std::nullopt;
    const Wide fifths = integer * 100000 + fraction;
    try {
        return fromRaw(scaled(negative ? -fifths : fifths, -1));
    } catch (const DbError &) {
        return std::nullopt;
    }
}

QString Currency::toString() const
{
    const quint64 magnitude = m_raw < 0 ? 0 - quint64(m_raw) : quint64(m_raw);
    QString text = QString::number(magnitude / 10000);
    if (const quint64 fraction = magnitude % 10000) {
        QString decimals = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += QLatin1Char('.') + decimals;
    }
    return m_raw < 0 ? QLatin1Char('-') + text : text;
}

Currency Currency::operator*(double factor) const
{
    // Exact product of the amount and the factor's 15-digit form, rounded once.
    const vb::DecimalForm form = formOf(factor);
    return fromRaw(scaled(Wide(m_raw) * form.mantissa, form.exponent));
}
