#include "list_controls/CheckListModel.h"

CheckListModel::CheckListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void CheckListModel::setEntries(std::vector<Entry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void CheckListModel::setChecked(int row, bool checked)
{
    m_entries.at(static_cast<size_t>(row)).checked = checked;
    Q_EMIT dataChanged(index(row), index(row), { Qt::CheckStateRole });
}

int CheckListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant CheckListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Entry& entry = m_entries[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return entry.text;
    case Qt::CheckStateRole:
        return entry.checked ? Qt::Checked : Qt::Unchecked;
    case IdentityRole:
        return entry.identity;
    default:
        return {};
    }
}

bool CheckListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= count())
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    setChecked(index.row(), checked);
    Q_EMIT userChecked(index.row(), checked);
    return true;
}

Qt::ItemFlags CheckListModel::flags(const QModelIndex& index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsUserCheckable;
}
