#include "reference_tables/ReferenceTables.h"

#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "list_controls/zComboBoxText.h"
#include "reference_tables/GeographyCodes.h"

// Countries and their states.
namespace {

// The state's country, whose typed code the window looks up.
const DeclaredControl<zComboBoxText> StateCountry { { "frmState" }, "zcbtCountry" };

} // namespace

std::vector<DeclaredTable> CountryStateTables()
{
    DeclaredTable countries
        = DeclaredTable::of(QStringLiteral("Countries"), QStringLiteral("Country_ID"), QStringLiteral("frmCountry"),
            QStringLiteral("frmCountries"), QStringLiteral("Country"), QStringLiteral("Countries"));
    countries.fields = {
        countries.nameField(50).labelled(QStringLiteral("Country Name:"), QStringLiteral("zlabel1(1)")),
        DeclaredField::text(QStringLiteral("ztxtCode(0)"), QStringLiteral("Country_Code_2"), QStringLiteral("Country Code 2"))
            .length(2)
            .required()
            .unique()
            .labelled(QStringLiteral("Country Code 2:"), QStringLiteral("zlabel1(2)")),
        DeclaredField::text(QStringLiteral("ztxtCode(1)"), QStringLiteral("Country_Code_3"), QStringLiteral("Country Code 3"))
            .length(3)
            .required()
            .unique()
            .labelled(QStringLiteral("Country Code 3:"), QStringLiteral("zlabel1(4)")),
        DeclaredField::number(QStringLiteral("znumNumber"), QStringLiteral("Country_Number_3"), QStringLiteral("Country Number"))
            .range(1, 999)
            .required()
            .labelled(QStringLiteral("Country Number:"), QStringLiteral("zlabel1(3)")),
        // Optional and shared: the countries of one numbering plan have the same prefix.
        DeclaredField::text(QStringLiteral("ztxtCode(2)"), QStringLiteral("Country_Telephone_Prefix"), QStringLiteral("Telephone Prefix"))
            .length(10)
            .labelled(QStringLiteral("Telephone Prefix:"), QStringLiteral("zlabel1(5)")),
    };

    DeclaredTable states = DeclaredTable::of(QStringLiteral("States"), QStringLiteral("State_ID"),
        QStringLiteral("frmState"), QStringLiteral("frmStates"), QStringLiteral("State"), QStringLiteral("States"));
    DeclaredField code = states.codeField(10);
    code.isUnique = false; // the same code may stand in two countries
    states.fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtCountry"), QStringLiteral("Country_ID"), QStringLiteral("Country"),
                            QStringLiteral("usp_Evd_DropDown_Countries"), QStringLiteral("Countries"))
            .required(),
        states.nameField(30),
        code,
    };
    states.extendRecordWindow = [](DeclaredRecordWindow& window) {
        auto* country = StateCountry.in(window);
        QObject::connect(country, &zComboBoxText::DropDownLostFocus, &window, [country] { ResolveCountryCode(country); });
    };
    return { countries, states };
}
