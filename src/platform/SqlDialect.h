#pragma once

#include <QString>

// Statements are written in the suite's own dialect ("SELECT TOP n", "[name]", "#12/31/2003#") and
// translated for the backend that runs them.
enum class SqlBackend {
    Sqlite,    // LIMIT n, "name", dates as 'yyyy-MM-dd[ hh:mm:ss]' texts
    SqlServer, // the dialect's own TOP and [name]; dates as 'yyyy-MM-dd[ hh:mm:ss]'
    Ansi       // other ODBC servers: LIMIT n, "name", dates as 'yyyy-MM-dd[ hh:mm:ss]'
};

// Text inside single-quoted literals (with '' escapes) is never touched. A "#...#" that does not
// hold a month/day/year date (with optional time) is left as it is.
QString translateSql(const QString &statement, SqlBackend backend);
