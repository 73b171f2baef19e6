// The item, item model and location windows over a fresh database on both engines, driven as a
// clerk drives them: the case, property-type and review-date rules, typed codes and names in the
// pickers, the pair rules and bounds, record codes, the actions and their calls, the item labels
// and the refusal of a parent that would close a tree on itself.

#include "../reference_tables/ReferenceFixture.h"

#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "cases/NotificationWindows.h"
#include "core/AppInfo.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/Recordset.h"
#include "core/SqlText.h"
#include "custody/CustodyWindows.h"
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
#include "support/WorkArea.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <optional>

namespace {

const char* const DescriptiveFields[] = { "zcbtModel", "znumYearMade", "zcbtColor", "ztxtSerialNumber", "znumItemUPN",
    "zcbtCurrency", "znumCurrencyTotal", "znumWeight", "zcbtUnit" };

class ItemWindows : public ReferenceTest {
protected:
    void SetUp() override
    {
        ReferenceTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterCaseProcedures();
        RegisterCaseWindows();
        RegisterNotificationWindows();
        RegisterCustodyWindows();
        m_presenter.emplace();
        QDir().mkpath(GetMainPath() + QStringLiteral("Reports"));
        for (const char* name : { "Barcode Labels - Items", "Barcode Labels - Cases" }) {
            const QString templateName = QString::fromLatin1(name);
            QFile::remove(TemplatePath(templateName));
            ASSERT_TRUE(QFile::copy(QStringLiteral(BRAMBLECOT_SOURCE_DIR "/program_files/Reports/") + templateName
                    + QStringLiteral(".html"),
                TemplatePath(templateName)));
        }
        const CaseClasses classes = InsertCaseClasses();
        crime = classes.crime;
        felony = classes.felony;
        category = classes.category;
        employee = classes.employee;
        // Two of everything a picker lists: a picker of a single entry chooses it by itself.
        otherCategory
            = insert(QStringLiteral("INSERT INTO Property_Categories (Property_Category_Name, "
                                    "Property_Category_Code) VALUES ('Found', 'FO') RETURNING Property_Category_ID"));
        bicycle = addType(QStringLiteral("Bicycle"), 30);
        addType(QStringLiteral("Cash"), 90);
        model = insert(
            QStringLiteral("INSERT INTO Item_Models (Item_Model_Name) VALUES ('Trek') RETURNING Item_Model_ID"));
        insert(QStringLiteral("INSERT INTO Item_Models (Item_Model_Name) VALUES ('Giant') RETURNING Item_Model_ID"));
        color = insert(QStringLiteral("INSERT INTO Colors (Color_Name) VALUES ('Grey') RETURNING Color_ID"));
        insert(QStringLiteral("INSERT INTO Colors (Color_Name) VALUES ('Red') RETURNING Color_ID"));
        currency
            = insert(QStringLiteral("INSERT INTO Currency_Types (Currency_Type_Name, Currency_Type_Code, "
                                    "Currency_Type_Number) VALUES ('Dollar', 'USD', 840) RETURNING Currency_Type_ID"));
        insert(QStringLiteral("INSERT INTO Currency_Types (Currency_Type_Name, Currency_Type_Code, "
                              "Currency_Type_Number) VALUES ('Euro', 'EUR', 978) RETURNING Currency_Type_ID"));
        const int weight = count(QStringLiteral("SELECT Unit_Type_ID FROM Unit_Types WHERE Unit_Type_Code = 'W'"));
        unit = insert(QStringLiteral("INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) VALUES (%1, 'Kilogram', "
                                     "'kg') RETURNING Unit_ID")
                          .arg(weight));
        insert(QStringLiteral("INSERT INTO Units (Unit_Type_ID, Unit_Name, Unit_Code) VALUES (%1, 'Pound', 'lb') "
                              "RETURNING Unit_ID")
                   .arg(weight));
    }
    void TearDown() override
    {
        m_presenter.reset();
        ReferenceTest::TearDown();
    }

    int addType(const QString& name, int days, const QString& notApplicable = QString())
    {
        const QString flag = notApplicable.isEmpty() ? QString() : QStringLiteral(", ") + notApplicable;
        return insert(QStringLiteral("INSERT INTO Property_Types (Property_Type_Name, Property_Type_Code, "
                                     "Days_Until_Review%1) VALUES (%2, %3, %4%5) RETURNING Property_Type_ID")
                          .arg(flag, SQLString(name), SQLString(name.left(10)))
                          .arg(days)
                          .arg(notApplicable.isEmpty() ? QString() : QStringLiteral(", 0")));
    }
    int addCase(
        const QString& number, const QString& date = QStringLiteral("2005-01-31 21:15:00"), bool withCategory = true)
    {
        return InsertCase({ crime, felony, withCategory ? category : 0, employee }, number, date);
    }
    int addItem(int caseId, const QString& number) { return InsertItem(caseId, number); }
    int addLocation(const QString& name, int parent = 0)
    {
        return insert(QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code, Parent_Location_ID) "
                                     "VALUES (%1, %2, %3) RETURNING Location_ID")
                          .arg(SQLString(name), SQLString(name.left(20)),
                              parent > 0 ? QString::number(parent) : QStringLiteral("NULL")));
    }
    static QString code(QChar prefix, int id)
    {
        return QString(prefix) + QStringLiteral("-%1").arg(id, 10, 10, QLatin1Char('0'));
    }
    static int valueOf(DeclaredRecordWindow* window, const char* name) { return field(window, name)->Value().toInt(); }
    static void discard(DeclaredRecordWindow* window)
    {
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
    QString lastPrompt() const { return Prompts().boxes.empty() ? QString() : Prompts().boxes.back().text; }

    int crime = 0, felony = 0, category = 0, otherCategory = 0, employee = 0, bicycle = 0, model = 0, color = 0,
        currency = 0, unit = 0;

private:
    std::optional<RecordingPresenter::Installed> m_presenter;
};

TEST_P(ItemWindows, CaseRuleFillsOnlyWhatIsEmptyAndReviewDateIsProposedOnce)
{
    const int first = addCase(QStringLiteral("2005-1"));
    const int second = addCase(QStringLiteral("2006-1"), QStringLiteral("2006-07-04 08:00:00"));
    {
        SCOPED_TRACE("empty category and number");
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmItem"));
        ASSERT_NE(window, nullptr);
        type(field(window, "zcbtCase"), code(QLatin1Char('c'), first));
        EXPECT_EQ(valueOf(window, "zcbtCase"), first);
        EXPECT_EQ(valueOf(window, "zcbtPropertyCategory"), category);
        EXPECT_EQ(field(window, "ztxtItemNumber")->Text(), QStringLiteral("20050131"));
        // Another case afterwards changes neither.
        type(field(window, "zcbtCase"), QString::number(second));
        EXPECT_EQ(valueOf(window, "zcbtCase"), second);
        EXPECT_EQ(field(window, "ztxtItemNumber")->Text(), QStringLiteral("20050131"));

        // The review date: the case's day plus the type's 30 days, when the type is left.
        type(field(window, "zcbtPropertyType"), QStringLiteral("Bicycle"));
        EXPECT_EQ(field(window, "zdatDate")->Value().toDate(), QDate(2006, 8, 3));
        // Neither a new case nor a new type replaces it.
        type(field(window, "zcbtCase"), QString::number(first));
        type(field(window, "zcbtPropertyType"), QStringLiteral("Cash"));
        EXPECT_EQ(field(window, "zdatDate")->Value().toDate(), QDate(2006, 8, 3));
        discard(window);
    }
    {
        SCOPED_TRACE("a category and number entered first are kept; no case, no review date");
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmItem"));
        type(field(window, "zcbtPropertyType"), QStringLiteral("Bicycle"));
        EXPECT_TRUE(field(window, "zdatDate")->IsMissing());
        field(window, "zcbtPropertyCategory")->setValue(otherCategory);
        type(field(window, "ztxtItemNumber"), QStringLiteral("X-1"));
        type(field(window, "zcbtCase"), QString::number(first));
        EXPECT_EQ(valueOf(window, "zcbtPropertyCategory"), otherCategory);
        EXPECT_EQ(field(window, "ztxtItemNumber")->Text(), QStringLiteral("X-1"));
        discard(window);
    }
    {
        SCOPED_TRACE("an item added from a case starts with it; a derived number another item has is refused");
        addItem(first, QStringLiteral("20050131"));
        auto* window = qobject_cast<DeclaredRecordWindow*>(OpenFormWithParams(
            QStringLiteral("frmItem"), 0, { QStringLiteral("Mode"), 1, QStringLiteral("Case_ID"), first }));
        ASSERT_NE(window, nullptr);
        window->show();
        EXPECT_EQ(valueOf(window, "zcbtCase"), first);
        EXPECT_TRUE(field(window, "ztxtItemNumber")->IsMissing());
        type(field(window, "zcbtCase"), QString::number(first));
        EXPECT_EQ(field(window, "ztxtItemNumber")->Text(), QStringLiteral("20050131"));
        const QString duplicate = save(window);
        EXPECT_EQ(duplicate, QStringLiteral("Item with Item Number <20050131> already exists in the database."))
            << duplicate.toStdString();
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Items")), 1);
        discard(window);
    }
}

// Each flag off in turn: its fields are disabled and saved as NULL, every other field applies and
// keeps its value, and the rule holds again when the item is loaded.
TEST_P(ItemWindows, PropertyTypeRuleFollowsEachFlag)
{
    const int theCase = addCase(QStringLiteral("2005-1"));
    const struct {
        const char* flag;
        std::vector<const char*> fields;
        std::vector<const char*> columns;
    } flags[] = {
        { "Model_Applicable", { "zcbtModel" }, { "Item_Model_ID" } },
        { "Year_Made_Applicable", { "znumYearMade" }, { "Year_Made" } },
        { "Color_Applicable", { "zcbtColor" }, { "Item_Color_ID" } },
        { "Serial_Number_Applicable", { "ztxtSerialNumber" }, { "Serial_Number" } },
        { "UPC_Applicable", { "znumItemUPN" }, { "Item_UPN" } },
        { "Currency_Applicable", { "zcbtCurrency", "znumCurrencyTotal" }, { "Currency_Type_ID", "Currency_Total" } },
        { "Weight_Applicable", { "znumWeight", "zcbtUnit" }, { "Item_Weight", "Item_Weight_Unit_ID" } },
    };
    const char* const allColumns[] = { "Item_Model_ID", "Year_Made", "Item_Color_ID", "Serial_Number", "Item_UPN",
        "Currency_Type_ID", "Currency_Total", "Item_Weight", "Item_Weight_Unit_ID" };
    int n = 0;
    for (const auto& f : flags) {
        SCOPED_TRACE(f.flag);
        const int propertyType
            = addType(QStringLiteral("No ") + QString::fromLatin1(f.flag).left(12), 10, QString::fromLatin1(f.flag));
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmItem"));
        ASSERT_NE(window, nullptr);
        field(window, "zcbtCase")->setValue(theCase);
        type(field(window, "ztxtItemNumber"), QStringLiteral("N-%1").arg(++n));
        field(window, "zcbtModel")->setValue(model);
        type(field(window, "znumYearMade"), QStringLiteral("1999"));
        field(window, "zcbtColor")->setValue(color);
        type(field(window, "ztxtSerialNumber"), QStringLiteral("SN-7"));
        type(field(window, "znumItemUPN"), QStringLiteral("1234"));
        field(window, "zcbtCurrency")->setValue(currency);
        type(field(window, "znumCurrencyTotal"), QStringLiteral("20.5"));
        type(field(window, "znumWeight"), QStringLiteral("0.125"));
        field(window, "zcbtUnit")->setValue(unit);
        field(window, "zcbtPropertyType")->setValue(propertyType);
        for (const char* name : DescriptiveFields) {
            const bool off = std::find_if(f.fields.begin(), f.fields.end(), [name](const char* other) {
                return qstrcmp(name, other) == 0;
            }) != f.fields.end();
            EXPECT_EQ(field(window, name)->Applicable(), !off) << name;
        }
        ASSERT_EQ(save(window), QString());
        const int id = window->identity()->Value();
        for (const char* column : allColumns) {
            const bool off = std::find_if(f.columns.begin(), f.columns.end(), [column](const char* other) {
                return qstrcmp(column, other) == 0;
            }) != f.columns.end();
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Items WHERE Item_ID = %1 AND %2 IS NULL")
                                .arg(id)
                                .arg(QString::fromLatin1(column))),
                off ? 1 : 0)
                << column;
        }
        UnloadWindow(window);

        // Loading the item applies the rule too.
        window = openEdit(QStringLiteral("frmItem"), id);
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(field(window, f.fields.front())->Applicable());
        // No type, or a type gone: every field applies again.
        field(window, "zcbtPropertyType")->setValue(-1);
        for (const char* name : DescriptiveFields)
            EXPECT_TRUE(field(window, name)->Applicable()) << name;
        discard(window);
    }

    // A type deleted while chosen counts as no type and is refused at the field, not at the database.
    const int doomed = addType(QStringLiteral("Doomed"), 5, QStringLiteral("Model_Applicable"));
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmItem"));
    field(window, "zcbtCase")->setValue(theCase);
    type(field(window, "ztxtItemNumber"), QStringLiteral("D-1"));
    field(window, "zcbtPropertyType")->setValue(doomed);
    EXPECT_FALSE(field(window, "zcbtModel")->Applicable());
    Act_ExecuteSQL(QStringLiteral("DELETE FROM Property_Types WHERE Property_Type_ID = %1").arg(doomed));
    field(window, "zcbtPropertyType")->setValue(doomed);
    const QString message = save(window);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Property Type"))) << message.toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Items WHERE Item_Number = 'D-1'")), 0);
    discard(window);
}

TEST_P(ItemWindows, TypedCodesAndNamesInThePickers)
{
    const int theCase = addCase(QStringLiteral("2005-1"));
    const int room = addLocation(QStringLiteral("Room 1"));
    const int shelf = addLocation(QStringLiteral("Shelf 2"), room);
    DeclaredRecordWindow* item = openNew(QStringLiteral("frmItem"));
    DeclaredRecordWindow* location = openNew(QStringLiteral("frmLocation"));
    DeclaredRecordWindow* itemModel = openNew(QStringLiteral("frmItemModel"));
    ASSERT_TRUE(item && location && itemModel);
    // Models written past the windows after they opened: not in the lists, found by name. The
    // lowest identity wins a shared name.
    const int hidden = insert(
        QStringLiteral("INSERT INTO Item_Models (Item_Model_Name) VALUES ('Cannondale') RETURNING Item_Model_ID"));
    const int shared
        = insert(QStringLiteral("INSERT INTO Item_Models (Item_Model_Name) VALUES ('Twin') RETURNING Item_Model_ID"));
    insert(QStringLiteral("INSERT INTO Item_Models (Item_Model_Name) VALUES ('Twin') RETURNING Item_Model_ID"));
    const struct {
        DeclaredRecordWindow* window;
        const char* picker;
        QString typed;
        int chosen; // -1: nothing chosen, the message below is the field's
        QString message;
    } cases[] = {
        { item, "zcbtCase", code(QLatin1Char('c'), theCase), theCase, {} },
        { item, "zcbtCase", QString::number(theCase), theCase, {} },
        { item, "zcbtCase", QStringLiteral("C-12X"), -1, QStringLiteral("is not a valid record code") },
        { item, "zcbtModel", QStringLiteral("Cannondale"), hidden, {} },
        { item, "zcbtModel", QStringLiteral("Twin"), shared, {} },
        { item, "zcbtModel", QStringLiteral("Nobody Makes This"), -1, {} },
        { itemModel, "zcbtParentModel", QStringLiteral("Twin"), shared, {} },
        { location, "zcbtParentLocation", QStringLiteral("l-%1").arg(shelf, 10, 10, QLatin1Char('0')), shelf, {} },
        { location, "zcbtParentLocation", QString::number(room), room, {} },
        // The list shows "Room 1 / Shelf 2"; the bare name is what is looked up.
        { location, "zcbtParentLocation", QStringLiteral("Shelf 2"), shelf, {} },
        { location, "zcbtParentLocation", QStringLiteral("L-ABC"), -1,
            QStringLiteral("Parent Location <L-ABC> is not a valid record code") },
        { location, "zcbtParentLocation", QStringLiteral("L-99999999999"), -1,
            QStringLiteral("is not a valid record code") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((QString::fromLatin1(c.picker) + QLatin1Char(' ') + c.typed).toStdString());
        zFieldBase* picker = field(c.window, c.picker);
        picker->setValue(-1);
        // Typing reaches only the active window.
        c.window->raise();
        QApplication::setActiveWindow(c.window);
        QApplication::processEvents();
        type(picker, c.typed);
        EXPECT_EQ(picker->Value().toInt(), c.chosen);
        if (c.chosen < 0) {
            EXPECT_FALSE(picker->IsValid());
            EXPECT_TRUE(lastPrompt().contains(c.message)) << lastPrompt().toStdString();
        }
    }
    discard(item);
    discard(location);
    discard(itemModel);
}

TEST_P(ItemWindows, PairRulesAndBoundsRefuseTheSaveWithTheFieldsMessage)
{
    const int theCase = addCase(QStringLiteral("2005-1"));
    const struct {
        const char* trace;
        std::function<void(DeclaredRecordWindow*)> fill;
        QString message; // exact, or the start when it ends in "*"
    } cases[] = {
        { "currency without total", [this](DeclaredRecordWindow* w) { field(w, "zcbtCurrency")->setValue(currency); },
            QStringLiteral("Currency cannot be populated if Currency Total is empty.") },
        { "total without currency",
            [](DeclaredRecordWindow* w) { type(field(w, "znumCurrencyTotal"), QStringLiteral("5")); },
            QStringLiteral("Currency is required if Currency Total is populated.") },
        { "unit without weight", [this](DeclaredRecordWindow* w) { field(w, "zcbtUnit")->setValue(unit); },
            QStringLiteral("Weight Unit cannot be populated if Item Weight is empty.") },
        { "weight without unit", [](DeclaredRecordWindow* w) { type(field(w, "znumWeight"), QStringLiteral("2")); },
            QStringLiteral("Weight Unit is required if Item Weight is populated.") },
        { "weight at the excluded bound",
            [this](DeclaredRecordWindow* w) {
                type(field(w, "znumWeight"), QStringLiteral("100000"));
                field(w, "zcbtUnit")->setValue(unit);
            },
            QStringLiteral("Item Weight*") },
        { "weight of four decimals",
            [this](DeclaredRecordWindow* w) {
                type(field(w, "znumWeight"), QStringLiteral("0.1255"));
                field(w, "zcbtUnit")->setValue(unit);
            },
            QStringLiteral("Only 3 digits after decimal point allowed.") },
        { "UPC/EAN of 0", [](DeclaredRecordWindow* w) { type(field(w, "znumItemUPN"), QStringLiteral("0")); },
            QStringLiteral("Item UPN*") },
        { "year 1799", [](DeclaredRecordWindow* w) { type(field(w, "znumYearMade"), QStringLiteral("1799")); },
            QStringLiteral("Year Made*") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trace);
        DeclaredRecordWindow* window = openNew(QStringLiteral("frmItem"));
        ASSERT_NE(window, nullptr);
        field(window, "zcbtCase")->setValue(theCase);
        type(field(window, "ztxtItemNumber"), QStringLiteral("P-1"));
        c.fill(window);
        const QString message = save(window);
        if (c.message.endsWith(QLatin1Char('*')))
            EXPECT_TRUE(message.startsWith(c.message.chopped(1))) << message.toStdString();
        else
            EXPECT_EQ(message, c.message);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Items")), 0);
        discard(window);
    }
    // Both halves of both pairs, and a weight of three decimals: saved.
    DeclaredRecordWindow* window = openNew(QStringLiteral("frmItem"));
    field(window, "zcbtCase")->setValue(theCase);
    type(field(window, "ztxtItemNumber"), QStringLiteral("P-1"));
    field(window, "zcbtCurrency")->setValue(currency);
    type(field(window, "znumCurrencyTotal"), QStringLiteral("5"));
    type(field(window, "znumWeight"), QStringLiteral("0.125"));
    field(window, "zcbtUnit")->setValue(unit);
    EXPECT_EQ(save(window), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Items WHERE Item_Weight = 0.125")), 1);
}

// The code appears with the first save, and its barcode is drawn whole at once: a scanner reads
// it from the window as it stands in the main window's work area, without reopening it.
TEST_P(ItemWindows, RecordCodesAppearAfterTheFirstSaveAndScanAtOnce)
{
    const int theCase = addCase(QStringLiteral("2005-1"));
    const int boxType = count(QStringLiteral("SELECT Batch_Type_ID FROM Batch_Types WHERE Batch_Type_Code = 'BOX'"));
    const int theEmployee = employee;
    WorkArea area(QSize(1000, 700));
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const struct {
        const char* window;
        QChar prefix;
        const char* table;
        const char* identity;
        std::function<void(DeclaredRecordWindow*)> fill;
    } cases[] = {
        { "frmLocation", QLatin1Char('L'), "Locations", "Location_ID",
            [](DeclaredRecordWindow* w) {
                type(field(w, "ztxtName"), QStringLiteral("Vault"));
                type(field(w, "ztxtCode"), QStringLiteral("V"));
            } },
        { "frmItem", QLatin1Char('I'), "Items", "Item_ID",
            [theCase](DeclaredRecordWindow* w) {
                field(w, "zcbtCase")->setValue(theCase);
                type(field(w, "ztxtItemNumber"), QStringLiteral("R-1"));
            } },
        { "frmBatch", QLatin1Char('B'), "Batches", "Batch_ID",
            [boxType, theEmployee](DeclaredRecordWindow* w) {
                type(field(w, "ztxtBatchNumber"), QStringLiteral("BOX-7"));
                QTest::mouseClick(w->button(QStringLiteral("btnNow")), Qt::LeftButton);
                field(w, "zcbtEmployee")->setValue(theEmployee);
                field(w, "zcbtBatchType")->setValue(boxType);
            } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        DeclaredRecordWindow* window = openNew(QString::fromLatin1(c.window));
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isChildOfMainWindow());
        EXPECT_EQ(window->codeLabel(1)->Value(), QStringLiteral("No Bar Code Yet"));
        EXPECT_EQ(window->codeLabel(0)->Value(), QString());
        c.fill(window);
        ASSERT_EQ(save(window), QString());
        const int id = count(QStringLiteral("SELECT MAX(%1) FROM %2")
                                 .arg(QString::fromLatin1(c.identity), QString::fromLatin1(c.table)));
        EXPECT_EQ(window->codeLabel(1)->Value(), code(c.prefix, id));
        EXPECT_EQ(window->codeLabel(0)->Value(), QLatin1Char('*') + code(c.prefix, id) + QLatin1Char('*'));
        QApplication::processEvents();
        const QImage shown = window->codeLabel(0)->grab().toImage();
        const QStringList scanned
            = DecodedBarcodes(shown, folder.filePath(QString::fromLatin1(c.window) + QStringLiteral(".png")));
        EXPECT_EQ(scanned.join(QLatin1Char(' ')).toStdString(), "CODE-39:" + code(c.prefix, id).toStdString())
            << "the barcode label is " << shown.width() << " pixels wide";
        UnloadWindow(window);
        QApplication::processEvents();
    }
    // A location needs its code; a model does not.
    DeclaredRecordWindow* location = openNew(QStringLiteral("frmLocation"));
    type(field(location, "ztxtName"), QStringLiteral("Annex"));
    EXPECT_TRUE(save(location).startsWith(QStringLiteral("Location Code")));
    discard(location);
    DeclaredRecordWindow* itemModel = openNew(QStringLiteral("frmItemModel"), QStringLiteral("Typed Model"));
    EXPECT_EQ(field(itemModel, "ztxtName")->Text(), QStringLiteral("Typed Model"));
    EXPECT_EQ(save(itemModel), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Item_Models WHERE Item_Model_Name = 'Typed Model'")), 1);
}

// An item of every kind of value (money, a weight of three places, a date, a case-insensitive
// number) saves again and again from its window without a false alarm, and another user's change
// of the number's letter case alone is found, named and not overwritten.
TEST_P(ItemWindows, AnItemSavesOverItsOwnSavesButNeverOverAnotherUsersChange)
{
    const int theCase = addCase(QStringLiteral("2005-7"));
    const int id = insert(QStringLiteral("INSERT INTO Items (Case_ID, Item_Number, Property_Category_ID, Property_Type_ID, "
                                         "Item_Model_ID, Year_Made, Item_Color_ID, Serial_Number, Currency_Type_ID, Currency_Total, "
                                         "Item_Weight, Item_Weight_Unit_ID, Item_Review_Date) VALUES (%1, 'N-7', %2, %3, %4, 1999, %5, "
                                         "'SN-7', %6, 20.33, 0.125, %7, '2030-01-31') RETURNING Item_ID")
                              .arg(theCase)
                              .arg(category)
                              .arg(bicycle)
                              .arg(model)
                              .arg(color)
                              .arg(currency)
                              .arg(unit));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItem"), id);
    ASSERT_NE(window, nullptr);
    for (const QString& serial : { QStringLiteral("SN-8"), QStringLiteral("SN-9") }) {
        type(field(window, "ztxtSerialNumber"), serial);
        ASSERT_EQ(save(window), QString()) << qPrintable(serial);
    }
    std::unique_ptr<DatabaseConnection> other = m_database->connect();
    other->executeStatement(QStringLiteral("UPDATE Items SET Item_Number = 'n-7' WHERE Item_ID = ?"), { id });
    type(field(window, "ztxtSerialNumber"), QStringLiteral("SN-10"));
    const QString message = save(window);
    // Named by its number as the clerk loaded it, and the change's time as the date fields show one.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Item <N-7> was changed by \\S+ on \\d\\d/\\d\\d/\\d{4} "
                                                  "\\d{1,2}:\\d\\d [AP]M since you opened it\\. Your changes "
                                                  "were not saved\\.\r\n\r\nReload it now\\?$"))
                    .match(message)
                    .hasMatch())
        << qPrintable(message);
    EXPECT_TRUE(window->info()->DataChanged());
    const Recordset row
        = other->executeStatement(QStringLiteral("SELECT Item_Number, Serial_Number FROM Items WHERE Item_ID = ?"), { id });
    EXPECT_EQ(row.valueAt(0, 0).toString(), QStringLiteral("n-7"));
    EXPECT_EQ(row.valueAt(0, 1).toString(), QStringLiteral("SN-9"));
    discard(window);
}

TEST_P(ItemWindows, ActionsRunTheirCallsAndOpenTheirWindows)
{
    const int theCase = addCase(QStringLiteral("2005-1"));
    const int id = addItem(theCase, QStringLiteral("A-1"));
    DeclaredRecordWindow* window = openEdit(QStringLiteral("frmItem"), id);
    ASSERT_NE(window, nullptr);

    QFile::remove(MergeDataPath(QStringLiteral("Barcode Labels - Items")));
    window->runAction(QStringLiteral("print item barcode"));
    QFile data(MergeDataPath(QStringLiteral("Barcode Labels - Items")));
    ASSERT_TRUE(data.open(QIODevice::ReadOnly)) << lastPrompt().toStdString();
    const QString text = QString::fromUtf8(data.readAll());
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Item_Barcode\tItem_Number\tCase_Number\tItem_Description\tProperty_Type\r\n")));
    EXPECT_TRUE(text.contains(code(QLatin1Char('I'), id) + QStringLiteral("\tA-1\t2005-1\t")));

    // The report files live in the program folder's Reports; this one has none, so the clerk hears
    // which file is missing.
    for (const char* report : { "Item History Report", "Chain of Custody Report" }) {
        SCOPED_TRACE(report);
        Prompts().clear();
        window->runAction(QString::fromLatin1(report));
        EXPECT_TRUE(lastPrompt().contains(QStringLiteral("Cannot find Crystal Report "))) << lastPrompt().toStdString();
    }
    // The related windows open on the item: its lists with "Item_ID", new records with the item preset.
    const struct {
        const char* action;
        const char* window;
    } opened[] = {
        { "View Item Files", "frmItemFiles" },
        { "Add File to the Item", "frmItemFile" },
        { "View Related Batches", "frmBatchItems" },
        { "Add Item to Batch", "frmBatchItem" },
        { "View Notifications", "frmNotifications" },
        { "Create Notification", "frmNotification" },
        { "View Actions", "frmItemActions" },
        { "Take Action", "frmItemAction" },
    };
    for (const auto& a : opened) {
        SCOPED_TRACE(a.action);
        Prompts().clear();
        window->runAction(QString::fromLatin1(a.action));
        EXPECT_TRUE(Prompts().boxes.empty()) << lastPrompt().toStdString();
        DataWindow* related = AsDataWindow(LoadedWindows().constLast());
        ASSERT_NE(related, nullptr);
        EXPECT_EQ(related->objectName(), QString::fromLatin1(a.window));
        if (auto* record = qobject_cast<DeclaredRecordWindow*>(related)) {
            zFieldBase* item = record->field(QStringLiteral("zcbtItem"));
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->Value().toInt(), id);
        }
        UnloadWindow(related);
    }
    Prompts().clear();
    window->runAction(QStringLiteral("Nothing Such"));
    EXPECT_TRUE(lastPrompt().contains(QStringLiteral("Unknown Action <Nothing Such>."))) << lastPrompt().toStdString();
    Prompts().clear();
    window->runAction(QStringLiteral("Item History Report"));
    EXPECT_TRUE(lastPrompt().contains(GetMainPath() + QStringLiteral("Reports/Item History.rpt")))
        << lastPrompt().toStdString();

    window->runAction(QStringLiteral("View Case"));
    auto* caseWindow = loaded<DeclaredRecordWindow>("frmCase");
    ASSERT_NE(caseWindow, nullptr);
    EXPECT_EQ(caseWindow->identity()->Value(), theCase);
    UnloadWindow(caseWindow);

    // The item gone: nothing opens, the clerk is told.
    Act_ExecuteSQL(QStringLiteral("DELETE FROM Items WHERE Item_ID = %1").arg(id));
    Prompts().clear();
    window->runAction(QStringLiteral("View Case"));
    EXPECT_EQ(lastPrompt(), QStringLiteral("The related record no longer exists."));
    EXPECT_EQ(loaded<DeclaredRecordWindow>("frmCase"), nullptr);
    discard(window);
}

TEST_P(ItemWindows, SearchWindowsListAtOnceByCaseAndActOnTheSelectedRow)
{
    const int theCase = addCase(QStringLiteral("2005-1"));
    const int other = addCase(QStringLiteral("2006-1"), QStringLiteral("2006-07-04 08:00:00"));
    const int id = addItem(theCase, QStringLiteral("S-1"));
    addItem(other, QStringLiteral("S-2"));
    addItem(other, QStringLiteral("S-3"));

    auto* items = qobject_cast<DeclaredSearchWindow*>(
        OpenFormWithParams(QStringLiteral("frmItems"), 0, { QStringLiteral("Case_ID"), theCase }));
    ASSERT_NE(items, nullptr);
    QApplication::processEvents();
    ASSERT_EQ(items->grid()->CountItems(), 1);
    items->grid()->listView()->selectRow(0);
    EXPECT_EQ(items->grid()->SelectedItemID(), id);
    items->runAction(QStringLiteral("View Case"));
    auto* caseWindow = loaded<DeclaredRecordWindow>("frmCase");
    ASSERT_NE(caseWindow, nullptr);
    EXPECT_EQ(caseWindow->identity()->Value(), theCase);
    UnloadWindow(items);

    DeclaredSearchWindow* all = openSearch(QStringLiteral("frmItems"));
    EXPECT_EQ(all->grid()->CountItems(), 0);
    Prompts().clear();
    all->runAction(QStringLiteral("View Case")); // no row selected: nothing happens
    EXPECT_TRUE(Prompts().boxes.empty());
    // A "To" date takes in that whole day.
    type(all->criteria().at(1), QStringLiteral("07/04/2006"));
    type(all->criteria().at(0), QStringLiteral("07/04/2006"));
    QTest::mouseClick(all->populateButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(all->grid()->CountItems(), 2);

    // Locations: the name from its start in any letter case; both inventory entries in both windows.
    const int vault = addLocation(QStringLiteral("Vault"));
    addLocation(QStringLiteral("Annex"));
    DeclaredSearchWindow* locations = openSearch(QStringLiteral("frmLocations"));
    type(locations->criteria().at(0), QStringLiteral("vau"));
    QTest::mouseClick(locations->populateButton(), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(locations->grid()->CountItems(), 1);
    locations->grid()->listView()->selectRow(0);
    EXPECT_EQ(locations->grid()->SelectedItemID(), vault);
    DeclaredRecordWindow* location = openEdit(QStringLiteral("frmLocation"), vault);
    for (const char* action : { "Inventory Report for Location", "Inventory Report for Location and Sublocations" }) {
        SCOPED_TRACE(action);
        Prompts().clear();
        locations->runAction(QString::fromLatin1(action));
        EXPECT_EQ(lastPrompt(), QStringLiteral("Not Available"));
        Prompts().clear();
        location->runAction(QString::fromLatin1(action));
        EXPECT_EQ(lastPrompt(), QStringLiteral("Not Available"));
    }
}

// The labels of one item and of every item of a case: each barcode decodes to its item's code.
TEST_P(ItemWindows, ItemLabelsCarryBarcodesThatDecode)
{
    const int theCase = addCase(QStringLiteral("2005-1"));
    const int first = addItem(theCase, QStringLiteral("L-1"));
    const int second = addItem(theCase, QStringLiteral("L-2"));
    addItem(addCase(QStringLiteral("2006-1")), QStringLiteral("L-3"));
    QTemporaryDir folder;
    const auto decode = [&folder](QTextDocument* document, const QString& name) {
        return DecodedBarcodes(document, folder.filePath(name + QStringLiteral(".png")));
    };

    DeclaredRecordWindow* item = openEdit(QStringLiteral("frmItem"), second);
    ASSERT_NE(item, nullptr);
    RecordingPresenter::documents.clear();
    item->runAction(QStringLiteral("Print Item Barcode"));
    ASSERT_EQ(RecordingPresenter::documents.size(), 1u);
    EXPECT_EQ(decode(RecordingPresenter::documents.front().get(), QStringLiteral("item")),
        QStringList { QStringLiteral("CODE-39:") + code(QLatin1Char('I'), second) });

    DeclaredRecordWindow* caseWindow = openEdit(QStringLiteral("frmCase"), theCase);
    ASSERT_NE(caseWindow, nullptr);
    RecordingPresenter::documents.clear();
    caseWindow->runAction(QStringLiteral("Print Item Barcodes for Case"));
    ASSERT_EQ(RecordingPresenter::documents.size(), 1u);
    EXPECT_EQ(decode(RecordingPresenter::documents.front().get(), QStringLiteral("case")),
        (QStringList { QStringLiteral("CODE-39:") + code(QLatin1Char('I'), first),
            QStringLiteral("CODE-39:") + code(QLatin1Char('I'), second) }));
}

TEST_P(ItemWindows, AParentThatWouldCloseTheTreeIsRefused)
{
    const int room = addLocation(QStringLiteral("Room"));
    const int shelf = addLocation(QStringLiteral("Shelf"), room);
    const int bin = addLocation(QStringLiteral("Bin"), shelf);
    const int maker
        = insert(QStringLiteral("INSERT INTO Item_Models (Item_Model_Name) VALUES ('Maker') RETURNING Item_Model_ID"));
    const int series = insert(QStringLiteral("INSERT INTO Item_Models (Item_Model_Name, Parent_Item_Model_ID) "
                                             "VALUES ('Series', %1) RETURNING Item_Model_ID")
                                  .arg(maker));
    const QString locationMessage
        = QStringLiteral("Parent Location cannot be the location itself or one of its sublocations.");
    const QString modelMessage = QStringLiteral("Parent Model cannot be the model itself or one of its submodels.");
    const struct {
        const char* window;
        int identity;
        const char* picker;
        int parent;
        QString message; // "" saves
    } cases[] = {
        { "frmLocation", room, "zcbtParentLocation", room, locationMessage },
        { "frmLocation", room, "zcbtParentLocation", bin, locationMessage },
        { "frmLocation", bin, "zcbtParentLocation", room, {} },
        { "frmItemModel", maker, "zcbtParentModel", series, modelMessage },
        { "frmItemModel", series, "zcbtParentModel", -1, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.window) + " " + std::to_string(c.parent));
        DeclaredRecordWindow* window = openEdit(QString::fromLatin1(c.window), c.identity);
        ASSERT_NE(window, nullptr);
        field(window, c.picker)->setValue(c.parent);
        EXPECT_EQ(save(window), c.message);
        discard(window);
    }
    EXPECT_EQ(
        count(QStringLiteral("SELECT COALESCE(Parent_Location_ID, 0) FROM Locations WHERE Location_ID = %1").arg(room)),
        0);
    EXPECT_EQ(count(QStringLiteral("SELECT Parent_Location_ID FROM Locations WHERE Location_ID = %1").arg(bin)), room);
    EXPECT_EQ(count(QStringLiteral("SELECT COALESCE(Parent_Item_Model_ID, 0) FROM Item_Models WHERE Item_Model_ID = %1")
                        .arg(series)),
        0);
}

INSTANTIATE_TEST_SUITE_P(Engines, ItemWindows, ::testing::ValuesIn(TestEngines()), EngineTestName);
INSTANTIATE_CLERK_SUITE(ItemWindows);

} // namespace
