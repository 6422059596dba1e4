#pragma once

#include "runtime/Currency.h"
#include "styles/RegularStyle.h"

// The generic priced style "REGGENERIC", for generic and text-only printer drivers: one document
// kind, a priced order sheet under the picking sheet title, with leaders, unit prices, amounts and
// a running order total that, with the remarks, prints once on the order's last page. Orders of
// the all-new selection are those not yet paid (payflag below 2), printed or not.
class GenericStyle : public RegularStyle
{
public:
    using RegularStyle::RegularStyle;

protected:
    QString ordersStatement() const override;
    void setMargins() override;
    double computeLineLimit() const override;
    void beginOrder() override;

    void printTitle() override;
    void printBodyFont() override;
    void printDateBox() override;
    void printInformationTable() override;
    QString columnHeadingFormat() const override;
    QString columnHeadingText() const override;
    QString itemLineFormat() const override;

    bool leaders() const override { return true; }
    QStringList matrixCellCells(const QString &quantity) const override;
    QStringList itemCells(const QString &quantity) const override;
    void addItemRow(const QStringList &cells, bool matrixCell, double quantity) override;

    void printPageFoot() override;
    void overlayPage(int page, int pageCount) override;

private:
    // Between a rule of the information table and the row next to it.
    static constexpr double RowGap = 60;
    // Sum of `extended` over the rows printed so far of the current order.
    Currency orderTotal;
};

// The print procedure of "REGGENERIC".
QString PrintGenericStyle(PageEngine &engine, const PrintRequest &request);
