#pragma once

#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"
#include "pageengine/PrinterList.h"

#include <QDir>
#include <QTemporaryDir>
#include <stdexcept>
#include <string>

constexpr double Courier12 = 144.015625; // Liberation Mono advance at 12 pt, in twips

// Points the "PDF" printer at a fresh folder for the test's lifetime.
struct PdfFolder
{
    QTemporaryDir dir;
    QString path = dir.filePath("printout");
    PdfFolder() { PrinterList::setPdfFolder(path); }
    ~PdfFolder() { PrinterList::setPdfFolder(QString()); }
    QStringList files() const { return QDir(path).entryList({"*.pdf"}, QDir::Files); }
};

// An engine on Letter paper with 720 margins and an open document, as the layouts set it up
// (Courier New 12, TextAlign 6).
struct Engine
{
    PageEngine e;
    Engine()
    {
        e.setDevice("PDF");
        for (auto set : {&PageEngine::setMarginLeft, &PageEngine::setMarginRight, &PageEngine::setMarginTop,
                         &PageEngine::setMarginBottom})
            (e.*set)(720);
        e.setPreview(true);
        e.StartDoc();
    }
    static double spacing(const char *font, double size, bool bold = false)
    {
        return PageFont::metrics(font, size, bold).lineSpacing();
    }
    double lh() const { return spacing("Courier New", 12); }
    // With TextAlign 6 CurrentY is a row's baseline; its box starts this much higher.
    double asc() const { return PageFont::metrics("Courier New", 12, false).ascent(); }
    const QVector<PageItem> &items(int page = 1) const { return e.document().pages.at(page - 1).items; }
    // Throws when the text is missing, which fails the test with the text's name.
    const PageItem *find(const QString &text, int page = 1) const
    {
        for (const PageItem &item : items(page))
            if (item.text == text)
                return &item;
        throw std::runtime_error("no text \"" + text.toStdString() + "\" on page " + std::to_string(page));
    }
    const PageItem &item(const QString &text) const { return *find(text); }
};
