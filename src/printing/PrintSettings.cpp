#include "printing/PrintSettings.h"

#include "dbservice/SuiteOdbcSource.h"
#include "runtime/SharedRoutines.h"
#include "pageengine/PrinterList.h"
#include "runtime/PrivateProfile.h"
#include "runtime/VbFormat.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString PrintSection = QStringLiteral("PICKINGSHEET");
const QString AutoSoDefaultKey = QStringLiteral("AutoSoDefault");
const QString PickingSheetTitleKey = QStringLiteral("PICKINGSHEETTITLE");
const QString SalesOrderTitleKey = QStringLiteral("SALESORDERTITLE");

void loadPrinters(StoredPrintSettings &settings, const QString &programDir)
{
    try {
        if (!programDir.isEmpty()) {
            PrinterList::setPdfFolder(QDir(programDir).filePath(QStringLiteral("printout")));
            PrinterList::removeStalePartFiles();
        }
        settings.printers = PrinterList::names();
        const QString wanted =
            ReadIniValue(QStringLiteral("AutoSoPrint"), QStringLiteral("DefaultPrinter"), settings.iniFile);
        settings.printer = settings.printers.contains(wanted) ? wanted : settings.printers.value(0);
    } catch (const std::exception &) {
        // Without a printer list the window still opens; printing then reports the printer.
    }
}

void loadDocumentKind(StoredPrintSettings &settings)
{
    try {
        const QString salesOrdersFirst = ReadIniValue(PrintSection, AutoSoDefaultKey, settings.iniFile);
        settings.salesOrders = salesOrdersFirst == QStringLiteral("Y");
        if (salesOrdersFirst.isEmpty())
            PrivateProfile::writeString(PrintSection, AutoSoDefaultKey, QStringLiteral("N"), settings.iniFile);
    } catch (const std::exception &) {
    }
}

QString loadTitle(const QString &iniFile, const QString &key, const QString &fallback)
{
    try {
        QString value = ReadIniValue(PrintSection, key, iniFile);
        if (value.isEmpty()) {
            value = fallback;
            PrivateProfile::writeString(PrintSection, key, value, iniFile);
        }
        return value;
    } catch (const std::exception &) {
        return fallback;
    }
}

} // namespace

namespace PrintSettings {

QString iniFile(const QString &programDir)
{
    const std::optional<QString> root = SuiteRootOf(programDir);
    if (!root)
        throw DbError(DbError::GeneralError,
                      QStringLiteral("The program folder %1 is not inside the suite's admodule folder.")
                          .arg(QDir::toNativeSeparators(programDir)));
    return ChildPath(*root, QStringLiteral("tolvaacc.ini"));
}

Connection openDatabase(const QString &iniFile)
{
    const QString section = QStringLiteral("Access");
    Connection db;
    const std::optional<double> type = vb::parseNumber(ReadIniValue(section, QStringLiteral("DBType"), iniFile));
    if (type && *type == 1.0) {
        db.openOdbc(SuiteOdbcSource());
        return db;
    }
    QString file = ReadIniValue(section, QStringLiteral("DBNameShow"), iniFile);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        file = ReadIniValue(section, QStringLiteral("DBName"), iniFile);
    if (file.trimmed().isEmpty())
        throw DbError(DbError::CannotOpen, QStringLiteral("No database file is named by [Access] DBName in %1.")
                                               .arg(QDir::toNativeSeparators(iniFile)));
    db.openSqliteFile(file);
    return db;
}

CompanyDetails readCompany(const Connection &db)
{
    CompanyDetails company;
    try {
        Recordset rs = db.openSnapshot(QStringLiteral("select * from companyinfo"));
        if (!rs.eof()) {
            company.name = rs.text(QStringLiteral("CompanyName"));
            company.address1 = rs.text(QStringLiteral("address1"));
            company.address2 = rs.text(QStringLiteral("address2"));
            company.tel = rs.text(QStringLiteral("tel"));
            company.fax = rs.text(QStringLiteral("fax"));
        }
    } catch (const std::exception &) {
        // A suite without company details prints its documents without them.
    }
    return company;
}

StoredPrintSettings load(const QString &programDir)
{
    StoredPrintSettings settings;
    settings.iniFile = iniFile(programDir);
    // A database that cannot be opened is the caller's error: without it nothing can print.
    settings.db = openDatabase(settings.iniFile);
    settings.company = readCompany(settings.db);
    loadPrinters(settings, programDir);
    loadDocumentKind(settings);
    settings.pickingSheetTitle = loadTitle(settings.iniFile, PickingSheetTitleKey, QStringLiteral("PICKING SHEET"));
    settings.salesOrderTitle = loadTitle(settings.iniFile, SalesOrderTitleKey, QStringLiteral("SALES ORDER"));
    return settings;
}

void save(const StoredPrintSettings &settings)
{
    const QString &file = settings.iniFile;
    PrivateProfile::writeString(PrintSection, AutoSoDefaultKey,
                                settings.salesOrders ? QStringLiteral("Y") : QStringLiteral("N"), file);
    PrivateProfile::writeString(QStringLiteral("AutoSoPrint"), QStringLiteral("DefaultPrinter"), settings.printer,
                                file);
    PrivateProfile::writeString(PrintSection, PickingSheetTitleKey, settings.pickingSheetTitle, file);
    PrivateProfile::writeString(PrintSection, SalesOrderTitleKey, settings.salesOrderTitle, file);
}

QString styleCode(const QString &iniFile)
{
    return ReadIniValue(QStringLiteral("AUTOPICKINGSHEET"), QStringLiteral("Format"), iniFile).toUpper();
}

} // namespace PrintSettings
