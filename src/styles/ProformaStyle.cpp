#include "styles/ProformaStyle.h"

#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"
#include "pageengine/PageTable.h"
#include "runtime/VbFormat.h"

#include <algorithm>

namespace {

constexpr double ItemTop = 1440 * 4.2; // 6048: the item area starts below the header overlay
const QString Blank = QStringLiteral("_______");

QString joined(const QStringList &parts)
{
    QStringList present;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            present << part;
    }
    return present.join(QStringLiteral("  "));
}

} // namespace

QString PrintProformaStyle(PageEngine &engine, const PrintRequest &request)
{
    ProformaStyle style(engine, request);
    return style.run();
}

void ProformaStyle::setMargins()
{
    LayoutStyle::setMargins();
    vs().setMarginTop(ItemTop);
}

void ProformaStyle::beginOrder()
{
    const bool customerFound = seekCustomer();
    billTo = customerFound ? billToCell() : QString();
    shipTo = customerFound ? shipToCell() : QString();

    if (!rsEmployee.isOpen())
        rsEmployee = request.db.openTable(QStringLiteral("employee"), QStringLiteral("uididx"));
    representative = rsEmployee.seek(QStringLiteral("="), {rsSO.value(QStringLiteral("salesman"))})
                       ? rsEmployee.text(QStringLiteral("uname"))
                       : QString();
    const QString terms = rsSO.text(QStringLiteral("terms"));
    Recordset rsTerms =
        request.db.openSnapshot(QStringLiteral("select uname from terms where uid ='") + quoted(terms) + "'");
    termsText = rsTerms.eof() ? terms : rsTerms.text(QStringLiteral("uname"));
}

// ---- item pass -----------------------------------------------------------------------------

void ProformaStyle::printPageHeader()
{
    vs().setFontBold(true);
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontSize(10);
    // Rows hang from their top, 100 twips under the top margin; the totals' fixed position
    // (14050, four rows to 14930) is measured the same way.
    vs().setTextAlign(0);
    vs().setCurrentY(ItemTop + 100);
    lineFormat = pickingSheet ? QStringLiteral("<2240|<4460|^1000|^1500|^1600;")
                              : QStringLiteral("<2000|<4400|^1000|<700|>1300|>1400;");
    vs().setFontBold(false);
    vs().setLineSpacing(120);
}

void ProformaStyle::printItemRow()
{
    auto field = [this](const char *name) { return rsLines.text(QString::fromLatin1(name)); };
    const QString quantity = qty(rsLines, backOrder ? QStringLiteral("qbord") : QStringLiteral("qord"));
    // A colour/size line shares its item number with the item's other colours and sizes: its
    // colour and size follow the description, or the line would not say what to pick.
    QString description = field("Description");
    const QString itype = field("itype");
    if (itype == QLatin1String("m") || itype == QLatin1String("mp")) {
        const QString variant = (field("rowtext") + " " + field("coltext")).trimmed();
        if (!variant.isEmpty())
            description += " " + variant;
    }
    if (pickingSheet)
        vs().AddTableRow(lineFormat, {field("itemno"), description + " ", quantity, Blank, Blank});
    else
        vs().AddTableRow(lineFormat,
                         {field("itemno"), description, quantity, field("um"), money(rsLines, QStringLiteral("unit")),
                          money(rsLines, QStringLiteral("extended"))});
    rsLines.moveNext();
}

void ProformaStyle::printPageFoot()
{
    vs().setLineSpacing(100);
    ruleAcross(vs().CurrentY() + 100);
    vs().setCurrentY(vs().CurrentY() + 300);
    vs().setFontBold(true);
    vs().AddTable(QStringLiteral("10800"), QString(), QStringLiteral("** REMARKS **"));
    vs().setFontBold(false);
    const QString remark = rsSO.text(QStringLiteral("remark"));
    if (!remark.trimmed().isEmpty())
        vs().AddTableRow(QStringLiteral("10800"), {remark});
    ruleAcross(vs().CurrentY() + 100);
    vs().setCurrentY(vs().CurrentY() + 400);
    // The totals stand above 14930, four lines from 14050; the tax, where the order has one,
    // on a line of its own above them, so that the TOTAL is what the lines above add up to.
    QList<QStringList> totals{{QString(), QStringLiteral("SUB TOTAL        :"), money(rsSO, QStringLiteral("amount"))}};
    if (rsSO.money(QStringLiteral("tax")) != Currency())
        totals << QStringList{QString(), QStringLiteral("TAX              :"), money(rsSO, QStringLiteral("tax"))};
    totals << QStringList{QString(), discountLabel(), money(rsSO, QStringLiteral("dc"))}
           << QStringList{QString(), QStringLiteral("SHIPPING CHG     :"), money(rsSO, QStringLiteral("freight"))}
           << QStringList{QString(), QStringLiteral("TOTAL            :"), money(rsSO, QStringLiteral("total"))};
    vs().setFontBold(true);
    const double lineHeight = PageFont::metrics(vs().FontName(), vs().FontSize(), true).lineSpacing();
    const double top = 14050 - (totals.size() - 4) * lineHeight;
    // Otherwise they go on a page of their own.
    if (vs().CurrentY() > top)
        vs().NewPage();
    vs().setCurrentY(top);
    for (const QStringList &row : totals)
        vs().AddTableRow(QStringLiteral("6900|<2500|>1400;"), row);
    vs().setFontBold(false);
}

QString ProformaStyle::discountLabel() const
{
    // The percent sign inside the brackets and the colon under the other labels' colons.
    const QVariant percent = rsSO.value(QStringLiteral("tdcpercent"));
    const QString label = !Recordset::isNullValue(percent) && vb::IsNumeric(percent)
                            ? "DISCOUNT (" + vb::format(percent, QStringLiteral("######.00")) + "%)"
                            : QStringLiteral("DISCOUNT (  )%");
    return label.leftJustified(17) + ":";
}

// ---- header overlay ------------------------------------------------------------------------

void ProformaStyle::overlayPage(int page, int pageCount)
{
    printDateAndPage(page, pageCount);
    printCompany();
    printTitleAndReference();
    printAddresses();
    printInformationBand();
    printColumnHeading();
}

void ProformaStyle::printDateAndPage(int page, int pageCount)
{
    const QDateTime now = request.now();
    vs().setCurrentY(720);
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontBold(false);
    vs().setFontSize(10);
    vs().setTextAlign(8);
    vs().Paragraph(vb::formatDateTime(now, QStringLiteral("mm/dd/yy")) + "  "
                   + vb::formatDateTime(now, QStringLiteral("hh:mm")) + "  " + "Page: " + QString::number(page) + "/"
                   + QString::number(pageCount));
    vs().Paragraph(QString());
}

void ProformaStyle::printCompany()
{
    const CompanyDetails &company = request.company;
    vs().setFontBold(true);
    vs().setFontSize(12);
    vs().setTextAlign(6);
    vs().Paragraph(company.name);
    vs().setFontBold(false);
    vs().setFontSize(10);
    vs().Paragraph(joined({company.address1, company.address2}));
    vs().Paragraph(joined({company.tel.isEmpty() ? QString() : "Tel: " + company.tel,
                           company.fax.isEmpty() ? QString() : "Fax: " + company.fax}));
    vs().Paragraph(QString());
}

void ProformaStyle::printTitleAndReference()
{
    // The title stands at the right of the line on which the date row starts at the left.
    vs().setTextAlign(7);
    if (pickingSheet) {
        vs().setFontSize(12);
        vs().Text(request.pickingSheetTitle);
    } else {
        vs().setFontSize(20);
        vs().Text(request.salesOrderTitle);
    }
    vs().setFontSize(10);
    vs().setTableBorder(0);
    vs().setCurrentX(ML());
    const QString format = QStringLiteral("<1200|<9600");
    vs().AddTableRow(format,
                     {QStringLiteral("DATE   :"), vb::formatDateTime(request.now(), QStringLiteral("MM/DD/YY"))});
    vs().AddTableRow(format, {QStringLiteral("P.O.NO :"), rsSO.text(QStringLiteral("custpo"))});
}

void ProformaStyle::printAddresses()
{
    vs().setFontBold(true);
    vs().AddTable(QStringLiteral("<5740|<5740;"), QString(), QStringLiteral("BILL TO:|SHIP TO:"));
    vs().setFontBold(false);
    vs().AddTableRow(QStringLiteral("<1200|<4560|<1200|<4560"), {QString(), billTo, QString(), shipTo});
}

QString ProformaStyle::billToCell() const
{
    auto field = [this](const char *name) { return rsCustomer.text(QString::fromLatin1(name)); };
    QStringList lines{field("uname"), field("address1")};
    if (!field("address2").isEmpty())
        lines << field("address2");
    lines << field("city") + ", " + field("st") + " " + field("zip") << "TEL:" + field("tel")
          << "ATTN :" + field("contact");
    return lines.join(CR);
}

QString ProformaStyle::shipToCell() const
{
    const QString name = rsSO.text(QStringLiteral("sadressname"));
    if (name == QStringLiteral(" None"))
        return {};
    const bool sameAsBillTo = name == QStringLiteral(" Same As Bill To");
    const Recordset &rs = sameAsBillTo ? rsCustomer : rsSO;
    auto field = [&rs](const char *name) { return rs.text(QString::fromLatin1(name)); };
    QStringList lines;
    if (sameAsBillTo) {
        lines << field("uname") << field("address1");
        if (!field("address2").isEmpty())
            lines << field("address2");
        lines << field("city") + ", " + field("st") + " " + field("zip");
    } else {
        if (!rsSO.isNull(QStringLiteral("sadressname")))
            lines << name;
        lines << field("sAddress1");
        if (!field("sAddress2").isEmpty())
            lines << field("sAddress2");
        lines << field("sCity") + ", " + field("sstate") + " " + field("szip");
    }
    return lines.join(CR);
}

void ProformaStyle::printInformationBand()
{
    vs().setCurrentY(1440 * 3.2);
    vs().setRuleWidth(20);
    vs().setRuleStyle(0);
    ruleAcross(vs().CurrentY());
    vs().setCurrentY(vs().CurrentY() + 300);
    vs().setRuleWidth(0);
    vs().setTableBorder(0);
    vs().setFontBold(true);
    // Columns sized for what they hold, REP and TERMS the widest: a representative's name or
    // terms text such as "Cash On Delivery" fits at the band's size, with room between them.
    const QString format = QStringLiteral("^1300|^1200|^1500|^1300|^2100|^2100|^1300;");
    vs().AddTable(format, QString(), QStringLiteral("ORDER #|SHIP DATE|CANCEL DATE|SHIP VIA|REP|TERMS|F.O.B;"));
    vs().setCurrentY(vs().CurrentY() - 100);
    vs().setRuleStyle(2);
    ruleAcross(vs().CurrentY());
    vs().setCurrentY(vs().CurrentY() + 300);
    addOneLineRow(format,
                  {rsSO.text(QStringLiteral("invno")),
                   vb::format(rsSO.value(QStringLiteral("orddate")), QStringLiteral("MM/DD/YY")),
                   vb::format(rsSO.value(QStringLiteral("CancelDate")), QStringLiteral("MM/DD/YY")),
                   rsSO.text(QStringLiteral("shipvia")), representative, termsText, rsSO.text(QStringLiteral("fob"))});
    vs().setFontBold(false);
    vs().setRuleStyle(0);
    vs().setRuleWidth(20);
    vs().setCurrentY(vs().CurrentY() - 100);
    ruleAcross(vs().CurrentY());
    vs().setCurrentY(vs().CurrentY() + 400);
}

void ProformaStyle::addOneLineRow(const QString &format, const QStringList &cells)
{
    // The band has room for one line between its rules, and the items below it are already laid
    // out: a name wider than its column is written smaller (down to 7 points) rather than
    // wrapped into the rules and the first item row.
    const double size = vs().FontSize();
    const double lineHeight =
        PageFont::metrics(vs().FontName(), size, vs().FontBold()).lineSpacing() * vs().LineSpacing() / 100.0;
    const auto columns = PageTable::parseFormat(format);
    auto fits = [&] {
        for (int c = 0; columns && c < cells.size() && c < columns->size(); ++c) {
            if (vs().MeasureText(cells[c]) > columns->at(c).width - 2 * PageEngine::CellPadding)
                return false;
        }
        return true;
    };
    for (double smaller = size - 1; smaller >= 7 && !fits(); smaller -= 1)
        vs().setFontSize(smaller);
    const double baseline = vs().CurrentY();
    vs().AddTableRow(format, cells);
    vs().setFontSize(size);
    vs().setCurrentY(std::max(vs().CurrentY(), baseline + lineHeight));
}

void ProformaStyle::printColumnHeading()
{
    vs().setFontBold(true);
    if (pickingSheet)
        vs().AddTable(QStringLiteral("<2240|<4460|^1000|^1500|^1600;"), QString(),
                      QStringLiteral("ITEM NO|DESCRIPTION|ORDER|SHIPPED|BACK ORDERED;"));
    else
        vs().AddTable(QStringLiteral("<2000|<4400|^1000|<700|>1300|>1400;"), QString(),
                      QStringLiteral("ITEM NO|DESCRIPTION|QTY|U/M|PRICE|TOTAL;"));
    vs().setFontBold(false);
    vs().setRuleStyle(0);
    vs().setRuleWidth(10);
    vs().setCurrentY(vs().CurrentY() - 100);
    ruleAcross(vs().CurrentY());
    vs().setCurrentY(vs().CurrentY() + 50);
    ruleAcross(vs().CurrentY());
    vs().setRuleStyle(0);
    vs().setRuleWidth(0);
}

void ProformaStyle::ruleAcross(double y)
{
    vs().DrawLine(ML(), y, PW() - MR(), y);
}
