#include "list_controls/PickerListModel.h"

#include <algorithm>

PickerListModel::PickerListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void PickerListModel::setEntries(std::vector<Entry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void PickerListModel::insertEntry(int row, const Entry& entry)
{
    row = std::clamp(row, 0, count());
    beginInsertRows({}, row, row);
    m_entries.insert(m_entries.begin() + row, entry);
    endInsertRows();
}

void PickerListModel::removeEntry(int row)
{
    beginRemoveRows({}, row, row);
    m_entries.erase(m_entries.begin() + row);
    endRemoveRows();
}

void PickerListModel::setText(int row, const QString& text)
{
    m_entries.at(static_cast<size_t>(row)).text = text;
    Q_EMIT dataChanged(index(row), index(row));
}

void PickerListModel::clear()
{
    setEntries({});
}

int PickerListModel::rowOfIdentity(int identity) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].identity == identity)
            return static_cast<int>(i);
    }
    return -1;
}

int PickerListModel::rowOfText(const QString& text) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].text.compare(text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int PickerListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant PickerListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Entry& entry = m_entries[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return entry.text;
    if (role == IdentityRole)
        return entry.identity;
    return {};
}
