#include "ServerFixture.h"

namespace {

using DbErrorMessagesTest = ServerTest;

TEST_F(DbErrorMessagesTest, Texts)
{
    const DbError duplicate(-1605, "UNIQUE constraint failed: so.invno: the change would create duplicate values in the index");
    EXPECT_EQ(server().Get_DbErrorMessage(duplicate),
              "Error :-1605 (Duplicate Entry) If you are using Auto No. or Next No option then change 'Next No.' "
              "in the corresponding Next Number Setup Screen. If you typed in a number then change to the other "
              "number then try again.");
    EXPECT_EQ(server().Get_DbErrorMessage(duplicate, "Sales Order No."),
              "Error :-1605 (Duplicate Entry) If you are using Auto No. or Next No option then change 'Next No.' "
              "in the Sales Order No. Setup Screen. If you typed in the Sales Order No. field then change the "
              "Sales Order No. then try again.");
    EXPECT_EQ(server().Get_DbErrorMessage(DbError(7, "Duplicate values in the index"), "Sales Order No."),
              "Error :7 Duplicate values in the index");
    EXPECT_EQ(server().Get_DbErrorMessage(DbError(5, "D")), "Error :5 D");
}

} // namespace
