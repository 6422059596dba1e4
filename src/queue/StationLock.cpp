#include "queue/StationLock.h"

#include "module1/StationContext.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

StationLock::~StationLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

StationLock::Result StationLock::take(const QString &folder, const QString &lockFile, const QString &what,
                                      QString *message)
{
    const QString path = QDir(folder).filePath(lockFile);
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        *message = QStringLiteral("Cannot open the lock file %1: %2")
                       .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno)));
        return Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        char buffer[256] = {};
        const ssize_t got = ::pread(fd, buffer, sizeof buffer - 1, 0);
        ::close(fd);
        if (code != EWOULDBLOCK) {
            *message = QStringLiteral("Cannot lock %1: %2")
                           .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(code)));
            return Result::Failed;
        }
        const QString holder = QString::fromUtf8(buffer, got > 0 ? got : 0).trimmed();
        *message = QStringLiteral("Another station is running on the %1 %2 (process %3); only one station may "
                                  "work on one queue. Stop it first.")
                       .arg(what, QDir::toNativeSeparators(folder),
                            holder.isEmpty() ? QStringLiteral("unknown") : holder);
        return Result::HeldByAnother;
    }
    // Should these fail the lock holds all the same; a second station's message lacks the holder.
    const QByteArray holder = QStringLiteral("%1 on %2 since %3")
                                  .arg(qint64(::getpid()))
                                  .arg(StationHostName(),
                                       QDateTime::currentDateTime().toString(Qt::ISODate))
                                  .toUtf8()
                              + '\n';
    [[maybe_unused]] const int truncated = ::ftruncate(fd, 0);
    [[maybe_unused]] const ssize_t written = ::pwrite(fd, holder.constData(), size_t(holder.size()), 0);
    m_fd = fd;
    return Result::Taken;
}
