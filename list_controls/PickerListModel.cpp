#include "list_controls/PickerListModel.h"

#include <QFontMetrics>

#include <algorithm>
#include <utility>

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

void PickerListModel::Widest::reset()
{
    m_longest.clear();
    m_measured = 0;
    m_widths.clear();
}

void PickerListModel::Widest::extend(const Entries& rows) const
{
    if (m_measured > rows.size()) {
        m_longest.clear();
        m_widths.clear();
        m_measured = 0;
    }
    if (m_measured == rows.size())
        return;
    // The kept texts and the new rows' compete; each length is read once.
    std::vector<std::pair<qsizetype, const QString*>> candidates;
    candidates.reserve(m_longest.size() + (rows.size() - m_measured));
    for (const QString& text : m_longest)
        candidates.emplace_back(text.size(), &text);
    for (size_t row = m_measured; row < rows.size(); ++row)
        candidates.emplace_back(rows[row].text.size(), &rows[row].text);
    const auto longer = [](const auto& a, const auto& b) { return a.first > b.first; };
    if (candidates.size() > kMeasuredTexts) {
        std::nth_element(candidates.begin(), candidates.begin() + kMeasuredTexts, candidates.end(), longer);
        candidates.resize(kMeasuredTexts);
    }
    std::vector<QString> longest;
    longest.reserve(candidates.size());
    for (const auto& candidate : candidates)
        longest.push_back(*candidate.second);
    m_longest = std::move(longest);
    m_measured = rows.size();
    m_widths.clear();
}

int PickerListModel::Widest::width(const Entries& rows, const QFont& font) const
{
    extend(rows);
    const QString key = font.key();
    const auto known = m_widths.constFind(key);
    if (known != m_widths.constEnd())
        return *known;
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& text : m_longest)
        widest = std::max(widest, metrics.boundingRect(text).width());
    m_widths.insert(key, widest);
    return widest;
}

void PickerListModel::Widest::rowsChanged(const Entries& rows, const std::vector<QString>& gone,
                                          const std::vector<QString>& arrived)
{
    if (m_measured == 0)
        return;
    // Only a measure of every row before the change can be carried over (it cannot tell which of
    // the rows it had not reached remain), and only while none of its texts left.
    const bool wholeBefore = m_measured + arrived.size() == rows.size() + gone.size();
    const bool keptTextGone = std::any_of(gone.begin(), gone.end(), [this](const QString& text) {
        return std::find(m_longest.begin(), m_longest.end(), text) != m_longest.end();
    });
    if (!wholeBefore || keptTextGone) {
        reset();
        return;
    }
    if (arrived.empty()) {
        m_measured = rows.size();
        return;
    }
    std::vector<QString> candidates = m_longest;
    candidates.insert(candidates.end(), arrived.begin(), arrived.end());
    const auto longer = [](const QString& a, const QString& b) { return a.size() > b.size(); };
    if (candidates.size() > kMeasuredTexts) {
        std::nth_element(candidates.begin(), candidates.begin() + kMeasuredTexts, candidates.end(), longer);
        candidates.resize(kMeasuredTexts);
    }
    m_longest = std::move(candidates);
    m_measured = rows.size();
    m_widths.clear();
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
    m_widest.reset();
    endResetModel();
}

void PickerListModel::setSharedEntries(std::shared_ptr<const SharedEntries> entries)
{
    beginResetModel();
    m_entries.clear();
    m_lookup.reset();
    m_widest.reset();
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
    m_widest.reset();
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
        if (row < static_cast<int>(m_entries.size())) {
            m_lookup.reset();
            m_widest.reset();
        }
        m_entries.insert(m_entries.begin() + row, entry);
    }
    endInsertRows();
}

void PickerListModel::removeEntry(int row)
{
    beginRemoveRows({}, row, row);
    detach();
    const QString gone = m_entries.at(static_cast<size_t>(row)).text;
    m_entries.erase(m_entries.begin() + row);
    m_lookup.reset();
    m_widest.rowsChanged(m_entries, { gone }, {});
    endRemoveRows();
}

void PickerListModel::setText(int row, const QString& text)
{
    detach();
    const QString gone = std::exchange(m_entries.at(static_cast<size_t>(row)).text, text);
    m_lookup.reset();
    m_widest.rowsChanged(m_entries, { gone }, { text });
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

int PickerListModel::widestText(const QFont& font) const
{
    if (!m_shared)
        return m_entries.empty() ? 0 : m_widest.width(m_entries, font);
    int widest = m_shared->rows.empty() ? 0 : m_shared->widest.width(m_shared->rows, font);
    if (m_lead)
        widest = std::max(widest, QFontMetrics(font).boundingRect(m_lead->text).width());
    return widest;
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
