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

} // namespace

QString clsServer::Gets_NextNoWhenSaved(const QString &argSourceName)
{
    // No connection check of its own: it runs inside the sales order save, which holds the
    // connection and the transaction the counter change belongs to. The row stays locked until
    // that transaction ends, so a second station taking a number waits for this one's commit and
    // reads the advanced counter instead of handing out the same number.
    try {
        Recordset numbering =
            openUpdatable("SELECT * FROM no_setup where sourcename='" + quoted(argSourceName) + "'", true);
        if (numbering.eof() || numbering.bof())
            return {};
        numbering.moveFirst();

        const int digits = digitsOf(numbering);
        const double next = nextNumberOf(numbering);
        const QString number = digits > 0 ? vb::formatNumber(next, QString(digits, QLatin1Char('0')))
                                          : QString::number(next, 'g', 15);
        const QString result = numbering.text(QStringLiteral("nprefix")) + number;

        numbering.setValue(NextNo, next + 1.0);
        numbering.update();
        numbering.close();
        return result;
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(asDbError(e));
    }
}
