// Exactly once across crashes: every saved order file is recorded in the save's transaction
// (table rfimport). Before a queued file is converted, its record is looked up; a file saved
// already has only its archiving finished.

#include "queue/frmTerminalMain.h"

#include "module1/Module1.h"
#include "queue/OrderFile.h"
#include "widgets/SpreadGrid.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int ColOrderFile = 2;
constexpr int ColPrint = 5;
constexpr int ColStatus = 6;

// The queue folder as the import records name it: one spelling for one folder.
QString queueDirKey()
{
    const QFileInfo queue(QueueFolder());
    const QString canonical = queue.canonicalFilePath();
    return canonical.isEmpty() ? queue.absoluteFilePath() : canonical;
}

} // namespace

QString frmTerminalMain::SavedNotArchived(const QString &soNo, const QString &reason)
{
    return QStringLiteral("Saved as %1; not archived: %2").arg(soNo, reason);
}

clsServer::OrderImport frmTerminalMain::ImportOf(const QString &fileName, const QByteArray &content)
{
    return {queueDirKey(), fileName,
            QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex())};
}

int frmTerminalMain::PrepareDatabase()
{
    QString problem = gServer->missingSchema();
    if (problem.isEmpty())
        problem = gServer->ensureImportTable();
    if (!problem.isEmpty()) {
        ShowMessage(problem, QString::fromLatin1(AppTitle), MessageIcon::Critical, this);
        return 1;
    }
    TidyImportRecords();
    return 0;
}

bool frmTerminalMain::FinishEarlierImport(int row)
{
    if (!gServer)
        return false;
    const QString name = fQue->text(ColOrderFile, row);
    const QString path = QDir(QueueFolder()).filePath(name);
    const OrderFileContent file = ReadOrderFile(path);
    // The conversion reports why a file cannot be taken.
    if (file.changed || !file.refusal.isEmpty())
        return false;
    const QByteArray &content = file.content;
    QString soNo;
    const QString error = gServer->findUnarchivedImport(ImportOf(name, content), &soNo);
    if (!error.isEmpty()) {
        const QString reason = QStringLiteral("Not converted: whether it was saved already cannot be looked up: ") + error;
        fQue->setText(ColStatus, row, reason);
        LogOrderFailure(name, reason);
        return true;
    }
    if (soNo.isEmpty())
        return false;

    QString infoProblem;
    QString problem;
    try {
        problem = ArchiveSavedOrder(path, soNo, &infoProblem);
    } catch (const std::exception &e) {
        problem = QString::fromStdString(e.what());
    }
    if (!problem.isEmpty()) {
        const QString status = SavedNotArchived(soNo, problem);
        if (fQue->text(ColStatus, row) != status)
            LogOrderFailure(name, status);
        fQue->setText(ColStatus, row, status);
        return true;
    }
    const QString doneName = name + QStringLiteral(" ( ") + soNo + QStringLiteral(" )");
    int printRow = 0; // the done row of an order whose print hand-off never ran
    QString printText;
    if (mDoneOrders.contains(soNo)) {
        // Saved in this run, when its archiving failed: the done row no longer says so.
        const QString failure = mArchiveFailures.take(soNo);
        for (int done = fDone->maxRows(); done >= 1 && !failure.isEmpty(); --done) {
            if (fDone->text(ColOrderFile, done) != doneName)
                continue;
            fDone->setText(ColStatus, done,
                           fDone->text(ColStatus, done).replace(failure, QStringLiteral("archived on a later pass")));
            break;
        }
    } else {
        // Saved by an earlier run of the program: the done list shows it now.
        mDoneOrders.insert(soNo);
        const int done = fDone->addRow();
        for (int col = 1; col <= 5; ++col)
            fDone->setText(col, done, fQue->text(col, row));
        fDone->setText(ColOrderFile, done, doneName);
        fDone->setText(ColStatus, done, QStringLiteral("saved before a restart; archived now"));
        // That run ended before the print hand-off (it follows the archiving) or its print
        // failed: an order not marked printed is handed to the printer now.
        QString quotedNo = soNo;
        DoubleQuotes(quotedNo);
        const Recordset status = gServer->Get_sqlResult("select ordstatus from so where invno='" + quotedNo + "'");
        if (!gServer->lastErrorText().isEmpty())
            LogLine(QStringLiteral("%1: whether sales order %2 was printed cannot be looked up, so it is not "
                                   "printed now: %3")
                        .arg(name, soNo, gServer->lastErrorText()),
                    LogPriority::Warning);
        else if (!status.isEmpty() && ValueOrZero(status.value(QStringLiteral("ordstatus"))) == 0) {
            printRow = done;
            printText = fQue->text(ColPrint, row);
        }
    }
    fQue->deleteRow(row);
    mInfoRead.remove(name.toUpper());
    mLoggedFailure.remove(name.toUpper());
    if (gHeadless)
        LogLine(QStringLiteral("%1 was saved as sales order %2 already; its files are archived now%3")
                    .arg(name, soNo, infoProblem.isEmpty() ? QString() : QStringLiteral(" (info file: ") + infoProblem + ')'));
    if (printRow != 0)
        AutoPrintOrder(soNo, printText, printRow);
    return true;
}

void frmTerminalMain::TidyImportRecords()
{
    if (!gServer)
        return;
    const QString queue = QueueFolder();
    // A folder that is not there (a network mount away) says nothing about its files.
    if (!QFileInfo(queue).isDir())
        return;
    const QString queueKey = queueDirKey();
    QList<std::pair<QString, QString>> unarchived;
    QString error = gServer->unarchivedImports(queueKey, &unarchived);
    for (const auto &[soNo, fileName] : std::as_const(unarchived)) {
        if (error.isEmpty() && !QFileInfo(ChildPath(queue, fileName)).isFile())
            error = gServer->markImportArchived(soNo);
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (error.isEmpty() && (mLastPruneMs == 0 || now - mLastPruneMs >= 3600 * 1000)) {
        error = gServer->pruneImports(queueKey, QDateTime::currentDateTimeUtc().addDays(-ImportRecordDays));
        mLastPruneMs = now;
    }
    if (!error.isEmpty())
        LogLine(QStringLiteral("Import records not tidied: ") + error);
}
