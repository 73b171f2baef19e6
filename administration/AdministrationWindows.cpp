#include "administration/AdministrationWindows.h"

#include "administration/frmCurrentActivity.h"
#include "core/MessageBoxes.h"
#include "core/Permissions.h"
#include "core/RemoteLocation.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/zDate.h"
#include "form_framework/zNumeric.h"
#include "form_framework/zText.h"
#include "list_controls/zComboBoxText.h"
#include "reference_tables/ColourSwatch.h"
#include "reference_tables/GeographyCodes.h"
#include "reference_tables/TableNames.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

DeclaredTable frameworkTable(const char* table, const char* identity, const char* recordWindow, const char* searchWindow,
    const char* caption, const char* pluralCaption)
{
    DeclaredTable declared
        = DeclaredTable::of(S(table), S(identity), S(recordWindow), S(searchWindow), S(caption), S(pluralCaption));
    declared.searchPrefix = QStringLiteral("EXEC usp_DB_Search_");
    declared.populateOnStart = false;
    declared.defaultValueTarget.clear();
    return declared;
}

DeclaredField userPicker()
{
    return DeclaredField::pickerOf(QStringLiteral("zcbtUser"), QStringLiteral("DB_User_ID"), QStringLiteral("User"),
        QStringLiteral("usp_DB_Combo_DB_Users"), QStringLiteral("DB_Users"));
}

DeclaredField tableActionPicker()
{
    return DeclaredField::pickerOf(QStringLiteral("zcbtTableAction"), QStringLiteral("DB_Table_Action_ID"),
        QStringLiteral("Table Action"), QStringLiteral("usp_DB_Combo_DB_Table_Actions"), QString())
        .withoutButton();
}

// A permission pair: the user, the object (and the table action), the flag ticked for new rows.
DeclaredTable permissionTable(const char* kind, const char* objectColumn, const char* objectTable, bool withTableAction)
{
    const QString word = S(kind);
    const QString table = QStringLiteral("DB_%1_Permissions").arg(word);
    DeclaredTable declared = frameworkTable("", "", "", "", "", "");
    declared.table = table;
    declared.identityField = QStringLiteral("DB_%1_Permission_ID").arg(word);
    declared.recordWindow = QStringLiteral("frm%1Permission").arg(word);
    declared.searchWindow = QStringLiteral("frm%1Permissions").arg(word);
    declared.caption = word + QStringLiteral(" Permission");
    declared.pluralCaption = word + QStringLiteral(" Permissions");
    DeclaredField object = DeclaredField::pickerOf(QStringLiteral("zcbt") + word, S(objectColumn), word,
        QStringLiteral("usp_DB_Combo_") + S(objectTable), S(objectTable));
    // Tables are the schema's: the picker offers none to add, and takes the internal name typed.
    const bool tables = word == QLatin1String("Table");
    if (tables)
        object.withoutButton().withPickerSetUp(ResolveTypedTableNames);
    declared.fields = { DeclaredField(userPicker()).required(), DeclaredField(object).required() };
    declared.criteria = { userPicker(), object };
    declared.uniqueCombination = { QStringLiteral("zcbtUser"), object.control };
    if (withTableAction) {
        declared.fields.push_back(DeclaredField(tableActionPicker()).required());
        declared.criteria.push_back(tableActionPicker());
        declared.uniqueCombination.push_back(QStringLiteral("zcbtTableAction"));
    }
    declared.fields.push_back(DeclaredField::checkBox(QStringLiteral("zchkPermission"), QStringLiteral("DB_Permission"),
        QStringLiteral("Permission"), QStringLiteral("Permission"), true));
    return declared;
}

DeclaredField text(const char* control, const char* column, const char* goodName, int length)
{
    return DeclaredField::text(S(control), S(column), S(goodName)).length(length);
}

DeclaredField formPicker(int index, const char* column, const char* goodName)
{
    return DeclaredField::pickerOf(QStringLiteral("zcbtForm(%1)").arg(index), S(column), S(goodName),
        QStringLiteral("usp_DB_DropDown_DB_App_Forms"), QStringLiteral("DB_App_Forms"));
}

DeclaredTable tablesTable()
{
    DeclaredTable tables = frameworkTable("DB_Tables", "DB_Table_ID", "frmTable", "frmTables", "Table", "Tables");
    tables.defaultValueTarget = QStringLiteral("ztxtTableName");
    tables.fields = {
        text("ztxtTableName", "DB_Table_Name", "Table Name", 50).required().unique(),
        text("ztxtTableGoodName", "DB_Table_Good_Name", "Table Good Name", 50).required(),
        text("ztxtRecordGoodName", "DB_Record_Good_Name", "Record Good Name", 50).required(),
        text("ztxtTableAlias", "DB_Table_Alias", "Table Alias", 10),
        text("ztxtIDField", "DB_ID_Field", "ID Field", 50),
        DeclaredField::checkBox(QStringLiteral("zchkSaveChanges"), QStringLiteral("DB_Save_Changes"),
            QStringLiteral("Save Changes"), QStringLiteral("Save Changes"), false),
        DeclaredField::checkBox(QStringLiteral("zchkDefaultPermission"), QStringLiteral("DB_Default_Permission"),
            QStringLiteral("Default Permission"), QStringLiteral("Default Permission"), false),
        formPicker(0, "Single_Record_DB_App_Form_ID", "Single Record Form"),
        formPicker(1, "Multiple_Records_DB_App_Form_ID", "Multiple Records Form"),
        DeclaredField::memo(QStringLiteral("zmemComments(0)"), QStringLiteral("DB_Comments_For_Developer"),
            QStringLiteral("Comments For Developer"))
            .length(200),
        DeclaredField::memo(QStringLiteral("zmemComments(1)"), QStringLiteral("DB_Comments_For_User"),
            QStringLiteral("Comments For User"))
            .length(200),
        DeclaredField::checkBox(QStringLiteral("zchkTDAA"), QStringLiteral("DB_Treat_Delete_As_Archive"),
            QStringLiteral("Cells Archived"), QStringLiteral("Treat Delete As Archive (used with DB changes logic)"),
            false)
            .locked(),
    };
    tables.criteria = { text("ztxtTableName", "DB_Table_Name", "Table Name Like", 50) };
    return tables;
}

// Actions and reports: a unique name and code, the default permission ticked for new rows.
DeclaredTable definitionTable(const char* word, const char* recordWindow, const char* searchWindow, const char* plural)
{
    const QString kind = S(word);
    DeclaredTable declared = frameworkTable("", "", recordWindow, searchWindow, word, plural);
    declared.table = QStringLiteral("DB_%1s").arg(kind);
    declared.identityField = QStringLiteral("DB_%1_ID").arg(kind);
    declared.fields = {
        DeclaredField::text(
            QStringLiteral("ztxtName"), QStringLiteral("DB_%1_Name").arg(kind), kind + QStringLiteral(" Name"))
            .length(50)
            .required()
            .unique(),
        DeclaredField::text(
            QStringLiteral("ztxtCode"), QStringLiteral("DB_%1_Code").arg(kind), kind + QStringLiteral(" Code"))
            .length(20)
            .required()
            .unique(),
        DeclaredField::checkBox(QStringLiteral("zchkDefault"), QStringLiteral("DB_Default_Permission"),
            QStringLiteral("Default Permission"), QStringLiteral("Default Permission"), true),
    };
    return declared;
}

DeclaredField employeePicker()
{
    return DeclaredField::pickerOf(QStringLiteral("zcbtEmployee"), QStringLiteral("Employee_ID"),
        QStringLiteral("Employee"), QStringLiteral("usp_Evd_DropDown_Employees"), QStringLiteral("Employees"));
}

DeclaredTable usersTable()
{
    DeclaredTable users = frameworkTable("DB_Users", "DB_User_ID", "frmUser", "frmUsers", "User", "Users");
    users.defaultValueTarget = QStringLiteral("ztxtSysName");
    users.fields = {
        text("ztxtSysName", "DB_User_Name", "System Name", 50).required().unique(),
        text("ztxtLastName", "DB_Last_Name", "Last Name", 30).required(),
        text("ztxtFirstName", "DB_First_Name", "First Name", 30).required(),
        employeePicker(),
        DeclaredField::checkBox(QStringLiteral("zchkSysAdmin"), QStringLiteral("DB_Sys_Admin"),
            QStringLiteral("Sys Admin"), QStringLiteral("Sys Admin"), false),
    };
    users.criteria = { text("ztxtUserName", "DB_User_Name", "User Name Like", 50) };
    return users;
}

// The country and state pickers of the options windows, which also take typed codes.
std::vector<DeclaredField> geographyFields(
    const char* countryColumn, const char* stateColumn, const char* cityColumn, const char* areaCodeColumn)
{
    return {
        DeclaredField::pickerOf(QStringLiteral("zcbtCountry"), S(countryColumn), QStringLiteral("Default Country"),
            QStringLiteral("usp_Evd_DropDown_Countries"), QStringLiteral("Countries")),
        DeclaredField::pickerOf(QStringLiteral("zcbtState"), S(stateColumn), QStringLiteral("Default State"),
            QStringLiteral("usp_Evd_DropDown_States"), QStringLiteral("States")),
        text("ztxtCity", cityColumn, "Default City", 50),
        text("ztxtAreaCode", areaCodeColumn, "Default Area Code", 10),
    };
}

// The controls the framework tables' hooks use.
const DeclaredControl<zComboBoxText> DefaultCountry { { "frmUserInfo", "frmDBOptions" }, "zcbtCountry" };
const DeclaredControl<zComboBoxText> DefaultState { { "frmUserInfo", "frmDBOptions" }, "zcbtState" };
const DeclaredControl<zNumeric> BackgroundColour { { "frmDBOptions" }, "znumRGB" };
const DeclaredControl<zComboBoxText> OwnEmployee { { "frmUserInfo" }, "zcbtEmployee" };
// Server and client.
const DeclaredControl<zText> UpdateFolders[]
    = { { { "frmFileUpdate" }, "ztxtFolder(0)" }, { { "frmFileUpdate" }, "ztxtFolder(1)" } };
const DeclaredControl<QPushButton> UpdateFolderBrowse[]
    = { { { "frmFileUpdate" }, "btnBrowse(0)" }, { { "frmFileUpdate" }, "btnBrowse(1)" } };
const DeclaredControl<zFieldBase> UpdateFile { { "frmFileUpdate" }, "zcbtFile" };
const DeclaredControl<zFieldBase> UpdateFileVersion { { "frmFileUpdate" }, "ztxtFileVersion" };
const DeclaredControl<zFieldBase> UpdateFileDate { { "frmFileUpdate" }, "zdatDateTime" };
const DeclaredControl<QPushButton> UpdateGetFromFile { { "frmFileUpdate" }, "btnGet" };

void resolveTypedCodes(DeclaredRecordWindow& window)
{
    auto* country = DefaultCountry.in(window);
    auto* state = DefaultState.in(window);
    QObject::connect(country, &zComboBoxText::DropDownLostFocus, &window, [country] { ResolveCountryCode(country); });
    // A state code is looked up within the country chosen beside it, so a code that several
    // countries share still chooses one state; the list shows that country's states.
    StatesFollowCountry(state, country);
}

// The current user's own row: never a new one, never another user's.
DeclaredTable userOptionsTable()
{
    DeclaredTable options = frameworkTable("DB_Users", "DB_User_ID", "frmUserInfo", "", "User Options", "User Options");
    options.allowNew = false;
    options.allowMove = false;
    DeclaredField systemName = text("ztxtSysName", "DB_User_Name", "System Name", 50).locked();
    options.fields = {
        systemName,
        text("ztxtLastName", "DB_Last_Name", "Last Name", 30).required(),
        text("ztxtFirstName", "DB_First_Name", "First Name", 30).required(),
        employeePicker(),
    };
    for (DeclaredField& field : geographyFields("DB_User_Default_Country_ID", "DB_User_Default_State_ID",
             "DB_User_Default_City", "DB_User_Default_Area_Code"))
        options.fields.push_back(field);
    options.fields.push_back(
        DeclaredField::checkBox(QStringLiteral("zchkPromptDatabaseSwitch"), QStringLiteral("DB_Prompt_Database_Switch"),
            QStringLiteral("Prompt On Database Switch"), QStringLiteral("Prompt On Database Switch"), false));
    options.extendRecordWindow = [](DeclaredRecordWindow& window) {
        resolveTypedCodes(window);
        // Every user fills in their own names and defaults; the employee a user is, like the
        // administrator flag, is set by those who may edit users.
        if (!CheckTablePermission(QStringLiteral("Edit"), QStringLiteral("DB_Users"), false))
            OwnEmployee.in(window)->setLocked(true);
    };
    return options;
}

DeclaredTable databaseOptionsTable()
{
    DeclaredTable options = frameworkTable(
        "DB_App_Options", "DB_App_Option_ID", "frmDBOptions", "", "Database Options", "Database Options");
    options.allowNew = false;
    options.allowMove = false;
    options.fields = {
        text("ztxtCode", "DB_Database_Code", "Database Code", 30).required().locked(),
        text("ztxtName(0)", "DB_Database_Name", "Database Name", 50).required(),
        text("ztxtName(1)", "DB_Company_Name", "Company Name", 50).required(),
        DeclaredField::number(
            QStringLiteral("znumRGB"), QStringLiteral("DB_Background_Color"), QStringLiteral("RGB Background Color"))
            .range(0, 16777215)
            .required(),
    };
    for (DeclaredField& field :
        geographyFields("DB_Default_Country_ID", "DB_Default_State_ID", "DB_Default_City", "DB_Default_Area_Code"))
        options.fields.push_back(field);
    options.extendRecordWindow = [](DeclaredRecordWindow& window) {
        auto* swatch = new QLabel(&window);
        swatch->setObjectName(QStringLiteral("lblColor"));
        swatch->setMinimumSize(48, 20);
        window.fieldGrid()->addWidget(swatch, window.rowOf(BackgroundColour.name()), 2);
        FollowColorNumber(BackgroundColour.in(window), swatch, OutOfRangeColour::Unchanged);
        resolveTypedCodes(window);
    };
    return options;
}

DeclaredField folderField(int index, const char* column, const char* goodName)
{
    return DeclaredField::text(QStringLiteral("ztxtFolder(%1)").arg(index), S(column), S(goodName))
        .length(200)
        .required()
        // Plain text, not a folder path: a server folder may be a web address and a client folder
        // one that only the clients have, so neither is checked or rewritten here.
        .foreignKey(QStringLiteral("EXEC usp_DB_Get_Folder_From_ID @DB_Folder_ID = "),
            QStringLiteral("EXEC usp_DB_Get_DB_Folder_ID @DB_Folder_Name = "))
        .withButton(QStringLiteral("btnBrowse(%1)").arg(index), QStringLiteral("..."));
}

// "<= Get From File": the version and date of the file in the server folder.
void getFromFile(DeclaredRecordWindow& window)
{
    const QString path = AddBackslash(UpdateFolders[0].in(window)->Text()) + UpdateFile.in(window)->Text();
    // Only a scheme makes a location remote: a local folder may well be called "httpdocs".
    if (IsRemoteLocation(path)) {
        ShowInfoMessage(QStringLiteral("Not supported. Cannot get file info from the Internet."));
        return;
    }
    const std::optional<FileStamp> stamp = ReadFileStamp(path);
    if (!stamp) {
        ShowErrorMessage(QStringLiteral("File ") + AngleQuote(path) + QStringLiteral(" does not exists."));
        return;
    }
    UpdateFileVersion.in(window)->setValue(stamp->version);
    UpdateFileDate.in(window)->setValue(stamp->dateTime);
}

DeclaredTable fileUpdatesTable()
{
    DeclaredTable updates = frameworkTable(
        "DB_File_Updates", "DB_File_Update_ID", "frmFileUpdate", "frmFileUpdates", "File Update", "File Updates");
    updates.fields = {
        DeclaredField::pickerOf(QStringLiteral("zcbtFile"), QStringLiteral("DB_File_Name_ID"),
            QStringLiteral("File Name"), QStringLiteral("usp_DB_DropDown_DB_File_Names_Program"),
            QStringLiteral("DB_File_Names"))
            .required()
            .withoutButton(),
        DeclaredField::checkBox(QStringLiteral("zchkDeleteOnly"), QStringLiteral("Delete_Only"),
            QStringLiteral("Delete Only"), QStringLiteral("Delete Only"), false),
        DeclaredField::checkBox(QStringLiteral("zchkUpdateOnStart"), QStringLiteral("Update_On_Start"),
            QStringLiteral("Update On Start"), QStringLiteral("Update On Start"), true),
        text("ztxtFileVersion", "File_Version", "File Version", 20)
            .withButton(QStringLiteral("btnGet"), QStringLiteral("<= Get From File")),
        DeclaredField::recordDate(
            QStringLiteral("zdatDateTime"), QStringLiteral("File_Date_Time"), QStringLiteral("File Date & Time"))
            .withTime()
            .labelled(QStringLiteral("File Date && Time:")),
        folderField(0, "Server_DB_Folder_ID", "Server Folder"),
        folderField(1, "Client_DB_Folder_ID", "Client Folder"),
        DeclaredField::memo(
            QStringLiteral("zmemDesc"), QStringLiteral("Update_Description"), QStringLiteral("Description"))
            .length(200),
    };
    updates.criteria = { text("ztxtFileName", "DB_File_Name", "File Name Like", 50) };
    updates.extendRecordWindow = [](DeclaredRecordWindow& window) {
        for (int index : { 0, 1 }) {
            auto* folder = UpdateFolders[index].in(window);
            QObject::connect(UpdateFolderBrowse[index].in(window), &QPushButton::clicked, folder,
                [folder] { folder->BrowseFolder(); });
        }
        QObject::connect(
            UpdateGetFromFile.in(window), &QPushButton::clicked, &window, [&window] { getFromFile(window); });
    };
    return updates;
}

} // namespace

std::optional<FileStamp> ReadFileStamp(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return std::nullopt;
    // Version resources are a property of another platform's executables; files here carry none.
    const QDateTime born = info.birthTime();
    return FileStamp { QString(), born.isValid() ? born : info.lastModified() };
}

std::vector<DeclaredTable> AdministrationTables()
{
    DeclaredTable actionPermissions = permissionTable("Action", "DB_Action_ID", "DB_Actions", false);
    DeclaredTable reportPermissions = permissionTable("Report", "DB_Report_ID", "DB_Reports", false);
    DeclaredTable tablePermissions = permissionTable("Table", "DB_Table_ID", "DB_Tables", true);
    DeclaredTable actions = definitionTable("Action", "frmDBAction", "frmDBActions", "Actions");
    actions.criteria = { text("ztxtActionDesc", "DB_Action_Name", "Action Name Like", 50) };
    DeclaredTable reports = definitionTable("Report", "frmReport", "frmReports", "Reports");
    reports.defaultValueTarget = QStringLiteral("ztxtName");
    reports.populateOnStart = true;
    return { actionPermissions, reportPermissions, tablePermissions, tablesTable(), actions, reports, usersTable(),
        userOptionsTable(), databaseOptionsTable(), fileUpdatesTable() };
}

void RegisterAdministrationTableForms()
{
    for (const DeclaredTable& table : AdministrationTables()) {
        FormRegistry::registerForm(table.recordWindow, [table] { return new DeclaredRecordWindow(table); });
        if (!table.searchWindow.isEmpty())
            FormRegistry::registerForm(table.searchWindow, [table] { return new DeclaredSearchWindow(table); });
    }
}

std::vector<DeclaredTable> AdministrationDeclarations()
{
    std::vector<DeclaredTable> tables = AdministrationTables();
    tables.push_back(CurrentActivityDeclaration());
    return tables;
}
