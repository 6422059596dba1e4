#pragma once

#include <QString>

// One station per program folder: an advisory lock (flock) on <program folder>/rfstation.lock,
// held for the life of the process. The kernel drops it when the process ends in any way, so a
// crash never blocks the next start; the file itself may stay. The holder writes its process id
// into the file, so a second station can say who holds the folder.
class StationLock
{
public:
    StationLock() = default;
    ~StationLock();
    StationLock(const StationLock &) = delete;
    StationLock &operator=(const StationLock &) = delete;

    enum class Result { Taken, HeldByAnother, Failed };
    // *message: for HeldByAnother the text naming the holding process, for Failed the reason.
    Result take(const QString &programDir, QString *message);

    static QString fileName() { return QStringLiteral("rfstation.lock"); }

private:
    int m_fd = -1;
};
