#pragma once

#include "queue/QueueFiles.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>

// Decides when a file in the queue folder is complete, so that an order is never read while its
// writer is still at it (a writer may pause for seconds in the middle of a file).
//
// Where the folder reports changes (inotify on a local file system), the events decide: a file
// renamed into its name, or closed after writing, is complete; one written since its last close
// is not. A file the events have said nothing about (it was there before the watch began, it
// lies on a network mount whose changes are not reported, or events were lost) is complete once
// it has not changed for the settle time, counted from its last change: its modification time,
// but never earlier than the last look that still saw it different, so a file server's clock
// cannot make a growing file look old.
//
// Names are matched without regard to case. Times are milliseconds since the epoch.
class FileReadiness
{
public:
    using Clock = std::function<qint64()>;
    explicit FileReadiness(Clock clock = {});

    void setSettleMs(qint64 settleMs) { m_settleMs = settleMs; }
    qint64 settleMs() const { return m_settleMs; }

    // --- what the folder reported
    void written(const QString &name);          // created or modified: a writer has it open
    void closedAfterWrite(const QString &name); // its writer closed it
    void renamedInto(const QString &name);      // renamed into this name: complete
    void removed(const QString &name);          // deleted or renamed away
    void forgetEvents();                        // events were lost: every file settles by time
    // Forgets every file but these (upper-cased names): the folder as a scan found it.
    void retain(const QSet<QString> &names);

    struct Verdict
    {
        bool complete = false;
        qint64 lookAgainAtMs = 0; // incomplete by the settle time: when it may be complete; 0 otherwise
        QString reason;           // why it is not complete
        bool byTime = false;      // complete by the settle time alone: no event said its writer closed it
    };
    // The file as it stands now (`stamp`: its size and modification time).
    Verdict check(const QString &name, const FileStamp &stamp);

private:
    enum class Event { None, Writing, Complete };
    struct Seen
    {
        Event event = Event::None;
        FileStamp stamp;          // as the last look saw it
        qint64 lookedAtMs = -1;   // when that look was
        qint64 changedAfterMs = 0; // the file was seen different after this moment
    };
    Clock m_clock;
    qint64 m_settleMs = 10000;
    QHash<QString, Seen> m_seen; // by upper-cased name
};
