#pragma once

#include "styles/LayoutStyle.h"

// The standard style "REG": sales orders and picking sheets with a boxed header, matrix items
// under their heading row, and on sales orders the totals and remarks at the foot of every page.
// The styles that differ from it in a few bands derive from it.
class RegularStyle : public LayoutStyle
{
public:
    using LayoutStyle::LayoutStyle;

protected:
    void printPageHeader() override;
    void printItemRow() override;
    void printPageFoot() override;
    void overlayPage(int page, int pageCount) override;

    // The header bands, in page order.
    virtual void printTitle();
    virtual void printBodyFont();
    virtual void printDateBox();
    // The date box at the top right: the heading "DATE|ORDER NO" (bold when boldHeading), the
    // order's date and number, ruled; boxX and boxTop say where it stands.
    void printBoxedDate(bool boldHeading);
    void printAddresses();
    virtual void printInformationTable();
    void printItemFrame();
    void printColumnHeading();
    // The sales order foot's totals (right-aligned, from CurrentY) and its remarks box.
    void printTotalsAndRemarks();

    // One line of a totals block: label and amount, in bold for the total.
    struct TotalLine
    {
        QString label;
        QString amount;
        bool bold = false;
    };
    // The sales order's totals: Sub Total, Tax (where the order has tax), Freight, Discount and
    // TOTAL; the amounts as stored, which add up: amount + tax + freight - dc = total.
    QList<TotalLine> salesOrderTotals() const;
    // Adds the lines as rows of ">1600|>1600" from CurrentY with the current alignment.
    void printTotals(const QList<TotalLine> &lines);
    // True when the order's money field is not zero (nor null).
    bool hasAmount(const QString &field) const;
    // From the foot's top rule to the bottom margin: 1400 twips, more when the totals need it.
    virtual double footHeight() const;
    // Height of `lines` totals lines in the foot's font.
    double totalsHeight(int lines) const;

    // Column heading (format and fixed text) and the format of the item rows.
    virtual QString columnHeadingFormat() const;
    virtual QString columnHeadingText() const;
    virtual QString itemLineFormat() const;

    // --- item rows
    // True when descriptions are led to the quantity with a fill of "*" or "-" (picking sheets).
    virtual bool leaders() const { return pickingSheet; }
    // The label followed by a blank and its leader when leaders() is true; the label otherwise.
    QString withLeader(const QString &label, QChar fill) const;
    // The quantity field a row of the current line shows: qbord on back orders, except that
    // matrix cell rows show qord.
    virtual QString quantityField(bool matrixCell) const;
    // The cells of the current line as a matrix cell row and as an item row; `quantity` is the
    // quantity as printed.
    virtual QStringList matrixCellCells(const QString &quantity) const;
    virtual QStringList itemCells(const QString &quantity) const;
    // Adds a matrix cell row or an item row (matrix headings do not come here); `quantity` is
    // the number the row shows.
    virtual void addItemRow(const QStringList &cells, bool matrixCell, double quantity);
    // Text of a field of the current line ("" for null).
    QString lineText(const char *field) const;

    // The bill-to cell of the address row from the current customer row.
    QString billToCell() const;
    // The address row's cells: the bill-to cell given and the ship-to cell as the order's
    // ship-to says (empty for " None", the bill-to cell for " Same As Bill To").
    QStringList addressRow(const QString &bill) const;

    static constexpr double DescriptionWidth = 4460;
    static inline const QString FiveBlanks = QStringLiteral("     ");

    double boxX = 0;
    double boxTop = 0;
    double infoTop = 0;
    double itemTop = 0;
    double titleWidth = 0;
    QString lineFormat;
    QString previousMatrixItem;
};

// The print procedure of "REG".
QString PrintRegularStyle(PageEngine &engine, const PrintRequest &request);
