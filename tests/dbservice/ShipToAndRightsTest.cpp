#include "dbservice/ServerFixture.h"

namespace {

class ShipToAndRightsTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        if (IsSkipped())
            return;
        suite().exec("INSERT INTO shipto (custno, shiptoname, address1) VALUES ('C1004', 'O''Hara Center', '77 Way');"
                   "INSERT INTO userinfo (uid, slevel, password) VALUES ('ANN', '3', 'Secret'),"
                   " ('NOPASS', '3', NULL), ('O''NEIL', '5''s', 'pw');"
                   "INSERT INTO userright VALUES ('3', 'SO_ENTRY', 1), ('3', 'SETUP', 0), ('3', 'PRINT', 2),"
                   " ('5''s', 'SO''ENTRY', 1);");
    }
};

TEST_P(ShipToAndRightsTest, ShipToIsFoundByCustomerAndNameQuotesIncluded)
{
    EXPECT_EQ(server().Get_Selected_ShippingAddress("C1004", "O'Hara Center").text("address1"), "77 Way");
    Recordset missing = server().Get_Selected_ShippingAddress("C1003", "O'Hara Center");
    EXPECT_TRUE(missing.isEmpty());
    EXPECT_GT(missing.fieldCount(), 1); // an empty ship-to set, not the blank one
}

TEST_P(ShipToAndRightsTest, UserRights)
{
    const QString noRight = "This User doesn't have the right for this transaction !";
    const struct
    {
        const char *user, *password, *screen;
        QString result;
    } cases[] = {
        {"ANN", "sECRET", "SO_ENTRY", ""}, // the password ignores letter case
        {"ANN", "wrong", "SO_ENTRY", "Password is incorrect!"},
        {"NOBODY", "x", "SO_ENTRY", "False"},
        {"ANN", "Secret", "SETUP", noRight},
        {"ANN", "Secret", "PRINT", noRight},
        {"ANN", "Secret", "UNKNOWN", noRight},
        {"NOPASS", "", "SO_ENTRY", "Password is incorrect!"}, // no stored password lets nothing in
        {"O'NEIL", "pw", "SO'ENTRY", ""},
        {"x' OR '1'='1", "", "SO_ENTRY", "False"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.user) + " / " + c.screen);
        EXPECT_EQ(server().Gettf_UserRight(c.user, c.password, c.screen), c.result);
    }
    suite().exec("DROP TABLE userright;");
    EXPECT_TRUE(server().Gettf_UserRight("ANN", "Secret", "SO_ENTRY").startsWith("Error :"));
}

RF_TEST_ALL_BACKENDS(ShipToAndRightsTest);

} // namespace
