#pragma once

#include <QString>
#include <functional>
#include <optional>

class QSettings;
class ShutdownSignals;
struct CommandLine;

// The program folder of a windowed station started without one, as the applications menu starts
// it: no --program-dir, no RFSTATION_PROGRAM_DIR, and the executable's folder is not inside a
// suite. The operator picks the suite's program folder once with a folder chooser; the choice is
// remembered for the user and used on later starts as long as it still is a program folder.
class ProgramFolderChoice
{
public:
    // The folder the operator chose in a chooser opening at `start`; "" when it was cancelled.
    using Ask = std::function<QString(const QString &start)>;
    // True once the program is being stopped (SIGTERM, SIGINT): nothing more is asked or said.
    using Stopped = std::function<bool()>;

    // `remembered`: where the choice is kept (key "ProgramFolder").
    ProgramFolderChoice(QSettings &remembered, Ask ask, Stopped stopped);

    // "" when a station can start on `dir`: an existing folder inside a suite's admodule folder,
    // with the suite's settings file and a queue folder; otherwise why not, in one sentence.
    static QString problemOf(const QString &dir);

    // The remembered folder while it is a program folder; otherwise the operator's choice, asked
    // again with the reason until it is one, and remembered. None when the operator cancelled (the
    // reason the program cannot run has been shown) or the program is being stopped.
    std::optional<QString> choose();

private:
    QSettings &mRemembered;
    Ask mAsk;
    Stopped mStopped;
};

// The start-up step of the windowed program: when it was started without a program folder from a
// folder outside any suite, `programDir` becomes the chosen folder. Returns the status the program
// must end with when there is none: 2 (settings) when the operator cancelled, 0 when a signal
// stopped the program while it asked. Does nothing headless or when a folder was named.
std::optional<int> ChooseProgramFolder(const CommandLine &options, QString &programDir,
                                       const ShutdownSignals &shutdown);
