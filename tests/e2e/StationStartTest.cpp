// Starting the real program wrongly: a second station on a program folder that one holds, and a
// windowed start without a display.

#include "TempSuite.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>
#include <signal.h>

namespace {

QByteArray runToEnd(QProcess &process)
{
    EXPECT_TRUE(process.waitForFinished(60000));
    return process.readAll();
}

} // namespace

TEST(StationStart, ASecondStationOnTheSameFolderRefusesAndNamesTheFirst)
{
    TempSuite suite(TempSuite::Data::Demo);
    const QStringList arguments{"--headless", "--program-dir", suite.programDir(), "--print-qty", "0"};
    QProcess first;
    first.setProcessChannelMode(QProcess::MergedChannels);
    first.start(QStringLiteral(RFSTATION_EXECUTABLE), arguments);
    QByteArray log;
    const QDeadlineTimer deadline(60000);
    while (!log.contains("watching") && !deadline.hasExpired() && first.state() != QProcess::NotRunning) {
        first.waitForReadyRead(250);
        log += first.readAll();
    }
    ASSERT_TRUE(log.contains("watching")) << log.toStdString();

    QProcess second;
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(QStringLiteral(RFSTATION_EXECUTABLE), arguments);
    const QByteArray refused = runToEnd(second);
    EXPECT_EQ(second.exitCode(), 3) << refused.toStdString();
    EXPECT_TRUE(refused.contains("Another station is running on the program folder "
                                 + suite.programDir().toUtf8() + " (process "
                                 + QByteArray::number(first.processId()) + ")"))
        << refused.toStdString();

    // The lock goes with its process however it ends: after SIGKILL the folder is free again.
    ::kill(pid_t(first.processId()), SIGKILL);
    runToEnd(first);
    QProcess third;
    third.setProcessChannelMode(QProcess::MergedChannels);
    third.start(QStringLiteral(RFSTATION_EXECUTABLE), arguments);
    log.clear();
    while (!log.contains("watching") && third.state() != QProcess::NotRunning && third.waitForReadyRead(60000))
        log += third.readAll();
    EXPECT_TRUE(log.contains("watching")) << log.toStdString();
    ::kill(pid_t(third.processId()), SIGTERM);
    runToEnd(third);
    EXPECT_EQ(third.exitCode(), 0);
}

TEST(StationStart, WithoutADisplayItSaysSoInOneLine)
{
    TempSuite suite(TempSuite::Data::Demo);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess station;
    station.setProcessEnvironment(environment);
    station.start(QStringLiteral(RFSTATION_EXECUTABLE), {"--program-dir", suite.programDir()});
    ASSERT_TRUE(station.waitForFinished(60000));
    const QByteArray error = station.readAllStandardError();
    EXPECT_EQ(station.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(station.exitCode(), 2);
    EXPECT_EQ(error.count('\n'), 1) << error.toStdString();
    EXPECT_TRUE(error.contains("no display") && error.contains("--headless")) << error.toStdString();
}
