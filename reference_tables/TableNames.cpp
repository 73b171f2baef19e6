#include "reference_tables/TableNames.h"

#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "list_controls/zComboBoxText.h"

namespace {

// The table whose internal name the picker holds, when it holds a text the list does not.
void resolveTableName(zComboBoxText* picker)
{
    if (picker->IsMissing() || picker->Value().toInt() >= 1)
        return;
    std::unique_ptr<Recordset> rows = OpenRecordset(
        QStringLiteral("SELECT DB_Table_ID FROM DB_Tables WHERE DB_Table_Name = ") + SQLString(picker->Text().trimmed()),
        false);
    if (rows && rows->recordCount() == 1 && !rows->value(0).isNull())
        picker->setValue(rows->value(0).toInt());
    CloseRecordset(rows);
}

} // namespace

void ResolveTypedTableNames(zComboBoxText* picker)
{
    if (!picker)
        return;
    QObject::connect(picker, &zComboBoxText::DropDownLostFocus, picker, [picker] { resolveTableName(picker); });
}
