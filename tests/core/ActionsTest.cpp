#include "core/Actions.h"
#include "core/AppError.h"
#include "core/Platform.h"
#include "support/PromptRecorder.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string text(const QString& s) { return s.toStdString(); }

class ActionsTest : public testing::Test {
protected:
    void SetUp() override
    {
        Prompts().clear();
        ClearPendingError();
        LastError = {};
        while (BusyPointerDepth() > 0)
            PointerDefault();
        Platform::pointer().set(PointerShape::Arrow);
        ASSERT_TRUE(ActionStack().empty());
    }

    void TearDown() override
    {
        // Every path through an action leaves no stack entry and no open busy bracket behind.
        EXPECT_TRUE(ActionStack().empty());
        EXPECT_EQ(BusyPointerDepth(), 0);
        ClearPendingError();
    }

    // Runs a body as an action with the given description.
    static bool act(const QString& description, const std::function<void()>& body)
    {
        ActionScope action(QStringLiteral("modTest"), QStringLiteral("Act_Test"), description);
        return action.run(body);
    }

    static void failWith(const QString& description)
    {
        throw AppError(ErrToReport, description, QStringLiteral("Bramblecot_Main"));
    }

    static std::string shown() { return text(Prompts().boxes.at(0).text); }
};

// A failure at the innermost of several levels: each enclosing level answers the false result with
// RaiseSilent, the user reads one message naming the outermost action, and every level fails.
class NestedFailureTest : public ActionsTest, public testing::WithParamInterface<int> { };

TEST_P(NestedFailureTest, OneMessageWithOutermostDescriptionAndInnerText)
{
    const int depth = GetParam();
    std::vector<bool> results(static_cast<size_t>(depth), true);
    std::function<bool(int)> runLevel = [&](int level) {
        const bool ok = act(QStringLiteral("Level %1").arg(level), [&] {
            if (level == depth)
                failWith(QStringLiteral("Recordset is closed"));
            else if (!runLevel(level + 1))
                RaiseSilent();
        });
        results[static_cast<size_t>(level - 1)] = ok;
        return ok;
    };
    runLevel(1);

    for (int level = 1; level <= depth; ++level)
        EXPECT_FALSE(results[static_cast<size_t>(level - 1)]) << "level " << level;
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(shown(), "Unable to Level 1\r\n\r\nRecordset is closed");
    EXPECT_EQ(Prompts().boxes[0].style, MsgBox::Exclamation);
    EXPECT_EQ(Prompts().boxes[0].title, QStringLiteral("Error"));
    EXPECT_EQ(LastError.Number, ErrToReport);
    EXPECT_FALSE(PendingError().has_value());
}

INSTANTIATE_TEST_SUITE_P(Actions, NestedFailureTest, testing::Values(1, 2, 3),
    [](const testing::TestParamInfo<int>& caseInfo) { return "Depth" + std::to_string(caseInfo.param); });

TEST_F(ActionsTest, SilentFailureIsConsumedWithoutMessageAndWithoutTouchingLastError)
{
    LastError = { 77, QStringLiteral("recorded earlier") };
    SetPendingError(AppError(ErrSilent, QStringLiteral("Silent error")));
    Act_CaptureError();
    EXPECT_FALSE(PendingError().has_value());
    EXPECT_EQ(LastError.Number, 77);
    EXPECT_EQ(text(LastError.Description), "recorded earlier");

    // Through the idiom: the level that raised ErrSilent neither shows nor overwrites the failure.
    const int outer = Act_Begin(QStringLiteral("modTest"), QStringLiteral("Act_Outer"), QStringLiteral("Outer"));
    const bool middle = act(QStringLiteral("Middle"), [] {
        if (!act(QStringLiteral("Inner"), [] { failWith(QStringLiteral("Cannot find Settings file")); }))
            RaiseSilent();
    });
    EXPECT_FALSE(middle);
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_EQ(LastError.Number, ErrToReport);
    EXPECT_EQ(text(LastError.Description), "Cannot find Settings file");
    EXPECT_FALSE(Act_End(outer));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(shown(), "Unable to Outer\r\n\r\nCannot find Settings file");
}

struct ThrownCase {
    const char* name;
    std::function<void()> body;
    const char* shownText;
};

void PrintTo(const ThrownCase& c, std::ostream* os) { *os << c.name; }

class ThrownFailureTest : public ActionsTest, public testing::WithParamInterface<ThrownCase> { };

// The error text is shown exactly as raised: no prefix stripping, whatever was thrown.
TEST_P(ThrownFailureTest, ShowsTheTextAsRaised)
{
    EXPECT_FALSE(act(QStringLiteral("Open Recordset"), GetParam().body));
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(shown(), std::string("Unable to Open Recordset\r\n\r\n") + GetParam().shownText);
}

INSTANTIATE_TEST_SUITE_P(Actions, ThrownFailureTest,
    testing::Values(
        ThrownCase { "ErrToReport", [] { RaiseToReport(QStringLiteral("Cannot find Setting <Photo_Path>")); },
            "Cannot find Setting <Photo_Path>" },
        ThrownCase { "ProviderText",
            [] {
                throw AppError(ErrProviderCommand, QStringLiteral("[Engine][Driver] no such column: Foo"),
                    QStringLiteral("Engine"));
            },
            "[Engine][Driver] no such column: Foo" },
        ThrownCase { "StdException", [] { throw std::runtime_error("disk full"); }, "disk full" }),
    [](const testing::TestParamInfo<ThrownCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(ActionsTest, IgnoredInnerFailureStillFailsAndIsShownByTheOutermost)
{
    bool inner = true;
    const bool outer = act(QStringLiteral("Save Item"),
        [&] { inner = act(QStringLiteral("Check Item"), [] { failWith(QStringLiteral("Item is checked out")); }); });
    EXPECT_FALSE(inner);
    EXPECT_FALSE(outer);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(shown(), "Unable to Save Item\r\n\r\nItem is checked out");
}

// The literal rule: an ignored failure is forgotten once another action begins, because Act_Begin
// resets LastError. Only a body that itself failed keeps its result false (next test).
TEST_F(ActionsTest, IgnoredInnerFailureIsForgottenWhenALaterActionBegins)
{
    const bool outer = act(QStringLiteral("Save Item"), [] {
        act(QStringLiteral("Check Item"), [] { failWith(QStringLiteral("Item is checked out")); });
        EXPECT_TRUE(act(QStringLiteral("Refresh"), [] {}));
    });
    EXPECT_TRUE(outer);
    EXPECT_TRUE(Prompts().boxes.empty());
    EXPECT_EQ(LastError.Number, 0);
}

TEST_F(ActionsTest, FailedBodyStaysFalseAfterALaterActionResetLastError)
{
    bool middle = true;
    const bool outer = act(QStringLiteral("Delete Box"), [&] {
        middle = act(QStringLiteral("Delete Contents"), [] {
            const bool removed
                = act(QStringLiteral("Remove Item"), [] { failWith(QStringLiteral("Item is on loan")); });
            // The clean-up action runs before the failure is passed on, and resets LastError.
            act(QStringLiteral("Refresh"), [] {});
            if (!removed)
                RaiseSilent();
        });
        if (!middle)
            RaiseSilent();
    });
    EXPECT_FALSE(middle);
    EXPECT_FALSE(outer);
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(shown(), "Unable to Delete Box\r\n\r\nItem is on loan");
}

TEST_F(ActionsTest, ActBeginResetsTheNumberOfAnEarlierFailure)
{
    EXPECT_FALSE(act(QStringLiteral("First"), [] { failWith(QStringLiteral("first failure")); }));
    Prompts().clear();
    EXPECT_TRUE(act(QStringLiteral("Second"), [] {}));
    EXPECT_TRUE(Prompts().boxes.empty());
}

TEST_F(ActionsTest, SetDescriptionReplacesOnlyTheActionsOwnEntry)
{
    {
        ActionScope outer(QStringLiteral("modTest"), QStringLiteral("Act_Delete"), QStringLiteral("Delete"));
        outer.setDescription(QStringLiteral("Delete Box <B-17>"));
        EXPECT_EQ(text(ActionAt(outer.level())->Description), "Delete Box <B-17>");
        const bool ok = outer.run([] {
            ActionScope inner(QStringLiteral("modTest"), QStringLiteral("Act_DeleteByID"), QStringLiteral("Delete"));
            inner.setDescription(QStringLiteral("Delete Item <I-4>"));
            EXPECT_EQ(text(ActionAt(1)->Description), "Delete Box <B-17>");
            EXPECT_EQ(text(ActionAt(2)->Description), "Delete Item <I-4>");
            if (!inner.run([] { failWith(QStringLiteral("Item is on loan")); }))
                RaiseSilent();
        });
        EXPECT_FALSE(ok);
    }
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(shown(), "Unable to Delete Box <B-17>\r\n\r\nItem is on loan");
}

TEST_F(ActionsTest, BusyPointerFollowsTheNestingAndIsRestoredOnEveryPath)
{
    act(QStringLiteral("Outer"), [] {
        EXPECT_EQ(BusyPointerDepth(), 1);
        EXPECT_EQ(Platform::pointer().current(), PointerShape::Busy);
        act(QStringLiteral("Inner"), [] {
            EXPECT_EQ(BusyPointerDepth(), 2);
            failWith(QStringLiteral("broken"));
        });
        // The inner action ended, but the outer one still runs: the hourglass stays.
        EXPECT_EQ(BusyPointerDepth(), 1);
        EXPECT_EQ(Platform::pointer().current(), PointerShape::Busy);
        throw std::runtime_error("outer broken too");
    });
    EXPECT_EQ(BusyPointerDepth(), 0);
    EXPECT_EQ(Platform::pointer().current(), PointerShape::Arrow);
    EXPECT_TRUE(ActionStack().empty());
}

TEST_F(ActionsTest, ScopeLeftByAnEscapingExceptionStillEndsItsAction)
{
    EXPECT_THROW(
        {
            ActionScope action(QStringLiteral("modTest"), QStringLiteral("Act_Test"), QStringLiteral("Escape"));
            EXPECT_EQ(BusyPointerDepth(), 1);
            throw std::runtime_error("escapes");
        },
        std::runtime_error);
    EXPECT_TRUE(ActionStack().empty());
    EXPECT_EQ(BusyPointerDepth(), 0);
    EXPECT_EQ(Platform::pointer().current(), PointerShape::Arrow);
}

TEST_F(ActionsTest, PointerDefaultWithoutBusyNeverGoesBelowZero)
{
    PointerDefault();
    PointerDefault();
    EXPECT_EQ(BusyPointerDepth(), 0);
    EXPECT_EQ(Platform::pointer().current(), PointerShape::Arrow);
    // An unmatched close must not swallow the next bracket.
    PointerBusy();
    EXPECT_EQ(BusyPointerDepth(), 1);
    EXPECT_EQ(Platform::pointer().current(), PointerShape::Busy);
    PointerDefault();
    EXPECT_EQ(Platform::pointer().current(), PointerShape::Arrow);
}

} // namespace
