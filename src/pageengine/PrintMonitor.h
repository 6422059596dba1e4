#pragma once

#include <QString>

struct PrintResult;

// What a print job is: the document's name, the printer and where that prints (a CUPS queue's
// device, the "PDF" printer's folder), and the document's pages it sends.
struct PrintJobInfo
{
    QString document;
    QString printer;
    QString port;
    int firstPage = 1;
    int lastPage = 1;
};

// Follows one print job page by page and may cancel it: the page engine's progress window.
// PagePrinter calls jobStarted once, nextPage before each page it lays out, and jobFinished
// once with the outcome, on the thread that prints.
class PrintMonitor
{
public:
    virtual ~PrintMonitor() = default;
    virtual void jobStarted(const PrintJobInfo &job) = 0;
    // Page `page` (the document's number) comes next. False cancels the job: nothing of it
    // prints, and the result says cancelled.
    virtual bool nextPage(int page) = 0;
    virtual void jobFinished(const PrintResult &result) = 0;
};
