// Import records: table rfimport, the program's own, says which order file became which sales
// order. A record is written in the transaction that saves the order, so after a crash between
// the commit and the archiving the file is recognised and archived instead of saved again, and
// the copies the order is due to print are known until they are printed.
//
// Columns (portable SQL: plain VARCHAR columns, times as 'yyyy-MM-dd hh:mm:ss' UTC texts):
//   invno       the sales order number (primary key)
//   queuedir    the queue folder's identity (records of older stations: its canonical path):
//               stations sharing a database keep apart, stations reaching one queue agree
//   ordfile     the order file's name, upper-cased (names are matched without regard to case)
//   filehash    SHA-256 of the order file's bytes, 64 lower-case hex digits
//   savedat     when the order was saved
//   archivedat  when the file left the queue; null while it is still there
//   printdue    copies still to print (null in older records: nothing due)
//   printqty    the order's "Print?", for its print list entry
// A unique index over queue, name and content of the records not archived lets the database
// refuse a second save of one file, even by two stations that both took it up.

#include "dbservice/clsServer.h"

#include "runtime/SharedRoutines.h"

#include <QDateTime>
#include <QStringList>
#include <optional>

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
const QString OnceIndex = QStringLiteral("rfimport_once");

// Its columns, as ImportTableDdl makes them.
const char *const ImportColumns[] = {"invno", "queuedir", "ordfile", "filehash", "savedat", "archivedat"};

QString nowText()
{
    return QDateTime::currentDateTimeUtc().toString(TimeFormat);
}

} // namespace

const QString clsServer::ImportTableDdl = QStringLiteral(
    "CREATE TABLE rfimport (invno VARCHAR(20) NOT NULL PRIMARY KEY, queuedir VARCHAR(1024) NOT NULL, "
    "ordfile VARCHAR(255) NOT NULL, filehash VARCHAR(64) NOT NULL, savedat VARCHAR(19) NOT NULL, "
    "archivedat VARCHAR(19), printdue INTEGER, printqty VARCHAR(20))");

QString clsServer::ensureImportTable(QString *warning)
{
    const QString table = QStringLiteral("The table rfimport (the record of imported order files) ");
    try {
        checkConnection();
        const auto columnsOf = [this](const QString &name) -> std::optional<Recordset> {
            try {
                return openSnapshot("SELECT * FROM " + name + " WHERE 1=2");
            } catch (const DbError &) {
                return std::nullopt; // not there: made below (if it is there after all, the CREATE says what is wrong)
            }
        };
        std::optional<Recordset> present = columnsOf(QStringLiteral("rfimport"));
        if (present) {
            QStringList missing;
            for (const char *column : ImportColumns)
                if (present->fieldIndex(QLatin1String(column)) < 0)
                    missing << QLatin1String(column);
            if (!missing.isEmpty()) {
                QStringList all;
                for (const char *column : ImportColumns)
                    all << QLatin1String(column);
                return table
                     + QStringLiteral("is damaged: it has no column %1 (it needs the columns %2).")
                           .arg(missing.join(QStringLiteral(", ")), all.join(QStringLiteral(", ")));
            }
            // A table of an older station: the print columns are added, its records print nothing.
            if (present->fieldIndex(QStringLiteral("printdue")) < 0)
                execute(QStringLiteral("ALTER TABLE rfimport ADD printdue INTEGER"));
            if (present->fieldIndex(QStringLiteral("printqty")) < 0)
                execute(QStringLiteral("ALTER TABLE rfimport ADD printqty VARCHAR(20)"));
        } else {
            execute(ImportTableDdl);
            execute(QStringLiteral("CREATE INDEX rfimport_ordfile ON rfimport (ordfile)"));
        }
        try {
            execute("CREATE UNIQUE INDEX " + OnceIndex
                    + " ON rfimport (queuedir, ordfile, filehash) WHERE archivedat IS NULL");
        } catch (const DbError &e) {
            // There already: fine. Else the database says why it cannot be (duplicates left by an
            // older station, a database without partial indexes), and the claim alone keeps
            // stations apart.
            if (!e.description().contains(QStringLiteral("exist"), Qt::CaseInsensitive) && warning)
                *warning = QStringLiteral("The index %1 of rfimport cannot be made, so only the station's claim "
                                          "keeps a second station from saving a file again: %2")
                               .arg(OnceIndex, e.description());
        }
        if (!columnsOf(QStringLiteral("rfstation")))
            execute(QStringLiteral("CREATE TABLE rfstation (queuedir VARCHAR(64) NOT NULL PRIMARY KEY, "
                                   "host VARCHAR(255) NOT NULL, pid INTEGER NOT NULL, since VARCHAR(30) NOT NULL, "
                                   "beat INTEGER NOT NULL)"));
        return {};
    } catch (const std::exception &e) {
        return table + QStringLiteral("cannot be made: ") + failure(e).description();
    }
}

void clsServer::setPendingImport(const OrderImport &file)
{
    m_pendingImport = file;
}

void clsServer::writeImportRecord(const OrderImport &file, const QString &orderNo)
{
    try {
        execute(QStringLiteral("INSERT INTO rfimport (invno, queuedir, ordfile, filehash, savedat, printdue, printqty) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                {orderNo, file.queueDir, file.fileName.toUpper(), file.contentHash, nowText(), file.copies,
                 file.printQty});
    } catch (const DbError &e) {
        // The index of queued files refused it (SQLite names its columns, the servers its name).
        const QString text = e.description();
        if (text.contains(OnceIndex, Qt::CaseInsensitive) || text.contains(QStringLiteral("rfimport.queuedir")))
            throw DbError(e.number(), QStringLiteral("this order file was saved already by another station; its "
                                                     "record stands while the file is queued (%1)")
                                          .arg(OnceIndex));
        throw;
    }
}

bool clsServer::ImportRefused(const QString &saveResult)
{
    return saveResult.contains(OnceIndex);
}

namespace {

// "queuedir IN ('id', 'path')"
QString inKeys(const QStringList &queueKeys)
{
    QStringList quoted;
    for (QString key : queueKeys) {
        DoubleQuotes(key);
        quoted << "'" + key + "'";
    }
    return QStringLiteral("queuedir IN (%1)").arg(quoted.isEmpty() ? QStringLiteral("''") : quoted.join(", "));
}

} // namespace

QString clsServer::findUnarchivedImport(const QStringList &queueKeys, const OrderImport &file, QString *orderNo)
{
    try {
        checkConnection();
        Recordset rs = openSnapshot("SELECT invno FROM rfimport WHERE " + inKeys(queueKeys) + " AND ordfile='"
                                    + quoted(file.fileName.toUpper()) + "' AND filehash='" + quoted(file.contentHash)
                                    + "' AND archivedat IS NULL");
        orderNo->clear();
        if (!rs.isEmpty()) {
            rs.moveFirst();
            *orderNo = rs.text(QStringLiteral("invno"));
        }
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(failure(e));
    }
}

QString clsServer::unarchivedImports(const QStringList &queueKeys, QList<std::pair<QString, QString>> *imports)
{
    try {
        checkConnection();
        Recordset rs = openSnapshot("SELECT invno, ordfile FROM rfimport WHERE " + inKeys(queueKeys)
                                    + " AND archivedat IS NULL");
        imports->clear();
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            imports->append({rs.text(QStringLiteral("invno")), rs.text(QStringLiteral("ordfile"))});
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(failure(e));
    }
}

QString clsServer::markImportArchived(const QString &orderNo)
{
    try {
        checkConnection();
        execute("UPDATE rfimport SET archivedat='" + nowText() + "' WHERE invno='" + quoted(orderNo) + "'");
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(failure(e));
    }
}

QString clsServer::pruneImports(const QStringList &queueKeys, const QDateTime &archivedBefore)
{
    try {
        checkConnection();
        // A record whose printing is still due stays until it is printed.
        execute("DELETE FROM rfimport WHERE " + inKeys(queueKeys) + " AND archivedat IS NOT NULL AND archivedat < '"
                + archivedBefore.toUTC().toString(TimeFormat)
                + "' AND COALESCE(printdue, 0) = 0");
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(asDbError(e));
    }
}

QString clsServer::duePrints(const QStringList &queueKeys, QList<DuePrint> *due)
{
    try {
        checkConnection();
        Recordset rs = openSnapshot("SELECT invno, ordfile, printdue, printqty FROM rfimport WHERE " + inKeys(queueKeys)
                                    + " AND archivedat IS NOT NULL AND printdue > 0 ORDER BY savedat, invno");
        due->clear();
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            due->append({rs.text(QStringLiteral("invno")), rs.text(QStringLiteral("ordfile")),
                         int(rs.number(QStringLiteral("printdue"))), rs.text(QStringLiteral("printqty"))});
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(asDbError(e));
    }
}

QString clsServer::setPrintDue(const QString &soNo, int copies)
{
    try {
        checkConnection();
        execute(QStringLiteral("UPDATE rfimport SET printdue = ? WHERE invno = ?"), {qMax(0, copies), soNo});
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(failure(e));
    }
}
