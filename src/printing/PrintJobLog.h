#pragma once

#include "pageengine/PrintMonitor.h"

class PageEngine;

// Sets the engine up so that its print jobs are watched: caption "Printing ...", "Now printing
// page %d", "on the %s on %s", "Cancel", the window out of the way in the lower right corner.
// Who watches is the monitor the program installed: the progress window where a person sits,
// else the log (InstallPrintJobLog).
void WatchPrintJobs(PageEngine &engine);

// Has every watched print job logged in one line (printed pages, or why it failed): the
// progress of a station without windows.
void InstallPrintJobLog();

// That line's monitor.
class PrintJobLog : public PrintMonitor
{
public:
    void jobStarted(const PrintJobInfo &job) override { mJob = job; }
    bool nextPage(int) override { return true; }
    void jobFinished(const PrintResult &result) override;

private:
    PrintJobInfo mJob;
};
