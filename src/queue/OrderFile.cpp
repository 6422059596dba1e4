#include "queue/OrderFile.h"

#include "runtime/VbFormat.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

OrderRecord splitRecord(const QString &record)
{
    OrderRecord result;
    const qsizetype tab = record.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
        result.itemNo = record;
        result.read = OrderRecord::Quantity::NoTab;
        return result;
    }
    result.itemNo = record.left(tab);
    result.quantityText = record.mid(tab + 1);
    const std::optional<double> quantity = vb::parseNumber(result.quantityText);
    result.quantity = quantity.value_or(0.0);
    if (!quantity)
        result.read = OrderRecord::Quantity::NotANumber;
    return result;
}

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

QString notPlain(const QString &kind)
{
    return QStringLiteral("Error: the order file is %1, not a plain file; it is not read").arg(kind);
}

QString systemError(const char *what, const QString &path, int error)
{
    return QStringLiteral("Cannot %1 the order file %2: %3")
        .arg(QLatin1String(what), QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error)));
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

QList<OrderRecord> ParseOrderRecords(const QByteArray &content, qsizetype maxRecords)
{
    QList<OrderRecord> records;
    const QByteArray bom("\xEF\xBB\xBF");
    const bool utf8 = content.startsWith(bom);
    const qsizetype size = content.size();
    qsizetype at = utf8 ? bom.size() : 0;
    while (at < size && (maxRecords < 0 || records.size() <= maxRecords)) {
        QByteArray record;
        if (content[at] == '"') {
            const qsizetype close = content.indexOf('"', at + 1);
            const qsizetype end = close < 0 ? size : close;
            record = content.mid(at + 1, end - at - 1);
            at = end + 1;
            // Whatever follows the closing quote up to the separator is not part of the record.
            while (at < size && content[at] != ',' && !isLineEnd(content[at]))
                ++at;
        } else {
            const qsizetype start = at;
            while (at < size && content[at] != ',' && !isLineEnd(content[at]))
                ++at;
            record = content.mid(start, at - start);
        }
        // One separator: a comma, or a line end (CR LF counts as one).
        if (at < size) {
            if (content[at] == '\r' && at + 1 < size && content[at + 1] == '\n')
                ++at;
            ++at;
        }
        records.append(splitRecord(utf8 ? QString::fromUtf8(record) : QString::fromLatin1(record)));
    }
    return records;
}

QString UnreadQuantityNote(const OrderRecord &record, int recordNo)
{
    // An empty record fails the order on its own.
    if (record.isEmpty())
        return {};
    switch (record.read) {
    case OrderRecord::Quantity::Number:
        return {};
    case OrderRecord::Quantity::NoTab:
        return QStringLiteral("record %1: no TAB, quantity read as 0").arg(recordNo);
    case OrderRecord::Quantity::NotANumber:
        break;
    }
    // Ten thousand digits help nobody in a log line.
    constexpr qsizetype shown = 20;
    const QString text = record.quantityText.size() > shown ? record.quantityText.left(shown) + QStringLiteral("...")
                                                            : record.quantityText;
    return QStringLiteral("record %1: quantity \"%2\" read as 0").arg(recordNo).arg(text);
}

OrderFileContent ReadOrderFile(const QString &path, const FileStamp &listed)
{
    OrderFileContent result;
    const QByteArray name = QFile::encodeName(path);

    // Look before opening: opening a FIFO waits for a writer, a device may never end.
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) {
        result.refusal = systemError("open", path, errno);
        return result;
    }
    if (S_ISLNK(st.st_mode)) {
        if (::stat(name.constData(), &st) != 0) {
            result.refusal = systemError("open", path, errno);
            return result;
        }
        if (!S_ISREG(st.st_mode)) {
            result.refusal = notPlain(QStringLiteral("a link to ") + kindOf(st.st_mode));
            return result;
        }
    } else if (!S_ISREG(st.st_mode)) {
        result.refusal = notPlain(kindOf(st.st_mode));
        return result;
    }

    // It may have been replaced since: O_NONBLOCK keeps the open from waiting, fstat says what
    // was opened.
    const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        result.refusal = systemError("open", path, errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.refusal = notPlain(kindOf(st.st_mode));
        return result;
    }
    if (st.st_size > MaxOrderFileBytes) {
        result.refusal = QStringLiteral("Error: the order file is %1 bytes, more than an order file may hold (%2)")
                             .arg(qint64(st.st_size))
                             .arg(MaxOrderFileBytes);
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
            result.refusal = systemError("read", path, errno);
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

    result.records = ParseOrderRecords(content, MaxOrderRecords);
    result.content = content;
    if (result.records.size() > MaxOrderRecords) {
        result.records.clear();
        result.refusal = QStringLiteral("Error: the order file holds more than %1 records").arg(MaxOrderRecords);
        return result;
    }
    for (qsizetype i = 0; i < result.records.size(); ++i) {
        const OrderRecord &record = result.records[i];
        if (record.itemNo.contains(QChar(0)) || record.quantityText.contains(QChar(0))) {
            result.records.clear();
            result.refusal = QStringLiteral("Error: the order file is damaged: record %1 holds a NUL byte").arg(i + 1);
            return result;
        }
    }
    return result;
}
