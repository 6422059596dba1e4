#pragma once

#include "styles/RegularStyle.h"

// The grouped style "GRP" for sales orders: the standard style with group lines (itype "m": an
// indented description and a quantity) instead of matrix items, address blocks without the
// account number, a "Page:" label under the title with the page number laid over its blanks,
// its own column widths, and a foot of one rule, the totals and the remarks.
class GroupStyle : public RegularStyle
{
public:
    using RegularStyle::RegularStyle;

protected:
    // Adds the suite's config row (transaction counter) when there is none; sales orders use
    // no transaction number and leave an existing row as it is.
    void beginRun() override;
    QString linesStatement(const QString &invno) const override;
    void printPageHeader() override;
    void printItemRow() override;
    void printPageFoot() override;
    void overlayPage(int page, int pageCount) override;

private:
    void printPageLabel();
    void printGroupAddresses();
    void printGroupColumnHeading();

    // Where the page number goes: one blank after "Page:", on the label's baseline.
    double pageNumberX = 0;
    double pageNumberY = 0;
};

// The print procedure of "GRP" sales orders.
QString PrintGroupStyle(PageEngine &engine, const PrintRequest &request);
