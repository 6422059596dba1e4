#include "app/ProgramFolderChoice.h"

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/ShutdownSignals.h"

#include "module1/Module1.h"
#include "module1/StationContext.h"
#include "queue/QueueFiles.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString RememberedKey = QStringLiteral("ProgramFolder");

QString shown(const QString &dir)
{
    return QDir::toNativeSeparators(dir);
}

} // namespace

ProgramFolderChoice::ProgramFolderChoice(QSettings &remembered, Ask ask, Stopped stopped)
    : mRemembered(remembered)
    , mAsk(std::move(ask))
    , mStopped(std::move(stopped))
{
}

QString ProgramFolderChoice::problemOf(const QString &dir)
{
    if (!QFileInfo(dir).isDir())
        return QStringLiteral("The folder \"%1\" does not exist.").arg(shown(dir));
    const auto root = SuiteRootOf(dir);
    if (!root)
        return QStringLiteral("The folder \"%1\" is not inside a suite: its path has no \"admodule\" folder.")
            .arg(shown(dir));
    StationContext context;
    context.programDir = dir;
    context.suiteRoot = *root;
    if (!QFileInfo(context.suiteIni()).isFile())
        return QStringLiteral("The suite's settings file \"%1\" does not exist.").arg(shown(context.suiteIni()));
    if (!QFileInfo(context.folder(QueueFolderName)).isDir())
        return QStringLiteral("The folder \"%1\" has no queue folder \"%2\".").arg(shown(dir), QueueFolderName);
    return {};
}

std::optional<QString> ProgramFolderChoice::choose()
{
    const QString title = QString::fromLatin1(AppTitle);
    const QString remembered = mRemembered.value(RememberedKey).toString();
    if (!remembered.isEmpty()) {
        const QString problem = problemOf(remembered);
        if (problem.isEmpty())
            return remembered;
        ShowMessage(QStringLiteral("The program folder chosen before cannot be used any more. %1\nChoose the "
                                   "suite's program folder again.")
                        .arg(problem),
                    title, MessageIcon::Exclamation);
        if (mStopped())
            return std::nullopt;
    }
    QString start = remembered.isEmpty() ? QDir::homePath() : remembered;
    for (;;) {
        const QString chosen = mAsk(start);
        if (mStopped())
            return std::nullopt;
        if (chosen.isEmpty()) {
            ShowMessage(QStringLiteral("%1 cannot run without the suite's program folder: its \"admodule\" folder, "
                                       "where the terminals' orders are queued. Start it again and choose that "
                                       "folder, or name it with --program-dir or RFSTATION_PROGRAM_DIR.")
                            .arg(title),
                        title, MessageIcon::Critical);
            return std::nullopt;
        }
        const QString dir = QDir::cleanPath(QDir(chosen).absolutePath());
        const QString problem = problemOf(dir);
        if (problem.isEmpty()) {
            mRemembered.setValue(RememberedKey, dir);
            mRemembered.sync();
            return dir;
        }
        ShowMessage(problem
                        + QStringLiteral("\nChoose the suite's program folder: its \"admodule\" folder or a "
                                         "folder inside it."),
                    title, MessageIcon::Exclamation);
        if (mStopped())
            return std::nullopt;
        start = dir;
    }
}

std::optional<int> ChooseProgramFolder(const CommandLine &options, QString &programDir, const ShutdownSignals &shutdown)
{
    if (options.headless || !options.programDir.isEmpty() || !qEnvironmentVariableIsEmpty("RFSTATION_PROGRAM_DIR")
        || SuiteRootOf(programDir))
        return std::nullopt;
    try {
        QSettings remembered(QStringLiteral("rfstation"), QStringLiteral("rfstation"));
        ProgramFolderChoice choice(
            remembered,
            [](const QString &start) {
                return QFileDialog::getExistingDirectory(
                    nullptr,
                    QStringLiteral("%1: choose the suite's program folder (its admodule folder)")
                        .arg(QString::fromLatin1(AppTitle)),
                    start);
            },
            [&shutdown] { return shutdown.arrived(); });
        if (const std::optional<QString> chosen = choice.choose()) {
            programDir = *chosen;
            return std::nullopt;
        }
    } catch (const std::exception &e) {
        ShowMessage(QStringLiteral("The program folder cannot be chosen: %1").arg(QString::fromLocal8Bit(e.what())),
                    QString::fromLatin1(AppTitle), MessageIcon::Critical);
        return ExitStatus::Settings;
    }
    return shutdown.arrived() ? ExitStatus::Normal : ExitStatus::Settings;
}
