#pragma once

#include "styles/ExtraColumnStyle.h"

#include <QHash>

// The lot style "REGLOT": the standard style whose picking sheet shows each line's lot numbers,
// lists the lines by lot, and carries the order's quantity total on its last page.
//
// Every line of the order prints. A line whose item has no lot (no itemcopy row) prints with an
// empty lot cell and comes first; a line whose item is kept in several lots prints once, with
// every lot in its cell (one per line) and listed by its lowest lot, so its quantity is picked
// and counted once.
class LotStyle : public ExtraColumnStyle
{
public:
    using ExtraColumnStyle::ExtraColumnStyle;

protected:
    QString linesStatement(const QString &invno) const override;
    void beginOrder() override;
    PickingColumns pickingColumns() const override;
    QString pickingRemarks() const override;
    QString quantityField(bool matrixCell) const override;
    QStringList matrixCellCells(const QString &quantity) const override;
    QStringList itemCells(const QString &quantity) const override;
    void addItemRow(const QStringList &cells, bool matrixCell, double quantity) override;

private:
    // The lot cell of the current line.
    QString lots() const;

    // Lots of the order's items, lowest first, by upper-cased item number.
    QHash<QString, QStringList> itemLots;
    // Sum of the quantities printed so far of the current order.
    double quantityTotal = 0;
};

// The print procedure of "REGLOT".
QString PrintLotStyle(PageEngine &engine, const PrintRequest &request);
