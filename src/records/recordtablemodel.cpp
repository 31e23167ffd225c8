#include "records/recordtablemodel.h"

RecordTableModel::RecordTableModel(const QStringList &headers, QObject *parent)
    : QAbstractTableModel(parent)
    , headers(headers)
{
}

int RecordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : qMax(int(emptyRows), int(stored.size()));
}

int RecordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(headers.size());
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= stored.size())
        return QVariant();
    const QString text = stored.at(index.row()).text(index.column());
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headers.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void RecordTableModel::append(const QVector<StoredRecord> &more)
{
    if (more.isEmpty())
        return;
    const int first = stored.size();
    const int rowsBefore = rowCount();
    const int rowsAfter = qMax(int(emptyRows), first + int(more.size()));
    if (rowsAfter > rowsBefore)
        beginInsertRows(QModelIndex(), rowsBefore, rowsAfter - 1);
    stored += more;
    if (rowsAfter > rowsBefore)
        endInsertRows();
    // Rows that were there empty now show their records.
    const int lastFilled = qMin(rowsBefore, int(stored.size())) - 1;
    if (first <= lastFilled)
        emit dataChanged(index(first, 0), index(lastFilled, columnCount() - 1));
}

void RecordTableModel::clear()
{
    beginResetModel();
    stored.clear();
    stored.squeeze();
    endResetModel();
}
