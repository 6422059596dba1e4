#pragma once

#include "queue/QueueFiles.h"

#include <QByteArray>
#include <QString>

// A file of the queue folder read whole without ever blocking: only a plain file (or a link to
// one) is opened, and the open never waits for a writer (FIFOs, devices and sockets are refused
// with a reason that names what they are). Files over `maxBytes` are refused before they are read.
struct QueuedFileRead
{
    QByteArray content;
    QString refusal;      // not empty: the file was not read, and why (for the operator)
    bool changed = false; // written since it was listed, or while it was read: try again later
};

// `what` names the file in the texts ("order file", "info file"). `listed` is the file as the
// queue listing saw it; a file that differs from it, or changes while it is read, is `changed`.
// An unknown stamp (no file) skips the comparison with the listing.
QueuedFileRead ReadQueuedFile(const QString &path, const QString &what, qint64 maxBytes,
                              const FileStamp &listed = {});
