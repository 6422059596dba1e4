// The polling cycle of the main window: Timer1 lists new order files in the queue list,
// Timer2 walks the list and converts each order. Both run on the window thread; window events
// run only at the fixed points where processEvents is called.

#include "queue/frmTerminalMain.h"

#include "module1/Module1.h"
#include "queue/QueueFiles.h"
#include "queue/QueueWatch.h"
#include "widgets/SpreadGrid.h"
#include "runtime/VbFormat.h"

#include <QFileInfo>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <algorithm>

namespace {

constexpr int ColTerminal = 1;
constexpr int ColOrderFile = 2;
constexpr int ColCustNo = 3;
constexpr int ColCustName = 4;
constexpr int ColPrint = 5;
constexpr int ColStatus = 6;

const QString SkippedPrefix = QStringLiteral("** SKIPPED ** ");

// Clears a flag when the scope ends, whatever way it ends.
class FlagGuard
{
public:
    explicit FlagGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard &) = delete;
    FlagGuard &operator=(const FlagGuard &) = delete;

private:
    bool &m_flag;
};

} // namespace

void frmTerminalMain::Timer1_Timer()
{
    Q_EMIT pollingAlive();
    // A pass holds the queue list; a scan waits for it to end.
    if (gScanBusy || mPassRunning)
        return;
    try {
        if (gStopRequested) {
            statusMsgPanel->setText(QStringLiteral("STOPPED"));
            stopTimers();
            return;
        }
        Timer1->stop();
        {
            FlagGuard busy(gScanBusy);
            ScanOrderQueue();
        }
        if (!gStopRequested)
            Timer1->start();
    } catch (const std::exception &e) {
        LogLine(QStringLiteral("Queue scan failed: %1").arg(QString::fromStdString(e.what())));
        if (!gStopRequested)
            Timer1->start();
    } catch (...) {
        if (!gStopRequested)
            Timer1->start();
    }
    finishShutdownIfIdle();
    ScheduleNextKick();
}

void frmTerminalMain::ScanOrderQueue()
{
    const QString folder = QueueFolder();
    NoteQueueFolder(folder);
    // Watched again when the folder was removed and made anew.
    if (mWatch)
        mWatch->watch(folder);
    ListNewQueueFiles(folder + QLatin1Char('/'), QStringLiteral("*.ord"));
}

void frmTerminalMain::ListNewQueueFiles(const QString &folder, const QString &pattern)
{
    // One listing of the whole folder gives the order files and, without a look-up per order,
    // the info files beside them. Only the new names are sorted.
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Unsorted);
    QHash<QString, qsizetype> byName;
    byName.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        byName.insert(entries[i].fileName().toUpper(), i);

    QSet<QString> listed;
    listed.reserve(fQue->maxRows());
    for (int row = 1; row <= fQue->maxRows(); ++row)
        listed.insert(fQue->text(ColOrderFile, row).toUpper());

    const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption);
    QHash<QString, ScannedOrder> scanned;
    QList<qsizetype> fresh;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString name = entries[i].fileName();
        if (!match.match(name).hasMatch())
            continue;
        const QString key = name.toUpper();
        ScannedOrder seen;
        seen.order = FileStamp::of(entries[i]);
        const auto info = byName.constFind(InfoFileName(key).toUpper());
        if (info != byName.constEnd()) {
            seen.infoName = entries[*info].fileName();
            seen.info = FileStamp::of(entries[*info]);
        }
        scanned.insert(name, seen);
        // The same name in other letter case is the same order: listed once.
        if (!listed.contains(key)) {
            listed.insert(key);
            fresh.append(i);
        }
    }
    mScanned = std::move(scanned);
    if (QDir(folder).exists()) {
        QSet<QString> present;
        present.reserve(byName.size());
        for (auto it = byName.constBegin(); it != byName.constEnd(); ++it)
            present.insert(it.key());
        mReadiness.retain(present);
    }

    std::sort(fresh.begin(), fresh.end(), [&entries](qsizetype a, qsizetype b) {
        return entries[a].fileName().compare(entries[b].fileName(), Qt::CaseInsensitive) < 0;
    });
    for (const qsizetype i : std::as_const(fresh)) {
        const QFileInfo &entry = entries[i];
        try {
            const QString name = entry.fileName();
            const QString key = name.toUpper();
            const int row = fQue->addRow();
            fQue->setText(ColTerminal, row, TerminalOfOrderFile(name));
            fQue->setText(ColOrderFile, row, name);
            const ScannedOrder &seen = mScanned[name];
            if (seen.info.exists()) {
                FillQueueCustomer(row, QDir(folder).filePath(seen.infoName), true);
                mInfoRead.insert(key, seen.info);
            }
        } catch (const std::exception &e) {
            LogLine(QStringLiteral("Queue scan: %1 skipped: %2")
                        .arg(entry.fileName(), QString::fromStdString(e.what())));
        }
        QCoreApplication::processEvents();
    }
}

void frmTerminalMain::FillQueueCustomer(int row, const QString &infoPath, bool withPrintQty)
{
    const QString section = QStringLiteral("Customer");
    fQue->setText(ColCustNo, row, ReadIniValue(section, QStringLiteral("Number"), infoPath));
    fQue->setText(ColCustName, row, ReadIniValue(section, QStringLiteral("Name"), infoPath));
    if (withPrintQty)
        fQue->setText(ColPrint, row, vb::Val(txtDefQty->text()) > 0 ? txtDefQty->text() : QString());
}

bool frmTerminalMain::QueueRowSettled(int row)
{
    const QString name = fQue->text(ColOrderFile, row);
    const QString key = name.toUpper();
    const auto seen = mScanned.constFind(name);
    // Not seen by the last scan: the file has gone; the conversion reports it.
    if (seen == mScanned.constEnd())
        return true;
    const QDir folder(QueueFolder());
    const QString waiting = QStringLiteral("Waiting: the %1 is still being written");
    // Every change reported so far is known before the files are judged.
    if (mWatch)
        mWatch->drain();
    const auto complete = [&](const QString &fileName, const FileStamp &stamp) {
        const FileReadiness::Verdict verdict = mReadiness.check(fileName, stamp);
        if (verdict.lookAgainAtMs > 0 && (mSettleCheckAtMs == 0 || verdict.lookAgainAtMs < mSettleCheckAtMs))
            mSettleCheckAtMs = verdict.lookAgainAtMs;
        return verdict.complete;
    };
    const QString orderPath = folder.filePath(name);
    const FileStamp order = FileStamp::of(orderPath);
    // A name that is there but is no plain file (a FIFO, a device, a link to one) is never
    // written to completion: the reader refuses it with its reason.
    const QFileInfo orderInfo(orderPath);
    const bool noPlainFile = !order.exists() && (orderInfo.exists() || orderInfo.isSymLink());
    if (!noPlainFile && (order != seen->order || !complete(name, order))) {
        fQue->setText(ColStatus, row, waiting.arg(QStringLiteral("order file")));
        return false;
    }
    const QString infoName = seen->infoName.isEmpty() ? InfoFileName(name) : seen->infoName;
    const QString infoPath = folder.filePath(infoName);
    const FileStamp info = FileStamp::of(infoPath);
    if (info != seen->info || (info.exists() && !complete(infoName, info))) {
        fQue->setText(ColStatus, row, waiting.arg(QStringLiteral("info file")));
        return false;
    }
    // A terminal may write the info file after the order file, or rewrite it.
    if (info.exists() && (fQue->text(ColCustNo, row).isEmpty() || mInfoRead.value(key) != info)) {
        FillQueueCustomer(row, infoPath, fQue->text(ColCustNo, row).isEmpty());
        mInfoRead.insert(key, info);
    }
    return true;
}

int frmTerminalMain::QueueRowOf(const QString &name, int hint) const
{
    if (hint >= 1 && hint <= fQue->maxRows() && fQue->text(ColOrderFile, hint).toUpper() == name)
        return hint;
    for (int row = 1; row <= fQue->maxRows(); ++row) {
        if (fQue->text(ColOrderFile, row).toUpper() == name)
            return row;
    }
    return 0;
}

void frmTerminalMain::Timer2_Timer()
{
    // Passes never overlap: a stop and a start during a pass enable the timers again, and the
    // pass itself lets timer events through.
    if (gScanBusy || mPassRunning)
        return;
    try {
        if (fQue->maxRows() > 0) {
            stopTimers();
            FlagGuard pass(mPassRunning);
            if (gServer && gServer->closeIfDatabaseReplaced())
                LogLine(QStringLiteral("The database file was replaced; the new one is used from now on."));
            TidyImportRecords();
            // The rows present now, each visited once from the top; identified by name, because
            // rows above may be converted or removed at the event points.
            QStringList names;
            for (int row = 1; row <= fQue->maxRows(); ++row)
                names.append(fQue->text(ColOrderFile, row).toUpper());
            int expected = 1;
            for (const QString &name : std::as_const(names)) {
                Q_EMIT pollingAlive();
                QCoreApplication::processEvents();
                if (gStopRequested)
                    break;
                const int row = QueueRowOf(name, expected);
                if (row == 0)
                    continue;
                expected = row;
                if (!QueueRowSettled(row)) {
                    ++expected;
                    continue;
                }
                if (FinishEarlierImport(row))
                    continue;
                mConvertingName = name;
                mLeftForNextPass = false;
                const bool saved = ProcessQueueRow(row);
                mConvertingName.clear();
                if (!saved) {
                    const int now = QueueRowOf(name, row);
                    if (now != 0) {
                        if (!mLeftForNextPass)
                            fQue->setText(ColStatus, now, SkippedPrefix + fQue->text(ColStatus, now));
                        expected = now + 1;
                    }
                }
                if (gStopRequested)
                    break;
                QCoreApplication::processEvents();
            }
        }
    } catch (const std::exception &e) {
        mConvertingName.clear();
        LogLine(QStringLiteral("Queue pass failed: %1").arg(QString::fromStdString(e.what())));
    } catch (...) {
        mConvertingName.clear();
    }
    if (gStopRequested) {
        statusMsgPanel->setText(QStringLiteral("STOPPED"));
        stopTimers();
    } else {
        startTimers();
    }
    finishShutdownIfIdle();
    ScheduleNextKick();
}
