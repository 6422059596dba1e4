// A saved order leaves the queue: its files go to the archive, its terminal page and the done
// list show it, and the print hand-off follows.

#include "frmTerminalMain.h"

#include "Module1.h"
#include "QueueFiles.h"
#include "SpreadGrid.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int ColStatus = 6;
constexpr int ColPrint = 5;

// Moves the order and info files of a saved order into the archive as <base>.txt and
// <base>info.txt. "" when the order file has left the queue; otherwise the reason it has not.
// A missing info file is reported too, but does not keep the order in the queue.
QString ArchiveOrderFiles(const QString &orderPath, QString *infoProblem)
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

    if (!MoveFileTo(orderPath, archiveDir.filePath(stem + QStringLiteral(".txt")), &error))
        return error;
    const QString info = ChildPath(queue, InfoFileName(order.fileName()));
    if (!MoveFileTo(info, archiveDir.filePath(stem + QStringLiteral("info.txt")), &error))
        *infoProblem = error;
    return {};
}

} // namespace

void frmTerminalMain::CompleteSavedOrder(const QString &soNo, const QString &billToName, Currency total,
                                         int terminalIndex, int row, const QString &orderPath)
{
    const QString name = QFileInfo(orderPath).fileName();
    const QString key = name.toUpper();

    QString archiveProblem;
    QString infoProblem;
    try {
        archiveProblem = ArchiveOrderFiles(orderPath, &infoProblem);
    } catch (const std::exception &e) {
        archiveProblem = QString::fromStdString(e.what());
    }
    if (!archiveProblem.isEmpty()) {
        // Still in the queue folder, but saved: the scan must never list it again.
        mUnarchived.insert(key);
    }

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
        QStringList problems;
        if (!archiveProblem.isEmpty())
            problems << QStringLiteral("archive failed: ") + archiveProblem;
        if (!infoProblem.isEmpty())
            problems << QStringLiteral("info file not archived: ") + infoProblem;
        fDone->setText(ColStatus, doneRow, problems.join(QStringLiteral("; ")));
        if (queueRow != 0)
            fQue->deleteRow(queueRow);
    } catch (...) {
    }
    mInfoRead.remove(key);
    mLoggedFailure.remove(key);

    if (gHeadless) {
        LogLine(QStringLiteral("Saved %1 as sales order %2 (terminal %3, total %4)")
                    .arg(name, soNo)
                    .arg(terminalIndex + 1)
                    .arg(FormatAmount(total.toDouble())));
        if (!archiveProblem.isEmpty())
            LogLine(QStringLiteral("%1: archive failed: %2; it stays in the queue folder and is not converted again")
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
