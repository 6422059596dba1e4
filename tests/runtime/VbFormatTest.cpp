#include "runtime/Currency.h"
#include "runtime/DbError.h"
#include "runtime/VbFormat.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct NumberCase
{
    double value;
    const char *pattern;
    const char *expected;
};

TEST(VbFormat, FormatNumberPatterns)
{
    const NumberCase cases[] = {
        {0, "###,###.00", ".00"},
        {0.5, "###,###.00", ".50"},
        {1234.5, "###,###.00", "1,234.50"},
        {-1234.5, "###,###.00", "-1,234.50"},
        {12345.678, "###,###.00", "12,345.68"},
        {2.675, "###,###.00", "2.68"}, // the double is just below 2.675
        {-2.675, "###,###.00", "-2.68"},
        {1.005, "###,###.00", "1.01"},
        {999.995, "###,###.00", "1,000.00"},
        {1234567.891, "###,###.00", "1,234,567.89"},
        {0.004, "###,###.00", ".00"},
        {-0.004, "###,###.00", ".00"}, // rounds to zero: no minus sign
        {-0.005, "###,###.00", "-.01"},
        {1e20, "###,###.00", "100,000,000,000,000,000,000.00"},
        {1.2345, "######.000", "1.235"},
        {0, "######.000", ".000"},
        {1234567.5, "######.000", "1234567.500"},
        {12.3, "####.00", "12.30"},
        {0, "###,##0.00", "0.00"},
        {0.5, "###,##0.00", "0.50"},
        {1234, "###,##0.00", "1,234.00"},
        {-0.5, "######.00", "-.50"},
        {5, "###,###,#00.00", "05.00"},
        {1234567, "###,###,#00.00", "1,234,567.00"},
        {12, "0000", "0012"},
        {12345, "0000", "12345"},
        {0, "0000", "0000"},
        {12.5, "0000", "0013"},
        {-12, "0000", "-0012"},
        {0, "###0", "0"},
        {1234, "###0", "1234"},
        {7.5, "#####0", "8"},
        {5, "-(###0", "-(5"},
        {1234, "-(###0", "-(1234"},
        {12, "", "12"},
        {0.5, "", "0.5"},
        {-1.25, "", "-1.25"},
        {1.5, "#.##", "1.5"},
        {1, "#.##", "1."},
        {12.5, ".00", "12.50"},
        {123456789012345678.0, "0", "123456789012346000"},
    };
    for (const NumberCase &c : cases)
        EXPECT_EQ(vb::formatNumber(c.value, QString::fromLatin1(c.pattern)).toStdString(), c.expected)
            << c.value << " with " << c.pattern;
}

TEST(VbFormat, IgnoresTheMachineLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(vb::formatNumber(1234.5, QStringLiteral("###,###.00")).toStdString(), "1,234.50");
    EXPECT_EQ(vb::Val(QStringLiteral("1.5")), 1.5);
    EXPECT_EQ(vb::parseNumber(QStringLiteral("1,234.5")), 1234.5);
    QLocale::setDefault(saved);
}

TEST(VbFormat, NonFiniteNumbersOverflow)
{
    EXPECT_THROW(vb::formatNumber(std::numeric_limits<double>::infinity(), QStringLiteral("0")), DbError);
    EXPECT_THROW(vb::Str(std::nan("")), DbError);
}

TEST(VbFormat, RoundHalfAwayOnFifteenDigits)
{
    const struct { double value; int decimals; double expected; } cases[] = {
        {2.675, 2, 2.68}, {-2.675, 2, -2.68}, {1.005, 2, 1.01}, {0.125, 2, 0.13}, {1234.5, 0, 1235},
        {-0.5, 0, -1},    {0.1 + 0.2, 1, 0.3}, {1.23449, 3, 1.234}, {1e300, 2, 1e300}, {0, 2, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vb::roundHalfAway(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
}

TEST(VbFormat, Str)
{
    const struct { double value; const char *expected; } cases[] = {
        {0.5, " .5"},  {-3, "-3"}, {5, " 5"}, {2.5, " 2.5"}, {0, " 0"}, {-0.5, "-.5"},
        {0.1 + 0.2, " .3"}, {1.0 / 3, " .333333333333333"}, {123456789012345, " 123456789012345"},
        {1e15, " 1E+15"}, {-1234567890123456.0, "-1.23456789012346E+15"}, {0.0001, " .0001"},
        {0.00001, " 1E-05"}, {1.5e-10, " 1.5E-10"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vb::Str(c.value).toStdString(), c.expected) << c.value;
}

TEST(VbFormat, Val)
{
    const struct { const char *text; double expected; } cases[] = {
        {"", 0},       {"12abc", 12},    {"1,5", 1},      {"1 2", 12},      {" -3.5 ", -3.5},
        {"\t7\n8", 78}, {"1e3", 1000},   {"1D2", 100},    {"1e", 1},        {"1e+", 1},
        {"2.5E-1", 0.25}, {".5", 0.5},   {"-.5", -0.5},   {"+4", 4},        {"--4", 0},
        {"1.2.3", 1.2}, {"abc", 0},      {"- 5", -5},     {"1 e 2", 100},   {"1e-999", 0},
        {"12\r", 12},  {"5-3", 5},       {"0x10", 0},     {"007", 7},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vb::Val(QString::fromLatin1(c.text)), c.expected) << '"' << c.text << '"';
    EXPECT_THROW(vb::Val(QStringLiteral("1e999")), DbError);
}

TEST(VbFormat, ParseNumberAcceptsWholeNumbersOnly)
{
    const struct { const char *text; double expected; } good[] = {
        {"1,234.50", 1234.5}, {"  12 ", 12}, {"-3", -3}, {"+3", 3}, {".5", 0.5}, {"5.", 5},
        {"1e3", 1000}, {"1.5D2", 150}, {"-1,234,567.25", -1234567.25}, {"1E-999", 0}, {"\t8\t", 8},
    };
    for (const auto &c : good)
        EXPECT_EQ(vb::parseNumber(QString::fromLatin1(c.text)), std::optional<double>(c.expected)) << c.text;
    for (const char *bad : {"", " ", "x", "1O", "1 2", ",5", "1,", "1..2", "1.2.3", "1e", "--1", "- 1",
                            "1e999", "$5", "5-", ".", "1,,2", "12abc"})
        EXPECT_FALSE(vb::parseNumber(QString::fromLatin1(bad)).has_value()) << '"' << bad << '"';
}

TEST(VbFormat, IsNumeric)
{
    EXPECT_FALSE(vb::IsNumeric(QVariant()));
    EXPECT_FALSE(vb::IsNumeric(QVariant(QMetaType::fromType<int>())));
    EXPECT_TRUE(vb::IsNumeric(5));
    EXPECT_TRUE(vb::IsNumeric(2.5));
    EXPECT_TRUE(vb::IsNumeric(true));
    EXPECT_TRUE(vb::IsNumeric(QVariant::fromValue(Currency::fromRaw(5))));
    EXPECT_TRUE(vb::IsNumeric(QStringLiteral(" 1,234.5 ")));
    EXPECT_FALSE(vb::IsNumeric(QStringLiteral("abc")));
    EXPECT_FALSE(vb::IsNumeric(QString()));
    EXPECT_FALSE(vb::IsNumeric(QDate(2003, 12, 31)));
}

TEST(VbFormat, DatePatterns)
{
    const QDateTime when(QDate(2003, 12, 31), QTime(9, 5, 3));
    const QDateTime afternoon(QDate(2004, 1, 2), QTime(13, 7, 0));
    const QDateTime newYear1900(QDate(1900, 1, 1), QTime(12, 36, 5));
    const struct { const QDateTime &value; const char *pattern; const char *expected; } cases[] = {
        {when, "mm/dd/yy", "12/31/03"},
        {when, "MM/DD/YYYY", "12/31/2003"},
        {when, "MM/DD/YYYY   ", "12/31/2003   "},
        {when, "mmddyyyy", "12312003"},
        {when, "mm/dd/yyyy", "12/31/2003"},
        {when, "MM/DD/YY", "12/31/03"},
        {when, "h:m:s", "9:5:3"},
        {when, "hh:mm", "09:05"},
        {when, "HH:MM:SS", "09:05:03"},
        {when, "HH:MM:SS   ", "09:05:03   "},
        {when, "m/d/yyyy hh:nn:ss", "12/31/2003 09:05:03"},
        {when, "mm/dd hh:mm", "12/31 09:05"},
        {when, "h.m", "9.5"},        // minutes after an hour, whatever literals between
        {when, "hh\"h and \"mm", "09h and 05"},
        {when, "hh\\hmm\\", "09h05"},
        {when, "hh:ss mm", "09:03 12"}, // the nearest field before is not the hour: month
        {newYear1900, "mm:ss", "01:05"}, // a month also right before seconds
        {when, "hh:nn", "09:05"},
        {when, "yyyy-mm-dd", "2003-12-31"},
        {when, "dddd, mmmm d", "Wednesday, December 31"},
        {when, "ddd mmm", "Wed Dec"},
        {afternoon, "m/d/yy", "1/2/04"},
        {afternoon, "h:nn AM/PM", "1:07 PM"},
        {afternoon, "hh:nn am/pm", "01:07 pm"},
        {when, "[x] at ", "[x] at "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vb::formatDateTime(c.value, QString::fromLatin1(c.pattern)).toStdString(), c.expected)
            << c.pattern;
    EXPECT_EQ(vb::formatDateTime(QDateTime(), QStringLiteral("mm/dd/yy")), QString());
}

TEST(VbFormat, FormatOfStoredValues)
{
    const QVariant nullText(QMetaType::fromType<QString>());
    const struct { QVariant value; const char *pattern; const char *expected; } cases[] = {
        {QVariant(), "###,###.00", ""},
        {nullText, "mm/dd/yy", ""},
        {QStringLiteral("2003-12-31"), "mm/dd/yy", "12/31/03"},
        {QStringLiteral("2003-12-31 14:05:09"), "HH:MM:SS", "14:05:09"},
        {QStringLiteral("2003-12-31T14:05:09"), "MM/DD/YYYY", "12/31/2003"},
        {QStringLiteral("12/31/2003"), "mmddyyyy", "12312003"},
        {QDate(2003, 12, 31), "mm/dd/yy", "12/31/03"},
        {QDateTime(QDate(2003, 12, 31), QTime(14, 5, 9)), "h:m:s", "14:5:9"},
        {QTime(9, 5, 3), "h:m:s", "9:5:3"},
        {12, "0000", "0012"},
        {qlonglong(1234567), "###,###.00", "1,234,567.00"},
        {qlonglong(1234567890123456789), "0", "1234567890123456789"},
        {qlonglong(1234567890123456789), "", "1234567890123456789"},
        {QVariant::fromValue(Currency::fromRaw(-26750)), "", "-2.675"},
        {1e20, "", "1E+20"},
        {0.5, "###,###.00", ".50"},
        {QVariant::fromValue(Currency::fromRaw(26750)), ".00", "2.68"},
        {QVariant::fromValue(Currency::fromRaw(-12345000)), "###,###.00", "-1,234.50"},
        {QStringLiteral("1234.5"), "###,###.00", "1,234.50"},
        {QStringLiteral(" 12 "), "0000", "0012"},
        {QStringLiteral("abc"), "###", "abc"},
        {QStringLiteral(""), "###,###.00", ""},
        {QStringLiteral("0012"), "", "0012"},
        {QDate(2003, 12, 31), "", "12/31/2003"},
        {QDateTime(QDate(2003, 12, 31), QTime(14, 5, 9)), "", "12/31/2003 2:05:09 PM"},
        {true, "0", "-1"},
        // Numbers and numeric texts with a date pattern are date serials.
        {45000.75, "mm/dd/yy", "03/15/23"},
        {45000.75, "hh:mm", "18:00"},
        {QStringLiteral(" 45,000.75 "), "mm/dd/yy hh:mm", "03/15/23 18:00"},
        {45000, "m/d/yyyy", "3/15/2023"},
        {QVariant::fromValue(Currency::fromRaw(450007500)), "hh:nn", "18:00"},
        {0, "mm/dd/yyyy hh:nn:ss", "12/30/1899 00:00:00"},
        {-1.25, "mm/dd/yyyy hh:nn", "12/29/1899 06:00"},
        {45000.1, "h:m:s", "2:24:0"},
        {45000.9999999, "mm/dd/yy h:m:s", "03/16/23 0:0:0"}, // rounds to the next midnight
        {QStringLiteral("abc"), "mm/dd/yy", "abc"},
        {QDate(), "mm/dd/yy", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vb::format(c.value, QString::fromLatin1(c.pattern)).toStdString(), c.expected)
            << c.value.toString().toStdString() << " with " << c.pattern;
    for (const QVariant &outside : {QVariant(2958466.0), QVariant(-657435.0), QVariant(std::nan("")), QVariant(1e10)})
        EXPECT_THROW(vb::format(outside, QStringLiteral("mm/dd/yyyy")), DbError) << outside.toDouble();
    EXPECT_EQ(vb::format(2958465.5, QStringLiteral("mm/dd/yyyy hh:nn")).toStdString(), "12/31/9999 12:00");
    EXPECT_EQ(vb::format(-657434.0, QStringLiteral("mm/dd/yy")).toStdString(), "01/01/00");
}

TEST(VbFormat, ToDateTime)
{
    const struct { const char *text; QDateTime expected; } good[] = {
        {"2003-12-31", QDateTime(QDate(2003, 12, 31), QTime(0, 0))},
        {"2003-12-31 10:05:06", QDateTime(QDate(2003, 12, 31), QTime(10, 5, 6))},
        {"2003-12-31T10:05:06", QDateTime(QDate(2003, 12, 31), QTime(10, 5, 6))},
        {"2003-12-31 10:05:06.789", QDateTime(QDate(2003, 12, 31), QTime(10, 5, 6, 789))},
        {" 12/31/2003 ", QDateTime(QDate(2003, 12, 31), QTime(0, 0))},
        {"1/2/03", QDateTime(QDate(2003, 1, 2), QTime(0, 0))},
        {"12/31/29", QDateTime(QDate(2029, 12, 31), QTime(0, 0))},
        {"1/1/30", QDateTime(QDate(1930, 1, 1), QTime(0, 0))},
        {"12/31/2003 10:05 AM", QDateTime(QDate(2003, 12, 31), QTime(10, 5))},
        {"12/31/2003 12:00 AM", QDateTime(QDate(2003, 12, 31), QTime(0, 0))},
        {"12/31/2003 12:30:15 pm", QDateTime(QDate(2003, 12, 31), QTime(12, 30, 15))},
        {"10:05:00", QDateTime(QDate(1899, 12, 30), QTime(10, 5))},
    };
    for (const auto &c : good)
        EXPECT_EQ(vb::toDateTime(QString::fromLatin1(c.text)), std::optional<QDateTime>(c.expected)) << c.text;
    for (const char *bad : {"", "abc", "12", "2003-02-30", "13/01/2003", "25:00", "2003-12-31 25:00:00",
                            "12/31/2003 13:00 PM", "12/31/2003 x"})
        EXPECT_FALSE(vb::toDateTime(QString::fromLatin1(bad)).has_value()) << bad;
    EXPECT_FALSE(vb::toDateTime(37986).has_value());
    EXPECT_EQ(vb::toDateTime(QDate(2003, 12, 31)), QDateTime(QDate(2003, 12, 31), QTime(0, 0)));
    EXPECT_EQ(vb::toDateTime(QTime(9, 5)), QDateTime(QDate(1899, 12, 30), QTime(9, 5)));
}

} // namespace
