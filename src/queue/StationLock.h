#pragma once

#include <QString>

// One station per folder on this machine: an advisory lock (flock) on a lock file in the folder,
// held for the life of the process. The kernel drops it when the process ends in any way, so a
// crash never blocks the next start; the file itself may stay. The holder writes who it is into
// the file (process, host, since when), so a second station can say who holds the folder. The
// program folder has one ("rfstation.lock"), and so has the queue folder (".rfstation.lock"),
// which a second program folder may reach through a link.
class StationLock
{
public:
    StationLock() = default;
    ~StationLock();
    StationLock(const StationLock &) = delete;
    StationLock &operator=(const StationLock &) = delete;

    enum class Result { Taken, HeldByAnother, Failed };
    // Locks `folder`/`lockFile`. *message: for HeldByAnother the text naming the holder, for
    // Failed the reason; `what` names the folder in them ("program folder", "queue folder").
    Result take(const QString &folder, const QString &lockFile, const QString &what, QString *message);

private:
    int m_fd = -1;
};
