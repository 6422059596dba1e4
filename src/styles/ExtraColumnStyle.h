#pragma once

#include "styles/RegularStyle.h"

// The standard style with a different picking sheet, shared by the box and lot styles: an extra
// column to fill in, a rule under every item row, and the totals and remarks at the foot of every
// page of a picking sheet too. Their sales orders are those of the standard style.
class ExtraColumnStyle : public RegularStyle
{
public:
    using RegularStyle::RegularStyle;

protected:
    // The picking sheet's columns: heading format and text, item row format, and the x offsets
    // from the left margin of the foot's column rules right of the extra column and of the
    // column after it.
    struct PickingColumns
    {
        QString headingFormat;
        QString headingText;
        QString lineFormat;
        double ruleX1 = 0;
        double ruleX2 = 0;
    };
    virtual PickingColumns pickingColumns() const = 0;
    // The text of the picking sheet's remarks box on the current page.
    virtual QString pickingRemarks() const = 0;

    QString columnHeadingFormat() const override;
    QString columnHeadingText() const override;
    QString itemLineFormat() const override;
    void addItemRow(const QStringList &cells, bool matrixCell, double quantity) override;
    void printPageFoot() override;
    double footHeight() const override;

private:
    // The gap under a ruled item row that holds its rule.
    static constexpr double RuleStep = 115;
    // The picking sheet foot's totals.
    QList<TotalLine> pickingTotals() const;
};
