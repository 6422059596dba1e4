#include "queue/QueuedFileRead.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "a FIFO", "a link to a device": what a path is when it is not a plain file.
QString kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    return QStringLiteral("not a plain file");
}

QString notPlain(const QString &file, const QString &kind)
{
    return QStringLiteral("Error: the %1 is %2, not a plain file; it is not read").arg(file, kind);
}

QString systemError(const char *what, const QString &file, const QString &path, int error)
{
    return QStringLiteral("Cannot %1 the %2 %3: %4")
        .arg(QLatin1String(what), file, QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error)));
}

// Size and time as the queue listing takes them (milliseconds, truncated).
FileStamp stampOf(const struct stat &st)
{
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000};
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

QueuedFileRead ReadQueuedFile(const QString &path, const QString &what, qint64 maxBytes, const FileStamp &listed)
{
    QueuedFileRead result;
    const QByteArray name = QFile::encodeName(path);

    // Look before opening: opening a FIFO waits for a writer, a device may never end.
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) {
        result.refusal = systemError("open", what, path, errno);
        return result;
    }
    if (S_ISLNK(st.st_mode)) {
        if (::stat(name.constData(), &st) != 0) {
            result.refusal = systemError("open", what, path, errno);
            return result;
        }
        if (!S_ISREG(st.st_mode)) {
            result.refusal = notPlain(what, QStringLiteral("a link to ") + kindOf(st.st_mode));
            return result;
        }
    } else if (!S_ISREG(st.st_mode)) {
        result.refusal = notPlain(what, kindOf(st.st_mode));
        return result;
    }

    // It may have been replaced since: O_NONBLOCK keeps the open from waiting, fstat says what
    // was opened.
    const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        result.refusal = systemError("open", what, path, errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.refusal = notPlain(what, kindOf(st.st_mode));
        return result;
    }
    if (st.st_size > maxBytes) {
        result.refusal = QStringLiteral("Error: the %1 is %2 bytes, more than an %1 may hold (%3)")
                             .arg(what)
                             .arg(qint64(st.st_size))
                             .arg(maxBytes);
        return result;
    }
    const FileStamp before = stampOf(st);
    if (listed.exists() && before != listed) {
        result.changed = true;
        return result;
    }

    // One byte more than the size: a writer still appending shows as a longer read.
    QByteArray content(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < content.size()) {
        const ssize_t n = ::read(fd.get(), content.data() + got, size_t(content.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.refusal = systemError("read", what, path, errno);
            return result;
        }
        if (n == 0)
            break;
        got += n;
    }
    content.truncate(got);
    if (got != st.st_size || ::fstat(fd.get(), &st) != 0 || stampOf(st) != before) {
        result.changed = true;
        return result;
    }
    result.content = content;
    return result;
}
