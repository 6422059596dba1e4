#pragma once

#include "support/TempSuite.h"
#include "queue/frmTerminalMain.h"

#include <QStringList>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A main window started on a throw-away demo suite. Its timers never fire on their own and the
// queue folder's changes start nothing: the tests call Timer1_Timer() / Timer2_Timer().
class QueueWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // A new main window on the same suite: the program restarted.
    void startWindow();

    // Info file first (none when `custNo` is null), then the order file; lines end in CR LF.
    void dropOrder(const QString &name, const QStringList &lines, const QString &custNo = QStringLiteral("C1001"));
    void scanAndPass() { window->Timer1_Timer(); window->Timer2_Timer(); }
    QString que(int col, int row) const;
    QString done(int col, int row) const;
    int queRows() const;
    QStringList files(const QString &folder) const; // below the program folder
    int orders() const { return suite->count(QStringLiteral("SELECT * FROM so")); }

    std::unique_ptr<TempSuite> suite;
    std::unique_ptr<frmTerminalMain> window;
};

// Runs `action` once at the first event point inside a conversion (the terminal page has a
// line), where a click or a timer would arrive; answers every message box with Yes or OK.
class DuringConversion
{
public:
    DuringConversion(frmTerminalMain *window, int terminalIndex, std::function<void()> action);
    bool happened() const { return m_done; }
    QString lastMessage() const { return m_lastMessage; }

private:
    QTimer m_timer;
    QTimer m_answerer; // a timer is not activated again while its own handler runs
    bool m_done = false;
    QString m_lastMessage;
};
