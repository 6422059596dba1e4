// "GRP" picking sheets through the generic print run, on the demo suite's orders: SO000951 (new,
// grouped items at one and at two prices), SO000952 (printed, revised), SO000953 (new back
// order), SO000954 (new, four pages). The demo's counter last numbered on 12/01/2026 (7).

#include "styles/StyleFixture.h"

#include "pageengine/PrinterList.h"

#include <QFile>

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

class GenericRunTest : public StyleTest
{
protected:
    GenericRunTest()
        : StyleTest(TempSuite::Data::DemoWithOrders)
    {
    }
    void SetUp() override
    {
        StyleTest::SetUp();
        request.styleCode = "GRP";
        request.pickingSheet = true;
        request.user = "packer";
        request.clock = [] { return QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15)); };
    }
    // Runs flag `flag` ("F", "CC", ...) over from..to; a doubled flag is "All New Sales Orders".
    QString run(const QString &flag, const QString &from, const QString &to = {}, bool preview = false)
    {
        request.sheetFlag = flag;
        request.allNewOrders = flag.size() == 2;
        request.from = from;
        request.to = to;
        request.preview = preview;
        return PrintProcedures::run(engine, request);
    }
    // Per page, the texts starting with one of the prefixes, joined by " / ".
    QStringList perPage(const QStringList &prefixes) const
    {
        QStringList pages;
        for (int page = 0; page < document().pageCount(); ++page) {
            QStringList found;
            for (const QString &text : texts(page)) {
                for (const QString &prefix : prefixes) {
                    if (text.startsWith(prefix))
                        found << text;
                }
            }
            pages << found.join(" / ");
        }
        return pages;
    }
    QString statuses() const
    {
        return suite.scalar("SELECT group_concat(ordstatus, '') FROM (SELECT ordstatus FROM so ORDER BY invno)")
            .toString();
    }
    QString counter() const { return suite.scalar("SELECT trdate || ' ' || trno FROM config").toString(); }
};

// Each kind of document as printed (labels and "PACKED BY" lines laid over), in one suite: the
// orders printed first are reprints later on, and every page of a new order takes a number.
TEST_F(GenericRunTest, DocumentsLikeGolden)
{
    const struct { const char *flag, *from, *to; bool picking; const char *golden; } documents[] = {
        {"F", "SO000951", "SO000953", true, "GRP-full"}, // grouped, a reprint, a back order
        {"C", "SO000952", "", true, "GRP-changed"},
        {"B", "SO000952", "", true, "GRP-both"},
        {"F", "SO000954", "", true, "GRP-4pages"}, // groups broken over two lines and over pages
        {"F", "SO000951", "SO000951", false, "GRP-salesorder"},
    };
    for (const auto &d : documents) {
        request.pickingSheet = d.picking;
        EXPECT_EQ(run(d.flag, d.from, d.to), "") << d.golden;
        EXPECT_TRUE(GoldenDisplayList::matches(document(), QString("styles/golden/%1.txt").arg(d.golden)));
    }
    EXPECT_EQ(counter(), "2026-12-10 6");
    EXPECT_EQ(statuses(), "1111");
}

TEST_F(GenericRunTest, PreviewAndReprintTakeNoNumber)
{
    EXPECT_EQ(run("F", "SO000951", "", true), "");
    EXPECT_EQ(perPage({"TRANSACTION"}), QStringList{"TRANSACTION: Preview..."});
    EXPECT_EQ(counter(), "2026-12-01 7");
    EXPECT_EQ(statuses(), "0100");

    for (const char *expected : {"TRANSACTION: 12102026-0001", "TRANSACTION: Reprint..."}) {
        EXPECT_EQ(run("F", "SO000951"), "");
        EXPECT_EQ(perPage({"TRANSACTION"}), QStringList{expected});
    }
    EXPECT_EQ(counter(), "2026-12-10 1");
}

TEST_F(GenericRunTest, AllSelectedTurnsTheOrdersAfterOneWithoutRevisionIntoFullSheets)
{
    suite.exec("INSERT INTO sochanged VALUES ('SO000954', 1, 3, 'KTRED-4T', 24, 12, 'CHG');");
    EXPECT_EQ(run("C", "SO000952", "SO000954", true), "");
    EXPECT_EQ(perPage({"SORDER NO", "SHEET TYPE"}).mid(0, 3),
              (QStringList{"SORDER NO: SO000952 / SHEET TYPE: ONLY CHANGED", "SORDER NO: SO000953 / SHEET TYPE: FULL",
                           "SORDER NO: SO000954 / SHEET TYPE: FULL"}));

    // All new orders: only the new ones are selected; those without a revision are skipped and,
    // nothing having been printed for them, stay new for a full sheet.
    EXPECT_EQ(run("CC", ""), "");
    EXPECT_EQ(perPage({"SORDER NO", "SHEET TYPE", "KTRED"}),
              QStringList{"SORDER NO: SO000954 / SHEET TYPE: ONLY CHANGED / KTRED-4T"});
    EXPECT_EQ(statuses(), "0101");
    EXPECT_EQ(run("FF", ""), "");
    EXPECT_EQ(statuses(), "1111");
}

TEST_F(GenericRunTest, NothingToLayOutDiscardsTheDocumentAndMarksNothing)
{
    const struct { const char *flag, *from, *to; QString reason; } cases[] = {
        // All new orders, changed only: none of them has a revision.
        {"CC", "", "", "No picking sheet to print: none of the selected sales orders has changed lines."},
        {"F", "SO000960", "SO000999", LoadResMessage(3000, "SO000960")},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(run(c.flag, c.from, c.to), c.reason) << c.flag;
        EXPECT_EQ(document().pageCount(), 0) << c.flag;
    }
    EXPECT_TRUE(pdfFiles().isEmpty());
    EXPECT_EQ(statuses(), "0100");
}

// The labels count each order's own pages; a new order's every page takes a number.
TEST_F(GenericRunTest, PageLabelsAndPackedByLinesPerOrder)
{
    EXPECT_EQ(run("F", "SO000953", "SO000954"), "");
    EXPECT_EQ(perPage({"Page:", "PACKED BY", "TRANSACTION"}),
              (QStringList{"TRANSACTION: 12102026-0001 / Page: 1/1 / PACKED BY___________________________________",
                           "TRANSACTION: 12102026-0002 / Page: 1/4 / PACKED BY___________________________________",
                           "TRANSACTION: 12102026-0003 / Page: 2/4 / PACKED BY___________________________________",
                           "TRANSACTION: 12102026-0004 / Page: 3/4 / PACKED BY___________________________________",
                           "TRANSACTION: 12102026-0005 / Page: 4/4 / PACKED BY___________________________________"}));
    ASSERT_EQ(pdfFiles().size(), 1);
    EXPECT_TRUE(pdfFiles()[0].startsWith("SO000953-SO000954"));
}

TEST_F(GenericRunTest, LaysOutAHundredOrdersAndMarksNoOther)
{
    suite.exec("UPDATE so SET ordstatus = 1;"
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 101) "
               "INSERT INTO so (invno, CustNo, ordtype, ordstatus) SELECT printf('SO1%05d', i), 'C1001', 0, 0 FROM n;");
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("FF", ""), "");
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find(LoadResMessage(5000, "SO100101").toStdString()), std::string::npos) << messages;
    EXPECT_EQ(document().pageCount(), 100);
    EXPECT_EQ(suite.scalar("SELECT group_concat(invno) FROM so WHERE ordstatus = 0").toString(), "SO100101");
}

TEST_F(GenericRunTest, FailedJobMarksNothingAndFailedMarkingSaysTheSheetsPrinted)
{
    QFile blocker(suite.root() + "/blocker"); // a file where the PDF folder would go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    PrinterList::setPdfFolder(suite.root() + "/blocker/printout");
    EXPECT_TRUE(run("F", "SO000951").startsWith("The picking sheets of SO000951 were not printed: "));
    EXPECT_EQ(statuses(), "0100");

    PrinterList::setPdfFolder(printout());
    suite.exec("CREATE TRIGGER held BEFORE UPDATE ON so BEGIN SELECT RAISE(ABORT, 'row is held'); END;");
    testing::internal::CaptureStderr();
    const QString reason = run("F", "SO000951");
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(reason.startsWith("The picking sheets of SO000951 have printed, but Sales Order Status Cannot be "
                                  "updated! Please try later..."))
        << reason.toStdString();
    EXPECT_NE(messages.find("KVR: The picking sheets of SO000951 have printed"), std::string::npos) << messages;
    EXPECT_EQ(pdfFiles().size(), 1);
    EXPECT_EQ(statuses(), "0100");
}

// Pages break with their headers: a "B" sheet whose full list ends low starts its changed part
// on a counted page under the top header; a group longer than a page goes on under its group
// row again; a grouped sales order of two pages (with tax) carries its totals on each.
TEST_F(GenericRunTest, PagesBreakUnderTheirHeaders)
{
    QList<Line> groups, sizes;
    for (int i = 1; i <= 8; ++i)
        groups << Line{QString("G%1-M").arg(i, 2, 10, QChar('0')), QString("Group %1 medium").arg(i), "nm", 2, 0, 5};
    for (int i = 1; i <= 90; ++i)
        sizes << Line{QString("BIG-S%1").arg(i, 2, 10, QChar('0')), QString("Big Tee size %1").arg(i), "nm", 3, 0, 4};
    addOrder("SO000960", "C1001", groups);
    addOrder("SO000961", "C1002", sizes);
    addOrder("SO000962", "C1002", sizes.mid(0, 45));
    suite.exec("INSERT INTO sochanged VALUES ('SO000960', 1, 1, 'G01-M', 1, 2, 'CHG');"
               "UPDATE so SET tax = 44.55, total = amount + 44.55 + freight - dc WHERE invno = 'SO000962';");

    EXPECT_EQ(run("B", "SO000960"), "");
    EXPECT_TRUE(GoldenDisplayList::matches(document(), "styles/golden/GRP-both-ends-low.txt"));
    EXPECT_EQ(perPage({"Page:", "SORDER NO", "CHANGED ONLY", "G08"}),
              (QStringList{"SORDER NO: SO000960 / G08 / Page: 1/2", "SORDER NO: SO000960 / CHANGED ONLY / Page: 2/2"}));

    EXPECT_EQ(run("F", "SO000961"), "");
    EXPECT_TRUE(GoldenDisplayList::matches(document(), "styles/golden/GRP-group-breaks.txt"));
    ASSERT_GE(document().pageCount(), 2);
    for (int page = 1; page < document().pageCount(); ++page) {
        const QStringList all = texts(page);
        EXPECT_EQ(all.mid(all.indexOf("UNIT PRICE") + 1, 3), (QStringList{"BIG", "Big Tee size 1", "4.00"})) << page;
    }

    request.pickingSheet = false;
    EXPECT_EQ(run("F", "SO000962", "SO000962"), "");
    EXPECT_TRUE(GoldenDisplayList::matches(document(), "styles/golden/GRP-salesorder-2pages.txt"));
    EXPECT_EQ(document().pageCount(), 2);
}

// A back order in the variant style lists back-ordered quantities only.
TEST_F(GenericRunTest, VariantSheetOfABackOrderLikeGolden)
{
    EXPECT_TRUE(printsLikeGolden("GRPDESC", true, "SO000953", "GRPDESC-backorder"));
    const QStringList all = texts(0);
    EXPECT_TRUE(all.contains("M-(6)  L-(4)") && !all.contains("BELT700"));
}

TEST_F(GenericRunTest, GroupedSalesOrdersAddTheCounterRowOnlyWhenThereIsNone)
{
    request.pickingSheet = false;
    EXPECT_EQ(run("F", "SO000953", "SO000953"), "");
    EXPECT_EQ(counter(), "2026-12-01 7");
    suite.exec("DELETE FROM config;");
    EXPECT_EQ(run("F", "SO000953", "SO000953"), "");
    EXPECT_EQ(counter(), "2026-12-10 0");
    EXPECT_EQ(statuses(), "0110");
}

} // namespace
