#include "form_framework/SharedReads.h"

#include "core/Database.h"
#include "core/Recordset.h"

#include <QHash>

#include <vector>

namespace {
// One set of reads per message going round, the innermost last: a message sent while another
// goes round follows a change, so it reads afresh.
std::vector<QHash<QString, std::shared_ptr<const Recordset>>>& scopes()
{
    static std::vector<QHash<QString, std::shared_ptr<const Recordset>>> kept;
    return kept;
}
} // namespace

SharedReads::SharedReads() { scopes().emplace_back(); }

SharedReads::~SharedReads() { scopes().pop_back(); }

bool SharedReads::open(const QString& sql, std::shared_ptr<const Recordset>& result)
{
    if (!scopes().empty()) {
        const auto kept = scopes().back().constFind(sql);
        if (kept != scopes().back().constEnd()) {
            result = kept.value();
            return true;
        }
    }
    std::unique_ptr<Recordset> read;
    if (!Act_OpenRecordset(read, sql))
        return false;
    result = std::move(read);
    if (!scopes().empty())
        scopes().back().insert(sql, result);
    return true;
}
