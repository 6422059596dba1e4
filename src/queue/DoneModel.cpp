#include "queue/DoneModel.h"

int DoneModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DoneModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DoneModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const DoneOrder &order = m_rows.at(index.row());
    switch (index.column()) {
    case Terminal: return order.terminal;
    case SavedOrder: return order.savedOrder();
    case CustomerNo: return order.customerNo;
    case CustomerName: return order.customerName;
    case PrintQty: return order.printQty;
    case PrintStatus: return order.printStatus;
    default: return {};
    }
}

QVariant DoneModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList headings{"Terminal", "Saved Order", "Customer #", "Customer Name", "Print?", "Print Status"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headings.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

int DoneModel::find(const QString &soNo) const
{
    for (int row = int(m_rows.size()) - 1; row >= 0; --row) {
        if (m_rows.at(row).soNo == soNo)
            return row;
    }
    return -1;
}

int DoneModel::append(const DoneOrder &order)
{
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(order);
    endInsertRows();
    return row;
}

void DoneModel::setPrintStatus(int row, const QString &status)
{
    if (row < 0 || row >= m_rows.size() || m_rows.at(row).printStatus == status)
        return;
    m_rows[row].printStatus = status;
    Q_EMIT dataChanged(index(row, PrintStatus), index(row, PrintStatus));
}

void DoneModel::addPrintStatus(int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const QString current = m_rows.at(row).printStatus;
    setPrintStatus(row, current.isEmpty() ? text : current + QStringLiteral("; ") + text);
}
