// "Delete Selected Order Queue": the files move to ordremoved, nothing is deleted, and the order
// being converted stays where it is.

#include "queueui/MainWindowFixture.h"

#include "widgets/ModelGrid.h"

TEST_F(MainWindowTest, RemovedOrdersAreMovedAsideNotDeleted)
{
    dropOrder("A1T1A.ord", {"GC25\t1"});
    dropOrder("A1T2A.ord", {"GC25\t1"}, "C1002");
    service->Timer1_Timer();
    window->fQue->selectRow(0);
    {
        MessageAnswerer answerYes;
        window->btnRemove_Click();
        EXPECT_EQ(answerYes.lastMessage().left(31), "Remove the order A1T1A.ord from");
    }
    EXPECT_EQ(files("ordremoved"), (QStringList{"A1T1A.ord", "A1T1Ainfo.crd"}));
    scanAndPass(); // not listed again
    EXPECT_EQ(suite->scalar("SELECT group_concat(CustNo) FROM so").toString(), "C1002");
    EXPECT_EQ(queRows(), 0);
}

TEST_F(MainWindowTest, TheOrderBeingConvertedCannotBeRemoved)
{
    dropOrder("A1T1A.ord", {"GC25\t1", "MUG600\t1"});
    service->Timer1_Timer();
    MessageAnswerer answer;
    DuringConversion remove(service.get(), 1, [this] {
        window->fQue->selectRow(0);
        window->btnRemove_Click();
    });
    service->Timer2_Timer();
    ASSERT_TRUE(remove.happened());
    EXPECT_TRUE(answer.lastMessage().contains("being converted")) << answer.lastMessage().toStdString();
    EXPECT_EQ(files("ordsaved"), (QStringList{"A1T1A.txt", "A1T1Ainfo.txt"}));
    EXPECT_EQ(files("ordremoved"), QStringList());
}

TEST_F(MainWindowTest, RemovingARowAboveTheOrderBeingConvertedLeavesThatOrderIntact)
{
    dropOrder("A1T1A.ord", {"GC25\t1"}, "C9999"); // fails: unknown customer
    dropOrder("A1T2A.ord", {"GC25\t1", "MUG600\t1"}, "C1002");
    dropOrder("A1T3A.ord", {"GC25\t1"}, "C9999");
    service->Timer1_Timer();
    MessageAnswerer answer;
    DuringConversion remove(service.get(), 2, [this] {
        window->fQue->selectRow(0);
        window->btnRemove_Click();
    });
    service->Timer2_Timer();
    ASSERT_TRUE(remove.happened());
    EXPECT_EQ(done(2, 1), "A1T2A.ord ( SO001001 )");
    ASSERT_EQ(queRows(), 1);
    EXPECT_EQ(que(2, 1), "A1T3A.ord");
    EXPECT_EQ(que(6, 1), "** SKIPPED ** Error: customer # C9999 not found");
    EXPECT_EQ(files("ordremoved"), (QStringList{"A1T1A.ord", "A1T1Ainfo.crd"}));
}
