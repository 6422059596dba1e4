#pragma once

#include <QList>
#include <QString>
#include <optional>

// ODBC connection texts: "KEY=value;KEY={value; with braces};...". Keys are matched without
// regard to case; a value in braces may hold ";" and "}}" stands for one "}".

struct ConnectionAttribute
{
    QString key;   // as written, blanks around it removed
    QString value; // braces removed, "}}" read as "}"
};

// The attributes of a connection text, in order; a part without "=" has an empty key.
QList<ConnectionAttribute> ParseConnectionText(const QString &text);

// The value of the first attribute named `key` (any case); none when there is no such attribute.
std::optional<QString> ConnectionAttributeValue(const QString &text, const QString &key);

// `text` with the value of every password attribute replaced by "****": any attribute whose name
// is or ends in "pwd" or "password", in any case ("PWD", "Password", "Jet OLEDB:Database Password"),
// its value with or without braces. Works on a connection text and on any message that quotes one:
// an unbraced value ends at the next ";" or line end. The one routine every connection text shown
// or logged goes through.
QString MaskConnectionSecrets(const QString &text);

// A setting of the ODBC data source `dataSource` in odbc.ini, the user's file before the system's
// as the driver manager reads them (ODBCINI, ODBCSYSINI); "" when it is not set, or the driver
// manager's set-up library (libodbcinst) is not there to read it.
QString OdbcDataSourceSetting(const QString &dataSource, const QString &key);
