// Small helpers every benchmark needs: process CPU time, the suite database on either backend,
// whole-file reads and options.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

class QProcess;

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
// The text after the last "--name" in the arguments, or "" if there is none.
QString textOption(int argc, char *argv[], const char *name);

// The suite database a benchmark saves into: an SQLite file, or a PostgreSQL database reached
// through the ODBC data source `dataSource` when one is given: there a role and schema "rfbench"
// made afresh by the data source's superuser (RFSTATION_TEST_UID / RFSTATION_TEST_PWD, default
// administrator / fern). create() builds it from the scripts and points the program at it: the
// settings file <root>/tolvaacc.ini and, for the server, the RFSTATION_ODBC_* variables, which
// programs started from here inherit. Failures are reported on stderr.
class SuiteDatabase
{
public:
    SuiteDatabase(QString root, QString dataSource);
    ~SuiteDatabase();
    bool create(const QList<QByteArray> &scripts);
    // The suite a station works on: the program folder with empty queue and archive folders,
    // and the database built from the schema of its backend and the demo data found under
    // `sourceDir`/schema, the demo's own sales orders cleared so that every order counted is
    // one the benchmark handed over.
    bool createForStation(const QString &sourceDir);
    QString programDir() const { return m_root + "/admodule"; }
    QString queueDir() const { return programDir() + "/OrdQueue"; }
    QString archiveDir() const { return programDir() + "/ordsaved"; }
    // The first column of the first row as a number; -1 on failure.
    double number(const QString &query) const;
    // libpq's connection parameters for the same server and database as the program's role
    // ("" for SQLite).
    QString libpqParameters() const { return m_libpqParameters; }
    // "SQLite (WAL)" or "PostgreSQL <version> through ODBC".
    QString label() const;

private:
    QString m_root;
    QString m_dataSource;
    QString m_connection;
    QString m_libpqParameters;
};

// Starts `rfstation --headless --program-dir <programDir> --print-qty 0` (the program
// `executable`, in the environment the caller gave `station`) and waits up to 30 s until it
// says it is watching its queue. What it wrote meanwhile is in `log`; false, with the log on
// stderr, when it did not get there.
bool startStation(QProcess &station, const QString &executable, const QString &programDir, QByteArray &log);

} // namespace BenchSupport
