#include "queue/InfoFile.h"

#include "queue/OrderFile.h"
#include "queue/QueuedFileRead.h"
#include "runtime/PrivateProfile.h"

InfoFileContent ReadInfoFile(const QString &path, const FileStamp &listed)
{
    InfoFileContent result;
    const QueuedFileRead read = ReadQueuedFile(path, QStringLiteral("info file"), MaxOrderFileBytes, listed);
    result.refusal = read.refusal;
    result.changed = read.changed;
    if (!read.refusal.isEmpty() || read.changed)
        return result;
    const QString section = QStringLiteral("Customer");
    result.customerNo = PrivateProfile::readStringFrom(section, QStringLiteral("Number"), {}, read.content);
    result.customerName = PrivateProfile::readStringFrom(section, QStringLiteral("Name"), {}, read.content);
    return result;
}
