#include "pageengine/PageEngineFixture.h"
#include "pageengine/PageTable.h"

#include <QSet>
#include <gtest/gtest.h>

constexpr double Pad = PageEngine::CellPadding;

TEST(PageTable, FormatsGiveWidthsAndAlignments)
{
    using A = PageTable::Align;
    struct Case { const char *format; QVector<double> widths; QVector<A> aligns; };
    const Case cases[] = {
        {"^1440|<4460|>1000;", {1440, 4460, 1000}, {A::Centre, A::Left, A::Right}},
        {">1600|>1600", {1600, 1600}, {A::Right, A::Right}},          // no ";"
        {"6600|>2000|>1800", {6600, 2000, 1800}, {A::Left, A::Right, A::Right}}, // first without mark
        {">539.5|<2158|^1618.5;", {539.5, 2158, 1618.5}, {A::Right, A::Left, A::Centre}},
        {"10800", {10800}, {A::Left}},
        {" <100 | >20 ; ", {100, 20}, {A::Left, A::Right}},
    };
    for (const Case &c : cases) {
        const auto columns = PageTable::parseFormat(c.format);
        ASSERT_TRUE(columns.has_value()) << c.format;
        ASSERT_EQ(columns->size(), c.widths.size()) << c.format;
        for (int i = 0; i < c.widths.size(); ++i) {
            EXPECT_DOUBLE_EQ(columns->at(i).width, c.widths[i]) << c.format << " column " << i;
            EXPECT_EQ(columns->at(i).align, c.aligns[i]) << c.format << " column " << i;
        }
    }
    for (const char *bad : {"", ";", "<abc|>100", "^", "100|-5", "1,000"})
        EXPECT_FALSE(PageTable::parseFormat(bad).has_value()) << bad;
}

TEST(PageTable, RowsEndAtSemicolonsAndAtTheEnd)
{
    struct Case { const char *text; QVector<QStringList> rows; };
    const Case cases[] = {
        {"", {}},
        {";", {{""}}},
        {"a|b;c|d;", {{"a", "b"}, {"c", "d"}}},
        {"a|b", {{"a", "b"}}},
        {"a;;b", {{"a"}, {""}, {"b"}}},
        {"x|", {{"x", ""}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PageTable::parseRows(c.text), c.rows) << c.text;
}

TEST(PageEngineTable, CellsFollowColumnWidthsAndAlignmentMarks)
{
    Engine t;
    t.e.setCurrentY(2000);
    ASSERT_TRUE(t.e.AddTable("<2000|^2000|>2000|539.5|<1000;", "", "AB|CD|EF|G|H;"));
    const double w2 = 2 * Courier12;
    EXPECT_NEAR(t.find("AB")->x, 720 + Pad, 0.01);
    EXPECT_NEAR(t.find("CD")->x, 2720 + (2000 - w2) / 2, 0.01);
    EXPECT_NEAR(t.find("EF")->right(), 6720 - Pad, 0.01);
    EXPECT_NEAR(t.find("G")->x, 6720 + Pad, 0.01);
    EXPECT_NEAR(t.find("H")->x, 7259.5 + Pad, 0.01);
    for (const char *text : {"AB", "CD", "EF", "G", "H"})
        EXPECT_DOUBLE_EQ(t.find(text)->baseline, 2000) << text;
    EXPECT_NEAR(t.e.CurrentY(), 2000 + t.lh(), 0.01);
    EXPECT_DOUBLE_EQ(t.e.CurrentX(), 720);
}

TEST(PageEngineTable, ExtraCellsAreDroppedHeadersAddRowsAndBadFormatsWriteNothing)
{
    Engine t;
    t.e.setCurrentY(3000);
    EXPECT_FALSE(t.e.AddTable("<abc", "", "x;"));
    EXPECT_DOUBLE_EQ(t.e.CurrentY(), 3000);
    // The information row of a sales order carries one cell more than its seven columns.
    t.e.AddTable("^2000|^1440|^1440|^1440|^1440|^1440|^1440;", "", "PO1|NET|JS|01/02/26|UPS|DEST||;");
    EXPECT_EQ(t.e.document().pages[0].texts(), (QStringList{"PO1", "NET", "JS", "01/02/26", "UPS", "DEST"}));
    t.e.AddTable("<1000|<1000;", "H1|H2;", "a|b;c|d;");
    EXPECT_NEAR(t.find("H1")->baseline, 3000 + t.lh(), 0.01);
    EXPECT_NEAR(t.find("c")->baseline, 3000 + 3 * t.lh(), 0.01);
    EXPECT_NEAR(t.e.CurrentY(), 3000 + 4 * t.lh(), 0.01);
}

TEST(PageEngineTable, CellsWrapAtLineBreaksAndAtTheColumnWidth)
{
    Engine t;
    t.e.setCurrentY(1000);
    // Room inside a 1000 column is 940: six Courier characters.
    t.e.AddTable("<1000|<3000|<1000;", "", "AAA BBB CCC|LINE1\rLINE2\r\nLINE3|ABCDEFGHIJ;");
    const QStringList texts = t.e.document().pages[0].texts();
    EXPECT_EQ(texts, (QStringList{"AAA", "BBB", "CCC", "LINE1", "LINE2", "LINE3", "ABCDEF", "GHIJ"}));
    EXPECT_NEAR(t.find("CCC")->baseline, 1000 + 2 * t.lh(), 0.01);
    EXPECT_NEAR(t.find("LINE3")->baseline, 1000 + 2 * t.lh(), 0.01);
    EXPECT_NEAR(t.find("GHIJ")->baseline, 1000 + t.lh(), 0.01);
    EXPECT_NEAR(t.e.CurrentY(), 1000 + 3 * t.lh(), 0.01); // the tallest cell sets the row

    // Leading blanks indent (matrix cells); ten-character amounts fit a 1500 column.
    t.e.AddTable("<3000|>1500;", "", "     S     RED|123,456.78;");
    EXPECT_NEAR(t.find("     S     RED")->x, 720 + Pad, 0.01);
    EXPECT_NO_THROW(t.find("123,456.78"));
}

TEST(PageEngineTable, RowsThatDoNotFitMoveToANewPageWithTheHeaderRepeated)
{
    Engine t;
    const double bottom = 15840 - 720;
    const double lh = t.lh();
    // Room for exactly two rows under the header.
    const double start = bottom - 3 * lh + t.asc() - 1;
    t.e.setCurrentY(start);
    t.e.AddTable("<2000|<2000;", "ITEM|QTY;", "A1|1;A2|2;A3|3;A4|4;");
    ASSERT_EQ(t.e.PageCount(), 2);
    EXPECT_EQ(t.e.document().pages[0].texts(), (QStringList{"ITEM", "QTY", "A1", "1", "A2", "2"}));
    EXPECT_EQ(t.e.document().pages[1].texts(), (QStringList{"ITEM", "QTY", "A3", "3", "A4", "4"}));
    // Continued rows start with their top at the top margin.
    EXPECT_NEAR(t.find("ITEM", 2)->y, 720, 0.01);
    EXPECT_NEAR(t.find("A3", 2)->y, 720 + lh, 0.01);
    EXPECT_NEAR(t.e.CurrentY(), 720 + 3 * lh + t.asc(), 0.01);
    EXPECT_DOUBLE_EQ(t.e.CurrentX(), 720);
    for (const PageData &page : t.e.document().pages)
        for (const PageItem &item : page.items)
            EXPECT_LE(item.y + lh, bottom + 0.5) << item.text.toStdString();
}

TEST(PageEngineTable, AHeaderNeverStaysAloneAtTheFootOfAPage)
{
    Engine t;
    t.e.setCurrentY(15840 - 720 - 1.5 * t.lh() + t.asc()); // room for the header, not for a row
    t.e.AddTable("<3000;", "HEAD;", "ROW1;ROW2;");
    EXPECT_TRUE(t.e.document().pages[0].items.isEmpty());
    EXPECT_EQ(t.e.document().pages[1].texts(), (QStringList{"HEAD", "ROW1", "ROW2"}));
}

TEST(PageEngineTable, ARowTallerThanAPageIsSplitBetweenLines)
{
    Engine t;
    QStringList lines;
    for (int i = 1; i <= 100; ++i)
        lines << QStringLiteral("L%1").arg(i);
    t.e.setCurrentY(5000);
    t.e.AddTable("<3000;", "", lines.join('\r') + ";");
    const double lh = t.lh();
    const int firstPage = int((15120 - (5000 - t.asc())) / lh);
    const int fullPage = int((15120 - 720) / lh);
    ASSERT_EQ(t.e.PageCount(), 3);
    EXPECT_EQ(t.e.document().pages[0].items.size(), firstPage);
    EXPECT_EQ(t.e.document().pages[1].items.size(), fullPage);
    EXPECT_EQ(t.e.document().pages[2].items.size(), 100 - firstPage - fullPage);
    EXPECT_NEAR(t.e.CurrentY(), 720 + (100 - firstPage - fullPage) * lh + t.asc(), 0.01);
}

TEST(PageEngineTable, RightAlignedTablesEndAtTheRightMarginButNotLeftOfCurrentX)
{
    Engine t;
    // Sales order totals: CurrentX = 12240 - ML - MR - 4000, TextAlign 2.
    t.e.setCurrentX(12240 - 720 - 720 - 4000);
    t.e.setCurrentY(13920);
    t.e.setTextAlign(2);
    t.e.AddTable(">1600|>1600", "", "Sub Total|1,234.50;", QVariant(), QVariant(), false);
    t.e.AddTable(">1600|>1600", "", "TOTAL|99.00;");
    EXPECT_NEAR(t.find("Sub Total")->right(), 11520 - 1600 - Pad, 0.01);
    EXPECT_NEAR(t.find("1,234.50")->right(), 11520 - Pad, 0.01);
    EXPECT_NEAR(t.find("99.00")->right(), 11520 - Pad, 0.01);
    EXPECT_NEAR(t.find("TOTAL")->y, 13920 + t.lh(), 0.01);

    // Wider than the room right of CurrentX: starts at CurrentX.
    t.e.setCurrentX(720);
    t.e.setTextAlign(7);
    t.e.AddTable("<5740|<5740;", "", "BILL TO:|SHIP TO:;");
    EXPECT_NEAR(t.find("BILL TO:")->x, 720 + Pad, 0.01);

    // TextAlign 8 (still set from the title): the date box is centred in the room right of
    // CurrentX; the first table fills that room exactly, the second one stays inside the box.
    t.e.setTextAlign(8);
    t.e.setCurrentX(12240 - 720 - 3080);
    t.e.AddTable("^1440|^1640;", "", "DATE|ORDER NO;");
    EXPECT_NEAR(t.find("DATE")->x, 8440 + (1440 - 4 * Courier12) / 2, 0.01);
    t.e.setCurrentX(12240 - 720 - 2880);
    t.e.AddTable("^1440|^1640;", "", "01/15/26|SO00001234;");
    EXPECT_NEAR(t.find("01/15/26")->x, 8540 + (1440 - 8 * Courier12) / 2, 0.01);
    EXPECT_LT(t.find("01/15/26")->right(), 8440 + 1440); // clear of the box's inner rule
    EXPECT_LE(t.find("SO00001234")->right(), 11520 + 0.5); // inside the box's right edge
}

TEST(PageEngineTable, BorderSixDrawsABoxColumnLinesAndAHeaderLine)
{
    Engine t;
    t.e.AddTable("<1000|<2000;", "", "a|b;");
    EXPECT_EQ(t.e.document().pages[0].items.size(), 2); // border 0: no rules
    t.e.setTableBorder(6);
    t.e.setCurrentY(2000);
    t.e.AddTable("<1000|<2000|<500;", "H|I|J;", "a|b|c;");
    const double top = 2000 - t.asc();
    QSet<double> verticals, horizontals;
    for (const PageItem &r : t.e.document().pages[0].items) {
        if (r.kind == PageItem::Kind::Rule && r.x == r.x2 && r.y == top && std::abs(r.y2 - (top + 2 * t.lh())) < 0.01)
            verticals << r.x;
        else if (r.kind == PageItem::Kind::Rule && r.x == 720 && r.x2 == 4220 && r.y == r.y2)
            horizontals << std::round(r.y - top);
    }
    EXPECT_EQ(verticals, (QSet<double>{720, 1720, 3720, 4220}));
    EXPECT_EQ(horizontals, (QSet<double>{0, std::round(t.lh()), std::round(2 * t.lh())}));
    EXPECT_EQ(t.e.document().pages[0].items.size(), 2 + 6 + 7);
}

TEST(PageEngineTable, CellsHoldingSeparatorsStayWholeInTheirColumnAndRow)
{
    // Stored values as an order may hold them, in the header, in body rows and in a one-row table.
    Engine t;
    const QString format = "<2000|<3600|>2000;";
    t.e.setCurrentY(2000);
    ASSERT_TRUE(t.e.AddTableCells(format, {{"ITEM|NO", "DESC;", "QTY"}},
                                  {{"MUG-12", "Mug; 12 oz | blue", "1|2;"}, {"C;1001", "Smith; Jones | Co", ";"}}));
    ASSERT_TRUE(t.e.AddTableRow(format, {"|", "A|B;C", ""}));
    const QVector<QStringList> expected = {
        {"ITEM|NO", "DESC;", "QTY"},
        {"MUG-12", "Mug; 12 oz | blue", "1|2;"},
        {"C;1001", "Smith; Jones | Co", ";"},
        {"|", "A|B;C", ""},
    };
    QStringList all;
    for (int row = 0; row < expected.size(); ++row) {
        const QStringList &cells = expected[row];
        EXPECT_NEAR(t.find(cells[0])->x, 720 + Pad, 0.01) << row;
        EXPECT_NEAR(t.find(cells[1])->x, 2720 + Pad, 0.01) << row;
        if (!cells[2].isEmpty()) {
            EXPECT_NEAR(t.find(cells[2])->right(), 8320 - Pad, 0.01) << row;
        }
        for (const QString &cell : cells) {
            if (!cell.isEmpty()) {
                EXPECT_NEAR(t.find(cell)->baseline, 2000 + row * t.lh(), 0.01) << cell.toStdString();
                all << cell;
            }
        }
    }
    EXPECT_EQ(t.e.document().pages[0].texts(), all); // nothing split off, nothing added
    EXPECT_NEAR(t.e.CurrentY(), 2000 + 4 * t.lh(), 0.01);
    EXPECT_FALSE(t.e.AddTableRow("<abc", {"x"}));
}
