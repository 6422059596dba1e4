// The styles beside the standard one: golden display lists of a demo order in every style and
// document kind, and the rules a golden file would hide.

#include "styles/StyleFixture.h"

#include "styles/GroupDescStyle.h"

namespace {

class LayoutStylesTest : public StyleTest
{
protected:
    void SetUp() override
    {
        StyleTest::SetUp();
        request.clock = [] { return QDateTime(QDate(2026, 12, 10), QTime(9, 30)); };
        // Variants of AB and HD in lots (HD-M in two), a cap without a lot and with "|" and ";"
        // in its description, a matrix item, a tote: to C1003, 10 % discount, its warehouse.
        addDemoOrder("SO001001", "C1003",
                     {Line{"AB-S", "Active Base Tee - Small", "nm", 12, 0, 11.5},
                      Line{"AB-M", "Active Base Tee - Medium", "nm", 6, 0, 11.5},
                      Line{"AB-XL", "Active Base Tee - X-Large", "nm", 2, 0, 13.25},
                      Line{"HD-M", "Fleece Pullover Hoodie - Medium", "nm", 4, 0, 32},
                      Line{"CAP100", "Twill Cap | One Size; Navy", "nm", 10, 0, 8.1},
                      Line{"POLO200", "Pique Polo Shirt", "m", 4, 0, 19.8, "BLACK", "S"},
                      Line{"POLO200", "Pique Polo Shirt", "m", 6, 0, 19.8, "BLACK", "M"},
                      Line{"TOTE400", "Canvas Tote Bag", "nm", 3, 0, 14.95}});
        suite.exec("UPDATE so SET sadressname = 'Warehouse', sAddress1 = '400 Depot Street', sAddress2 = 'Dock 3', "
                   "sCity = 'Asheton', sstate = 'NC', szip = '28803' WHERE invno = 'SO001001';");
    }
    // addOrder with what converted orders carry besides: tax (8.25 %, in the total with the
    // freight and less the discount), discount percent, cancel date, payflag, units.
    void addDemoOrder(const QString &invno, const QString &custNo, const QList<Line> &lines)
    {
        addOrder(invno, custNo, lines);
        suite.exec(QString("UPDATE so SET tax = round(amount * 0.0825, 2) WHERE invno = '%1';"
                           "UPDATE so SET total = amount + tax + freight - dc WHERE invno = '%1';"
                           "UPDATE so SET tdcpercent = 10, dcamtentered = 'N', CancelDate = '2026-12-31', payflag = 0, "
                           "remark = 'Dock 3; ring twice | back door' WHERE invno = '%1';"
                           "UPDATE sodetail SET um = 'EA' WHERE invno = '%1';")
                       .arg(invno));
    }
    QString preview(const QString &code, bool pickingSheet, const QString &from, const QString &to)
    {
        request.styleCode = code;
        request.pickingSheet = pickingSheet;
        return previewRange(from, to);
    }
    // The texts of the boxed texts of a page.
    QStringList boxes(int page) const
    {
        QStringList found;
        for (const PageItem &item : document().pages.at(page).items) {
            if (item.kind == PageItem::Kind::BoxedText)
                found << item.text;
        }
        return found;
    }
    // The item numbers as the rows list them, over all pages.
    QStringList itemColumn(const QStringList &itemnos) const
    {
        QStringList found;
        for (int page = 0; page < document().pageCount(); ++page) {
            for (const QString &text : texts(page)) {
                if (itemnos.contains(text))
                    found << text;
            }
        }
        return found;
    }
};

TEST_F(LayoutStylesTest, DocumentsMatchTheirGoldenDisplayLists)
{
    const struct
    {
        const char *code;
        bool pickingSheet;
        const char *name;
    } documents[] = {
        {"REGGENERIC", false, "REGGENERIC"},
        {"IMPPROFORMA", false, "IMPPROFORMA-salesorder"},
        {"IMPPROFORMA", true, "IMPPROFORMA-pickingsheet"},
        {"REGBOX", false, "REGBOX-salesorder"},
        {"REGBOX", true, "REGBOX-pickingsheet"},
        {"REGLOT", false, "REGLOT-salesorder"},
        {"REGLOT", true, "REGLOT-pickingsheet"},
        {"GRPDESC", true, "GRPDESC-pickingsheet"},
    };
    for (const auto &d : documents)
        EXPECT_TRUE(printsLikeGolden(d.code, d.pickingSheet, "SO001001", d.name)) << d.name;

    // Several pages: the generic total and remarks on the last page only; the lot sheet's
    // quantity total on its last page only, also without a remark.
    addDemoOrder("SO001002", "C1001", plainLines(40));
    EXPECT_TRUE(printsLikeGolden("REGGENERIC", false, "SO001002", "REGGENERIC-2pages"));
    EXPECT_EQ(document().pageCount(), 2);
    EXPECT_FALSE(texts(0).contains("Total :"));
    EXPECT_TRUE(texts(1).contains("Total :") && boxes(1).value(0).startsWith("**REMARKS**"));
    suite.exec("UPDATE so SET remark = NULL WHERE invno = 'SO001002';");
    EXPECT_TRUE(printsLikeGolden("REGLOT", true, "SO001002", "REGLOT-pickingsheet-3pages"));
    const int last = document().pageCount() - 1;
    EXPECT_EQ(last, 2);
    for (int page = 0; page < last; ++page)
        EXPECT_EQ(boxes(page), QStringList{" "});
    EXPECT_EQ(boxes(last), QStringList{"Total Qty: 820 "}); // 1 + 2 + ... + 40

    // The variant sheet's preview: both orders in one document.
    EXPECT_EQ(preview("GRPDESC", true, "SO001001", "SO001002"), "");
    EXPECT_TRUE(GoldenDisplayList::matches(document(), "styles/golden/GRPDESC-preview.txt"));
}

// Stored texts holding the table separators "|" and ";" print whole, in every style and kind:
// a text that shows part of such a value anywhere must show all of it.
TEST_F(LayoutStylesTest, StoredSeparatorsNeverSplitACell)
{
    const QStringList values = {"Twill Cap | One Size; Navy", "Pine | Oak; Ltd", "Dock | North; Gate",
                                "Dock 3; ring twice | back door"};
    suite.exec("UPDATE customer SET uname = 'Pine | Oak; Ltd' WHERE uid = 'C1003';"
               "UPDATE so SET badressname = 'Pine | Oak; Ltd', sadressname = 'Dock | North; Gate' "
               "WHERE invno = 'SO001001';");
    for (const char *code : {"REG", "GRP", "REGGENERIC", "IMPPROFORMA", "REGBOX", "REGLOT", "GRPDESC"}) {
        for (const bool pickingSheet : {false, true}) {
            SCOPED_TRACE(std::string(code) + (pickingSheet ? " picking sheet" : " sales order"));
            ASSERT_EQ(preview(code, pickingSheet, "SO001001", "SO001001"), "");
            QStringList all;
            for (int page = 0; page < document().pageCount(); ++page)
                all << texts(page);
            EXPECT_TRUE(all.join('\n').contains(values.first()));
            for (const QString &text : all) {
                for (const QString &value : values) {
                    const QString head = value.section(QLatin1Char(' '), 0, 1);
                    EXPECT_TRUE(!text.contains(head) || text.contains(value)) << text.toStdString();
                }
            }
        }
    }
}

TEST_F(LayoutStylesTest, GenericTotalCountsPrintedRowsOnceAndAllNewMeansUnpaid)
{
    // A back order: only lines with something back-ordered print, a matrix cell with its
    // ordered quantity; the total counts the printed rows' amounts once, from 0 for each order.
    addDemoOrder("SO001002", "C1001",
                 {Line{"CAP100", "Twill Cap", "nm", 10, 4, 8}, Line{"MUG600", "Ceramic Mug", "nm", 6, 0, 7},
                  Line{"POLO200", "Pique Polo Shirt", "m", 7, 3, 20, "NAVY", "L"},
                  Line{"POLO200", "Pique Polo Shirt", "m", 5, 0, 20, "NAVY", "XL"}});
    suite.exec("UPDATE so SET ordtype = 1, tax = 18.15 WHERE invno = 'SO001002';");
    request.styleCode = "REGGENERIC";
    request.from = "SO001001";
    request.to = "SO001002";
    EXPECT_EQ(PrintProcedures::run(engine, request), "");
    // The lines printed add up to the sub total (80 + 140), the order's freight and discount
    // follow, and the total is what they add up to.
    const QStringList last = texts(document().pageCount() - 1);
    EXPECT_EQ(last.mid(last.indexOf("Sub Total :"), 10),
              (QStringList{"Sub Total :", "220.00", "Tax :", "18.15", "Freight :", "12.50", "Discount :", "5.00",
                           "Total :", "245.65"}));
    EXPECT_TRUE(last.contains(" 4") && last.contains(" 7") && !last.contains("MUG600"));

    // All new: every order not yet paid (payflag below 2), printed or not.
    addDemoOrder("SO001003", "C1002", plainLines(1));
    addDemoOrder("SO001004", "C1004", plainLines(1));
    suite.exec("UPDATE so SET payflag = 1 WHERE invno = 'SO001002'; UPDATE so SET payflag = 2 WHERE invno = 'SO001003';"
               "UPDATE so SET payflag = 3, ordstatus = 0 WHERE invno = 'SO001004';");
    QDir(printout()).removeRecursively();
    request.allNewOrders = true;
    EXPECT_EQ(PrintProcedures::run(engine, request), "");
    QStringList printed;
    for (const QString &file : pdfFiles())
        printed << file.left(8);
    EXPECT_EQ(printed, (QStringList{"SO001001", "SO001002"}));
}

TEST_F(LayoutStylesTest, ProformaLabelsNamesAndATotalsOnlyPage)
{
    const struct
    {
        const char *update;
        QStringList present;
        QStringList absent;
    } cases[] = {
        {"tdcpercent = 10", {"DISCOUNT (10.00%):", "Dana Whitfield", "Net 30 Days"}, {}},
        {"tdcpercent = NULL, salesman = 'S99', terms = 'NET99'", {"DISCOUNT (  )%   :", "NET99"}, {"Dana Whitfield"}},
        {"tdcpercent = 'ten'", {"DISCOUNT (  )%   :"}, {}},
        // An empty remark prints the heading only.
        {"remark = '  '", {"** REMARKS **"}, {"Dock 3; ring twice | back door"}},
    };
    for (const auto &c : cases) {
        suite.exec(QString("UPDATE so SET %1 WHERE invno = 'SO001001';").arg(c.update));
        ASSERT_EQ(preview("IMPPROFORMA", false, "SO001001", "SO001001"), "");
        for (const QString &text : c.present)
            EXPECT_TRUE(texts(0).contains(text)) << c.update << ": " << text.toStdString();
        for (const QString &text : c.absent)
            EXPECT_FALSE(texts(0).contains(text)) << c.update << ": " << text.toStdString();
    }

    // Items ending low on the page leave the totals a page of their own, under the header.
    addDemoOrder("SO001002", "C1001", plainLines(28));
    ASSERT_EQ(preview("IMPPROFORMA", false, "SO001002", "SO001002"), "");
    ASSERT_EQ(document().pageCount(), 2);
    EXPECT_TRUE(texts(0).contains("ITEM028") && texts(0).contains("** REMARKS **"));
    EXPECT_FALSE(texts(0).contains("SUB TOTAL        :"));
    for (const char *text : {"SUB TOTAL        :", "TOTAL            :", "ORDER #", "ITEM NO", "Page: 2/2"})
        EXPECT_TRUE(document().pages[1].joinedText().contains(text)) << text;
    EXPECT_TRUE(texts(1).filter("ITEM0").isEmpty());
}

TEST_F(LayoutStylesTest, LotSheetKeepsEveryLineInLotOrder)
{
    suite.exec("DELETE FROM itemcopy WHERE uid = 'AB-XL';"); // now without a lot, like the cap
    ASSERT_EQ(preview("REGLOT", true, "SO001001", "SO001001"), "");
    EXPECT_EQ(itemColumn({"AB-S", "AB-M", "AB-XL", "HD-M", "CAP100", "POLO200", "TOTE400"}),
              (QStringList{"AB-XL", "CAP100", "POLO200", "TOTE400", "HD-M", "AB-M", "AB-S"}));
    // HD-M is kept in two lots and prints once, with both.
    const QStringList all = texts(0);
    EXPECT_EQ(all.count("HD-M"), 1);
    EXPECT_EQ(all.mid(all.indexOf("L2609C"), 2), (QStringList{"L2609C", "L2610A"}));
    EXPECT_EQ(boxes(0), QStringList{"Total Qty: 47   ** REMARKS **\nDock 3; ring twice | back door"});
}

TEST_F(LayoutStylesTest, VariantSheetGroupsConsecutiveLinesOfOneBase)
{
    const struct
    {
        const char *itemno, *colourAndSize;
        double quantity;
        const char *entry;
    } entries[] = {{"AB-S", "", 12, "S-(12)"},
                   {"AB-2XL", "", 1, "2XL-(1)"},
                   {"CAP100", "", 10, ".-(10)"},
                   {"HD-M-TALL", "", 3, "M-TALL-(3)"},
                   {"POLO200", "BLACK L", 4, "BLACK L-(4)"}};
    for (const auto &e : entries)
        EXPECT_EQ(GroupDescStyle::variantEntry(e.itemno, e.colourAndSize, e.quantity), e.entry);

    // AB-S, AB-M, AB-XL are one group; AB-S again after another base starts a group of its own.
    addDemoOrder("SO001002", "C1001",
                 {Line{"AB-S", "Active Base Tee - Small", "nm", 12, 0, 11.5},
                  Line{"AB-M", "Active Base Tee - Medium", "nm", 6, 0, 11.5},
                  Line{"AB-XL", "Active Base Tee - X-Large", "nm", 2, 0, 13.25},
                  Line{"CAP100", "Twill Cap", "nm", 10, 0, 8},
                  Line{"AB-S", "Active Base Tee - Small", "nm", 1, 0, 11.5}});
    ASSERT_EQ(preview("GRPDESC", true, "SO001002", "SO001002"), "");
    const QStringList all = texts(0);
    const qsizetype first = all.indexOf("20");
    ASSERT_GE(first, 0);
    // A group's price is the unit price its lines share, blank when they differ.
    EXPECT_EQ(all.mid(first, 4), (QStringList{"20", "Active Base Tee - Small", "233.50", "S-(12)  M-(6)  XL-(2)"}));
    EXPECT_EQ(all.mid(all.indexOf("Twill Cap") - 1, 5), (QStringList{"10", "Twill Cap", "8.00", "80.00", ".-(10)"}));
    EXPECT_EQ(all.mid(all.lastIndexOf("Active Base Tee - Small") - 1, 4),
              (QStringList{"1", "Active Base Tee - Small", "11.50", "11.50"}));

    // A back order lists what is back-ordered, and only the lines with something back-ordered.
    suite.exec("UPDATE so SET ordtype = 1 WHERE invno = 'SO001002';"
               "UPDATE sodetail SET qbord = CASE itemno WHEN 'AB-M' THEN 4 WHEN 'AB-XL' THEN 2 ELSE 0 END "
               "WHERE invno = 'SO001002';");
    ASSERT_EQ(preview("GRPDESC", true, "SO001002", "SO001002"), "");
    const QStringList back = texts(0);
    EXPECT_EQ(back.mid(back.indexOf("Active Base Tee - Medium") - 1, 3),
              (QStringList{"6", "Active Base Tee - Medium", "95.50"}));
    EXPECT_TRUE(back.contains("M-(4)  XL-(2)"));
    EXPECT_FALSE(back.contains("Twill Cap") || back.contains("Active Base Tee - Small"));
}

TEST_F(LayoutStylesTest, VariantSheetPreviewsEveryOrderAndPrintsOneFootedJobEach)
{
    addDemoOrder("SO001002", "C1001", plainLines(2));
    suite.exec("UPDATE so SET remark = '' WHERE invno = 'SO001002';");
    ASSERT_EQ(preview("GRPDESC", true, "SO001001", "SO001002"), "");
    ASSERT_EQ(document().pageCount(), 2);
    EXPECT_TRUE(texts(0).contains("SO001001") && texts(1).contains("SO001002"));
    EXPECT_EQ(engine.MarginTop(), 720);
    EXPECT_EQ(engine.MarginBottom(), 720);
    for (int page = 0; page < 2; ++page) {
        EXPECT_FALSE(texts(page).contains("Packed By:"));
        EXPECT_TRUE(boxes(page).isEmpty());
    }
    EXPECT_EQ(ordstatus("SO001001") + ordstatus("SO001002"), 0);

    request.preview = false;
    EXPECT_EQ(PrintProcedures::run(engine, request), "");
    EXPECT_EQ(pdfFiles().size(), 2);
    EXPECT_EQ(engine.MarginTop(), 6400);
    EXPECT_EQ(engine.MarginBottom(), 2260);
    // The last job: the second order under its laid-over header, its foot without remarks.
    EXPECT_EQ(document().pageCount(), 1);
    for (const char *text :
         {"PICKING SHEET", "Page:     ", "1/1", "SO001002", "Packed By:", "Riverside Wholesale Supply"})
        EXPECT_TRUE(texts(0).contains(text)) << text;
    EXPECT_EQ(boxes(0), QStringList{"Total Qty:3"});
    EXPECT_EQ(ordstatus("SO001001") + ordstatus("SO001002"), 2);
}

} // namespace
