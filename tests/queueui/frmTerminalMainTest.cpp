#include "queue/QueueService.h"
#include "queueui/MainWindowFixture.h"
#include "support/TempSuite.h"

#include "module1/Module1.h"
#include "widgets/SpreadGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <gtest/gtest.h>

namespace {

class MainWindowStartup : public ::testing::Test
{
protected:
    // A station on `programDir` (messages go to standard error: nothing waits for a person).
    struct Station
    {
        explicit Station(const QString &programDir) : service(programDir), w(service) {}
        QueueService service;
        frmTerminalMain w;
    };

    TempSuite suite;
};

} // namespace

TEST_F(MainWindowStartup, StartsRunningInHouseModeUnlessTheShowDatabaseExists)
{
    suite.setIni("Access", "DBNameShow", suite.root() + "/missing-show.db");
    {
        Station s(suite.programDir());
        ASSERT_EQ(s.w.Form_Load(), 0);
        EXPECT_FALSE(s.service.context().tradeShow);
        EXPECT_EQ(s.w.windowTitle(), "RF Order Station   *** In House Mode ***");
        EXPECT_TRUE(s.service.scanTimer()->isActive() && s.service.passTimer()->isActive());
        EXPECT_NE(s.service.server(), nullptr);
    }
    QFile::copy(suite.databasePath(), suite.root() + "/show.db");
    suite.setIni("Access", "DBNameShow", suite.root() + "/show.db");
    Station s(suite.programDir());
    ASSERT_EQ(s.w.Form_Load(), 0);
    EXPECT_TRUE(s.service.context().tradeShow);
    EXPECT_EQ(s.w.windowTitle(), "RF Order Station   *** Trade Show Mode ***");
}

TEST_F(MainWindowStartup, StartUpProblemsEndTheProgramWithAStatus)
{
    const QString missing = suite.root() + "/gone.db";
    suite.setIni("Access", "DBName", missing);
    {
        Station s(suite.programDir());
        EXPECT_EQ(s.w.Form_Load(), 1);
        EXPECT_FALSE(QFileInfo::exists(missing)); // never created empty
        EXPECT_FALSE(s.service.scanTimer()->isActive());
        EXPECT_EQ(s.service.server(), nullptr);
    }
    suite.setIni("Access", "DBName", suite.databasePath());
    for (const char *type : {"", "abc"}) {
        suite.setIni("Access", "DBType", type);
        Station s(suite.programDir());
        EXPECT_EQ(s.w.Form_Load(), 2) << type;
    }
    suite.setIni("Access", "DBType", "0");
    {
        // Not the suite's database: refused at once, not order by order.
        suite.exec("DROP TABLE shipto");
        Station s(suite.programDir());
        EXPECT_EQ(s.w.Form_Load(), 1);
        EXPECT_EQ(s.service.server(), nullptr);
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
        Station s(f.programDir);
        testing::internal::CaptureStderr();
        EXPECT_EQ(s.w.Form_Load(), 2) << f.programDir.toStdString();
        EXPECT_TRUE(QString::fromStdString(testing::internal::GetCapturedStderr()).contains(f.named))
            << f.named.toStdString();
        EXPECT_EQ(s.service.server(), nullptr);
    }
}

TEST_F(MainWindowStartup, RunButtonTogglesProcessing)
{
    Station s(suite.programDir());
    frmTerminalMain &w = s.w;
    ASSERT_EQ(w.Form_Load(), 0);
    w.btnRun_Click();
    EXPECT_EQ(w.btnRun->text(), "Click Here to Start Processing Order Queues");
    EXPECT_EQ(w.statusMsgPanel->text(), "STOPPED");
    EXPECT_FALSE(s.service.running());
    EXPECT_FALSE(s.service.scanTimer()->isActive() || s.service.passTimer()->isActive());
    w.btnRun_Click();
    EXPECT_EQ(w.btnRun->text(), "Click Here to Stop Processing Order Queues");
    EXPECT_EQ(w.statusMsgPanel->text(), "RUNNING ..");
    EXPECT_TRUE(s.service.running());
    EXPECT_TRUE(s.service.scanTimer()->isActive() && s.service.passTimer()->isActive());
}

TEST_F(MainWindowStartup, ClosingIsRefusedWhileOrdersAreQueuedAndProcessingRuns)
{
    Station s(suite.programDir());
    frmTerminalMain &w = s.w;
    ASSERT_EQ(w.Form_Load(), 0);
    w.show();
    suite.writeFile("admodule/OrdQueue/A1T1A.ord", "GC25\t1\r\n");
    s.service.Timer1_Timer();
    ASSERT_EQ(s.service.queue()->rowCount(), 1);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_NE(s.service.server(), nullptr);

    w.btnRun_Click(); // stopped: now it may close
    EXPECT_TRUE(w.close());
    EXPECT_EQ(s.service.server(), nullptr);
}

TEST_F(MainWindowStartup, AnEmptyQueueClosesAtOnceEvenWhileRunning)
{
    Station s(suite.programDir());
    ASSERT_EQ(s.w.Form_Load(), 0);
    s.w.show();
    EXPECT_TRUE(s.w.close());
}

// Stopping, restarting and ending while a pass converts.

TEST_F(MainWindowTest, StopDuringAPassFinishesTheCurrentOrderOnly)
{
    for (const char *name : {"A1T1A.ord", "A1T1B.ord", "A1T1C.ord"})
        dropOrder(name, {"GC25\t1", "MUG600\t1"});
    service->Timer1_Timer();
    DuringConversion stop(service.get(), 1, [this] { window->btnRun->click(); });
    service->Timer2_Timer();
    ASSERT_TRUE(stop.happened());
    EXPECT_EQ(orders(), 1);
    EXPECT_EQ(queRows(), 2);
    EXPECT_EQ(que(6, 1) + que(6, 2), "");
    EXPECT_EQ(window->statusMsgPanel->text(), "STOPPED");
    EXPECT_FALSE(service->scanTimer()->isActive() || service->passTimer()->isActive());

    window->btnRun->click();
    EXPECT_EQ(window->statusMsgPanel->text(), "RUNNING ..");
    service->Timer2_Timer();
    EXPECT_EQ(orders(), 3);
}

TEST_F(MainWindowTest, QuickStopAndStartDuringAPassNeverStartsASecondPass)
{
    for (const char *name : {"A1T1A.ord", "A1T1B.ord", "A1T1C.ord"})
        dropOrder(name, {"GC25\t1", "MUG600\t1"});
    service->Timer1_Timer();
    DuringConversion restart(service.get(), 1, [this] {
        window->btnRun->click();
        window->btnRun->click();
        // The timers run again and fire while the first pass is still converting.
        service->Timer2_Timer();
        service->Timer1_Timer();
    });
    service->Timer2_Timer();
    ASSERT_TRUE(restart.happened());
    EXPECT_EQ(orders(), 3);
    EXPECT_EQ(suite->count("SELECT * FROM sodetail"), 6);
    EXPECT_EQ(queRows(), 0);
}

TEST_F(MainWindowTest, ShutdownOrCloseDuringAPassWaitsForTheCurrentOrder)
{
    const std::function<void()> ways[] = {
        [this] { service->requestShutdown(); }, // SIGTERM
        [this] {
            window->btnRun->click(); // stopped, so the close check lets the window close
            window->btnExit->click();
        }};
    for (const auto &way : ways) {
        TearDown();
        SetUp();
        for (const char *name : {"A1T1A.ord", "A1T1B.ord"})
            dropOrder(name, {"GC25\t1", "MUG600\t1"});
        service->Timer1_Timer();
        DuringConversion during(service.get(), 1, [&] {
            way();
            EXPECT_NE(service->server(), nullptr) << "the database service must outlive the order";
        });
        service->Timer2_Timer();
        ASSERT_TRUE(during.happened());
        EXPECT_EQ(orders(), 1);
        EXPECT_EQ(service->server(), nullptr) << "the program ends once the pass is over";
    }
}

TEST_F(MainWindowTest, ATerminalsPageShowsItsLastOrder)
{
    dropOrder("A1T2A.ord", {"GC25\t2"}, "C1002");
    dropOrder("A1T2B.ord", {"MUG600\t3", "GC25\t1"}, "C1001");
    scanAndPass();
    EXPECT_EQ(window->lblInvNo[1]->text(), "SO001002");
    EXPECT_EQ(window->lblCustName[1]->text(), "Harbor Street Boutique");
    EXPECT_EQ(window->lblOrderTotal[1]->text(), "46.75");
    ASSERT_EQ(window->fGrid[1]->maxRows(), 2);
    EXPECT_EQ(window->fGrid[1]->text(1, 1), "MUG600");
    EXPECT_EQ(window->fGrid[1]->text(6, 1), "3");
}

TEST_F(MainWindowTest, AShutdownWhileTheCloseCheckSpeaksClosesTheWindow)
{
    dropOrder("A1T1A.ord", {"GC25\t1"}, "C9999");
    service->Timer1_Timer();
    window->show();
    // SIGTERM while "Stop the Order Queue Processings first .." is shown: the service stops and
    // the message box is closed, as the program's signal handling does.
    QTimer signal;
    signal.setInterval(0);
    QObject::connect(&signal, &QTimer::timeout, [this] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            service->requestShutdown();
            box->reject();
        }
    });
    signal.start();
    window->btnExit->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(service->server(), nullptr);
}
