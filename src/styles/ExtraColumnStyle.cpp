#include "styles/ExtraColumnStyle.h"

#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"
#include "runtime/VbFormat.h"

#include <algorithm>

QString ExtraColumnStyle::columnHeadingFormat() const
{
    return pickingSheet ? pickingColumns().headingFormat : RegularStyle::columnHeadingFormat();
}

QString ExtraColumnStyle::columnHeadingText() const
{
    return pickingSheet ? pickingColumns().headingText : RegularStyle::columnHeadingText();
}

QString ExtraColumnStyle::itemLineFormat() const
{
    return pickingSheet ? pickingColumns().lineFormat : RegularStyle::itemLineFormat();
}

void ExtraColumnStyle::addItemRow(const QStringList &cells, bool matrixCell, double quantity)
{
    if (!pickingSheet || matrixCell) {
        RegularStyle::addItemRow(cells, matrixCell, quantity);
        return;
    }
    vs().AddTableRow(lineFormat, cells);
    // The rule runs in a 115-twip gap under the descenders of the row's last line (under the row
    // even when a cell wrapped or the row moved to the next page), and whatever row comes next
    // starts below the gap. Drawn 15 twips under the baseline, as the rows were first ruled, it
    // cut through the descenders and swallowed the "___" blanks.
    const QFontMetricsF &fm = PageFont::metrics(vs().FontName(), vs().FontSize(), vs().FontBold());
    const double lastBaseline = vs().CurrentY() - fm.lineSpacing() * vs().LineSpacing() / 100.0;
    const double y = lastBaseline + fm.descent() + RuleStep / 2;
    vs().DrawLine(ML(), y, PW() - MR(), y);
    vs().setCurrentY(vs().CurrentY() + RuleStep);
}

void ExtraColumnStyle::printPageFoot()
{
    if (!pickingSheet) {
        RegularStyle::printPageFoot();
        return;
    }
    const double right = SheetWidth - MR();
    const double bottom = PH() - MB();
    vs().setCurrentX(SheetWidth - ML() - MR() - 4000);
    vs().setCurrentY(bottom - footHeight());
    const double y = vs().CurrentY();
    const PickingColumns columns = pickingColumns();
    vs().DrawLine(ML(), y, right, y);
    for (const double x : {ML() + 2240, ML() + 6700, ML() + columns.ruleX1, ML() + columns.ruleX2})
        vs().DrawLine(x, itemTop, x, y);
    // This column rule also separates the totals' labels from their amounts.
    vs().DrawLine(ML() + 7700, itemTop, ML() + 7700, bottom);

    vs().setTextAlign(2);
    printTotals(pickingTotals());
    vs().setTextAlign(0);
    vs().BoxedText(pickingRemarks(), ML() + 400, bottom - footHeight() + 150, 6000, 1200);
}

QList<RegularStyle::TotalLine> ExtraColumnStyle::pickingTotals() const
{
    // An empty line first; the tax and the freight on lines of their own where the order has
    // them, so that the TOTAL is what the amounts above it add up to.
    QList<TotalLine> lines{{}, {QStringLiteral("Sub Total"), money(rsSO, QStringLiteral("amount"))}};
    if (hasAmount(QStringLiteral("tax")))
        lines << TotalLine{QStringLiteral("Tax"), money(rsSO, QStringLiteral("tax"))};
    if (hasAmount(QStringLiteral("freight")))
        lines << TotalLine{QStringLiteral("Freight"), money(rsSO, QStringLiteral("freight"))};
    lines << TotalLine{QStringLiteral("D/C $"), money(rsSO, QStringLiteral("dc"))};
    if (rsSO.text(QStringLiteral("dcamtentered")) == QStringLiteral("N"))
        lines << TotalLine{QStringLiteral("D/C %"),
                           vb::format(rsSO.value(QStringLiteral("tdcpercent")), QStringLiteral("###,###.00")) + " %"};
    lines << TotalLine{QStringLiteral("TOTAL"), money(rsSO, QStringLiteral("total")), true};
    return lines;
}

double ExtraColumnStyle::footHeight() const
{
    if (!pickingSheet)
        return RegularStyle::footHeight();
    return std::max(1400.0, totalsHeight(int(pickingTotals().size())) + 100);
}
