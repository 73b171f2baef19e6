#include "list_controls/PickerListModel.h"

#include <algorithm>

PickerListModel::PickerListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

int PickerListModel::count() const
{
    if (m_shared)
        return static_cast<int>(m_shared->size()) + (m_lead ? 1 : 0);
    return static_cast<int>(m_entries.size());
}

const PickerListModel::Entry& PickerListModel::at(int row) const
{
    if (!m_shared)
        return m_entries.at(static_cast<size_t>(row));
    if (m_lead) {
        if (row == 0)
            return *m_lead;
        --row;
    }
    return m_shared->at(static_cast<size_t>(row));
}

void PickerListModel::setEntries(std::vector<Entry> entries)
{
    beginResetModel();
    m_shared.reset();
    m_lead.reset();
    m_entries = std::move(entries);
    endResetModel();
}

void PickerListModel::setSharedEntries(std::shared_ptr<const Entries> entries)
{
    beginResetModel();
    m_entries.clear();
    m_lead.reset();
    m_shared = std::move(entries);
    if (!m_shared)
        m_shared = std::make_shared<const Entries>();
    endResetModel();
}

void PickerListModel::detach()
{
    if (!m_shared)
        return;
    std::vector<Entry> own;
    own.reserve(m_shared->size() + 1);
    if (m_lead)
        own.push_back(*m_lead);
    own.insert(own.end(), m_shared->begin(), m_shared->end());
    m_entries = std::move(own);
    m_shared.reset();
    m_lead.reset();
}

void PickerListModel::insertEntry(int row, const Entry& entry)
{
    row = std::clamp(row, 0, count());
    beginInsertRows({}, row, row);
    if (m_shared && row == 0 && !m_lead) {
        m_lead = entry;
    } else {
        detach();
        m_entries.insert(m_entries.begin() + row, entry);
    }
    endInsertRows();
}

void PickerListModel::removeEntry(int row)
{
    beginRemoveRows({}, row, row);
    detach();
    m_entries.erase(m_entries.begin() + row);
    endRemoveRows();
}

void PickerListModel::setText(int row, const QString& text)
{
    detach();
    m_entries.at(static_cast<size_t>(row)).text = text;
    Q_EMIT dataChanged(index(row), index(row));
}

void PickerListModel::clear()
{
    setEntries({});
}

int PickerListModel::rowOfIdentity(int identity) const
{
    const int rows = count();
    for (int row = 0; row < rows; ++row) {
        if (at(row).identity == identity)
            return row;
    }
    return -1;
}

int PickerListModel::rowOfText(const QString& text) const
{
    const int rows = count();
    for (int row = 0; row < rows; ++row) {
        if (at(row).text.compare(text, Qt::CaseInsensitive) == 0)
            return row;
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
    const Entry& entry = at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return entry.text;
    if (role == IdentityRole)
        return entry.identity;
    return {};
}
