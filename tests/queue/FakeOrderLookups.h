#pragma once

// The conversion's look-ups answered from memory: a few items priced at their list price,
// ship-to addresses and salespeople given by the test; item "DB-DOWN" is a database that fails.

#include "queue/OrderConverter.h"
#include "sqlaccess/Recordset.h"

#include <QHash>
#include <initializer_list>
#include <stdexcept>

class FakeOrderLookups : public OrderLookups
{
public:
    FakeOrderLookups()
    {
        // Gift card 25.00 (not taxable), mug 7.25 (taxable), a matrix polo shirt 22.00.
        addItem({"GC25", "Gift Card 25.00", "", "", "EA", "1", "GIFT", 0, 0, 0}, 25.00);
        addItem({"MUG600", "Ceramic Mug 12 oz", "", "", "EA", "1", "GIFT", 1, 0, 0}, 7.25);
        addItem({"POLO200", "Pique Polo Shirt", "BLACK", "S", "EA", "1", "POLO", 1, 1, 2}, 22.00);
    }
    void addItem(const OrderItem &item, double listPrice) { m_items.insert(item.uid, {item, listPrice}); }

    std::optional<OrderItem> item(const QString &itemNo) override
    {
        if (itemNo == QLatin1String("DB-DOWN"))
            throw std::runtime_error("Error: item DB-DOWN could not be looked up (database error)");
        const auto it = m_items.constFind(itemNo);
        return it == m_items.constEnd() ? std::nullopt : std::optional<OrderItem>(it->first);
    }
    LinePrice price(const OrderItem &item, const QString &, const QString &, const QString &) override
    {
        return {m_items.value(item.uid).second, 0, {}, 0};
    }
    std::optional<ShipToAddress> shipTo(const QString &, const QString &name) override
    {
        const auto it = shipTos.constFind(name);
        return it == shipTos.constEnd() ? std::nullopt : std::optional<ShipToAddress>(*it);
    }
    double commission(const QString &salesperson) override { return commissions.value(salesperson); }

    QHash<QString, ShipToAddress> shipTos;
    QHash<QString, double> commissions;

private:
    QHash<QString, std::pair<OrderItem, double>> m_items;
};

// A customer row as "select * from customer" gives it, on its current row: a customer without
// tax or discount who ships to the bill-to address, but for the fields given.
inline Recordset customerRow(std::initializer_list<std::pair<const char *, QVariant>> changes = {})
{
    QList<std::pair<QString, QVariant>> fields{
        {"uid", "C1001"}, {"uname", "Harbor Street Boutique"}, {"address1", "214 Harbor Street"},
        {"address2", QVariant()}, {"city", "Port Lindon"}, {"st", "ME"}, {"zip", "04101"}, {"country", "USA"},
        {"shipto", " Same As Bill To"}, {"terms", "NET30"}, {"salesperson", "S1"}, {"shipvia", "UPS"},
        {"pricelevel", "1"}, {"taxrate", 0.0}, {"DcPercent", 0.0}};
    for (const auto &[name, value] : changes)
        for (auto &field : fields)
            if (field.first == QLatin1String(name))
                field.second = value;
    Recordset rs;
    for (const auto &field : fields)
        rs.appendField(field.first, FieldType::Variant);
    rs.open();
    rs.addNew();
    for (const auto &[name, value] : fields)
        rs.setValue(name, value);
    rs.update();
    rs.moveFirst();
    return rs;
}
