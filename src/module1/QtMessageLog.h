#pragma once

// Qt's own messages (a driver's "QODBCResult::exec: Unable to execute statement", a platform's
// warnings) as lines of the program's log (LogLine): with its time stamp, or the journal's
// priority when standard error is the journal (warnings 4, critical and fatal messages 3,
// information 6), one line each, every password in them masked. Debug messages and the offscreen
// platform's notes on window features it lacks are left out. Call once, before QApplication.
void InstallQtMessageLog();
