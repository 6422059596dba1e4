#include "RegularStyle.h"

#include "Module1.h"
#include "PageEngine.h"
#include "VbFormat.h"

namespace {

constexpr double SheetWidth = 12240; // 8.5 inches: the bands are drawn for Letter paper
constexpr double DescriptionWidth = 4460;
const QString CR = QStringLiteral("\r");
const QString FiveBlanks = QStringLiteral("     ");
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
    printTitle();
    printBodyFont();
    printDateBox();
    printAddresses();
    printInformationTable();
    printItemFrame();
    printColumnHeading();
    lineFormat = pickingSheet ? QStringLiteral("<2240|<4460|<1000|^1500|^1600;")
                              : QStringLiteral("<2240|<4460|>1000|>1500|>1600;");
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
    const double right = PW() - MR();
    vs().setCurrentX(right - 3080);
    boxX = vs().CurrentX();
    boxTop = vs().CurrentY();
    vs().DrawLine(boxX, vs().CurrentY(), right, vs().CurrentY());
    vs().setCurrentY(vs().CurrentY() + 350);
    vs().setTableBorder(0);
    vs().AddTable(QStringLiteral("^1440|^1640;"), QString(), QStringLiteral("DATE|ORDER NO;"));
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
    vs().AddTable(format, QString(),
                  QStringLiteral("BILL TO") + " ( Acct # : " + rsSO.text(QStringLiteral("CustNo")) + " )" + "|"
                      + "SHIP TO");
    // Without a customer row there is no address to show: an empty row keeps the band's shape.
    vs().AddTable(format, QString(), seekCustomer() ? addressRow() : QStringLiteral("|;"));
}

QString RegularStyle::billToCell() const
{
    auto field = [this](const char *name) { return rsCustomer.text(QString::fromLatin1(name)); };
    return field("uname") + CR + field("address1") + CR + field("address2") + CR + field("city") + ", " + field("st")
         + ", " + field("zip") + CR + field("tel") + "  " + field("contact");
}

QString RegularStyle::addressRow() const
{
    const QString bill = billToCell();
    const QString shipTo = rsSO.text(QStringLiteral("sadressname"));
    if (shipTo == QStringLiteral(" None"))
        return bill + "|";
    if (shipTo == QStringLiteral(" Same As Bill To"))
        return bill + "|" + bill;
    auto field = [this](const char *name) { return rsSO.text(QString::fromLatin1(name)); };
    return bill + "|" + shipTo + CR + field("sAddress1") + CR + field("sAddress2") + CR + field("sCity") + ", "
         + field("sstate") + ", " + field("szip") + ";";
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
    vs().AddTable(QStringLiteral("^2240|^4460|^1000|^1500|^1600;"), QString(),
                  pickingSheet ? QStringLiteral("ITEM NO|DESCRIPTION|ORDER|SHIPPED|BACK ORDERED;")
                               : QStringLiteral("ITEM NO|DESCRIPTION|QTY|UNIT PRICE|TOTAL;"));
    const double y = vs().CurrentY();
    vs().DrawLine(ML(), y, SheetWidth - MR(), y);
    vs().setCurrentY(y + 400);
}

void RegularStyle::printItemRow()
{
    auto field = [this](const char *name) { return rsLines.text(QString::fromLatin1(name)); };
    const QString itemno = field("itemno");
    const QString description = field("Description");
    QString row;
    if (isMatrixItem(field("itype"))) {
        if (itemno != previousMatrixItem) {
            // The heading row first; the same line then prints as its cell row.
            row = pickingSheet ? itemno + "|" + description + " " + leader(description, u'*', DescriptionWidth)
                               : itemno + "|" + description;
            previousMatrixItem = itemno;
            vs().AddTable(lineFormat, QString(), row);
            return;
        }
        const QString variant = FiveBlanks + field("rowtext") + FiveBlanks + field("coltext");
        const QString quantity = qty(rsLines, QStringLiteral("qord"));
        row = pickingSheet ? "|" + variant + " " + leader(variant, u'-', DescriptionWidth) + "|" + quantity + "|"
                                 + Blank + "|" + Blank
                           : "|" + variant + "|" + quantity + "|" + money(rsLines, QStringLiteral("unit")) + "|"
                                 + money(rsLines, QStringLiteral("extended"));
    } else {
        const QString quantity = qty(rsLines, backOrder ? QStringLiteral("qbord") : QStringLiteral("qord"));
        row = pickingSheet ? itemno + "|" + description + " " + leader(description, u'*', DescriptionWidth) + "|"
                                 + quantity + "|" + Blank + "|" + Blank + ";"
                           : itemno + "|" + description + "|" + quantity + "|"
                                 + money(rsLines, QStringLiteral("unit")) + "|"
                                 + money(rsLines, QStringLiteral("extended")) + ";";
    }
    vs().AddTable(lineFormat, QString(), row);
    rsLines.moveNext();
}

void RegularStyle::printPageFoot()
{
    const double right = SheetWidth - MR();
    const double bottom = PH() - MB();
    vs().setCurrentX(SheetWidth - ML() - MR() - 4000);
    vs().setCurrentY(bottom - 1400);
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
    const QString totals = QStringLiteral(">1600|>1600");
    vs().AddTable(totals, QString(), "Sub Total|" + money(rsSO, QStringLiteral("amount")) + ";", QVariant(),
                  QVariant(), false);
    vs().AddTable(totals, QString(), "Freight|" + money(rsSO, QStringLiteral("freight")) + ";");
    vs().AddTable(totals, QString(), "Discount|" + money(rsSO, QStringLiteral("dc")) + ";");
    vs().setFontBold(true);
    vs().AddTable(totals, QString(), "TOTAL|" + money(rsSO, QStringLiteral("total")) + ";");
    vs().setFontBold(false);

    vs().setTextAlign(0);
    vs().BoxedText("** REMARKS **" + CR + rsSO.text(QStringLiteral("remark")), ML() + 400, bottom - 1250, 6000, 1200);
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
    auto writeFitted = [&](const QString &text, double size) {
        vs().setFontSize(size);
        for (double smaller = size - 1; smaller >= 8 && vs().MeasureText(text) > room; smaller -= 1)
            vs().setFontSize(smaller);
        vs().Paragraph(text);
    };
    const CompanyDetails &company = request.company;
    vs().setCurrentX(titleEndX);
    vs().setCurrentY(topY);
    vs().setTextAlign(6);
    vs().setFontBold(true);
    writeFitted(company.name, 14);
    vs().setLineSpacing(80);
    vs().setFontBold(false);
    const QString tel = company.tel.isEmpty() ? QString() : "Tel: " + company.tel;
    const QString fax = company.fax.isEmpty() ? QString() : "Fax: " + company.fax;
    for (const QString &line : {company.address1, company.address2, tel, fax}) {
        if (!line.isEmpty())
            writeFitted(line, 12);
    }
    vs().setLineSpacing(100);
}
