#include "FakeControls.h"

#include "core/Connection.h"
#include "core/Database.h"
#include "core/Platform.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A record window over the test table Ledgers, whose columns hold every kind of value a save
// compares: a case-insensitive name, money, a real number, a date, a date and time, plain text.
class frmLedger : public DataWindow {
public:
    frmLedger()
        : DataWindow(QStringLiteral("frmLedger"))
    {
        auto* layout = new QVBoxLayout(this);
        auto* id = new zIdentity(this);
        id->setDBFieldName(QStringLiteral("Ledger_ID"));
        layout->addWidget(id);
        for (const char* column : { "Title", "Amount", "Rate", "Opened", "Stamp", "Note" }) {
            const QString name = QString::fromLatin1(column);
            auto* field = new FakeText(this, QStringLiteral("ztxt") + name, name, name);
            fields << field;
            layout->addWidget(field);
        }
        layout->addWidget(new FakeRecordBar(this));
        info()->setFormType(FormType::Record);
        info()->setFormCaption(QStringLiteral("Ledger"));
        info()->setMainTableName(QStringLiteral("Ledgers"));
        info()->setIdentityField(QStringLiteral("Ledger_ID"));
    }

    bool ActPopulateFormEditProcedure() override
    {
        std::unique_ptr<Recordset> row;
        if (!Act_OpenRecordset(row, info()->SearchSQL() + info()->Identity()) || row->eof())
            return false;
        for (FakeText* field : fields)
            field->setValue(row->value(field->DBFieldName()));
        return true;
    }

    FakeText* field(const QString& column) const
    {
        for (FakeText* candidate : fields)
            if (candidate->DBFieldName() == column)
                return candidate;
        return nullptr;
    }

    QList<FakeText*> fields;
};

// Two clerks on one record: the program's connection is the first, a connection of its own the
// second, who writes the row between the first one's load and save.
class ConcurrentSave : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        RegisterTestForms();
        // A second window class on the same table: a record already shown in a window of one
        // class is brought forward rather than opened twice, so one clerk's two windows on one
        // record are one of each.
        FormRegistry::registerForm(QStringLiteral("frmGadgetTwin"), [] {
            auto* window = new frmGadget;
            window->setObjectName(QStringLiteral("frmGadgetTwin"));
            return window;
        });
        FormRegistry::registerForm(QStringLiteral("frmLedger"), [] { return new frmLedger; });
        Prompts().clear();
        ASSERT_TRUE(CreateGadgetsTable(GetParam()));
        m_other = m_database->connect();
        ASSERT_NE(m_other, nullptr);
    }

    void TearDown() override
    {
        SetCommandObserver(nullptr);
        for (QWidget* window : LoadedWindows()) {
            if (DataWindow* data = AsDataWindow(window))
                data->info()->setDataChanged(false);
            UnloadWindow(window);
        }
        QApplication::processEvents();
        m_other.reset();
        DatabaseTest::TearDown();
    }

    int insertGadget(const QString& name, const QString& serial)
    {
        return m_other
            ->executeStatement(
                QStringLiteral(
                    "INSERT INTO Gadgets (Gadget_Name, Serial, Working) VALUES (?, ?, 1) RETURNING Gadget_ID"),
                { name, serial })
            .valueAt(0, 0)
            .toInt();
    }

    frmGadget* openRecord(int id, const QString& form = QStringLiteral("frmGadget"))
    {
        return dynamic_cast<frmGadget*>(
            OpenFormWithParams(form, id, { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), id }));
    }

    // The other clerk's write.
    void otherWrites(const QString& sql, const std::vector<QVariant>& values)
    {
        m_other->executeStatement(sql, values);
    }

    QStringList gadget(int id)
    {
        const Recordset row = m_other->executeStatement(
            QStringLiteral("SELECT Gadget_Name, Serial FROM Gadgets WHERE Gadget_ID = ?"), { id });
        if (row.recordCount() == 0)
            return {};
        return { row.valueAt(0, 0).toString(), row.valueAt(0, 1).toString() };
    }

    static QString changedText(int id)
    {
        return QStringLiteral(
            "Gadget <%1> was changed by another user since you opened it. Your changes were not saved.\r\n\r\n"
            "Reload it now?")
            .arg(id);
    }

    std::unique_ptr<DatabaseConnection> m_other;
};

TEST_P(ConcurrentSave, AChangeSavedByAnotherUserIsNeverOverwrittenAndTheReloadShowsIt)
{
    const int id = insertGadget(QStringLiteral("Camera"), QStringLiteral("S-1"));
    frmGadget* window = openRecord(id);
    ASSERT_NE(window, nullptr);

    otherWrites(QStringLiteral("UPDATE Gadgets SET Serial = 'S-2' WHERE Gadget_ID = ?"), { id });
    window->name->setValue(QStringLiteral("Camera 2"));
    window->info()->setDataChanged(true);
    Prompts().answer(MsgBox::No);
    EXPECT_FALSE(window->info()->SaveData(true));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, changedText(id));
    EXPECT_EQ(Prompts().boxes[0].title, QStringLiteral("Record Changed"));
    EXPECT_EQ(Prompts().boxes[0].style, MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2);
    EXPECT_EQ(gadget(id), QStringList({ QStringLiteral("Camera"), QStringLiteral("S-2") }));
    // Kept, not reloaded: the clerk's typing is still there, and still not saved.
    EXPECT_TRUE(window->info()->DataChanged());
    EXPECT_EQ(window->name->text(), QStringLiteral("Camera 2"));
    EXPECT_EQ(window->serial->text(), QStringLiteral("S-1"));
    Prompts().clear();
    Prompts().answer(MsgBox::No);
    EXPECT_FALSE(window->info()->SaveData(true)) << "a second try is no way around the comparison";
    EXPECT_EQ(gadget(id), QStringList({ QStringLiteral("Camera"), QStringLiteral("S-2") }));

    Prompts().clear();
    Prompts().answer(MsgBox::Yes);
    EXPECT_FALSE(window->info()->SaveData(true));
    EXPECT_EQ(window->name->text(), QStringLiteral("Camera"));
    EXPECT_EQ(window->serial->text(), QStringLiteral("S-2"));
    EXPECT_FALSE(window->info()->DataChanged());
    EXPECT_EQ(window->info()->Mode(), FormMode::Edit);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Edit Gadget - %1").arg(id));

    Prompts().clear();
    window->name->setValue(QStringLiteral("Camera 3"));
    window->info()->setDataChanged(true);
    EXPECT_TRUE(window->info()->SaveData(true));
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_EQ(gadget(id), QStringList({ QStringLiteral("Camera 3"), QStringLiteral("S-2") }));
}

TEST_P(ConcurrentSave, TwoWindowsOfOneUserOnOneRecordAreTwoUsers)
{
    const int id = insertGadget(QStringLiteral("Scale"), QStringLiteral("W-1"));
    frmGadget* first = openRecord(id);
    frmGadget* second = openRecord(id, QStringLiteral("frmGadgetTwin"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second);

    first->serial->setValue(QStringLiteral("W-2"));
    first->info()->setDataChanged(true);
    ASSERT_TRUE(first->info()->SaveData(true));
    Prompts().clear();
    second->name->setValue(QStringLiteral("Scales"));
    second->info()->setDataChanged(true);
    EXPECT_FALSE(second->info()->SaveData(true));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, changedText(id));
    EXPECT_EQ(gadget(id), QStringList({ QStringLiteral("Scale"), QStringLiteral("W-2") }));
}

TEST_P(ConcurrentSave, TheWindowsOwnSavesRenewWhatItComparesWith)
{
    frmGadget* window
        = dynamic_cast<frmGadget*>(OpenFormWithParams(QStringLiteral("frmGadget"), 0, { QStringLiteral("Mode"), 1 }));
    ASSERT_NE(window, nullptr);
    window->name->setValue(QStringLiteral("Lamp"));
    ASSERT_TRUE(window->info()->SaveData(true));
    const int id = window->info()->zID()->Value();
    // Save after save, each over the one before it, and a change of letter case alone.
    for (const QString& name : { QStringLiteral("Lamp 2"), QStringLiteral("Lamp 3"), QStringLiteral("LAMP 3") }) {
        window->name->setValue(name);
        window->info()->setDataChanged(true);
        EXPECT_TRUE(window->info()->SaveData(true)) << qPrintable(name);
        EXPECT_EQ(gadget(id).value(0), name);
    }
    // What the row holds after the save is what the next one compares with, not what the window
    // sent (its blanks are trimmed on the way).
    window->serial->setValue(QStringLiteral("  padded  "));
    window->info()->setDataChanged(true);
    EXPECT_TRUE(window->info()->SaveData(true));
    otherWrites(QStringLiteral("UPDATE Gadgets SET Serial = 'padded ' WHERE Gadget_ID = ?"), { id });
    window->name->setValue(QStringLiteral("Lamp 4"));
    window->info()->setDataChanged(true);
    EXPECT_FALSE(window->info()->SaveData(true)) << "a blank more or less is a change too";
    EXPECT_TRUE(Prompts().boxes.size() == 1u && Prompts().boxes[0].text == changedText(id));
    EXPECT_EQ(gadget(id), QStringList({ QStringLiteral("LAMP 3"), QStringLiteral("padded ") }));
}

// Every kind of stored value compares as stored: loading and saving an unchanged row of each
// kind finds no change, and another user's smallest change of any one column is found.
TEST_P(ConcurrentSave, EveryKindOfValueComparesExactly)
{
    const Engine engine = GetParam();
    m_other->executeStatement(
        QStringLiteral(
            "CREATE TABLE Ledgers (Ledger_ID %1, Title %2, Amount %3, Rate %4, Opened %5, Stamp %6, Note %7)")
            .arg(SchemaToken(engine, QStringLiteral("{ID}")), SchemaToken(engine, QStringLiteral("{NAME}")),
                SchemaToken(engine, QStringLiteral("{MONEY}")),
                engine == Engine::PostgreSQL ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL"),
                SchemaToken(engine, QStringLiteral("{DATE}")), SchemaToken(engine, QStringLiteral("{DATETIME}")),
                SchemaToken(engine, QStringLiteral("{TEXT}"))));
    m_other->executeStatement(
        QStringLiteral("INSERT INTO DB_Tables (DB_Table_Name, DB_Table_Good_Name, DB_Record_Good_Name, "
                       "DB_ID_Field, DB_Default_Permission) VALUES ('Ledgers', 'Ledgers', 'Ledger', 'Ledger_ID', 1)"));
    struct Case {
        const char* what;
        const char* start; // the row's values before the window loads it
        const char* change; // the other user's SET list, or nothing
        bool sqliteOnly = false; // a value only the embedded engine stores
    };
    const Case cases[] = {
        { "no change, values", "'Ledger', 12.3456, 0.1, '2024-03-05', '2024-03-05 14:07:09.123', 'It''s here'",
            nullptr },
        { "no change, NULLs", "'Ledger', NULL, NULL, NULL, NULL, NULL", nullptr },
        { "no change, a third", "'Ledger', 0.3333, 0.3333333333333333, '2024-03-05', '2024-03-05 00:00:00', 'x'",
            nullptr },
        { "letter case of a case-insensitive name", "'Ledger', 1, 1, NULL, NULL, NULL", "Title = 'LEDGER'" },
        { "money by the smallest unit", "'Ledger', 12.3456, 0.1, NULL, NULL, NULL", "Amount = 12.3457" },
        { "a real number in its last digits", "'Ledger', 1, 0.1, NULL, NULL, NULL", "Rate = 0.1000001" },
        { "a date", "'Ledger', 1, 1, '2024-03-05', NULL, NULL", "Opened = '2024-03-06'" },
        { "a time by a millisecond", "'Ledger', 1, 1, NULL, '2024-03-05 14:07:09.123', NULL",
            "Stamp = '2024-03-05 14:07:09.124'" },
        { "NULL to a value", "'Ledger', NULL, NULL, NULL, NULL, NULL", "Amount = 0" },
        { "a value to NULL", "'Ledger', 1, 1, '2024-03-05', NULL, NULL", "Opened = NULL" },
        // Texts another program stored, which no literal of the program can write back.
        { "no change, a text with a NUL", "CAST(x'4C6564006765' AS TEXT), 1, 1, NULL, NULL, NULL", nullptr, true },
        { "no change, a text that is not UTF-8", "CAST(x'4C6564FF6765' AS TEXT), 1, 1, NULL, NULL, NULL", nullptr, true },
        { "no change, an empty text", "'', 1, 1, NULL, NULL, ''", nullptr },
        { "a text with a NUL, its last byte", "CAST(x'4C6564006765' AS TEXT), 1, 1, NULL, NULL, NULL",
            "Title = CAST(x'4C6564006766' AS TEXT)", true },
        { "a text that is not UTF-8, its bad byte", "CAST(x'4C6564FF6765' AS TEXT), 1, 1, NULL, NULL, NULL",
            "Title = CAST(x'4C6564FE6765' AS TEXT)", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.sqliteOnly && engine != Engine::SQLite)
            continue;
        const int id = m_other
                           ->executeStatement(QStringLiteral(
                               "INSERT INTO Ledgers (Title, Amount, Rate, Opened, Stamp, Note) VALUES (%1) "
                               "RETURNING Ledger_ID")
                                                  .arg(QString::fromLatin1(c.start)))
                           .valueAt(0, 0)
                           .toInt();
        auto* window = dynamic_cast<frmLedger*>(OpenFormWithParams(
            QStringLiteral("frmLedger"), id, { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), id }));
        ASSERT_NE(window, nullptr);
        if (c.change)
            otherWrites(
                QStringLiteral("UPDATE Ledgers SET %1 WHERE Ledger_ID = ?").arg(QString::fromLatin1(c.change)), { id });
        Prompts().clear();
        window->field(QStringLiteral("Note"))->setValue(QStringLiteral("saved by the window"));
        window->info()->setDataChanged(true);
        EXPECT_EQ(window->info()->SaveData(true), c.change == nullptr);
        ASSERT_EQ(Prompts().boxes.size(), c.change ? 1u : 0u);
        if (c.change) {
            EXPECT_TRUE(
                Prompts().boxes[0].text.startsWith(QStringLiteral("Ledger <%1> was changed by another user").arg(id)))
                << qPrintable(Prompts().boxes[0].text);
        }
        const QVariant note
            = m_other->executeStatement(QStringLiteral("SELECT Note FROM Ledgers WHERE Ledger_ID = ?"), { id })
                  .valueAt(0, 0);
        EXPECT_EQ(note.toString() == QStringLiteral("saved by the window"), c.change == nullptr);
        if (c.sqliteOnly && !c.change) {
            // The stored bytes are as they were: nothing of the window's reading went back.
            EXPECT_EQ(m_other->executeStatement(QStringLiteral("SELECT hex(Title) FROM Ledgers WHERE Ledger_ID = ?"), { id })
                          .valueAt(0, 0)
                          .toString(),
                QString::fromLatin1(c.start).mid(7, 12));
            // A second save compares with the row as the first one left it.
            window->field(QStringLiteral("Note"))->setValue(QStringLiteral("saved again"));
            window->info()->setDataChanged(true);
            Prompts().clear();
            EXPECT_TRUE(window->info()->SaveData(true));
            EXPECT_TRUE(Prompts().boxes.empty());
        }
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

TEST_P(ConcurrentSave, ASaveAfterTheServerEndedTheSessionReconnectsAndStillCompares)
{
    if (GetParam() != Engine::PostgreSQL)
        GTEST_SKIP() << "an embedded database has no server session to lose";
    struct Case {
        const char* what;
        const char* foundBy; // the start of the save's command that finds the session gone
        bool otherWrites;
    };
    const Case cases[] = {
        { "found by the first check, nobody else wrote", "EXEC usp_DB_Get_DB_Table_Permission", false },
        { "found by the first check, another user wrote", "EXEC usp_DB_Get_DB_Table_Permission", true },
        { "found by the update, nobody else wrote", "UPDATE Gadgets", false },
        { "found by the update, another user wrote", "UPDATE Gadgets", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int id = insertGadget(QStringLiteral("Clock"), QStringLiteral("C-1"));
        frmGadget* window = openRecord(id);
        ASSERT_NE(window, nullptr);
        const QVariant pid = GetSQLValue(QStringLiteral("SELECT pg_backend_pid()")).value_or(QVariant());
        ASSERT_FALSE(pid.isNull());
        // The session ends (and the other user writes) just before that command reaches the server.
        bool ended = false;
        SetCommandObserver([&](const QString& sql) {
            if (ended || !sql.startsWith(QLatin1String(c.foundBy)))
                return;
            ended = true;
            if (c.otherWrites)
                otherWrites(QStringLiteral("UPDATE Gadgets SET Serial = 'C-2' WHERE Gadget_ID = ?"), { id });
            m_other->executeStatement(
                QStringLiteral("SELECT pg_terminate_backend(CAST(? AS INTEGER), 10000)"), { pid });
        });
        Prompts().clear();
        Prompts().answer(MsgBox::No);
        window->name->setValue(QStringLiteral("Clock 2"));
        window->info()->setDataChanged(true);
        const bool saved = window->info()->SaveData(true);
        SetCommandObserver(nullptr);
        EXPECT_TRUE(ended);
        EXPECT_NE(GetSQLValue(QStringLiteral("SELECT pg_backend_pid()")).value_or(QVariant()), pid) << "a new session";
        EXPECT_EQ(saved, !c.otherWrites);
        if (c.otherWrites) {
            ASSERT_EQ(Prompts().boxes.size(), 1u);
            EXPECT_EQ(Prompts().boxes[0].text, changedText(id));
            EXPECT_EQ(gadget(id), QStringList({ QStringLiteral("Clock"), QStringLiteral("C-2") }));
        } else {
            EXPECT_TRUE(Prompts().boxes.empty())
                << qPrintable(Prompts().boxes.empty() ? QString() : Prompts().boxes[0].text);
            EXPECT_EQ(gadget(id), QStringList({ QStringLiteral("Clock 2"), QStringLiteral("C-1") }));
        }
        window->info()->setDataChanged(false);
        UnloadWindow(window);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ConcurrentSave, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
