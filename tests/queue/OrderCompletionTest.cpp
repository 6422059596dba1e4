// What a saved order leaves behind, and what happens when its files cannot leave the queue.

#include "QueueWindowFixture.h"

#include "SpreadGrid.h"

#include <QDir>
#include <QFile>

TEST_F(QueueWindowTest, SavedOrdersMoveToTheDoneListAndTheArchive)
{
    ASSERT_TRUE(QDir(suite->archiveDir()).removeRecursively()); // a missing archive is created
    dropOrder("A1T2A.ord", {"GC25\t2"}, "C1002");
    dropOrder("A1T2B.ord", {"MUG600\t3", "GC25\t1"}, "C1001");
    scanAndPass();
    EXPECT_EQ(queRows(), 0);
    const QStringList expected[] = {{"2", "A1T2A.ord ( SO001001 )", "C1002", "Customer C1002", "2", "Processed"},
                                    {"2", "A1T2B.ord ( SO001002 )", "C1001", "Customer C1001", "2", "Processed"}};
    ASSERT_EQ(window->fDone->maxRows(), 2);
    for (int row = 1; row <= 2; ++row)
        for (int col = 1; col <= 6; ++col)
            EXPECT_EQ(done(col, row), expected[row - 1][col - 1]);
    // The terminal's page shows the later of its two orders.
    EXPECT_EQ(window->lblInvNo[1]->text(), "SO001002");
    EXPECT_EQ(window->lblCustName[1]->text(), "Harbor Street Boutique");
    EXPECT_EQ(window->lblOrderTotal[1]->text(), "46.75");
    EXPECT_EQ(window->fGrid[1]->text(1, 1), "MUG600");
    EXPECT_EQ(files("OrdQueue"), QStringList());
    EXPECT_EQ(files("ordsaved"), (QStringList{"A1T2A.txt", "A1T2Ainfo.txt", "A1T2B.txt", "A1T2Binfo.txt"}));

    // A later order of the same name never overwrites the archived one.
    dropOrder("A1T2A.ord", {"GC25\t5"}, "C1002");
    scanAndPass();
    QFile first(suite->archiveDir() + "/A1T2A.txt"), second(suite->archiveDir() + "/A1T2A(2).txt");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), "GC25\t2\r\n");
    EXPECT_EQ(second.readAll(), "GC25\t5\r\n");
}

TEST_F(QueueWindowTest, SavedOrderWhoseFilesCannotBeArchivedIsNeverConvertedAgain)
{
    ASSERT_TRUE(QDir(suite->archiveDir()).removeRecursively());
    suite->writeFile("admodule/ordsaved", "a file where the archive folder should be");
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scanAndPass();
    scanAndPass();
    EXPECT_EQ(orders(), 1);
    EXPECT_EQ(queRows(), 0);
    EXPECT_TRUE(done(6, 1).startsWith("archive failed: ") && done(6, 1).endsWith("; Processed"))
        << done(6, 1).toStdString();
    EXPECT_EQ(files("OrdQueue"), (QStringList{"A1T1A.ord", "A1T1Ainfo.crd"}));

    // Once someone has cleared the files away, the name is free for the terminal's next order.
    ASSERT_TRUE(QFile::remove(suite->queueDir() + "/A1T1A.ord") && QFile::remove(suite->archiveDir()));
    window->Timer1_Timer();
    dropOrder("A1T1A.ord", {"MUG600\t1"});
    scanAndPass();
    EXPECT_EQ(orders(), 2);
}
