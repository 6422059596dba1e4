#include "QueueWindowFixture.h"

#include "Module1.h"
#include "SpreadGrid.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

void QueueWindowTest::SetUp()
{
    suite = std::make_unique<TempSuite>(TempSuite::Data::Demo);
    gProgramDir = suite->programDir();
    gHeadless = false;
    window = std::make_unique<frmTerminalMain>();
    ASSERT_EQ(window->Form_Load(), 0);
    // Only the tests run the handlers.
    for (QTimer *timer : {window->Timer1, window->Timer2}) {
        timer->stop();
        timer->setInterval(24 * 3600 * 1000);
    }
}

void QueueWindowTest::TearDown()
{
    window.reset();
    gStopRequested = false;
    gScanBusy = false;
    gHeadless = false;
}

void QueueWindowTest::writeQueueFile(const QString &name, const QByteArray &content)
{
    suite->writeFile(QStringLiteral("admodule/OrdQueue/") + name, content);
}

void QueueWindowTest::dropOrder(const QString &name, const QStringList &lines, const QString &custNo)
{
    const QString base = name.left(name.size() - 4);
    if (!custNo.isNull())
        writeQueueFile(base + "info.crd",
                       ("[Customer]\r\nNumber=" + custNo + "\r\nName=Customer " + custNo + "\r\n").toLatin1());
    writeQueueFile(name, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
}

QString QueueWindowTest::queueText(int col, int row) const { return window->fQue->text(col, row); }
int QueueWindowTest::queueRows() const { return window->fQue->maxRows(); }
QString QueueWindowTest::doneText(int col, int row) const { return window->fDone->text(col, row); }
int QueueWindowTest::doneRows() const { return window->fDone->maxRows(); }

QStringList QueueWindowTest::queueFiles() const
{
    return QDir(suite->queueDir()).entryList(QDir::Files, QDir::Name);
}

QStringList QueueWindowTest::archiveFiles() const
{
    return QDir(suite->archiveDir()).entryList(QDir::Files, QDir::Name);
}

MessageBoxAnswerer::MessageBoxAnswerer()
    : m_timer(new QTimer), m_shown(std::make_shared<int>(0)), m_lastText(std::make_shared<QString>())
{
    m_timer->setInterval(0);
    QObject::connect(m_timer, &QTimer::timeout, [shown = m_shown, text = m_lastText] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++*shown;
        *text = box->text();
        QAbstractButton *yes = box->button(QMessageBox::Yes);
        (yes ? yes : box->button(QMessageBox::Ok))->click();
    });
    m_timer->start();
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    delete m_timer;
}

DuringConversion::DuringConversion(frmTerminalMain *window, int terminalIndex, std::function<void()> action)
{
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this, window, terminalIndex, action] {
        if (m_done || !window->passRunning() || window->fGrid[terminalIndex]->maxRows() == 0)
            return;
        m_done = true;
        action();
    });
    m_timer.start();
}
