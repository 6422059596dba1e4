#pragma once

#include <QProcess>
#include <QString>

// The text of a PDF file as pdftotext lays it out ("" when it cannot be read).
inline QString pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {"-layout", path, "-"});
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}
