#include "OrderFile.h"

#include <gtest/gtest.h>
#include <stdexcept>

static void PrintTo(const OrderRecord &r, std::ostream *os)
{
    *os << '{' << r.itemNo.toStdString() << ", " << r.quantity << '}';
}

TEST(OrderFile, RecordsSplitAtLineEndsCommasAndQuotes)
{
    const struct
    {
        QByteArray content;
        QList<OrderRecord> expected;
    } cases[] = {
        {"AB-S\t12\r\nAB-M\t24\r\n", {{"AB-S", 12}, {"AB-M", 24}}},
        {"A\t1\nB\t2\rC\t3", {{"A", 1}, {"B", 2}, {"C", 3}}},          // bare LF, bare CR, no last line end
        {"ABC\r\nD\t2.5\r\nE\tx\r\nF\t1O", {{"ABC", 0}, {"D", 2.5}, {"E", 0}, {"F", 0}}},
        {"ABC\t1,5\r\n", {{"ABC", 1}, {"5", 0}}},                      // a comma splits the line
        {"\"AB,C\t3\"\r\n\"X\r\nY\t2\"junk,Z", {{"AB,C", 3}, {"X\r\nY", 2}, {"Z", 0}}},
        {"\"AB\t4\r\nCD\t1", {{"AB", 0}}},                             // unclosed quote runs to the end
        {"A\t1\r\n\r\nB\t2", {{"A", 1}, {"", 0}, {"B", 2}}},           // a blank line is an empty record
        {"A\t2\t3\r\nB\t 7 ", {{"A", 0}, {"B", 7}}},
        {"CAF\xC9\t1", {{QString::fromLatin1("CAF\xC9"), 1}}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseOrderRecords(c.content), c.expected) << c.content.toStdString();
    EXPECT_THROW(ReadOrderFile("/nonexistent/A1T2B.ord"), std::runtime_error);
}
