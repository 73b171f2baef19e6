// Fields declared for a window that is no record or search window: each is made with its declared
// properties, captioned (the caption the field's buddy, bold while required) and laid out in its row
// with what is declared beside it.

#include "form_framework/zCheckBox.h"
#include "form_framework/zDate.h"
#include "form_framework/zLabel.h"
#include "form_framework/zMemo.h"
#include "list_controls/zComboBoxText.h"
#include "declared_windows/FieldRows.h"

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

} // namespace
