#include "list_controls/SharedPickerLists.h"

#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "form_framework/FormSnapshot.h"

#include <QHash>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct KeptList {
    QString tableName;
    std::shared_ptr<const PickerListModel::SharedEntries> entries;
};

struct Kept {
    quint64 connection = 0;
    QHash<QString, KeptList> lists; // by the call's text, lower case
    bool listening = false;
};

Kept& kept()
{
    static Kept state;
    // What was read on another connection belongs to another database (or log-in).
    if (state.connection != DBConnectionSerial()) {
        state.lists.clear();
        state.connection = DBConnectionSerial();
    }
    return state;
}

QString keyOf(const QString& populateSQL) { return populateSQL.trimmed().toLower(); }

bool readEntries(const QString& sql, std::vector<PickerListModel::Entry>& entries)
{
    std::unique_ptr<Recordset> result;
    if (!Act_OpenRecordset(result, sql))
        return false;
    if (result && result->isOpen() && result->fieldCount() >= 2) {
        entries.reserve(entries.size() + static_cast<size_t>(result->recordCount()));
        for (int row = 0; row < result->recordCount(); ++row)
            entries.push_back({ NullToString(result->valueAt(row, 1)), static_cast<int>(result->intValue(row, 0)) });
    }
    CloseRecordset(result);
    return true;
}

// Keeps each list of the table current with a broadcast, as an open picker keeps its own; a list
// whose change cannot be read is forgotten, and read whole the next time it is needed.
void follow(DataChangedAction action, const QString& tableName, const QString& idList)
{
    Kept& state = kept();
    for (auto it = state.lists.begin(); it != state.lists.end();) {
        KeptList& list = it.value();
        if (list.tableName.compare(tableName, Qt::CaseInsensitive) != 0) {
            ++it;
            continue;
        }
        // Windows may be showing the list: the changed list replaces it. Its index and width go
        // with it (shared until changed) and take in appended rows when next used; a rename or a
        // removal moves or drops rows the index names, so then it is built again, while the
        // width is carried over unless one of its longest texts left.
        auto entries = std::make_shared<PickerListModel::SharedEntries>(*list.entries);
        PickerListModel::Entries& rows = entries->rows;
        bool current = true;
        std::vector<QString> gone;
        std::vector<QString> arrived;
        if (action == DataChangedAction::Deleted) {
            std::erase_if(rows, [&idList, &gone](const PickerListModel::Entry& entry) {
                if (!InCommaList(QString::number(entry.identity), idList))
                    return false;
                gone.push_back(entry.text);
                return true;
            });
            entries->lookup.reset();
            entries->widest.rowsChanged(rows, gone, arrived);
        } else {
            std::vector<PickerListModel::Entry> changed;
            current = readEntries(SharedPickerLists::limitedQuery(it.key(), idList), changed);
            for (const PickerListModel::Entry& entry : changed) {
                if (action == DataChangedAction::Added) {
                    if (entries->lookup.rowOfIdentity(rows, entry.identity) < 0)
                        rows.push_back(entry);
                    continue;
                }
                for (PickerListModel::Entry& held : rows) {
                    if (held.identity == entry.identity && held.text != entry.text) {
                        gone.push_back(std::exchange(held.text, entry.text));
                        arrived.push_back(entry.text);
                    }
                }
            }
            if (action != DataChangedAction::Added) {
                entries->lookup.reset();
                entries->widest.rowsChanged(rows, gone, arrived);
            }
        }
        list.entries = std::move(entries);
        it = current ? std::next(it) : state.lists.erase(it);
    }
}

} // namespace

QString SharedPickerLists::limitedQuery(const QString& populateSQL, const QString& idList)
{
    if (!populateSQL.contains(QLatin1String("usp_"), Qt::CaseInsensitive))
        return {};
    QString name = populateSQL.trimmed();
    if (name.startsWith(QLatin1String("EXEC "), Qt::CaseInsensitive))
        name = name.mid(5).trimmed();
    if (name.contains(QLatin1Char(' ')))
        return {};
    return QStringLiteral("EXEC usp_DB_Limit_SP_To_IDs @SP_Name = ") + QuoteText(name) + QStringLiteral(", @ID_List = ")
        + QuoteText(idList);
}

bool SharedPickerLists::read(const QString& populateSQL, const QString& tableName, bool reread,
                             std::shared_ptr<const PickerListModel::SharedEntries>& entries)
{
    Kept& state = kept();
    const QString key = keyOf(populateSQL);
    if (!reread) {
        const auto it = state.lists.constFind(key);
        if (it != state.lists.constEnd()) {
            entries = it->entries;
            return true;
        }
    }
    state.lists.remove(key);
    auto read = std::make_shared<PickerListModel::SharedEntries>();
    if (!readEntries(populateSQL, read->rows))
        return false;
    entries = read;
    if (static_cast<int>(read->rows.size()) >= kKeptFrom && !tableName.trimmed().isEmpty()
        && !limitedQuery(populateSQL, QStringLiteral("0")).isEmpty()) {
        if (!state.listening) {
            AddDataChangedListener(&follow);
            state.listening = true;
        }
        state.lists.insert(key, KeptList { tableName.trimmed(), entries });
    }
    return true;
}

bool SharedPickerLists::isKept(const QString& populateSQL) { return kept().lists.contains(keyOf(populateSQL)); }

void SharedPickerLists::clear() { kept().lists.clear(); }
