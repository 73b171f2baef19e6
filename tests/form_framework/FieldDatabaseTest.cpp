#include "core/Database.h"
#include "core/EngineFacts.h"
#include "FieldHost.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zNumeric.h"
#include "form_framework/zText.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

QString token(Engine engine, const QString& name)
{
    for (const auto& [key, value] : FactsOf(engine).schemaTokens) {
        if (key == name)
            return value;
    }
    return {};
}

// Fields on a record window over a real table: the unique checks and the per-user settings.
class FieldsOnDatabase : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        const Engine engine = GetParam();
        ASSERT_TRUE(
            Act_ExecuteSQL(QStringLiteral("CREATE TABLE Gadgets (Gadget_ID %1, Gadget_Name %2, Serial_No INTEGER)")
                               .arg(token(engine, QStringLiteral("{ID}")), token(engine, QStringLiteral("{NAME}")))));
        ASSERT_TRUE(Act_ExecuteSQL(
            QStringLiteral("INSERT INTO Gadgets (Gadget_Name, Serial_No) VALUES ('Radio O''Neil', 17)")));
        host = std::make_unique<FieldHost>();
        zInfo* info = host->info();
        info->setMainTableName(QStringLiteral("Gadgets"));
        info->setIdentityField(QStringLiteral("Gadget_ID"));
        info->setFormCaption(QStringLiteral("Gadget"));
        info->setMode(FormMode::Add);
        id = host->add(new zIdentity(host->window.get()));
        id->setObjectName(QStringLiteral("zID"));
        name = host->make<zText>();
        name->setDBFieldName(QStringLiteral("Gadget_Name"));
        name->setGoodName(QStringLiteral("Name"));
        name->setUnique(true);
        serial = host->make<zNumeric>();
        serial->setDBFieldName(QStringLiteral("Serial_No"));
        serial->setGoodName(QStringLiteral("Serial"));
        serial->setDecimalScale(0);
        serial->setUnique(true);
    }

    void TearDown() override
    {
        host.reset();
        DatabaseTest::TearDown();
    }

    std::unique_ptr<FieldHost> host;
    zIdentity* id = nullptr;
    zText* name = nullptr;
    zNumeric* serial = nullptr;
};

TEST_P(FieldsOnDatabase, AValueAnotherRecordHoldsIsRefusedButTheRecordsOwnIsNot)
{
    host->type(name->box(), QStringLiteral("radio o'neil"));
    EXPECT_EQ(name->FieldError(), QStringLiteral("Gadget with Name <radio o'neil> already exists in the database"));
    host->type(serial->box(), QStringLiteral("17"));
    EXPECT_EQ(serial->FieldError(), QStringLiteral("Gadget with Serial <17> already exists in the database"));
    host->type(name->box(), QStringLiteral("Camera"));
    EXPECT_EQ(name->FieldError(), QString());

    // Editing the record that holds the value.
    const auto ownId = GetSQLValue(QStringLiteral("SELECT Gadget_ID FROM Gadgets"));
    ASSERT_TRUE(ownId);
    id->setValue(ownId->toInt());
    host->info()->setMode(FormMode::Edit);
    name->setValue(QStringLiteral("Radio O'Neil"));
    serial->setValue(17);
    EXPECT_TRUE(name->IsValid());
    EXPECT_TRUE(serial->IsValid());
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(FieldsOnDatabase, ASearchWindowNeverAsksTheDatabaseForUniqueness)
{
    host->info()->setFormType(FormType::Search);
    int commands = 0;
    SetCommandObserver([&commands](const QString&) { ++commands; });
    name->setValue(QStringLiteral("Radio O'Neil"));
    const bool valid = name->IsValid();
    SetCommandObserver(nullptr);
    EXPECT_TRUE(valid);
    EXPECT_EQ(commands, 0);
}

TEST_P(FieldsOnDatabase, SettingsFieldsKeepTheirValueForTheUser)
{
    name->setUnique(false);
    name->setSettingName(QStringLiteral("DB_Replace_Text_Folder"));
    name->setValue(QStringLiteral("/evidence/it's here"));
    ASSERT_TRUE(name->SaveSetting());
    name->setValue(QVariant());
    ASSERT_TRUE(name->GetSetting());
    EXPECT_EQ(name->Value().toString(), QStringLiteral("/evidence/it's here"));

    // A field that does not apply stores nothing.
    name->setApplicable(false);
    int commands = 0;
    SetCommandObserver([&commands](const QString&) { ++commands; });
    EXPECT_TRUE(name->SaveSetting());
    SetCommandObserver(nullptr);
    EXPECT_EQ(commands, 0);

    auto* preview = host->make<zCheckBox>();
    preview->setSettingName(QStringLiteral("DB_Item_File_Preview"));
    ASSERT_TRUE(preview->GetSetting()); // the database's default is on
    EXPECT_EQ(preview->DBValue(), QStringLiteral("1"));
    preview->setValue(false);
    ASSERT_TRUE(preview->SaveSetting());
    preview->setValue(true);
    preview->setApplicable(false);
    ASSERT_TRUE(preview->GetSetting()) << "read also while not applicable";
    EXPECT_EQ(preview->DBValue(), QStringLiteral("0"));

    // A setting the database does not know: reported, and the box is left cleared.
    preview->setValue(true);
    preview->setSettingName(QStringLiteral("No_Such_Setting"));
    EXPECT_FALSE(preview->GetSetting());
    EXPECT_EQ(preview->DBValue(), QStringLiteral("0"));
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_TRUE(Prompts().boxes.back().text.contains(QStringLiteral("Cannot find Setting <No_Such_Setting>")));
}

INSTANTIATE_TEST_SUITE_P(Engines, FieldsOnDatabase, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
