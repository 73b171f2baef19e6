#include "support/CaseRows.h"

#include "core/Database.h"
#include "core/SqlText.h"

namespace {

int InsertedIdentity(const QString& sql)
{
    const auto identity = GetSQLValue(sql);
    return identity ? identity->toInt() : 0;
}

QString IdentityOrNull(int identity) { return identity > 0 ? QString::number(identity) : QStringLiteral("NULL"); }

} // namespace

CaseClasses InsertCaseClasses(const CaseClassNames& names)
{
    CaseClasses classes;
    classes.crime = InsertedIdentity(QStringLiteral("INSERT INTO Crime_Classes (Crime_Class_Name, Crime_Class_Code) "
                                                    "VALUES (%1, %2) RETURNING Crime_Class_ID")
                                         .arg(SQLString(names.crime), SQLString(names.crimeCode)));
    classes.felony
        = InsertedIdentity(QStringLiteral("INSERT INTO Felony_Classes (Felony_Class_Name, Felony_Class_Code) "
                                          "VALUES (%1, %2) RETURNING Felony_Class_ID")
                               .arg(SQLString(names.felony), SQLString(names.felonyCode)));
    classes.category = InsertedIdentity(
        QStringLiteral("INSERT INTO Property_Categories (Property_Category_Name, Property_Category_Code) "
                       "VALUES (%1, %2) RETURNING Property_Category_ID")
            .arg(SQLString(names.category), SQLString(names.categoryCode)));
    classes.employee = InsertEmployee(names.payroll);
    return classes;
}

int InsertEmployee(const QString& payroll)
{
    return InsertedIdentity(QStringLiteral("INSERT INTO Employees (Payroll_Number) VALUES (%1) RETURNING Employee_ID")
                                .arg(SQLString(payroll)));
}

int InsertCase(const CaseClasses& classes, const QString& number, const QString& dateTime)
{
    return InsertedIdentity(
        QStringLiteral("INSERT INTO Cases (Case_Date_Time, Case_Number, Crime_Class_ID, Felony_Class_ID, "
                       "Default_Property_Category_ID, Default_Submitting_Employee_ID) "
                       "VALUES (%1, %2, %3, %4, %5, %6) RETURNING Case_ID")
            .arg(SQLString(dateTime), SQLString(number), IdentityOrNull(classes.crime), IdentityOrNull(classes.felony),
                IdentityOrNull(classes.category), IdentityOrNull(classes.employee)));
}

int InsertItem(int caseId, const QString& number)
{
    return InsertedIdentity(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number) VALUES (%1, %2) RETURNING Item_ID")
                                .arg(caseId)
                                .arg(SQLString(number)));
}
