// The settings (private-profile) file reader and writer, on files of any content: reading never
// fails, and a value written reads back while every other key reads as before.

#include "runtime/PrivateProfile.h"

#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace {

const char *const Sections[] = {"Access", "access ", "Customer", "AutoSoPrint", "Queue", "Fuzz"};
const char *const Keys[] = {"DBName", "dbtype", "Number", "List", "SettleSeconds", "Key"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QStringLiteral("/tmp/rfstation-fuzz-%1.ini").arg(::getpid());
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    QStringList before;
    for (const char *section : Sections)
        for (const char *key : Keys)
            before << PrivateProfile::readString(section, key, "-", path);

    const QString value = QStringLiteral("written value");
    if (PrivateProfile::writeString("Fuzz", "Key", value, path)) {
        if (PrivateProfile::readString("Fuzz", "Key", "-", path) != value)
            __builtin_trap();
        int at = 0;
        for (const char *section : Sections)
            for (const char *key : Keys) {
                const bool written = QString::fromLatin1(section) == "Fuzz" && QString::fromLatin1(key) == "Key";
                if (!written && PrivateProfile::readString(section, key, "-", path) != before[at])
                    __builtin_trap();
                ++at;
            }
    }
    return 0;
}
