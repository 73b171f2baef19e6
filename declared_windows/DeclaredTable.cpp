#include "declared_windows/DeclaredTable.h"

#include "declared_windows/DeclaredControl.h"

DeclaredTable DeclaredTable::of(const QString& table, const QString& identityField, const QString& recordWindow,
    const QString& searchWindow, const QString& caption, const QString& pluralCaption)
{
    DeclaredTable declared;
    declared.table = table;
    declared.identityField = identityField;
    declared.recordWindow = recordWindow;
    declared.searchWindow = searchWindow;
    declared.caption = caption;
    declared.pluralCaption = pluralCaption;
    declared.controls = ControlHandle::naming(recordWindow);
    return declared;
}

DeclaredTable& DeclaredTable::withNameAndCode(int nameLength, int codeLength)
{
    fields = { nameField(nameLength), codeField(codeLength) };
    return *this;
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
