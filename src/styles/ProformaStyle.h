#pragma once

#include "styles/LayoutStyle.h"

// The pro-forma invoice style "IMPPROFORMA": the item lines are laid out first, below a tall top
// margin, with the engine breaking pages itself; remarks follow and the totals stand at a fixed
// position near the foot of the last page. The whole page header (date and page line, seller,
// title, addresses, an information band with the representative's and the terms' names, the
// column heading) is then laid over every page, in a preview as well. No matrix rows, no
// leaders.
class ProformaStyle : public LayoutStyle
{
public:
    using LayoutStyle::LayoutStyle;

protected:
    void setMargins() override;
    double computeLineLimit() const override { return NoLineLimit; }
    void beginOrder() override;
    void printPageHeader() override;
    void printItemRow() override;
    void printPageFoot() override;
    void overlayPage(int page, int pageCount) override;
    void overlayPreview() override { overlayAllPages(); }

private:
    // Header bands of the overlay.
    void printDateAndPage(int page, int pageCount);
    void printCompany();
    void printTitleAndReference();
    void printAddresses();
    void printInformationBand();
    void printColumnHeading();
    void ruleAcross(double y);
    // Adds a row that stays one line tall, in a smaller font where a cell would wrap.
    void addOneLineRow(const QString &format, const QStringList &cells);

    QString discountLabel() const;
    QString billToCell() const;
    QString shipToCell() const;

    QString lineFormat;
    Recordset rsEmployee;
    // Looked up once per order for the header overlay.
    QString billTo;
    QString shipTo;
    QString representative;
    QString termsText;
};

// The print procedure of "IMPPROFORMA".
QString PrintProformaStyle(PageEngine &engine, const PrintRequest &request);
