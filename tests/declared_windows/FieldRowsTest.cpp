// Fields declared for a window that is no record or search window: each is made with its declared
// properties, captioned (the caption the field's buddy, bold while required) and laid out in its row
// with what is declared beside it.

#include "declared_windows/FieldRows.h"
#include "core/AppError.h"
#include "declared_windows/DeclaredControl.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zDate.h"
#include "form_framework/zLabel.h"
#include "form_framework/zMemo.h"
#include "list_controls/zComboBoxText.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// The row of the layout that holds the widget, and the row's stretch.
std::pair<int, int> rowOf(QVBoxLayout* rows, QWidget* widget)
{
    for (int index = 0; index < rows->count(); ++index) {
        auto* row = qobject_cast<QBoxLayout*>(rows->itemAt(index)->layout());
        if (row && row->indexOf(widget) >= 0)
            return { index, rows->stretch(index) };
    }
    return { -1, -1 };
}

TEST(FieldRows, EachFieldIsMadeCaptionedAndPlacedAsDeclared)
{
    QWidget window;
    auto* rows = new QVBoxLayout(&window);
    const QDateTime floor(QDate(1950, 12, 31), QTime(0, 0));
    const QDateTime ceiling(QDate(2050, 1, 1), QTime(0, 0));
    AddDeclaredFields(&window, rows,
        { DeclaredField::picker(QStringLiteral("zcbtWho"), QStringLiteral("Who_ID"), QStringLiteral("Who"),
              QStringLiteral("EXEC usp_Who"), QStringLiteral("Whos"))
                .required()
                .generalItem()
                .labelled(QStringLiteral("Performed By:"), QStringLiteral("zlblWho")),
            DeclaredField::checkBox(QStringLiteral("zchkMe"), QString(), QStringLiteral("Me"), QStringLiteral("Me"), true)
                .notStored()
                .besideThePrevious(),
            DeclaredField::date(QStringLiteral("zdatWhen"), QStringLiteral("When"), QStringLiteral("When"))
                .format(QStringLiteral("mm/dd/yyyy"))
                .dates(floor, ceiling)
                .withButton(QStringLiteral("btnNow"), QStringLiteral("<= Now")),
            DeclaredField::memo(QStringLiteral("zmemNote"), QStringLiteral("Note"), QStringLiteral("Note")).length(200) },
        150);

    auto* who = window.findChild<zComboBoxText*>(QStringLiteral("zcbtWho"));
    auto* me = window.findChild<zCheckBox*>(QStringLiteral("zchkMe"));
    auto* when = window.findChild<zDate*>(QStringLiteral("zdatWhen"));
    auto* now = window.findChild<QPushButton*>(QStringLiteral("btnNow"));
    auto* note = window.findChild<zMemo*>(QStringLiteral("zmemNote"));
    ASSERT_TRUE(who && me && when && now && note);
    EXPECT_EQ(who->DBFieldName(), QStringLiteral("Who_ID"));
    EXPECT_EQ(who->GoodName(), QStringLiteral("Who"));
    EXPECT_TRUE(who->Required());
    EXPECT_TRUE(me->Value().toBool());
    EXPECT_FALSE(me->PartOfTheQuery());
    EXPECT_EQ(when->DataFormat(), QStringLiteral("mm/dd/yyyy"));
    EXPECT_EQ(when->Min(), floor);
    EXPECT_EQ(when->Max(), ceiling);
    EXPECT_EQ(now->text(), QStringLiteral("<= Now"));

    // Captions: named as declared or in turn, the field's buddy, bold while required.
    const struct {
        const char* name;
        QString text;
        QWidget* field;
        bool bold;
    } captions[] = {
        { "zlblWho", QStringLiteral("Performed By:"), who, true },
        { "zlabel1(1)", QStringLiteral("When:"), when, false },
        { "zlabel1(2)", QStringLiteral("Note:"), note, false },
    };
    for (const auto& c : captions) {
        SCOPED_TRACE(c.name);
        auto* caption = window.findChild<zLabel*>(QString::fromLatin1(c.name));
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->Value(), c.text);
        EXPECT_EQ(caption->label()->font().bold(), c.bold);
        EXPECT_EQ(caption->label()->buddy(), c.field);
    }
    EXPECT_GE(window.findChild<zLabel*>(QStringLiteral("zlblWho"))->minimumWidth(), 150);
    EXPECT_EQ(window.findChildren<zLabel*>().size(), 3) << "a check box has no caption of its own";

    // A field declared beside the previous one and the side buttons share their field's row; the
    // memo's row takes the height to spare.
    EXPECT_EQ(rowOf(rows, me), rowOf(rows, who));
    EXPECT_EQ(rowOf(rows, now), rowOf(rows, when));
    EXPECT_EQ(rowOf(rows, who).first, 0);
    EXPECT_EQ(rowOf(rows, when), std::make_pair(1, 0));
    EXPECT_EQ(rowOf(rows, note), std::make_pair(2, 1));
    EXPECT_EQ(rows->count(), 3);
}

// A window of fields only takes its controls through typed handles: every handle naming the window
// is checked as the fields are made, so a misspelt name or a wrong type stops the window from being
// built, naming both; a handle of another window is refused where it is used.
TEST(FieldRows, HandlesNamingTheWindowAreCheckedWhenItsFieldsAreMade)
{
    const auto build = [](QWidget& window) {
        window.setObjectName(QStringLiteral("frmFieldRowsProbe"));
        return AddDeclaredFields(&window, new QVBoxLayout(&window),
            { DeclaredField::text(QStringLiteral("ztxtWhat"), QStringLiteral("What"), QStringLiteral("What"))
                    .withButton(QStringLiteral("btnClear"), QStringLiteral("Clear")),
                DeclaredField::options(QStringLiteral("fraWhich"), QString(),
                    { { QStringLiteral("optWhich_0"), QStringLiteral("One") },
                        { QStringLiteral("optWhich_1"), QStringLiteral("Two") } }) });
    };
    {
        const DeclaredControl<zFieldBase> what { { "frmFieldRowsProbe" }, "ztxtWhat" };
        const DeclaredControl<QPushButton> clear { { "frmFieldRowsProbe" }, "btnClear" };
        const DeclaredControl<QAbstractButton> second { { "frmFieldRowsProbe" }, "optWhich_1" };
        const DeclaredControl<zLabel> caption { { "frmFieldRowsProbe" }, "zlabel1(0)" };
        QWidget window;
        const FieldRows made = build(window);
        EXPECT_EQ(what.in(made)->DBFieldName(), QStringLiteral("What"));
        EXPECT_EQ(clear.in(made)->text(), QStringLiteral("Clear"));
        EXPECT_EQ(second.in(made)->text(), QStringLiteral("Two"));
        EXPECT_EQ(caption.in(made)->Value(), QStringLiteral("What:"));

        const DeclaredControl<zFieldBase> elsewhere { { "frmOtherProbe" }, "ztxtWhat" };
        try {
            elsewhere.in(made);
            ADD_FAILURE() << "a handle of another window resolved";
        } catch (const AppError& refused) {
            EXPECT_EQ(refused.description().toStdString(),
                "The window <frmFieldRowsProbe> cannot be built: it uses the control <ztxtWhat> through a handle "
                "naming frmOtherProbe.");
        }
    }
    const struct {
        const char* control;
        const char* message;
    } wrong[] = {
        { "ztxtWhta", "The window <frmFieldRowsProbe> cannot be built: it has no control <ztxtWhta>." },
        { "btnClear",
            "The window <frmFieldRowsProbe> cannot be built: its control <btnClear> is a QPushButton, not a "
            "zFieldBase." },
    };
    for (const auto& c : wrong) {
        SCOPED_TRACE(c.control);
        const DeclaredControl<zFieldBase> handle { { "frmFieldRowsProbe" }, c.control };
        QWidget window;
        try {
            build(window);
            ADD_FAILURE() << "the fields were made";
        } catch (const AppError& refused) {
            EXPECT_EQ(refused.description().toStdString(), c.message);
        }
    }
    QWidget window;
    EXPECT_NO_THROW(build(window)) << "the window builds again once the wrong handles are gone";
}

} // namespace
