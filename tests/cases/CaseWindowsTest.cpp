// The case and case person windows over a fresh database on both engines, driven as a clerk
// drives them: the default case number, the record code, typed case codes, the actions and their
// calls, the person's default address and telephone, the pair rules and the search windows.

#include "../reference_tables/ReferenceFixture.h"

#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "exports/MailMerge.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zExtendedLabel.h"
#include "form_framework/zFieldBase.h"
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

namespace {

class CaseWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterCaseProcedures();
        RegisterCaseWindows();
        m_presenter.emplace();
        QDir().mkpath(GetMainPath() + QStringLiteral("Reports"));
        QFile::remove(TemplatePath(QStringLiteral("Barcode Labels - Cases")));
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/Reports/Barcode Labels - Cases.html"),
                TemplatePath(QStringLiteral("Barcode Labels - Cases"))));
        classes = InsertCaseClasses();
    }
    void TearDown() override
    {
        m_presenter.reset();
        ReferenceTest::TearDown();
    }

    int addCase(const QString& number, const QString& date = QStringLiteral("2004-03-07 21:15:00"))
    {
        return InsertCase(classes, number, date);
    }
    // The required fields of a new case other than its date and number.
    void fillRequired(DeclaredRecordWindow* window)
    {
        window->field(QStringLiteral("zcbtCrimeClass"))->setValue(classes.crime);
        window->field(QStringLiteral("zcbtFelonyClass"))->setValue(classes.felony);
        window->field(QStringLiteral("zcbtPropertyCategory"))->setValue(classes.category);
        window->field(QStringLiteral("zcbtSubmittingEmployee"))->setValue(classes.employee);
    }

    CaseClasses classes;

private:
    std::optional<RecordingPresenter::Installed> m_presenter;
};

TEST_P(CaseWindows, DefaultCaseNumberComesFromTheCaseDateAndNeverReplacesOne)
{
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    {
        SCOPED_TRACE("<= Now beside the case date, empty number");
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmCase"));
        ASSERT_NE(window, nullptr);
        QTest::mouseClick(window->button(QStringLiteral("btnNow")), Qt::LeftButton);
        EXPECT_FALSE(field(window, "zdatCaseDateTime")->IsMissing());
        EXPECT_EQ(field(window, "ztxtCaseNumber")->Text(), today);
        UnloadWindow(window);
    }
    {
        SCOPED_TRACE("a number typed first is kept");
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmCase"));
        type(field(window, "ztxtCaseNumber"), QStringLiteral("2004-117"));
        QTest::mouseClick(window->button(QStringLiteral("btnNow")), Qt::LeftButton);
        EXPECT_EQ(field(window, "ztxtCaseNumber")->Text(), QStringLiteral("2004-117"));
        UnloadWindow(window);
    }
    {
        SCOPED_TRACE("<= Now beside the collection date fills only that date");
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmCase"));
        QTest::mouseClick(window->button(QStringLiteral("btnNow2")), Qt::LeftButton);
        EXPECT_FALSE(field(window, "zdatCollectedDateTime")->IsMissing());
        EXPECT_TRUE(field(window, "zdatCaseDateTime")->IsMissing());
        EXPECT_TRUE(field(window, "ztxtCaseNumber")->IsMissing());
        UnloadWindow(window);
    }
    {
        SCOPED_TRACE("a typed case date, then leaving the field; the time is dropped");
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmCase"));
        type(field(window, "zdatCaseDateTime"), QStringLiteral("03/07/2004 9:15 PM"));
        EXPECT_EQ(field(window, "ztxtCaseNumber")->Text(), QStringLiteral("20040307"));
        UnloadWindow(window);
    }
}

TEST_P(CaseWindows, RecordCodeBeforeAndAfterTheFirstSave)
{
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmCase"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->codeLabel(1)->Value(), QStringLiteral("No Bar Code Yet"));
    EXPECT_EQ(window->codeLabel(0)->Value(), QString());
    // The group boxes keep their captions exactly, trailing blanks included.
    EXPECT_NE(window->group(QStringLiteral("Items Collected ")), nullptr);
    EXPECT_NE(window->group(QStringLiteral("Default Values for Items - Can Be Changed for Each Item Later ")), nullptr);

    QTest::mouseClick(window->button(QStringLiteral("btnNow")), Qt::LeftButton);
    fillRequired(window);
    ASSERT_EQ(save(window), QString());
    const int id = count(QStringLiteral("SELECT MAX(Case_ID) FROM Cases"));
    ASSERT_GT(id, 0);
    const QString code = QStringLiteral("C-%1").arg(id, 10, 10, QLatin1Char('0'));
    EXPECT_EQ(window->codeLabel(1)->Value(), code);
    EXPECT_EQ(window->codeLabel(0)->Value(), QLatin1Char('*') + code + QLatin1Char('*'));
}

TEST_P(CaseWindows, TypedCaseCodesInTheConnectUpPicker)
{
    const int own = addCase(QStringLiteral("A-1"));
    const int other = addCase(QStringLiteral("A-2"));
    const QString otherCode = QStringLiteral("c-%1").arg(other, 10, 10, QLatin1Char('0'));
    const QString ownCode = QStringLiteral("C-%1").arg(own, 10, 10, QLatin1Char('0'));
    const struct {
        QString typed;
        int chosen; // 0: nothing saved
        QString message; // part of the save's message, "" for none
    } cases[] = {
        { otherCode, other, QString() },
        { QStringLiteral("C-") + QString::number(other), other, QString() },
        { QString::number(other), other, QString() },
        { ownCode, 0, QStringLiteral("The case cannot connect to itself") },
        { QStringLiteral("C-12X"), 0, QStringLiteral("is not a valid record code") },
        { QStringLiteral("C-99999999999"), 0, QStringLiteral("is not a valid record code") },
        { QStringLiteral("c-0000009999"), 0, QStringLiteral("Connect Up Case") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        Act_ExecuteSQL(QStringLiteral("UPDATE Cases SET Connect_Up_Case_ID = NULL"));
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmCase"), own);
        ASSERT_NE(window, nullptr);
        type(field(window, "zcbtConnectUpCase"), c.typed);
        const QString message = save(window);
        if (c.message.isEmpty())
            EXPECT_EQ(message, QString());
        else
            EXPECT_TRUE(message.contains(c.message)) << message.toStdString();
        EXPECT_EQ(
            count(QStringLiteral("SELECT COALESCE(Connect_Up_Case_ID, 0) FROM Cases WHERE Case_ID = %1").arg(own)),
            c.chosen);
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

TEST_P(CaseWindows, CaseNumbersAreUniqueInAnyLetterCaseAndDatesBounded)
{
    addCase(QStringLiteral("ab-7"));
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmCase"));
    fillRequired(window);
    type(field(window, "zdatCaseDateTime"), QStringLiteral("12/30/1950 1:00 PM"));
    type(field(window, "ztxtCaseNumber"), QStringLiteral("AB-7"));
    EXPECT_TRUE(save(window).contains(QStringLiteral("Case Date & Time")));
    type(field(window, "zdatCaseDateTime"), QStringLiteral("01/02/2050 1:00 PM"));
    EXPECT_TRUE(save(window).contains(QStringLiteral("Case Date & Time")));
    type(field(window, "zdatCaseDateTime"), QStringLiteral("01/02/2000 1:00 PM"));
    const QString duplicate = save(window);
    EXPECT_TRUE(duplicate.contains(QStringLiteral("Case Number"))) << duplicate.toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Cases")), 1);
    window->info()->setDataChanged(false);
}

TEST_P(CaseWindows, ActionsRunTheirCallsAndOpenTheirWindows)
{
    const int id = addCase(QStringLiteral("2004-1"));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmCase"), id);
    ASSERT_NE(window, nullptr);

    // The label: the data file holds the procedure's row for this case.
    QFile::remove(MergeDataPath(QStringLiteral("Barcode Labels - Cases")));
    Prompts().clear();
    window->runAction(QStringLiteral("print case barcode"));
    QFile data(MergeDataPath(QStringLiteral("Barcode Labels - Cases")));
    ASSERT_TRUE(data.open(QIODevice::ReadOnly))
        << (Prompts().boxes.empty() ? std::string() : Prompts().boxes.back().text.toStdString());
    const QString text = QString::fromUtf8(data.readAll());
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Case_Barcode\tCase_Number\tCase_Date_Time\tCase_Status\tCrime_Class\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("C-%1\t2004-1\t").arg(id, 10, 10, QLatin1Char('0'))));

    // Windows that come with later work answer with the registry's message.
    const struct {
        const char* action;
        const char* window;
    } missing[] = { { "View Case Items", "frmItems" }, { "Add Item to the Case", "frmItem" },
        { "View Related Batches", "frmBatchItems" }, { "Add Case to Batch", "frmBatchItem" },
        { "View Actions", "frmItemActions" }, { "Take Action", "frmItemAction" } };
    for (const auto& m : missing) {
        Prompts().clear();
        window->runAction(QString::fromLatin1(m.action));
        ASSERT_FALSE(Prompts().boxes.empty()) << m.action;
        EXPECT_TRUE(Prompts().boxes.back().text.endsWith(
            QStringLiteral("\r\n\r\nThe window <%1> is not available.").arg(QString::fromLatin1(m.window))))
            << Prompts().boxes.back().text.toStdString();
    }

    // A new person of the case has the case preset; the people of the case are listed at once.
    const int other = addCase(QStringLiteral("2004-2"));
    const int type
        = insert(QStringLiteral("INSERT INTO Case_Person_Types (Case_Person_Type_Name, Case_Person_Type_Code) "
                                "VALUES ('Victim', 'VI') RETURNING Case_Person_Type_ID"));
    const int person = insert(
        QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES ('Ann', 'Lee') RETURNING Person_ID"));
    for (int c : { id, other })
        insert(QStringLiteral("INSERT INTO Case_People (Case_ID, Case_Person_Type_ID, Person_ID) VALUES (%1, %2, %3) "
                              "RETURNING Case_Person_ID")
                   .arg(c)
                   .arg(type)
                   .arg(person));
    window->runAction(QStringLiteral("Add Person to the Case"));
    auto* link = loaded<DeclaredRecordWindow>("frmCasePerson");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->info()->Mode(), FormMode::Add);
    EXPECT_EQ(link->field(QStringLiteral("zcbtCase"))->Value().toInt(), id);

    window->runAction(QStringLiteral("View Case People"));
    auto* people = loaded<DeclaredSearchWindow>("frmCasePeople");
    ASSERT_NE(people, nullptr);
    EXPECT_EQ(people->grid()->CountItems(), 1);
    Prompts().clear();
    window->runAction(QStringLiteral("Nothing Such"));
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("Unknown Action <Nothing Such>."));
}

// The case label of three cases through the window's action: each label's barcode decodes to
// its case's record code.
TEST_P(CaseWindows, CaseLabelsCarryBarcodesThatDecodeToTheirCodes)
{
    QStringList expected;
    QStringList decoded;
    QTemporaryDir folder;
    for (const char* number : { "L-1", "L-2", "L-3" }) {
        const int id = addCase(QString::fromLatin1(number));
        expected << QStringLiteral("CODE-39:C-%1").arg(id, 10, 10, QLatin1Char('0'));
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmCase"), id);
        ASSERT_NE(window, nullptr);
        RecordingPresenter::documents.clear();
        window->runAction(QStringLiteral("Print Case Barcode"));
        ASSERT_EQ(RecordingPresenter::documents.size(), 1u);
        QTextDocument* document = RecordingPresenter::documents.front().get();
        EXPECT_TRUE(document->toPlainText().contains(QString::fromLatin1(number)));
        decoded << DecodedBarcodes(document, folder.filePath(QString::fromLatin1(number) + QStringLiteral(".png")))
                       .join(QLatin1Char('\n'));
        UnloadWindow(window);
    }
    EXPECT_EQ(decoded, expected);
}

// A person with an address and a telephone taken from an earlier link, and a second person
// without any.
class CasePersonWindows : public CaseWindows {
protected:
    void SetUp() override
    {
        CaseWindows::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        theCase = addCase(QStringLiteral("2010-1"), QStringLiteral("2010-05-01 10:00:00"));
        const int earlier = addCase(QStringLiteral("2009-1"), QStringLiteral("2009-05-01 10:00:00"));
        role = insert(QStringLiteral("INSERT INTO Case_Person_Types (Case_Person_Type_Name, Case_Person_Type_Code) "
                                     "VALUES ('Victim', 'VI') RETURNING Case_Person_Type_ID"));
        homeType = insert(QStringLiteral("INSERT INTO Address_Types (Address_Type_Name, Address_Type_Code) "
                                         "VALUES ('Home', 'HO') RETURNING Address_Type_ID"));
        cellType = insert(QStringLiteral("INSERT INTO Telephone_Types (Telephone_Type_Name, Telephone_Type_Code) "
                                         "VALUES ('Cell', 'CE') RETURNING Telephone_Type_ID"));
        const int country = count(QStringLiteral("SELECT MIN(Country_ID) FROM Countries"));
        // Second entries: a picker of a single entry would choose it by itself.
        insert(QStringLiteral("INSERT INTO Address_Types (Address_Type_Name, Address_Type_Code) VALUES ('Work', 'WO') "
                              "RETURNING Address_Type_ID"));
        insert(QStringLiteral("INSERT INTO Telephone_Types (Telephone_Type_Name, Telephone_Type_Code) "
                              "VALUES ('Desk', 'DE') RETURNING Telephone_Type_ID"));
        insert(QStringLiteral("INSERT INTO Telephones (Country_ID, Telephone_Area_Code, Telephone_Number) "
                              "VALUES (%1, '555', '7654321') RETURNING Telephone_ID")
                   .arg(country));
        home = insert(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, City) "
                                     "VALUES (%1, '1 Main St', 'Springfield') RETURNING Address_ID")
                          .arg(country));
        otherAddress = insert(QStringLiteral("INSERT INTO Addresses (Country_ID, Street_Address_1, City) "
                                             "VALUES (%1, '9 Side St', 'Shelbyville') RETURNING Address_ID")
                                  .arg(country));
        cell = insert(QStringLiteral("INSERT INTO Telephones (Country_ID, Telephone_Area_Code, Telephone_Number) "
                                     "VALUES (%1, '555', '1234567') RETURNING Telephone_ID")
                          .arg(country));
        ann = insert(
            QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES ('Ann', 'Lee') RETURNING Person_ID"));
        bob = insert(
            QStringLiteral("INSERT INTO People (First_Name, Last_Name) VALUES ('Bob', 'Ray') RETURNING Person_ID"));
        annsLink = insert(
            QStringLiteral("INSERT INTO Case_People (Case_ID, Case_Person_Type_ID, Person_ID, Address_Type_ID, "
                           "Address_ID, Telephone_Type_ID, Telephone_ID) VALUES (%1, %2, %3, %4, %5, %6, %7) "
                           "RETURNING Case_Person_ID")
                .arg(earlier)
                .arg(role)
                .arg(ann)
                .arg(homeType)
                .arg(home)
                .arg(cellType)
                .arg(cell));
    }
    DeclaredRecordWindow* newLink()
    {
        auto* window = qobject_cast<DeclaredRecordWindow*>(OpenFormWithParams(
            QStringLiteral("frmCasePerson"), 0, { QStringLiteral("Mode"), 1, QStringLiteral("Case_ID"), theCase }));
        if (window) {
            window->show();
            QApplication::setActiveWindow(window);
            QApplication::processEvents();
        }
        return window;
    }
    static int valueOf(DeclaredRecordWindow* window, const char* name) { return field(window, name)->Value().toInt(); }

    int theCase = 0, role = 0, homeType = 0, cellType = 0, home = 0, otherAddress = 0, cell = 0, ann = 0, bob = 0,
        annsLink = 0;
};

TEST_P(CasePersonWindows, ChoosingThePersonFillsOnlyEmptyPairsAndOnlyInAddMode)
{
    {
        SCOPED_TRACE("both pairs empty");
        DeclaredRecordWindow* window = newLink();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(valueOf(window, "zcbtCase"), theCase);
        type(field(window, "zcbtPerson"), QStringLiteral("Lee, Ann"));
        EXPECT_EQ(valueOf(window, "zcbtPerson"), ann);
        EXPECT_EQ(valueOf(window, "zcbtAddressType"), homeType);
        EXPECT_EQ(valueOf(window, "zcbtAddress"), home);
        EXPECT_EQ(valueOf(window, "zcbtTelephoneType"), cellType);
        EXPECT_EQ(valueOf(window, "zcbtTelephone"), cell);
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
    {
        SCOPED_TRACE("an address already chosen is kept");
        DeclaredRecordWindow* window = newLink();
        field(window, "zcbtAddress")->setValue(otherAddress);
        type(field(window, "zcbtPerson"), QStringLiteral("Lee, Ann"));
        EXPECT_EQ(valueOf(window, "zcbtAddress"), otherAddress);
        EXPECT_LE(valueOf(window, "zcbtAddressType"), 0);
        EXPECT_EQ(valueOf(window, "zcbtTelephone"), cell);
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
    {
        SCOPED_TRACE("a person without addresses or telephones");
        DeclaredRecordWindow* window = newLink();
        type(field(window, "zcbtPerson"), QStringLiteral("Ray, Bob"));
        EXPECT_EQ(valueOf(window, "zcbtPerson"), bob);
        EXPECT_LE(valueOf(window, "zcbtAddress"), 0);
        EXPECT_LE(valueOf(window, "zcbtTelephone"), 0);
        EXPECT_TRUE(Prompts().boxes.empty());
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
    {
        SCOPED_TRACE("edit mode changes nothing");
        const int bare = insert(QStringLiteral("INSERT INTO Case_People (Case_ID, Case_Person_Type_ID, Person_ID) "
                                               "VALUES (%1, %2, %3) RETURNING Case_Person_ID")
                                    .arg(theCase)
                                    .arg(role)
                                    .arg(bob));
        DeclaredRecordWindow* window = openEdit(QStringLiteral("frmCasePerson"), bare);
        ASSERT_NE(window, nullptr);
        type(field(window, "zcbtPerson"), QStringLiteral("Lee, Ann"));
        EXPECT_LE(valueOf(window, "zcbtAddress"), 0);
        EXPECT_LE(valueOf(window, "zcbtTelephone"), 0);
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

// With one telephone in the database a new link's telephone, which the link may go without, stays
// empty; the only person type, which it requires, is chosen for the clerk.
TEST_P(CasePersonWindows, OnlyARequiredPickerChoosesItsOnlyEntry)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("DELETE FROM Telephones WHERE Telephone_ID <> %1").arg(cell)));
    DeclaredRecordWindow* window = newLink();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(valueOf(window, "zcbtCasePersonType"), role);
    EXPECT_LE(valueOf(window, "zcbtTelephone"), 0);
    type(field(window, "zcbtPerson"), QStringLiteral("Ray, Bob"));
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Case_People WHERE Person_ID = %1 "
                                   "AND Case_Person_Type_ID = %2 AND Telephone_ID IS NULL")
                        .arg(bob)
                        .arg(role)),
        1);
}

TEST_P(CasePersonWindows, ATypeWithoutItsValueIsRefused)
{
    const struct {
        const char* typeField;
        int typeId;
        const char* message;
    } cases[] = {
        { "zcbtAddressType", homeType, "Address Type cannot be populated if Address is empty." },
        { "zcbtTelephoneType", cellType, "Telephone Type cannot be populated if Telephone is empty." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeField);
        DeclaredRecordWindow* window = newLink();
        field(window, "zcbtCasePersonType")->setValue(role);
        field(window, "zcbtPerson")->setValue(bob);
        field(window, c.typeField)->setValue(c.typeId);
        EXPECT_EQ(save(window), QString::fromLatin1(c.message));
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Case_People WHERE Person_ID = %1").arg(bob)), 0);
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
    // A value without its type is accepted.
    DeclaredRecordWindow* window = newLink();
    field(window, "zcbtCasePersonType")->setValue(role);
    field(window, "zcbtPerson")->setValue(bob);
    field(window, "zcbtAddress")->setValue(home);
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Case_People WHERE Person_ID = %1").arg(bob)), 1);
}

TEST_P(CasePersonWindows, ViewCaseAndTheMapsFollowTheLink)
{
    DeclaredRecordWindow* link = openEdit(QStringLiteral("frmCasePerson"), annsLink);
    ASSERT_NE(link, nullptr);
    const int linkedCase
        = count(QStringLiteral("SELECT Case_ID FROM Case_People WHERE Case_Person_ID = %1").arg(annsLink));

    link->runAction(QStringLiteral("View Case"));
    auto* first = loaded<DeclaredRecordWindow>("frmCase");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->identity()->Value(), linkedCase);
    link->runAction(QStringLiteral("view case"));
    EXPECT_EQ(loaded<DeclaredRecordWindow>("frmCase"), first);
    int caseWindows = 0;
    for (QWidget* window : LoadedWindows())
        caseWindows += window->objectName() == QStringLiteral("frmCase") ? 1 : 0;
    EXPECT_EQ(caseWindows, 1);

    link->runAction(QStringLiteral("View Map (MapQuest)"));
    link->runAction(QStringLiteral("View Map (Yahoo)"));
    ASSERT_EQ(viewers->pages.size(), 2);
    EXPECT_TRUE(viewers->pages.at(0).startsWith(QStringLiteral("https://www.mapquest.com/")));
    EXPECT_TRUE(viewers->pages.at(0).contains(QStringLiteral("1%20Main%20St")));
    EXPECT_EQ(viewers->pageCaptions, (QStringList { QStringLiteral("MapQuest Map"), QStringLiteral("Yahoo Map") }));

    // The link without an address, then the link gone: nothing opens, the clerk is told.
    Act_ExecuteSQL(
        QStringLiteral("UPDATE Case_People SET Address_ID = NULL, Address_Type_ID = NULL WHERE Case_Person_ID = %1")
            .arg(annsLink));
    Prompts().clear();
    link->runAction(QStringLiteral("View Map (Yahoo)"));
    EXPECT_EQ(viewers->pages.size(), 2);
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("The related record no longer exists."));
    UnloadWindow(first);
    Act_ExecuteSQL(QStringLiteral("DELETE FROM Case_People WHERE Case_Person_ID = %1").arg(annsLink));
    Prompts().clear();
    link->runAction(QStringLiteral("View Case"));
    ASSERT_FALSE(Prompts().boxes.empty());
    EXPECT_EQ(Prompts().boxes.back().text, QStringLiteral("The related record no longer exists."));
    for (QWidget* window : LoadedWindows())
        EXPECT_NE(window->objectName(), QStringLiteral("frmCase"));
}

TEST_P(CasePersonWindows, SearchWindowsOpenEmptyAndActOnlyOnASelectedRow)
{
    DeclaredSearchWindow* cases = openSearch(QStringLiteral("frmCases"));
    ASSERT_NE(cases, nullptr);
    EXPECT_EQ(cases->grid()->CountItems(), 0);
    // No row selected: nothing opens.
    Prompts().clear();
    cases->runAction(QStringLiteral("View Case Items"));
    EXPECT_TRUE(Prompts().boxes.empty());
    QTest::mouseClick(cases->populateButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(cases->grid()->CountItems(), 2);

    // A "To" date takes in that whole day.
    type(cases->criteria().at(1), QStringLiteral("05/01/2010"));
    type(cases->criteria().at(0), QStringLiteral("05/01/2010"));
    QTest::mouseClick(cases->populateButton(), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(cases->grid()->CountItems(), 1);
    cases->grid()->listView()->selectRow(0);
    EXPECT_EQ(cases->grid()->SelectedItemID(), theCase);
    // The case picker of this window takes no typed codes.
    EXPECT_EQ(qobject_cast<zComboBoxText*>(cases->criteria().at(2))->RecordCodePrefix(), QChar());

    cases->runAction(QStringLiteral("Add Person to the Case"));
    auto* link = loaded<DeclaredRecordWindow>("frmCasePerson");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->field(QStringLiteral("zcbtCase"))->Value().toInt(), theCase);
}

INSTANTIATE_TEST_SUITE_P(Engines, CasePersonWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(CasePersonWindows);
INSTANTIATE_TEST_SUITE_P(Engines, CaseWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(CaseWindows);

} // namespace
