#pragma once

#include "TempSuite.h"
#include "frmTerminalMain.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A main window started on a throw-away suite with demo data. Its timers never fire on their own
// (the tests call the handlers); what a timer would do is Timer1_Timer() / Timer2_Timer().
class QueueWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the info file (unless `custNo` is null) and then the order file into the queue
    // folder; `lines` are joined with CR LF.
    void dropOrder(const QString &name, const QStringList &lines, const QString &custNo = QStringLiteral("C1001"));
    void writeQueueFile(const QString &name, const QByteArray &content);
    void scan() { window->Timer1_Timer(); }
    void pass() { window->Timer2_Timer(); }

    QString queueText(int col, int row) const;
    int queueRows() const;
    QString doneText(int col, int row) const;
    int doneRows() const;
    QStringList queueFiles() const;
    QStringList archiveFiles() const;
    int orderCount() const { return suite->count(QStringLiteral("SELECT * FROM so")); }

    std::unique_ptr<TempSuite> suite;
    std::unique_ptr<frmTerminalMain> window;
};

// Closes every message box that opens while it lives, answering Yes where it can, and counts them.
class MessageBoxAnswerer
{
public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    int shown() const { return *m_shown; }
    QString lastText() const { return *m_lastText; }

private:
    class QTimer *m_timer;
    std::shared_ptr<int> m_shown;
    std::shared_ptr<QString> m_lastText;
};

// Runs `action` once, at the first point inside a conversion where window events run (the
// terminal page has a line), as a button click or a timer would arrive there.
class DuringConversion
{
public:
    DuringConversion(frmTerminalMain *window, int terminalIndex, std::function<void()> action);
    bool happened() const { return m_done; }

private:
    QTimer m_timer;
    bool m_done = false;
};
