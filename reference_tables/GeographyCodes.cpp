#include "reference_tables/GeographyCodes.h"

#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "form_framework/PickerField.h"
#include "list_controls/zComboBoxText.h"

#include <QPointer>

namespace {

// The one identity the query returns; nothing when it returns no row or more than one, or failed
// (the failure has been shown by OpenRecordset).
void chooseTheOnlyRow(PickerField* picker, const QString& sql)
{
    std::unique_ptr<Recordset> rows = OpenRecordset(sql, false);
    if (rows && rows->recordCount() == 1 && !rows->value(0).isNull())
        picker->setValue(rows->value(0).toInt());
    CloseRecordset(rows);
}

bool nothingToResolve(const PickerField* picker) { return picker->IsMissing() || picker->Value().toInt() >= 1; }

} // namespace

void ResolveCountryCode(PickerField* picker)
{
    if (nothingToResolve(picker))
        return;
    const QString code = SQLString(picker->Text());
    chooseTheOnlyRow(picker, QStringLiteral("SELECT Country_ID FROM Countries WHERE Country_Code_2 = ") + code
                                 + QStringLiteral(" OR Country_Code_3 = ") + code + QStringLiteral(" ORDER BY Country_ID LIMIT 2"));
}

void ResolveStateCode(PickerField* picker, int countryID)
{
    if (nothingToResolve(picker))
        return;
    QString sql = QStringLiteral("SELECT State_ID FROM States WHERE State_Code = ") + SQLString(picker->Text());
    if (countryID > 0)
        sql += QStringLiteral(" AND Country_ID = ") + QString::number(countryID);
    chooseTheOnlyRow(picker, sql + QStringLiteral(" ORDER BY State_ID LIMIT 2"));
}

void StatesFollowCountry(zComboBoxText* state, zComboBoxText* country)
{
    const QString everyState = QStringLiteral("EXEC usp_Evd_DropDown_States");
    state->setOutsideEntrySQL(QStringLiteral("SELECT State_ID, State_Name FROM States WHERE State_ID = %1"));
    const QPointer<zComboBoxText> follower = state;
    const auto chosenCountry = [country] {
        const int countryID = country->Value().toInt();
        return countryID > 0 ? countryID : 0;
    };
    QObject::connect(country, &zComboBoxText::Change, state, [follower, everyState, chosenCountry] {
        const int countryID = chosenCountry();
        const QString sql = countryID > 0 ? everyState + QStringLiteral(" @Country_ID = ") + QString::number(countryID)
                                          : everyState;
        if (!follower || sql == follower->PopulateSQL())
            return;
        // The state chosen stays chosen; one of another country is refused at the save.
        const QVariant chosen = follower->Value();
        follower->setPopulateSQL(sql);
        follower->Populate();
        if (chosen.toInt() > 0)
            follower->setValue(chosen);
    });
    QObject::connect(state, &zComboBoxText::DropDownLostFocus, state,
        [state, chosenCountry] { ResolveStateCode(state, chosenCountry()); });
    state->setFinalValidation([state, country, chosenCountry]() -> QString {
        const int countryID = chosenCountry();
        const int stateID = state->Value().toInt();
        if (countryID <= 0 || stateID <= 0)
            return {};
        const std::optional<QVariant> stateCountry
            = GetSQLValue(QStringLiteral("SELECT Country_ID FROM States WHERE State_ID = ") + QString::number(stateID));
        if (!stateCountry || stateCountry->isNull() || stateCountry->toInt() == countryID)
            return {};
        return state->GoodName() + QStringLiteral(" ") + AngleQuote(state->Text().trimmed())
            + QStringLiteral(" is not a state of ") + country->GoodName() + QStringLiteral(" ")
            + AngleQuote(country->Text().trimmed());
    });
}
