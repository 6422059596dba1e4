#include "styles/GroupDescStyle.h"

#include "styles/CompanyBlock.h"
#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"
#include "runtime/VbFormat.h"

namespace {

// The sheet's fixed bands are placed for a page with 720-twip margins all round, also when the
// items of a print run between larger ones.
constexpr double Edge = 720;
constexpr double PrintTop = 6400;
constexpr double PrintBottom = 2260;
// The variant line stands under the description and is wrapped at this width (less one blank).
constexpr double VariantWidth = 5340;

} // namespace

QString PrintGroupDescStyle(PageEngine &engine, const PrintRequest &request)
{
    GroupDescStyle style(engine, request);
    return style.run();
}

QString GroupDescStyle::baseItem(const QString &itemno)
{
    const int dash = itemno.indexOf(u'-');
    return dash < 0 ? itemno : itemno.left(dash);
}

// The one place that decides the variant line's entry: the variant followed by its quantity
// as "-(12)", so the items AB-S, AB-M and AB-XL ordered 12, 6 and 2 read "S-(12)  M-(6)  XL-(2)"
// under "AB". The variant is the part of the item number after its first "-"; a matrix line,
// whose item number is the same for all its colours and sizes, is named by its colour and size
// ("BLACK L-(12)"), so the picker sees which to pick; any other line without a "-" is ".".
// Entries are separated by two blanks and never split.
QString GroupDescStyle::variantEntry(const QString &itemno, const QString &colourAndSize, double quantity)
{
    const int dash = itemno.indexOf(u'-');
    const QString variant = !colourAndSize.isEmpty() ? colourAndSize
                          : dash < 0                 ? QStringLiteral(".")
                                                     : itemno.mid(dash + 1);
    return variant + vb::formatNumber(quantity, QStringLiteral("-(###0")) + ")";
}

QString GroupDescStyle::linesStatement(const QString &invno) const
{
    return QStringLiteral("select * from sodetail where invno ='") + quoted(invno)
         + QStringLiteral("' order by linenum ");
}

void GroupDescStyle::setMargins()
{
    vs().setMarginLeft(Edge);
    vs().setMarginRight(Edge);
    vs().setMarginTop(request.preview ? Edge : PrintTop);
    vs().setMarginBottom(request.preview ? Edge : PrintBottom);
}

double GroupDescStyle::computeLineLimit() const
{
    // A print has no page test: the engine breaks at the bottom margin.
    return request.preview ? PH() - MB() - 1400 - 200 : NoLineLimit;
}

void GroupDescStyle::beginOrder()
{
    topY = Edge;
    quantityTotal = 0;
    for (rsLines.moveFirst(); !rsLines.eof(); rsLines.moveNext()) {
        if (linePrints())
            quantityTotal += rsLines.number(groupQuantityField());
    }
    rsLines.moveFirst();
}

void GroupDescStyle::printPageHeader()
{
    vs().setTableBorder(0);
    if (request.preview) {
        printSheetHeader();
    } else {
        vs().setFontBold(false);
        vs().setFontName(QStringLiteral("Courier New"));
        vs().setFontSize(12);
        // Rows hang from the top margin on the first page as on the pages the engine adds.
        vs().setTextAlign(0);
    }
    vs().setTableBorder(0);
    pageHasGroup = false;
}

// ---- groups ---------------------------------------------------------------------------------

GroupDescStyle::VariantGroup GroupDescStyle::takeGroup()
{
    VariantGroup group;
    const QString base = baseItem(rsLines.text(QStringLiteral("itemno")));
    group.description = rsLines.text(QStringLiteral("Description"));
    group.unit = rsLines.money(QStringLiteral("unit"));
    group.sharedUnit = true;
    while (!rsLines.eof() && baseItem(rsLines.text(QStringLiteral("itemno"))) == base) {
        // A back order lists what is back-ordered: lines with nothing to pick are left out.
        if (!linePrints()) {
            rsLines.moveNext();
            continue;
        }
        group.sharedUnit = group.sharedUnit && rsLines.money(QStringLiteral("unit")) == group.unit;
        const double quantity = rsLines.number(groupQuantityField());
        group.quantity += quantity;
        group.amount += rsLines.money(QStringLiteral("extended"));
        const QString itype = rsLines.text(QStringLiteral("itype"));
        const QString colourAndSize =
            itype == QStringLiteral("m") || itype == QStringLiteral("mp")
                ? (rsLines.text(QStringLiteral("rowtext")) + " " + rsLines.text(QStringLiteral("coltext"))).trimmed()
                : QString();
        group.entries << variantEntry(rsLines.text(QStringLiteral("itemno")), colourAndSize, quantity);
        rsLines.moveNext();
    }
    return group;
}

void GroupDescStyle::printItemRow()
{
    const VariantGroup group = takeGroup();
    vs().setFontBold(false);
    const QString variants = wrappedEntries(group.entries, VariantWidth - vs().MeasureText(QStringLiteral(" ")));

    // A group stays on one page: its rows move on together when they would pass the bottom margin.
    const int lines = 1 + int(variants.count(CR)) + 1;
    const bool hangs = vs().TextAlign() == 0 || vs().TextAlign() == 2;
    const double top =
        vs().CurrentY() - (hangs ? 0 : PageFont::metrics(vs().FontName(), vs().FontSize(), true).ascent());
    if (pageHasGroup && top + lines * lineHeight() > PH() - MB()) {
        vs().NewPage();
        printPageHeader();
    }

    // The price of a group is the unit price its lines share; blank when they differ (an amount
    // per piece, 3.13 for an 11.25 item of a back order, is no price of any item).
    const QString money = QStringLiteral("######.00");
    vs().setFontBold(true);
    vs().AddTableRow(QStringLiteral(">1000|<130|<6460|>1600|>1600;"),
                     {vb::formatNumber(group.quantity, QStringLiteral("###0")), QString(), group.description,
                      group.sharedUnit ? vb::format(QVariant::fromValue(group.unit), money) : QString(),
                      vb::format(QVariant::fromValue(group.amount), money)});
    vs().setFontBold(false);
    vs().AddTableRow(QStringLiteral(">1000|>100|>10|<20|<9660"),
                     {QString(), QString(), QString(), QString(), variants});
    pageHasGroup = true;
}

QString GroupDescStyle::wrappedEntries(const QStringList &entries, double width) const
{
    QStringList lines;
    for (const QString &entry : entries) {
        if (!lines.isEmpty() && vs().MeasureText(lines.last() + "  " + entry) <= width)
            lines.last() += "  " + entry;
        else
            lines << entry;
    }
    return lines.join(CR);
}

double GroupDescStyle::lineHeight() const
{
    return PageFont::metrics(vs().FontName(), vs().FontSize(), vs().FontBold()).lineSpacing() * vs().LineSpacing()
         / 100.0;
}

// ---- page header -----------------------------------------------------------------------------

void GroupDescStyle::printSheetHeader()
{
    vs().setFontBold(true);
    vs().setFontName(QStringLiteral("Arial"));
    vs().setFontSize(QStringLiteral("15"));
    vs().setTextAlign(8);
    vs().setCurrentY(topY);
    titleWidth = vs().MeasureText(request.pickingSheetTitle);
    vs().Text(request.pickingSheetTitle + CR);
    vs().setFontBold(false);
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontSize(12);
    vs().Paragraph(QString());
    vs().Text(QStringLiteral("Page:     "));
    pageLabelX = vs().CurrentX();
    pageLabelY = vs().CurrentY();
    vs().Paragraph(QString());

    printBoxedDate(true);
    printSheetAddresses();
    printSheetInformation();
    printSheetItemFrame();
}

void GroupDescStyle::printSheetAddresses()
{
    const QString format = QStringLiteral("<5760|<5760;");
    vs().setTableBorder(0);
    vs().setCurrentX(ML());
    vs().setFontBold(true);
    vs().AddTable(format, QString(), QStringLiteral("BILL TO :|SHIP TO :"));
    vs().setFontBold(false);
    if (!seekCustomer()) {
        vs().AddTableRow(format, {QString(), QString()});
        return;
    }
    auto field = [this](const char *name) { return rsCustomer.text(QString::fromLatin1(name)); };
    const QString bill = field("uname") + CR + field("address1") + CR + field("address2") + CR + field("city") + ", "
                       + field("st") + ", " + field("zip") + CR + "Phone : " + field("tel");
    vs().AddTableRow(format, addressRow(bill));
}

void GroupDescStyle::printSheetInformation()
{
    const QString format = QStringLiteral("^2000|^1440|^1440|^1440|^1440|^1440|^1440;");
    const double right = SheetWidth - MR();
    vs().setCurrentY(4320);
    infoTop = vs().CurrentY();
    ruleAcross(infoTop);
    vs().setCurrentY(infoTop + 430);
    vs().AddTable(format, QString(), QStringLiteral("Acct. No.|TERMS|REP|SHIP|VIA|PO. No.|ORD DATE;"));
    vs().setCurrentY(4997);
    const double y = vs().CurrentY() - 50;
    ruleAcross(y);
    vs().DrawLine(ML(), infoTop, ML(), y);
    vs().DrawLine(right, infoTop, right, y);
    vs().setCurrentY(vs().CurrentY() + 300);
    auto field = [this](const char *name) { return rsSO.text(QString::fromLatin1(name)); };
    vs().AddTableRow(format,
                     {field("CustNo"), field("terms"), field("salesman"), shortDate(rsSO, QStringLiteral("orddate")),
                      field("shipvia"), field("custpo"), shortDate(rsSO, QStringLiteral("invdate"))});
}

void GroupDescStyle::printSheetItemFrame()
{
    const double right = SheetWidth - MR();
    const double bottom = PH() - Edge;
    vs().setCurrentY(5544);
    itemTop = vs().CurrentY();
    ruleAcross(itemTop);
    vs().DrawLine(ML(), itemTop, ML(), bottom);
    vs().DrawLine(right, itemTop, right, bottom);
    ruleAcross(bottom);
    vs().setCurrentY(itemTop + 430);
    vs().AddTable(QStringLiteral("^1000|<140|<6460|>1600|>1600;"), QString(), QStringLiteral("QTY||DESCRIPTION|||;"));
    vs().setCurrentY(6221);
    ruleAcross(vs().CurrentY());
    vs().setCurrentY(vs().CurrentY() + 400);
}

void GroupDescStyle::ruleAcross(double y)
{
    vs().DrawLine(ML(), y, SheetWidth - MR(), y);
}

// ---- overlays --------------------------------------------------------------------------------

void GroupDescStyle::overlayPage(int page, int pageCount)
{
    printSheetHeader();
    printFoot();
    // The number follows its label ("Page:     1/2"), so it is written from the label's end.
    vs().setFontSize(12);
    vs().setTextAlign(6);
    vs().setCurrentX(pageLabelX);
    vs().setCurrentY(pageLabelY);
    vs().Paragraph(QString::number(page) + "/" + QString::number(pageCount));
    printCompany();
}

void GroupDescStyle::printFoot()
{
    // Below the item area (which ends at the 2260 bottom margin) and inside the frame, so it
    // never covers a row.
    const double top = PH() - Edge - 1400;
    vs().setFontBold(false);
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontSize(12);
    vs().setCurrentX(SheetWidth - ML() - MR() - 4000);
    vs().setCurrentY(top);
    ruleAcross(top);
    vs().setCurrentY(top + 200);
    vs().setTextAlign(2);
    vs().AddTable(QStringLiteral(">1600|>1600"), QString(), QStringLiteral("Packed By:"), QVariant(), QVariant(),
                  false);
    vs().setTextAlign(0);
    const QString remark = rsSO.text(QStringLiteral("remark"));
    QString text = "Total Qty:" + vb::formatNumber(quantityTotal, QStringLiteral("#####0"));
    if (!remark.isEmpty())
        text += CR + "** REMARKS **" + CR + remark;
    vs().BoxedText(text, ML() + 400, PH() - Edge - 1300, 7000, 1300);
}

void GroupDescStyle::printCompany()
{
    // Level with the title, clear of it and of the page label.
    const double room = (ML() + PW() - MR()) / 2 - titleWidth / 2 - ML() - 360;
    vs().setCurrentX(ML());
    vs().setCurrentY(topY);
    vs().setTextAlign(6);
    vs().setFontName(QStringLiteral("Courier New"));
    CompanyBlock::write(vs(), request.company.name, CompanyBlock::addressLines(request.company), 24, 10, room);
}

void GroupDescStyle::overlayPreview()
{
    const double savedSize = vs().FontSize();
    const int savedAlign = vs().TextAlign();
    for (int page = 1; page <= vs().PageCount(); ++page) {
        vs().StartOverlay(page);
        printCompany();
        vs().EndOverlay();
    }
    vs().setFontSize(savedSize);
    vs().setTextAlign(savedAlign);
}
