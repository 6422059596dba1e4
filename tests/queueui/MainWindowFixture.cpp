#include "queueui/MainWindowFixture.h"

#include "module1/Module1.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

void MainWindowTest::SetUp()
{
    InstallMessageBoxes();
    QueueServiceTest::SetUp();
}

void MainWindowTest::startService()
{
    window.reset();
    QueueServiceTest::startService();
    window = std::make_unique<frmTerminalMain>(*service);
}

void MainWindowTest::TearDown()
{
    window.reset();
    QueueServiceTest::TearDown();
    SetMessagePresenter(nullptr);
}

MessageAnswerer::MessageAnswerer()
{
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            m_lastMessage = box->text();
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        }
    });
    m_timer.start();
}
