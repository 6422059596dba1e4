#include "dbservice/clsServer.h"

#include "runtime/SharedRoutines.h"
#include "runtime/VbFormat.h"

namespace {

// The value of a "^d" or "^c" description as the statement writes it: a date between the
// suite's date delimiters, or a plain number.
QString dateLiteral(const QString &text)
{
    const std::optional<QDateTime> date = vb::toDateTime(text);
    if (!date)
        throw DbError(DbError::TypeMismatch, QStringLiteral("Type mismatch"));
    const QString pattern = date->time() == QTime(0, 0) ? QStringLiteral("m/d/yyyy")
                                                        : QStringLiteral("m/d/yyyy hh:nn:ss");
    return "#" + vb::formatDateTime(*date, pattern) + "#";
}

QString numberLiteral(const QString &text)
{
    const std::optional<double> number = vb::parseNumber(text);
    if (!number)
        throw DbError(DbError::TypeMismatch, QStringLiteral("Type mismatch"));
    return QString::number(*number, 'g', 15);
}

} // namespace

QString clsServer::listStatement(QString &strStartID, const QString &strStartDesc, const QString &selectStr,
                                 const QString &strTableName, const QString &strExtendedWhere,
                                 const QString &strOrderBy, const QString &strAscDes,
                                 const QString &strUniqueField, const QString &strUniqueFieldOp,
                                 const QString &strDescField, const QString &strDescFieldOp,
                                 const QString &selectedField, const QString &strSqlStr) const
{
    DoubleQuotes(strStartID);
    if (!strSqlStr.isEmpty())
        return strSqlStr;

    const QString head = selectStr + " " + selectedField + " FROM " + strTableName + " where ";
    const QString tail = " " + strOrderBy + " " + strAscDes;
    if (strStartDesc.isEmpty())
        return head + strUniqueField + " " + strUniqueFieldOp + " '" + strStartID + "' " + strExtendedWhere + tail;

    QString value;
    if (strStartDesc.startsWith(QLatin1String("^d"))) {
        value = dateLiteral(strStartDesc.mid(2));
    } else if (strStartDesc.startsWith(QLatin1String("^c"))) {
        value = numberLiteral(strStartDesc.mid(2));
    } else {
        const QString description = strStartDesc == QLatin1String(" ") ? QString() : strStartDesc;
        value = "'" + quoted(description) + "'";
    }
    return head + "(" + strUniqueField + " " + strUniqueFieldOp + " '" + strStartID + "' and " + strDescField
           + "=" + value + " " + strExtendedWhere + ") or (" + strDescField + " " + strDescFieldOp + " " + value
           + " " + strExtendedWhere + ")" + tail;
}

Recordset clsServer::Get_ListData(QString &strStartID, const QString &strStartDesc, const QString &selectStr,
                                  const QString &strTableName, const QString &strExtendedWhere,
                                  const QString &strOrderBy, const QString &strAscDes,
                                  const QString &strUniqueField, const QString &strUniqueFieldOp,
                                  const QString &strDescField, const QString &strDescFieldOp,
                                  const QString &strSelectedField, const QString &strSqlStr)
{
    m_lastError.clear();
    try {
        checkConnection();
        return openSnapshot(listStatement(strStartID, strStartDesc, selectStr, strTableName, strExtendedWhere,
                                          strOrderBy, strAscDes, strUniqueField, strUniqueFieldOp,
                                          strDescField, strDescFieldOp, strSelectedField, strSqlStr));
    } catch (const std::exception &e) {
        rememberFailure(e);
        return Get_Blank_Recordset();
    }
}

QString clsServer::Get_BrowseData(QString &strStartID, const QString &strStartDesc, const QString &selectStr,
                                  const QString &strTableName, const QString &strExtendedWhere,
                                  const QString &strOrderBy, const QString &strAscDes,
                                  const QString &strUniqueField, const QString &strUniqueFieldOp,
                                  const QString &strDescField, const QString &strDescFieldOp,
                                  const QString &, const QString &strSqlStr)
{
    m_lastError.clear();
    try {
        checkConnection();
        Recordset rows = openSnapshot(listStatement(strStartID, strStartDesc, selectStr, strTableName,
                                                    strExtendedWhere, strOrderBy, strAscDes, strUniqueField,
                                                    strUniqueFieldOp, strDescField, strDescFieldOp,
                                                    strUniqueField, strSqlStr));
        if (rows.isEmpty())
            return {};
        rows.moveFirst();
        return NullToEmpty(rows.value(strUniqueField));
    } catch (const std::exception &e) {
        rememberFailure(e);
        return {};
    }
}

