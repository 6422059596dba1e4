#pragma once

#include "LayoutStyle.h"

// The standard style "REG": sales orders and picking sheets with a boxed header, matrix items
// under their heading row, and on sales orders the totals and remarks at the foot of every page.
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
    void printTitle();
    void printBodyFont();
    void printDateBox();
    void printAddresses();
    void printInformationTable();
    void printItemFrame();
    void printColumnHeading();
    // The sales order foot's totals (right-aligned, from CurrentY) and its remarks box.
    void printTotalsAndRemarks();

    // The bill-to cell of the address row from the current customer row.
    QString billToCell() const;
    // The address row: bill-to cell, "|" and the ship-to cell as the order's ship-to says.
    QString addressRow() const;

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
