#pragma once

#include "queue/QueueFiles.h"

#include <QString>

// An order's info file: the customer it names ([Customer] Number and Name, read as the suite
// reads settings: at most 254 characters each). It is read with the order file's care and bounds:
// a FIFO, a device or a link to one is refused, and so is a file over the order file's size limit.
struct InfoFileContent
{
    QString customerNo;
    QString customerName;
    QString refusal;      // not empty: not read, and why (for the operator)
    bool changed = false; // written while it was read: try again later
};

InfoFileContent ReadInfoFile(const QString &path, const FileStamp &listed = {});
