// Starting the real program wrongly: a second station on a program folder that one holds, and a
// windowed start without a display.

#include "app/Station.h"
#include "support/TempSuite.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

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
    Station first(suite.programDir(), 0);
    ASSERT_TRUE(first.waitFor([&] { return first.log.contains("watching"); }, 60)) << first.log.toStdString();

    Station second(suite.programDir(), 0);
    const QByteArray refused = runToEnd(second.process);
    EXPECT_EQ(second.process.exitCode(), 3) << refused.toStdString();
    EXPECT_TRUE(refused.contains("Another station is running on the program folder "
                                 + suite.programDir().toUtf8() + " (process "
                                 + QByteArray::number(first.process.processId()) + " on "))
        << refused.toStdString();

    // The lock goes with its process however it ends: after SIGKILL the folder is free again.
    first.process.kill();
    runToEnd(first.process);
    Station third(suite.programDir(), 0);
    EXPECT_TRUE(third.waitFor([&] { return third.log.contains("watching"); }, 60)) << third.log.toStdString();
    EXPECT_EQ(third.stop(), 0);
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
