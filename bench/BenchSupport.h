// Small helpers every benchmark needs: process CPU time, SQL scripts on a database file,
// whole-file reads and integer options.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace BenchSupport {

// CPU time of this process in nanoseconds: unlike the wall clock, not inflated by other
// programs on the machine.
qint64 cpuNs();

// Runs `script` on the SQLite database file `database` (created if missing); reports the
// failure on stderr.
bool runScript(const QString &database, const QByteArray &script);

// The whole file, or nothing if it cannot be read.
QByteArray readFile(const QString &path);

// The number after the last "--name" in the arguments, or `fallback` if there is none.
int intOption(int argc, char *argv[], const char *name, int fallback);

} // namespace BenchSupport
