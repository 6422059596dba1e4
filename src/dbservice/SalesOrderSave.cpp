#include "dbservice/clsServer.h"

#include "dbservice/RecordCopy.h"

#include <cmath>

namespace {

const QString SalesOrderNoField = QStringLiteral("Sales Order No.");

// Header fields copied into the same-named `so` columns, in the order they are written; the
// columns that take other values are written between these runs.
const char *const BillToColumns[] = {"CustNo", "badressname", "baddress1", "baddress2",
                                     "bcity", "bstate", "bzip", "bcountry"};
const char *const AmountColumns[] = {"freight", "tax", "amount", "dc", "dcamtentered", "tdcpercent",
                                     "balance", "total", "payflag", "inputdate", "inputtime", "userid",
                                     "sadressname", "sAddress1", "sAddress2", "sCity", "sstate", "szip",
                                     "sCountry", "Memo", "terms", "salesman", "shipvia"};
const char *const StatusColumns[] = {"ordstatus", "orderholddatetime", "housefactor", "custpo",
                                     "taxrate", "Commission", "fob", "remark", "ordtyperef",
                                     "ordstatusref", "seasoncode", "deptcode", "commrate1", "commrate2",
                                     "commrate3", "salesman2", "salesman3"};

// An order type as a byte: null or a value outside 0..255 is an error, as the suite's programs
// treat it.
int orderTypeOf(const Recordset &rs)
{
    const QString field = QStringLiteral("ordtype");
    if (rs.isNull(field))
        throw DbError(94, QStringLiteral("Invalid use of Null"));
    const double rounded = std::nearbyint(rs.number(field));
    if (rounded < 0 || rounded > 255)
        throw DbError(6, QStringLiteral("Overflow"));
    return int(rounded);
}

bool isTrue(const QVariant &value)
{
    return !Recordset::isNullValue(value) && Recordset::coerce(value, FieldType::Boolean).toBool();
}

} // namespace

QString clsServer::Update_SalesOrder(QString &argUnique, quint8 argdbFlag, Recordset &rsHeader,
                                     Recordset &rsDetail, qint32 argLastAutoNo)
{
    // The caller's number changes only when the order is committed: a number taken by a save that
    // rolled back is handed out again and must not be reused by a retry.
    QString orderNo = argUnique;
    const std::optional<OrderImport> import = std::exchange(m_pendingImport, std::nullopt);
    Recordset header;
    try {
        checkConnection();
        // A new order's header row set is "SELECT * FROM so WHERE 1=2": its columns, known once
        // the connection has read them.
        header = argdbFlag == 1 ? m_connection.openNewRows(QStringLiteral("so"))
                                : openUpdatable("SELECT * FROM so WHERE invno='" + quoted(orderNo) + "'");
        // On the embedded database this takes the write lock at once: a second program saving
        // at the same moment waits here, or fails here as busy, before anything is written.
        m_connection.beginTrans();
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(failure(e));
    }

    try {
        if (argdbFlag != 1) {
            if (header.eof() || header.bof()) {
                m_connection.rollbackTrans();
                m_failure = Failure::Order;
                return QStringLiteral("Error :") + " Selected record not found ! Update canceled !";
            }
            header.moveFirst();
        } else {
            if (orderNo == QLatin1String("Auto No.")) {
                orderNo = Gets_NextNoWhenSaved(QStringLiteral("no_salesorder"));
                if (orderNo.left(5).toUpper() == QLatin1String("ERROR")) {
                    m_connection.rollbackTrans();
                    return orderNo;
                }
                // Without its numbering row an order would be saved under no number at all.
                if (orderNo.isEmpty()) {
                    m_connection.rollbackTrans();
                    return QStringLiteral("Error : the sales order numbering row \"no_salesorder\" (table no_setup) "
                                          "is missing; set up the sales order numbers in the suite. Nothing was saved.");
                }
            }
            header.addNew();
        }

        int oldOrderType = 0;
        int newOrderType = 0;
        if (argdbFlag == 2) {
            oldOrderType = orderTypeOf(header);
            newOrderType = orderTypeOf(rsHeader);
        }

        copyColumns(header, rsHeader, BillToColumns);
        header.setValue(QStringLiteral("invno"), orderNo);
        header.setValue(QStringLiteral("invdate"), rsHeader.value(QStringLiteral("invdate")));
        header.setValue(QStringLiteral("orddate"), rsHeader.value(QStringLiteral("shipdate")));
        header.setValue(QStringLiteral("CancelDate"), rsHeader.value(QStringLiteral("CancelDate")));
        copyColumns(header, rsHeader, AmountColumns);
        header.setValue(QStringLiteral("ordtype"), rsHeader.value(QStringLiteral("ordtype")));
        copyColumns(header, rsHeader, StatusColumns);
        header.setValue(QStringLiteral("invno"), orderNo);

        const QVariant addedInShow = rsHeader.value(QStringLiteral("addedinshow"));
        if (argdbFlag == 1 && isTrue(addedInShow)) {
            orderNo += QLatin1Char('S');
            header.setValue(QStringLiteral("invno"), orderNo);
            header.setValue(QStringLiteral("addedinshow"), addedInShow);
        }
        header.update();

        const QString linesResult =
            writeLinesAndStock(orderNo, argdbFlag, rsDetail, argLastAutoNo, oldOrderType, newOrderType);
        if (!linesResult.isEmpty()) {
            m_connection.rollbackTrans();
            m_failure = Failure::Order;
            return linesResult;
        }

        if (argdbFlag == 2) {
            const QString released =
                Sets_LockWithoutOpenConn(QStringLiteral("so"), SalesOrderNoField,
                                         QStringLiteral("Sales Order Entry"), orderNo, 2, {}, {});
            if (!released.isEmpty()) {
                m_connection.rollbackTrans();
                if (m_failure == Failure::None) // held by a user of the suite, not a failure of the database
                    m_failure = Failure::Order;
                return released;
            }
        }

        if (import && argdbFlag == 1)
            writeImportRecord(*import, orderNo);
        m_connection.commitTrans();
    } catch (const std::exception &e) {
        m_connection.rollbackTrans();
        return Get_DbErrorMessage(failure(e), SalesOrderNoField);
    }

    argUnique = orderNo;
    return {};
}
