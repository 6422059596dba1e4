#include "queue/OrderConverter.h"

#include "runtime/DbError.h"
#include "module1/Module1.h"
#include "sqlaccess/Recordset.h"

#include <stdexcept>

namespace {

// The order number until the save gives it its own.
const QString AutoNo = QStringLiteral("Auto No.");

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

// A number as the page shows it and the detail row keeps it: 15 significant digits.
double shown(double value)
{
    return ValueOrZero(numberText(value));
}

void addHeaderFields(SalesOrderDraft &draft, const Recordset &customer, OrderLookups &lookups,
                     const OrderContext &context, double taxRate, double dcPercent)
{
    auto set = [&draft](const QString &field, const QVariant &value) { draft.header.append({field, value}); };
    auto fromCustomer = [&](const char *headerField, const char *customerField) {
        set(QString::fromLatin1(headerField), customer.value(QString::fromLatin1(customerField)));
    };
    fromCustomer("CustNo", "uid");
    fromCustomer("badressname", "uname");
    fromCustomer("baddress1", "address1");
    fromCustomer("baddress2", "address2");
    fromCustomer("bcity", "city");
    fromCustomer("bstate", "st");
    fromCustomer("bzip", "zip");
    fromCustomer("bcountry", "country");
    set(QStringLiteral("invno"), AutoNo);
    set(QStringLiteral("invdate"), draft.date);
    set(QStringLiteral("shipdate"), draft.date);
    set(QStringLiteral("CancelDate"), draft.date);
    set(QStringLiteral("freight"), QVariant::fromValue(Currency()));
    set(QStringLiteral("tax"), QVariant::fromValue(draft.tax));
    set(QStringLiteral("amount"), QVariant::fromValue(draft.subtotal));
    set(QStringLiteral("tdcpercent"), dcPercent > 0 ? QVariant(dcPercent) : QVariant(0));
    set(QStringLiteral("dc"), QVariant::fromValue(draft.dc));
    set(QStringLiteral("dcamtentered"), QStringLiteral("N"));
    set(QStringLiteral("balance"), QVariant::fromValue(draft.total));
    set(QStringLiteral("total"), QVariant::fromValue(draft.total));
    set(QStringLiteral("payflag"), 0);
    set(QStringLiteral("inputdate"), draft.date);
    const QTime now = context.at.time();
    set(QStringLiteral("inputtime"), QTime(now.hour(), now.minute(), now.second()));
    set(QStringLiteral("userid"), QStringLiteral("RF%1").arg(context.terminal));

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
        const ShipToAddress address =
            lookups.shipTo(customer.text(QStringLiteral("uid")), shipTo).value_or(ShipToAddress());
        set(QStringLiteral("sadressname"), shipTo);
        set(QStringLiteral("sAddress1"), address.address1);
        set(QStringLiteral("sAddress2"), address.address2);
        set(QStringLiteral("sCity"), address.city);
        set(QStringLiteral("sstate"), address.state);
        set(QStringLiteral("szip"), address.zip);
        set(QStringLiteral("sCountry"), address.country);
    }

    set(QStringLiteral("memo"), QString());
    set(QStringLiteral("terms"), NullToEmpty(customer.value(QStringLiteral("terms"))));
    const QString salesperson = NullToEmpty(customer.value(QStringLiteral("salesperson")));
    set(QStringLiteral("salesman"), salesperson);
    set(QStringLiteral("shipvia"), NullToEmpty(customer.value(QStringLiteral("shipvia"))));
    set(QStringLiteral("ordtype"), 0);
    set(QStringLiteral("ordstatus"), 0);
    set(QStringLiteral("orderholdby"), QString());
    set(QStringLiteral("housefactor"), QStringLiteral("H"));
    set(QStringLiteral("custpo"), QString());
    set(QStringLiteral("taxrate"), taxRate);
    set(QStringLiteral("Commission"), lookups.commission(salesperson));
    for (const char *field : {"fob", "remark", "ordtyperef", "ordstatusref", "seasoncode", "deptcode",
                              "salesman2", "salesman3"})
        set(QString::fromLatin1(field), QString());
    set(QStringLiteral("commrate2"), 0);
    set(QStringLiteral("commrate3"), 0);
    set(QStringLiteral("addedinshow"), context.tradeShow);
}

} // namespace

QString OrderRefusal(const QList<OrderRecord> &records)
{
    // An order without lines is no order: most likely a file the terminal has only begun.
    if (records.isEmpty())
        return QStringLiteral("Error: the order file holds no items");
    // Lines of quantity 0 are not saved: such an order would be saved without a line.
    QStringList notes;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (records[i].quantity != 0)
            return {};
        const QString note = UnreadQuantityNote(records[i], int(i + 1));
        if (!note.isEmpty())
            notes << note;
    }
    QString reason = QStringLiteral("Error: no line of the order has a quantity other than 0");
    if (!notes.isEmpty())
        reason += QStringLiteral(" (%1%2)").arg(notes.mid(0, 3).join(QStringLiteral("; ")),
                                               notes.size() > 3 ? QStringLiteral("; ...") : QString());
    return reason;
}

SalesOrderDraft DraftSalesOrder(const QList<OrderRecord> &records, const Recordset &customer,
                                OrderLookups &lookups, const OrderContext &context,
                                const std::function<void(const DraftLine &)> &lineRead)
{
    SalesOrderDraft draft;
    draft.date = context.at.date();
    try {
        draft.failure = OrderRefusal(records);
        if (!draft.failure.isEmpty())
            return draft;
        const QString priceLevel = customer.text(QStringLiteral("pricelevel"));
        const double taxRate = ValueOrZero(customer.value(QStringLiteral("taxrate")));
        const double dcPercent = ValueOrZero(customer.value(QStringLiteral("DcPercent")));

        Currency taxableSubtotal;
        int recordNo = 0;
        for (const OrderRecord &record : records) {
            ++recordNo;
            if (record.isEmpty()) {
                draft.failure = QStringLiteral("Error: record %1 is empty").arg(recordNo);
                return draft;
            }
            if (record.itemNo.isEmpty()) {
                draft.failure = QStringLiteral("Error: record %1 has no item number").arg(recordNo);
                return draft;
            }
            const std::optional<OrderItem> item = lookups.item(record.itemNo);
            if (!item) {
                draft.failure = QStringLiteral("Error: item \"%1\" (record %2) not found").arg(record.itemNo).arg(recordNo);
                return draft;
            }
            const QString note = UnreadQuantityNote(record, recordNo);
            if (!note.isEmpty())
                draft.notes << note;

            const LinePrice price = lookups.price(*item, numberText(record.quantity), context.custNo, priceLevel);
            DraftLine line;
            line.itemNo = item->uid;
            line.description = item->uname;
            line.color = item->itemrow;
            line.size = item->itemcol;
            line.um = item->salesum;
            line.salesFactor = item->salesfactor;
            line.itemType = item->itemtype == 2 ? QStringLiteral("m") : QStringLiteral("nm");
            line.ordered = shown(record.quantity);
            line.unit = shown(price.unit);
            // The line's amount is the rounded one the page shows, so the order's amount is the
            // sum of its lines.
            line.extended = money2(record.quantity * price.unit);
            line.taxable = item->taxable == 1;
            line.dcPercent = shown(price.dcPercent);
            line.dcAmount = price.dcAmount;
            line.subjectToCommission = item->commission == 1;
            line.commRate = shown(price.commRate);

            if (line.taxable && taxRate > 0)
                taxableSubtotal += line.extended;
            draft.subtotal += line.extended;
            draft.lines.append(line);
            if (lineRead)
                lineRead(draft.lines.constLast());
        }

        qint64 lineNumber = 0;
        for (DraftLine &line : draft.lines) {
            // A line ordered with quantity 0 shares the previous line's number.
            if (line.ordered != 0)
                ++lineNumber;
            line.lineNumber = lineNumber;
        }
        draft.tax = money2(taxableSubtotal.toDouble() * taxRate / 100);
        if (dcPercent > 0)
            draft.dc = money2(draft.subtotal.toDouble() * dcPercent / 100);
        draft.total = draft.tax + draft.subtotal - draft.dc;
        addHeaderFields(draft, customer, lookups, context, taxRate, dcPercent);
    } catch (const std::exception &e) {
        draft.failure = QString::fromStdString(e.what());
    }
    return draft;
}

void WriteSalesOrderRecords(const SalesOrderDraft &draft, Recordset &rsHeader, Recordset &rsDetail)
{
    for (const DraftLine &line : draft.lines) {
        rsDetail.addNew();
        rsDetail.setValue(QStringLiteral("invno"), AutoNo);
        rsDetail.setValue(QStringLiteral("itemno"), line.itemNo);
        rsDetail.setValue(QStringLiteral("Description"), line.description);
        rsDetail.setValue(QStringLiteral("um"), line.um);
        rsDetail.setValue(QStringLiteral("itype"), line.itemType);
        rsDetail.setValue(QStringLiteral("autonum"), QString());
        rsDetail.setValue(QStringLiteral("rowtext"), line.color);
        rsDetail.setValue(QStringLiteral("coltext"), line.size);
        rsDetail.setValue(QStringLiteral("qord"), line.ordered);
        rsDetail.setValue(QStringLiteral("qshp"), 0.0);
        rsDetail.setValue(QStringLiteral("qbord"), 0.0);
        rsDetail.setValue(QStringLiteral("unit"), line.unit);
        rsDetail.setValue(QStringLiteral("extended"), line.extended.toDouble());
        rsDetail.setValue(QStringLiteral("dcpercent"), line.dcPercent);
        rsDetail.setValue(QStringLiteral("dcamount"), line.dcAmount.toDouble());
        rsDetail.setValue(QStringLiteral("commrate"), line.commRate);
        rsDetail.setValue(QStringLiteral("applytax"), line.taxable ? QStringLiteral("1") : QStringLiteral("0"));
        rsDetail.setValue(QStringLiteral("dcamtentered"), QStringLiteral("N"));
        rsDetail.setValue(QStringLiteral("Commission"),
                          line.subjectToCommission ? QStringLiteral("1") : QStringLiteral("0"));
        rsDetail.setValue(QStringLiteral("actualqty"), 1);
        rsDetail.setValue(QStringLiteral("scalefactor"), 1);
        rsDetail.setValue(QStringLiteral("linenum"), line.lineNumber);
        rsDetail.setValue(QStringLiteral("editflag"), QString());
        rsDetail.setValue(QStringLiteral("invdate"), draft.date);
        rsDetail.setValue(QStringLiteral("shpdate"), draft.date);
        rsDetail.setValue(QStringLiteral("CancelDate"), draft.date);
        rsDetail.update();
    }
    rsHeader.addNew();
    for (const auto &[field, value] : draft.header)
        rsHeader.setValue(field, value);
    rsHeader.update();
}
