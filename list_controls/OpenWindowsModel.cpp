#include "list_controls/OpenWindowsModel.h"

#include <QApplication>
#include <QPalette>

OpenWindowsModel::OpenWindowsModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

int OpenWindowsModel::rowOfKey(const QString& key) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].key == key)
            return static_cast<int>(i);
    }
    return -1;
}

void OpenWindowsModel::append(const Entry& entry)
{
    beginInsertRows({}, count(), count());
    m_entries.push_back(entry);
    endInsertRows();
}

void OpenWindowsModel::remove(int row)
{
    beginRemoveRows({}, row, row);
    m_entries.erase(m_entries.begin() + row);
    endRemoveRows();
}

void OpenWindowsModel::setText(int row, const QString& text)
{
    m_entries.at(static_cast<size_t>(row)).text = text;
    Q_EMIT dataChanged(index(row), index(row), { Qt::DisplayRole });
}

void OpenWindowsModel::setEnabled(int row, bool enabled)
{
    m_entries.at(static_cast<size_t>(row)).enabled = enabled;
    Q_EMIT dataChanged(index(row), index(row), { Qt::ForegroundRole });
}

int OpenWindowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant OpenWindowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Entry& entry = m_entries[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return entry.text;
    case Qt::ForegroundRole:
        return QApplication::palette().brush(entry.enabled ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    case KeyRole:
        return entry.key;
    default:
        return {};
    }
}
