#pragma once

#include "sqlaccess/Connection.h"

#include <QString>
#include <QStringList>

// The seller's details from the suite's companyinfo table, for the page headers.
struct CompanyDetails
{
    QString name;
    QString address1;
    QString address2;
    QString tel;
    QString fax;
};

// What the print window reads when it loads, and what a print without the window starts from.
struct StoredPrintSettings
{
    QString iniFile; // the suite's account settings file
    Connection db;   // the print station's own handle on the suite database
    CompanyDetails company;
    QStringList printers;      // the printers offered, in the printer list's order
    QString printer;           // [AutoSoPrint] DefaultPrinter when offered, else the first offered
    bool salesOrders = false;  // [PICKINGSHEET] AutoSoDefault "Y": sales orders, else picking sheets
    QString pickingSheetTitle; // [PICKINGSHEET] PICKINGSHEETTITLE
    QString salesOrderTitle;   // [PICKINGSHEET] SALESORDERTITLE
};

// Where the print layer finds its settings and the suite's database.
namespace PrintSettings {

// The suite's account settings file (tolvaacc.ini at the suite root above the program folder).
// Throws DbError when the program folder is not inside the suite's admodule folder.
QString iniFile(const QString &programDir);

// The print windows' own handle on the suite database, chosen by the same settings as the
// database service: [Access] DBType 1 is the suite's ODBC data source; otherwise the database
// file [Access] DBNameShow when it names a file that exists, else [Access] DBName.
// Throws DbError when the database cannot be opened.
Connection openDatabase(const QString &iniFile);

// The first companyinfo row; empty details when there is none or it cannot be read.
CompanyDetails readCompany(const Connection &db);

// Reads everything the print window shows on load, in its order: settings file, database
// (throws DbError when either cannot be had), company details, printers, document kind and
// titles. From the printers on, a step that fails leaves its setting empty. A missing
// AutoSoDefault is written "N" and a missing title is written with its default ("PICKING
// SHEET", "SALES ORDER"), as the window has always done.
// The "PDF" printer writes into <program folder>/printout.
StoredPrintSettings load(const QString &programDir);

// Writes document kind, printer and titles back, as the print window does when it closes.
// A value that cannot be written keeps its old one.
void save(const StoredPrintSettings &settings);

// The layout style code for a request: [AUTOPICKINGSHEET] Format, upper-cased; read afresh for
// every request.
QString styleCode(const QString &iniFile);

} // namespace PrintSettings
