// What a saved order leaves behind: archive, terminal page, done list; and what happens when
// its files cannot leave the queue.

#include "QueueWindowFixture.h"

#include "Module1.h"
#include "SpreadGrid.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST_F(QueueWindowTest, SavedOrdersMoveToTheDoneListAndTheArchive)
{
    dropOrder("A1T2A.ord", {"GC25\t2"}, "C1002");
    dropOrder("A1T2B.ord", {"MUG600\t3", "GC25\t1"}, "C1001");
    const QByteArray orderBytes = contentOf(suite->queueDir() + "/A1T2B.ord");
    const QByteArray infoBytes = contentOf(suite->queueDir() + "/A1T2Binfo.crd");
    scan();
    pass();

    EXPECT_EQ(queueRows(), 0);
    ASSERT_EQ(doneRows(), 2);
    EXPECT_EQ(doneText(1, 1), "2");
    EXPECT_EQ(doneText(2, 1), "A1T2A.ord ( SO001001 )");
    EXPECT_EQ(doneText(3, 1), "C1002");
    EXPECT_EQ(doneText(4, 1), "Customer C1002");
    EXPECT_EQ(doneText(5, 1), "2");
    EXPECT_EQ(doneText(6, 1), "Processed");
    EXPECT_EQ(doneText(2, 2), "A1T2B.ord ( SO001002 )");

    // The terminal's page shows the later of its two orders.
    EXPECT_EQ(window->lblInvNo[1]->text(), "SO001002");
    EXPECT_EQ(window->lblCustName[1]->text(), "Harbor Street Boutique");
    EXPECT_EQ(window->lblOrderTotal[1]->text(), "46.75");
    ASSERT_EQ(window->fGrid[1]->maxRows(), 2);
    EXPECT_EQ(window->fGrid[1]->text(1, 1), "MUG600");

    EXPECT_EQ(queueFiles(), QStringList());
    EXPECT_EQ(archiveFiles(), (QStringList{"A1T2A.txt", "A1T2Ainfo.txt", "A1T2B.txt", "A1T2Binfo.txt"}));
    EXPECT_EQ(contentOf(suite->archiveDir() + "/A1T2B.txt"), orderBytes);
    EXPECT_EQ(contentOf(suite->archiveDir() + "/A1T2Binfo.txt"), infoBytes);
}

TEST_F(QueueWindowTest, MissingArchiveFolderIsCreated)
{
    ASSERT_TRUE(QDir(suite->archiveDir()).removeRecursively());
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scan();
    pass();
    EXPECT_EQ(queueFiles(), QStringList());
    EXPECT_EQ(archiveFiles(), (QStringList{"A1T1A.txt", "A1T1Ainfo.txt"}));
    EXPECT_EQ(doneText(6, 1), "Processed");
}

TEST_F(QueueWindowTest, AnArchivedOrderOfTheSameNameIsKept)
{
    suite->writeFile("admodule/ordsaved/A1T1A.txt", "yesterday's order");
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scan();
    pass();
    EXPECT_EQ(queueFiles(), QStringList());
    EXPECT_EQ(contentOf(suite->archiveDir() + "/A1T1A.txt"), "yesterday's order");
    EXPECT_EQ(contentOf(suite->archiveDir() + "/A1T1A(2).txt"), "GC25\t1\r\n");
    EXPECT_TRUE(QFile::exists(suite->archiveDir() + "/A1T1A(2)info.txt"));
}

TEST_F(QueueWindowTest, SavedOrderWhoseFilesCannotBeArchivedIsNeverConvertedAgain)
{
    // A plain file where the archive folder should be: nothing can be moved into it.
    ASSERT_TRUE(QDir(suite->archiveDir()).removeRecursively());
    suite->writeFile("admodule/ordsaved", "in the way");
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scan();
    pass();
    EXPECT_EQ(orderCount(), 1);
    EXPECT_EQ(queueRows(), 0);
    ASSERT_EQ(doneRows(), 1);
    EXPECT_TRUE(doneText(6, 1).startsWith("archive failed: ")) << doneText(6, 1).toStdString();
    EXPECT_TRUE(doneText(6, 1).endsWith("; Processed")) << doneText(6, 1).toStdString();
    EXPECT_EQ(queueFiles(), (QStringList{"A1T1A.ord", "A1T1Ainfo.crd"}));

    scan();
    pass();
    scan();
    pass();
    EXPECT_EQ(queueRows(), 0);
    EXPECT_EQ(orderCount(), 1);

    // Once someone has cleared the files away, the name is free for the terminal's next order.
    ASSERT_TRUE(QFile::remove(suite->queueDir() + "/A1T1A.ord"));
    ASSERT_TRUE(QFile::remove(suite->archiveDir()));
    scan();
    dropOrder("A1T1A.ord", {"MUG600\t1"});
    scan();
    pass();
    EXPECT_EQ(orderCount(), 2);
    EXPECT_EQ(archiveFiles(), (QStringList{"A1T1A.txt", "A1T1Ainfo.txt"}));
}
