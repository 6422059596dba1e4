#include "queue/DoneModel.h"

DoneModel::DoneModel(QObject *parent)
    : RowListModel({"Terminal", "Saved Order", "Customer #", "Customer Name", "Print?", "Print Status"}, parent)
{
}

QString DoneModel::cell(const DoneOrder &order, int column) const
{
    switch (column) {
    case Terminal: return order.terminal;
    case SavedOrder: return order.savedOrder();
    case CustomerNo: return order.customerNo;
    case CustomerName: return order.customerName;
    case PrintQty: return order.printQty;
    case PrintStatus: return order.printStatus;
    default: return {};
    }
}

int DoneModel::find(const QString &soNo) const
{
    for (int row = int(m_rows.size()) - 1; row >= 0; --row) {
        if (m_rows.at(row).soNo == soNo)
            return row;
    }
    return -1;
}

void DoneModel::addPrintStatus(int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const QString current = m_rows.at(row).printStatus;
    setPrintStatus(row, current.isEmpty() ? text : current + QStringLiteral("; ") + text);
}
