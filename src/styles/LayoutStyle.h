#pragma once

#include "printing/PrintProcedures.h"
#include "sqlaccess/Recordset.h"

#include <QString>
#include <limits>

class PageEngine;

// The skeleton every layout style shares: select the orders, set up the engine it is given, and
// for each order print page header, item rows and page foot page by page, then either print the
// order as its own job with page numbers laid over every page and mark it printed, or leave it
// ended on the engine for the preview window (preview builds the first order only). A style
// supplies its bands; the loop, the page breaks and the print and status rules live here. It
// reads only the request and the database (see PrintRequest).
//
// A new style: a class deriving from this one (or from RegularStyle) with its bands, a print
// procedure `QString PrintXxxStyle(PageEngine &, const PrintRequest &)` that runs it, and one
// line in registerLayoutStyles (StyleRegistration.cpp); the dispatch by style code is
// PrintProcedures::forStyle.
class LayoutStyle
{
public:
    LayoutStyle(PageEngine &engine, const PrintRequest &request);
    virtual ~LayoutStyle();

    LayoutStyle(const LayoutStyle &) = delete;
    LayoutStyle &operator=(const LayoutStyle &) = delete;

    // The whole run. "" when every selected document reached the printer (or the preview was
    // laid out); otherwise the reason, which the operator has also been shown.
    QString run();

protected:
    // --- selection and set-up; the defaults are those of the standard style
    virtual QString ordersStatement() const;
    virtual QString linesStatement(const QString &invno) const;
    // Margins and anything else a style sets before the line limit is computed.
    virtual void setMargins();
    virtual double computeLineLimit() const;

    // After the engine is set up, before the first order.
    virtual void beginRun() {}

    // --- bands
    // Before the first page of each order.
    virtual void beginOrder() {}
    virtual void printPageHeader() = 0;
    // Prints the row(s) of the current line and moves on when the line is done with; a line
    // that must print again (a matrix heading before its cell) stays current.
    virtual void printItemRow() = 0;
    // False for a line this order does not print (the back-order rule).
    virtual bool linePrints() const;
    virtual void printPageFoot() = 0;
    // Lays the page number and whatever else belongs over finished page `page`.
    virtual void overlayPage(int page, int pageCount) = 0;
    // Preview: false builds the first order only; true builds every selected order into the one
    // document, each from a new page.
    virtual bool previewHoldsAllOrders() const { return false; }
    // Preview: called once the document is ended, when it holds an order; the first order is
    // still current unless every order is held. Nothing by default: the overlays of a print
    // (page numbers) do not belong on a preview.
    virtual void overlayPreview() {}

    // --- for the bands
    // 8.5 inches: several bands are drawn for Letter paper whatever the printer's sheet.
    static constexpr double SheetWidth = 12240;
    // Chr(13): ends a line inside a text, a table cell or a boxed text.
    static inline const QString CR = QStringLiteral("\r");
    // Printers reach no closer to the sheet's edge than this (a quarter inch).
    static constexpr double PrintableEdge = 360;
    // No page test: the engine breaks pages itself where rows pass the bottom margin.
    static constexpr double NoLineLimit = std::numeric_limits<double>::infinity();

    PageEngine &vs() const { return m_engine; }
    double ML() const;
    double MR() const;
    double MB() const;
    double PW() const;
    double PH() const;
    // Seeks the order's customer in the customer table; true when found (then it is current).
    bool seekCustomer();
    // The title line of a page: the picking sheet or the sales order title of the request.
    QString title() const { return request.title(); }
    // Text for the inside of a quoted SQL literal: quotes doubled.
    static QString quoted(QString text);
    // Str() of a quantity field; money fields as "###,###.00"; dates as "mm/dd/yy".
    static QString qty(const Recordset &rs, const QString &field);
    static QString money(const Recordset &rs, const QString &field);
    static QString shortDate(const Recordset &rs, const QString &field);
    // `count` fill characters such that label, a blank and the leader stay inside `width`.
    QString leader(const QString &label, QChar fill, double width) const;
    // Lays overlayPage over every page of the ended document, keeping font size and alignment.
    void overlayAllPages();

    const PrintRequest request;
    Recordset rsSO;
    Recordset rsLines;
    Recordset rsCustomer;

    bool pickingSheet = false;
    bool backOrder = false;
    bool firstPage = true;
    bool moreLines = false;
    double topY = 0;
    bool topYTaken = false;
    double titleEndX = 0;
    double titleEndY = 0;
    double lineLimit = 0;

private:
    void selectOrders();
    void setUpEngine();
    void printOrderPages();
    void printItemLines();
    void skipUnprintedLines();
    // Print mode: completes the document, numbers its pages, prints it and marks the order.
    // "" when done; otherwise the reason (already shown).
    QString printOrder();
    QString markPrinted();
    void endRun(bool anyOrder);

    PageEngine &m_engine;
};
