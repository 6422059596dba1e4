#include "dbservice/ServerFixture.h"

namespace {

using DbErrorMessagesTest = ServerTest;

TEST_P(DbErrorMessagesTest, DuplicatesPointToTheNumberingSetupOtherErrorsAreNumberAndDescription)
{
    const DbError duplicate(-1605, "UNIQUE constraint failed: would create duplicate values in the index");
    EXPECT_EQ(server().Get_DbErrorMessage(duplicate),
              "Error :-1605 (Duplicate Entry) If you are using Auto No. or Next No option then change 'Next No.' "
              "in the corresponding Next Number Setup Screen. If you typed in a number then change to the other "
              "number then try again.");
    EXPECT_EQ(server().Get_DbErrorMessage(DbError(7, "Duplicate values in the index"), "Sales Order No."),
              "Error :7 Duplicate values in the index");
    EXPECT_EQ(server().Get_DbErrorMessage(DbError(5, "D")), "Error :5 D");
}

RF_TEST_ALL_BACKENDS(DbErrorMessagesTest);

} // namespace
