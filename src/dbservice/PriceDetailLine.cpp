#include "dbservice/PriceDetailLine.h"

#include "runtime/SharedRoutines.h"
#include "runtime/VbFormat.h"
#include "dbservice/clsServer.h"

#include <cmath>

namespace {

// A figure an arithmetic step needs: a null one fails the line.
double figure(const Recordset &rs, const QString &field)
{
    if (rs.isNull(field))
        throw DbError(94, QStringLiteral("Invalid use of Null"));
    return rs.number(field);
}

// A value rounded the way the suite does it: formatted with a pattern and read back.
double throughFormat(double value, const QString &pattern)
{
    const std::optional<double> number = vb::parseNumber(vb::formatNumber(value, pattern));
    if (!number)
        throw DbError(DbError::TypeMismatch, QStringLiteral("Type mismatch"));
    return *number;
}

// The five formulas; `method` 0 to 4, P the list price, C the cost, p the level's figure.
double formulaPrice(int method, double listPrice, double cost, double p)
{
    switch (method) {
    case 0: return listPrice - throughFormat(listPrice * p * 0.01, QStringLiteral("######.000"));
    case 1: return listPrice - p;
    case 2: return cost + throughFormat(cost * p * 0.01, QStringLiteral("######.000"));
    case 3: return cost + p;
    default: return throughFormat(p, QStringLiteral("###,###.00"));
    }
}

// The level of a quantity: the first break it does not exceed, else 5 (which needs a break of its
// own); 0 when there is none.
int quantityLevel(const Recordset &rule, double quantity)
{
    for (int level = 1; level <= 4; ++level) {
        const QString field = "to" + QString::number(level);
        if (!rule.isNull(field) && quantity <= rule.number(field))
            return level;
    }
    return rule.isNull(QStringLiteral("to5")) ? 0 : 5;
}

int priceLevelOf(const QString &text)
{
    static const QStringList levels = {"1", "2", "3", "4", "5"};
    return int(levels.indexOf(text)) + 1; // 0 when the text is no level
}

// The look-ups asked of the database service line by line.
class ServerPriceLookups : public PriceLookups
{
public:
    explicit ServerPriceLookups(clsServer &server)
        : m_server(server)
    {
    }
    Recordset priceInfo(const QString &itemNo, const QString &rowText, const QString &colText) override
    {
        return m_server.Get_A_PriceInfo(itemNo, rowText, colText);
    }
    Recordset priceCode(const QString &custNo, const QString &custPriceGroup, const QString &itemNo,
                        const QString &itemPriceGroup) override
    {
        return m_server.Get_PriceCodeInfo(custNo, custPriceGroup, itemNo, itemPriceGroup);
    }

private:
    clsServer &m_server;
};

} // namespace

double PriceDetailLine(clsServer &server, const QString &itemNo, const QString &rowText, const QString &colText,
                       const QString &quantity, const QString &unused5, const QString &unused6, const QString &custNo,
                       const QString &custPriceLevel, double &dcPercent, Currency &dcAmount, double &commRate)
{
    ServerPriceLookups lookups(server);
    return PriceDetailLine(lookups, itemNo, rowText, colText, quantity, unused5, unused6, custNo, custPriceLevel,
                           dcPercent, dcAmount, commRate);
}

double PriceDetailLine(PriceLookups &lookups, const QString &itemNo, const QString &rowText, const QString &colText,
                       const QString &quantity, const QString &, const QString &, const QString &custNo,
                       const QString &custPriceLevel, double &dcPercent, Currency &dcAmount, double &commRate)
{
    dcAmount = Currency();
    dcPercent = 0;
    commRate = 0;
    try {
        if (itemNo.isEmpty() || quantity.isEmpty())
            return 0;
        Recordset item = lookups.priceInfo(itemNo, rowText, colText);
        if (item.isEmpty())
            return 0;
        item.moveFirst();
        const QString itemPriceGroup = item.text(QStringLiteral("pricecode"));

        Recordset rule = lookups.priceCode(custNo, custPriceLevel, itemNo, itemPriceGroup);
        if (rule.isEmpty())
            return figure(item, QStringLiteral("price"));
        rule.moveFirst();

        // A null or fractional method, or one above 10, applies no formula: the price stays 0.
        const double methodValue = rule.isNull(QStringLiteral("method")) ? -1 : rule.number(QStringLiteral("method"));
        const int method = methodValue >= 0 && methodValue <= 10 && methodValue == std::floor(methodValue)
                               ? int(methodValue)
                               : -1;
        const std::optional<double> qty = vb::parseNumber(quantity);
        if (!qty)
            throw DbError(DbError::TypeMismatch, QStringLiteral("Type mismatch"));
        const double listPrice = figure(item, QStringLiteral("price"));

        double net = 0;
        double commission = 0;
        auto priceAtLevel = [&](int formula, int level) {
            const QString n = QString::number(level);
            const double cost = formula == 2 || formula == 3 ? figure(item, QStringLiteral("cost")) : 0;
            net = formulaPrice(formula, listPrice, cost, figure(rule, "p" + n));
            commission = figure(rule, "c" + n);
        };

        if (method >= 0 && method <= 4) {
            if (*qty == 0) {
                net = listPrice;
            } else {
                const int level = quantityLevel(rule, *qty);
                if (level == 0)
                    return 0;
                priceAtLevel(method, level);
            }
        } else if (method >= 5 && method <= 9) {
            const int level = priceLevelOf(custPriceLevel);
            if (level == 0)
                return 0;
            priceAtLevel(method - 5, level);
        } else if (method == 10) {
            net = rule.isNull(QStringLiteral("unit"))
                      ? listPrice
                      : throughFormat(rule.number(QStringLiteral("unit")), QStringLiteral("###,###.00"));
            commission = rule.number(QStringLiteral("commrate"));
        }

        if (listPrice - net > 0) {
            const double off = listPrice - throughFormat(net, QStringLiteral("###,###.00"));
            const std::optional<Currency> amount = Currency::parse(FormatAmount(off));
            if (!amount)
                throw DbError(DbError::TypeMismatch, QStringLiteral("Type mismatch"));
            dcAmount = *amount;
            dcPercent = listPrice != 0
                            ? throughFormat((listPrice - net) * 100 / listPrice, QStringLiteral("###,###.00"))
                            : 0;
        }
        commRate = commission != 0 ? throughFormat(commission, QStringLiteral("####.00")) : 0;
        return net;
    } catch (const std::exception &) {
        return 0;
    }
}
