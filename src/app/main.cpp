// rfstation: turns handheld terminal orders into the suite's sales orders and prints them.

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/ProgramFolderChoice.h"
#include "app/PrintCommand.h"
#include "app/ServiceNotifier.h"
#include "app/ShutdownSignals.h"

#include "module1/Module1.h"
#include "module1/QtMessageLog.h"
#include "printing/HeadlessPrintStation.h"
#include "printing/PrintJobLog.h"
#include "printui/PrintProgress.h"
#include "printui/PrintWindowStation.h"
#include "queue/QueueLog.h"
#include "queue/QueueService.h"
#include "queue/StationLock.h"
#include "queueui/frmTerminalMain.h"
#include "status/StatusServer.h"
#include "styles/StyleRegistration.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QGuiApplication>
#include <QDir>
#include <cstdio>
#include <memory>

namespace {

// --program-dir, else RFSTATION_PROGRAM_DIR (the service's environment file sets it), else the
// executable's folder.
QString programDirOf(const CommandLine &options)
{
    QString dir = options.programDir;
    if (dir.isEmpty())
        dir = qEnvironmentVariable("RFSTATION_PROGRAM_DIR");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    return QDir::cleanPath(QDir(dir).absolutePath());
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine options = CommandLine::parse(argc, argv);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "rfstation: %s\n%s", qPrintable(options.error), qPrintable(CommandLine::usage()));
        return ExitStatus::CommandLine;
    }
    if (options.help) {
        std::fputs(qPrintable(CommandLine::usage()), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("rfstation %s\n", RFSTATION_VERSION);
        return 0;
    }
    if (options.print)
        return RunPrintCommand(options, argc, argv);

    // Without a display the window platform would abort the program with a core dump.
    if (!options.headless && !options.qtPlatformGiven && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("rfstation: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "--headless runs the station without windows\n",
                   stderr);
        return ExitStatus::Settings;
    }

    // Headless, the station is the queue service and the print station alone: no widget, no
    // window. Fonts and page rendering still need Qt's GUI core; its "minimal" platform with its
    // fonts enabled has no windows at all and lays pages out exactly as a desktop does.
    const bool headless = options.headless;
    InstallQtMessageLog();
    std::unique_ptr<QCoreApplication> app;
    if (headless) {
        if (!options.qtPlatformGiven)
            qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        InstallMessageBoxes(); // from here the start-up's messages are boxes a person sees
    }
    QCoreApplication::setApplicationName(QStringLiteral("rfstation"));
    QGuiApplication::setApplicationDisplayName(QString::fromLatin1(AppTitle));
    // From here a SIGTERM during start-up waits for the event loop instead of killing the program.
    ShutdownSignals shutdownSignals;

    QString programDir = programDirOf(options);
    if (const std::optional<int> status = ChooseProgramFolder(options, programDir, shutdownSignals))
        return *status;

    StationLock lock;
    QString lockMessage;
    switch (lock.take(programDir, QStringLiteral("rfstation.lock"), QStringLiteral("program folder"), &lockMessage)) {
    case StationLock::Result::Taken:
        break;
    case StationLock::Result::HeldByAnother:
        ShowMessage(lockMessage, QString::fromLatin1(AppTitle), MessageIcon::Critical);
        return ExitStatus::StationRunning;
    case StationLock::Result::Failed:
        ShowMessage(lockMessage, QString::fromLatin1(AppTitle), MessageIcon::Critical);
        return ExitStatus::Settings;
    }

    registerLayoutStyles();
    QueueService service(programDir);
    if (!options.printQty.isNull())
        service.setDefaultPrintQty(options.printQty);
    ServiceNotifier notifier;
    QObject::connect(&shutdownSignals, &ShutdownSignals::received, &notifier, &ServiceNotifier::stopping);
    QObject::connect(&shutdownSignals, &ShutdownSignals::received, &service, &QueueService::requestShutdown);
    QObject::connect(&service, &QueueService::pollingAlive, &notifier, &ServiceNotifier::alive);
    StatusServer statusServer(service);
    if (const int status = statusServer.start(options.statusListen); status != 0)
        return status;

    if (headless) {
        InstallPrintJobLog();
        // Orders print without the print window: no widget is built for a print.
        HeadlessPrintStation printStation(programDir);
        service.setPrintStation(&printStation);
        QueueLog log(service);
        QObject::connect(
            &service, &QueueService::finished, app.get(), [&service] { QCoreApplication::exit(service.exitStatus()); },
            Qt::QueuedConnection);
        if (const int status = service.start(); status != 0)
            return status;
        log.started();
        try {
            printStation.showAfresh(nullptr);
        } catch (const std::exception &e) {
            ShowMessage(QString::fromLocal8Bit(e.what()), QString::fromLatin1(AppTitle), MessageIcon::Critical);
        }
        notifier.ready(QStringLiteral("Watching %1").arg(programDir));
        const int status = app->exec();
        printStation.closeWindow();
        return status;
    }

    PrintProgress::install();
    PrintWindowStation printStation(programDir);
    service.setPrintStation(&printStation);
    frmTerminalMain window(service);
    window.setPrintStation(&printStation);
    if (const int status = window.Form_Load(); status != 0 || shutdownSignals.arrived())
        return status;
    notifier.ready(QStringLiteral("Watching %1").arg(programDir));
    window.show();
    return app->exec();
}
