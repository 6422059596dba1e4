#pragma once

#include "runtime/Currency.h"
#include "styles/RegularStyle.h"

// The grouped item variant picking style "GRPDESC" (picking sheets only). Consecutive lines whose
// item numbers share the base (the part before the first "-") print as one group: a bold row with
// the summed quantity, the description, the price and the summed amount, and under it a line of
// the group's variants with their quantities.
//
// Preview: every selected order in one document, each from a new page, inside 720-twip margins;
// every page starts with the page header; no foot; the seller's block is laid over every page.
// Print: each order is its own job; the items run between a 6400 top and a 2260 bottom margin
// and the page header, the foot ("Packed By:", "Total Qty:" and the remarks) and "Page: n/m"
// are laid over each finished page.
class GroupDescStyle : public RegularStyle
{
public:
    using RegularStyle::RegularStyle;

    // One group of lines as the sheet prints it.
    struct VariantGroup
    {
        QString description; // of the group's first line
        double quantity = 0; // qbord on a back order, else qord
        Currency amount;
        Currency unit;          // of the first line
        bool sharedUnit = true; // every line of the group has that unit price
        QStringList entries; // one per line, see variantEntry
    };
    // The base of an item number: the part before its first "-", or the whole number.
    static QString baseItem(const QString &itemno);
    // The entry of one line in its group's variant line; colourAndSize is a matrix line's
    // rowtext and coltext joined by a blank, empty for other lines.
    static QString variantEntry(const QString &itemno, const QString &colourAndSize, double quantity);

protected:
    QString linesStatement(const QString &invno) const override;
    void setMargins() override;
    double computeLineLimit() const override;
    void beginOrder() override;
    void printPageHeader() override;
    void printItemRow() override;
    void printPageFoot() override { }
    void overlayPage(int page, int pageCount) override;
    bool previewHoldsAllOrders() const override { return true; }
    void overlayPreview() override;

private:
    // The page header's bands: title and page label, date box, addresses, information table,
    // item frame with its column heading.
    void printSheetHeader();
    void printSheetAddresses();
    void printSheetInformation();
    void printSheetItemFrame();
    void printFoot();
    void printCompany();

    // The quantity a line counts with: qbord on a back order, else qord.
    QString groupQuantityField() const { return backOrder ? QStringLiteral("qbord") : QStringLiteral("qord"); }
    // Reads the current line and those following it with the same base into one group; lines a
    // back order does not print are passed over.
    VariantGroup takeGroup();
    // The variant line's entries, wrapped into lines of at most `width` twips.
    QString wrappedEntries(const QStringList &entries, double width) const;
    double lineHeight() const;
    void ruleAcross(double y);

    double quantityTotal = 0;
    double pageLabelX = 0;
    double pageLabelY = 0;
    // The current page holds a group: a group that does not fit moves to the next page.
    bool pageHasGroup = false;
};

// The print procedure of "GRPDESC" picking sheets.
QString PrintGroupDescStyle(PageEngine &engine, const PrintRequest &request);
