#include "StyleFixture.h"

namespace {

class RegularLayoutTest : public StyleTest
{
protected:
    void SetUp() override
    {
        StyleTest::SetUp();
        QList<Line> lines = plainLines(3);
        lines << Line{"POLO200", "Pique Polo Shirt", "m", 4, 0, 22, "BLACK", "S"}
              << Line{"POLO200", "Pique Polo Shirt", "m", 6, 0, 22, "BLACK", "M"};
        addOrder("SO001001", "C1003", lines);
        chooseRange("SO001001", "SO001001");
    }

    static void expectAll(const QStringList &texts, const QStringList &wanted)
    {
        for (const QString &text : wanted)
            EXPECT_TRUE(texts.contains(text)) << "missing: " << text.toStdString();
    }

    // Item rows (column one) in page order over the whole document.
    QStringList itemColumn(const QString &prefix)
    {
        QStringList items;
        for (int page = 0; page < previewed().pageCount(); ++page) {
            for (const QString &text : texts(page)) {
                if (text.startsWith(prefix))
                    items << text;
            }
        }
        return items;
    }
};

TEST_F(RegularLayoutTest, SalesOrderShowsEveryHeaderBandAndTheFoot)
{
    chooseSalesOrders();
    EXPECT_EQ(preview(), "");
    ASSERT_EQ(previewed().pageCount(), 1);
    expectAll(texts(0), {
        "SALES ORDER",                                                               // title
        "DATE", "ORDER NO", "12/04/26", "SO001001",                                  // date box
        "BILL TO ( Acct # : C1003 )", "SHIP TO",                                     // addresses
        "Blue Ridge Outfitters", "1200 Ridge Road", "Asheton, NC, 28801", "828-555-0112  Carla Jennings",
        "PO. NO", "TERMS", "REP", "SHIP", "VIA", "F.O.B", "DUE DATE",                // information table
        "PO-77", "NET30", "S01", "12/09/26", "GROUND", "ORIGIN",
        "ITEM NO", "DESCRIPTION", "QTY", "UNIT PRICE", "TOTAL",                      // column heading
        "ITEM002", "Article 2", " 2", "2.50", "5.00",                                 // item row
        "POLO200", "Pique Polo Shirt", "     BLACK     M", " 6", "22.00", "132.00",   // matrix item
        "Sub Total", "235.00", "Freight", "12.50", "Discount", "5.00", "242.50",     // totals
    });
    EXPECT_TRUE(texts(0).contains("** REMARKS **\nLeave at the back door"));
    // The order date stands under SHIP; the grand total is bold.
    const QList<PageItem> totals = itemsReading(0, "TOTAL");
    ASSERT_EQ(totals.size(), 2);
    EXPECT_FALSE(totals[0].bold);
    EXPECT_TRUE(totals[1].bold);
}

TEST_F(RegularLayoutTest, SalesOrderRulesStandWhereTheBandsPutThem)
{
    chooseSalesOrders();
    preview();
    const PageEngine &vs = form->preview().vsPrinter;
    const double ml = 720, right = 12240 - 720, bottom = vs.PageHeight() - 720;
    EXPECT_TRUE(hasRule(0, ml, 4320, right, 4320));             // top of the information table
    EXPECT_TRUE(hasRule(0, ml, bottom, right, bottom));         // foot of the item frame
    EXPECT_TRUE(hasRule(0, ml, bottom - 1400, right, bottom - 1400));
    // The date box hangs at the right margin, 3080 wide.
    const QList<PageItem> orderNo = itemsReading(0, "ORDER NO");
    ASSERT_EQ(orderNo.size(), 1);
    EXPECT_GE(orderNo[0].x, vs.PageWidth() - 720 - 3080 + 1440);
    EXPECT_LE(orderNo[0].right(), vs.PageWidth() - 720);
    // Totals end flush with the right margin.
    const QList<PageItem> grand = itemsReading(0, "242.50");
    ASSERT_EQ(grand.size(), 1);
    EXPECT_NEAR(grand[0].right(), vs.PageWidth() - 720 - PageEngine::CellPadding, 1);
}

TEST_F(RegularLayoutTest, PickingSheetLeadsTheDescriptionsToTheQuantity)
{
    choosePickingSheets();
    preview();
    const QStringList page = texts(0);
    expectAll(page, {"PICKING SHEET", "ITEM NO", "DESCRIPTION", "ORDER", "SHIPPED", "ITEM001", "POLO200", "_______"});
    EXPECT_FALSE(page.contains("Sub Total"));
    EXPECT_FALSE(page.contains("2.50")); // no prices on a picking sheet

    const PageEngine &vs = form->preview().vsPrinter;
    const QList<std::pair<QString, QChar>> leaders{{"Article 1 ", u'*'}, {"Pique Polo Shirt ", u'*'}, {"     BLACK     S ", u'-'}};
    for (const auto &[label, fill] : leaders) {
        const auto row = std::find_if(page.begin(), page.end(), [&](const QString &t) { return t.startsWith(label); });
        ASSERT_NE(row, page.end()) << label.toStdString();
        const QString stars = row->mid(label.size());
        EXPECT_GT(stars.size(), 5) << label.toStdString();
        EXPECT_EQ(stars, QString(stars.size(), fill));
        // The leader fills the column but one more fill character would pass it.
        const PageItem item = itemsReading(0, *row).first();
        EXPECT_LE(item.width, 4460 - 2 * PageEngine::CellPadding);
        EXPECT_GT(item.width + 2 * vs.MeasureText(QString(fill)), 4460 - vs.MeasureText(QString(fill)) - 1);
    }
}

TEST_F(RegularLayoutTest, LongOrderRepeatsTheWholeHeaderAndFootOnEveryPage)
{
    addOrder("SO001002", "C1001", plainLines(45));
    chooseRange("SO001002", "SO001002");
    chooseSalesOrders();
    preview();
    ASSERT_EQ(previewed().pageCount(), 2);
    for (int page = 0; page < 2; ++page) {
        expectAll(texts(page), {"SALES ORDER", "SO001002", "BILL TO ( Acct # : C1001 )", "Harbor Street Boutique",
                                "PO. NO", "ITEM NO", "Sub Total", "Freight", "TOTAL"});
    }
    // Every line once, in order, split between the pages.
    QStringList expected;
    for (int i = 1; i <= 45; ++i)
        expected << QStringLiteral("ITEM%1").arg(i, 3, 10, QLatin1Char('0'));
    EXPECT_EQ(itemColumn("ITEM0"), expected);
    // Page one breaks only after a row has passed the line limit.
    const PageEngine &vs = form->preview().vsPrinter;
    double lastRowY = 0;
    for (const PageItem &item : previewed().pages[0].items) {
        if (item.kind == PageItem::Kind::Text && item.text.startsWith("ITEM0"))
            lastRowY = std::max(lastRowY, item.y);
    }
    EXPECT_GT(lastRowY, vs.PageHeight() - 720 - 1600 - 400);
    EXPECT_LT(lastRowY, vs.PageHeight() - 720 - 1400);
}

TEST_F(RegularLayoutTest, MatrixHeadingIsRepeatedAfterAPageBreak)
{
    QList<Line> lines = plainLines(18);
    for (int i = 0; i < 16; ++i)
        lines << Line{"POLO200", "Pique Polo Shirt", "m", 1, 0, 22, QStringLiteral("TONE%1").arg(i, 2, 10, QLatin1Char('0')), "M"};
    addOrder("SO001003", "C1001", lines);
    chooseRange("SO001003", "SO001003");
    choosePickingSheets();
    preview();
    ASSERT_EQ(previewed().pageCount(), 2);
    for (int page = 0; page < 2; ++page) {
        EXPECT_EQ(itemsReading(page, "POLO200").size(), 1) << "page " << page + 1;
    }
    EXPECT_EQ(itemColumn("     TONE").size(), 16);
    EXPECT_TRUE(itemColumn("     TONE").first().startsWith("     TONE00     M -"));
}

TEST_F(RegularLayoutTest, BackOrderPrintsOnlyBackOrderedQuantities)
{
    addOrder("SO001004", "C1001",
             {Line{"CAP100", "Twill Cap", "nm", 10, 4, 9.99, {}, {}}, Line{"MUG600", "Ceramic Mug", "nm", 6, 0, 7.25, {}, {}},
              Line{"BELT700", "Leather Belt", "nm", 2, -1, 19, {}, {}},
              Line{"POLO200", "Pique Polo Shirt", "m", 7, 3, 22, "NAVY", "L"},
              Line{"TOTE400", "Canvas Tote", "nm", 9, 0.5, 15.95, {}, {}}});
    suite.exec("UPDATE so SET ordtype = 1 WHERE invno = 'SO001004';");
    chooseRange("SO001004", "SO001004");
    chooseSalesOrders();
    preview();
    const QStringList page = texts(0);
    for (const char *absent : {"MUG600", "BELT700"})
        EXPECT_FALSE(page.contains(absent)) << absent;
    // Quantities as Str writes them: a leading blank for positive numbers.
    expectAll(page, {"CAP100", " 4", "TOTE400", " .5", "POLO200", "     NAVY     L", " 7"});
    EXPECT_FALSE(page.contains(" 10"));
}

TEST_F(RegularLayoutTest, ShipToCellFollowsTheOrdersShipTo)
{
    const struct
    {
        const char *update;
        QStringList present;
        QStringList absent;
    } cases[] = {
        {"sadressname = ' None'", {"Blue Ridge Outfitters"}, {"Warehouse"}},
        {"sadressname = 'Warehouse', sAddress1 = '9 Dock Lane', sAddress2 = 'Gate 2', sCity = 'Asheton', "
         "sstate = 'NC', szip = '28803'",
         {"Warehouse", "9 Dock Lane", "Gate 2", "Asheton, NC, 28803"}, {}},
    };
    chooseSalesOrders();
    for (const auto &c : cases) {
        suite.exec(QStringLiteral("UPDATE so SET %1 WHERE invno = 'SO001001';").arg(QString::fromLatin1(c.update)));
        preview();
        const QStringList page = texts(0);
        for (const QString &text : c.present)
            EXPECT_TRUE(page.contains(text)) << c.update << ": " << text.toStdString();
        for (const QString &text : c.absent)
            EXPECT_FALSE(page.contains(text)) << c.update << ": " << text.toStdString();
        // Bill-to once, ship-to only where the order has its own.
        EXPECT_EQ(page.count("Blue Ridge Outfitters"), 1) << c.update;
    }
}

TEST_F(RegularLayoutTest, UnknownCustomerLeavesTheAddressRowEmpty)
{
    suite.exec("UPDATE so SET CustNo = 'C9999' WHERE invno = 'SO001001';");
    chooseSalesOrders();
    EXPECT_EQ(preview(), "");
    const QStringList page = texts(0);
    EXPECT_EQ(page.count("BILL TO ( Acct # : C9999 )"), 1);
    EXPECT_EQ(page.count("SHIP TO"), 1);
    EXPECT_TRUE(page.contains("ITEM001"));
}

} // namespace
