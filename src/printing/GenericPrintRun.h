#pragma once

#include "printing/PrintRequest.h"
#include "sqlaccess/Recordset.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class PageEngine;

// The generic print run: picking sheets of the "GRP" layout style, all selected orders in one
// print job. Each order is laid out as a sheet of the request's kind (sheet flag):
//   "F" full sheet: every line, items of one group and price under one group row;
//   "C" changed only: the lines the order's latest revision (table sochanged) changed;
//   "B" both: the full list, then the changed lines.
// A doubled flag ("FF", "CC", "BB") prints every never-printed order; otherwise the range
// from..to, or exactly `from` when `to` is blank. With "All Selected" (a range), the first order
// without a revision turns the rest of the run into full sheets; otherwise a changed-only run
// skips such orders.
//
// Every page starts with the whole header (top header with the transaction number, addresses,
// information table, column header); the finished pages get "Page: k/n" and a "PACKED BY" line
// per order. The run ends in exactly one of three ways:
// - discarded: no order found (message 3000) or every order skipped; nothing printed or marked;
// - previewed: the ended document stays on the engine for the preview window; nothing marked;
// - printed: once the job reached the printer, the orders laid out are marked printed
//   (ordstatus 1) in one short transaction, retried when it fails. An order a changed-only run
//   skipped had nothing printed and stays new.
// At most MaxOrders orders are laid out; message 5000 names the first one left out, which stays
// as it is with all after it. The database is never kept locked while pages are laid out or
// printed: each transaction number and the marking take their own short transactions.
//
// Lengths are twips; W is the printable width PageWidth - (MarginLeft + MarginRight).
class GenericPrintRun
{
public:
    static constexpr int MaxOrders = 100;

    GenericPrintRun(PageEngine &engine, const PrintRequest &request);

    GenericPrintRun(const GenericPrintRun &) = delete;
    GenericPrintRun &operator=(const GenericPrintRun &) = delete;

    // The whole run. "" when the document reached the printer and its orders were marked, or the
    // preview was laid out; otherwise the reason, which the operator has also been shown.
    QString mDBStartPrintDoc();

private:
    // Page-count slots of an order: the pages of its sheet of that kind.
    enum Slot { FullSlot = 0, ChangedSlot = 1, BothSlot = 2, SlotCount = 5 };

    // One listed line of the grouped picking list.
    struct SheetLine
    {
        QString itemno;
        QString description;
        QString quantity;  // qbord on a back order, else qord
        Currency unit;      // compared to tell the groups apart
        QString unitText;   // as the group row shows it
        QVariant linenum;
    };

    // --- the run (GenericPrintRun.cpp)
    // Sets the engine up for `sDevice` (the default printer when empty), opens the document and
    // measures mLineHeight.
    void mPrintInit(const QString &sDevice);
    QString ordersStatement(bool allNew) const;
    // Lays the current order of mrsSO out as a sheet of kind mSheetFlag, or skips it (changed
    // only, no revision). `firstSheet`: nothing laid out yet, no page to start.
    void layOutOrder(bool &firstSheet);
    // Ends the document and lays the page labels and "PACKED BY" lines over its pages.
    void mDBEndActionPrint();
    void pageLabel(int page, int pages, double baseLine);
    QString printAndMark();
    QString markPrinted();

    // --- header sections (SheetHeaderSections.cpp); each returns where the next one starts
    // Level 4: top header, addresses, information table and column header; level 0: the column
    // header at CurrentY only. The top header shows the sheet's kind, the column header the
    // listing's.
    double mDBChoiceHeaderPrint(int Index, const QString &sSheetFlag, const QString &listingFlag);
    double mDBSheetTopHeaderPrint(const QString &sSheetFlag);
    double mDBCustomerAddressPrint(double PosY, const QString &sCustono);
    double mDBInfoTablePrint(double PosY);
    // "Reprint...", "Preview..." or a new transaction number.
    QString transactionText();
    void fullWidthRule();

    // --- listing sections (SheetListingSections.cpp)
    double mDBItemDescriptionPrint(double PosY, const QString &isFlag);
    // The listing's table format for the flag; its column header text into `header`.
    QString mPrintWidth(const QString &sFlag, QString &header) const;
    void mDBFullItemPrint(const QString &sSorderNo, double PosY, const QString &sFlag);
    void mDBOnlyChangedPrint(const QString &sSorderNo, double PosY, qint64 lVersionStamp, const QString &sFlag);
    // True when lines[next] exists and continues `sGroupItem` at the price `cUnitPrice`.
    static bool mDBSameGroupItem(const QVector<SheetLine> &lines, int next, const QString &sGroupItem,
                                 Currency cUnitPrice);
    static QString mDBGroupItem(const QString &sItem);
    static QString mDBSubItem(const QString &sItem);
    QVector<SheetLine> sheetLines(const QString &sSorderNo) const;
    // Counts a page of the current order in `slot`, starts it and prints the whole header.
    void breakPage(int slot, const QString &listingFlag);
    // A table row of stored values, on the next page (breakPage) when it does not fit above the
    // bottom margin.
    void addListingRow(const QString &format, const QStringList &cells, int slot, const QString &listingFlag);
    // One piece of the grouped list: indent (fresh line) or gap, "- " sub item, quantity, line
    // number, in the fonts of the list.
    void writePiece(const SheetLine &line, bool freshLine);
    static QString lineNumberText(const SheetLine &line);
    // True when the piece still fits on the current line after a gap.
    bool pieceFits(const SheetLine &line) const;
    // Ends a line of pieces; the group's next piece starts a fresh line.
    void endPieceLine();
    // How far a line of pieces reaches below its baseline.
    double pieceDescent() const;
    // Listings end above the bottom margin, where the overlay writes the "PACKED BY" line.
    double listingBottom() const;
    // The "CHANGED ONLY" heading and column header of a "B" sheet's second part, with its first
    // row below them, or on the next page.
    double startChangedPart();
    // Top header, addresses and information table: the header without its column header.
    double sheetTopSections(const QString &sSheetFlag);
    // The slot the current sheet's pages count in.
    int sheetSlot() const;

    double W() const;
    // One tenth of W, the fraction cut off: the column unit.
    double unitWidth() const;

    PageEngine &vs;
    const PrintRequest request;

    // --- run state, reset by every run
    int mOrderCount = 0;
    std::array<std::array<int, SlotCount>, MaxOrders + 1> mPageCount{}; // [order 1..100][slot]
    double mLineHeight = 0; // one empty line of the base font
    Recordset mrsSO;        // the selected orders; the current row is the order being laid out
    QString mRemark;
    bool mIsBackOrder = false;
    QString mSheetFlag;     // "F", "C" or "B": the kind of the sheets being laid out
    QStringList mLaidOut;   // order numbers laid out, in order
};

// The print procedure of "GRP" picking sheets.
QString PrintGenericRun(PageEngine &engine, const PrintRequest &request);
