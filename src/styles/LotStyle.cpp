#include "styles/LotStyle.h"

#include "runtime/VbFormat.h"

namespace {

const QString LotBlank = QStringLiteral("_____");

} // namespace

QString PrintLotStyle(PageEngine &engine, const PrintRequest &request)
{
    LotStyle style(engine, request);
    return style.run();
}

QString LotStyle::linesStatement(const QString &invno) const
{
    // The lowest lot orders the lines; "" (no lot) sorts first on every backend, where a null
    // would sort first on some and last on others.
    return QStringLiteral("select sodetail.*,coalesce((select min(itemcopy.lotno) from itemcopy where "
                          "itemcopy.uid=sodetail.itemno),'') as lotno from sodetail where invno ='")
         + quoted(invno) + QStringLiteral("' order by lotno,itemno,autonum ");
}

void LotStyle::beginOrder()
{
    quantityTotal = 0;
    itemLots.clear();
    Recordset rs = request.db.openSnapshot(
        QStringLiteral("select uid,lotno from itemcopy where uid in (select itemno from sodetail where invno ='")
        + quoted(rsSO.text(QStringLiteral("invno"))) + QStringLiteral("') order by uid,lotno "));
    for (; !rs.eof(); rs.moveNext())
        itemLots[rs.text(QStringLiteral("uid")).toUpper()] << rs.text(QStringLiteral("lotno"));
}

ExtraColumnStyle::PickingColumns LotStyle::pickingColumns() const
{
    return {QStringLiteral("^2240|^4460|^1000|^1000|^1000|^1100;"),
            QStringLiteral("ITEM NO|DESCRIPTION|ORDER|Lot|SHIP|BK ORD;"),
            QStringLiteral("<2240|<4460|>1000|^1000|^1000|^1100;"), 8700, 9700};
}

QString LotStyle::pickingRemarks() const
{
    const QString remark = rsSO.text(QStringLiteral("remark"));
    // The order's last page carries its quantity total, with or without a remark.
    const QString total = "Total Qty: " + vb::formatNumber(quantityTotal, QString());
    if (remark.isEmpty())
        return moreLines ? QStringLiteral(" ") : total + " ";
    return (moreLines ? QString() : total + "   ") + "** REMARKS **" + CR + remark;
}

QString LotStyle::quantityField(bool matrixCell) const
{
    // On the picking sheet matrix cells follow the back-order rule too.
    if (pickingSheet)
        return backOrder ? QStringLiteral("qbord") : QStringLiteral("qord");
    return RegularStyle::quantityField(matrixCell);
}

QStringList LotStyle::matrixCellCells(const QString &quantity) const
{
    if (!pickingSheet)
        return RegularStyle::matrixCellCells(quantity);
    const QString variant = FiveBlanks + lineText("rowtext") + FiveBlanks + lineText("coltext");
    return {QString(), withLeader(variant, u'-'), quantity, lots(), LotBlank, LotBlank};
}

QStringList LotStyle::itemCells(const QString &quantity) const
{
    if (!pickingSheet)
        return RegularStyle::itemCells(quantity);
    return {lineText("itemno"), withLeader(lineText("Description"), u'*'), quantity, lots(), LotBlank, LotBlank};
}

void LotStyle::addItemRow(const QStringList &cells, bool matrixCell, double quantity)
{
    ExtraColumnStyle::addItemRow(cells, matrixCell, quantity);
    quantityTotal += quantity;
}

QString LotStyle::lots() const
{
    return itemLots.value(lineText("itemno").toUpper()).join(CR);
}
