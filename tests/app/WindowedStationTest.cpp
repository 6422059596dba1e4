// The windowed program as the applications menu starts it: no program folder named, so it works
// on the one the user chose before; and SIGTERM ends it as it ends a headless station.

#include "app/Station.h"
#include "support/TempSuite.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(WindowedStation, AMenuStartWorksOnTheRememberedFolderAndEndsOnSigterm)
{
    TempSuite suite(TempSuite::Data::Demo);
    suite.writeFile("admodule/tolvaprt.ini", "[Queue]\r\nSettleSeconds=0.2\r\n");
    suite.writeFile("admodule/OrdQueue/A1T1Binfo.crd", "[Customer]\r\nNumber=C1001\r\nName=Harbor\r\n");
    suite.writeFile("admodule/OrdQueue/A1T1B.ord", "GC25\t1\r\n");
    QTemporaryDir config;
    {
        QSettings remembered(config.filePath("rfstation/rfstation.conf"), QSettings::IniFormat);
        remembered.setValue("ProgramFolder", suite.programDir());
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("RFSTATION_PROGRAM_DIR");
    environment.insert("XDG_CONFIG_HOME", config.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");

    Station station({"--print-qty", "0"}, environment);
    // The order is saved and archived: the window's event loop runs.
    const QString archived = suite.archiveDir() + "/A1T1B.txt";
    ASSERT_TRUE(station.waitFor([&] { return QFile::exists(archived); }, 60)) << station.log.toStdString();
    EXPECT_EQ(station.stop(), 0) << station.log.toStdString();
}
