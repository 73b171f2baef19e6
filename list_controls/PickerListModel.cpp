#include "list_controls/PickerListModel.h"

#include <algorithm>

namespace {

// The text as QString::compare without regard to letter case sees it: each character folded on
// its own. Texts that compare equal that way have the same key.
QString foldedKey(const QString& text)
{
    QString key;
    key.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(unit, text.at(i + 1)));
            key.append(QChar::fromUcs4(folded));
            ++i;
        } else {
            key.append(unit.toCaseFolded());
        }
    }
    return key;
}

// Takes the rows appended since into an index (all of them after a reset); the first row of a key
// wins, as a walk from the top finds it.
template <typename Key, typename KeyOf>
void extendIndex(QHash<Key, int>& index, size_t& indexed, const PickerListModel::Entries& rows, KeyOf keyOf)
{
    if (indexed > rows.size()) {
        index.clear();
        indexed = 0;
    }
    if (indexed == rows.size())
        return;
    if (indexed == 0)
        index.reserve(static_cast<qsizetype>(rows.size()));
    for (; indexed < rows.size(); ++indexed) {
        Key key = keyOf(rows[indexed]);
        if (!index.contains(key))
            index.insert(std::move(key), static_cast<int>(indexed));
    }
}

} // namespace

void PickerListModel::Lookup::reset()
{
    m_identities.clear();
    m_identitiesIndexed = 0;
    m_texts.clear();
    m_textsIndexed = 0;
}

int PickerListModel::Lookup::rowOfIdentity(const Entries& rows, int identity) const
{
    extendIndex(m_identities, m_identitiesIndexed, rows, [](const Entry& entry) { return entry.identity; });
    return m_identities.value(identity, -1);
}

int PickerListModel::Lookup::rowOfText(const Entries& rows, const QString& text) const
{
    extendIndex(m_texts, m_textsIndexed, rows, [](const Entry& entry) { return foldedKey(entry.text); });
    const int row = m_texts.value(foldedKey(text), -1);
    if (row >= 0 && rows[static_cast<size_t>(row)].text.compare(text, Qt::CaseInsensitive) == 0)
        return row;
    if (row < 0)
        return -1;
    // A fold the comparison does not share: the walk decides.
    for (size_t at = 0; at < rows.size(); ++at) {
        if (rows[at].text.compare(text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(at);
    }
    return -1;
}

PickerListModel::PickerListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

int PickerListModel::count() const
{
    if (m_shared)
        return static_cast<int>(m_shared->rows.size()) + (m_lead ? 1 : 0);
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
    return m_shared->rows.at(static_cast<size_t>(row));
}

void PickerListModel::setEntries(std::vector<Entry> entries)
{
    beginResetModel();
    m_shared.reset();
    m_lead.reset();
    m_entries = std::move(entries);
    m_lookup.reset();
    endResetModel();
}

void PickerListModel::setSharedEntries(std::shared_ptr<const SharedEntries> entries)
{
    beginResetModel();
    m_entries.clear();
    m_lookup.reset();
    m_lead.reset();
    m_shared = std::move(entries);
    if (!m_shared)
        m_shared = std::make_shared<const SharedEntries>();
    endResetModel();
}

void PickerListModel::detach()
{
    if (!m_shared)
        return;
    std::vector<Entry> own;
    own.reserve(m_shared->rows.size() + 1);
    if (m_lead)
        own.push_back(*m_lead);
    own.insert(own.end(), m_shared->rows.begin(), m_shared->rows.end());
    m_entries = std::move(own);
    m_lookup.reset();
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
        // An entry appended extends the index at the next look-up; one put before others moves
        // the rows after it.
        if (row < static_cast<int>(m_entries.size()))
            m_lookup.reset();
        m_entries.insert(m_entries.begin() + row, entry);
    }
    endInsertRows();
}

void PickerListModel::removeEntry(int row)
{
    beginRemoveRows({}, row, row);
    detach();
    m_entries.erase(m_entries.begin() + row);
    m_lookup.reset();
    endRemoveRows();
}

void PickerListModel::setText(int row, const QString& text)
{
    detach();
    m_entries.at(static_cast<size_t>(row)).text = text;
    m_lookup.reset();
    Q_EMIT dataChanged(index(row), index(row));
}

void PickerListModel::clear()
{
    setEntries({});
}

int PickerListModel::rowOfIdentity(int identity) const
{
    if (!m_shared)
        return m_lookup.rowOfIdentity(m_entries, identity);
    if (m_lead && m_lead->identity == identity)
        return 0;
    const int row = m_shared->lookup.rowOfIdentity(m_shared->rows, identity);
    return row < 0 ? -1 : row + (m_lead ? 1 : 0);
}

int PickerListModel::rowOfText(const QString& text) const
{
    if (!m_shared)
        return m_lookup.rowOfText(m_entries, text);
    if (m_lead && m_lead->text.compare(text, Qt::CaseInsensitive) == 0)
        return 0;
    const int row = m_shared->lookup.rowOfText(m_shared->rows, text);
    return row < 0 ? -1 : row + (m_lead ? 1 : 0);
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
