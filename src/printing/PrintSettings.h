#pragma once

#include "Connection.h"

#include <QString>

// The seller's details from the suite's companyinfo table, for the page headers.
struct CompanyDetails
{
    QString name;
    QString address1;
    QString address2;
    QString tel;
    QString fax;
};

// Where the print layer finds its settings and the suite's database.
namespace PrintSettings {

// The suite's account settings file (tolvaacc.ini at the suite root above the program folder).
// Throws DbError when the program folder is not inside the suite's admodule folder.
QString iniFile();

// The print windows' own handle on the suite database, chosen by the same settings as the
// database service: [Access] DBType 1 is the suite's ODBC data source; otherwise the database
// file [Access] DBNameShow when it names a file that exists, else [Access] DBName.
// Throws DbError when the database cannot be opened.
Connection openDatabase(const QString &iniFile);

// The first companyinfo row; empty details when there is none or it cannot be read.
CompanyDetails readCompany(const Connection &db);

} // namespace PrintSettings
