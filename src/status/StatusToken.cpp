#include "status/StatusToken.h"

#include "module1/Module1.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype MinimumLength = 16;
constexpr qsizetype MaximumLength = 512;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// 32 random bytes from the system's source, as 43 URL-safe characters.
QByteArray newSecret()
{
    QByteArray bytes(32, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

bool usable(const QByteArray &secret)
{
    if (secret.size() < MinimumLength || secret.size() > MaximumLength)
        return false;
    for (const char c : secret) {
        if (c <= ' ' || c > '~')
            return false;
    }
    return true;
}

// Writes a new token into `path` through a private work file renamed into place; the file is
// created 0600 whatever the umask says. "" or why not.
QString writeNewToken(const QString &path, const QByteArray &secret)
{
    const QByteArray work = QFile::encodeName(path + QStringLiteral(".new"));
    ::unlink(work.constData()); // a work file left by a crash
    const int fd = ::open(work.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return systemError();
    const QByteArray content = secret + '\n';
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size()
                      && ::fchmod(fd, 0600) == 0 && ::fsync(fd) == 0;
    const QString writeError = written ? QString() : systemError();
    ::close(fd);
    if (!written || ::rename(work.constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = written ? systemError() : writeError;
        ::unlink(work.constData());
        return reason;
    }
    return {};
}

} // namespace

std::optional<StatusToken> StatusToken::loadOrCreate(const QString &programDir, QString *error)
{
    const QString path = QDir(programDir).filePath(QString::fromLatin1(FileName));
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("The status page's token file %1: %2").arg(QDir::toNativeSeparators(path), reason);
        return std::nullopt;
    };
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno != ENOENT)
        return fail(systemError());
    QByteArray secret;
    if (fd >= 0) {
        struct stat st = {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return fail(QStringLiteral("not a plain file"));
        }
        if ((st.st_mode & 077) != 0) {
            if (::fchmod(fd, 0600) != 0) {
                const QString reason = systemError();
                ::close(fd);
                return fail(QStringLiteral("others may read it and it cannot be made private: ") + reason);
            }
            LogLine(QStringLiteral("The status page's token file %1 could be read by others; it is private now. "
                                   "Replace the token: delete the file and restart the station.")
                        .arg(QDir::toNativeSeparators(path)),
                    LogPriority::Warning);
        }
        QByteArray content(MaximumLength + 2, Qt::Uninitialized);
        const ssize_t got = ::read(fd, content.data(), size_t(content.size()));
        ::close(fd);
        if (got < 0)
            return fail(systemError());
        content.truncate(got);
        secret = content.trimmed();
        if (!secret.isEmpty() && !usable(secret))
            return fail(QStringLiteral("it holds no usable token (at least 16 visible characters); delete it and "
                                       "restart the station to have a new one made"));
    }
    if (secret.isEmpty()) {
        secret = newSecret();
        if (const QString reason = writeNewToken(path, secret); !reason.isEmpty())
            return fail(QStringLiteral("cannot be written: ") + reason);
        LogLine(QStringLiteral("The status page's token was made in %1 (readable only by this user).")
                    .arg(QDir::toNativeSeparators(path)));
    }
    return StatusToken(secret);
}

QByteArray StatusToken::hash(const QByteArray &value)
{
    return QCryptographicHash::hash(value, QCryptographicHash::Sha256);
}

bool StatusToken::matches(const QByteArray &offered) const
{
    const QByteArray offeredHash = hash(offered);
    unsigned char difference = 0;
    for (qsizetype i = 0; i < m_secretHash.size(); ++i)
        difference |= static_cast<unsigned char>(m_secretHash[i] ^ offeredHash[i]);
    return !offered.isEmpty() && difference == 0;
}

QByteArray StatusToken::fromAuthorization(const QByteArray &header)
{
    const QByteArray value = header.trimmed();
    const qsizetype space = value.indexOf(' ');
    if (space <= 0 || value.left(space).toLower() != "bearer")
        return {};
    return value.mid(space + 1).trimmed();
}
