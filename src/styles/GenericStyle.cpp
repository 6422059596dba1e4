#include "styles/GenericStyle.h"

#include "styles/CompanyBlock.h"
#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"
#include "runtime/VbFormat.h"

#include <algorithm>

QString PrintGenericStyle(PageEngine &engine, const PrintRequest &request)
{
    GenericStyle style(engine, request);
    return style.run();
}

QString GenericStyle::ordersStatement() const
{
    if (request.allNewOrders)
        return QStringLiteral("select * from so where payflag < 2 order by invno");
    return QStringLiteral("select * from so where invno between '") + quoted(request.from) + QStringLiteral("' and '")
         + quoted(request.to) + QStringLiteral("' order by invno");
}

void GenericStyle::setMargins()
{
    RegularStyle::setMargins();
    vs().setMarginTop(300);
}

double GenericStyle::computeLineLimit() const
{
    // Room for the total and the remarks below the last row.
    return PH() - MB() - 3200;
}

void GenericStyle::beginOrder()
{
    orderTotal = Currency();
}

void GenericStyle::printTitle()
{
    vs().setFontBold(true);
    vs().setFontName(QStringLiteral("Arial"));
    // The title keeps the size in effect; the seller's block beside it is written first and
    // keeps clear of it.
    const QString heading = request.pickingSheetTitle;
    const double size = vs().FontSize();
    if (!topYTaken) {
        // The first line hangs from the 300-twip top margin, but no higher than printers reach:
        // written on the margin, as the engine writes text on its baseline, it would stand at the
        // sheet's very edge.
        topY = std::max(vs().CurrentY(), PrintableEdge) + PageFont::metrics(vs().FontName(), size, true).ascent();
        topYTaken = true;
    }
    vs().setCurrentY(topY);
    titleWidth = vs().MeasureText(heading);
    const double room = (ML() + PW() - MR()) / 2 - titleWidth / 2 - ML() - 144;
    vs().setTextAlign(6);
    CompanyBlock::write(vs(), request.company.name, CompanyBlock::addressLines(request.company), size, 10, room);
    vs().setCurrentY(topY);
    vs().setFontSize(size);
    vs().setFontBold(true);
    vs().setTextAlign(8);
    vs().Text(heading + CR);
    vs().Paragraph(QString());
    titleEndX = vs().CurrentX();
    titleEndY = vs().CurrentY();
}

void GenericStyle::printBodyFont()
{
    vs().setFontBold(false);
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontSize(12);
}

void GenericStyle::printDateBox()
{
    const double right = PW() - MR();
    vs().setCurrentX(right - 3080);
    vs().setCurrentY(vs().CurrentY() + 350);
    vs().setTableBorder(0);
    vs().AddTable(QStringLiteral("^1440|^1640;"), QString(), QStringLiteral("DATE|ORDER NO.;"));
    vs().setCurrentX(right - 2880);
    vs().AddTableRow(QStringLiteral("^1440|^1640;"),
                     {shortDate(rsSO, QStringLiteral("invdate")), rsSO.text(QStringLiteral("invno"))});
    vs().setTextAlign(6);
    vs().setCurrentY(vs().CurrentY() - 50 + 250);
    vs().setTableBorder(0);
}

void GenericStyle::printInformationTable()
{
    // Seven columns across the width between the frame's side rules (the last 1750 wide, they ran
    // 70 twips past the right one, where "CANCEL DATE" touched it).
    const QString format = QStringLiteral("^1600|^1000|^1400|^2080|^1440|^1600|^1680;");
    const double right = SheetWidth - MR();
    vs().setCurrentY(4320);
    infoTop = vs().CurrentY();
    vs().DrawLine(ML(), infoTop, right, infoTop);
    vs().setTableBorder(0);
    // Without the standard style's steps down; each row hangs a gap under its rule and the next
    // rule keeps the same gap under the row, so no text sits on a rule.
    vs().setTextAlign(0);
    vs().setCurrentY(infoTop + RowGap);
    vs().AddTable(format, QString(), QStringLiteral("PO. NO|TERMS|REP|SHIPPING DATE|VIA|F.O.B|CANCEL DATE;"));
    const double y = vs().CurrentY() + RowGap;
    vs().DrawLine(ML(), y, right, y);
    vs().DrawLine(ML(), infoTop, ML(), y);
    vs().DrawLine(right, infoTop, right, y);
    vs().setCurrentY(y + RowGap);
    auto field = [this](const char *name) { return rsSO.text(QString::fromLatin1(name)); };
    vs().AddTableRow(format,
                     {field("custpo"), field("terms"), field("salesman"), shortDate(rsSO, QStringLiteral("orddate")),
                      field("shipvia"), field("fob"), shortDate(rsSO, QStringLiteral("CancelDate"))});
    vs().setCurrentY(vs().CurrentY() + RowGap);
    vs().setTextAlign(6);
}

QString GenericStyle::columnHeadingFormat() const
{
    // The headings over the columns of the item rows.
    return QStringLiteral("^2240|^4460|^1000|^1500|^1600;");
}

QString GenericStyle::columnHeadingText() const
{
    return QStringLiteral("ITEM NO|DESCRIPTION|ORDER|UNIT PRICE|AMOUNT;");
}

QString GenericStyle::itemLineFormat() const
{
    // Quantities and money right-aligned, so that their decimal points line up.
    return QStringLiteral("<2240|<4460|>1000|>1500|>1600;");
}

QStringList GenericStyle::matrixCellCells(const QString &quantity) const
{
    return {QString(),
            QStringLiteral("__"),
            withLeader(lineText("rowtext") + FiveBlanks + lineText("coltext"), u'-'),
            quantity,
            money(rsLines, QStringLiteral("unit")),
            money(rsLines, QStringLiteral("extended"))};
}

QStringList GenericStyle::itemCells(const QString &quantity) const
{
    return {lineText("itemno"), withLeader(lineText("Description"), u'*'), quantity,
            money(rsLines, QStringLiteral("unit")), money(rsLines, QStringLiteral("extended"))};
}

void GenericStyle::addItemRow(const QStringList &cells, bool matrixCell, double)
{
    orderTotal += rsLines.money(QStringLiteral("extended"));
    vs().AddTableRow(matrixCell ? QStringLiteral("<1540|^700|<4460|>1000|>1500|>1600;") : lineFormat, cells);
}

void GenericStyle::printPageFoot()
{
    // Total and remarks once, on the order's last page.
    if (moreLines)
        return;
    const double bottom = PH() - MB();
    vs().setCurrentX(ML());
    vs().setCurrentY(bottom - 2800);
    // The total is what the figures above it add up to: the lines printed, then the order's tax,
    // freight and discount on lines of their own where it has them.
    const QString format = QStringLiteral("6600|>2000|>1800");
    const QString amount = QStringLiteral("###,###,##0.00");
    auto row = [&](const QString &label, Currency value) {
        vs().AddTableRow(format, {QString(), label, vb::format(QVariant::fromValue(value), amount)});
    };
    Currency total = orderTotal;
    const Currency tax = rsSO.money(QStringLiteral("tax"));
    const Currency freight = rsSO.money(QStringLiteral("freight"));
    const Currency discount = rsSO.money(QStringLiteral("dc"));
    if (tax != Currency() || freight != Currency() || discount != Currency()) {
        row(QStringLiteral("Sub Total :"), orderTotal);
        if (tax != Currency())
            row(QStringLiteral("Tax :"), tax);
        if (freight != Currency())
            row(QStringLiteral("Freight :"), freight);
        if (discount != Currency())
            row(QStringLiteral("Discount :"), discount);
        total += tax + freight - discount;
    }
    row(QStringLiteral("Total :"), total);
    vs().setTextAlign(0);
    vs().BoxedText("**REMARKS**" + CR + rsSO.text(QStringLiteral("remark")), ML() + 400, bottom - 3000, 6000, 1200);
}

void GenericStyle::overlayPage(int page, int pageCount)
{
    vs().setCurrentX(titleEndX);
    vs().setCurrentY(titleEndY);
    vs().setFontSize(10);
    vs().setTextAlign(8);
    vs().Paragraph("Page: " + QString::number(page) + "/" + QString::number(pageCount));
}
