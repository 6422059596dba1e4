#include "app/PrintCommand.h"

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "module1/Module1.h"
#include "module1/QtMessageLog.h"
#include "printing/PrintJobLog.h"
#include "styles/StyleRegistration.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

int RunPrintCommand(const CommandLine &options, int &argc, char *argv[])
{
    // Pages are laid out with the fonts a desktop has, on a platform without windows.
    if (!options.qtPlatformGiven)
        qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    InstallQtMessageLog();
    const QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rfstation"));

    const QString programDir = QDir::cleanPath(QDir(options.programDir).absolutePath());
    if (!QFileInfo(programDir).isDir()) {
        std::fprintf(stderr, "rfstation print: the program folder \"%s\" does not exist\n", qPrintable(programDir));
        return ExitStatus::Settings;
    }
    registerLayoutStyles();
    InstallPrintJobLog();

    const PrintOutcome outcome = PrintSelected(programDir, options.printSelection);
    using Result = PrintOutcome::Result;
    if (outcome.result == Result::Printed) {
        std::printf("%s\n", qPrintable(outcome.message));
        return ExitStatus::Normal;
    }
    std::fprintf(stderr, "rfstation print: %s\n", qPrintable(outcome.message.simplified()));
    switch (outcome.result) {
    case Result::Database: return ExitStatus::Database;
    case Result::Settings:
    case Result::NoPrinter: return ExitStatus::Settings;
    case Result::BadSelection: return ExitStatus::CommandLine;
    case Result::Printed:
    case Result::Failed: break;
    }
    return ExitStatus::NothingPrinted;
}
