#include "styles/GenericStyle.h"

#include "styles/CompanyBlock.h"
#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"
#include "runtime/VbFormat.h"

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
        // The first line hangs from the 300-twip top margin: written on it, as the engine writes
        // text on its baseline, it would stand at the sheet's very edge.
        topY = vs().CurrentY() + PageFont::metrics(vs().FontName(), size, true).ascent();
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
    const QString format = QStringLiteral("^1600|^1000|^1400|^2080|^1440|^1600|^1750;");
    const double right = SheetWidth - MR();
    vs().setCurrentY(4320);
    infoTop = vs().CurrentY();
    vs().DrawLine(ML(), infoTop, right, infoTop);
    vs().setTableBorder(0);
    // Without the standard style's steps down, the heading hangs under the top rule and the
    // data under the bottom one.
    vs().setTextAlign(0);
    vs().AddTable(format, QString(), QStringLiteral("PO. NO|TERMS|REP|SHIPPING DATE|VIA|F.O.B|CANCEL DATE;"));
    const double y = vs().CurrentY();
    vs().DrawLine(ML(), y, right, y);
    vs().DrawLine(ML(), infoTop, ML(), y);
    vs().DrawLine(right, infoTop, right, y);
    auto field = [this](const char *name) { return rsSO.text(QString::fromLatin1(name)); };
    vs().AddTableRow(format,
                     {field("custpo"), field("terms"), field("salesman"), shortDate(rsSO, QStringLiteral("orddate")),
                      field("shipvia"), field("fob"), shortDate(rsSO, QStringLiteral("CancelDate"))});
    vs().setTextAlign(6);
}

QString GenericStyle::columnHeadingFormat() const
{
    return QStringLiteral("^2140|^4300|^1000|^1760|^1600;");
}

QString GenericStyle::columnHeadingText() const
{
    return QStringLiteral("ITEM NO|DESCRIPTION|ORDER|UNIT PRICE|AMOUNT;");
}

QString GenericStyle::itemLineFormat() const
{
    return QStringLiteral("<2240|<4460|<1000|^1500|^1600;");
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
    vs().AddTableRow(matrixCell ? QStringLiteral("<1540|^700|<4460|<1000|^1500|^1600;") : lineFormat, cells);
}

void GenericStyle::printPageFoot()
{
    // Total and remarks once, on the order's last page.
    if (moreLines)
        return;
    const double bottom = PH() - MB();
    vs().setCurrentX(ML());
    vs().setCurrentY(bottom - 2800);
    vs().AddTable(QStringLiteral("6600|>2000|>1800"), QString(),
                  "|Total :|" + vb::format(QVariant::fromValue(orderTotal), QStringLiteral("###,###,#00.00")));
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
