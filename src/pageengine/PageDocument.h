#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The page engine's document: pages holding display lists. All lengths are twips (1440 to the
// inch), measured from the top left corner of the sheet.
struct PageItem
{
    enum class Kind { Text, Rule, BoxedText };

    Kind kind = Kind::Text;

    // Text: one run on one line. BoxedText: the lines that fit the box, joined by '\n'.
    QString text;
    // Font as the caller named it ("Courier New"); PageFont resolves it for measuring and drawing.
    QString fontName;
    double fontSize = 0; // points
    bool bold = false;

    // Text: left edge and top of the run. Rule: start point. BoxedText: top left of the box.
    double x = 0;
    double y = 0;
    // Text: advance width and ascent + descent. BoxedText: the box size.
    double width = 0;
    double height = 0;
    // Text: y of the baseline. BoxedText: y of the first line's baseline.
    double baseline = 0;
    // BoxedText: distance from one line's baseline to the next.
    double lineHeight = 0;
    // BoxedText: 0 left, 1 centred, 2 right within the box, inset by padding on both sides.
    int hAlign = 0;
    double padding = 0;

    // Rule: end point, pen width in twips (0 is the thinnest visible rule) and pen style
    // (0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot).
    double x2 = 0;
    double y2 = 0;
    double penWidth = 0;
    int penStyle = 0;

    // Text: the run is part of a line the engine had to break because it was wider than its
    // room (a table cell, or what was left of the line): what a layout check looks for.
    bool wrapped = false;

    double right() const { return x + width; }
};

struct PageData
{
    double width = 12240;
    double height = 15840;
    QVector<PageItem> items;

    // The texts of the page's text runs and boxes, in the order they were written.
    QStringList texts() const;
    // All texts of the page joined by blanks, for "does the page show ..." checks.
    QString joinedText() const;
};

struct PageDocument
{
    QVector<PageData> pages;

    int pageCount() const { return pages.size(); }
    bool isEmpty() const { return pages.isEmpty(); }
};
