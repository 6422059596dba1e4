#include "styles/ExtraColumnStyle.h"

#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"
#include "runtime/VbFormat.h"

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
    vs().setCurrentY(vs().CurrentY() + 115);
    vs().AddTableRow(lineFormat, cells);
    // The rule runs 15 twips under the baseline of the row's last line: under the row even when
    // a cell wrapped or the row moved to the next page.
    const double lineHeight =
        PageFont::metrics(vs().FontName(), vs().FontSize(), vs().FontBold()).lineSpacing() * vs().LineSpacing() / 100.0;
    const double y = vs().CurrentY() - lineHeight + 15;
    vs().DrawLine(ML(), y, PW() - MR(), y);
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
    vs().setCurrentY(bottom - 1400);
    const double y = vs().CurrentY();
    const PickingColumns columns = pickingColumns();
    vs().DrawLine(ML(), y, right, y);
    for (const double x : {ML() + 2240, ML() + 6700, ML() + columns.ruleX1, ML() + columns.ruleX2})
        vs().DrawLine(x, itemTop, x, y);
    // This column rule also separates the totals' labels from their amounts.
    vs().DrawLine(ML() + 7700, itemTop, ML() + 7700, bottom);

    vs().setTextAlign(2);
    const QString totals = QStringLiteral(">1600|>1600");
    vs().AddTable(totals, QString(), QStringLiteral(";"));
    vs().AddTable(totals, QString(), "Sub Total|" + money(rsSO, QStringLiteral("amount")) + ";", QVariant(), QVariant(),
                  false);
    vs().AddTable(totals, QString(), "D/C $|" + money(rsSO, QStringLiteral("dc")) + ";");
    if (rsSO.text(QStringLiteral("dcamtentered")) == QStringLiteral("N"))
        vs().AddTable(totals, QString(),
                      "D/C %|" + vb::format(rsSO.value(QStringLiteral("tdcpercent")), QStringLiteral("###,###.00"))
                          + " %;");
    vs().setFontBold(true);
    vs().AddTable(totals, QString(), "TOTAL|" + money(rsSO, QStringLiteral("total")) + ";");
    vs().setFontBold(false);

    vs().setTextAlign(0);
    vs().BoxedText(pickingRemarks(), ML() + 400, bottom - 1250, 6000, 1200);
}
