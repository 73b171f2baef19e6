#include "reference_tables/LookupTable.h"

LookupTable LookupTable::nameAndCode(const QString& table, const QString& identityField, const QString& recordWindow,
                                     const QString& searchWindow, const QString& caption, const QString& pluralCaption,
                                     int nameLength, int codeLength)
{
    LookupTable lookup { table, identityField, recordWindow, searchWindow, caption, pluralCaption, {}, {}, {} };
    lookup.fields = { lookup.nameField(nameLength), lookup.codeField(codeLength) };
    return lookup;
}

QString LookupTable::entity() const
{
    QString name = identityField;
    if (name.endsWith(QLatin1String("_ID")))
        name.chop(3);
    return name;
}

LookupField LookupTable::nameField(int length) const
{
    return LookupField::text(QStringLiteral("ztxtName"), entity() + QStringLiteral("_Name"), caption + QStringLiteral(" Name"))
        .length(length)
        .required()
        .unique();
}

LookupField LookupTable::codeField(int length) const
{
    return LookupField::text(QStringLiteral("ztxtCode"), entity() + QStringLiteral("_Code"), caption + QStringLiteral(" Code"))
        .length(length)
        .required()
        .unique();
}
