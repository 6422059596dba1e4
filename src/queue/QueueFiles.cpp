#include "queue/QueueFiles.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString OrderBaseName(const QString &orderFileName)
{
    return orderFileName.left(qMax<qsizetype>(0, orderFileName.size() - 4));
}

QString InfoFileName(const QString &orderFileName)
{
    return OrderBaseName(orderFileName) + QStringLiteral("info.crd");
}

QString TerminalOfOrderFile(const QString &orderFileName)
{
    const qsizetype t = orderFileName.indexOf(QLatin1Char('T'));
    return t < 0 ? QString() : orderFileName.mid(t + 1, 1);
}

FileStamp FileStamp::of(const QFileInfo &info)
{
    if (!info.exists() || !info.isFile())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

QString FreeStem(const QString &folder, const QString &stem, const QStringList &suffixes)
{
    const QDir dir(folder);
    for (int n = 1;; ++n) {
        const QString candidate = n == 1 ? stem : QStringLiteral("%1(%2)").arg(stem).arg(n);
        bool free = true;
        for (const QString &suffix : suffixes)
            free = free && !QFileInfo::exists(dir.filePath(candidate + suffix));
        if (free)
            return candidate;
    }
}

QString StemAwaitingOrder(const QString &folder, const QString &stem)
{
    const QDir dir(folder);
    for (int n = 1;; ++n) {
        const QString candidate = n == 1 ? stem : QStringLiteral("%1(%2)").arg(stem).arg(n);
        const bool info = QFileInfo::exists(dir.filePath(candidate + QStringLiteral("info.txt")));
        const bool order = QFileInfo::exists(dir.filePath(candidate + QStringLiteral(".txt")));
        if (info && !order)
            return candidate;
        if (!info && !order)
            return {};
    }
}

bool EnsureFolder(const QString &folder, QString *error)
{
    if (QFileInfo(folder).isDir())
        return true;
    if (QDir().mkpath(folder))
        return true;
    if (error)
        *error = QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder));
    return false;
}

namespace {

int systemRename(const char *from, const char *to)
{
    return ::rename(from, to);
}

long systemWrite(int fd, const void *data, unsigned long size)
{
    return long(::write(fd, data, size));
}

FileMoveCalls moveCalls{systemRename, systemWrite};

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Closes a descriptor when the scope ends.
struct Fd
{
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int release()
    {
        const int result = fd;
        fd = -1;
        return result;
    }
};

// Copies `from` to `to` through a temporary file beside `to`; "" or the reason it failed (then
// nothing of the copy is left).
QString copyComplete(const QByteArray &from, const QByteArray &to)
{
    Fd source{::open(from.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
    if (source.fd < 0)
        return systemError(errno);
    struct stat sourceStat = {};
    if (::fstat(source.fd, &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode))
        return QStringLiteral("not a regular file");

    const QFileInfo target(QFile::decodeName(to));
    const QByteArray part = QFile::encodeName(target.dir().filePath(QLatin1Char('.') + target.fileName()
                                                                      + QStringLiteral(".part")));
    ::unlink(part.constData()); // left by an earlier copy that was cut off
    Fd copy{::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)};
    if (copy.fd < 0)
        return systemError(errno);
    QString failure;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(source.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            failure = systemError(errno);
            break;
        }
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got && failure.isEmpty();) {
            const long put = moveCalls.write(copy.fd, buffer + done, (unsigned long)(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                failure = put < 0 ? systemError(errno) : QStringLiteral("nothing could be written");
            else
                done += put;
        }
        if (!failure.isEmpty())
            break;
    }
    struct stat copyStat = {};
    if (failure.isEmpty() && ::fsync(copy.fd) != 0)
        failure = systemError(errno);
    if (failure.isEmpty() && ::fstat(copy.fd, &copyStat) != 0)
        failure = systemError(errno);
    if (failure.isEmpty() && copyStat.st_size != sourceStat.st_size)
        failure = QStringLiteral("the copy holds %1 of %2 bytes").arg(copyStat.st_size).arg(sourceStat.st_size);
    // A network file system may report a full disk only when the file is closed.
    if (::close(copy.release()) != 0 && failure.isEmpty())
        failure = systemError(errno);
    if (failure.isEmpty() && ::rename(part.constData(), to.constData()) != 0)
        failure = systemError(errno);
    if (!failure.isEmpty())
        ::unlink(part.constData());
    return failure;
}

} // namespace

void SetFileMoveCalls(const FileMoveCalls &calls)
{
    moveCalls.rename = calls.rename ? calls.rename : systemRename;
    moveCalls.write = calls.write ? calls.write : systemWrite;
}

bool MoveFileTo(const QString &from, const QString &to, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("cannot move %1 to %2: %3")
                         .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to), reason);
        return false;
    };
    const QFileInfo source(from);
    if (!source.exists() && !source.isSymLink()) {
        if (error)
            *error = QStringLiteral("%1 does not exist").arg(QDir::toNativeSeparators(from));
        return false;
    }
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink()) {
        if (error)
            *error = QStringLiteral("%1 exists already").arg(QDir::toNativeSeparators(to));
        return false;
    }
    const QByteArray fromName = QFile::encodeName(from);
    const QByteArray toName = QFile::encodeName(to);
    if (moveCalls.rename(fromName.constData(), toName.constData()) == 0)
        return true;
    if (errno != EXDEV)
        return fail(systemError(errno));

    // Another file system: the original goes only once its copy is complete.
    const QString copyFailure = copyComplete(fromName, toName);
    if (!copyFailure.isEmpty())
        return fail(copyFailure);
    if (::unlink(fromName.constData()) != 0) {
        const int code = errno;
        // Both would be there: the archived copy goes, the order stays queued as it was.
        ::unlink(toName.constData());
        return fail(systemError(code));
    }
    return true;
}
