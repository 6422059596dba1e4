#include "printing/GenericPrintRun.h"

#include "printing/PrintJobLog.h"

#include "module1/Module1.h"
#include "pageengine/PageEngine.h"
#include "pageengine/PageFont.h"

#include <algorithm>
#include <cmath>

namespace {

const QString Title = QStringLiteral("KVR");
const QString PackedBy = QStringLiteral("PACKED BY___________________________________");

// Printers reach no closer to the sheet's edge than this (a quarter inch).
constexpr double PrintableEdge = 360;
// Rule above a column header, the gap to the header text and the text itself.
constexpr double RuleSpace = 300;

// Failed attempts at marking the orders printed before the run gives up.
constexpr int MarkRetries = 10;

QString quoted(QString text)
{
    DoubleQuotes(text);
    return text;
}

} // namespace

QString PrintGenericRun(PageEngine &engine, const PrintRequest &request)
{
    GenericPrintRun run(engine, request);
    return run.mDBStartPrintDoc();
}

GenericPrintRun::GenericPrintRun(PageEngine &engine, const PrintRequest &request)
    : vs(engine)
    , request(request)
{
}

void GenericPrintRun::mPrintInit(const QString &sDevice)
{
    vs.setPhysicalPage(true);
    if (!sDevice.isEmpty())
        vs.setDevice(sDevice);
    else
        vs.setDefaultDevice(true);
    // The finished pages get their labels before PrintDocument sends them as one job.
    vs.setPreview(true);
    vs.setFontName(QStringLiteral("Courier New"));
    vs.setFontSize(12);
    WatchPrintJobs(vs);
    vs.StartDoc();
    vs.setLineSpacing(100);
    const double before = vs.CurrentY();
    vs.Paragraph(QString());
    mLineHeight = vs.CurrentY() - before;
    vs.setMarginLeft(720);
    vs.setMarginRight(720);
    vs.setMarginTop(720);
    vs.setMarginBottom(720);
    vs.setCurrentX(vs.MarginLeft());
    vs.setCurrentY(720);
    vs.setTableBorder(0);
}

QString GenericPrintRun::ordersStatement(bool allNew) const
{
    if (allNew)
        return QStringLiteral("SELECT * FROM so WHERE ordstatus = 0;");
    if (!request.to.trimmed().isEmpty())
        return QStringLiteral("SELECT * FROM so WHERE invno BETWEEN '") + quoted(request.from) + QStringLiteral("' AND '")
             + quoted(request.to) + QStringLiteral("';");
    return QStringLiteral("SELECT * FROM so WHERE invno ='") + quoted(request.from) + QStringLiteral("'");
}

QString GenericPrintRun::mDBStartPrintDoc()
{
    try {
        mOrderCount = 0;
        mPageCount = {};
        mLaidOut.clear();

        QString flag = request.sheetFlag.trimmed().toUpper();
        const bool allNew = flag.size() == 2 && flag[0] == flag[1];
        mSheetFlag = flag.left(1);
        if (mSheetFlag != QLatin1String("C") && mSheetFlag != QLatin1String("B"))
            mSheetFlag = QStringLiteral("F");

        mrsSO = request.db.openSnapshot(ordersStatement(allNew));
        if (mrsSO.eof()) {
            const QString message = LoadResMessage(3000, request.from);
            ShowMessage(message, Title, MessageIcon::Critical);
            return message;
        }

        mPrintInit(request.printer);
        bool firstSheet = true;
        for (; !mrsSO.eof(); mrsSO.moveNext()) {
            if (mOrderCount == MaxOrders) {
                ShowMessage(LoadResMessage(5000, mrsSO.text(QStringLiteral("invno"))), Title, MessageIcon::Critical);
                break;
            }
            layOutOrder(firstSheet);
        }

        if (mOrderCount == 0) {
            vs.KillDoc();
            const QString message =
                QStringLiteral("No picking sheet to print: none of the selected sales orders has changed lines.");
            ShowMessage(message, Title, MessageIcon::Information);
            return message;
        }
        mDBEndActionPrint();
        if (request.preview)
            return {};
        return printAndMark();
    } catch (const std::exception &e) {
        vs.KillDoc();
        const QString description = QString::fromLocal8Bit(e.what());
        ShowErrorMessage(3, description);
        return description;
    }
}

void GenericPrintRun::layOutOrder(bool &firstSheet)
{
    const QString invno = mrsSO.text(QStringLiteral("invno"));
    qint64 lVersionStamp = 0;
    mRemark = mrsSO.text(QStringLiteral("remark"));

    if (mSheetFlag != QLatin1String("F")) {
        const Recordset latest = request.db.openSnapshot(
            QStringLiteral("SELECT MAX(versionstamp) FROM sochanged WHERE invno = '") + quoted(invno) + QStringLiteral("';"));
        if (!latest.eof() && !Recordset::isNullValue(latest.value(0))) {
            lVersionStamp = qint64(ValueOrZero(latest.value(0)));
        } else {
            // "All Selected": from here on the orders print in full.
            if (!request.allNewOrders)
                mSheetFlag = QStringLiteral("F");
            if (mSheetFlag == QLatin1String("C"))
                return;
        }
    }

    // A page is started only for an order that is laid out: no blank page for skipped orders.
    if (!firstSheet)
        vs.NewPage();
    firstSheet = false;
    mOrderCount += 1;
    mLaidOut << invno;
    mIsBackOrder = mrsSO.number(QStringLiteral("ordtype")) == 1;

    mPageCount[mOrderCount][sheetSlot()] += 1;
    const double y = mDBChoiceHeaderPrint(4, mSheetFlag, mSheetFlag);
    if (mSheetFlag == QLatin1String("C")) {
        mDBOnlyChangedPrint(invno, y, lVersionStamp, mSheetFlag);
        return;
    }
    mDBFullItemPrint(invno, y, mSheetFlag);
    if (mSheetFlag == QLatin1String("B") && lVersionStamp > 0)
        mDBOnlyChangedPrint(invno, startChangedPart(), lVersionStamp, mSheetFlag);
}

double GenericPrintRun::startChangedPart()
{
    // Empty line, heading, column header and one row: below the full list when they fit above
    // the bottom margin, else on a counted page of the sheet that starts with the top header.
    vs.setFontBold(false);
    vs.setFontSize(12);
    const double headingLine = PageFont::metrics(vs.FontName(), 15, true).lineSpacing();
    const double needed = mLineHeight + headingLine + RuleSpace + 2 * mLineHeight + 100;
    if (vs.CurrentY() + needed > vs.PageHeight() - vs.MarginBottom()) {
        mPageCount[mOrderCount][BothSlot] += 1;
        vs.NewPage();
        vs.setCurrentY(sheetTopSections(mSheetFlag));
    }
    vs.Paragraph(QString());
    vs.setFontBold(true);
    vs.setFontSize(15);
    vs.Paragraph(QStringLiteral("CHANGED ONLY"));
    vs.setFontBold(false);
    vs.setFontSize(12);
    return mDBChoiceHeaderPrint(0, mSheetFlag, QStringLiteral("C"));
}

int GenericPrintRun::sheetSlot() const
{
    if (mSheetFlag == QLatin1String("C"))
        return ChangedSlot;
    if (mSheetFlag == QLatin1String("B"))
        return BothSlot;
    return FullSlot;
}

void GenericPrintRun::mDBEndActionPrint()
{
    vs.EndDoc();
    // The "PACKED BY" line stands one line above this base line: with equal top and bottom
    // margins that is one line above the foot of the sheet.
    const double baseLine = std::round(vs.PageHeight() - (vs.MarginTop() - vs.MarginBottom()));
    int page = 1;
    int k = 0;
    for (int i = 1; i <= mOrderCount; ++i) {
        for (; page <= vs.PageCount(); ++page) {
            vs.StartOverlay(page);
            k += 1;
            vs.setFontSize(10);
            vs.setFontBold(false);
            vs.setTextAlign(8);
            vs.setCurrentX(vs.MarginLeft());
            vs.setCurrentY(vs.MarginTop());
            bool found = false;
            int n = mPageCount[i][BothSlot];
            if (n < 1 || k > n)
                n = mPageCount[i][FullSlot];
            if (k >= 1 && k <= n) {
                found = true;
                pageLabel(k, n, baseLine);
            }
            if (k >= 1 && k <= mPageCount[i][ChangedSlot]) {
                found = true;
                pageLabel(k, mPageCount[i][ChangedSlot], baseLine);
            }
            vs.EndOverlay();
            // The page belongs to the next order: it starts counting there.
            if (!found) {
                k = 0;
                break;
            }
        }
    }
    vs.setFontSize(12);
}

void GenericPrintRun::pageLabel(int page, int pages, double baseLine)
{
    vs.Paragraph(QStringLiteral("Page: ") + QString::number(page) + "/" + QString::number(pages));
    // One line above the foot of the sheet is closer to its edge than printers reach: the line
    // stands as low as they do print, below the listings' bottom margin.
    const double reach =
        vs.PageHeight() - PrintableEdge - PageFont::metrics(vs.FontName(), vs.FontSize(), false).descent();
    vs.setCurrentY(std::min(baseLine - mLineHeight, reach));
    vs.setCurrentX(vs.MarginLeft());
    vs.setTextAlign(8);
    vs.Paragraph(PackedBy);
    vs.setTextAlign(6);
}

QString GenericPrintRun::printAndMark()
{
    vs.setDocName(mLaidOut.size() == 1 ? mLaidOut.first() : mLaidOut.first() + "-" + mLaidOut.last());
    const PrintResult printed = vs.PrintDocument();
    if (!printed.ok) {
        // Nothing is marked: the orders keep their status and print again with the next run.
        const QString reason = QStringLiteral("The picking sheets of %1 were not printed: %2")
                                   .arg(vs.DocName(), printed.error);
        vs.KillDoc();
        ShowMessage(reason, Title, MessageIcon::Critical);
        return reason;
    }
    return markPrinted();
}

QString GenericPrintRun::markPrinted()
{
    // Only the orders laid out are marked: an order a changed-only run skipped (it has no
    // revision) had nothing printed and stays new, as do the orders beyond the limit.
    const QStringList &orders = mLaidOut;
    Connection db = request.db;
    QString lastError;
    for (int failures = 0; failures <= MarkRetries;) {
        try {
            db.beginTrans();
            for (const QString &invno : orders)
                db.execute(QStringLiteral("UPDATE so SET ordstatus = 1 WHERE invno = '") + quoted(invno)
                           + QStringLiteral("' AND ordstatus = 0"));
            db.commitTrans();
            return {};
        } catch (const std::exception &e) {
            db.rollbackTrans();
            lastError = QString::fromLocal8Bit(e.what());
            failures += 1;
        }
    }
    const QString reason = QStringLiteral("The picking sheets of %1 have printed, but Sales Order Status Cannot be "
                                          "updated! Please try later... (%2)")
                               .arg(vs.DocName(), lastError);
    ShowMessage(reason, Title, MessageIcon::Critical);
    return reason;
}

double GenericPrintRun::W() const
{
    return vs.PageWidth() - (vs.MarginLeft() + vs.MarginRight());
}

double GenericPrintRun::unitWidth() const
{
    return std::floor(W() / 10);
}
