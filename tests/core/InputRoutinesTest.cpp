#include "core/InputRoutines.h"
#include "support/PromptRecorder.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(InputRoutines, UpperCaseKeyRaisesLettersOnly)
{
    const std::vector<std::pair<int, int>> cases = { { 'a', 'A' }, { 'z', 'Z' }, { 'Q', 'Q' }, { '7', '7' },
                                                     { '-', '-' }, { 0xE9, 0xC9 } /* e acute */, { 0xDF, 0xDF } /* sharp s */ };
    for (auto [typed, arrives] : cases) {
        int key = typed;
        UpperCaseKey(key);
        EXPECT_EQ(key, arrives) << typed;
    }
}

TEST(InputRoutines, EnterOnASearchWindowRunsTheSearchAndIsSwallowed)
{
    int searches = 0;
    SetSearchCommand([&searches] { ++searches; });
    int key = 13;
    EnterAsTab(key, 2);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(searches, 1);
    int other = 'x';
    EnterAsTab(other, 2);
    EXPECT_EQ(other, 'x');
    EXPECT_EQ(searches, 1);
    SetSearchCommand(nullptr);
}

TEST(InputRoutines, EnterOnARecordWindowMovesToTheNextField)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    QApplication::setActiveWindow(&window);
    first->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), first);
    int key = 13;
    EnterAsTab(key, 1);
    QApplication::processEvents();
    EXPECT_EQ(key, 0);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST(InputRoutines, ButtonBeepPressesOnlyAVisibleEnabledButton)
{
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("&Save"), &window);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, &window, [&clicks] { ++clicks; });
    window.show();
    Prompts().clear();

    ButtonBeep(button);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Prompts().beeps, 0);

    button->setEnabled(false);
    ButtonBeep(button);
    button->setEnabled(true);
    button->hide();
    ButtonBeep(button);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Prompts().beeps, 2);
}

TEST(InputRoutines, HighlightPaintsTheFocusColourAndBringsTheTabPageForward)
{
    int arranged = 0;
    SetArrangeTabControls([&arranged] { ++arranged; });
    QLineEdit field;
    field.setText(QStringLiteral("Evidence"));
    HighlightControl(&field);
    SelectAllText(&field);
    EXPECT_EQ(field.palette().color(QPalette::Base), QColor(255, 255, 128));
    EXPECT_EQ(field.selectedText(), QStringLiteral("Evidence"));
    EXPECT_EQ(arranged, 1);
    UnhighlightControl(&field);
    EXPECT_EQ(field.palette().color(QPalette::Base), NormalFieldColor());
    SetArrangeTabControls(nullptr);
}

} // namespace
