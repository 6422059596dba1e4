#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

// The printers a document can go to: the system's printers (CUPS on Linux) and the pseudo-printer
// "PDF", which writes every print job as a new PDF file into one folder. With no real printer,
// "PDF" is the default, so a fresh machine still prints. A system printer that is itself named
// "PDF" is hidden behind the pseudo-printer of that name.
namespace PrinterList {

inline const QString PdfPrinterName = QStringLiteral("PDF");

// System printers in the system's order, then "PDF".
QStringList names();
// The system's default printer; else the first system printer; else "PDF".
QString defaultName();
bool isPdf(const QString &name);
// Where the printer prints, as the progress window names it: the "PDF" printer's folder, a CUPS
// queue's device (CupsQueue::port); "" when unknown.
QString port(const QString &name);
// The printer's default paper in twips; Letter (12240 x 15840) for "PDF" and unknown printers.
QSizeF paperSize(const QString &name);

// Folder of the "PDF" printer's files; created on the first job when missing. Until set it is
// the "printout" folder beside the executable.
void setPdfFolder(const QString &folder);
QString pdfFolder();

// Chooses the path of a new file "<name>-<yyyyMMdd-HHmmss>-<nnn>.pdf" in the PDF folder and
// creates its hidden work file (partPathOf) exclusively, so two jobs, even of two processes in
// the same second, never get the same file. The name is the document name with anything but
// letters, digits, ".", "_" and "-" replaced by "_" ("document" when empty). The job writes the
// work file and renames it to the path once it is complete, so a PDF of the folder is never a
// part of a document, even after a crash. On failure returns "" and sets *error to a text for
// the operator.
QString reservePdfFile(const QString &documentName, QString *error);
// The work file of a PDF file: ".<name>.part" beside it.
QString partPathOf(const QString &pdfPath);
// Removes the work files of jobs cut off by a crash (older than an hour) from the PDF folder.
void removeStalePartFiles();

} // namespace PrinterList
