#include "ServerFixture.h"

namespace {

class ShipToAndRightsTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        suite.exec(R"(
INSERT INTO shipto (custno, shiptoname, address1, city, State) VALUES
  ('C1004', 'O''Hara Distribution Center', '77 Industrial Way', 'Mesa Verde', 'AZ'),
  ('C1004', 'Store', '1 Main Street', 'Mesa', 'AZ');
INSERT INTO userinfo (uid, slevel, password) VALUES
  ('ANN', '3', 'Secret'), ('NOPASS', '3', NULL), ('O''NEIL', '5''s', 'pw');
INSERT INTO userright (slevel, uid, pwr) VALUES
  ('3', 'SO_ENTRY', 1), ('3', 'SETUP', 0), ('3', 'PRINT', 2), ('5''s', 'SO''ENTRY', 1);
)");
    }
};

TEST_F(ShipToAndRightsTest, ShipToIsFoundByCustomerAndNameQuotesIncluded)
{
    Recordset found = server().Get_Selected_ShippingAddress("C1004", "O'Hara Distribution Center");
    ASSERT_EQ(found.recordCount(), 1);
    EXPECT_EQ(found.text("address1"), "77 Industrial Way");
    EXPECT_EQ(found.text("State"), "AZ");

    Recordset missing = server().Get_Selected_ShippingAddress("C1003", "Store");
    EXPECT_TRUE(missing.isEmpty());
    EXPECT_GT(missing.fieldCount(), 1); // an empty ship-to set, not the blank one
}

TEST_F(ShipToAndRightsTest, UserRights)
{
    struct Case
    {
        const char *user, *password, *screen, *result;
    };
    const Case cases[] = {
        {"ANN", "Secret", "SO_ENTRY", ""},
        {"ANN", "sECRET", "SO_ENTRY", ""}, // the password ignores letter case
        {"ANN", "wrong", "SO_ENTRY", "Password is incorrect!"},
        {"NOBODY", "x", "SO_ENTRY", "False"},
        {"ANN", "Secret", "SETUP", "This User doesn't have the right for this transaction !"},
        {"ANN", "Secret", "PRINT", "This User doesn't have the right for this transaction !"},
        {"ANN", "Secret", "UNKNOWN", "This User doesn't have the right for this transaction !"},
        {"NOPASS", "", "SO_ENTRY", "Password is incorrect!"}, // no stored password lets nothing in
        {"NOPASS", "anything", "SO_ENTRY", "Password is incorrect!"},
        {"O'NEIL", "pw", "SO'ENTRY", ""},
        {"x' OR '1'='1", "", "SO_ENTRY", "False"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.user) + " / " + c.screen);
        EXPECT_EQ(server().Gettf_UserRight(c.user, c.password, c.screen), c.result);
    }
}

TEST_F(ShipToAndRightsTest, DatabaseErrorsBecomeErrorTexts)
{
    suite.exec("DROP TABLE userright;");
    EXPECT_TRUE(server().Gettf_UserRight("ANN", "Secret", "SO_ENTRY").startsWith("Error :"));
}

} // namespace
