#include "runtime/SharedRoutines.h"

#include "runtime/PrivateProfile.h"
#include "runtime/VbFormat.h"

#include <QDir>

QString ReadIniValue(const QString &section, const QString &key, const QString &file)
{
    return PrivateProfile::readString(section, key, QString(), file, 255);
}

QString FormatAmount(double value)
{
    // An amount that cannot be formatted (out of range, not a number) prints as nothing.
    try {
        return vb::formatNumber(value, QStringLiteral("###,###.00"));
    } catch (const std::exception &) {
        return {};
    }
}

void DoubleQuotes(QString &text)
{
    if (text.contains('\''))
        text.replace(QStringLiteral("'"), QStringLiteral("''"));
}

double ValueOrZero(const QVariant &value)
{
    return vb::toNumber(value).value_or(0.0);
}

std::optional<QString> SuiteRootOf(const QString &programDir)
{
    const auto isSeparator = [](QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); };
    const QLatin1String folder("admodule");
    qsizetype start = 0; // of the current path component
    for (qsizetype at = 0; at <= programDir.size(); ++at) {
        if (at < programDir.size() && !isSeparator(programDir[at]))
            continue;
        if (QStringView(programDir).mid(start, at - start).compare(folder, Qt::CaseInsensitive) == 0 && start > 0) {
            // "/admodule" lies in the file system's root.
            return start == 1 ? programDir.left(1) : programDir.left(start - 1);
        }
        start = at + 1;
    }
    return std::nullopt;
}

QString ChildPath(const QString &dir, const QString &name)
{
    const QDir folder(dir);
    if (!folder.exists(name)) {
        const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                     | QDir::NoDotAndDotDot);
        for (const QString &entry : entries) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return folder.filePath(entry);
        }
    }
    return folder.filePath(name);
}
