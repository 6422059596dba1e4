#include "dbservice/OrderPriceLookups.h"
#include "dbservice/PriceDetailLine.h"
#include "dbservice/ServerFixture.h"

#include <QMap>
#include <utility>
#include <vector>

namespace {

class PricingTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        if (IsSkipped())
            return;
        // One item per method, each with its own rule for every customer.
        suite().exec(R"(
INSERT INTO item (uid, itemrow, itemcol, price, cost, pricecode) VALUES
  ('M0', '', '', 19.99, 10, 'G0'), ('M0N', '', '', 19.99, 10, NULL), ('M1', '', '', 34, 20, NULL),
  ('M2', '', '', 9.99, 4.5, NULL), ('M3', '', '', 5.5, 2.1, NULL), ('M4', '', '', 15.95, 6, NULL),
  ('M4B', '', '', 7.46, 6, NULL), ('M5', 'RED', 'L', 22, 9.8, 'G5'), ('M6', '', '', 34, 15, NULL),
  ('M7', '', '', 5.5, 2.1, NULL), ('M8', '', '', 8.5, 3.2, NULL), ('M9', '', '', 13.75, 6, NULL),
  ('M10', '', '', 7, 3, NULL), ('PR', '', '', 10, 5, NULL), ('AB''C', '', '', 10, 5, NULL),
  ('PLAIN', '', '', 4.25, 2, NULL), ('NOPRICE', '', '', NULL, 2, NULL), ('M11', '', '', 10, 5, NULL);
INSERT INTO pricecode (uid, uname, priority, method, to1, to2, to3, to4, to5, p1, p2, p3, p4, p5, c1, c2, c3, c4, c5) VALUES
  ('G0',  ' All Customers', 50, 0, 12, 24, NULL, NULL, 100, 10, 20, NULL, NULL, 30, 3, 4, NULL, NULL, 5),
  ('M0N', ' All Customers', 50, 0, 5, NULL, NULL, NULL, NULL, 10, NULL, NULL, NULL, NULL, 3, NULL, NULL, NULL, NULL),
  ('M1',  ' All Customers', 50, 1, 5, NULL, NULL, NULL, 99, 1.5, NULL, NULL, NULL, 2, 2, NULL, NULL, NULL, 1),
  ('M2',  ' All Customers', 50, 2, 24, 48, NULL, NULL, 99, 100, 150, NULL, NULL, 0, 6, 6, NULL, NULL, 0),
  ('M3',  ' All Customers', 50, 3, 12, NULL, NULL, NULL, 99, 3, NULL, NULL, NULL, 0, 4, NULL, NULL, NULL, 0),
  ('M4',  ' All Customers', 50, 4, 9, 49, 99, NULL, 999, 14.95, 13.5, 7.456, NULL, 5, 5, 5, 4, NULL, 3),
  ('M4B', ' All Customers', 50, 4, 9, NULL, NULL, NULL, 99, 7.456, NULL, NULL, NULL, 0, 5, NULL, NULL, NULL, 0),
  ('G5',  ' All Customers', 50, 5, NULL, NULL, NULL, NULL, NULL, 0, 5, 10, 15, 20, 5, 5, 4.5, 4, 3),
  ('M6',  ' All Customers', 50, 6, NULL, NULL, NULL, NULL, NULL, 0, 1, 2, 3, 4, 5, 5, 5, 6, 6),
  ('M7',  ' All Customers', 50, 7, NULL, NULL, NULL, NULL, NULL, 150, 140, 130, 120, 110, 4, 4.25, 4, 4, 4),
  ('M8',  ' All Customers', 50, 8, NULL, NULL, NULL, NULL, NULL, 4.8, 4.3, 3.8, 3.3, 2.8, 4, 4, 3, 3, 2),
  ('M9',  ' All Customers', 50, 9, NULL, NULL, NULL, NULL, NULL, 13.75, 13.25, 12.95, 12.5, 12, 5, 5, 5, 4, 4),
  (' All Items', 'C10', 5, 10, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
  ('PR',  ' All Customers', 5, 1, 99, NULL, NULL, NULL, 99, 1, NULL, NULL, NULL, 0, 1, NULL, NULL, NULL, 0),
  ('PR',  '2', 1, 1, 99, NULL, NULL, NULL, 99, 2, NULL, NULL, NULL, 0, 2, NULL, NULL, NULL, 0),
  ('AB''C', 'C1', 50, 1, 99, NULL, NULL, NULL, 99, 0.5, NULL, NULL, NULL, 0, 0, NULL, NULL, NULL, 0),
  ('M11', ' All Customers', 50, 11, 99, NULL, NULL, NULL, 99, 1, NULL, NULL, NULL, 0, 1, NULL, NULL, NULL, 0);
INSERT INTO soinv (invno, custno, invdate) VALUES
  ('I1', 'C10', '2026-08-14'), ('I2', 'C10', '2026-10-02'), ('I3', 'C11', '2026-11-20');
INSERT INTO soinvdetail (autonum, invno, itemno, unit, commrate) VALUES
  ('I10000', 'I1', 'M10', 6, 1), ('I20000', 'I2', 'M10', 4.5, 2), ('I30000', 'I3', 'M10', 3, 7);
)");
    }
};

struct Case
{
    const char *what;
    const char *item, *row, *col, *quantity, *customer, *level;
    double net;
    double discountAmount, discountPercent, commission;
};

// Every method at its breaks, and the lines that price at 0 or at the list price.
const std::vector<Case> &pricingCases()
{
    static const std::vector<Case> cases = {
        {"0 percent off list, below the first break", "M0", "", "", "10", "C1", "1", 17.991, 2.00, 10.00, 3},
        {"0 a quantity equal to a break belongs to it", "M0", "", "", "12", "C1", "1", 17.991, 2.00, 10.00, 3},
        {"0 just above a break", "M0", "", "", "12.5", "C1", "1", 15.992, 4.00, 20.00, 4},
        {"0 past the breaks with nulls: level 5", "M0", "", "", "25", "C1", "1", 13.993, 6.00, 30.00, 5},
        {"0 quantity 0 takes the list price", "M0", "", "", "0", "C1", "1", 19.99, 0, 0, 0},
        {"0 level 5 without its break prices 0", "M0N", "", "", "6", "C1", "1", 0, 0, 0, 0},
        {"1 amount off list", "M1", "", "", "5", "C1", "1", 32.5, 1.50, 4.41, 2},
        {"2 percent on cost", "M2", "", "", "24", "C1", "1", 9.0, 0.99, 9.91, 6},
        {"2 above the list price: no discount", "M2", "", "", "30", "C1", "1", 11.25, 0, 0, 6},
        {"3 amount on cost", "M3", "", "", "1", "C1", "1", 5.1, 0.40, 7.27, 4},
        {"4 fixed price rounded to cents", "M4", "", "", "50", "C1", "1", 7.46, 8.49, 53.23, 4},
        {"4 fixed price equal to the list price", "M4B", "", "", "1", "C1", "1", 7.46, 0, 0, 5},
        {"5 percent off list by level, variant", "M5", "RED", "L", "1000", "C1", "3", 19.8, 2.20, 10.00, 4.5},
        {"6 amount off list by level", "M6", "", "", "1", "C1", "4", 31, 3.00, 8.82, 6},
        {"7 percent on cost by level", "M7", "", "", "1", "C1", "2", 5.04, 0.46, 8.36, 4.25},
        {"7 no level", "M7", "", "", "1", "C1", "", 0, 0, 0, 0},
        {"7 level 6 is no level", "M7", "", "", "1", "C1", "6", 0, 0, 0, 0},
        {"8 amount on cost by level", "M8", "", "", "1", "C1", "1", 8.0, 0.50, 5.88, 4},
        {"9 fixed price by level", "M9", "", "", "1", "C1", "5", 12.0, 1.75, 12.73, 4},
        {"10 the customer's newest invoice", "M10", "", "", "1", "C10", "1", 4.5, 2.50, 35.71, 2},
        {"10 never bought: list price", "PLAIN", "", "", "1", "C10", "1", 4.25, 0, 0, 0},
        {"unknown method: net 0, all of the list price off", "M11", "", "", "1", "C1", "1", 0, 10.00, 100.00, 0},
        {"the lower priority number wins", "PR", "", "", "1", "C1", "2", 8, 2.00, 20.00, 2},
        {"no rule: list price", "PLAIN", "", "", "3", "C1", "1", 4.25, 0, 0, 0},
        {"a quote in the item number", "AB'C", "", "", "1", "C1", "1", 9.5, 0.50, 5.00, 0},
        {"unknown variant", "M5", "RED", "XL", "1", "C1", "3", 0, 0, 0, 0},
        {"no item number", "", "", "", "1", "C1", "1", 0, 0, 0, 0},
        {"no quantity", "M0", "", "", "", "C1", "1", 0, 0, 0, 0},
        {"a quantity that is no number", "M0", "", "", "1O", "C1", "1", 0, 0, 0, 0},
        {"no list price", "NOPRICE", "", "", "1", "C1", "1", 0, 0, 0, 0},
    };
    return cases;
}

TEST_P(PricingTest, EveryMethodAtItsBreaks)
{
    const std::vector<Case> &cases = pricingCases();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        double percent = -1, commission = -1;
        Currency amount = Currency::fromRaw(-1);
        const double net = PriceDetailLine(server(), c.item, c.row, c.col, c.quantity, "0", "", c.customer, c.level,
                                           percent, amount, commission);
        EXPECT_NEAR(net, c.net, 1e-9);
        EXPECT_EQ(amount, Currency::fromDouble(c.discountAmount));
        EXPECT_DOUBLE_EQ(percent, c.discountPercent);
        EXPECT_DOUBLE_EQ(commission, c.commission);
    }
}

TEST_P(PricingTest, AWholeOrdersLookUpsFetchedAtOncePriceEveryLineAlike)
{
    // The lines of one customer and price level as one order: the look-ups of all its lines in
    // at most three statements (price rows, price codes, last invoice prices), then every line
    // priced as line by line without asking again.
    ASSERT_EQ(server().Get_ConnStatus(), "");
    QMap<std::pair<QString, QString>, std::vector<Case>> orders;
    for (const Case &c : pricingCases())
        orders[{c.customer, c.level}].push_back(c);
    for (auto order = orders.cbegin(); order != orders.cend(); ++order) {
        const auto &[customer, level] = order.key();
        OrderPriceLookups lookups(server());
        QList<OrderPriceLookups::ItemVariant> variants;
        for (const Case &c : *order)
            variants.append({c.item, c.row, c.col});
        qint64 before = server().connection().statementsRun();
        ASSERT_TRUE(lookups.prefetch(variants, customer, level));
        EXPECT_LE(server().connection().statementsRun() - before, 3);
        before = server().connection().statementsRun();
        for (const Case &c : *order) {
            SCOPED_TRACE(c.what);
            double percent = -1, commission = -1;
            Currency amount = Currency::fromRaw(-1);
            const double net = PriceDetailLine(lookups, c.item, c.row, c.col, c.quantity, "0", "", c.customer, c.level,
                                               percent, amount, commission);
            EXPECT_NEAR(net, c.net, 1e-9);
            EXPECT_EQ(amount, Currency::fromDouble(c.discountAmount));
            EXPECT_DOUBLE_EQ(percent, c.discountPercent);
            EXPECT_DOUBLE_EQ(commission, c.commission);
        }
        EXPECT_EQ(server().connection().statementsRun(), before);
    }
}

RF_TEST_ALL_BACKENDS(PricingTest);

} // namespace
