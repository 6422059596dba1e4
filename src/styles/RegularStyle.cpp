#include "styles/RegularStyle.h"

#include "styles/CompanyBlock.h"
#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"
#include "runtime/VbFormat.h"

#include <algorithm>

namespace {

const QString Blank = QStringLiteral("_______");

bool isMatrixItem(const QString &itype)
{
    return itype == QStringLiteral("m") || itype == QStringLiteral("mp");
}

} // namespace

QString PrintRegularStyle(PageEngine &engine, const PrintRequest &request)
{
    RegularStyle style(engine, request);
    return style.run();
}

void RegularStyle::printPageHeader()
{
    // Items end above the foot, which grows by the lines an order's totals need beyond four.
    lineLimit = computeLineLimit() - (footHeight() - 1400);
    printTitle();
    printBodyFont();
    printDateBox();
    printAddresses();
    printInformationTable();
    printItemFrame();
    printColumnHeading();
    lineFormat = itemLineFormat();
    vs().setTableBorder(0);
    previousMatrixItem.clear();
}

void RegularStyle::printTitle()
{
    vs().setFontBold(true);
    vs().setFontName(QStringLiteral("Arial"));
    if (!topYTaken) {
        topY = vs().CurrentY();
        topYTaken = true;
    } else {
        vs().setCurrentY(topY);
    }
    vs().setFontSize(QStringLiteral("15"));
    vs().setTextAlign(8);
    titleWidth = vs().MeasureText(title());
    vs().Text(title() + CR);
    vs().Paragraph(QString());
    titleEndX = vs().CurrentX();
    titleEndY = vs().CurrentY();
}

void RegularStyle::printBodyFont()
{
    vs().setFontBold(false);
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontSize(10);
    vs().Paragraph(QString());
    vs().setFontBold(false);
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontSize(12);
}

void RegularStyle::printDateBox()
{
    printBoxedDate(false);
}

void RegularStyle::printBoxedDate(bool boldHeading)
{
    const double right = PW() - MR();
    vs().setCurrentX(right - 3080);
    boxX = vs().CurrentX();
    boxTop = vs().CurrentY();
    vs().DrawLine(boxX, boxTop, right, boxTop);
    vs().setCurrentY(boxTop + 350);
    vs().setTableBorder(0);
    if (boldHeading)
        vs().setFontBold(true);
    vs().AddTable(QStringLiteral("^1440|^1640;"), QString(), QStringLiteral("DATE|ORDER NO;"));
    if (boldHeading)
        vs().setFontBold(false);
    vs().DrawLine(boxX, vs().CurrentY() - 100, right, vs().CurrentY() - 100);
    vs().setCurrentY(vs().CurrentY() + 250);
    vs().setCurrentX(right - 2880);
    vs().AddTableRow(QStringLiteral("^1440|^1640;"),
                     {shortDate(rsSO, QStringLiteral("invdate")), rsSO.text(QStringLiteral("invno"))});
    vs().setTextAlign(6);
    vs().setCurrentY(vs().CurrentY() - 50);
    const double bottom = vs().CurrentY();
    vs().DrawLine(boxX, bottom, right, bottom);
    for (const double x : {boxX, boxX + 1440, right})
        vs().DrawLine(x, boxTop, x, bottom);
    vs().setCurrentY(bottom + 250);
}

void RegularStyle::printAddresses()
{
    const QString format = QStringLiteral("<5760|<5760;");
    vs().setTableBorder(0);
    vs().setCurrentX(ML());
    vs().AddTableRow(format, {QStringLiteral("BILL TO") + " ( Acct # : " + rsSO.text(QStringLiteral("CustNo")) + " )",
                              QStringLiteral("SHIP TO")});
    // Without a customer row there is no address to show: an empty row keeps the band's shape.
    vs().AddTableRow(format, seekCustomer() ? addressRow(billToCell()) : QStringList{QString(), QString()});
}

QString RegularStyle::billToCell() const
{
    auto field = [this](const char *name) { return rsCustomer.text(QString::fromLatin1(name)); };
    return field("uname") + CR + field("address1") + CR + field("address2") + CR + field("city") + ", " + field("st")
         + ", " + field("zip") + CR + field("tel") + "  " + field("contact");
}

QStringList RegularStyle::addressRow(const QString &bill) const
{
    const QString shipTo = rsSO.text(QStringLiteral("sadressname"));
    if (shipTo == QStringLiteral(" None"))
        return {bill, QString()};
    if (shipTo == QStringLiteral(" Same As Bill To"))
        return {bill, bill};
    auto field = [this](const char *name) { return rsSO.text(QString::fromLatin1(name)); };
    return {bill, shipTo + CR + field("sAddress1") + CR + field("sAddress2") + CR + field("sCity") + ", "
                      + field("sstate") + ", " + field("szip")};
}

void RegularStyle::printInformationTable()
{
    const QString format = QStringLiteral("^2000|^1440|^1440|^1440|^1440|^1440|^1440;");
    const double right = SheetWidth - MR();
    vs().setCurrentY(4320);
    infoTop = vs().CurrentY();
    vs().DrawLine(ML(), infoTop, right, infoTop);
    vs().setCurrentY(vs().CurrentY() + 430);
    vs().setTableBorder(0);
    vs().AddTable(format, QString(), QStringLiteral("PO. NO|TERMS|REP|SHIP|VIA|F.O.B|DUE DATE;"));
    const double y = vs().CurrentY();
    vs().DrawLine(ML(), y, right, y);
    vs().DrawLine(ML(), infoTop, ML(), y);
    vs().DrawLine(right, infoTop, right, y);
    vs().setCurrentY(y + 300);
    auto field = [this](const char *name) { return rsSO.text(QString::fromLatin1(name)); };
    // The order date stands under SHIP; DUE DATE stays empty.
    vs().AddTableRow(format, {field("custpo"), field("terms"), field("salesman"),
                              shortDate(rsSO, QStringLiteral("orddate")), field("shipvia"), field("fob"), QString()});
}

void RegularStyle::printItemFrame()
{
    const double right = SheetWidth - MR();
    const double bottom = PH() - MB();
    itemTop = vs().CurrentY();
    vs().DrawLine(ML(), itemTop, right, itemTop);
    vs().DrawLine(ML(), itemTop, ML(), bottom);
    vs().DrawLine(right, itemTop, right, bottom);
    vs().DrawLine(ML(), bottom, right, bottom);
    vs().setCurrentY(itemTop + 430);
}

void RegularStyle::printColumnHeading()
{
    vs().AddTable(columnHeadingFormat(), QString(), columnHeadingText());
    const double y = vs().CurrentY();
    vs().DrawLine(ML(), y, SheetWidth - MR(), y);
    vs().setCurrentY(y + 400);
}

QString RegularStyle::columnHeadingFormat() const
{
    // A picking sheet's last two columns trade 200 twips: "BACK ORDERED" is wider than 1600
    // less the cell's insets and broke over two lines; "SHIPPED" needs far less than 1500.
    return pickingSheet ? QStringLiteral("^2240|^4460|^1000|^1300|^1800;")
                        : QStringLiteral("^2240|^4460|^1000|^1500|^1600;");
}

QString RegularStyle::columnHeadingText() const
{
    return pickingSheet ? QStringLiteral("ITEM NO|DESCRIPTION|ORDER|SHIPPED|BACK ORDERED;")
                        : QStringLiteral("ITEM NO|DESCRIPTION|QTY|UNIT PRICE|TOTAL;");
}

QString RegularStyle::itemLineFormat() const
{
    return pickingSheet ? QStringLiteral("<2240|<4460|<1000|^1300|^1800;")
                        : QStringLiteral("<2240|<4460|>1000|>1500|>1600;");
}

void RegularStyle::printItemRow()
{
    const QString itemno = lineText("itemno");
    const bool matrixItem = isMatrixItem(lineText("itype"));
    if (matrixItem && itemno != previousMatrixItem) {
        // The heading row first; the same line then prints as its cell row.
        previousMatrixItem = itemno;
        vs().AddTableRow(lineFormat, {itemno, withLeader(lineText("Description"), u'*')});
        return;
    }
    const QString field = quantityField(matrixItem);
    const QString quantity = qty(rsLines, field);
    addItemRow(matrixItem ? matrixCellCells(quantity) : itemCells(quantity), matrixItem, rsLines.number(field));
    rsLines.moveNext();
}

QString RegularStyle::withLeader(const QString &label, QChar fill) const
{
    return leaders() ? label + " " + leader(label, fill, DescriptionWidth) : label;
}

QString RegularStyle::quantityField(bool matrixCell) const
{
    return backOrder && !matrixCell ? QStringLiteral("qbord") : QStringLiteral("qord");
}

QStringList RegularStyle::matrixCellCells(const QString &quantity) const
{
    const QString variant = FiveBlanks + lineText("rowtext") + FiveBlanks + lineText("coltext");
    if (pickingSheet)
        return {QString(), withLeader(variant, u'-'), quantity, Blank, Blank};
    return {QString(), variant, quantity, money(rsLines, QStringLiteral("unit")),
            money(rsLines, QStringLiteral("extended"))};
}

QStringList RegularStyle::itemCells(const QString &quantity) const
{
    if (pickingSheet)
        return {lineText("itemno"), withLeader(lineText("Description"), u'*'), quantity, Blank, Blank};
    return {lineText("itemno"), lineText("Description"), quantity, money(rsLines, QStringLiteral("unit")),
            money(rsLines, QStringLiteral("extended"))};
}

void RegularStyle::addItemRow(const QStringList &cells, bool, double)
{
    vs().AddTableRow(lineFormat, cells);
}

QString RegularStyle::lineText(const char *field) const
{
    return rsLines.text(QString::fromLatin1(field));
}

void RegularStyle::printPageFoot()
{
    const double right = SheetWidth - MR();
    const double bottom = PH() - MB();
    vs().setCurrentX(SheetWidth - ML() - MR() - 4000);
    vs().setCurrentY(bottom - footHeight());
    if (pickingSheet)
        return;

    const double y = vs().CurrentY();
    vs().DrawLine(ML(), y, right, y);
    vs().DrawLine(ML() + 2240, itemTop, ML() + 2240, y);
    vs().DrawLine(ML() + 6700, itemTop, ML() + 6700, y);
    // This column rule also separates the totals' labels from their amounts.
    vs().DrawLine(ML() + 7700, itemTop, ML() + 7700, bottom);
    vs().DrawLine(ML() + 9200, itemTop, ML() + 9200, y);
    vs().setCurrentY(y + 200);
    vs().setTextAlign(2);
    printTotalsAndRemarks();
}

void RegularStyle::printTotalsAndRemarks()
{
    const double bottom = PH() - MB();
    printTotals(salesOrderTotals());
    vs().setTextAlign(0);
    vs().BoxedText("** REMARKS **" + CR + rsSO.text(QStringLiteral("remark")), ML() + 400, bottom - footHeight() + 150,
                   6000, 1200);
}

QList<RegularStyle::TotalLine> RegularStyle::salesOrderTotals() const
{
    // The TOTAL is what the lines above it add up to: the tax, which every converted order with
    // a tax rate carries, on a line of its own where the order has one.
    QList<TotalLine> lines{{QStringLiteral("Sub Total"), money(rsSO, QStringLiteral("amount"))}};
    if (hasAmount(QStringLiteral("tax")))
        lines << TotalLine{QStringLiteral("Tax"), money(rsSO, QStringLiteral("tax"))};
    lines << TotalLine{QStringLiteral("Freight"), money(rsSO, QStringLiteral("freight"))}
          << TotalLine{QStringLiteral("Discount"), money(rsSO, QStringLiteral("dc"))}
          << TotalLine{QStringLiteral("TOTAL"), money(rsSO, QStringLiteral("total")), true};
    return lines;
}

void RegularStyle::printTotals(const QList<TotalLine> &lines)
{
    const QString totals = QStringLiteral(">1600|>1600");
    for (const TotalLine &line : lines) {
        vs().setFontBold(line.bold);
        vs().AddTableRow(totals, {line.label, line.amount});
    }
    vs().setFontBold(false);
}

bool RegularStyle::hasAmount(const QString &field) const
{
    return rsSO.money(field) != Currency();
}

double RegularStyle::footHeight() const
{
    if (pickingSheet)
        return 1400;
    return std::max(1400.0, 200 + totalsHeight(int(salesOrderTotals().size())) + 100);
}

double RegularStyle::totalsHeight(int lines) const
{
    return lines * PageFont::metrics(QStringLiteral("Courier New"), 12, true).lineSpacing();
}

void RegularStyle::overlayPage(int page, int pageCount)
{
    const QDateTime now = request.now();
    vs().setFontSize(10);
    vs().setTextAlign(8);
    vs().setCurrentY(titleEndY);
    const QString stamp = vb::formatDateTime(now, QStringLiteral("mm/dd/yy")) + "  "
                        + vb::formatDateTime(now, QStringLiteral("hh:mm")) + "  " + "Page: " + QString::number(page) + "/"
                        + QString::number(pageCount);
    const double stampWidth = vs().MeasureText(stamp);
    vs().Paragraph(stamp);

    // The seller's block at the top left, level with the title; its lines keep clear of the
    // centred title and page line.
    const double room = (ML() + PW() - MR()) / 2 - qMax(titleWidth, stampWidth) / 2 - ML() - 144;
    vs().setCurrentX(titleEndX);
    vs().setCurrentY(topY);
    vs().setTextAlign(6);
    CompanyBlock::write(vs(), request.company.name, CompanyBlock::addressLines(request.company), 14, 12, room);
}
