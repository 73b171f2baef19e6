// Every text field of every lookup table: its limit, whether it is required, and whether its value
// must be unique in the table in any letter case. The expectations are the design sheets', written
// out here, not read back from the windows' declarations.

#include "ReferenceFixture.h"

#include "core/Database.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "core/SqlText.h"
#include "form_framework/WindowList.h"
#include "list_controls/zListView.h"
#include "support/PromptRecorder.h"
#include "form_framework/zCheckBox.h"
#include "list_controls/zComboBoxText.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zMemo.h"
#include "form_framework/zNumeric.h"
#include "form_framework/zText.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

struct TextFieldCase {
    const char* window;
    const char* control;
    const char* goodName;
    int maxLength;
    bool required;
    bool unique;
};

const TextFieldCase kTextFields[] = {
    { "frmCasePersonType", "ztxtName", "Case Person Type Name", 30, true, true },
    { "frmCasePersonType", "ztxtCode", "Case Person Type Code", 10, true, true },
    { "frmCaseStatus", "ztxtName", "Case Status Name", 30, true, true },
    { "frmCaseStatus", "ztxtCode", "Case Status Code", 10, true, true },
    { "frmCrimeClass", "ztxtName", "Crime Class Name", 30, true, true },
    { "frmCrimeClass", "ztxtCode", "Crime Class Code", 10, true, true },
    { "frmFelonyClass", "ztxtName", "Felony Class Name", 30, true, true },
    { "frmFelonyClass", "ztxtCode", "Felony Class Code", 10, true, true },
    { "frmPropertyCategory", "ztxtName", "Property Category Name", 30, true, true },
    { "frmPropertyCategory", "ztxtCode", "Property Category Code", 10, true, true },
    { "frmPropertyType", "ztxtName", "Property Type Name", 30, true, true },
    { "frmPropertyType", "ztxtCode", "Property Type Code", 10, true, true },
    { "frmWarningType", "ztxtName", "Warning Type Name", 30, true, true },
    { "frmWarningType", "ztxtCode", "Warning Type Code", 10, true, true },
    { "frmItemStatus", "ztxtName", "Item Status Name", 30, true, true },
    { "frmItemStatus", "ztxtCode", "Item Status Code", 10, true, true },
    { "frmColor", "ztxtName", "Color Name", 30, true, true },
    { "frmCurrencyType", "ztxtName", "Currency Type Name", 50, true, true },
    { "frmCurrencyType", "ztxtCode", "Currency Type Code", 10, true, true },
    { "frmUnitType", "ztxtName", "Unit Type Name", 30, true, true },
    { "frmUnitType", "ztxtCode", "Unit Type Code", 10, true, true },
    { "frmUnit", "ztxtName", "Unit Name", 30, true, true },
    { "frmUnit", "ztxtCode", "Unit Code", 10, true, false },
    { "frmNotificationType", "ztxtName", "Notification Type Name", 50, true, true },
    { "frmNotificationType", "ztxtCode", "Notification Type Code", 10, true, true },
    { "frmNotificationType", "ztxtReport", "Report", 50, false, true },
    { "frmGender", "ztxtName", "Gender Name", 30, true, true },
    { "frmGender", "ztxtCode", "Gender Code", 10, true, true },
    { "frmRace", "ztxtName", "Race Name", 50, true, true },
    { "frmRace", "ztxtCode", "Race Code", 10, true, true },
    { "frmEmployeeCategory", "ztxtName", "Employee Category Name", 30, true, true },
    { "frmEmployeeCategory", "ztxtCode", "Employee Category Code", 10, true, true },
    { "frmRank", "ztxtName", "Rank Name", 30, true, true },
    { "frmRank", "ztxtCode", "Rank Code", 10, true, true },
    { "frmSuffix", "ztxtName", "Suffix Name", 30, true, true },
    { "frmSuffix", "ztxtCode", "Suffix Code", 10, true, true },
    { "frmSalutation", "ztxtName", "Salutation Name", 50, true, true },
    { "frmSalutation", "ztxtCode", "Salutation Code", 20, true, true },
    { "frmAddressType", "ztxtName", "Address Type Name", 30, true, true },
    { "frmAddressType", "ztxtCode", "Address Type Code", 10, true, true },
    { "frmTelephoneType", "ztxtName", "Telephone Type Name", 30, true, true },
    { "frmTelephoneType", "ztxtCode", "Telephone Type Code", 10, true, true },
    { "frmCountry", "ztxtName", "Country Name", 50, true, true },
    { "frmCountry", "ztxtCode(0)", "Country Code 2", 2, true, true },
    { "frmCountry", "ztxtCode(1)", "Country Code 3", 3, true, true },
    { "frmCountry", "ztxtCode(2)", "Telephone Prefix", 10, false, false },
    { "frmState", "ztxtName", "State Name", 30, true, true },
    { "frmState", "ztxtCode", "State Code", 10, true, false },
};

class LookupTables : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        seedReferencedRows();
    }

    // Rows that the tables' pickers point to.
    void seedReferencedRows()
    {
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Countries (Country_Name, Country_Code_2, Country_Code_3, Country_Number_3) "
                                                  "VALUES ('Elbonia', 'EL', 'ELB', 901)")));
    }

    // A value no other field of this test has used, at most `length` characters long.
    QString freshText(int length)
    {
        const QString text = QStringLiteral("v") + QString::number(++m_counter, 36);
        return length > 0 ? text.right(length) : text;
    }

    // Fills every field of the window with a valid value of its own, except `skip`.
    void fillValid(DeclaredRecordWindow* window, const zFieldBase* skip)
    {
        for (zFieldBase* field : window->fields()) {
            if (field == skip)
                continue;
            if (auto* text = qobject_cast<zText*>(field))
                text->setValue(freshText(text->MaxLength()));
            else if (auto* number = qobject_cast<zNumeric*>(field))
                number->setValue(number->Min() + (++m_counter % qMax(1, static_cast<int>(qMin(1000.0, number->Max() - number->Min())))));
            else if (auto* picker = qobject_cast<zComboBoxText*>(field); picker && picker->ListCount() > 0)
                picker->setValue(picker->ListIdentity(0));
        }
    }

    static QString swapCase(const QString& text)
    {
        QString swapped;
        for (QChar c : text)
            swapped += c.isUpper() ? c.toLower() : c.toUpper();
        return swapped;
    }

    int m_counter = 0;
};

TEST_P(LookupTables, TextFieldsKeepTheirLimitsAndTheirRequiredAndUniqueRules)
{
    for (const TextFieldCase& c : kTextFields) {
        SCOPED_TRACE(std::string(c.window) + "." + c.control);
        DeclaredRecordWindow* window = openNew(QString::fromLatin1(c.window));
        ASSERT_NE(window, nullptr);
        auto* field = qobject_cast<zFieldBase*>(window->field(QString::fromLatin1(c.control)));
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->GoodName(), QString::fromLatin1(c.goodName));
        const QString table = window->info()->MainTableName();
        const QString column = field->DBFieldName();
        const QString caption = window->info()->FormCaption();

        // Typing stops at the limit; the longest value saves.
        const QString longest = QStringLiteral("Ab") + QString(c.maxLength, QLatin1Char('x'));
        type(field, longest);
        ASSERT_EQ(field->Text(), longest.left(c.maxLength));
        fillValid(window, field);
        ASSERT_EQ(save(window), QString());
        const int first = window->identity()->Value();
        ASSERT_GT(first, 0);
        const QString saved = GetSQLValue(QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(column, table, window->info()->Identity()))->toString();
        EXPECT_EQ(saved, longest.left(c.maxLength));
        UnloadWindow(window);

        // The same value in another letter case.
        const int rows = count(QStringLiteral("SELECT COUNT(*) FROM ") + table);
        DeclaredRecordWindow* second = openNew(QString::fromLatin1(c.window));
        fillValid(second, nullptr);
        second->field(QString::fromLatin1(c.control))->setValue(swapCase(saved));
        const QString message = save(second);
        if (c.unique) {
            EXPECT_EQ(message, caption + QStringLiteral(" with ") + QString::fromLatin1(c.goodName) + QStringLiteral(" ")
                          + AngleQuote(swapCase(saved)) + QStringLiteral(" already exists in the database."));
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ") + table), rows) << "nothing saved";
        } else {
            EXPECT_EQ(message, QString());
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ") + table), rows + 1);
        }
        UnloadWindow(second);

        // Left empty.
        DeclaredRecordWindow* third = openNew(QString::fromLatin1(c.window));
        fillValid(third, third->field(QString::fromLatin1(c.control)));
        const QString emptyMessage = save(third);
        if (c.required)
            EXPECT_EQ(emptyMessage, QString::fromLatin1(c.goodName) + QStringLiteral(" is a required field."));
        else
            EXPECT_EQ(emptyMessage, QString());
        third->info()->setDataChanged(false);
        UnloadWindow(third);
        QApplication::processEvents();
    }
}

TEST_P(LookupTables, EverySearchWindowListsItsRowsOnOpening)
{
    for (const char* window : { "frmCasePersonTypes", "frmCaseStatuses", "frmCrimeClasses", "frmFelonyClasses", "frmPropertyCategories",
                               "frmPropertyTypes", "frmWarningTypes", "frmItemStatuses", "frmColors", "frmCurrencyTypes",
                               "frmUnitTypes", "frmUnits", "frmNotificationTypes", "frmGenders", "frmRaces",
                               "frmEmployeeCategories", "frmRanks", "frmSuffixes", "frmSalutations", "frmAddressTypes",
                               "frmTelephoneTypes", "frmCountries", "frmStates" }) {
        SCOPED_TRACE(window);
        DeclaredSearchWindow* list = openSearch(QString::fromLatin1(window));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->grid()->PopulateSQL(), list->info()->SearchSQL()) << "filled without a click on Populate";
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, LookupTables, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(LookupTables);

} // namespace
