#include "reference_tables/ReferenceTables.h"

// The role of a person in a case, the state of a case, the class of crime and the felony class.
std::vector<DeclaredTable> CaseClassificationTables()
{
    return {
        DeclaredTable::of(QStringLiteral("Case_Person_Types"), QStringLiteral("Case_Person_Type_ID"),
            QStringLiteral("frmCasePersonType"), QStringLiteral("frmCasePersonTypes"),
            QStringLiteral("Case Person Type"), QStringLiteral("Case Person Types"))
            .withNameAndCode(),
        DeclaredTable::of(QStringLiteral("Case_Statuses"), QStringLiteral("Case_Status_ID"),
            QStringLiteral("frmCaseStatus"), QStringLiteral("frmCaseStatuses"), QStringLiteral("Case Status"),
            QStringLiteral("Case Statuses"))
            .withNameAndCode(),
        DeclaredTable::of(QStringLiteral("Crime_Classes"), QStringLiteral("Crime_Class_ID"),
            QStringLiteral("frmCrimeClass"), QStringLiteral("frmCrimeClasses"), QStringLiteral("Crime Class"),
            QStringLiteral("Crime Classes"))
            .withNameAndCode(),
        DeclaredTable::of(QStringLiteral("Felony_Classes"), QStringLiteral("Felony_Class_ID"),
            QStringLiteral("frmFelonyClass"), QStringLiteral("frmFelonyClasses"), QStringLiteral("Felony Class"),
            QStringLiteral("Felony Classes"))
            .withNameAndCode(),
    };
}
