#pragma once

#include "list_controls/PickerListModel.h"

#include <QString>

#include <memory>
#include <vector>

// The large drop-down lists (every case, say), read once per connection and shared by every picker
// that shows the same list: the second window with a case picker runs no list query. A kept list
// follows the data-changed messages of its table, as an open picker's list does (an added record
// is appended, an updated one's text renewed, a deleted one removed), and is read again when a
// picker's list is refreshed or the connection changes. Lists shorter than `kKeptFrom` entries
// cost little to read and are not kept; only a procedure called without parameters (which
// usp_DB_Limit_SP_To_IDs can limit to some identities) is kept.
class SharedPickerLists {
public:
    static constexpr int kKeptFrom = 1000;

    // The entries of the list `populateSQL` gives, from the kept list or read now (and kept when it
    // is large); `reread` reads it again in any case. A kept list is shared with its look-up index,
    // never copied: it is replaced, not changed, when a message changes it. False when the read
    // failed (reported).
    static bool read(const QString& populateSQL, const QString& tableName, bool reread,
                     std::shared_ptr<const PickerListModel::SharedEntries>& entries);
    // Whether the list is kept now (for measurements and tests).
    static bool isKept(const QString& populateSQL);
    // Forgets every kept list.
    static void clear();
    // The limited form of a list's call: "EXEC usp_DB_Limit_SP_To_IDs ..." for a parameterless
    // procedure, else empty.
    static QString limitedQuery(const QString& populateSQL, const QString& idList);
};
