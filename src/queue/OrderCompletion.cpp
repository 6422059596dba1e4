// A saved order leaves the queue: its files go to the archive, its terminal page and the done
// list show it, and the print hand-off follows.

#include "queue/frmTerminalMain.h"

#include "module1/Module1.h"
#include "queue/QueueFiles.h"
#include "widgets/SpreadGrid.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int ColStatus = 6;
constexpr int ColPrint = 5;

} // namespace

QString frmTerminalMain::ArchiveSavedOrder(const QString &orderPath, const QString &soNo, QString *infoProblem)
{
    const QString archive = ArchiveFolder();
    QString error;
    if (!EnsureFolder(archive, &error))
        return error;
    const QFileInfo order(orderPath);
    const QString queue = order.absolutePath();
    const QString base = OrderBaseName(order.fileName());
    const QString stem = FreeStem(archive, base, {QStringLiteral(".txt"), QStringLiteral("info.txt")});
    const QDir archiveDir(archive);

    // The info file first: the order file is what the queue and the import record go by, so it
    // moves last, and a crash between the two moves leaves an order that is finished next time.
    const QString info = ChildPath(queue, InfoFileName(order.fileName()));
    if (QFileInfo::exists(info) && !MoveFileTo(info, archiveDir.filePath(stem + QStringLiteral("info.txt")), &error))
        *infoProblem = error;
    if (!MoveFileTo(orderPath, archiveDir.filePath(stem + QStringLiteral(".txt")), &error))
        return error;
    if (gServer) {
        const QString marked = gServer->markImportArchived(soNo);
        // Not fatal: the record of a file no longer queued counts as archived at the next tidy.
        if (!marked.isEmpty())
            LogLine(QStringLiteral("%1: import record of %2 not marked archived: %3").arg(order.fileName(), soNo, marked));
    }
    return {};
}

void frmTerminalMain::CompleteSavedOrder(const QString &soNo, const QString &billToName, Currency total,
                                         int terminalIndex, int row, const QString &orderPath,
                                         const QStringList &notes)
{
    const QString name = QFileInfo(orderPath).fileName();
    const QString key = name.toUpper();

    QString archiveProblem;
    QString infoProblem;
    try {
        archiveProblem = ArchiveSavedOrder(orderPath, soNo, &infoProblem);
    } catch (const std::exception &e) {
        archiveProblem = QString::fromStdString(e.what());
    }
    mDoneOrders.insert(soNo);

    try {
        lblInvNo[terminalIndex]->setText(soNo);
        lblCustName[terminalIndex]->setText(billToName);
        lblOrderTotal[terminalIndex]->setText(FormatAmount(total.toDouble()));
    } catch (...) {
    }

    int doneRow = 0;
    QString printText;
    try {
        const int queueRow = QueueRowOf(key, row);
        printText = fQue->text(ColPrint, queueRow);
        doneRow = fDone->addRow();
        for (int col = 1; col <= 5; ++col)
            fDone->setText(col, doneRow, fQue->text(col, queueRow));
        fDone->setText(2, doneRow, name + QStringLiteral(" ( ") + soNo + QStringLiteral(" )"));
        QStringList problems = notes;
        if (!archiveProblem.isEmpty()) {
            problems << QStringLiteral("archive failed: ") + archiveProblem;
            mArchiveFailures.insert(soNo, problems.last());
        }
        if (!infoProblem.isEmpty())
            problems << QStringLiteral("info file not archived: ") + infoProblem;
        fDone->setText(ColStatus, doneRow, problems.join(QStringLiteral("; ")));
        // Saved but still in the queue folder: the row stays with the reason; each pass tries
        // the archive again and never converts it twice (FinishEarlierImport).
        if (queueRow != 0 && archiveProblem.isEmpty())
            fQue->deleteRow(queueRow);
        else if (queueRow != 0)
            fQue->setText(ColStatus, queueRow, SavedNotArchived(soNo, archiveProblem));
    } catch (...) {
    }
    mInfoRead.remove(key);
    mLoggedFailure.remove(key);

    if (gHeadless)
        LogLine(QStringLiteral("Saved %1 as sales order %2 (terminal %3, total %4)")
                    .arg(name, soNo)
                    .arg(terminalIndex + 1)
                    .arg(FormatAmount(total.toDouble())));
    // Lines read as 0 are not saved: whoever reads the log must learn which.
    for (const QString &note : notes)
        LogLine(QStringLiteral("%1 (sales order %2): %3").arg(name, soNo, note));
    if (gHeadless) {
        if (!archiveProblem.isEmpty())
            LogLine(QStringLiteral("%1: archive failed: %2; it stays in the queue folder and is not saved again")
                        .arg(name, archiveProblem),
                    LogPriority::Error);
    }

    try {
        AutoPrintOrder(soNo, printText, doneRow);
    } catch (...) {
    }
}

void frmTerminalMain::LogOrderFailure(const QString &fileName, const QString &reason)
{
    const QString key = fileName.toUpper();
    if (!gHeadless || mLoggedFailure.value(key) == reason)
        return;
    mLoggedFailure.insert(key, reason);
    LogLine(QStringLiteral("Order %1 not saved: %2").arg(fileName, reason), LogPriority::Warning);
}
