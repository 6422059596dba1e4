#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The text of a PDF file as pdftotext lays it out ("" when it cannot be read).
inline QString pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {"-layout", path, "-"});
    pdftotext.waitForFinished(60000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// The text of each page of a PDF file (pdftotext ends every page with a form feed).
inline QStringList pdfPages(const QString &path)
{
    QStringList pages = pdfText(path).split('\f');
    pages.removeLast();
    return pages;
}
