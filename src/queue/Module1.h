#pragma once

#include <QString>
#include <QVariant>
#include <optional>

class clsServer;
struct OdbcSource;
class QLineEdit;
class QWidget;

// Process-wide state and the small routines every part of the program shares.

extern clsServer *gServer;     // the one database service object, alive from start-up to the end
extern QString gSuiteRoot;     // the suite's root folder, where tolvaacc.ini lies
extern bool gTradeShow;        // trade show mode: orders go to the show database, numbers get "S"
extern bool gStopRequested;    // the operator stopped processing
extern bool gScanBusy;         // a queue folder scan is running
extern QString gProgramDir;    // the program folder: the executable's folder or --program-dir
extern bool gHeadless;         // no person watches: messages go to standard error, never wait

// The program's title, as shown in captions and start-up messages.
inline constexpr const char *AppTitle = "RF Order Station";

// One value of a private-profile file, read into a 255-character buffer: at most 254 characters,
// "" when the file, the section or the key is missing.
QString ReadIniValue(const QString &section, const QString &key, const QString &file);

// "###,###.00": 0 gives ".00", 1234.5 gives "1,234.50"; "" when the value cannot be formatted.
QString FormatAmount(double value);

// Doubles every single quote so the text can stand inside a quoted SQL literal.
void DoubleQuotes(QString &text);

// The program's message texts (codes 3000 and 5000), the first "%" replaced by `argument` when
// the argument is not empty.
QString LoadResMessage(long code, const QString &argument);

// Upper-cases what is typed into `box`: mode 1 all of it, mode 2 word starts, mode 3 a first letter.
void AutoCapitalize(QLineEdit *box, int mode);

// Beeps and shows the shared error message of `kind` (1 to 5; any other kind only beeps).
// `errorDescription` is the description of the error being handled.
void ShowErrorMessage(int kind, const QString &errorDescription = {});

// A number, or a text that reads as one (blanks, sign, point, thousands separators); else 0.
double ValueOrZero(const QVariant &value);
// "" for null, otherwise the value as text.
QString NullToEmpty(const QVariant &value);

// --- our own helpers

enum class MessageIcon { None, Information, Exclamation, Critical };
// A message box with an OK button; in headless mode one line on standard error (LogLine), an
// error for the critical icon, a warning for the exclamation mark.
void ShowMessage(const QString &text, const QString &title, MessageIcon icon, QWidget *parent = nullptr);
// How urgent a logged line is; the journal shows and filters lines by it.
enum class LogPriority { Error = 3, Warning = 4, Info = 6 };
// One line on standard error: what a headless run reports. It starts with a timestamp, except
// when standard error is the journal (a systemd service): then every line carries the journal's
// priority prefix ("<3>" error, "<4>" warning, "<6>" information) and the journal stamps it.
void LogLine(const QString &text, LogPriority priority = LogPriority::Info);
// A Yes/No question; in headless mode nobody can answer, so the answer is No.
bool AskYesNo(const QString &text, const QString &title, QWidget *parent = nullptr);

// The suite root: the program folder's path before its first folder named "admodule" (a whole
// path component, any letter case; "/" and "\" both separate), original case kept. None when no
// folder of the path is named so.
std::optional<QString> SuiteRootOf(const QString &programDir);
// The account settings file of the suite root.
QString SuiteIniPath();
// The suite's ODBC data source for database type 1: "tl2002sql", user "administrator", password
// "fern", the connection "DSN=tl2002sql;uid=administrator;pwd=fern". The environment variables
// RFSTATION_ODBC_DSN, RFSTATION_ODBC_UID and RFSTATION_ODBC_PWD each replace their part, for a site
// with other credentials and for tests; set but empty, the data source's own value in odbc.ini applies.
OdbcSource SuiteOdbcSource();
// `dir`/`name`, using the entry of `dir` whose name matches `name` without regard to case when
// there is one (the suite's folder names come in any case), else `name` as given.
QString ChildPath(const QString &dir, const QString &name);
