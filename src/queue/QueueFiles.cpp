#include "QueueFiles.h"

#include "Module1.h"

#include <QDir>
#include <QFile>

QString QueueFolder()
{
    return ChildPath(gProgramDir, QStringLiteral("OrdQueue"));
}

QString ArchiveFolder()
{
    return ChildPath(gProgramDir, QStringLiteral("ordsaved"));
}

QString RemovedFolder()
{
    return ChildPath(gProgramDir, QStringLiteral("ordremoved"));
}

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

bool MoveFileTo(const QString &from, const QString &to, QString *error)
{
    QFile file(from);
    if (!file.exists()) {
        if (error)
            *error = QStringLiteral("%1 does not exist").arg(QDir::toNativeSeparators(from));
        return false;
    }
    if (QFileInfo::exists(to)) {
        if (error)
            *error = QStringLiteral("%1 exists already").arg(QDir::toNativeSeparators(to));
        return false;
    }
    if (file.rename(to))
        return true;
    if (error)
        *error = QStringLiteral("cannot move %1 to %2: %3")
                     .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to), file.errorString());
    return false;
}
