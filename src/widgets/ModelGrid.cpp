#include "widgets/ModelGrid.h"

#include "widgets/ColumnFit.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {

// The models give text only; the view decides where it stands in its cell.
class ColumnAlignment : public QStyledItemDelegate
{
public:
    ColumnAlignment(const QHash<int, Qt::Alignment> &alignments, QObject *parent)
        : QStyledItemDelegate(parent)
        , alignments(alignments)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto found = alignments.constFind(index.column());
        if (found != alignments.constEnd())
            option->displayAlignment = *found | Qt::AlignVCenter;
    }

private:
    const QHash<int, Qt::Alignment> &alignments;
};

} // namespace

ModelGrid::ModelGrid(QAbstractItemModel *model, QWidget *parent) : QTableView(parent)
{
    setModel(model);
    setItemDelegate(new ColumnAlignment(mAlignments, this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    mColumnFit = new ColumnFit(this);
}

int ModelGrid::selectedRow() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ModelGrid::setColumnAlignment(int column, Qt::Alignment alignment)
{
    mAlignments.insert(column, alignment & Qt::AlignHorizontal_Mask);
    viewport()->update();
}
