// Import records: table rfimport, the program's own, says which order file became which sales
// order. A record is written in the transaction that saves the order, so after a crash between
// the commit and the archiving the file is recognised and archived instead of saved again.
//
// Columns (portable SQL: plain VARCHAR columns, times as 'yyyy-MM-dd hh:mm:ss' UTC texts):
//   invno       the sales order number (primary key)
//   queuedir    the queue folder the file was in (canonical path): stations sharing a database
//               keep apart
//   ordfile     the order file's name, upper-cased (names are matched without regard to case)
//   filehash    SHA-256 of the order file's bytes, 64 lower-case hex digits
//   savedat     when the order was saved
//   archivedat  when the file left the queue; null while it is still there

#include "dbservice/clsServer.h"

#include <QDateTime>
#include <QStringList>
#include <optional>

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

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
    "archivedat VARCHAR(19))");

QString clsServer::ensureImportTable()
{
    const QString table = QStringLiteral("The table rfimport (the record of imported order files) ");
    try {
        checkConnection();
        std::optional<Recordset> present;
        try {
            present = openSnapshot(QStringLiteral("SELECT * FROM rfimport WHERE 1=2"));
        } catch (const DbError &) {
            // Not there: made below (when it is there after all, the CREATE says what is wrong).
        }
        if (present) {
            QStringList missing;
            for (const char *column : ImportColumns)
                if (present->fieldIndex(QLatin1String(column)) < 0)
                    missing << QLatin1String(column);
            if (missing.isEmpty())
                return {};
            QStringList all;
            for (const char *column : ImportColumns)
                all << QLatin1String(column);
            return table
                 + QStringLiteral("is damaged: it has no column %1 (it needs the columns %2).")
                       .arg(missing.join(QStringLiteral(", ")), all.join(QStringLiteral(", ")));
        }
        execute(ImportTableDdl);
        execute(QStringLiteral("CREATE INDEX rfimport_ordfile ON rfimport (ordfile)"));
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
    execute(QStringLiteral("INSERT INTO rfimport (invno, queuedir, ordfile, filehash, savedat) VALUES (?, ?, ?, ?, ?)"),
            {orderNo, file.queueDir, file.fileName.toUpper(), file.contentHash, nowText()});
}

QString clsServer::findUnarchivedImport(const OrderImport &file, QString *orderNo)
{
    try {
        checkConnection();
        Recordset rs = openSnapshot("SELECT invno FROM rfimport WHERE queuedir='" + quoted(file.queueDir)
                                    + "' AND ordfile='" + quoted(file.fileName.toUpper())
                                    + "' AND filehash='" + quoted(file.contentHash)
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

QString clsServer::unarchivedImports(const QString &queueDir, QList<std::pair<QString, QString>> *imports)
{
    try {
        checkConnection();
        Recordset rs = openSnapshot("SELECT invno, ordfile FROM rfimport WHERE queuedir='" + quoted(queueDir)
                                    + "' AND archivedat IS NULL");
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

QString clsServer::pruneImports(const QString &queueDir, const QDateTime &archivedBefore)
{
    try {
        checkConnection();
        execute("DELETE FROM rfimport WHERE queuedir='" + quoted(queueDir)
                + "' AND archivedat IS NOT NULL AND archivedat < '"
                + archivedBefore.toUTC().toString(TimeFormat) + "'");
        return {};
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(failure(e));
    }
}
