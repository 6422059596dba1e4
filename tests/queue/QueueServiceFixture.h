#pragma once

#include "queue/QueueService.h"
#include "support/TempSuite.h"

#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A queue service started on a throw-away demo suite. Its timers never fire on their own and the
// queue folder's changes start nothing: the tests call Timer1_Timer() / Timer2_Timer().
class QueueServiceTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // A new service on the same suite: the program restarted.
    virtual void startService();

    // Info file first (none when `custNo` is null), then the order file; lines end in CR LF.
    void dropOrder(const QString &name, const QStringList &lines, const QString &custNo = QStringLiteral("C1001"));
    void scanAndPass()
    {
        service->Timer1_Timer();
        service->Timer2_Timer();
    }
    // Cells of the queue and done lists, numbered from 1 as the window's grids show them.
    QString que(int col, int row) const;
    QString done(int col, int row) const;
    int queRows() const;
    QStringList files(const QString &folder) const; // below the program folder
    int orders() const { return suite->count(QStringLiteral("SELECT * FROM so")); }

    // What a terminal's page (1 to 6) is told: the last order converted for it.
    struct TerminalPage
    {
        QString invNo; // the saved order's number, "**ERROR**" when the save failed
        QString billToName;
        Currency total;
        QList<DraftLine> lines;
    };
    const TerminalPage &page(int terminal) const { return m_pages.at(terminal - 1); }

    std::unique_ptr<TempSuite> suite;
    std::unique_ptr<QueueService> service;

private:
    std::array<TerminalPage, QueueService::TerminalCount> m_pages;
};

// Runs `action` once at the first event point inside a conversion for `terminal` (1 to 6): right
// after its first line is priced, where a click or a timer would arrive.
class DuringConversion
{
public:
    DuringConversion(QueueService *service, int terminal, std::function<void()> action);
    bool happened() const { return m_done; }

private:
    QTimer m_timer;
    bool m_armed = false;
    bool m_done = false;
};
