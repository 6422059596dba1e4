#include "styles/GroupStyle.h"

#include "printing/AddressCells.h"
#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "printing/TransactionCounter.h"

namespace {

constexpr double SheetWidth = 12240; // 8.5 inches: the bands are drawn for Letter paper
const QString PageLabel = QStringLiteral("Page:      ");
// The label's blanks after the first one: the page number is written over them.
const QString NumberRoom = QStringLiteral("     ");

} // namespace

QString PrintGroupStyle(PageEngine &engine, const PrintRequest &request)
{
    GroupStyle style(engine, request);
    return style.run();
}

void GroupStyle::beginRun()
{
    TransactionCounter::ensureRow(request.db, request.now().date());
}

QString GroupStyle::linesStatement(const QString &invno) const
{
    QString quoted = invno;
    DoubleQuotes(quoted);
    return QStringLiteral("select * from sodetail where invno ='") + quoted + QStringLiteral("' order by autonum ");
}

void GroupStyle::printPageHeader()
{
    lineLimit = computeLineLimit() - (footHeight() - 1400);
    printTitle();
    printPageLabel();
    printDateBox();
    printGroupAddresses();
    printInformationTable();
    printItemFrame();
    printGroupColumnHeading();
    // The lines in the heading's columns: their own widths (2200, 4010, 1000, 1700, 2000) add up
    // to 10910, wider than the 10800 between the margins, so the frame's right rule ran through
    // the amounts.
    lineFormat = QStringLiteral("<1640|<4960|>1000|>1600|>1600;");
    vs().setTableBorder(0);
}

void GroupStyle::printPageLabel()
{
    vs().setFontBold(false);
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontSize(10);
    vs().Paragraph(QString());
    // Centred under the title, as the title's alignment still says.
    vs().Text(PageLabel);
    pageNumberX = vs().CurrentX() - vs().MeasureText(NumberRoom);
    pageNumberY = vs().CurrentY();
    vs().Paragraph(QString());
    vs().setFontBold(false);
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontSize(12);
}

void GroupStyle::printGroupAddresses()
{
    const QString format = QStringLiteral("<5760|<5760;");
    vs().setTableBorder(0);
    vs().setCurrentX(ML());
    vs().AddTable(format, QString(), QStringLiteral("BILL TO|SHIP TO"));
    vs().AddTableRow(format,
                     {seekCustomer() ? AddressCells::billTo(rsCustomer) : QString(), AddressCells::shipTo(rsSO)});
}

void GroupStyle::printGroupColumnHeading()
{
    vs().AddTable(QStringLiteral("^1640|^4960|^1000|^1600|^1600;"), QString(),
                  QStringLiteral("ITEM NO|DESCRIPTION|QTY|UNIT PRICE|TOTAL;"));
    const double y = vs().CurrentY();
    vs().DrawLine(ML(), y, SheetWidth - MR(), y);
    vs().setCurrentY(y + 400);
}

void GroupStyle::printItemRow()
{
    auto field = [this](const char *name) { return rsLines.text(QString::fromLatin1(name)); };
    const QString quantity = qty(rsLines, backOrder ? QStringLiteral("qbord") : QStringLiteral("qord"));
    if (field("itype") == QLatin1String("m"))
        vs().AddTableRow(lineFormat, {QString(), "     " + field("Description"), quantity});
    else
        vs().AddTableRow(lineFormat, {field("itemno"), field("Description"), quantity,
                                      money(rsLines, QStringLiteral("unit")), money(rsLines, QStringLiteral("extended"))});
    rsLines.moveNext();
}

void GroupStyle::printPageFoot()
{
    const double y = PH() - MB() - footHeight();
    vs().setCurrentX(SheetWidth - ML() - MR() - 4000);
    vs().setCurrentY(y);
    vs().DrawLine(ML(), y, SheetWidth - MR(), y);
    vs().setCurrentY(y + 200);
    vs().setTextAlign(2);
    printTotalsAndRemarks();
}

void GroupStyle::overlayPage(int page, int pageCount)
{
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontBold(false);
    vs().setFontSize(10);
    vs().setTextAlign(6);
    vs().setCurrentY(pageNumberY);
    vs().setCurrentX(pageNumberX);
    vs().Text(QString::number(page) + "/" + QString::number(pageCount));
}
