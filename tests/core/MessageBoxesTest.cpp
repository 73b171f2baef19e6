#include "core/MessageBoxes.h"
#include "core/Actions.h"
#include "core/Platform.h"
#include "support/PromptRecorder.h"
#include "support/ShownTexts.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string text(const QString& s) { return s.toStdString(); }

// Records every pointer change together with the number of boxes shown by then, so a test can
// tell the pointer during a box from the pointer after it.
class RecordingPointer final : public PointerControl {
public:
    PointerShape current() const override { return m_shape; }
    void set(PointerShape shape) override
    {
        m_shape = shape;
        changes.emplace_back(shape, Prompts().boxes.size());
    }
    std::vector<std::pair<PointerShape, size_t>> changes;

private:
    PointerShape m_shape = PointerShape::Arrow;
};

class MessageBoxesTest : public testing::Test {
protected:
    void SetUp() override
    {
        Prompts().clear();
        auto pointer = std::make_unique<RecordingPointer>();
        m_pointer = pointer.get();
        Platform::setPointer(std::move(pointer));
    }
    void TearDown() override { Platform::setPointer(nullptr); }
    RecordingPointer* m_pointer = nullptr;
};

struct BoxCase {
    const char* name;
    std::function<int()> show;
    const char* text;
    int style;
    const char* title;
    bool returnsAnswer;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class BoxStyleTest : public MessageBoxesTest, public testing::WithParamInterface<BoxCase> { };

TEST_P(BoxStyleTest, ShowsTextStyleAndTitle)
{
    // An answer the box's default would never give, to see that it is passed back unchanged.
    Prompts().answer(MsgBox::Cancel);
    const int answer = GetParam().show();
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(text(Prompts().boxes[0].text), GetParam().text);
    EXPECT_EQ(Prompts().boxes[0].style, GetParam().style);
    EXPECT_EQ(text(Prompts().boxes[0].title), GetParam().title);
    if (GetParam().returnsAnswer) {
        EXPECT_EQ(answer, MsgBox::Cancel);
    }
}

const QString Object = QStringLiteral("Item <I-2024-0042>");

INSTANTIATE_TEST_SUITE_P(MessageBoxes, BoxStyleTest,
    testing::Values(
        // A delete defaults to No, so Enter at once deletes nothing; a save defaults to Yes.
        BoxCase { "ConfirmDelete", [] { return ConfirmDelete(Object); },
            "Are you sure you want to delete Item <I-2024-0042>?", 291, "Delete Confirmation", true },
        BoxCase { "ConfirmSaveChanges", [] { return ConfirmSaveChanges(Object); },
            "Do you to want save the changes you made to the Item <I-2024-0042>?", 35, "Save Changes?", true },
        BoxCase { "ShowValidationMessage",
            [] {
                ShowValidationMessage(QStringLiteral("Name is required"));
                return 0;
            },
            "Name is required", 48, "Fields Validation", false },
        BoxCase { "ConfirmProceed", [] { return ConfirmProceed(QStringLiteral("Release 3 items?")); },
            "Release 3 items?", 291, "Proceed?", true },
        BoxCase { "AskQuestion", [] { return AskQuestion(QStringLiteral("Print labels?"), QStringLiteral("Labels")); },
            "Print labels?", 35, "Labels", true },
        BoxCase { "AskQuestionNoDefault",
            [] {
                return AskQuestion(QStringLiteral("Print labels?"), QStringLiteral("Labels"), MsgBox::DefaultButton2);
            },
            "Print labels?", 291, "Labels", true },
        BoxCase { "ShowErrorMessage",
            [] {
                ShowErrorMessage(QStringLiteral("Unable to Save\r\n\r\nboom"));
                return 0;
            },
            "Unable to Save\r\n\r\nboom", 48, "Error", false },
        BoxCase { "ShowInfoMessage",
            [] {
                ShowInfoMessage(QStringLiteral("Done"));
                return 0;
            },
            "Done", 64, "Bramblecot_Main", false }),
    [](const testing::TestParamInfo<BoxCase>& caseInfo) { return std::string(caseInfo.param.name); });

class BoxPointerTest : public MessageBoxesTest, public testing::WithParamInterface<PointerShape> { };

TEST_P(BoxPointerTest, ArrowDuringTheBoxThenThePointerBefore)
{
    const PointerShape before = GetParam();
    if (before == PointerShape::Busy)
        PointerBusy();
    const int depth = BusyPointerDepth();
    m_pointer->changes.clear();

    ConfirmSaveChanges(QStringLiteral("Item"));

    using Change = std::pair<PointerShape, size_t>;
    EXPECT_EQ(m_pointer->changes, (std::vector<Change> { { PointerShape::Arrow, 0u }, { before, 1u } }));
    EXPECT_EQ(m_pointer->current(), before);
    // The busy count belongs to the actions: a box neither reads nor changes it.
    EXPECT_EQ(BusyPointerDepth(), depth);
    if (before == PointerShape::Busy)
        PointerDefault();
}

INSTANTIATE_TEST_SUITE_P(MessageBoxes, BoxPointerTest, testing::Values(PointerShape::Arrow, PointerShape::Busy),
    [](const testing::TestParamInfo<PointerShape>& caseInfo) {
        return std::string(caseInfo.param == PointerShape::Busy ? "Busy" : "Arrow");
    });

// The failure message of an action is shown while the hourglass is still up: the user gets the
// arrow for the box, and the arrow stays once the action has ended.
TEST_F(MessageBoxesTest, ActionFailureBoxGetsTheArrowAndTheActionEndsWithIt)
{
    ActionScope action(QStringLiteral("modTest"), QStringLiteral("Act_Test"), QStringLiteral("Save"));
    action.run([] { RaiseToReport(QStringLiteral("boom")); });

    ASSERT_EQ(Prompts().boxes.size(), 1u);
    using Change = std::pair<PointerShape, size_t>;
    EXPECT_EQ(m_pointer->changes,
        (std::vector<Change> { { PointerShape::Busy, 0u }, { PointerShape::Arrow, 0u }, { PointerShape::Busy, 1u },
            { PointerShape::Arrow, 1u } }));
    EXPECT_EQ(BusyPointerDepth(), 0);
}

// The desktop's box shows its text as written: record names in angle brackets and what users
// typed are never read as markup, so nothing is cut from or added to the sentence.
TEST(DesktopMessageBox, ShowsItsTextAsPlainText)
{
    const std::unique_ptr<Prompt> desktop = Platform::makeDesktopPrompt();
    const QString texts[] = {
        QStringLiteral("You are not permitted to View <Table Permission>\r\n\r\nUser Name: clerk"),
        QStringLiteral("Item with Item Number <I-1> already exists in the database."),
        QStringLiteral("Cannot find Person <<b>Mary</b> Major>.\r\n\r\nWould you like to add it to the database?"),
        QStringLiteral("<img src=\"x.png\"> <a href=\"http://example.invalid\">click</a>"),
        QStringLiteral("1 < 2 > 0"),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        QString shown = QStringLiteral("<no box>");
        WhenDialogShown([&shown](QDialog* box) {
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                shown = ShownText(label);
        });
        desktop->messageBox(text, MsgBox::OKOnly | MsgBox::Exclamation, QStringLiteral("Permission"));
        EXPECT_EQ(shown, text);
    }
}

// A short message under a long title: the box is at least as wide as its title with the frame's
// icon and buttons beside it, so the frame shows the title whole rather than cutting it.
TEST(DesktopMessageBox, IsAtLeastAsWideAsItsTitle)
{
    const std::unique_ptr<Prompt> desktop = Platform::makeDesktopPrompt();
    const struct {
        const char* text;
        const char* title;
    } cases[] = {
        { "Bad.", "Fields Validation" },
        { "No.", "The records of this window are locked by another session" },
        { "Do you to want save the changes you made to the Item <1>?", "Save Changes?" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const QString title = QString::fromLatin1(c.title);
        int width = -1;
        int needs = 0;
        WhenDialogShown([&](QDialog* box) {
            width = box->width();
            // The title in the title bar's font, beside the frame's icon and its three buttons,
            // each as wide as the bar is high.
            needs = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(title)
                + 4 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, box);
        });
        desktop->messageBox(QString::fromLatin1(c.text), MsgBox::OKOnly | MsgBox::Exclamation, title);
        EXPECT_GE(width, needs);
        EXPECT_GT(needs, 0);
    }
}

} // namespace
