// The header sections of the generic print run's sheets: top header, address table,
// information table (the column header is with the listings).

#include "printing/GenericPrintRun.h"

#include "printing/AddressCells.h"
#include "pageengine/PageEngine.h"
#include "printing/TransactionCounter.h"
#include "runtime/VbFormat.h"

#include <cmath>
#include <pwd.h>
#include <unistd.h>

namespace {

// The name of the account the program runs under.
QString accountName()
{
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace

double GenericPrintRun::mDBChoiceHeaderPrint(int Index, const QString &sSheetFlag, const QString &listingFlag)
{
    const double y = Index == 4 ? sheetTopSections(sSheetFlag) : vs.CurrentY();
    return mDBItemDescriptionPrint(y, listingFlag);
}

double GenericPrintRun::sheetTopSections(const QString &sSheetFlag)
{
    double y = mDBSheetTopHeaderPrint(sSheetFlag);
    y = mDBCustomerAddressPrint(y, mrsSO.text(QStringLiteral("CustNo")));
    return mDBInfoTablePrint(y);
}

QString GenericPrintRun::transactionText()
{
    if (mrsSO.number(QStringLiteral("ordstatus")) != 0)
        return QStringLiteral("Reprint...");
    if (request.preview)
        return QStringLiteral("Preview...");
    return TransactionCounter::next(request.db, request.now().date());
}

double GenericPrintRun::mDBSheetTopHeaderPrint(const QString &sSheetFlag)
{
    const QString transaction = QStringLiteral("TRANSACTION: ") + transactionText();
    const QDateTime now = request.now();
    const QString user = request.user.isEmpty() ? accountName() : request.user;
    const QString sheetType = sSheetFlag == QLatin1String("C")   ? QStringLiteral("ONLY CHANGED")
                            : sSheetFlag == QLatin1String("B") ? QStringLiteral("BOTH")
                                                                 : QStringLiteral("FULL");
    const QString modified = mrsSO.isNull(QStringLiteral("versionstamp")) ? QStringLiteral("0")
                                                                          : mrsSO.text(QStringLiteral("versionstamp"));
    const QStringList fieldLines[] = {
        {"PRINT DATE: " + vb::formatDateTime(now, QStringLiteral("MM/DD/YYYY   ")),
         "PRINT TIME: " + vb::formatDateTime(now, QStringLiteral("HH:MM:SS   ")), "USER: " + user},
        {"DATE: " + vb::format(mrsSO.value(QStringLiteral("invdate")), QStringLiteral("MM/DD/YYYY   ")),
         "SORDER NO: " + mrsSO.text(QStringLiteral("invno"))},
        {"MODIFIED: " + modified + "   ", "SHEET TYPE: " + sheetType},
    };

    // The first line is left to the page label; the title stands a line of its own size below
    // it, so the label's descenders keep clear of the title's capitals.
    vs.setFontBold(false);
    vs.setCurrentY(vs.MarginTop());
    vs.setFontSize(15);
    vs.Paragraph(QString());
    const double y0 = vs.CurrentY();

    // Title and transaction centred above the fields, which would run into them side by side.
    vs.setTextAlign(8);
    vs.setFontBold(true);
    vs.setCurrentX(vs.MarginLeft());
    vs.setCurrentY(y0);
    vs.Text(QStringLiteral("PICKING SHEET"));
    vs.Paragraph(QString());
    vs.Text(transaction);
    vs.Paragraph(QString());

    // The three field lines each on a line of their own, at the spacing of their font: moved up
    // to overlap, as a tighter layout would have them, they print over one another.
    vs.setFontBold(false);
    vs.setFontSize(12);
    vs.setTextAlign(6);
    vs.setCurrentX(vs.MarginLeft());
    for (const QStringList &line : fieldLines) {
        for (const QString &text : line)
            vs.Text(text);
        vs.Paragraph(QString());
    }

    vs.setCurrentY(vs.CurrentY() + vs.LineSpacing());
    fullWidthRule();
    vs.Paragraph(QString());
    return vs.CurrentY();
}

double GenericPrintRun::mDBCustomerAddressPrint(double PosY, const QString &sCustono)
{
    Recordset customer = request.db.openTable(QStringLiteral("customer"), QStringLiteral("uididx"));
    const bool found = customer.seek(QStringLiteral("="), {sCustono});

    vs.setFontSize(12);
    vs.setFontBold(false);
    vs.setTextAlign(6);
    vs.setCurrentY(PosY);
    const QString half = QString::number(std::nearbyint(W() / 2));
    const QString format = "<" + half + "|<" + half + ";";
    vs.AddTableRow(format, {"BILL TO  ( Acct #:" + sCustono + " )", QStringLiteral("SHIP TO")});

    // Without a customer row the bill-to cell stays empty rather than showing another address.
    vs.AddTableRow(format, {found ? AddressCells::billTo(customer) : QString(), AddressCells::shipTo(mrsSO)});

    vs.setCurrentY(vs.CurrentY() + vs.LineSpacing());
    fullWidthRule();
    vs.Paragraph(QString());
    return vs.CurrentY();
}

double GenericPrintRun::mDBInfoTablePrint(double PosY)
{
    vs.setCurrentY(PosY);
    vs.setCurrentX(vs.MarginLeft());
    vs.setFontSize(12);
    vs.setFontBold(false);
    vs.setTextAlign(6);
    // The first column two tenths of the width; the six others share the rest, so "DUE DATE" and
    // a four-digit year fit their columns (at one tenth each they broke over two lines).
    const double first = 2 * unitWidth();
    const QString u = QString::number(std::floor((W() - first) / 6));
    const QString format =
        "<" + QString::number(first) + "|^" + u + "|^" + u + "|^" + u + "|^" + u + "|^" + u + "|^" + u + ";";
    vs.setTableBorder(0);
    vs.AddTable(format, QString(), QStringLiteral("PO. NO|TERMS|REP|SHIP|VIA|F.O.B|DUE DATE;"));
    vs.setFontSize(10);
    auto field = [this](const char *name) { return mrsSO.text(QString::fromLatin1(name)); };
    // The order date stands under SHIP; DUE DATE stays empty.
    vs.AddTableRow(format, {field("custpo"), field("terms"), field("salesman"),
                            vb::format(mrsSO.value(QStringLiteral("orddate")), QStringLiteral("mm/dd/yyyy")),
                            field("shipvia"), field("fob"), QString()});
    vs.setFontSize(12);
    vs.Paragraph(QString());
    return vs.CurrentY();
}

void GenericPrintRun::fullWidthRule()
{
    vs.DrawLine(vs.MarginLeft(), vs.CurrentY(), vs.PageWidth() - vs.MarginRight(), vs.CurrentY());
}
