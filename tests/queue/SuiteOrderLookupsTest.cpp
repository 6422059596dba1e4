#include "queue/SuiteOrderLookups.h"
#include "support/TempSuite.h"
#include "dbservice/clsServer.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A look-up the database cannot answer fails the conversion; a price, ship-to or commission of 0
// in its place would be saved as if it were true.
TEST(SuiteOrderLookups, ADatabaseThatCannotAnswerFailsTheLookUpInsteadOfAnsweringZero)
{
    struct Case
    {
        const char *table;
        std::function<void(SuiteOrderLookups &, const OrderItem &)> ask;
        const char *named; // the code the failure names
    };
    const std::vector<Case> cases = {
        {"pricecode", [](SuiteOrderLookups &l, const OrderItem &item) { l.price(item, "12", "C1001", "1"); }, "AB-S"},
        {"shipto", [](SuiteOrderLookups &l, const OrderItem &) { l.shipTo("C1001", "Main"); }, "C1001"},
        {"employee", [](SuiteOrderLookups &l, const OrderItem &) { l.commission("S01"); }, "S01"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table);
        TempSuite suite(TempSuite::Data::Demo);
        clsServer server(suite.programDir(), false);
        SuiteOrderLookups lookups(server);
        const std::optional<OrderItem> item = lookups.item("AB-S");
        ASSERT_TRUE(item);
        EXPECT_GT(lookups.price(*item, "12", "C1001", "1").unit, 0);
        EXPECT_EQ(lookups.commission("S01"), 5);

        suite.exec(QStringLiteral("ALTER TABLE %1 RENAME TO gone").arg(c.table));
        try {
            c.ask(lookups, *item);
            ADD_FAILURE() << "no failure";
        } catch (const std::runtime_error &e) {
            const QString text = QString::fromLocal8Bit(e.what());
            EXPECT_TRUE(text.contains(c.named) && text.contains("database error")) << text.toStdString();
        }
    }
}

} // namespace
