#include "declared_windows/DeclaredTable.h"

DeclaredTable DeclaredTable::nameAndCode(const QString& table, const QString& identityField, const QString& recordWindow,
                                     const QString& searchWindow, const QString& caption, const QString& pluralCaption,
                                     int nameLength, int codeLength)
{
    DeclaredTable lookup { table, identityField, recordWindow, searchWindow, caption, pluralCaption, {}, {}, {} };
    lookup.fields = { lookup.nameField(nameLength), lookup.codeField(codeLength) };
    return lookup;
}

QString DeclaredTable::entity() const
{
    QString name = identityField;
    if (name.endsWith(QLatin1String("_ID")))
        name.chop(3);
    return name;
}

DeclaredField DeclaredTable::nameField(int length) const
{
    return DeclaredField::text(QStringLiteral("ztxtName"), entity() + QStringLiteral("_Name"), caption + QStringLiteral(" Name"))
        .length(length)
        .required()
        .unique();
}

DeclaredField DeclaredTable::codeField(int length) const
{
    return DeclaredField::text(QStringLiteral("ztxtCode"), entity() + QStringLiteral("_Code"), caption + QStringLiteral(" Code"))
        .length(length)
        .required()
        .unique();
}
