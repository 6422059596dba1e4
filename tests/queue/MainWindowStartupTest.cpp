#include "module1/Module1.h"
#include "widgets/SpreadGrid.h"
#include "support/TempSuite.h"
#include "queue/frmTerminalMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class MainWindowStartup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gHeadless = true; // messages go to standard error, nothing waits for a person
        gTradeShow = false;
        gStopRequested = false;
        gScanBusy = false;
        gProgramDir = suite.programDir();
    }

    TempSuite suite;
};

} // namespace

TEST_F(MainWindowStartup, StartsRunningInHouseModeUnlessTheShowDatabaseExists)
{
    suite.setIni("Access", "DBNameShow", suite.root() + "/missing-show.db");
    {
        frmTerminalMain w;
        ASSERT_EQ(w.Form_Load(), 0);
        EXPECT_FALSE(gTradeShow);
        EXPECT_EQ(w.windowTitle(), "RF Order Station   *** In House Mode ***");
        EXPECT_TRUE(w.Timer1->isActive() && w.Timer2->isActive());
        EXPECT_NE(gServer, nullptr);
    }
    QFile::copy(suite.databasePath(), suite.root() + "/show.db");
    suite.setIni("Access", "DBNameShow", suite.root() + "/show.db");
    frmTerminalMain w;
    ASSERT_EQ(w.Form_Load(), 0);
    EXPECT_TRUE(gTradeShow);
    EXPECT_EQ(w.windowTitle(), "RF Order Station   *** Trade Show Mode ***");
}

TEST_F(MainWindowStartup, StartUpProblemsEndTheProgramWithAStatus)
{
    const QString missing = suite.root() + "/gone.db";
    suite.setIni("Access", "DBName", missing);
    {
        frmTerminalMain w;
        EXPECT_EQ(w.Form_Load(), 1);
        EXPECT_FALSE(QFileInfo::exists(missing)); // never created empty
        EXPECT_FALSE(w.Timer1->isActive());
        EXPECT_EQ(gServer, nullptr);
    }
    suite.setIni("Access", "DBName", suite.databasePath());
    for (const char *type : {"", "abc"}) {
        suite.setIni("Access", "DBType", type);
        frmTerminalMain w;
        EXPECT_EQ(w.Form_Load(), 2) << type;
    }
    suite.setIni("Access", "DBType", "0");
    {
        // Not the suite's database: refused at once, not order by order.
        suite.exec("DROP TABLE shipto");
        frmTerminalMain w;
        EXPECT_EQ(w.Form_Load(), 1);
        EXPECT_EQ(gServer, nullptr);
    }

    // Wrong folders: the program ends with the settings status and a line naming the folder.
    const QString queue = suite.queueDir();
    const struct
    {
        QString programDir, named;
    } folders[] = {
        {suite.root() + "/bin", "no \"admodule\" folder"},
        {suite.root() + "/admodules_x/bin", "no \"admodule\" folder"},
        {suite.root() + "/admodule/gone", "\"" + suite.root() + "/admodule/gone\" does not exist"},
        {suite.programDir(), "\"" + queue + "\" does not exist"},
    };
    QDir().mkpath(suite.root() + "/bin");
    QDir().mkpath(suite.root() + "/admodules_x/bin");
    ASSERT_TRUE(QDir().rename(queue, queue + ".away"));
    for (const auto &f : folders) {
        gProgramDir = f.programDir;
        frmTerminalMain w;
        testing::internal::CaptureStderr();
        EXPECT_EQ(w.Form_Load(), 2) << f.programDir.toStdString();
        EXPECT_TRUE(QString::fromStdString(testing::internal::GetCapturedStderr()).contains(f.named))
            << f.named.toStdString();
        EXPECT_EQ(gServer, nullptr);
    }
}

TEST_F(MainWindowStartup, RunButtonTogglesProcessing)
{
    frmTerminalMain w;
    ASSERT_EQ(w.Form_Load(), 0);
    w.btnRun_Click();
    EXPECT_EQ(w.btnRun->text(), "Click Here to Start Processing Order Queues");
    EXPECT_EQ(w.statusMsgPanel->text(), "STOPPED");
    EXPECT_TRUE(gStopRequested);
    EXPECT_FALSE(w.Timer1->isActive() || w.Timer2->isActive());
    w.btnRun_Click();
    EXPECT_EQ(w.btnRun->text(), "Click Here to Stop Processing Order Queues");
    EXPECT_EQ(w.statusMsgPanel->text(), "RUNNING ..");
    EXPECT_FALSE(gStopRequested);
    EXPECT_TRUE(w.Timer1->isActive() && w.Timer2->isActive());
}

TEST_F(MainWindowStartup, ClosingIsRefusedWhileOrdersAreQueuedAndProcessingRuns)
{
    frmTerminalMain w;
    ASSERT_EQ(w.Form_Load(), 0);
    w.show();
    w.fQue->addRow();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_NE(gServer, nullptr);

    w.btnRun_Click(); // stopped: now it may close
    EXPECT_TRUE(w.close());
    EXPECT_EQ(gServer, nullptr);
}

TEST_F(MainWindowStartup, AnEmptyQueueClosesAtOnceEvenWhileRunning)
{
    frmTerminalMain w;
    ASSERT_EQ(w.Form_Load(), 0);
    w.show();
    EXPECT_TRUE(w.close());
}
