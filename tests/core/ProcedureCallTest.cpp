// Catalogue procedures called with named, typed values: the values arrive as given (never through
// a text that is parsed back), every kind of value converts to the declared parameter type, and an
// unknown procedure or parameter is refused with the same message an EXEC text gets.

#include "core/AppError.h"
#include "core/Connection.h"
#include "core/Database.h"
#include "core/ProcedureCall.h"
#include "core/ProcedureCatalogue.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

namespace {

const QString kProcedure = QStringLiteral("usp_Test_Typed_Values");

class ProcedureCalls : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("CREATE TABLE Typed_Values (T VARCHAR(80), I INTEGER, "
                                                  "N DOUBLE PRECISION, D DATE, DT TIMESTAMP, B SMALLINT)")));
        ProcedureCatalogue::instance().registerProcedure(ProcedureCatalogue::parse(kProcedure,
            QStringLiteral("-- @param T text\n-- @param I integer\n-- @param N number\n-- @param D date\n"
                           "-- @param DT datetime\n-- @param B bit\n"
                           "DELETE FROM Typed_Values;\n"
                           "INSERT INTO Typed_Values (T, I, N, D, DT, B) VALUES (:T, :I, :N, :D, :DT, :B);\n"
                           "SELECT T AS \"T\", I AS \"I\", N AS \"N\", D AS \"D\", DT AS \"DT\", B AS \"B\" "
                           "FROM Typed_Values\n"),
            QString(), QString()));
    }

    // The stored row, every column as text (NULL as "NULL", Booleans 0/1).
    QStringList stored(const ProcedureArguments& arguments)
    {
        std::unique_ptr<Recordset> row = CallProcedure(kProcedure, arguments);
        if (!row || row->recordCount() != 1)
            return { QStringLiteral("no row") };
        QStringList texts;
        for (int column = 0; column < row->fieldCount(); ++column) {
            const QVariant value = row->valueAt(0, column);
            if (value.isNull())
                texts << QStringLiteral("NULL");
            else if (value.typeId() == QMetaType::QDateTime)
                texts << value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            else if (value.typeId() == QMetaType::Bool) // a bit column, as PostgreSQL's smallint reads
                texts << (value.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
            else if (value.typeId() == QMetaType::QDate)
                texts << value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
            else
                texts << value.toString();
        }
        return texts;
    }
};

TEST_P(ProcedureCalls, EveryKindOfValueArrivesAsGiven)
{
    const QDateTime moment(QDate(2026, 4, 3), QTime(14, 5, 37));
    const struct {
        const char* what;
        ProcedureArguments arguments;
        QStringList row;
    } cases[] = {
        { "values of the parameters' own kinds",
            { { "T", QStringLiteral("O'Brien's \"shelf\"; DROP TABLE Typed_Values; --") }, { "I", 7 }, { "N", 2.5 },
                { "D", QDate(2026, 4, 3) }, { "DT", moment }, { "B", true } },
            { QStringLiteral("O'Brien's \"shelf\"; DROP TABLE Typed_Values; --"), QStringLiteral("7"),
                QStringLiteral("2.5"), QStringLiteral("2026-04-03"), QStringLiteral("2026-04-03 14:05:37"),
                QStringLiteral("1") } },
        { "NULL for every kind, and omitted parameters are NULL too",
            { { "T", QVariant() }, { "I", QVariant() }, { "N", QVariant() }, { "D", QVariant() } },
            { QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("NULL"),
                QStringLiteral("NULL"), QStringLiteral("NULL") } },
        { "values converted to the declared types, names in any case",
            { { "t", moment }, { "I", Q_INT64_C(2147483647) }, { "n", 3 }, { "D", moment }, { "dt", QDate(2024, 2, 29) },
                { "B", 0 } },
            { QStringLiteral("2026-04-03 14:05:37"), QStringLiteral("2147483647"), QStringLiteral("3"),
                QStringLiteral("2026-04-03"), QStringLiteral("2024-02-29 00:00:00"), QStringLiteral("0") } },
        { "a Boolean and a decimal number for text",
            { { "T", false }, { "N", -0.125 }, { "B", false } },
            { QStringLiteral("0"), QStringLiteral("NULL"), QStringLiteral("-0.125"), QStringLiteral("NULL"),
                QStringLiteral("NULL"), QStringLiteral("0") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(stored(c.arguments), c.row);
    }
    // A decimal number for text is its own literal.
    EXPECT_EQ(stored({ { "T", -0.125 } }).at(0), QStringLiteral("-0.125"));
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_P(ProcedureCalls, UnknownProceduresAndParametersAreRefusedAsAnExecTextIs)
{
    const struct {
        QString procedure;
        ProcedureArguments arguments;
        QString message;
    } cases[] = {
        { QStringLiteral("usp_Nowhere"), { { "A", 1 } }, QStringLiteral("Could not find stored procedure 'usp_Nowhere'.") },
        { kProcedure, { { "Missing", 1 } }, QStringLiteral("@Missing is not a parameter for procedure %1.").arg(kProcedure) },
        { kProcedure, { { "I", 1 }, { "i", 2 } }, QStringLiteral("Parameter '@i' was supplied multiple times.") },
        { kProcedure, { { "I", QStringLiteral("seven") } },
            QStringLiteral("Conversion failed when converting the varchar value 'seven' to data type int.") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        // The connection's own refusal, and the same message through the program's routine.
        try {
            DBConnection()->call(c.procedure, c.arguments);
            ADD_FAILURE() << "not refused";
        } catch (const AppError& error) {
            EXPECT_EQ(error.description(), c.message);
        }
        Prompts().clear();
        EXPECT_FALSE(Act_CallProcedureTrans(c.procedure, c.arguments));
        ASSERT_EQ(Prompts().boxes.size(), 1u);
        EXPECT_TRUE(Prompts().boxes[0].text.endsWith(QStringLiteral("\r\n\r\n") + c.message))
            << Prompts().boxes[0].text.toStdString();
    }
    EXPECT_EQ(GetSQLValue(QStringLiteral("SELECT COUNT(*) FROM Typed_Values")).value_or(-1).toInt(), 0);
}

TEST_P(ProcedureCalls, TheObserverAndTheErrorDialogSeeTheCallAsItsText)
{
    QStringList sent;
    SetCommandObserver([&sent](const QString& sql) { sent << sql; });
    const std::optional<QVariant> value = GetProcedureValue(kProcedure, { { "T", QStringLiteral("  it's  ") }, { "I", 4 } });
    SetCommandObserver(nullptr);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->toString(), QStringLiteral("it's")) << "the first column, trimmed as GetSQLValue trims";
    EXPECT_EQ(sent, QStringList { QStringLiteral("EXEC usp_Test_Typed_Values @T = '  it''s  ', @I = 4") });
    EXPECT_EQ(stored({ { "T", QStringLiteral("  it's  ") } }).at(0), QStringLiteral("  it's  ")) << "bound as given";
}

TEST(ProcedureCallText, ShowsEveryKindOfValueAsALiteral)
{
    EXPECT_EQ(ProcedureCallText(QStringLiteral("usp_X"), {}), QStringLiteral("EXEC usp_X"));
    EXPECT_EQ(ProcedureCallText(QStringLiteral("usp_X"),
                  { { "A", 7 }, { "B", QStringLiteral("O'Brien") }, { "C", QVariant() }, { "D", QDate(2026, 4, 3) },
                      { "E", QDateTime(QDate(2026, 4, 3), QTime(14, 5)) }, { "F", true }, { "G", 2.5 },
                      { "Password", QStringLiteral("secret") } }),
        QStringLiteral("EXEC usp_X @A = 7, @B = 'O''Brien', @C = NULL, @D = '2026-04-03', "
                       "@E = '2026-04-03 14:05:00', @F = 1, @G = 2.5, @Password = 'secret'"));
}

INSTANTIATE_TEST_SUITE_P(Engines, ProcedureCalls, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
