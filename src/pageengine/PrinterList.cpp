#include "pageengine/PrinterList.h"

#include "pageengine/internal/CupsQueue.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

namespace PrinterList {

namespace {

constexpr double LetterWidth = 12240;
constexpr double LetterHeight = 15840;
constexpr int MaxSequence = 999;

QMutex folderMutex;
QString configuredFolder;

QString safeFileStem(const QString &documentName)
{
    QString stem;
    for (const QChar c : documentName.trimmed()) {
        const bool plain = (c.unicode() < 128 && c.isLetterOrNumber()) || c == QLatin1Char('.')
                || c == QLatin1Char('_') || c == QLatin1Char('-');
        stem += plain ? c : QLatin1Char('_');
    }
    stem = stem.left(60);
    // A leading dot would make a hidden file; leading fillers say nothing.
    while (stem.startsWith(QLatin1Char('.')) || stem.startsWith(QLatin1Char('_')))
        stem.remove(0, 1);
    return stem.isEmpty() ? QStringLiteral("document") : stem;
}

} // namespace

QStringList names()
{
    QStringList result;
    for (const QString &name : CupsQueue::printers()) {
        if (!isPdf(name))
            result << name;
    }
    result << PdfPrinterName;
    return result;
}

QString defaultName()
{
    const QString systemDefault = CupsQueue::defaultPrinter();
    if (!systemDefault.isEmpty() && !isPdf(systemDefault))
        return systemDefault;
    const QStringList all = names();
    return all.first(); // "PDF" when there is no system printer
}

bool isPdf(const QString &name)
{
    return name.trimmed().compare(PdfPrinterName, Qt::CaseInsensitive) == 0;
}

QString port(const QString &name)
{
    return isPdf(name) ? QDir::toNativeSeparators(pdfFolder()) : CupsQueue::port(name);
}

QSizeF paperSize(const QString &name)
{
    if (!isPdf(name)) {
        if (const auto media = CupsQueue::defaultMedia(name); media && !media->size.isEmpty())
            return media->size;
    }
    return QSizeF(LetterWidth, LetterHeight);
}

void setPdfFolder(const QString &folder)
{
    QMutexLocker lock(&folderMutex);
    configuredFolder = folder;
}

QString pdfFolder()
{
    QMutexLocker lock(&folderMutex);
    if (!configuredFolder.isEmpty())
        return configuredFolder;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("printout"));
}

QString partPathOf(const QString &pdfPath)
{
    const QFileInfo file(pdfPath);
    return file.dir().filePath(QLatin1Char('.') + file.fileName() + QStringLiteral(".part"));
}

QString reservePdfFile(const QString &documentName, QString *error)
{
    const QString folder = pdfFolder();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("The PDF folder \"%1\" cannot be created.").arg(QDir::toNativeSeparators(folder));
        return QString();
    }
    const QString prefix = safeFileStem(documentName) + QLatin1Char('-')
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) + QLatin1Char('-');
    const QDir dir(folder);
    QString lastError;
    for (int n = 1; n <= MaxSequence; ++n) {
        const QString path = dir.filePath(prefix + QStringLiteral("%1.pdf").arg(n, 3, 10, QLatin1Char('0')));
        if (QFile::exists(path))
            continue;
        QFile part(partPathOf(path));
        // NewOnly fails when another job took the number in between: then try the next number.
        if (part.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        lastError = part.errorString();
        if (!part.exists())
            break; // not a name clash: the folder refuses new files
    }
    if (error) {
        *error = lastError.isEmpty()
                ? QStringLiteral("No free PDF file name is left in \"%1\".").arg(QDir::toNativeSeparators(folder))
                : QStringLiteral("A PDF file cannot be created in \"%1\": %2").arg(QDir::toNativeSeparators(folder), lastError);
    }
    return QString();
}

void removeStalePartFiles()
{
    const QDir dir(pdfFolder());
    const QDateTime before = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo &part : dir.entryInfoList({QStringLiteral(".*.pdf.part")}, QDir::Files | QDir::Hidden)) {
        if (part.lastModified() < before)
            QFile::remove(part.filePath());
    }
}

} // namespace PrinterList
