#pragma once

#include "sqlaccess/Connection.h"
#include "sqlaccess/Recordset.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

// The database service: the one connection to the suite's database and every operation the
// rest of the program performs on it. One instance lives for the program's life.
//
// Writing operations return "" for success or a text for the operator; query operations return
// the blank record set on failure and lastErrorText() says why: the caller decides how the
// operator hears of it. No operation lets an exception out.
class clsServer
{
public:
    // Reads [Access] DBName (DBNameShow in trade show mode) and DBType from the tolvaacc.ini of
    // the suite that `programDir` lies in; does not connect. Throws DbError with a one-line reason
    // when the settings cannot give a connection (no admodule in the program folder, DBType empty
    // or not a number).
    clsServer(const QString &programDir, bool tradeShow);
    ~clsServer();
    clsServer(const clsServer &) = delete;
    clsServer &operator=(const clsServer &) = delete;

    // --- connection
    QString Get_ConnStatus();            // "" or number & "|" & description
    Recordset Get_Blank_Recordset();     // one text field "blankfield", no rows, open
    // The blank record set on failure; lastErrorText() then says why, in the database's words.
    Recordset Get_sqlResult(const QString &strSQL);
    // What Get_sqlResult gives for each of `statements`, which have the same columns, fetched in
    // one statement instead of one each. Empty on failure; lastErrorText() then says why.
    QList<Recordset> Get_sqlResults(const QStringList &statements);
    // Why the last query operation failed, "" when it succeeded.
    QString lastErrorText() const { return m_lastError; }
    void clearLastError() { m_lastError.clear(); }

    // How the most recent operation ended: a failure of the database itself (it cannot be
    // reached, or another station holds what it needs) says nothing about the order at hand,
    // and the next order would fail the same way.
    enum class Failure {
        None,        // it succeeded
        Order,       // it failed for what it was asked (a missing item, a duplicate number, ...)
        Locked,      // another station or program held a record past the lock wait limit
        Unreachable, // the database could not be opened or reached, or the connection was lost
    };
    Failure lastFailure() const { return m_failure; }
    bool serverUnreachable() const { return m_failure == Failure::Unreachable; }

    // --- sales order save, numbering, locks
    QString Update_SalesOrder(QString &argUnique, quint8 argdbFlag, Recordset &rsHeader,
                              Recordset &rsDetail, qint32 argLastAutoNo);
    QString Gets_NextNoWhenSaved(const QString &argSourceName);
    QString Sets_LockWithoutOpenConn(const QString &argTableName, const QString &argFieldName,
                                     const QString &argFormName, const QString &argUidValue,
                                     quint8 argAction, const QString &argComputerName,
                                     const QString &argUserName);

    // --- pricing, ship-to, rights
    Recordset Get_A_PriceInfo(const QString &tmpItemNO, const QString &tmpRowText,
                              const QString &tmpColText);
    Recordset Get_PriceCodeInfo(const QString &tmpCustNo, const QString &tmpCustPriceGroup,
                                const QString &tmpItemNO, const QString &tmpItemPriceGroup);
    Recordset Get_Selected_ShippingAddress(const QString &tmpCustNo, const QString &tmpShiptoName);
    QString Gettf_UserRight(const QString &argUserId, const QString &argPassword,
                            const QString &argFormid);

    // --- list and browse screens
    Recordset Get_ListData(QString &strStartID, const QString &strStartDesc, const QString &selectStr,
                           const QString &strTableName, const QString &strExtendedWhere,
                           const QString &strOrderBy, const QString &strAscDes,
                           const QString &strUniqueField, const QString &strUniqueFieldOp,
                           const QString &strDescField, const QString &strDescFieldOp,
                           const QString &strSelectedField, const QString &strSqlStr);
    QString Get_BrowseData(QString &strStartID, const QString &strStartDesc, const QString &selectStr,
                           const QString &strTableName, const QString &strExtendedWhere,
                           const QString &strOrderBy, const QString &strAscDes,
                           const QString &strUniqueField, const QString &strUniqueFieldOp,
                           const QString &strDescField, const QString &strDescFieldOp,
                           const QString &strSelectedField, const QString &strSqlStr);

    // --- import records: table rfimport says which order file became which sales order
    struct OrderImport
    {
        QString queueDir;    // the queue folder's identity (QueueIdentity; older records: its path)
        QString fileName;    // the order file's name
        QString contentHash; // SHA-256 of its bytes, 64 lower-case hex digits
        int copies = 0;      // copies due to print once the order is archived
        QString printQty;    // its "Print?": the print list entry due, "" for none
    };
    static const QString ImportTableDdl; // portable: SQLite, PostgreSQL, SQL Server
    // Creates rfimport when the database has none (and adds what an older station's table lacks),
    // and the claims table rfstation; "" or the reason it cannot. *warning: what is missing that
    // the station can do without.
    QString ensureImportTable(QString *warning = nullptr);
    // The next Update_SalesOrder, whatever it returns, takes this: a new order it commits is
    // recorded as imported from `file` inside the same transaction, with its copies due to print.
    // A second record of the same file (queue, name and content) while the first is not archived
    // is refused by the database, so the save fails (ImportRefused() tells).
    void setPendingImport(const OrderImport &file);
    // *orderNo: the order this very file (name and content) was saved as while the file has not
    // left the queue yet; "" when none. `queueKeys`: the queue's identity and older keys of it.
    // Returns "" or the database's error text.
    QString findUnarchivedImport(const QStringList &queueKeys, const OrderImport &file, QString *orderNo);
    // (order number, order file name upper-cased) of the queue folder's imports not yet archived.
    QString unarchivedImports(const QStringList &queueKeys, QList<std::pair<QString, QString>> *imports);
    QString markImportArchived(const QString &orderNo);
    // Deletes the queue folder's records of files archived before `archivedBefore`.
    QString pruneImports(const QStringList &queueKeys, const QDateTime &archivedBefore);
    // True when the text of a failed save says the database refused a second record of a file.
    static bool ImportRefused(const QString &saveResult);

    // --- printing due: an archived order's copies not yet printed
    struct DuePrint
    {
        QString soNo;
        QString orderFile;
        int copies = 0;   // copies still to print
        QString printQty; // its "Print?", for its print list entry
    };
    // The archived orders of the queue with copies still to print, oldest first.
    QString duePrints(const QStringList &queueKeys, QList<DuePrint> *due);
    // The copies of `soNo` still to print after a print.
    QString setPrintDue(const QString &soNo, int copies);

    // --- one station per queue: table rfstation holds which station works on which queue
    struct QueueClaim
    {
        QString host;
        qint64 pid = 0;
        QString since; // when it took the queue, local time of its host (ISO)
        qint64 beat = 0; // counts up while the station lives
        bool operator==(const QueueClaim &) const = default;
    };
    // *claim: the queue's claim, none when unclaimed.
    QString readQueueClaim(const QString &queueId, std::optional<QueueClaim> *claim);
    // Takes the queue for `mine` when it is unclaimed, or when it still holds `replacing` (a claim
    // read before, judged dead). *taken: whether the queue is ours now.
    QString takeQueueClaim(const QString &queueId, const QueueClaim &mine, const std::optional<QueueClaim> &replacing,
                           bool *taken);
    // Counts our beat up; *stillOurs false when another station has taken the queue meanwhile.
    QString beatQueueClaim(const QString &queueId, const QueueClaim &mine, bool *stillOurs);
    QString releaseQueueClaim(const QString &queueId, const QueueClaim &mine);

    // --- checks of the database itself
    // "" when the database answers (a lost connection is made again, a replaced database file is
    // opened anew), else why it does not.
    QString ping();
    // "" when every table and column the program uses is there; else a text naming the missing.
    QString missingSchema();
    // An embedded database whose file is no longer the one opened (another device or inode, or
    // gone) is closed, so the next operation opens the file that is there now. True when it was.
    bool closeIfDatabaseReplaced();

    // --- error texts
    QString Get_DbErrorMessage(const DbError &error, const QString &fieldName = {}) const;

    // --- what the service was set up with
    QString suiteRoot() const { return m_suiteRoot; }
    QString databaseName() const { return m_databaseName; }
    QString databaseType() const { return m_databaseType; }
    bool usesOdbc() const;
    // The ODBC connection text, or the database file for the embedded kind, with every password
    // masked (MaskConnectionSecrets): what may be shown and logged.
    QString connectionString() const;
    const OdbcSource &odbcSource() const { return m_odbcSource; }
    Connection &connection() { return m_connection; }

    // How long a statement waits for a lock another station or program holds (an embedded
    // database's write lock, a server's row lock) before the operation fails as busy
    // (Failure::Locked); LockWaitLimitMs unless set. Takes effect when the connection is next opened.
    void setBusyTimeout(int milliseconds) { m_busyTimeoutMs = milliseconds; }
    // The clock the record locks judge staleness by (the current local time unless replaced).
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

private:
    void checkConnection(); // opens the connection when it is closed; throws DbError
    // The service's own statements, on its connection.
    Recordset openSnapshot(const QString &statement);
    Recordset openUpdatable(const QString &statement, bool lockRows = false);
    int execute(const QString &statement);
    int execute(const QString &statement, const QVariantList &values);
    // A text ready to stand inside a quoted SQL literal: every single quote doubled.
    static QString quoted(QString text);
    // Any failure as the database error it stands for.
    static DbError asDbError(const std::exception &error);
    // A query operation failed: lastErrorText() will say why.
    void rememberFailure(const std::exception &error);
    // An operation failed: lastFailure() says of what kind. The error, for its text.
    DbError failure(const std::exception &error);

    // The lines of an order and the stock they put on sales order, inside the save's transaction.
    // "" when every line was written, else the item-not-found text; other failures throw DbError.
    QString writeLinesAndStock(const QString &orderNo, quint8 argdbFlag, Recordset &rsDetail,
                               qint32 &argLastAutoNo, int oldOrderType, int newOrderType);
    // The same for a new order on a backend that takes a whole order's lines in one statement and
    // its stock in one statement per round of distinct items.
    QString writeNewOrderLines(const QString &orderNo, Recordset &rsDetail, int newOrderType);
    // The next number in one statement that reads and advances the counter; none when the
    // backend cannot or the row is one only the record-set path reads right (then nothing changed).
    std::optional<QString> takeNextNumber(const QString &argSourceName);
    QString listStatement(QString &strStartID, const QString &strStartDesc, const QString &selectStr,
                          const QString &strTableName, const QString &strExtendedWhere,
                          const QString &strOrderBy, const QString &strAscDes,
                          const QString &strUniqueField, const QString &strUniqueFieldOp,
                          const QString &strDescField, const QString &strDescFieldOp,
                          const QString &selectedField, const QString &strSqlStr) const;

    // The identity of the database file about to be opened (checkConnection).
    void rememberDatabaseFile();
    // Inside the save's transaction: the order `orderNo` came from `file`. Throws DbError.
    void writeImportRecord(const OrderImport &file, const QString &orderNo);

    Connection m_connection;
    std::optional<OrderImport> m_pendingImport;
    std::optional<std::pair<quint64, quint64>> m_databaseFile; // device, inode
    bool m_odbc = false;
    OdbcSource m_odbcSource;
    QString m_lastError;
    QString m_suiteRoot;
    QString m_databaseName;
    QString m_databaseType;
    QString m_databaseKey; // the settings key the database name came from
    QString m_iniPath;
    int m_busyTimeoutMs = LockWaitLimitMs;
    Failure m_failure = Failure::None;
    std::function<QDateTime()> m_now;
};
