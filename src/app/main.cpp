// rfstation: turns handheld terminal orders into the suite's sales orders and prints them.

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/ServiceNotifier.h"
#include "app/ShutdownSignals.h"
#include "app/StationLock.h"

#include "printing/HeadlessPrintStation.h"
#include "module1/Module1.h"
#include "printing/PrintJobLog.h"
#include "printui/PrintProgress.h"
#include "printui/PrintWindowStation.h"
#include "styles/StyleRegistration.h"
#include "queue/frmTerminalMain.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>

namespace {

// The offscreen platform tells about window features it lacks; in a headless run that is noise
// between the lines an operator reads.
void headlessMessageFilter(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || message.startsWith(QLatin1String("This plugin does not support"))
        || message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    const LogPriority priority = type == QtInfoMsg      ? LogPriority::Info
                               : type == QtWarningMsg ? LogPriority::Warning
                                                      : LogPriority::Error;
    LogLine(qFormatLogMessage(type, context, message), priority);
}

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

    // Without a display the window platform would abort the program with a core dump.
    if (!options.headless && !options.qtPlatformGiven && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("rfstation: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "--headless runs the station without windows\n",
                   stderr);
        return ExitStatus::Settings;
    }

    // Headless runs the same program on the offscreen platform: no window, no dialog that waits.
    gHeadless = options.headless;
    if (gHeadless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(headlessMessageFilter);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rfstation"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(AppTitle));
    QApplication::setQuitOnLastWindowClosed(false);
    // From here a SIGTERM during start-up waits for the event loop instead of killing the program.
    ShutdownSignals shutdownSignals;

    gProgramDir = programDirOf(options);

    StationLock lock;
    QString lockMessage;
    switch (lock.take(gProgramDir, &lockMessage)) {
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
    if (gHeadless) {
        InstallPrintJobLog();
    } else {
        InstallMessageBoxes();
        PrintProgress::install();
    }
    // Headless, orders print without the print window: no widget is built for a print.
    const std::unique_ptr<PrintStation> printStation = gHeadless
        ? std::unique_ptr<PrintStation>(std::make_unique<HeadlessPrintStation>())
        : std::make_unique<PrintWindowStation>();
    frmTerminalMain window;
    window.setPrintStation(printStation.get());
    if (!options.printQty.isNull())
        window.setDefaultPrintQty(options.printQty);
    ServiceNotifier service;
    QObject::connect(&shutdownSignals, &ShutdownSignals::received, &service, &ServiceNotifier::stopping);
    QObject::connect(&shutdownSignals, &ShutdownSignals::received, &window, &frmTerminalMain::requestShutdown);
    QObject::connect(&window, &frmTerminalMain::pollingAlive, &service, &ServiceNotifier::alive);

    const int status = window.Form_Load();
    if (status != 0)
        return status;
    service.ready(QStringLiteral("Watching %1").arg(gProgramDir));
    if (!gHeadless)
        window.show();
    return app.exec();
}
