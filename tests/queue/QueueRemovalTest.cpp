// "Delete Selected Order Queue": files move to ordremoved, nothing is deleted, and the order
// being converted stays where it is.

#include "QueueWindowFixture.h"

#include "Module1.h"
#include "SpreadGrid.h"

#include <QDir>
#include <QFile>

namespace {

QStringList removedFiles(const TempSuite &suite)
{
    return QDir(suite.programDir() + "/ordremoved").entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST_F(QueueWindowTest, RemovedOrderFilesAreMovedAsideAfterConfirmation)
{
    dropOrder("A1T1A.ord", {"GC25\t1"});
    dropOrder("A1T2A.ord", {"GC25\t1"}, "C1002");
    scan();
    window->fQue->selectRow(0);
    {
        MessageBoxAnswerer yes;
        window->btnRemove_Click();
        EXPECT_EQ(yes.shown(), 1);
    }
    ASSERT_EQ(queueRows(), 1);
    EXPECT_EQ(queueText(2, 1), "A1T2A.ord");
    EXPECT_EQ(removedFiles(*suite), (QStringList{"A1T1A.ord", "A1T1Ainfo.crd"}));
    EXPECT_EQ(queueFiles(), (QStringList{"A1T2A.ord", "A1T2Ainfo.crd"}));

    // Removed for good: not listed again, not converted.
    scan();
    pass();
    EXPECT_EQ(queueRows(), 0);
    EXPECT_EQ(suite->scalar("SELECT CustNo FROM so").toString(), "C1002");
    EXPECT_EQ(orderCount(), 1);

    // An order of the same name removed later does not overwrite the first one's files.
    dropOrder("A1T1A.ord", {"MUG600\t1"});
    scan();
    window->fQue->selectRow(0);
    MessageBoxAnswerer yes;
    window->btnRemove_Click();
    EXPECT_EQ(removedFiles(*suite),
              (QStringList{"A1T1A(2).ord", "A1T1A(2)info.crd", "A1T1A.ord", "A1T1Ainfo.crd"}));
}

TEST_F(QueueWindowTest, NothingIsRemovedWithoutSelectionOrConfirmation)
{
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scan();
    {
        MessageBoxAnswerer ok;
        window->btnRemove_Click();
        EXPECT_EQ(ok.lastText(), "No record selected !");
    }
    // Headless nobody can confirm, so nothing is removed.
    gHeadless = true;
    window->fQue->selectRow(0);
    window->btnRemove_Click();
    EXPECT_EQ(queueRows(), 1);
    EXPECT_EQ(queueFiles(), (QStringList{"A1T1A.ord", "A1T1Ainfo.crd"}));
}

TEST_F(QueueWindowTest, TheOrderBeingConvertedCannotBeRemoved)
{
    dropOrder("A1T1A.ord", {"GC25\t1", "MUG600\t1"});
    scan();
    MessageBoxAnswerer answer;
    DuringConversion remove(window.get(), 0, [this] {
        window->fQue->selectRow(0);
        window->btnRemove_Click();
    });
    pass();
    ASSERT_TRUE(remove.happened());
    EXPECT_TRUE(answer.lastText().contains("being converted")) << answer.lastText().toStdString();
    EXPECT_EQ(orderCount(), 1);
    EXPECT_EQ(archiveFiles(), (QStringList{"A1T1A.txt", "A1T1Ainfo.txt"}));
    EXPECT_EQ(removedFiles(*suite), QStringList());
}

TEST_F(QueueWindowTest, RemovingARowAboveTheOrderBeingConvertedLeavesThatOrderIntact)
{
    dropOrder("A1T1A.ord", {"GC25\t1"}, "C9999"); // fails: unknown customer
    dropOrder("A1T2A.ord", {"GC25\t1", "MUG600\t1"}, "C1002");
    dropOrder("A1T3A.ord", {"GC25\t1"}, "C9999");
    scan();
    MessageBoxAnswerer yes;
    DuringConversion remove(window.get(), 1, [this] {
        window->fQue->selectRow(0);
        window->btnRemove_Click();
    });
    pass();
    ASSERT_TRUE(remove.happened());
    EXPECT_EQ(orderCount(), 1);
    EXPECT_EQ(doneText(2, 1), "A1T2A.ord ( SO001001 )");
    EXPECT_EQ(doneText(3, 1), "C1002");
    ASSERT_EQ(queueRows(), 1);
    EXPECT_EQ(queueText(2, 1), "A1T3A.ord");
    EXPECT_EQ(queueText(6, 1), "** SKIPPED ** Error: customer # C9999 not found");
    EXPECT_EQ(removedFiles(*suite), (QStringList{"A1T1A.ord", "A1T1Ainfo.crd"}));
}
