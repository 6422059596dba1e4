// The queue service's start-up, running state and shutdown.

#include "queue/QueueService.h"

#include "module1/Module1.h"
#include "module1/PrintStation.h"
#include "queue/QueueWatch.h"
#include "queue/StationLock.h"
#include "runtime/DbError.h"

#include <QDir>
#include <QFileInfo>

QueueService::QueueService(const QString &programDir, QObject *parent) : QObject(parent)
{
    m_context.programDir = programDir;
    m_timer1 = new QTimer(this);
    m_timer1->setInterval(ScanIntervalMs);
    m_timer2 = new QTimer(this);
    m_timer2->setInterval(PassIntervalMs);
    connect(m_timer1, &QTimer::timeout, this, &QueueService::Timer1_Timer);
    connect(m_timer2, &QTimer::timeout, this, &QueueService::Timer2_Timer);
}

QueueService::~QueueService()
{
    releaseClaim();
}

QString QueueService::title() const
{
    return QString::fromLatin1(AppTitle)
        + (m_context.tradeShow ? QStringLiteral("   *** Trade Show Mode ***") : QStringLiteral("   *** In House Mode ***"));
}

QString QueueService::queueFolder() const
{
    return m_context.folder(QueueFolderName);
}

QString QueueService::archiveFolder() const
{
    return m_context.folder(ArchiveFolderName);
}

QString QueueService::removedFolder() const
{
    return m_context.folder(RemovedFolderName);
}

int QueueService::start()
{
    const QString title = QString::fromLatin1(AppTitle);
    try {
        stopTimers();
        m_stopRequested = false;
        const QString &programDir = m_context.programDir;

        // A wrong folder would leave a station that says it runs and never picks up an order.
        if (!QFileInfo(programDir).isDir()) {
            ShowMessage(QStringLiteral("The program folder \"%1\" does not exist.").arg(programDir), title,
                        MessageIcon::Critical);
            return 2;
        }
        const auto root = SuiteRootOf(programDir);
        if (!root) {
            ShowMessage(QStringLiteral("The program folder \"%1\" is not inside a suite: its path has no "
                                       "\"admodule\" folder. Start the program from <suite>/admodule or "
                                       "name that folder with --program-dir.")
                            .arg(programDir),
                        title, MessageIcon::Critical);
            return 2;
        }
        m_context.suiteRoot = *root;
        const QString settings = m_context.suiteIni();
        if (!QFileInfo(settings).isFile()) {
            ShowMessage(QStringLiteral("The suite's settings file \"%1\" does not exist.").arg(settings), title,
                        MessageIcon::Critical);
            return 2;
        }
        const QString queue = queueFolder();
        if (!QFileInfo(queue).isDir()) {
            ShowMessage(QStringLiteral("The queue folder \"%1\" does not exist: the terminals' orders are picked up "
                                       "there. Create it, or name the right program folder with --program-dir.")
                            .arg(queue),
                        title, MessageIcon::Critical);
            return 2;
        }

        const QString showDatabase = ReadIniValue(QStringLiteral("Access"), QStringLiteral("DBNameShow"), settings);
        m_context.tradeShow = !showDatabase.isEmpty() && QFileInfo(showDatabase).isFile();

        try {
            m_server = std::make_unique<clsServer>(programDir, m_context.tradeShow);
        } catch (const DbError &e) {
            ShowMessage(e.description(), title, MessageIcon::Critical);
            return 2;
        }
        const QString status = m_server->Get_ConnStatus();
        if (!status.isEmpty()) {
            ShowMessage(status, title, MessageIcon::Critical);
            m_server.reset();
            return 1;
        }
        // Not the suite's database: refused now rather than failing every order.
        if (const int prepared = prepareDatabase(); prepared != 0) {
            m_server.reset();
            return prepared;
        }
        if (const int claimed = claimQueue(); claimed != 0) {
            m_server.reset();
            return claimed;
        }
        tidyImportRecords();
        m_startedAt = QDateTime::currentDateTime();
        startWatching();
        startTimers();
        return 0;
    } catch (const std::exception &e) {
        ShowMessage(QString::fromLocal8Bit(e.what()), title, MessageIcon::Critical);
        return 1;
    }
}

int QueueService::prepareDatabase()
{
    QString warning;
    QString problem = m_server->missingSchema();
    if (problem.isEmpty())
        problem = m_server->ensureImportTable(&warning);
    if (!problem.isEmpty()) {
        ShowMessage(problem, QString::fromLatin1(AppTitle), MessageIcon::Critical);
        return 1;
    }
    if (!warning.isEmpty())
        LogLine(warning, LogPriority::Warning);
    return 0;
}

void QueueService::setStatusText(const QString &text)
{
    if (m_statusText == text)
        return;
    m_statusText = text;
    Q_EMIT statusTextChanged(text);
}

void QueueService::stopTimers()
{
    m_timer1->stop();
    m_timer2->stop();
}

void QueueService::startTimers()
{
    m_timer1->start();
    m_timer2->start();
}

void QueueService::setRunning(bool run)
{
    if (m_shutdownRequested || run == running())
        return;
    m_stopRequested = !run;
    if (run) {
        setStatusText(QStringLiteral("RUNNING .."));
        startTimers();
        QueueChanged(); // what arrived while stopped is picked up now
    } else {
        setStatusText(QStringLiteral("STOPPED"));
        stopTimers();
    }
    Q_EMIT runningChanged(run);
}

void QueueService::noteQueueFolder(const QString &folder)
{
    const bool missing = !QFileInfo(folder).isDir();
    const QString shown = QDir::toNativeSeparators(folder);
    if (missing) {
        if (!m_stopRequested)
            setStatusText(QStringLiteral("QUEUE FOLDER MISSING: %1").arg(shown));
        if (!m_queueFolderMissing)
            LogLine(QStringLiteral("The queue folder %1 is missing: no order is picked up until it is back").arg(shown));
    } else if (m_queueFolderMissing) {
        if (!m_stopRequested)
            setStatusText(QStringLiteral("RUNNING .."));
        LogLine(QStringLiteral("The queue folder %1 is back").arg(shown));
    }
    m_queueFolderMissing = missing;
}

void QueueService::requestShutdown()
{
    const bool wasRunning = running();
    m_shutdownRequested = true;
    m_stopRequested = true;
    stopTimers();
    setStatusText(QStringLiteral("STOPPED"));
    if (wasRunning)
        Q_EMIT runningChanged(false);
    finishShutdownIfIdle();
}

void QueueService::finishShutdownIfIdle()
{
    if (!m_shutdownRequested || m_finished || m_passRunning || m_scanBusy)
        return;
    m_finished = true;
    releaseClaim();
    m_server.reset(); // closes the connection: nothing converts any more
    m_queueLock.reset();
    Q_EMIT finished(queuedFileCount());
}

QString QueueService::runPassNow()
{
    if (m_stopRequested)
        return QStringLiteral("Processing is stopped; start it first.");
    if (m_scanBusy || m_passRunning) {
        m_kickPending = true;
        return {};
    }
    if (m_kick)
        m_kick->start(0);
    return {};
}

void QueueService::checkDatabase()
{
    if (!m_server)
        return;
    const QString problem = m_server->ping();
    if (problem == m_databaseProblem)
        return;
    const int waiting = m_queue.rowCount();
    if (!problem.isEmpty())
        LogLine(QStringLiteral("The database does not answer; %1 queued order(s) wait until it does: %2")
                    .arg(waiting)
                    .arg(problem),
                LogPriority::Error);
    else
        LogLine(QStringLiteral("The database answers again; %1 queued order(s) are taken up").arg(waiting));
    m_databaseProblem = problem;
}

int QueueService::queuedFileCount() const
{
    return int(QDir(queueFolder()).entryList({QStringLiteral("*.ord")}, QDir::Files | QDir::System | QDir::Hidden).size());
}
