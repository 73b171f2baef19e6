#include "reference_tables/ReferenceTables.h"

// Employee categories and ranks; name suffixes and salutations.
std::vector<DeclaredTable> EmployeeAndNameTables()
{
    DeclaredTable ranks = DeclaredTable::of(QStringLiteral("Ranks"), QStringLiteral("Rank_ID"),
        QStringLiteral("frmRank"), QStringLiteral("frmRanks"), QStringLiteral("Rank"), QStringLiteral("Ranks"))
                              .withNameAndCode();
    ranks.fields.push_back(DeclaredField::memo(QStringLiteral("zmemDesc"), QStringLiteral("Rank_Description"), QStringLiteral("Rank Description"))
                               .length(200)
                               .labelled(QStringLiteral("Rank Description:"), QStringLiteral("zlabel2(0)")));
    return {
        DeclaredTable::of(QStringLiteral("Employee_Categories"), QStringLiteral("Employee_Category_ID"),
            QStringLiteral("frmEmployeeCategory"), QStringLiteral("frmEmployeeCategories"),
            QStringLiteral("Employee Category"), QStringLiteral("Employee Categories"))
            .withNameAndCode(),
        ranks,
        DeclaredTable::of(QStringLiteral("Suffixes"), QStringLiteral("Suffix_ID"), QStringLiteral("frmSuffix"),
            QStringLiteral("frmSuffixes"), QStringLiteral("Suffix"), QStringLiteral("Suffixes"))
            .withNameAndCode(),
        DeclaredTable::of(QStringLiteral("Salutations"), QStringLiteral("Salutation_ID"),
            QStringLiteral("frmSalutation"), QStringLiteral("frmSalutations"), QStringLiteral("Salutation"),
            QStringLiteral("Salutations"))
            .withNameAndCode(50, 20),
    };
}
