#pragma once

#include <QString>

// Statements are written in the suite's own dialect ("SELECT TOP n", "[name]", "#12/31/2003#",
// TRUE/FALSE) and translated for the backend that runs them.
enum class SqlBackend {
    Sqlite,     // LIMIT n, "name", dates as 'yyyy-MM-dd[ hh:mm:ss]' texts, TRUE/FALSE as 1/0
    SqlServer,  // the dialect's own TOP and [name]; dates as 'yyyyMMdd' or 'yyyy-MM-ddThh:mm:ss',
                // which the server reads the same under every date setting; TRUE/FALSE as 1/0
    PostgreSql, // LIMIT n; "name" in lower case, the name an unquoted name folds to; ISO dates;
                // nulls sorted first ascending and last descending, as the other backends do
    Ansi        // other ODBC servers: LIMIT n, "name", ISO dates
};

// Text inside single-quoted literals (with '' escapes), and inside double quotes, is never touched.
// A "#...#" that does not hold a month/day/year (or ISO) date with an optional time ("10:05",
// "10:05:00", "10:05 AM") is left as it is; a time given gives 'yyyy-MM-dd hh:mm:ss'.
// For LIMIT backends "SELECT [DISTINCT|ALL] TOP n" loses its "TOP n " and " LIMIT n" goes after the
// last non-blank character of that SELECT: before the ")" closing its sub-query, before a ";", or
// at the end. "TOP n PERCENT" has no equivalent and is left for the backend to refuse.
// On PostgreSQL every ORDER BY item without a NULLS clause gets "NULLS FIRST" (ascending) or
// "NULLS LAST" (DESC), so a TOP 1 picks the same row as on the other backends.
QString translateSql(const QString &statement, SqlBackend backend);

// A translated single-table SELECT that also locks the rows it reads until the transaction ends,
// so a second writer waits for the first instead of reading the same values: SQL Server gets
// "WITH (UPDLOCK, ROWLOCK)" after the table, PostgreSQL and other servers "FOR UPDATE" at the end.
// SQLite is returned unchanged: its transactions take the write lock when they begin.
QString withRowLock(const QString &select, SqlBackend backend);

// A DELETE, in the suite's dialect, of exactly one of the rows of `table` that `where` matches:
// for tables without a key, where several rows may be equal. Other ODBC servers have no portable
// form and delete every matching row.
QString deleteOneRow(const QString &table, const QString &where, SqlBackend backend);
