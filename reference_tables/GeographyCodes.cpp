#include "reference_tables/GeographyCodes.h"

#include "core/Database.h"
#include "form_framework/PickerField.h"
#include "core/Recordset.h"
#include "core/SqlText.h"

namespace {

// The one identity the query returns; nothing when it returns no row or more than one, or failed
// (the failure has been shown by OpenRecordset).
void chooseTheOnlyRow(PickerField* picker, const QString& sql)
{
    std::unique_ptr<Recordset> rows = OpenRecordset(sql, false);
    if (rows && rows->recordCount() == 1 && !rows->value(0).isNull())
        picker->setValue(rows->value(0).toInt());
    CloseRecordset(rows);
}

bool nothingToResolve(const PickerField* picker) { return picker->IsMissing() || picker->Value().toInt() >= 1; }

} // namespace

void ResolveCountryCode(PickerField* picker)
{
    if (nothingToResolve(picker))
        return;
    const QString code = SQLString(picker->Text());
    chooseTheOnlyRow(picker, QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = ") + code
                                 + QStringLiteral(" OR Country_Code_3 = ") + code + QStringLiteral(" ORDER BY Country_ID LIMIT 2"));
}

void ResolveStateCode(PickerField* picker, int countryID)
{
    if (nothingToResolve(picker))
        return;
    QString sql = QStringLiteral("SELECT State_ID FROM States WHERE State_Code = ") + SQLString(picker->Text());
    if (countryID > 0)
        sql += QStringLiteral(" AND Country_ID = ") + QString::number(countryID);
    chooseTheOnlyRow(picker, sql + QStringLiteral(" ORDER BY State_ID LIMIT 2"));
}
