#include "reference_tables/ReferenceTables.h"

#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "form_framework/zNumeric.h"
#include "reference_tables/ColourSwatch.h"

#include <QGridLayout>
#include <QLabel>

namespace {

// The colour's number, which the swatch beside it follows.
const DeclaredControl<zNumeric> ColourNumber { { "frmColor" }, "znumRGB" };

DeclaredTable colors()
{
    DeclaredTable colors = DeclaredTable::of(QStringLiteral("Colors"), QStringLiteral("Color_ID"),
        QStringLiteral("frmColor"), QStringLiteral("frmColors"), QStringLiteral("Color"), QStringLiteral("Colors"));
    colors.fields = {
        colors.nameField(30),
        // The flag columns are spelled "Appllies" in the database.
        DeclaredField::checkBox(QStringLiteral("zchkApplies(0)"), QStringLiteral("Appllies_To_Eyes"), QStringLiteral("Applies to Eyes"),
                              QStringLiteral("Eyes"), true)
            .labelled(QStringLiteral("Applies To:")),
        DeclaredField::checkBox(QStringLiteral("zchkApplies(1)"), QStringLiteral("Appllies_To_Hair"), QStringLiteral("Applies to Hair"),
                              QStringLiteral("Hair"), true),
        DeclaredField::checkBox(QStringLiteral("zchkApplies(2)"), QStringLiteral("Appllies_To_Items"), QStringLiteral("Applies to Items"),
                              QStringLiteral("Items"), true),
        DeclaredField::number(QStringLiteral("znumRGB"), QStringLiteral("Color_RGB_Value"), QStringLiteral("RGB Value")).range(0, 16777215),
    };
    colors.extendRecordWindow = [](DeclaredRecordWindow& window) {
        auto* swatch = new QLabel(&window);
        swatch->setObjectName(QStringLiteral("lblColor"));
        swatch->setMinimumSize(48, 20);
        window.fieldGrid()->addWidget(swatch, window.rowOf(ColourNumber.name()), 2);
        FollowColorNumber(ColourNumber.in(window), swatch);
    };
    return colors;
}

} // namespace

// Colours of eyes, hair and items; currency types; unit types and units of measure.
std::vector<DeclaredTable> ColourCurrencyUnitTables()
{
    DeclaredTable currencies = DeclaredTable::of(QStringLiteral("Currency_Types"), QStringLiteral("Currency_Type_ID"),
        QStringLiteral("frmCurrencyType"), QStringLiteral("frmCurrencyTypes"), QStringLiteral("Currency Type"),
        QStringLiteral("Currency Types"))
                                   .withNameAndCode(50);
    currencies.fields.push_back(DeclaredField::number(QStringLiteral("znumNumber"), QStringLiteral("Currency_Type_Number"),
                                                    QStringLiteral("Currency Type Number"))
                                    .range(1, 999)
                                    .required()
                                    .unique());

    DeclaredTable units = DeclaredTable::of(QStringLiteral("Units"), QStringLiteral("Unit_ID"),
        QStringLiteral("frmUnit"), QStringLiteral("frmUnits"), QStringLiteral("Unit"), QStringLiteral("Units"));
    DeclaredField code = units.codeField(10);
    code.isUnique = false; // two units may share a code
    units.fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtType"), QStringLiteral("Unit_Type_ID"), QStringLiteral("Unit Type"),
                            QStringLiteral("usp_Evd_DropDown_Unit_Types"), QStringLiteral("Unit_Types"))
            .required(),
        units.nameField(30),
        code,
    };

    return {
        colors(),
        currencies,
        DeclaredTable::of(QStringLiteral("Unit_Types"), QStringLiteral("Unit_Type_ID"), QStringLiteral("frmUnitType"),
            QStringLiteral("frmUnitTypes"), QStringLiteral("Unit Type"), QStringLiteral("Unit Types"))
            .withNameAndCode(),
        units,
    };
}
