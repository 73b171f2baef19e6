#include "administration/frmRepDBChanges.h"

#include "core/SqlText.h"
#include "declared_windows/DeclaredField.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/zDate.h"
#include "form_framework/zInfo.h"
#include "list_controls/zComboBoxText.h"
#include "declared_windows/FieldRows.h"
#include "reference_tables/TableNames.h"

#include <QDateTime>
#include <QVBoxLayout>

frmRepDBChanges::frmRepDBChanges()
    : ReportWindow(QStringLiteral("frmRepDBChanges"), QStringLiteral("Database Changes"))
{
    const std::vector<DeclaredField> fields = {
        DeclaredField::picker(QStringLiteral("zcbtUser"), QStringLiteral("DB_User_ID"), QStringLiteral("User"),
            QStringLiteral("EXEC usp_DB_Combo_DB_Users"), QStringLiteral("DB_Users"))
            .generalItem(),
        DeclaredField::picker(QStringLiteral("zcbtTable"), QStringLiteral("DB_Table_ID"), QStringLiteral("Table"),
            QStringLiteral("EXEC usp_DB_Combo_DB_Tables"), QStringLiteral("DB_Tables"))
            .generalItem()
            .withoutButton(),
        DeclaredField::picker(QStringLiteral("zcbtTableAction"), QStringLiteral("DB_Operation_ID"),
            QStringLiteral("Table Action"), QStringLiteral("EXEC usp_DB_DropDown_DB_Operations"),
            QStringLiteral("DB_Operations"))
            .generalItem()
            .withoutButton(),
        DeclaredField::picker(QStringLiteral("zcbtProgram"), QStringLiteral("DB_Application_ID"), QStringLiteral("Program"),
            QStringLiteral("EXEC usp_DB_DropDown_DB_Applications"), QStringLiteral("DB_Applications"))
            .generalItem(),
        DeclaredField::recordDate(QStringLiteral("zdatDate_0"), QStringLiteral("Change_Date_From"), QStringLiteral("Change Date From"))
            .labelled(QStringLiteral("Date From:")),
        DeclaredField::recordDate(QStringLiteral("zdatDate_1"), QStringLiteral("Change_Date_To"), QStringLiteral("Change Date To"))
            .labelled(QStringLiteral("To:")),
    };
    AddDeclaredFields(this, m_layout, fields, 90);
    zcbtUser = findChild<zComboBoxText*>(QStringLiteral("zcbtUser"));
    zcbtTable = findChild<zComboBoxText*>(QStringLiteral("zcbtTable"));
    ResolveTypedTableNames(zcbtTable);
    zcbtTableAction = findChild<zComboBoxText*>(QStringLiteral("zcbtTableAction"));
    zcbtProgram = findChild<zComboBoxText*>(QStringLiteral("zcbtProgram"));
    for (zComboBoxText* picker : { zcbtUser, zcbtTable, zcbtTableAction, zcbtProgram })
        picker->setMinimumSize(260, 24);
    for (int i = 0; i < 2; ++i) {
        zdatDate[i] = findChild<zDate*>(QStringLiteral("zdatDate_%1").arg(i));
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
