#include "queue/QueueIdentity.h"

#include <QDir>
#include <QFile>
#include <QUuid>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace QueueIdentity {

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The id in the file; "" when the file is missing, *error set when it is there but unreadable.
QString readId(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the queue folder's identity file %1 cannot be read: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return {};
    }
    const QString id = QString::fromLatin1(file.read(100)).trimmed();
    if (QUuid::fromString(id).isNull()) {
        *error = QStringLiteral("the queue folder's identity file %1 is damaged; remove it only when no other "
                                "station works on this queue")
                     .arg(QDir::toNativeSeparators(path));
        return {};
    }
    return id;
}

} // namespace

QString of(const QString &queueFolder, QString *error)
{
    const QString path = QDir(queueFolder).filePath(FileName);
    QString id = readId(path, error);
    if (!id.isEmpty() || !error->isEmpty())
        return id;

    // Written whole under a name of its own, then linked to the real name, which fails when
    // another station was first: its id is the folder's then.
    const QString fresh = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString temporary = QDir(queueFolder).filePath(
        QStringLiteral(".rfqueue.%1.%2").arg(qint64(::getpid())).arg(fresh.left(8)));
    const QByteArray tempName = QFile::encodeName(temporary);
    const QByteArray content = fresh.toLatin1() + '\n';
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = QStringLiteral("the queue folder %1 cannot take its identity file: %2")
                     .arg(QDir::toNativeSeparators(queueFolder), systemError(errno));
        return {};
    }
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size() && ::fsync(fd) == 0;
    const int writeError = errno;
    ::close(fd);
    const int linked = written ? ::link(tempName.constData(), QFile::encodeName(path).constData()) : -1;
    const int linkError = errno;
    ::unlink(tempName.constData());
    if (!written) {
        *error = QStringLiteral("the queue folder's identity file cannot be written: %1").arg(systemError(writeError));
        return {};
    }
    if (linked == 0)
        return fresh;
    if (linkError == EEXIST)
        return readId(path, error);
    // A file system without hard links: made exclusively under its real name instead (a station
    // starting in the same instant may then find it still empty and say so).
    const int direct = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (direct < 0) {
        if (errno == EEXIST)
            return readId(path, error);
        *error = QStringLiteral("the queue folder's identity file %1 cannot be made: %2")
                     .arg(QDir::toNativeSeparators(path), systemError(errno));
        return {};
    }
    const bool done = ::write(direct, content.constData(), size_t(content.size())) == content.size() && ::fsync(direct) == 0;
    ::close(direct);
    if (!done) {
        *error = QStringLiteral("the queue folder's identity file cannot be written: %1").arg(systemError(errno));
        return {};
    }
    return fresh;
}

} // namespace QueueIdentity
