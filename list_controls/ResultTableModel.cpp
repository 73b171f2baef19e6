#include "list_controls/ResultTableModel.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "list_controls/ListFormats.h"

#include <algorithm>
#include <numeric>

ResultTableModel::ResultTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void ResultTableModel::buildColumns(const Recordset& result)
{
    beginResetModel();
    m_columns.clear();
    for (int field = 1; field < result.fieldCount(); ++field) {
        const QString name = result.fieldName(field);
        if (name.startsWith(QLatin1Char('_')))
            continue;
        Column column;
        column.name = name;
        column.type = result.fieldType(field);
        const int companion = result.fieldIndex(QLatin1Char('_') + name);
        if (companion > 0) {
            column.companion = result.fieldName(companion);
            column.companionType = result.fieldType(companion);
        }
        m_columns.push_back(column);
    }
    m_built = true;
    endResetModel();
}

int ResultTableModel::columnIndex(const QString& name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void ResultTableModel::clearRows()
{
    beginResetModel();
    m_rows.clear();
    m_sources.clear();
    m_identities.clear();
    endResetModel();
}

int ResultTableModel::addSource(std::shared_ptr<const Recordset> result)
{
    Source source;
    for (const Column& column : m_columns) {
        source.field.push_back(result->fieldIndex(column.name));
        source.companion.push_back(column.companion.isEmpty() ? -1 : result->fieldIndex(column.companion));
    }
    const quint32 first = m_sources.empty() ? 0 : m_sources.back().first + static_cast<quint32>(m_sources.back().result->recordCount());
    if (static_cast<qint64>(first) + result->recordCount() >= static_cast<qint64>(Row::kChecked))
        throw AppError(ErrOverflow, QStringLiteral("Overflow"), ApplicationTitle());
    source.first = first;
    source.result = std::move(result);
    m_sources.push_back(std::move(source));
    return static_cast<int>(m_sources.size()) - 1;
}

const ResultTableModel::Source& ResultTableModel::sourceOf(const Row& row, int& record) const
{
    const quint32 number = row.number();
    // Almost always one source; a data-changed message adds one of a few rows.
    size_t index = 0;
    if (m_sources.size() > 1) {
        const auto after = std::upper_bound(m_sources.begin(), m_sources.end(), number,
            [](quint32 value, const Source& source) { return value < source.first; });
        index = static_cast<size_t>(after - m_sources.begin()) - 1;
    }
    const Source& source = m_sources[index];
    record = static_cast<int>(number - source.first);
    return source;
}

void ResultTableModel::appendRows(std::shared_ptr<const Recordset> result)
{
    if (!result || !result->isOpen() || result->recordCount() == 0 || result->fieldCount() == 0)
        return;
    addSource(std::move(result));
    const Source& source = m_sources.back();
    const Recordset& records = *source.result;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (source.field[i] < 0)
            throw AppError(ErrItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."),
                           ApplicationTitle());
    }
    const int count = records.recordCount();
    std::vector<Row> added;
    added.reserve(static_cast<size_t>(count));
    QString duplicate;
    // Grown ahead only for a large fill: reserve() rehashes every identity already kept, which
    // a one-row addition to a large grid must not pay for.
    if (m_identities.capacity() < m_identities.size() + count)
        m_identities.reserve(m_identities.size() + count);
    for (int record = 0; record < count; ++record) {
        const int identity = static_cast<int>(records.intValue(record, 0));
        if (m_identities.contains(identity)) {
            duplicate = QStringLiteral("#") + QString::number(identity);
            break;
        }
        m_identities.insert(identity);
        added.push_back(Row { source.first + static_cast<quint32>(record), identity });
    }
    // Each row of a data-changed message to its place: a search for it and one inserted row,
    // where sorting everything again would cost the whole grid.
    constexpr size_t kOneByOne = 32;
    if (!added.empty() && sorted() && !m_rows.empty() && added.size() <= kOneByOne) {
        for (const Row& row : added)
            insertSorted(row);
    } else if (!added.empty()) {
        // A first fill resets the view at once; later additions are inserted.
        const bool reset = m_rows.empty();
        if (reset)
            beginResetModel();
        // Room for the rows later messages add, so the first of them does not copy every row.
        if (m_rows.capacity() < m_rows.size() + added.size())
            m_rows.reserve(m_rows.size() + added.size() + (m_rows.size() + added.size()) / 8 + 16);
        if (!reset)
            beginInsertRows({}, rowCount(), rowCount() + static_cast<int>(added.size()) - 1);
        m_rows.insert(m_rows.end(), added.begin(), added.end());
        m_lastPlaced = static_cast<int>(m_rows.size()) - 1;
        if (reset)
            endResetModel();
        else
            endInsertRows();
        if (sorted())
            sort(m_sortColumn, m_sortOrder);
    }
    if (!duplicate.isEmpty())
        throw AppError(ErrKeyNotUnique, QStringLiteral("Key is not unique in collection") + QStringLiteral(" (") + duplicate + QStringLiteral(")"),
                       ApplicationTitle());
}

int ResultTableModel::updateRows(std::shared_ptr<const Recordset> result, QList<QPersistentModelIndex>* changedCells)
{
    if (!result || !result->isOpen() || result->recordCount() == 0)
        return 0;
    addSource(std::move(result));
    const quint32 first = m_sources.back().first;
    const Recordset& records = *m_sources.back().result;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_sources.back().field[i] < 0)
            throw AppError(ErrItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."),
                           ApplicationTitle());
    }
    int replaced = 0;
    for (int record = 0; record < records.recordCount(); ++record) {
        const int identity = static_cast<int>(records.intValue(record, 0));
        int row = rowOfIdentity(identity);
        if (row < 0)
            continue;
        QStringList before;
        for (int column = 0; changedCells && column < columnCount(); ++column)
            before << textAt(row, column);
        Row& target = m_rows[static_cast<size_t>(row)];
        target.ref = (first + static_cast<quint32>(record)) | (target.ref & Row::kChecked);
        ++replaced;
        if (sorted()) {
            const int place = sortedPlace(sortKey(target, m_sortColumn), row);
            if (place != row) {
                // One row moves; the view and the selection follow it without a relayout of all.
                beginMoveRows({}, row, row, {}, place > row ? place + 1 : place);
                const Row moving = m_rows[static_cast<size_t>(row)];
                const auto from = m_rows.begin() + row;
                const auto to = m_rows.begin() + place;
                if (place > row)
                    std::move(from + 1, to + 1, from);
                else
                    std::move_backward(to, from, from + 1);
                *to = moving;
                endMoveRows();
                row = place;
                m_lastPlaced = place;
            }
        }
        for (int column = 0; changedCells && column < columnCount(); ++column) {
            if (textAt(row, column) != before.at(column))
                changedCells->append(QPersistentModelIndex(index(row, column)));
        }
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    return replaced;
}

SortKey ResultTableModel::sortKey(const Row& row, int column) const
{
    int record = 0;
    const Source& source = sourceOf(row, record);
    const Column& info = m_columns[static_cast<size_t>(column)];
    const bool byCompanion = source.companion[static_cast<size_t>(column)] >= 0;
    return MakeSortKey(sortValue(row, column), byCompanion ? info.companionType : info.type);
}

int ResultTableModel::sortedPlace(const SortKey& key, int skip) const
{
    const int count = static_cast<int>(m_rows.size()) - (skip >= 0 ? 1 : 0);
    auto compareAt = [&](int place) {
        const int row = skip >= 0 && place >= skip ? place + 1 : place;
        const int compared = CompareSortKeys(sortKey(m_rows[static_cast<size_t>(row)], m_sortColumn), key);
        return m_sortOrder == Qt::AscendingOrder ? compared : -compared;
    };
    // The first row that sorts after the key, and the first of the rows of an equal key.
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compareAt(middle) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    const int after = low;
    if (skip < 0)
        return after;
    low = 0;
    high = after;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compareAt(middle) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    const int equal = low;
    return std::clamp(skip, equal, after);
}

void ResultTableModel::insertSorted(const Row& row)
{
    const int place = sortedPlace(sortKey(row, m_sortColumn), -1);
    beginInsertRows({}, place, place);
    m_rows.insert(m_rows.begin() + place, row);
    m_lastPlaced = place;
    endInsertRows();
}

bool ResultTableModel::removeIdentity(int identity)
{
    const int row = rowOfIdentity(identity);
    if (row < 0)
        return false;
    removeRowAt(row);
    return true;
}

void ResultTableModel::removeRowAt(int row)
{
    beginRemoveRows({}, row, row);
    m_identities.remove(m_rows[static_cast<size_t>(row)].identity);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

int ResultTableModel::rowOfIdentity(int identity) const
{
    if (!m_identities.contains(identity))
        return -1;
    // The row a change just placed is the one asked for next (to select it, to widen columns).
    const size_t count = m_rows.size();
    if (m_lastPlaced >= 0 && static_cast<size_t>(m_lastPlaced) < count
        && m_rows[static_cast<size_t>(m_lastPlaced)].identity == identity)
        return m_lastPlaced;
    // Eight rows at a time without a branch each: the compiler makes one vector compare of them.
    const Row* rows = m_rows.data();
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        bool hit = false;
        for (size_t k = 0; k < 8; ++k)
            hit |= rows[i + k].identity == identity;
        if (hit)
            break;
    }
    for (; i < count; ++i) {
        if (rows[i].identity == identity) {
            m_lastPlaced = static_cast<int>(i);
            return m_lastPlaced;
        }
    }
    return -1;
}

QVariant ResultTableModel::cellValue(const Row& row, int column) const
{
    int record = 0;
    const Source& source = sourceOf(row, record);
    return source.result->valueAt(record, source.field[static_cast<size_t>(column)]);
}

QVariant ResultTableModel::sortValue(const Row& row, int column) const
{
    int record = 0;
    const Source& source = sourceOf(row, record);
    const int companion = source.companion[static_cast<size_t>(column)];
    if (companion >= 0)
        return source.result->valueAt(record, companion);
    return cellValue(row, column);
}

QString ResultTableModel::textAt(int row, int column) const
{
    return CellText(cellValue(m_rows.at(static_cast<size_t>(row)), column), m_columns.at(static_cast<size_t>(column)).type);
}

void ResultTableModel::setCheckboxes(bool on)
{
    if (on == m_checkboxes)
        return;
    m_checkboxes = on;
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), { Qt::CheckStateRole });
}

void ResultTableModel::setChecked(int row, bool checked)
{
    m_rows.at(static_cast<size_t>(row)).setChecked(checked);
    Q_EMIT dataChanged(index(row, 0), index(row, 0), { Qt::CheckStateRole });
}

void ResultTableModel::setAllChecked(bool checked)
{
    for (Row& row : m_rows)
        row.setChecked(checked);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), { Qt::CheckStateRole });
}

void ResultTableModel::reverseChecked()
{
    for (Row& row : m_rows)
        row.setChecked(!row.checked());
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), { Qt::CheckStateRole });
}

void ResultTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    if (m_rows.size() < 2)
        return;
    std::vector<SortKey> keys;
    keys.reserve(m_rows.size());
    for (const Row& row : m_rows)
        keys.push_back(sortKey(row, column));
    std::vector<int> order_(m_rows.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const int compared = CompareSortKeys(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
        return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
    });

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(m_rows.capacity());
    std::vector<int> newRowOf(m_rows.size());
    for (size_t i = 0; i < order_.size(); ++i) {
        sorted.push_back(m_rows[static_cast<size_t>(order_[i])]);
        newRowOf[static_cast<size_t>(order_[i])] = static_cast<int>(i);
    }
    m_rows.swap(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after << index(newRowOf[static_cast<size_t>(old.row())], old.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ResultTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const Row& row = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return CellText(cellValue(row, index.column()), m_columns[static_cast<size_t>(index.column())].type);
    case SortRole:
        return sortValue(row, index.column());
    case IdentityRole:
        return row.identity;
    case Qt::CheckStateRole:
        if (m_checkboxes && index.column() == 0)
            return row.checked() ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool ResultTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !m_checkboxes || !index.isValid() || index.column() != 0)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    setChecked(index.row(), checked);
    Q_EMIT checkChanged(index.row(), checked);
    return true;
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return m_columns[static_cast<size_t>(section)].name;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ResultTableModel::flags(const QModelIndex& index) const
{
    // Rows never have children: the view need not ask each row for them.
    Qt::ItemFlags flags = QAbstractTableModel::flags(index) | Qt::ItemNeverHasChildren;
    if (m_checkboxes && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}
