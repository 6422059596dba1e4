#include "OrderFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

struct Case
{
    const char *title;
    QByteArray content;
    QList<OrderRecord> expected;
};

} // namespace

static void PrintTo(const OrderRecord &r, std::ostream *os)
{
    *os << '{' << r.itemNo.toStdString() << ", " << r.quantity << '}';
}

TEST(OrderFile, RecordsSplitAtLineEndsCommasAndQuotes)
{
    const Case cases[] = {
        {"CR LF lines", "AB-S\t12\r\nAB-M\t24\r\n", {{"AB-S", 12}, {"AB-M", 24}}},
        {"last line without line end", "AB-S\t12\r\nHD-L\t8", {{"AB-S", 12}, {"HD-L", 8}}},
        {"bare LF and bare CR", "A\t1\nB\t2\rC\t3", {{"A", 1}, {"B", 2}, {"C", 3}}},
        {"no TAB: quantity 0", "ABC\r\n", {{"ABC", 0}}},
        {"decimal quantity", "ABC\t2.5\r\n", {{"ABC", 2.5}}},
        {"quantity not a number", "ABC\tx\r\n", {{"ABC", 0}}},
        {"letter O for zero", "ABC\t1O\r\n", {{"ABC", 0}}},
        {"a comma splits the line", "ABC\t1,5\r\n", {{"ABC", 1}, {"5", 0}}},
        {"quoted record keeps comma and line end", "\"AB,C\t3\"\r\n\"X\r\nY\t2\"",
         {{"AB,C", 3}, {"X\r\nY", 2}}},
        {"text after the closing quote is dropped", "\"AB\t4\"junk,CD\t1", {{"AB", 4}, {"CD", 1}}},
        {"unclosed quote runs to the end", "\"AB\t4\r\nCD\t1", {{"AB", 0}}},
        {"quote inside a record is plain text", "A\"B\t2", {{"A\"B", 2}}},
        {"blank line in the middle is an empty record", "A\t1\r\n\r\nB\t2", {{"A", 1}, {"", 0}, {"B", 2}}},
        {"only the first TAB splits", "A\t2\t3", {{"A", 0}}},
        {"blanks around the quantity", "A\t 7 ", {{"A", 7}}},
        {"single-byte text", "CAF\xC9\t1", {{QString::fromLatin1("CAF\xC9"), 1}}},
        {"empty file", "", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseOrderRecords(c.content), c.expected) << c.title;
}

TEST(OrderFile, ReadsFileAndReportsOneThatCannotBeOpened)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("A1T2B.ord");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("AB-M\t12\r\nGC25\t2\r\n");
    file.close();
    EXPECT_EQ(ReadOrderFile(path).size(), 2);

    try {
        ReadOrderFile(dir.filePath("missing.ord"));
        FAIL() << "a missing file must not read as an empty order";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find("missing.ord"), std::string::npos);
    }
}
