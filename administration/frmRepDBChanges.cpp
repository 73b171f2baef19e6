#include "administration/frmRepDBChanges.h"

#include "core/SqlText.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/zDate.h"
#include "form_framework/zInfo.h"
#include "list_controls/zComboBoxText.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

frmRepDBChanges::frmRepDBChanges()
    : ReportWindow(QStringLiteral("frmRepDBChanges"), QStringLiteral("Database Changes"))
{
    auto picker
        = [this](const char* name, const char* goodName, const char* field, const char* sql, const char* table) {
              auto* p = new zComboBoxText(this);
              p->setObjectName(QString::fromLatin1(name));
              p->setGoodName(QString::fromLatin1(goodName));
              p->setDBFieldName(QString::fromLatin1(field));
              p->setPopulateSQL(QString::fromLatin1(sql));
              p->setDataChangedTableName(QString::fromLatin1(table));
              p->setGeneralItem(true);
              p->setPopulateOnStart(true);
              p->setMinimumSize(260, 24);
              return p;
          };
    zcbtUser = picker("zcbtUser", "User", "DB_User_ID", "EXEC usp_DB_Combo_DB_Users", "DB_Users");
    zcbtTable = picker("zcbtTable", "Table", "DB_Table_ID", "EXEC usp_DB_Combo_DB_Tables", "DB_Tables");
    zcbtTableAction = picker(
        "zcbtTableAction", "Table Action", "DB_Operation_ID", "EXEC usp_DB_DropDown_DB_Operations", "DB_Operations");
    zcbtTableAction->setShowButton(false);
    zcbtProgram = picker(
        "zcbtProgram", "Program", "DB_Application_ID", "EXEC usp_DB_DropDown_DB_Applications", "DB_Applications");
    const char* dateNames[2][3] = { { "zdatDate_0", "Change Date From", "Change_Date_From" },
        { "zdatDate_1", "Change Date To", "Change_Date_To" } };
    for (int i = 0; i < 2; ++i) {
        zdatDate[i] = new zDate(this);
        zdatDate[i]->setObjectName(QString::fromLatin1(dateNames[i][0]));
        zdatDate[i]->setGoodName(QString::fromLatin1(dateNames[i][1]));
        zdatDate[i]->setDBFieldName(QString::fromLatin1(dateNames[i][2]));
        zdatDate[i]->setDataFormat(QStringLiteral("mm/dd/yyyy"));
        zdatDate[i]->setMin(QDateTime(QDate(1950, 12, 31), QTime(0, 0)));
        zdatDate[i]->setMax(QDateTime(QDate(2050, 1, 1), QTime(0, 0)));
        zdatDate[i]->setMinimumSize(160, 24);
    }
    addField(QStringLiteral("User:"), zcbtUser);
    addField(QStringLiteral("Table:"), zcbtTable);
    addField(QStringLiteral("Table Action:"), zcbtTableAction);
    addField(QStringLiteral("Program:"), zcbtProgram);
    addField(QStringLiteral("Date From:"), zdatDate[0]);
    addField(QStringLiteral("To:"), zdatDate[1]);
    finishLayout();
    resize(460, 320);
}

void frmRepDBChanges::addField(const QString& label, zFieldBase* field)
{
    auto* text = new QLabel(label, this);
    text->setTextFormat(Qt::PlainText);
    text->setBuddy(field->inputBox() ? field->inputBox() : field);
    auto* row = new QHBoxLayout;
    row->addWidget(text);
    row->addWidget(field, 1);
    m_layout->addLayout(row);
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
