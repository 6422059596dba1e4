#pragma once

#include "sqlaccess/Recordset.h"
#include "runtime/SharedRoutines.h"
#include "dbservice/SuiteOdbcSource.h"

#include <QString>

class QObject;

// The small routines every part of the program shares (the ones that need nothing above the
// runtime and the SQL access live below it and come with this header) and how messages reach the
// operator. Where the station works is a StationContext handed to what needs it.

// The program's title, as shown in captions and start-up messages.
inline constexpr const char *AppTitle = "RF Order Station";

// The program's message texts (codes 3000 and 5000), the first "%" replaced by `argument` when
// the argument is not empty.
QString LoadResMessage(long code, const QString &argument);

// Beeps and shows the shared error message of `kind` (1 to 5; any other kind only beeps).
// `errorDescription` is the description of the error being handled.
void ShowErrorMessage(int kind, const QString &errorDescription = {});

// --- our own helpers

enum class MessageIcon { None, Information, Exclamation, Critical };

// How the operator hears of messages and answers questions. The windowed program installs
// message boxes (widgets/MessageBoxes.h); without a presenter every message is one line on
// standard error and every question is answered No, since nobody is there to answer it.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    // `parent`: the window the message belongs to, or null.
    virtual void show(const QString &text, const QString &title, MessageIcon icon, QObject *parent) = 0;
    virtual bool ask(const QString &text, const QString &title, QObject *parent) = 0;
    virtual void beep() = 0;
};
// Installs the presenter (not owned); null returns to log lines.
void SetMessagePresenter(MessagePresenter *presenter);
// True when a presenter is installed: a person sees messages and can close a window.
bool OperatorPresent();

// A message with an OK button; without a presenter one line on standard error (LogLine), an
// error for the critical icon, a warning for the exclamation mark.
void ShowMessage(const QString &text, const QString &title, MessageIcon icon, QObject *parent = nullptr);
// How urgent a logged line is; the journal shows and filters lines by it.
enum class LogPriority { Error = 3, Warning = 4, Info = 6 };
// One line on standard error: what a headless run reports. It starts with a timestamp, except
// when standard error is the journal (a systemd service): then every line carries the journal's
// priority prefix ("<3>" error, "<4>" warning, "<6>" information) and the journal stamps it.
void LogLine(const QString &text, LogPriority priority = LogPriority::Info);
// A Yes/No question; without a presenter nobody can answer, so the answer is No.
bool AskYesNo(const QString &text, const QString &title, QObject *parent = nullptr);
