#include "styles/BoxStyle.h"

namespace {

const QString BoxBlank = QStringLiteral("___");
const QString Blank = QStringLiteral("_______");

} // namespace

QString PrintBoxStyle(PageEngine &engine, const PrintRequest &request)
{
    BoxStyle style(engine, request);
    return style.run();
}

ExtraColumnStyle::PickingColumns BoxStyle::pickingColumns() const
{
    return {QStringLiteral("^2240|^4460|^1000|^600|^1200|^1300;"),
            QStringLiteral("ITEM NO|DESCRIPTION|ORDER|Box|SHIPPED|BK ORDER;"),
            QStringLiteral("<2240|<4460|>1000|^600|^1200|^1300;"), 8300, 9500};
}

QString BoxStyle::pickingRemarks() const
{
    return "** REMARKS **" + CR + rsSO.text(QStringLiteral("remark"));
}

QStringList BoxStyle::matrixCellCells(const QString &quantity) const
{
    if (!pickingSheet)
        return RegularStyle::matrixCellCells(quantity);
    const QString variant = FiveBlanks + lineText("rowtext") + FiveBlanks + lineText("coltext");
    return {QString(), withLeader(variant, u'-'), quantity, BoxBlank, Blank, Blank};
}

QStringList BoxStyle::itemCells(const QString &quantity) const
{
    if (!pickingSheet)
        return RegularStyle::itemCells(quantity);
    return {lineText("itemno"), withLeader(lineText("Description"), u'*'), quantity, BoxBlank, Blank, Blank};
}
