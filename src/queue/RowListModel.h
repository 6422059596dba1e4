#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// A table model of value rows, one row per value, under fixed headings: what the queue and done
// lists share. A subclass says what each cell shows (cell); its tool tip is the same text, so a
// cut cell can be read whole.
template <typename Row>
class RowListModel : public QAbstractTableModel
{
public:
    explicit RowListModel(QStringList headings, QObject *parent = nullptr)
        : QAbstractTableModel(parent), m_headings(std::move(headings))
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_headings.size());
    }
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
            return {};
        return cell(m_rows.at(index.row()), index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_headings.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    const QList<Row> &orders() const { return m_rows; }
    const Row &at(int row) const { return m_rows.at(row); }

    // Returns the new row's index.
    int append(const Row &row)
    {
        const int at = int(m_rows.size());
        beginInsertRows({}, at, at);
        m_rows.append(row);
        endInsertRows();
        return at;
    }
    void remove(int row)
    {
        if (row < 0 || row >= m_rows.size())
            return;
        beginRemoveRows({}, row, row);
        m_rows.removeAt(row);
        endRemoveRows();
    }

protected:
    virtual QString cell(const Row &row, int column) const = 0;
    // Changes one cell's text through `field`; views are told when it changed.
    void setField(int row, int column, QString Row::*field, const QString &text)
    {
        if (row < 0 || row >= m_rows.size() || m_rows.at(row).*field == text)
            return;
        m_rows[row].*field = text;
        Q_EMIT dataChanged(index(row, column), index(row, column));
    }

    QList<Row> m_rows;

private:
    QStringList m_headings;
};
