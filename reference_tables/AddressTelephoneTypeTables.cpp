#include "reference_tables/ReferenceTables.h"

// Address types and telephone types.
std::vector<DeclaredTable> AddressTelephoneTypeTables()
{
    return {
        DeclaredTable::of(QStringLiteral("Address_Types"), QStringLiteral("Address_Type_ID"),
            QStringLiteral("frmAddressType"), QStringLiteral("frmAddressTypes"), QStringLiteral("Address Type"),
            QStringLiteral("Address Types"))
            .withNameAndCode(),
        DeclaredTable::of(QStringLiteral("Telephone_Types"), QStringLiteral("Telephone_Type_ID"),
            QStringLiteral("frmTelephoneType"), QStringLiteral("frmTelephoneTypes"), QStringLiteral("Telephone Type"),
            QStringLiteral("Telephone Types"))
            .withNameAndCode(),
    };
}
