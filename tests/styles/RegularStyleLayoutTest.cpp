#include "styles/StyleFixture.h"

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
        for (int page = 0; page < document().pageCount(); ++page)
            found += texts(page).filter(QRegularExpression("^" + QRegularExpression::escape(prefix)));
        return found;
    }
};

// Every band of a sales order and of a picking sheet (leaders, matrix heading and cells, totals,
// remarks, the page line and company block laid over), and an order of two pages repeating
// header, foot and matrix heading.
TEST_F(RegularLayoutTest, DocumentsMatchTheirGoldenDisplayLists)
{
    EXPECT_TRUE(printsLikeGolden("REG", false, "SO001001", "REG-salesorder"));
    EXPECT_TRUE(printsLikeGolden("REG", true, "SO001001", "REG-pickingsheet"));

    QList<Line> lines = plainLines(18);
    for (int i = 0; i < 24; ++i)
        lines << Line{"POLO200", "Pique Polo Shirt", "m", 1, 0, 22, QString("TONE%1").arg(i, 2, 10, QChar('0')), "M"};
    addOrder("SO001002", "C1001", lines);
    EXPECT_TRUE(printsLikeGolden("REG", false, "SO001002", "REG-salesorder-2pages"));
    ASSERT_EQ(document().pageCount(), 2);
    // Page one ends with the first row past the line limit, above the foot.
    const double footTop = engine.PageHeight() - 720 - 1400;
    double lastRow = 0;
    for (const PageItem &item : document().pages[0].items) {
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
    previewRange("SO001004", "SO001004");
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
        previewRange("SO001001", "SO001001");
        expectAll(0, c.present);
        EXPECT_EQ(texts(0).count("Blue Ridge Outfitters"), c.billTo) << c.update;
        EXPECT_EQ(column("BILL TO").size(), 1) << c.update;
    }
}

} // namespace
