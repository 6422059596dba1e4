#include "runtime/Currency.h"
#include "runtime/DbError.h"

#include <QVariant>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr qint64 maxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 minRaw = std::numeric_limits<qint64>::min();

TEST(Currency, FromDoubleRoundsHalfAwayOnFifteenDigits)
{
    const struct { double value; qint64 raw; } cases[] = {
        {0, 0},          {1234.5, 12345000},       {2.67505, 26751},    {1.00005, 10001},
        {-1.00005, -10001}, {0.1 + 0.2, 3000},     {-0.00004, 0},       {0.00005, 1},
        {19.99 * 3, 599700}, {922337203685477.0, 9223372036854770000},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Currency::fromDouble(c.value).raw(), c.raw) << c.value;
    for (double bad : {1e15, -1e15, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_THROW(Currency::fromDouble(bad), DbError) << bad;
}

TEST(Currency, Parse)
{
    const struct { const char *text; qint64 raw; } good[] = {
        {"1,234.50", 12345000}, {"-3", -30000},  {"+3", 30000},       {".5", 5000},
        {" 12 ", 120000},       {"5.", 50000},   {"1.23455", 12346},  {"-1.23455", -12346},
        {"0.00004", 0},         {"0", 0},        {"1,000,000", 10000000000},
        {"922337203685477.5807", maxRaw}, {"-922337203685477.5808", minRaw},
    };
    for (const auto &c : good)
        EXPECT_EQ(Currency::parse(QString::fromLatin1(c.text)), Currency::fromRaw(c.raw)) << c.text;
    for (const char *bad : {"", " ", "-", ".", "1e3", "abc", "1,", ",1", "1 2", "922337203685477.5808",
                            "$5", "1.2.3", "--1", "99999999999999999999999999999999999"})
        EXPECT_FALSE(Currency::parse(QString::fromLatin1(bad)).has_value()) << bad;
}

TEST(Currency, ToStringRoundTrips)
{
    const struct { qint64 raw; const char *text; } cases[] = {
        {12345000, "1234.5"}, {-2500, "-0.25"}, {0, "0"}, {1, "0.0001"}, {30000, "3"},
        {minRaw, "-922337203685477.5808"}, {maxRaw, "922337203685477.5807"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Currency::fromRaw(c.raw).toString().toStdString(), c.text);
        EXPECT_EQ(Currency::parse(Currency::fromRaw(c.raw).toString()), Currency::fromRaw(c.raw));
    }
}

TEST(Currency, ArithmeticStaysExact)
{
    const Currency a = Currency::fromRaw(1); // 0.0001
    Currency sum;
    for (int i = 0; i < 10000; ++i)
        sum += a;
    EXPECT_EQ(sum, Currency::fromRaw(10000));
    EXPECT_EQ(Currency::fromRaw(5) - Currency::fromRaw(7), -Currency::fromRaw(2));
    EXPECT_LT(Currency::fromRaw(-1), Currency());

    const struct { qint64 raw; double factor; qint64 expected; } products[] = {
        {11500, 3, 34500},          // 1.15 * 3 = 3.45 although the doubles say 3.4499...
        {100000, 0.075, 7500},      // 10.00 * 7.5 %
        {1, 0.5, 1},                // half of a ten-thousandth rounds away from zero
        {-1, 0.5, -1},
        {199900, 1.0 / 3, 66633},
        {9000000000000000000, 1.0, 9000000000000000000}, // beyond a double's 53 bits
        {12345, 0, 0},
    };
    for (const auto &p : products)
        EXPECT_EQ((Currency::fromRaw(p.raw) * p.factor).raw(), p.expected) << p.raw << " * " << p.factor;
    EXPECT_THROW(Currency::fromRaw(maxRaw / 2) * 3.0, DbError);
    EXPECT_THROW(Currency::fromRaw(1) * std::nan(""), DbError);
}

TEST(Currency, TravelsInAVariant)
{
    const QVariant v = QVariant::fromValue(Currency::fromRaw(-26750));
    EXPECT_EQ(v.metaType(), QMetaType::fromType<Currency>());
    EXPECT_EQ(v.value<Currency>(), Currency::fromRaw(-26750));
}

} // namespace
