#pragma once

#include "pageengine/PrintMonitor.h"

#include <QList>
#include <QPair>
#include <QPointer>
#include <QWidget>

class PageEngine;
class QLabel;
class QPushButton;

// The progress window of a print job, shown while the page engine's AbortWindow is True: the
// engine's AbortCaption as its title, AbortTextPage ("Now printing page %d") with the page,
// AbortTextDevice ("on the %s on %s") with the printer and its port, and a button
// (AbortTextButton, "Cancel") that cancels the job: nothing of it prints, so nothing is marked
// printed. Closing the window cancels too.
//
// Automatic printing must not get in the operator's way: the window shows without activating and
// never takes the focus. While a job prints the window's own events are handled between pages;
// the program's other windows take no mouse or key input, and their timers wait until the job has
// ended, so nothing else can start on the engine in the middle of a job.
class PrintProgress : public QWidget, public PrintMonitor
{
    Q_OBJECT
public:
    explicit PrintProgress(const PageEngine &engine);
    ~PrintProgress() override;

    // Has the page engine watch every print job with a new PrintProgress window (without a
    // widget application each job is logged in one line instead).
    static void install();

    void jobStarted(const PrintJobInfo &job) override;
    bool nextPage(int page) override;
    void jobFinished(const PrintResult &result) override;

    bool cancelled() const { return mCancelled; }

    QLabel *lblPage;
    QLabel *lblDevice;
    QPushButton *cmdCancel;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOwn(QObject *object) const;
    void place();
    void holdOthers(bool hold);

    QString mPageText;
    QString mDeviceText;
    int mWindowPos = 0;
    bool mCancelled = false;
    bool mHolding = false;
    // Timer events of other objects that fell due during the job, delivered when it ends.
    QList<QPair<QPointer<QObject>, int>> mHeldTimers;
};
