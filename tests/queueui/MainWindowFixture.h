#pragma once

#include "queue/QueueServiceFixture.h"
#include "queueui/frmTerminalMain.h"

#include <QTimer>

// The main window over a queue service on a throw-away demo suite; message boxes are shown (and
// answered by MessageAnswerer).
class MainWindowTest : public QueueServiceTest
{
protected:
    void SetUp() override;
    void TearDown() override;
    void startService() override;

    std::unique_ptr<frmTerminalMain> window;
};

// Answers every message box with Yes or OK as soon as it shows, and keeps the last text.
class MessageAnswerer
{
public:
    MessageAnswerer();
    QString lastMessage() const { return m_lastMessage; }

private:
    QTimer m_timer; // a timer is not activated again while its own handler runs
    QString m_lastMessage;
};
