#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

// Money: a 64-bit count of ten-thousandths, as the suite stores it. Never a bare double.
class Currency
{
public:
    constexpr Currency() = default;

    static constexpr Currency fromRaw(qint64 tenThousandths) { Currency c; c.m_raw = tenThousandths; return c; }
    // Rounded half away from zero to four decimals, on the value's 15-significant-digit form.
    // NaN, infinity or a value out of range throws DbError 6 "Overflow".
    static Currency fromDouble(double value);
    // Accepts "1,234.50", "-3", "+3", ".5", "5.", " 12 " (commas only between digits before the
    // point); nothing else. More than four decimals are rounded half away from zero; out of range
    // gives none.
    static std::optional<Currency> parse(const QString &text);

    constexpr qint64 raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / 10000.0; }
    // Plain decimal text without grouping or trailing zeros: "1234.5", "-0.25", "0".
    QString toString() const;

    constexpr Currency operator-() const { return fromRaw(-m_raw); }
    constexpr Currency operator+(Currency o) const { return fromRaw(m_raw + o.m_raw); }
    constexpr Currency operator-(Currency o) const { return fromRaw(m_raw - o.m_raw); }
    Currency &operator+=(Currency o) { m_raw += o.m_raw; return *this; }
    Currency &operator-=(Currency o) { m_raw -= o.m_raw; return *this; }
    // Scaled by a factor (quantity, percentage), rounded back to four decimals once, on the exact
    // product of the amount and the factor's 15-significant-digit form. Overflow as fromDouble.
    Currency operator*(double factor) const;

    // NOLINTNEXTLINE(modernize-use-nullptr): the analyser misreads a defaulted comparison
    constexpr auto operator<=>(const Currency &) const = default;

private:
    qint64 m_raw = 0;
};

Q_DECLARE_METATYPE(Currency)
