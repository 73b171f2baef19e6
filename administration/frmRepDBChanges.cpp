#include "administration/frmRepDBChanges.h"

#include "core/SqlText.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredField.h"
#include "declared_windows/FieldRows.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/zDate.h"
#include "form_framework/zInfo.h"
#include "list_controls/zComboBoxText.h"
#include "reference_tables/TableNames.h"

#include <QDateTime>
#include <QVBoxLayout>

namespace {

// The criteria the window reads and checks.
const DeclaredControl<zComboBoxText> ChangesUser { { "frmRepDBChanges" }, "zcbtUser" };
const DeclaredControl<zComboBoxText> ChangesTable { { "frmRepDBChanges" }, "zcbtTable" };
const DeclaredControl<zComboBoxText> ChangesTableAction { { "frmRepDBChanges" }, "zcbtTableAction" };
const DeclaredControl<zComboBoxText> ChangesProgram { { "frmRepDBChanges" }, "zcbtProgram" };
const DeclaredControl<zDate> ChangesDates[]
    = { { { "frmRepDBChanges" }, "zdatDate_0" }, { { "frmRepDBChanges" }, "zdatDate_1" } };

} // namespace

frmRepDBChanges::frmRepDBChanges()
    : ReportWindow(QStringLiteral("frmRepDBChanges"), QStringLiteral("Database Changes"))
{
    const std::vector<DeclaredField> fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtUser"), QStringLiteral("DB_User_ID"), QStringLiteral("User"),
            QStringLiteral("usp_DB_Combo_DB_Users"), QStringLiteral("DB_Users"))
            .generalItem(),
        DeclaredField::pickerOf(QStringLiteral("zcbtTable"), QStringLiteral("DB_Table_ID"), QStringLiteral("Table"),
            QStringLiteral("usp_DB_Combo_DB_Tables"), QStringLiteral("DB_Tables"))
            .generalItem()
            .withoutButton()
            .withPickerSetUp(ResolveTypedTableNames),
        DeclaredField::pickerOf(QStringLiteral("zcbtTableAction"), QStringLiteral("DB_Operation_ID"),
            QStringLiteral("Table Action"), QStringLiteral("usp_DB_DropDown_DB_Operations"),
            QStringLiteral("DB_Operations"))
            .generalItem()
            .withoutButton(),
        DeclaredField::pickerOf(QStringLiteral("zcbtProgram"), QStringLiteral("DB_Application_ID"), QStringLiteral("Program"),
            QStringLiteral("usp_DB_DropDown_DB_Applications"), QStringLiteral("DB_Applications"))
            .generalItem(),
        DeclaredField::recordDate(QStringLiteral("zdatDate_0"), QStringLiteral("Change_Date_From"), QStringLiteral("Change Date From"))
            .labelled(QStringLiteral("Date From:")),
        DeclaredField::recordDate(QStringLiteral("zdatDate_1"), QStringLiteral("Change_Date_To"), QStringLiteral("Change Date To"))
            .labelled(QStringLiteral("To:")),
    };
    const FieldRows made = AddDeclaredFields(this, m_layout, fields, 90);
    zcbtUser = ChangesUser.in(made);
    zcbtTable = ChangesTable.in(made);
    zcbtTableAction = ChangesTableAction.in(made);
    zcbtProgram = ChangesProgram.in(made);
    for (zComboBoxText* picker : { zcbtUser, zcbtTable, zcbtTableAction, zcbtProgram })
        picker->setMinimumSize(260, 24);
    for (int i = 0; i < 2; ++i) {
        zdatDate[i] = ChangesDates[i].in(made);
        zdatDate[i]->setMinimumSize(160, 24);
    }
    finishLayout();
    resize(460, 320);
}

bool frmRepDBChanges::CheckFieldsProcedure()
{
    const zFieldBase* order[] = { zcbtTable, zcbtTableAction, zcbtUser, zcbtProgram, zdatDate[0], zdatDate[1] };
    for (const zFieldBase* field : order) {
        if (!const_cast<zFieldBase*>(field)->IsValid())
            return false;
    }
    return true;
}

QString frmRepDBChanges::GetReportSQL()
{
    if (!info()->CheckFields())
        return {};
    return BuildExecSQL(QStringLiteral("EXEC usp_DB_Rep_DB_Changes"), GetFormSnapshot(this));
}
