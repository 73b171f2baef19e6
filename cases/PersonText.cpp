#include "cases/PersonText.h"

#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"

#include <QRegularExpression>
#include <QStringList>

PersonName SplitFullName(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = text.split(blanks, Qt::SkipEmptyParts);
    PersonName name;
    if (words.isEmpty())
        return name;
    name.firstName = words.first();
    if (words.size() > 1) {
        name.lastName = words.last();
        name.middleName = words.mid(1, words.size() - 2).join(QLatin1Char(' '));
    }
    return name;
}

AddressFields SplitAddressText(const QString& text, const StateFinder& findState)
{
    const QStringList parts = text.split(QLatin1Char(','));
    const auto part = [&parts](int index) -> std::optional<QString> {
        if (index >= parts.size())
            return std::nullopt;
        const QString trimmed = parts.at(index).trimmed();
        return trimmed.isEmpty() ? std::nullopt : std::optional<QString>(trimmed);
    };
    AddressFields fields;
    fields.street = parts.first().trimmed();
    fields.city = part(1);
    if (const std::optional<QString> state = part(2)) {
        const int stateID = findState ? findState(*state) : 0;
        fields.stateID = stateID > 0 ? stateID : 0;
        if (stateID <= 0)
            fields.otherState = *state;
    }
    fields.zip = part(3);
    return fields;
}

int FindStateByNameOrCode(const QString& text, int countryID)
{
    const QString q = SQLString(text);
    QString sql = QStringLiteral("SELECT State_ID, CASE WHEN State_Name = %1 THEN 1 ELSE 0 END FROM States WHERE "
                                 "(State_Name = %1 OR State_Code = %1)")
                      .arg(q);
    // Within the chosen country a name of another country's state finds nothing, so the text
    // goes to Other State rather than pairing the address with a state across a border.
    if (countryID > 0)
        sql += QStringLiteral(" AND Country_ID = %1").arg(countryID);
    // A name and a code may both match: the name wins; a code of several states chooses none.
    sql += QStringLiteral(" ORDER BY 2 DESC, State_ID LIMIT 2");
    std::unique_ptr<Recordset> rows = OpenRecordset(sql, false);
    int found = 0;
    if (rows && rows->recordCount() >= 1 && (rows->recordCount() == 1 || rows->valueAt(0, 1).toInt() == 1))
        found = rows->valueAt(0, 0).toInt();
    CloseRecordset(rows);
    return found;
}
