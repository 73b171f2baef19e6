// The notification windows over a fresh database on both engines: the record code, the fields'
// rules, typed item codes, the letter and its barcode, the item preset by an opener, the actions
// with their related rows present and gone, and the search window.

#include "../reference_tables/ReferenceFixture.h"

#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "cases/NotificationWindows.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/SqlText.h"
#include "exports/MailMerge.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zExtendedLabel.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "list_controls/zComboBoxText.h"
#include "list_controls/zListView.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "support/CaseRows.h"
#include "support/MergedDocuments.h"
#include "support/PromptRecorder.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <optional>

#include <algorithm>

namespace {

class NotificationWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterCaseProcedures();
        RegisterCaseWindows();
        RegisterNotificationWindows();
        // The item windows come with their own work; a plain record window over Items stands in.
        DeclaredTable items;
        items.table = QStringLiteral("Items");
        items.identityField = QStringLiteral("Item_ID");
        items.recordWindow = QStringLiteral("frmItem");
        items.searchWindow = QStringLiteral("frmItems");
        items.caption = QStringLiteral("Item");
        items.pluralCaption = QStringLiteral("Items");
        FormRegistry::registerForm(items.recordWindow, [items] { return new DeclaredRecordWindow(items); });
        m_presenter.emplace();
        QDir().mkpath(GetMainPath() + QStringLiteral("Reports"));
        QFile::remove(TemplatePath(QStringLiteral("Notification")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/Reports/Notification.html"),
            TemplatePath(QStringLiteral("Notification"))));

        CaseClassNames names;
        names.crime = QStringLiteral("Theft");
        names.crimeCode = QStringLiteral("TH");
        names.felony = QStringLiteral("Class B");
        names.felonyCode = QStringLiteral("FB");
        names.category = QStringLiteral("Found");
        names.categoryCode = QStringLiteral("FO");
        names.payroll = QStringLiteral("P-7");
        const CaseClasses classes = InsertCaseClasses(names);
        employee = classes.employee;
        theCase = InsertCase(classes, QStringLiteral("2024-77"));
        item = addItem(QStringLiteral("BIKE-1"));
        otherItem = addItem(QStringLiteral("BIKE-2"));
        type = insert(QStringLiteral("INSERT INTO Notification_Types (Notification_Type_Name, Notification_Type_Code, "
                                     "Notification_Text) VALUES ('Release', 'RL', 'Your property may be collected.') "
                                     "RETURNING Notification_Type_ID"));
        insert(QStringLiteral("INSERT INTO Notification_Types (Notification_Type_Name, Notification_Type_Code) "
                              "VALUES ('Disposal', 'DI') RETURNING Notification_Type_ID"));
        person = insert(
            QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES ('Ann', 'Lee') RETURNING Person_ID"));
        insert(QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES ('Bo', 'Ray') RETURNING Person_ID"));
        const int country = count(QStringLiteral("SELECT MIN(Country_ID) FROM Countries"));
        address = insert(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, City, ZIP) "
                                        "VALUES (%1, '1 Main St', 'Springfield', '62701') RETURNING Address_ID")
                             .arg(country));
        insert(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, City) "
                              "VALUES (%1, '9 Side St', 'Shelbyville') RETURNING Address_ID")
                   .arg(country));
    }
    void TearDown() override
    {
        m_presenter.reset();
        ReferenceTest::TearDown();
    }

    int addItem(const QString& number)
    {
        return insert(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number, Item_Description) "
                                     "VALUES (%1, %2, 'Grey bicycle') RETURNING Item_ID")
                          .arg(theCase)
                          .arg(SQLString(number)));
    }
    int addNotification(int itemId, const QString& printed)
    {
        return insert(QStringLiteral("INSERT INTO Notifications (Item_ID, Notification_Type_ID, Send_To_Person_ID, "
                                     "Send_To_Address_ID, Printed_On_Date, Printed_By_Employee_ID) "
                                     "VALUES (%1, %2, %3, %4, %5, %6) RETURNING Notification_ID")
                          .arg(itemId)
                          .arg(type)
                          .arg(person)
                          .arg(address)
                          .arg(SQLString(printed))
                          .arg(employee));
    }
    // Type, person and address of a new notification.
    void fillRequired(DeclaredRecordWindow* window)
    {
        window->field(QStringLiteral("zcbtType"))->setValue(type);
        window->field(QStringLiteral("zcbtPerson"))->setValue(person);
        window->field(QStringLiteral("zcbtAddress"))->setValue(address);
    }
    static void discard(DeclaredRecordWindow* window)
    {
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }

    int employee = 0;
    int theCase = 0;
    int item = 0;
    int otherItem = 0;
    int type = 0;
    int person = 0;
    int address = 0;

private:
    std::optional<RecordingPresenter::Installed> m_presenter;
};

TEST_P(NotificationWindows, OpenedForAnItemAndGivenItsCodeOnTheFirstSave)
{
    auto* window = qobject_cast<DeclaredRecordWindow*>(OpenFormWithParams(
        QStringLiteral("frmNotification"), 0, { QStringLiteral("Mode"), 1, QStringLiteral("Item_ID"), otherItem }));
    ASSERT_NE(window, nullptr);
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(field(window, "zcbtItem")->Value().toInt(), otherItem);
    EXPECT_EQ(window->codeLabel(1)->Value(), QStringLiteral("No Bar Code Yet"));
    EXPECT_EQ(window->codeLabel(0)->Value(), QString());
    EXPECT_EQ(window->codeLabel(1)->Font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(window->codeLabel(1)->Font().pointSizeF(), 8.25);

    fillRequired(window);
    ASSERT_EQ(save(window), QString());
    const int id = window->identity()->Value();
    ASSERT_GT(id, 0);
    const QString code = QStringLiteral("N-%1").arg(id, 10, 10, QLatin1Char('0'));
    EXPECT_EQ(window->codeLabel(1)->Value(), code);
    EXPECT_EQ(window->codeLabel(0)->Value(), QLatin1Char('*') + code + QLatin1Char('*'));
    EXPECT_EQ(count(QStringLiteral("SELECT Item_ID FROM Notifications WHERE Notification_ID = %1").arg(id)), otherItem);
}

TEST_P(NotificationWindows, RequiredFieldsDatesAndTypedItemCodes)
{
    const struct {
        const char* what;
        const char* control; // the field given the text ("" none)
        QString text;
        const char* cleared; // a required field emptied ("" none)
        QString message; // part of the save's message, "" for a save
        int savedItem;
    } cases[] = {
        { "no type", "", {}, "zcbtType", QStringLiteral("Notification Type"), 0 },
        { "no person", "", {}, "zcbtPerson", QStringLiteral("Send to Person"), 0 },
        { "no address", "", {}, "zcbtAddress", QStringLiteral("Send to Address"), 0 },
        { "printed before the floor", "zdatDate(0)", QStringLiteral("12/30/1950"), "", QStringLiteral("Printed Date"),
            0 },
        { "returned after the ceiling", "zdatDate(2)", QStringLiteral("01/02/2050"), "",
            QStringLiteral("Returned Date"), 0 },
        { "padded code, small letter", "zcbtItem", QStringLiteral("i-%1").arg(otherItem, 10, 10, QLatin1Char('0')), "",
            {}, otherItem },
        { "bare number", "zcbtItem", QString::number(otherItem), "", {}, otherItem },
        { "code beyond any identity", "zcbtItem", QStringLiteral("I-99999999999"), "", QStringLiteral("Item Number"),
            0 },
        { "code of no item", "zcbtItem", QStringLiteral("i-0"), "", QStringLiteral("Item Number"), 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Act_ExecuteSQL(QStringLiteral("DELETE FROM Notifications"));
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmNotification"));
        ASSERT_NE(window, nullptr);
        field(window, "zcbtItem")->setValue(item);
        fillRequired(window);
        if (*c.cleared)
            field(window, c.cleared)->setValue(QVariant());
        if (*c.control)
            ReferenceTest::type(field(window, c.control), c.text);
        const QString message = save(window);
        if (c.message.isEmpty())
            EXPECT_EQ(message, QString());
        else
            EXPECT_TRUE(message.contains(c.message)) << message.toStdString();
        EXPECT_EQ(count(QStringLiteral("SELECT COALESCE(MAX(Item_ID), 0) FROM Notifications")), c.savedItem);
        discard(window);
    }
}

TEST_P(NotificationWindows, EachTodayButtonFillsOnlyItsOwnDate)
{
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmNotification"));
        ASSERT_NE(window, nullptr);
        click(window, QStringLiteral("btnNow(%1)").arg(index).toLatin1().constData());
        for (int other = 0; other < 3; ++other) {
            zFieldBase* date = window->field(QStringLiteral("zdatDate(%1)").arg(other));
            if (other == index)
                EXPECT_EQ(date->Value().toDateTime().date(), QDate::currentDate());
            else
                EXPECT_TRUE(date->IsMissing()) << other;
        }
        EXPECT_EQ(window->button(QStringLiteral("btnNow(%1)").arg(index))->text(), QStringLiteral("<= Today"));
        discard(window);
    }
}

// The letter through the window's action: the data file holds the procedure's row, and the
// barcode printed on the letter decodes to the notification's code.
TEST_P(NotificationWindows, LetterCarriesTheRowAndABarcodeThatDecodes)
{
    const int id = addNotification(item, QStringLiteral("2024-06-10 09:30:00"));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmNotification"), id);
    ASSERT_NE(window, nullptr);
    QFile::remove(MergeDataPath(QStringLiteral("Notification")));
    window->runAction(QStringLiteral("Print Notification"));
    QFile data(MergeDataPath(QStringLiteral("Notification")));
    ASSERT_TRUE(data.open(QIODevice::ReadOnly))
        << (Prompts().boxes.empty() ? std::string() : Prompts().boxes.back().text.toStdString());
    const QString text = QString::fromUtf8(data.readAll());
    const QString code = QStringLiteral("N-%1").arg(id, 10, 10, QLatin1Char('0'));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Notification_Barcode\tNotification_Type\tNotification_Text\t"
                                               "Send_To_Name\tStreet_Address_1\tStreet_Address_2\tCity\tState\tZIP\t"
                                               "Country\tItem_Number\tItem_Description\tCase_Number\t"
                                               "Printed_On_Date\tPrinted_By\r\n")))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains(code + QStringLiteral("\tRelease\tYour property may be collected.\tAnn Lee\t1 Main St\t")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\tBIKE-1\tGrey bicycle\t2024-77\t"))) << text.toStdString();

    ASSERT_EQ(RecordingPresenter::documents.size(), 1u);
    QTextDocument* document = RecordingPresenter::documents.front().get();
    EXPECT_TRUE(document->toPlainText().contains(QStringLiteral("Ann Lee")));
    QTemporaryDir folder;
    EXPECT_EQ(DecodedBarcodes(document, folder.filePath(QStringLiteral("letter.png")), 800),
        QStringList { QStringLiteral("CODE-39:") + code });
}

// A printed date without a time of day prints on the letter as a date; one with a time keeps it.
TEST_P(NotificationWindows, TheLetterPrintsADateOnlyValueAsADate)
{
    const struct {
        const char* stored;
        const char* printed;
    } cases[] = {
        { "2026-12-11", "Printed 12/11/2026 by " },
        { "2024-06-10 09:30:00", "Printed 06/10/2024 09:30:00 AM by " },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const int id = addNotification(item, QString::fromLatin1(c.stored));
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmNotification"), id);
        ASSERT_NE(window, nullptr);
        RecordingPresenter::documents.clear();
        window->runAction(QStringLiteral("Print Notification"));
        ASSERT_EQ(RecordingPresenter::documents.size(), 1u);
        const QString letter = RecordingPresenter::documents.front()->toPlainText();
        EXPECT_TRUE(letter.contains(QString::fromLatin1(c.printed))) << letter.toStdString();
        UnloadWindow(window);
    }
}

TEST_P(NotificationWindows, ViewItemAndCasePeopleFollowTheLinksOrSayTheyAreGone)
{
    const int id = addNotification(otherItem, QStringLiteral("2024-06-10 09:30:00"));
    const int role
        = insert(QStringLiteral("INSERT INTO Case_Person_Types (Case_Person_Type_Name, "
                                "Case_Person_Type_Code) VALUES ('Owner', 'OW') RETURNING Case_Person_Type_ID"));
    insert(QStringLiteral("INSERT INTO Case_People (Case_ID, Case_Person_Type_ID, Person_ID) VALUES (%1, %2, %3) "
                          "RETURNING Case_Person_ID")
               .arg(theCase)
               .arg(role)
               .arg(person));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmNotification"), id);
    ASSERT_NE(window, nullptr);
    window->runAction(QStringLiteral("View Item"));
    auto* itemWindow = loaded<DeclaredRecordWindow>("frmItem");
    ASSERT_NE(itemWindow, nullptr);
    EXPECT_EQ(itemWindow->identity()->Value(), otherItem);
    UnloadWindow(itemWindow);
    window->runAction(QStringLiteral("view case people"));
    auto* people = loaded<DeclaredSearchWindow>("frmCasePeople");
    ASSERT_NE(people, nullptr);
    EXPECT_EQ(people->grid()->CountItems(), 1);
    UnloadWindow(people);

    // The notification deleted meanwhile: neither entry opens anything.
    Act_ExecuteSQL(QStringLiteral("DELETE FROM Notifications WHERE Notification_ID = %1").arg(id));
    for (const char* action : { "View Item", "View Case People" }) {
        SCOPED_TRACE(action);
        Prompts().clear();
        window->runAction(QString::fromLatin1(action));
        ASSERT_FALSE(Prompts().boxes.empty());
        EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("The related record no longer exists."));
    }
    EXPECT_EQ(loaded<DeclaredRecordWindow>("frmItem"), nullptr);
    EXPECT_EQ(loaded<DeclaredSearchWindow>("frmCasePeople"), nullptr);
}

// View Item opens the item for editing: a user refused Edit on items is told so before the window
// opens, from the record window and from the search window alike, as the grid tells them.
TEST_P(NotificationWindows, ViewItemRefusesBeforeOpeningAUserWhoMayNotEditItems)
{
    const int id = addNotification(item, QStringLiteral("2024-06-10 09:30:00"));
    owner().executeStatement(
        QStringLiteral("UPDATE DB_Users SET DB_Sys_Admin = 0 WHERE LOWER(DB_User_Name) = LOWER(?)"), { UserName() });
    owner().executeStatement(
        QStringLiteral("INSERT INTO DB_Table_Permissions (DB_User_ID, DB_Table_ID, DB_Table_Action_ID, DB_Permission) "
                       "SELECT u.DB_User_ID, t.DB_Table_ID, a.DB_Table_Action_ID, 0 "
                       "FROM DB_Users u, DB_Tables t, DB_Table_Actions a WHERE LOWER(u.DB_User_Name) = LOWER(?) "
                       "AND t.DB_Table_Name = 'Items' AND a.DB_Table_Action_Name = 'Edit'"),
        { UserName() });
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmNotification"), id);
    ASSERT_NE(window, nullptr);
    Prompts().clear();
    window->runAction(QStringLiteral("View Item"));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes.front().text.startsWith(QStringLiteral("You are not permitted to Edit <Item>.")))
        << Prompts().boxes.front().text.toStdString();
    EXPECT_EQ(loaded<DeclaredRecordWindow>("frmItem"), nullptr);
    UnloadWindow(window);

    DeclaredSearchWindow* search = openSearch(QStringLiteral("frmNotifications"));
    ASSERT_NE(search, nullptr);
    search->PopulateData();
    QApplication::processEvents();
    ASSERT_EQ(search->grid()->CountItems(), 1);
    search->grid()->listView()->selectRow(0);
    Prompts().clear();
    search->runAction(QStringLiteral("View Item"));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_TRUE(Prompts().boxes.front().text.startsWith(QStringLiteral("You are not permitted to Edit <Item>.")));
    EXPECT_EQ(loaded<DeclaredRecordWindow>("frmItem"), nullptr);
}

TEST_P(NotificationWindows, SearchByDatesAndItem)
{
    const int early = addNotification(item, QStringLiteral("2024-01-05 16:00:00"));
    const int late = addNotification(item, QStringLiteral("2024-02-05 08:00:00"));
    const int others = addNotification(otherItem, QStringLiteral("2024-01-20 10:00:00"));

    // Opened for an item, it lists that item's notifications at once.
    auto* listed = qobject_cast<DeclaredSearchWindow*>(
        OpenFormWithParams(QStringLiteral("frmNotifications"), 0, { QStringLiteral("Item_ID"), otherItem }));
    ASSERT_NE(listed, nullptr);
    ASSERT_EQ(listed->grid()->CountItems(), 1);
    EXPECT_EQ(listed->grid()->SelectedItemID(), others);
    UnloadWindow(listed);

    DeclaredSearchWindow* search = openSearch(QStringLiteral("frmNotifications"));
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->grid()->CountItems(), 0);
    const struct {
        QString from;
        QString to;
        std::vector<int> expected;
    } cases[] = {
        { {}, {}, { late, others, early } },
        // A "To" date takes in its whole day.
        { QStringLiteral("01/05/2024"), QStringLiteral("01/20/2024"), { others, early } },
        { QStringLiteral("01/06/2024"), {}, { late, others } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.from + QStringLiteral(" - ") + c.to).toStdString());
        for (int index : { 0, 1 }) {
            const QString& text = index == 0 ? c.from : c.to;
            if (text.isEmpty())
                search->criteria().at(index)->setValue(QVariant());
            else
                ReferenceTest::type(search->criteria().at(index), text);
        }
        QTest::mouseClick(search->populateButton(), Qt::LeftButton);
        QApplication::processEvents();
        search->grid()->SelectAll();
        int selected = 0;
        std::vector<int> shown;
        for (const QString& id : search->grid()->GetSelectedItems(selected).split(QLatin1Char(','), Qt::SkipEmptyParts))
            shown.push_back(id.trimmed().toInt());
        std::sort(shown.begin(), shown.end());
        std::vector<int> expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shown, expected);
    }
    // The search's item picker takes no typed codes.
    EXPECT_TRUE(qobject_cast<zComboBoxText*>(search->criteria().at(2))->RecordCodePrefix().isNull());
}

INSTANTIATE_TEST_SUITE_P(Engines, NotificationWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(NotificationWindows);

} // namespace
