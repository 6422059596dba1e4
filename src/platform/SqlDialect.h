#pragma once

#include <QString>

// Statements are written in the suite's own dialect ("SELECT TOP n", "[name]", "#12/31/2003#") and
// translated for the backend that runs them.
enum class SqlBackend {
    Sqlite,    // LIMIT n, "name", dates as 'yyyy-MM-dd[ hh:mm:ss]' texts
    SqlServer, // the dialect's own TOP and [name]; dates as 'yyyyMMdd' or 'yyyy-MM-ddThh:mm:ss',
               // which the server reads the same under every date setting
    Ansi       // other ODBC servers: LIMIT n, "name", dates as 'yyyy-MM-dd[ hh:mm:ss]'
};

// Text inside single-quoted literals (with '' escapes), and inside double quotes, is never touched.
// A "#...#" that does not hold a month/day/year (or ISO) date with an optional time ("10:05",
// "10:05:00", "10:05 AM") is left as it is; a time given gives 'yyyy-MM-dd hh:mm:ss'.
// For LIMIT backends "SELECT [DISTINCT|ALL] TOP n" loses its "TOP n " and " LIMIT n" goes after the
// last non-blank character of that SELECT: before the ")" closing its sub-query, before a ";", or
// at the end. "TOP n PERCENT" has no equivalent and is left for the backend to refuse.
QString translateSql(const QString &statement, SqlBackend backend);
