#pragma once

#include "queue/QueueFiles.h"

#include <QString>

// One order file waiting in the queue: a row of the queue list.
struct QueuedOrder
{
    QString terminal;     // "Terminal": the character after the name's first upper-case "T"
    QString orderFile;    // "Order To Process": the file's name as found in the queue folder
    QString customerNo;   // "Customer #": [Customer] Number of the info file
    QString customerName; // "Customer Name": [Customer] Name of the info file
    QString printQty;     // "Print?": the print quantity when the order was listed, "" for none
    QString status;       // "Status": why the last attempt failed, or what the order waits for
    FileStamp infoRead;   // the info file as it was when the customer columns were read
    QString infoProblem;  // why the info file could not be read, "" when it could

    // The key that lists a file once: its name without regard to letter case.
    QString key() const { return orderFile.toUpper(); }
};

// One order saved by this run: a row of the done list.
struct DoneOrder
{
    QString terminal;
    QString orderFile;
    QString soNo;         // the new sales order's number
    QString customerNo;
    QString customerName;
    QString printQty;     // the queue row's "Print?"
    QString printStatus;  // "Print Status": "Processed", notes and problems, "; "-separated

    // "Saved Order": A1T2B.ord ( SO001005 )
    QString savedOrder() const { return orderFile + QStringLiteral(" ( ") + soNo + QStringLiteral(" )"); }
};
