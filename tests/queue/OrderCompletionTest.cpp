// What a saved order leaves behind, and what happens when its files cannot leave the queue.

#include "queue/QueueServiceFixture.h"


#include <QDir>
#include <QFile>
#include <cerrno>
#include <unistd.h>

TEST_F(QueueServiceTest, SavedOrdersMoveToTheDoneListAndTheArchive)
{
    ASSERT_TRUE(QDir(suite->archiveDir()).removeRecursively()); // a missing archive is created
    dropOrder("A1T2A.ord", {"GC25\t2"}, "C1002");
    dropOrder("A1T2B.ord", {"MUG600\t3", "GC25\t1"}, "C1001");
    scanAndPass();
    EXPECT_EQ(queRows(), 0);
    const QStringList expected[] = {{"2", "A1T2A.ord ( SO001001 )", "C1002", "Customer C1002", "2", "Processed"},
                                    {"2", "A1T2B.ord ( SO001002 )", "C1001", "Customer C1001", "2", "Processed"}};
    ASSERT_EQ(service->done()->rowCount(), 2);
    for (int row = 1; row <= 2; ++row)
        for (int col = 1; col <= 6; ++col)
            EXPECT_EQ(done(col, row), expected[row - 1][col - 1]);
    // The terminal's page shows the later of its two orders.
    EXPECT_EQ(page(2).invNo, "SO001002");
    EXPECT_EQ(page(2).billToName, "Harbor Street Boutique");
    EXPECT_EQ(page(2).total, Currency::fromRaw(467500));
    EXPECT_EQ(page(2).lines.value(0).itemNo, "MUG600");
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

TEST_F(QueueServiceTest, SavedOrderWhoseFilesCannotBeArchivedIsNeverSavedTwice)
{
    ASSERT_TRUE(QDir(suite->archiveDir()).removeRecursively());
    suite->writeFile("admodule/ordsaved", "a file where the archive folder should be");
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scanAndPass();
    scanAndPass();
    EXPECT_EQ(orders(), 1);
    EXPECT_TRUE(done(6, 1).startsWith("archive failed: ") && done(6, 1).endsWith("; Processed"))
        << done(6, 1).toStdString();
    ASSERT_EQ(queRows(), 1);
    EXPECT_TRUE(que(6, 1).startsWith("Saved as SO001001; not archived: ")) << que(6, 1).toStdString();

    // After a restart (as after a crash between the save and the archiving) it is still not saved
    // again, and its archiving is finished once the archive can take it.
    startService();
    service->readiness().setSettleMs(0); // there before the watch began: settled by time
    scanAndPass();
    EXPECT_EQ(orders(), 1);
    ASSERT_TRUE(QFile::remove(suite->archiveDir()));
    scanAndPass();
    EXPECT_EQ(orders(), 1);
    EXPECT_EQ(queRows(), 0);
    EXPECT_EQ(done(2, 1), "A1T1A.ord ( SO001001 )");
    EXPECT_EQ(done(6, 1), "saved before a restart; archived now; Processed"); // listed once, not printed before
    EXPECT_EQ(files("ordsaved"), (QStringList{"A1T1A.txt", "A1T1Ainfo.txt"}));

    // The same name with the same content once the first has left the queue is a new order.
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scanAndPass();
    EXPECT_EQ(orders(), 2);
}

TEST_F(QueueServiceTest, SavedFileWhoseContentChangedIsANewOrder)
{
    ASSERT_TRUE(QDir(suite->archiveDir()).removeRecursively());
    suite->writeFile("admodule/ordsaved", "not a folder");
    dropOrder("A1T1A.ord", {"GC25\t1"});
    scanAndPass();
    suite->writeFile("admodule/OrdQueue/A1T1A.ord", "MUG600\t2\r\n");
    scanAndPass();
    EXPECT_EQ(suite->scalar("SELECT group_concat(itemno) FROM (SELECT itemno FROM sodetail ORDER BY autonum)")
                  .toString(),
              "GC25,MUG600");
}

namespace {

int failOrderFileMoves(const char *from, const char *to)
{
    if (QByteArray(from).endsWith(".ord")) {
        errno = EACCES;
        return -1;
    }
    return ::rename(from, to);
}

} // namespace

// Killed between the two moves: the info file went ahead, the order file follows it under the
// same name; a copy cut off on its way is cleared away at the start.
TEST_F(QueueServiceTest, AnOrderFileFollowsItsInfoFileIntoTheArchiveAfterACrash)
{
    suite->writeFile("admodule/ordsaved/A1T1Ainfo.txt", "an earlier order's");
    suite->writeFile("admodule/ordsaved/A1T1A.txt", "an earlier order's");
    dropOrder("A1T1A.ord", {"GC25\t1"});
    SetFileMoveCalls({failOrderFileMoves, nullptr});
    scanAndPass();
    SetFileMoveCalls({});
    ASSERT_EQ(files("ordsaved"), (QStringList{"A1T1A(2)info.txt", "A1T1A.txt", "A1T1Ainfo.txt"}));
    suite->writeFile("admodule/ordsaved/.A1T1A(2).txt.part", "cut off");

    startService();
    service->readiness().setSettleMs(0);
    scanAndPass();
    EXPECT_EQ(orders(), 1);
    EXPECT_EQ(QDir(suite->archiveDir()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"A1T1A(2).txt", "A1T1A(2)info.txt", "A1T1A.txt", "A1T1Ainfo.txt"}));
}

namespace {

int failWithNoSpace;
// The archive lies on another file system that is full: every write after the first few bytes
// fails as a full disk does.
long writeUntilFull(int fd, const void *data, unsigned long size)
{
    if (failWithNoSpace-- <= 0) {
        errno = ENOSPC;
        return -1;
    }
    return long(::write(fd, data, size > 3 ? 3 : size));
}
int renameAcrossFileSystems(const char *, const char *)
{
    errno = EXDEV;
    return -1;
}

} // namespace

TEST_F(QueueServiceTest, AFullArchiveDiskKeepsTheOrderFilesQueued)
{
    failWithNoSpace = 2;
    SetFileMoveCalls({renameAcrossFileSystems, writeUntilFull});
    dropOrder("A1T1A.ord", {"GC25\t1", "MUG600\t2"});
    scanAndPass();
    EXPECT_EQ(orders(), 1);
    EXPECT_EQ(files("OrdQueue"), (QStringList{"A1T1A.ord", "A1T1Ainfo.crd"}));
    EXPECT_EQ(QDir(suite->archiveDir()).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_TRUE(que(6, 1).contains("No space left on device")) << que(6, 1).toStdString();

    // Space again, still on another file system: copied whole, then the originals go.
    SetFileMoveCalls({renameAcrossFileSystems, nullptr});
    scanAndPass();
    SetFileMoveCalls({});
    EXPECT_EQ(orders(), 1);
    EXPECT_EQ(files("OrdQueue"), QStringList());
    QFile archived(suite->archiveDir() + "/A1T1A.txt");
    ASSERT_TRUE(archived.open(QIODevice::ReadOnly));
    EXPECT_EQ(archived.readAll(), "GC25\t1\r\nMUG600\t2\r\n");
}
