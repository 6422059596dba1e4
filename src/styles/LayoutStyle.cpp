#include "styles/LayoutStyle.h"

#include "printing/PrintJobLog.h"

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "runtime/VbFormat.h"

#include <cmath>

namespace {

const QString Title = QStringLiteral("KVR");

} // namespace

LayoutStyle::LayoutStyle(PageEngine &engine, const PrintRequest &request)
    : request(request)
    , m_engine(engine)
{
}

LayoutStyle::~LayoutStyle() = default;

QString LayoutStyle::run()
{
    try {
        selectOrders();
        setUpEngine();
        beginRun();
        bool any = false;
        while (!rsSO.eof()) {
            any = true;
            printOrderPages();
            if (request.preview) {
                // The previewed order stays current for the preview's overlays.
                if (!previewHoldsAllOrders())
                    break;
            } else {
                const QString failure = printOrder();
                if (!failure.isEmpty())
                    return failure;
            }
            rsSO.moveNext();
            if (!rsSO.eof() && !request.preview)
                vs().StartDoc();
        }
        endRun(any);
        if (!any && !request.preview)
            return request.allNewOrders
                ? QStringLiteral("There is no new sales order to print.")
                : QStringLiteral("No sales order from \"%1\" to \"%2\" was found.").arg(request.from, request.to);
        return {};
    } catch (const std::exception &e) {
        const QString description = QString::fromLocal8Bit(e.what());
        ShowErrorMessage(3, description);
        return description;
    }
}

QString LayoutStyle::ordersStatement() const
{
    if (request.allNewOrders)
        return QStringLiteral("select * from so where ordstatus=0 ");
    return QStringLiteral("select * from so where invno between '") + quoted(request.from) + QStringLiteral("' and '")
         + quoted(request.to) + QStringLiteral("' ");
}

QString LayoutStyle::linesStatement(const QString &invno) const
{
    return QStringLiteral("select * from sodetail where invno ='") + quoted(invno)
         + QStringLiteral("' order by linenum,autonum ");
}

void LayoutStyle::setMargins()
{
    vs().setMarginLeft(720);
    vs().setMarginRight(720);
    vs().setMarginTop(720);
    vs().setMarginBottom(720);
}

double LayoutStyle::computeLineLimit() const
{
    return PH() - MB() - 1400 - 200;
}

bool LayoutStyle::linePrints() const
{
    return !(backOrder && rsLines.number(QStringLiteral("qbord")) <= 0);
}

void LayoutStyle::selectOrders()
{
    pickingSheet = request.pickingSheet;
    rsCustomer = request.db.openTable(QStringLiteral("customer"), QStringLiteral("uididx"));
    rsSO = request.db.openUpdatable(ordersStatement());
}

void LayoutStyle::setUpEngine()
{
    vs().setDevice(request.printer);
    vs().setPhysicalPage(true);
    // Pages are completed, numbered and then printed by PrintDocument, one job per order.
    vs().setPreview(true);
    setMargins();
    WatchPrintJobs(vs());
    lineLimit = computeLineLimit();
    // The bands assume the engine's initial text and rule settings, whatever an earlier request
    // on the same engine left behind.
    vs().setFontName(QStringLiteral("Courier New"));
    vs().setFontSize(12);
    vs().setFontBold(false);
    vs().setTextAlign(6);
    vs().setLineSpacing(100);
    vs().setRuleWidth(0);
    vs().setRuleStyle(0);
    vs().setTableBorder(0);
    vs().StartDoc();
    firstPage = true;
}

void LayoutStyle::printOrderPages()
{
    backOrder = rsSO.number(QStringLiteral("ordtype")) != 0;
    rsLines = request.db.openSnapshot(linesStatement(rsSO.text(QStringLiteral("invno"))));
    vs().setDocName(rsSO.text(QStringLiteral("invno")));
    beginOrder();
    do {
        if (!firstPage)
            vs().NewPage();
        firstPage = false;
        printPageHeader();
        printItemLines();
        printPageFoot();
    } while (moreLines);
}

void LayoutStyle::printItemLines()
{
    moreLines = false;
    for (;;) {
        skipUnprintedLines();
        if (rsLines.eof())
            return;
        printItemRow();
        if (vs().CurrentY() > lineLimit) {
            // A page holding only lines the order does not print would be empty.
            skipUnprintedLines();
            moreLines = !rsLines.eof();
            return;
        }
    }
}

void LayoutStyle::skipUnprintedLines()
{
    while (!rsLines.eof() && !linePrints())
        rsLines.moveNext();
}

QString LayoutStyle::printOrder()
{
    const QString invno = rsSO.text(QStringLiteral("invno"));
    vs().EndDoc();
    overlayAllPages();
    const PrintResult printed = vs().PrintDocument();
    vs().Refresh();
    firstPage = true;
    if (!printed.ok) {
        // Nothing is marked: the order stays new and prints again with the next run.
        const QString reason = QStringLiteral("Sales order %1 was not printed: %2").arg(invno, printed.error);
        vs().KillDoc();
        ShowMessage(reason, Title, MessageIcon::Critical);
        return reason;
    }
    return markPrinted();
}

void LayoutStyle::overlayAllPages()
{
    const double savedFontSize = vs().FontSize();
    const int savedAlign = vs().TextAlign();
    vs().setFontSize(10);
    vs().setTextAlign(8);
    const int pageCount = vs().PageCount();
    for (int page = 1; page <= pageCount; ++page) {
        vs().StartOverlay(page);
        overlayPage(page, pageCount);
        vs().EndOverlay();
    }
    vs().setFontSize(savedFontSize);
    vs().setTextAlign(savedAlign);
}

QString LayoutStyle::markPrinted()
{
    try {
        if (rsSO.number(QStringLiteral("ordstatus")) == 0) {
            rsSO.setValue(QStringLiteral("ordstatus"), 1);
            rsSO.update();
        }
        return {};
    } catch (const std::exception &e) {
        if (rsSO.editPending())
            rsSO.cancelUpdate();
        const QString reason = QStringLiteral("Sales order %1 was printed, but it could not be marked as printed: %2")
                                   .arg(rsSO.text(QStringLiteral("invno")), QString::fromLocal8Bit(e.what()));
        ShowMessage(reason, Title, MessageIcon::Information);
        return reason;
    }
}

void LayoutStyle::endRun(bool anyOrder)
{
    // A preview stays ended on the engine: the print window shows it.
    if (request.preview) {
        vs().EndDoc();
        if (anyOrder)
            overlayPreview();
    }
    rsSO.close();
    rsLines.close();
    rsCustomer.close();
}

double LayoutStyle::ML() const { return vs().MarginLeft(); }
double LayoutStyle::MR() const { return vs().MarginRight(); }
double LayoutStyle::MB() const { return vs().MarginBottom(); }
double LayoutStyle::PW() const { return vs().PageWidth(); }
double LayoutStyle::PH() const { return vs().PageHeight(); }

bool LayoutStyle::seekCustomer()
{
    return rsCustomer.seek(QStringLiteral("="), {rsSO.value(QStringLiteral("CustNo"))});
}

QString LayoutStyle::quoted(QString text)
{
    DoubleQuotes(text);
    return text;
}

QString LayoutStyle::qty(const Recordset &rs, const QString &field)
{
    return vb::Str(rs.number(field));
}

QString LayoutStyle::money(const Recordset &rs, const QString &field)
{
    return vb::format(rs.value(field), QStringLiteral("###,###.00"));
}

QString LayoutStyle::shortDate(const Recordset &rs, const QString &field)
{
    return vb::format(rs.value(field), QStringLiteral("mm/dd/yy"));
}

QString LayoutStyle::leader(const QString &label, QChar fill, double width) const
{
    const double fillWidth = vs().MeasureText(QString(fill));
    if (fillWidth <= 0)
        return {};
    const double count = std::floor((width - vs().MeasureText(label) - 2 * fillWidth) / fillWidth);
    return count < 1 ? QString() : QString(int(count), fill);
}
