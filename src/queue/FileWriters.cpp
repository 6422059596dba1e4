#include "queue/FileWriters.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The open files of every process: a descriptor that is this file, opened for writing. Unknown
// when no process's descriptors could be read at all.
FileWriters byOpenFiles(const struct stat &file)
{
    bool sawAny = false;
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : processes) {
        bool numeric = false;
        pid.toInt(&numeric);
        if (!numeric)
            continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        const QStringList entries = fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        if (entries.isEmpty())
            continue;
        sawAny = true;
        for (const QString &fd : entries) {
            struct stat target = {};
            if (::stat(QFile::encodeName(fds.filePath(fd)).constData(), &target) != 0 || target.st_dev != file.st_dev
                || target.st_ino != file.st_ino)
                continue;
            // fdinfo's "flags:" line holds the open flags in octal; the access mode is its low bits.
            QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid, fd));
            if (!info.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &line : info.readAll().split('\n')) {
                if (!line.startsWith("flags:"))
                    continue;
                bool ok = false;
                const int flags = line.mid(6).trimmed().toInt(&ok, 8);
                if (ok && (flags & O_ACCMODE) != O_RDONLY)
                    return FileWriters::Writing;
            }
        }
    }
    return sawAny ? FileWriters::None : FileWriters::Unknown;
}

} // namespace

FileWriters WritersOf(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FileWriters::Unknown;
    struct stat file = {};
    if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) {
        ::close(fd);
        return FileWriters::Unknown;
    }
    // The lease is released at once: a writer opening the file meanwhile waits only that long.
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        ::close(fd);
        return FileWriters::None;
    }
    const int error = errno;
    ::close(fd);
    if (error == EAGAIN)
        return FileWriters::Writing;
    return byOpenFiles(file);
}

void IgnoreLeaseBreaks()
{
    std::signal(SIGIO, SIG_IGN);
}
