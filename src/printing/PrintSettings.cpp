#include "PrintSettings.h"

#include "Module1.h"
#include "VbFormat.h"

#include <QDir>
#include <QFileInfo>

namespace PrintSettings {

QString iniFile()
{
    std::optional<QString> root = SuiteRootOf(gProgramDir);
    if (!root && !gSuiteRoot.isEmpty())
        root = gSuiteRoot;
    if (!root)
        throw DbError(DbError::GeneralError,
                      QStringLiteral("The program folder %1 is not inside the suite's admodule folder.")
                          .arg(QDir::toNativeSeparators(gProgramDir)));
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

} // namespace PrintSettings
