// One queue, one station, however the queue is reached; two queues never mixed up, even where
// they lie at the same path on two machines.

#include "app/Station.h"
#include "support/TempSuite.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

void drop(const QString &queue, const QString &name)
{
    for (const auto &[file, content] : {std::pair{name + "info.crd", QByteArray("[Customer]\r\nNumber=C1001\r\n")},
                                        std::pair{name + ".ord", QByteArray("GC25\t1\r\n")}}) {
        QFile out(queue + "/" + file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    }
}

} // namespace

TEST(OneQueue, ASecondProgramFolderWhoseQueueIsALinkToTheFirstIsRefused)
{
    TempSuite suite(TempSuite::Data::Demo);
    Station first(suite.programDir(), 0);
    ASSERT_TRUE(first.waitFor([&] { return first.log.contains("watching"); }, 60)) << first.log.toStdString();

    const QString linked = suite.programDir() + "/linked";
    ASSERT_TRUE(QDir().mkpath(linked) && QFile::link(suite.queueDir(), linked + "/OrdQueue"));
    Station second(linked, 0);
    ASSERT_TRUE(second.process.waitForFinished(60000));
    second.log += second.process.readAll();
    EXPECT_EQ(second.process.exitCode(), 3) << second.log.toStdString();
    EXPECT_TRUE(second.log.contains("Another station is running on the queue folder " + linked.toUtf8()
                                    + "/OrdQueue (process " + QByteArray::number(first.process.processId()) + " on "))
        << second.log.toStdString();
    EXPECT_EQ(first.stop(), 0);
}

// Two machines that mount two different queues at the same path, on one database: the second
// machine is this one with the other queue mounted over the first in a mount namespace of its own.
TEST(OneQueue, TwoQueuesAtTheSamePathOnTwoMachinesKeepTheirOrdersApart)
{
    const QString unshare = QStandardPaths::findExecutable("unshare");
    if (unshare.isEmpty() || QProcess::execute(unshare, {"--mount", "--", "true"}) != 0)
        GTEST_SKIP() << "no mount namespace can be made here";
    TempSuite suite(TempSuite::Data::Demo);
    const QString program = suite.programDir() + "/station";
    const QString otherMachine = suite.root() + "/other-machine";
    for (const QString &dir : {program, otherMachine})
        ASSERT_TRUE(QDir().mkpath(dir + "/OrdQueue") && QDir().mkpath(dir + "/ordsaved"));
    // The same order file, name and content, in both queues.
    drop(program + "/OrdQueue", "A1T1A");
    drop(otherMachine + "/OrdQueue", "A1T1A");

    QProcessEnvironment here = QProcessEnvironment::systemEnvironment();
    here.insert("RFSTATION_HOST", "machine-a");
    Station a(program, 0, here);
    ASSERT_TRUE(a.waitFor([&] { return a.log.contains("Saved A1T1A.ord"); }, 60)) << a.log.toStdString();

    QProcessEnvironment there = QProcessEnvironment::systemEnvironment();
    there.insert("RFSTATION_HOST", "machine-b");
    QProcess b;
    b.setProcessEnvironment(there);
    b.setProcessChannelMode(QProcess::MergedChannels);
    b.start(unshare, {"--mount", "--", "sh", "-c",
                      "mount --bind \"$1\" \"$2\" && exec \"$3\" --headless --program-dir \"$2\" --print-qty 0", "sh",
                      otherMachine, program, RFSTATION_EXECUTABLE});
    ASSERT_TRUE(b.waitForStarted(30000));
    QByteArray bLog;
    const QDeadlineTimer deadline(60000);
    while (!bLog.contains("Saved A1T1A.ord") && b.state() == QProcess::Running && !deadline.hasExpired()) {
        b.waitForReadyRead(250);
        bLog += b.readAll();
    }
    EXPECT_TRUE(bLog.contains("Saved A1T1A.ord")) << bLog.toStdString();
    ::kill(pid_t(b.processId()), SIGTERM);
    b.waitForFinished(60000);
    EXPECT_EQ(a.stop(), 0) << a.log.toStdString();

    // Each machine saved its own order and archived its own files; neither touched the other's.
    EXPECT_EQ(suite.count("SELECT * FROM so"), 2);
    EXPECT_EQ(suite.count("SELECT * FROM rfimport WHERE archivedat IS NULL"), 0);
    EXPECT_EQ(QDir(otherMachine + "/ordsaved").entryList(QDir::Files).size(), 2);
    EXPECT_EQ(QDir(program + "/ordsaved").entryList(QDir::Files).size(), 2);
}
