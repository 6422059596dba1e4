#include "queue/QueueWindowFixture.h"

#include "module1/Module1.h"
#include "widgets/MessageBoxes.h"
#include "widgets/SpreadGrid.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

void QueueWindowTest::SetUp()
{
    suite = std::make_unique<TempSuite>(TempSuite::Data::Demo);
    gProgramDir = suite->programDir();
    InstallMessageBoxes();
    startWindow();
}

void QueueWindowTest::startWindow()
{
    window.reset();
    window = std::make_unique<frmTerminalMain>();
    ASSERT_EQ(window->Form_Load(), 0);
    window->setImmediatePickup(false);
    for (QTimer *timer : {window->Timer1, window->Timer2}) {
        timer->stop();
        timer->setInterval(24 * 3600 * 1000);
    }
}

void QueueWindowTest::TearDown()
{
    window.reset();
    gStopRequested = false;
    SetMessagePresenter(nullptr);
}

void QueueWindowTest::dropOrder(const QString &name, const QStringList &lines, const QString &custNo)
{
    const QString queue = QStringLiteral("admodule/OrdQueue/");
    if (!custNo.isNull())
        suite->writeFile(queue + name.chopped(4) + "info.crd",
                         ("[Customer]\r\nNumber=" + custNo + "\r\nName=Customer " + custNo + "\r\n").toLatin1());
    suite->writeFile(queue + name, lines.isEmpty() ? QByteArray() : (lines.join("\r\n") + "\r\n").toLatin1());
}

QString QueueWindowTest::que(int col, int row) const { return window->fQue->text(col, row); }
QString QueueWindowTest::done(int col, int row) const { return window->fDone->text(col, row); }
int QueueWindowTest::queRows() const { return window->fQue->maxRows(); }

QStringList QueueWindowTest::files(const QString &folder) const
{
    return QDir(suite->programDir() + "/" + folder).entryList(QDir::Files, QDir::Name);
}

DuringConversion::DuringConversion(frmTerminalMain *window, int terminalIndex, std::function<void()> action)
{
    m_answerer.setInterval(0);
    QObject::connect(&m_answerer, &QTimer::timeout, [this] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            m_lastMessage = box->text();
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        }
    });
    m_answerer.start();
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this, window, terminalIndex, action = std::move(action)] {
        if (m_done || !window->passRunning() || window->fGrid[terminalIndex]->maxRows() == 0)
            return;
        m_done = true;
        action();
    });
    m_timer.start();
}
