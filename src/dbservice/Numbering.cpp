#include "dbservice/clsServer.h"

#include "runtime/VbFormat.h"

#include <cmath>

namespace {

const QString Digits = QStringLiteral("ndigit");
const QString NextNo = QStringLiteral("nnextno");

void requireValue(const Recordset &rs, const QString &field)
{
    if (rs.isNull(field))
        throw DbError(94, QStringLiteral("Invalid use of Null"));
}

// ndigit as a 16-bit integer (rounded half to even, as the suite's own programs convert it).
int digitsOf(const Recordset &rs)
{
    requireValue(rs, Digits);
    const double rounded = std::nearbyint(rs.number(Digits));
    if (rounded < -32768 || rounded > 32767)
        throw DbError(6, QStringLiteral("Overflow"));
    return int(rounded);
}

// nnextno is read as text with the leading-number rule ("0042" is 42, "" is 0), whatever type the
// column has.
double nextNumberOf(const Recordset &rs)
{
    requireValue(rs, NextNo);
    const QVariant value = rs.value(NextNo);
    if (value.metaType().id() == QMetaType::QString)
        return vb::Val(value.toString());
    return rs.number(NextNo);
}

// The document number: nprefix and the counter with at least `digits` digits.
QString documentNumber(const Recordset &rs, int digits, double next)
{
    const QString number =
        digits > 0 ? vb::formatNumber(next, QString(digits, QLatin1Char('0'))) : QString::number(next, 'g', 15);
    return rs.text(QStringLiteral("nprefix")) + number;
}

} // namespace

std::optional<QString> clsServer::takeNextNumber(const QString &argSourceName)
{
    // Only rows whose every value reads the same through SQL as through the record set: a whole
    // counter (a double holds it exactly) and a digit count that is a 16-bit number. Any other row
    // matches nothing here and takes the record-set path, which says what is wrong with it.
    QString guard;
    switch (m_connection.backend()) {
    case SqlBackend::Sqlite:
        guard = QStringLiteral("typeof(nnextno) = 'integer' AND nnextno BETWEEN -9007199254740991 AND 9007199254740990 "
                               "AND typeof(ndigit) IN ('integer', 'real') AND ndigit BETWEEN -32768 AND 32767");
        break;
    case SqlBackend::PostgreSql: {
        // A server's columns have one type each: whole numbers, or the counter is no business of SQL.
        const Recordset columns = m_connection.openNewRows(QStringLiteral("no_setup"));
        const auto whole = [&](const char *name) {
            const int index = columns.fieldIndex(QLatin1String(name));
            return index >= 0
                && (columns.field(index).type == FieldType::Integer || columns.field(index).type == FieldType::BigInt);
        };
        if (!whole("nnextno") || !whole("ndigit"))
            return std::nullopt;
        guard = QStringLiteral(
            "nnextno BETWEEN -9007199254740991 AND 9007199254740990 AND ndigit BETWEEN -32768 AND 32767");
        break;
    }
    case SqlBackend::SqlServer:
    case SqlBackend::Ansi: return std::nullopt;
    }
    // The row stays locked until the save's transaction ends, as the record-set update keeps it.
    Recordset numbering =
        m_connection.openPrepared("UPDATE no_setup SET nnextno = nnextno + 1 WHERE sourcename = ? AND " + guard
                                      + " RETURNING nprefix, ndigit, nnextno",
                                  {argSourceName});
    if (numbering.isEmpty())
        return std::nullopt;
    numbering.moveFirst();
    const int digits = digitsOf(numbering);
    return documentNumber(numbering, digits, numbering.number(NextNo) - 1.0);
}

QString clsServer::Gets_NextNoWhenSaved(const QString &argSourceName)
{
    // No connection check of its own: it runs inside the sales order save, which holds the
    // connection and the transaction the counter change belongs to. The row stays locked until
    // that transaction ends, so a second station taking a number waits for this one's commit and
    // reads the advanced counter instead of handing out the same number.
    try {
        if (const std::optional<QString> number = takeNextNumber(argSourceName))
            return *number;

        Recordset numbering =
            openUpdatable("SELECT * FROM no_setup where sourcename='" + quoted(argSourceName) + "'", true);
        if (numbering.eof() || numbering.bof())
            return {};
        numbering.moveFirst();

        const int digits = digitsOf(numbering);
        const double next = nextNumberOf(numbering);
        const QString result = documentNumber(numbering, digits, next);

        numbering.setValue(NextNo, next + 1.0);
        numbering.update();
        numbering.close();
        return result;
    } catch (const std::exception &e) {
        const DbError error = failure(e);
        if (error.number() != DbError::Busy)
            return Get_DbErrorMessage(error);
        // Another save holds the row until it commits, longer than a save takes.
        return Get_DbErrorMessage(DbError(
            error.number(), QStringLiteral("Another station or program is saving and holds the numbering row \"%1\" "
                                           "(table no_setup) longer than the %2 s wait limit; nothing was saved, "
                                           "try again in a moment")
                                .arg(argSourceName)
                                .arg(m_busyTimeoutMs / 1000.0)));
    }
}
