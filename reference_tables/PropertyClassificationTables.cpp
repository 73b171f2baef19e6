#include "reference_tables/ReferenceTables.h"

// Property categories, property types, warning types and item statuses. A property type also
// sets when its items are due for review and which of an item's descriptive fields apply to it.
std::vector<DeclaredTable> PropertyClassificationTables()
{
    DeclaredTable types = DeclaredTable::of(QStringLiteral("Property_Types"), QStringLiteral("Property_Type_ID"),
        QStringLiteral("frmPropertyType"), QStringLiteral("frmPropertyTypes"), QStringLiteral("Property Type"),
        QStringLiteral("Property Types"))
                              .withNameAndCode();
    types.fields.push_back(DeclaredField::number(QStringLiteral("znumDays"), QStringLiteral("Days_Until_Review"),
                                               QStringLiteral("Days Until Review"))
                               .range(1, 200)
                               .required());
    const struct {
        const char* column;
        const char* caption;
    } flags[] = { { "Model", "Model" }, { "Year_Made", "Year Made" }, { "Color", "Color" }, { "Serial_Number", "Serial Number" },
                  { "UPC", "UPC" },     { "Currency", "Currency" },   { "Weight", "Weight" } };
    int index = 0;
    for (const auto& flag : flags) {
        const QString caption = QString::fromLatin1(flag.caption);
        DeclaredField box = DeclaredField::checkBox(QStringLiteral("zchkApplicable(%1)").arg(index),
                                                QString::fromLatin1(flag.column) + QStringLiteral("_Applicable"),
                                                caption + QStringLiteral(" Applicable"), caption, true);
        if (index == 0)
            box.labelled(QStringLiteral("What is Applicable:"));
        types.fields.push_back(box);
        ++index;
    }

    return {
        DeclaredTable::of(QStringLiteral("Property_Categories"), QStringLiteral("Property_Category_ID"),
            QStringLiteral("frmPropertyCategory"), QStringLiteral("frmPropertyCategories"),
            QStringLiteral("Property Category"), QStringLiteral("Property Categories"))
            .withNameAndCode(),
        types,
        DeclaredTable::of(QStringLiteral("Warning_Types"), QStringLiteral("Warning_Type_ID"),
            QStringLiteral("frmWarningType"), QStringLiteral("frmWarningTypes"), QStringLiteral("Warning Type"),
            QStringLiteral("Warning Types"))
            .withNameAndCode(),
        DeclaredTable::of(QStringLiteral("Item_Statuses"), QStringLiteral("Item_Status_ID"),
            QStringLiteral("frmItemStatus"), QStringLiteral("frmItemStatuses"), QStringLiteral("Item Status"),
            QStringLiteral("Item Statuses"))
            .withNameAndCode(),
    };
}
