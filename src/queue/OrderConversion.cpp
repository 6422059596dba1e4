// One queued terminal order becomes a sales order: customer, lines priced by the suite's price
// codes, the terminal's page, totals, the header and detail records, and the save.

#include "frmTerminalMain.h"

#include "Module1.h"
#include "OrderFile.h"
#include "PriceDetailLine.h"
#include "QueueFiles.h"
#include "SalesOrderRecords.h"
#include "SpreadGrid.h"
#include "VbFormat.h"
#include "clsServer.h"

#include <QCoreApplication>
#include <QDate>
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

// An amount as the suite rounds money: formatted "###,###.00" and read back.
Currency money2(double value)
{
    const std::optional<Currency> amount = Currency::parse(FormatAmount(value));
    if (!amount)
        throw DbError(6, QStringLiteral("Overflow"));
    return *amount;
}

// A number as text the way the page shows it: "12", "2.5", "17.991".
QString numberText(double value)
{
    return QString::number(value, 'g', 15);
}

// The query operations answer a database failure with the blank record set.
bool isBlankRecordset(const Recordset &rs)
{
    return rs.fieldCount() == 1 && rs.field(0).name == QLatin1String("blankfield");
}

QString quotedForSql(QString text)
{
    DoubleQuotes(text);
    return text;
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
    QString orderNo;
    QString billToName;
    Currency total;
    QString saveResult;
    try {
        if (!gServer)
            return fail(QStringLiteral("Error: no database connection"));
        if (terminal < 0 || terminal >= TerminalCount)
            return fail(QStringLiteral("Error: the order file's name names no terminal 1 to 6"));

        Recordset customer =
            gServer->Get_sqlResult("select * from customer where uid='" + quotedForSql(custNo) + "'");
        if (isBlankRecordset(customer))
            return fail(QStringLiteral("Error: customer # %1 could not be looked up (database error %2)")
                            .arg(custNo, gServer->lastErrorText()));
        if (customer.isEmpty())
            return fail(QStringLiteral("Error: customer # %1 not found").arg(custNo));
        customer.moveFirst();
        const QString priceLevel = customer.text(QStringLiteral("pricelevel"));
        const double taxRate = ValueOrZero(customer.value(QStringLiteral("taxrate")));
        const double dcPercent = ValueOrZero(customer.value(QStringLiteral("DcPercent")));

        const QList<OrderRecord> records = ReadOrderFile(orderPath);
        // An order without lines is no order: most likely a file the terminal has only begun.
        if (records.isEmpty())
            return fail(QStringLiteral("Error: the order file holds no items"));

        orderNo = QStringLiteral("Auto No.");
        Currency subtotal;
        Currency taxableSubtotal;
        SpreadGrid *page = fGrid[terminal];
        page->setMaxRows(0);

        int recordNo = 0;
        for (const OrderRecord &record : records) {
            ++recordNo;
            Recordset item = gServer->Get_sqlResult(
                "select uid,uname,itemrow,itemcol,salesum,price,taxable,commission,itemtype,salesfactor,"
                "pricecode from item where uid='"
                + quotedForSql(record.itemNo) + "' order by itemrow,itemcol");
            if (isBlankRecordset(item))
                return fail(QStringLiteral("Error: item %1 could not be looked up (database error %2)")
                                .arg(record.itemNo, gServer->lastErrorText()));
            if (item.isEmpty())
                return fail(QStringLiteral("Error: item \"%1\" (record %2) not found").arg(record.itemNo).arg(recordNo));
            item.moveFirst();

            const QString quantity = numberText(record.quantity);
            double lineDcPercent = 0;
            Currency lineDcAmount;
            double commRate = 0;
            const double unit = PriceDetailLine(item.text(QStringLiteral("uid")), item.text(QStringLiteral("itemrow")),
                                                item.text(QStringLiteral("itemcol")), quantity, QStringLiteral("0"),
                                                item.text(QStringLiteral("pricecode")), custNo, priceLevel,
                                                lineDcPercent, lineDcAmount, commRate);
            // The line's amount is the rounded one the page shows, so the order's amount is
            // the sum of its lines.
            const Currency extended = money2(record.quantity * unit);
            const bool taxable = ValueOrZero(item.value(QStringLiteral("taxable"))) == 1;

            const int line = page->addRow();
            page->setText(PItemNo, line, item.text(QStringLiteral("uid")));
            page->setText(PDescription, line, item.text(QStringLiteral("uname")));
            page->setText(PColor, line, item.text(QStringLiteral("itemrow")));
            page->setText(PSize, line, item.text(QStringLiteral("itemcol")));
            page->setText(POrder, line, quantity);
            page->setText(PShip, line, QStringLiteral("0"));
            page->setText(PBkOrd, line, QStringLiteral("0"));
            page->setText(PUm, line, item.text(QStringLiteral("salesum")));
            page->setText(PUnitPrice, line, numberText(unit));
            page->setText(PExtended, line, FormatAmount(extended.toDouble()));
            page->setText(PTaxable, line, taxable ? QStringLiteral("Y") : QStringLiteral("N"));
            page->setText(PDcPercent, line, numberText(lineDcPercent));
            page->setText(PDcAmount, line, lineDcAmount.toString());
            page->setText(PDcAmtEntered, line, QStringLiteral("N"));
            page->setText(PSubjComm, line,
                          ValueOrZero(item.value(QStringLiteral("commission"))) == 1 ? QStringLiteral("Y")
                                                                                    : QStringLiteral("N"));
            page->setText(PCommPercent, line, numberText(commRate));
            page->setText(PItemType, line,
                          ValueOrZero(item.value(QStringLiteral("itemtype"))) == 2 ? QStringLiteral("m")
                                                                                  : QStringLiteral("nm"));
            page->setText(PSalesFactor, line, item.text(QStringLiteral("salesfactor")));
            page->setText(PAutoNum, line, QString());
            page->setText(PEditFlag, line, QString());

            if (taxable && taxRate > 0)
                taxableSubtotal += extended;
            subtotal += extended;
            QCoreApplication::processEvents();
        }

        const Currency tax = money2(taxableSubtotal.toDouble() * taxRate / 100);
        const QDate today = QDate::currentDate();

        qint64 lineNumber = 0;
        for (int line = 1; line <= page->maxRows(); ++line) {
            const double ordered = ValueOrZero(page->text(POrder, line));
            const double shipped = ValueOrZero(page->text(PShip, line));
            const double backOrdered = ValueOrZero(page->text(PBkOrd, line));
            // A line ordered with quantity 0 shares the previous line's number.
            if (ordered != 0 || shipped != 0 || backOrdered != 0)
                ++lineNumber;
            rsDetail.addNew();
            rsDetail.setValue(QStringLiteral("invno"), orderNo);
            rsDetail.setValue(QStringLiteral("itemno"), page->text(PItemNo, line));
            rsDetail.setValue(QStringLiteral("Description"), page->text(PDescription, line));
            rsDetail.setValue(QStringLiteral("um"), page->text(PUm, line));
            rsDetail.setValue(QStringLiteral("itype"), page->text(PItemType, line));
            rsDetail.setValue(QStringLiteral("autonum"), page->text(PAutoNum, line));
            rsDetail.setValue(QStringLiteral("rowtext"), page->text(PColor, line));
            rsDetail.setValue(QStringLiteral("coltext"), page->text(PSize, line));
            rsDetail.setValue(QStringLiteral("qord"), ordered);
            rsDetail.setValue(QStringLiteral("qshp"), shipped);
            rsDetail.setValue(QStringLiteral("qbord"), backOrdered);
            rsDetail.setValue(QStringLiteral("unit"), ValueOrZero(page->text(PUnitPrice, line)));
            rsDetail.setValue(QStringLiteral("extended"), ValueOrZero(page->text(PExtended, line)));
            rsDetail.setValue(QStringLiteral("dcpercent"), ValueOrZero(page->text(PDcPercent, line)));
            rsDetail.setValue(QStringLiteral("dcamount"), ValueOrZero(page->text(PDcAmount, line)));
            rsDetail.setValue(QStringLiteral("commrate"), ValueOrZero(page->text(PCommPercent, line)));
            rsDetail.setValue(QStringLiteral("applytax"),
                              page->text(PTaxable, line) == QLatin1String("Y") ? QStringLiteral("1") : QStringLiteral("0"));
            rsDetail.setValue(QStringLiteral("dcamtentered"),
                              page->text(PDcAmtEntered, line) == QLatin1String("Y") ? QStringLiteral("Y") : QStringLiteral("N"));
            rsDetail.setValue(QStringLiteral("Commission"),
                              page->text(PSubjComm, line) == QLatin1String("Y") ? QStringLiteral("1") : QStringLiteral("0"));
            rsDetail.setValue(QStringLiteral("actualqty"), 1);
            rsDetail.setValue(QStringLiteral("scalefactor"), 1);
            rsDetail.setValue(QStringLiteral("linenum"), lineNumber);
            rsDetail.setValue(QStringLiteral("editflag"), QString());
            rsDetail.setValue(QStringLiteral("invdate"), today);
            rsDetail.setValue(QStringLiteral("shpdate"), today);
            rsDetail.setValue(QStringLiteral("CancelDate"), today);
            rsDetail.update();
            QCoreApplication::processEvents();
        }

        rsHeader.addNew();
        auto fromCustomer = [&](const char *headerField, const char *customerField) {
            rsHeader.setValue(QString::fromLatin1(headerField), customer.value(QString::fromLatin1(customerField)));
        };
        fromCustomer("CustNo", "uid");
        fromCustomer("badressname", "uname");
        fromCustomer("baddress1", "address1");
        fromCustomer("baddress2", "address2");
        fromCustomer("bcity", "city");
        fromCustomer("bstate", "st");
        fromCustomer("bzip", "zip");
        fromCustomer("bcountry", "country");
        rsHeader.setValue(QStringLiteral("invno"), orderNo);
        rsHeader.setValue(QStringLiteral("invdate"), today);
        rsHeader.setValue(QStringLiteral("shipdate"), today);
        rsHeader.setValue(QStringLiteral("CancelDate"), today);
        rsHeader.setValue(QStringLiteral("freight"), QVariant::fromValue(Currency()));
        rsHeader.setValue(QStringLiteral("tax"), QVariant::fromValue(tax));
        rsHeader.setValue(QStringLiteral("amount"), QVariant::fromValue(subtotal));

        Currency dc;
        if (dcPercent > 0) {
            dc = money2(subtotal.toDouble() * dcPercent / 100);
            rsHeader.setValue(QStringLiteral("tdcpercent"), dcPercent);
        } else {
            rsHeader.setValue(QStringLiteral("tdcpercent"), 0);
        }
        rsHeader.setValue(QStringLiteral("dc"), QVariant::fromValue(dc));
        rsHeader.setValue(QStringLiteral("dcamtentered"), QStringLiteral("N"));

        total = tax + subtotal - dc;
        rsHeader.setValue(QStringLiteral("balance"), QVariant::fromValue(total));
        rsHeader.setValue(QStringLiteral("total"), QVariant::fromValue(total));
        rsHeader.setValue(QStringLiteral("payflag"), 0);
        rsHeader.setValue(QStringLiteral("inputdate"), today);
        const QTime now = QTime::currentTime();
        rsHeader.setValue(QStringLiteral("inputtime"), QTime(now.hour(), now.minute(), now.second()));
        rsHeader.setValue(QStringLiteral("userid"), QStringLiteral("RF%1").arg(terminal + 1));

        const QString shipTo = NullToEmpty(customer.value(QStringLiteral("shipto")));
        if (shipTo == QLatin1String(" Same As Bill To")) {
            fromCustomer("sadressname", "uname");
            fromCustomer("sAddress1", "address1");
            fromCustomer("sAddress2", "address2");
            fromCustomer("sCity", "city");
            fromCustomer("sstate", "st");
            fromCustomer("szip", "zip");
            fromCustomer("sCountry", "country");
        } else {
            Recordset address =
                gServer->Get_Selected_ShippingAddress(customer.text(QStringLiteral("uid")), shipTo);
            const bool found = !address.isEmpty();
            if (found)
                address.moveFirst();
            auto fromAddress = [&](const char *headerField, const char *addressField) {
                rsHeader.setValue(QString::fromLatin1(headerField),
                                  found ? NullToEmpty(address.value(QString::fromLatin1(addressField))) : QString());
            };
            rsHeader.setValue(QStringLiteral("sadressname"), shipTo);
            fromAddress("sAddress1", "address1");
            fromAddress("sAddress2", "address2");
            fromAddress("sCity", "city");
            fromAddress("sstate", "State");
            fromAddress("szip", "zip");
            fromAddress("sCountry", "country");
        }

        rsHeader.setValue(QStringLiteral("memo"), QString());
        rsHeader.setValue(QStringLiteral("terms"), NullToEmpty(customer.value(QStringLiteral("terms"))));
        const QString salesperson = NullToEmpty(customer.value(QStringLiteral("salesperson")));
        rsHeader.setValue(QStringLiteral("salesman"), salesperson);
        rsHeader.setValue(QStringLiteral("shipvia"), NullToEmpty(customer.value(QStringLiteral("shipvia"))));
        rsHeader.setValue(QStringLiteral("ordtype"), 0);
        rsHeader.setValue(QStringLiteral("ordstatus"), 0);
        rsHeader.setValue(QStringLiteral("orderholdby"), QString());
        rsHeader.setValue(QStringLiteral("housefactor"), QStringLiteral("H"));
        rsHeader.setValue(QStringLiteral("custpo"), QString());
        rsHeader.setValue(QStringLiteral("taxrate"), taxRate);

        Recordset employee =
            gServer->Get_sqlResult("select commission from employee where uid='" + quotedForSql(salesperson) + "'");
        double commission = 0;
        if (!employee.isEmpty()) {
            employee.moveFirst();
            commission = ValueOrZero(employee.value(QStringLiteral("commission")));
        }
        rsHeader.setValue(QStringLiteral("Commission"), commission);

        for (const char *field : {"fob", "remark", "ordtyperef", "ordstatusref", "seasoncode", "deptcode",
                                  "salesman2", "salesman3"})
            rsHeader.setValue(QString::fromLatin1(field), QString());
        rsHeader.setValue(QStringLiteral("commrate2"), 0);
        rsHeader.setValue(QStringLiteral("commrate3"), 0);
        rsHeader.setValue(QStringLiteral("addedinshow"), gTradeShow);
        rsHeader.update();

        billToName = rsHeader.text(QStringLiteral("badressname"));
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
        CompleteSavedOrder(orderNo, billToName, total, index, row, orderPath);
    } catch (...) {
        // The order is saved; what is left is on screen only.
    }
    return true;
}
