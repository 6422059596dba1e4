// One queued terminal order becomes a sales order: the customer, the order file, the draft the
// converter makes of them shown on the terminal's page, the records, and the save.

#include "queue/frmTerminalMain.h"

#include "module1/Module1.h"
#include "queue/OrderConverter.h"
#include "queue/OrderFile.h"
#include "queue/QueueFiles.h"
#include "queue/SalesOrderRecords.h"
#include "widgets/SpreadGrid.h"
#include "queue/SuiteOrderLookups.h"
#include "runtime/VbFormat.h"
#include "dbservice/clsServer.h"

#include <QCoreApplication>
#include <QDir>
#include <stdexcept>

namespace {

constexpr int ColOrderFile = 2;
constexpr int ColCustNo = 3;
constexpr int ColStatus = 6;

// Columns of a terminal page.
enum PageCol {
    PItemNo = 1, PDescription, PColor, PSize, PWarehouse, POrder, PShip, PBkOrd, PUm, PUnitPrice,
    PExtended, PTaxable, PDcPercent, PDcAmount, PDcAmtEntered, PSubjComm, PCommPercent, PItemType,
    PSalesFactor, PAutoNum, PEditFlag
};

QString numberText(double value)
{
    return QString::number(value, 'g', 15);
}

QString yesNo(bool yes)
{
    return yes ? QStringLiteral("Y") : QStringLiteral("N");
}

void showLine(SpreadGrid *page, const DraftLine &line)
{
    const int row = page->addRow();
    page->setText(PItemNo, row, line.itemNo);
    page->setText(PDescription, row, line.description);
    page->setText(PColor, row, line.color);
    page->setText(PSize, row, line.size);
    page->setText(POrder, row, numberText(line.ordered));
    page->setText(PShip, row, QStringLiteral("0"));
    page->setText(PBkOrd, row, QStringLiteral("0"));
    page->setText(PUm, row, line.um);
    page->setText(PUnitPrice, row, numberText(line.unit));
    page->setText(PExtended, row, FormatAmount(line.extended.toDouble()));
    page->setText(PTaxable, row, yesNo(line.taxable));
    page->setText(PDcPercent, row, numberText(line.dcPercent));
    page->setText(PDcAmount, row, line.dcAmount.toString());
    page->setText(PDcAmtEntered, row, QStringLiteral("N"));
    page->setText(PSubjComm, row, yesNo(line.subjectToCommission));
    page->setText(PCommPercent, row, numberText(line.commRate));
    page->setText(PItemType, row, line.itemType);
    page->setText(PSalesFactor, row, line.salesFactor);
    page->setText(PAutoNum, row, QString());
    page->setText(PEditFlag, row, QString());
}

} // namespace

bool frmTerminalMain::ProcessQueueRow(int row)
{
    try {
        Recordset rsHeader;
        Recordset rsDetail;
        int terminal = int(vb::Val(fQue->text(1, row)));
        const QString custNo = fQue->text(ColCustNo, row);
        // The folder the scan listed the file in, whatever the letter case of its name.
        QString orderPath = QDir(QueueFolder()).filePath(fQue->text(ColOrderFile, row));

        auto fail = [&](const QString &reason) {
            fQue->setText(ColStatus, row, reason);
            LogOrderFailure(fQue->text(ColOrderFile, row), reason);
            return false;
        };
        if (custNo.isEmpty())
            return fail(QStringLiteral("Error:Customer # Required"));
        if (!mf_CreateNewFieldSoHeader(rsHeader))
            return fail(QStringLiteral("CREATE HEADER ERROR"));
        rsHeader.open();
        if (!mf_CreateNewFieldSoDetail(rsDetail))
            return fail(QStringLiteral("CREATE DETAIL ERROR"));
        rsDetail.open();
        return ConvertOrderFile(rsHeader, rsDetail, terminal, custNo, orderPath, row);
    } catch (const std::exception &e) {
        fQue->setText(ColStatus, row, QString::fromStdString(e.what()));
        return false;
    }
}

bool frmTerminalMain::ConvertOrderFile(Recordset &rsHeader, Recordset &rsDetail, int &terminal,
                                       const QString &custNo, QString &orderPath, int row)
{
    const QString fileName = fQue->text(ColOrderFile, row);
    const QString key = fileName.toUpper();
    // Window events run inside the conversion; the operator may remove rows above this one.
    auto fail = [&](const QString &reason) {
        const int now = QueueRowOf(key, row);
        if (now != 0)
            fQue->setText(ColStatus, now, reason);
        LogOrderFailure(fileName, reason);
        return false;
    };

    --terminal;
    QString orderNo = QStringLiteral("Auto No.");
    SalesOrderDraft draft;
    QString billToName;
    QString saveResult;
    try {
        if (!gServer)
            return fail(QStringLiteral("Error: no database connection"));
        if (terminal < 0 || terminal >= TerminalCount)
            return fail(QStringLiteral("Error: the order file's name names no terminal 1 to 6"));

        SuiteOrderLookups lookups(*gServer);
        const std::optional<Recordset> customer = lookups.customer(custNo);
        if (!customer)
            return fail(QStringLiteral("Error: customer # %1 not found").arg(custNo));

        const OrderFileContent file = ReadOrderFile(orderPath, mScanned.value(fileName).order);
        if (file.changed) {
            // Not a failure: the next scan sees the file as it is now.
            if (const int now = QueueRowOf(key, row))
                fQue->setText(ColStatus, now, QStringLiteral("Waiting: the order file is still being written"));
            mLeftForNextPass = true;
            return false;
        }
        if (!file.refusal.isEmpty())
            return fail(file.refusal);
        const QString refusal = OrderRefusal(file.records);
        if (!refusal.isEmpty())
            return fail(refusal);

        SpreadGrid *page = fGrid[terminal];
        page->setMaxRows(0);
        const OrderContext context{custNo, terminal + 1, QDateTime::currentDateTime(), gTradeShow};
        draft = DraftSalesOrder(file.records, *customer, lookups, context, [page](const DraftLine &line) {
            showLine(page, line);
            QCoreApplication::processEvents();
        });
        if (!draft.failure.isEmpty())
            return fail(draft.failure);
        WriteSalesOrderRecords(draft, rsHeader, rsDetail);
        billToName = rsHeader.text(QStringLiteral("badressname"));
        gServer->setPendingImport(ImportOf(fileName, file.content));
        saveResult = gServer->Update_SalesOrder(orderNo, 1, rsHeader, rsDetail, 0);
    } catch (const std::exception &e) {
        return fail(QString::fromStdString(e.what()));
    }

    // From here on the order may be in the database: nothing may turn a save into a failure,
    // or the order would be converted and saved again on the next pass.
    const int index = terminal;
    if (!saveResult.isEmpty()) {
        lblInvNo[index]->setText(QStringLiteral("**ERROR**"));
        lblCustName[index]->setText(billToName);
        lblOrderTotal[index]->setText(QString());
        rsHeader.close();
        rsDetail.close();
        return fail(saveResult);
    }
    try {
        rsHeader.close();
        rsDetail.close();
        CompleteSavedOrder(orderNo, billToName, draft.total, index, row, orderPath, draft.notes);
    } catch (...) {
        // The order is saved; what is left is on screen only.
    }
    return true;
}
