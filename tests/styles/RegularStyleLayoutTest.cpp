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
    void expectAll(int page, const QStringList &wanted)
    {
        const QStringList all = texts(page);
        for (const QString &text : wanted)
            EXPECT_TRUE(all.contains(text)) << "page " << page + 1 << " lacks \"" << text.toStdString() << '"';
    }
    // The texts starting with `prefix` over the whole document, in page order.
    QStringList column(const QString &prefix)
    {
        QStringList found;
        for (int page = 0; page < previewed().pageCount(); ++page)
            found += texts(page).filter(QRegularExpression("^" + QRegularExpression::escape(prefix)));
        return found;
    }
};

TEST_F(RegularLayoutTest, SalesOrderShowsEveryBandAndTheTotals)
{
    EXPECT_EQ(preview(), "");
    ASSERT_EQ(previewed().pageCount(), 1);
    expectAll(0, {
        "SALES ORDER", "DATE", "ORDER NO", "12/04/26", "SO001001",
        "BILL TO ( Acct # : C1003 )", "SHIP TO", "Blue Ridge Outfitters", "Asheton, NC, 28801",
        "828-555-0112  Carla Jennings",
        "PO. NO", "TERMS", "REP", "SHIP", "VIA", "F.O.B", "DUE DATE", "PO-77", "NET30", "S01", "12/09/26", "GROUND",
        "ITEM NO", "DESCRIPTION", "QTY", "UNIT PRICE", "TOTAL",
        "ITEM002", "Article 2", " 2", "2.50", "5.00",                               // quantities as Str writes them
        "POLO200", "Pique Polo Shirt", "     BLACK     M", " 6", "22.00", "132.00", // matrix heading and cell
        "Sub Total", "235.00", "Freight", "12.50", "Discount", "5.00", "242.50",
        "** REMARKS **\nLeave at the back door",
    });
    EXPECT_EQ(texts(0).count("Blue Ridge Outfitters"), 2); // ship to the bill-to address
    const QList<PageItem> totals = itemsReading(0, "TOTAL");
    ASSERT_EQ(totals.size(), 2);
    EXPECT_TRUE(totals[1].bold && !totals[0].bold);
    // The date box hangs at the right margin; the grand total ends flush with it.
    const PageEngine &vs = *form->printEngine();
    EXPECT_GE(itemsReading(0, "ORDER NO")[0].x, vs.PageWidth() - 720 - 3080 + 1440);
    EXPECT_NEAR(itemsReading(0, "242.50")[0].right(), vs.PageWidth() - 720 - PageEngine::CellPadding, 1);
}

TEST_F(RegularLayoutTest, PickingSheetLeadsTheDescriptionsToTheQuantity)
{
    form->Option2[1]->setChecked(true);
    preview();
    expectAll(0, {"PICKING SHEET", "ORDER", "SHIPPED", "ITEM001", " 1", "_______", "POLO200"});
    EXPECT_FALSE(texts(0).contains("Sub Total"));
    EXPECT_FALSE(texts(0).contains("2.50"));
    const PageEngine &vs = *form->printEngine();
    for (const auto &[label, fill] : {std::pair{QString("Article 1 "), '*'}, {"Pique Polo Shirt ", '*'},
                                      {"     BLACK     S ", '-'}}) {
        const QStringList rows = column(label);
        ASSERT_EQ(rows.size(), 1) << label.toStdString();
        const QString leader = rows[0].mid(label.size());
        EXPECT_EQ(leader, QString(leader.size(), fill));
        // As many fill characters as the description column takes, keeping two free.
        const double room = 4460 - vs.MeasureText(label.chopped(1)) - 2 * vs.MeasureText(QString(fill));
        EXPECT_EQ(leader.size(), int(room / vs.MeasureText(QString(fill)))) << label.toStdString();
    }
}

TEST_F(RegularLayoutTest, PageBreaksRepeatHeaderFootAndMatrixHeading)
{
    QList<Line> lines = plainLines(18);
    for (int i = 0; i < 24; ++i)
        lines << Line{"POLO200", "Pique Polo Shirt", "m", 1, 0, 22, QString("TONE%1").arg(i, 2, 10, QChar('0')), "M"};
    addOrder("SO001002", "C1001", lines);
    chooseRange("SO001002", "SO001002");
    preview();
    ASSERT_EQ(previewed().pageCount(), 2);
    for (int page = 0; page < 2; ++page) {
        expectAll(page, {"SALES ORDER", "SO001002", "BILL TO ( Acct # : C1001 )", "Harbor Street Boutique",
                         "PO. NO", "ITEM NO", "Sub Total", "TOTAL"});
        EXPECT_EQ(itemsReading(page, "POLO200").size(), 1) << "page " << page + 1;
    }
    EXPECT_EQ(column("ITEM0").size(), 18);
    EXPECT_EQ(column("     TONE").size(), 24);
    EXPECT_EQ(column("     TONE").last(), "     TONE23     M");
    // Page one ends with the first row past the line limit, above the foot.
    const double footTop = form->printEngine()->PageHeight() - 720 - 1400;
    double lastRow = 0;
    for (const PageItem &item : previewed().pages[0].items) {
        if (item.text.startsWith("     TONE"))
            lastRow = std::max(lastRow, item.y);
    }
    EXPECT_GT(lastRow, footTop - 200 - 400);
    EXPECT_LT(lastRow, footTop);
}

TEST_F(RegularLayoutTest, BackOrderPrintsOnlyBackOrderedQuantities)
{
    addOrder("SO001004", "C1001",
             {Line{"CAP100", "Twill Cap", "nm", 10, 4}, Line{"MUG600", "Ceramic Mug", "nm", 6, 0},
              Line{"BELT700", "Leather Belt", "nm", 2, -1}, Line{"POLO200", "Pique Polo Shirt", "m", 7, 3, 22, "NAVY", "L"},
              Line{"TOTE400", "Canvas Tote", "nm", 9, 0.5}});
    suite.exec("UPDATE so SET ordtype = 1 WHERE invno = 'SO001004';");
    chooseRange("SO001004", "SO001004");
    preview();
    EXPECT_FALSE(texts(0).contains("MUG600") || texts(0).contains("BELT700") || texts(0).contains(" 10"));
    expectAll(0, {"CAP100", " 4", "TOTE400", " .5", "     NAVY     L", " 7"}); // matrix cells keep qord
}

TEST_F(RegularLayoutTest, AddressRowFollowsCustomerAndShipTo)
{
    const struct { const char *update; QStringList present; int billTo; } cases[] = {
        {"sadressname = ' None'", {"Asheton, NC, 28801"}, 1},
        {"sadressname = 'Warehouse', sAddress1 = '9 Dock Lane', sCity = 'Asheton', sstate = 'NC', szip = '28803'",
         {"Warehouse", "9 Dock Lane", "Asheton, NC, 28803"}, 1},
        // No customer row: one heading and an empty address row.
        {"CustNo = 'C9999'", {"BILL TO ( Acct # : C9999 )", "ITEM001"}, 0},
    };
    for (const auto &c : cases) {
        suite.exec(QString("UPDATE so SET %1 WHERE invno = 'SO001001';").arg(c.update));
        preview();
        expectAll(0, c.present);
        EXPECT_EQ(texts(0).count("Blue Ridge Outfitters"), c.billTo) << c.update;
        EXPECT_EQ(column("BILL TO").size(), 1) << c.update;
    }
}

} // namespace
