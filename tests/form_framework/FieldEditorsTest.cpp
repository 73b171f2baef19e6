#include "FieldHost.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/InputRoutines.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zDate.h"
#include "form_framework/zMemo.h"
#include "form_framework/zMoney.h"
#include "form_framework/zNumeric.h"
#include "form_framework/zText.h"
#include "support/PromptRecorder.h"
#include "support/TestNames.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

class Fields : public ::testing::Test {
protected:
    void SetUp() override { Prompts().clear(); }
    void TearDown() override { Prompts().clear(); }

    // How often Change was raised, and whether the window was marked changed.
    int watchChanges(zFieldBase* field)
    {
        changes = 0;
        QObject::connect(field, &zFieldBase::Change, field, [this] { ++changes; });
        return 0;
    }
    QString lastBox() const { return Prompts().boxes.empty() ? QString() : Prompts().boxes.back().text; }

    FieldHost host;
    int changes = 0;
};

// --- Text field -------------------------------------------------------------------------------

struct TextCase {
    const char* name;
    std::function<void(zText&)> setup;
    QString typed;
    QVariant value;
    QString dbValue;
    QString shown; // the box after the user left it
    QString error;
    int beeps;
};

class TextTyping : public Fields, public ::testing::WithParamInterface<TextCase> { };

TEST_P(TextTyping, TypedTextBecomesValueLiteralAndCheck)
{
    const TextCase& c = GetParam();
    auto* field = host.make<zText>();
    field->setGoodName(QStringLiteral("Name"));
    if (c.setup)
        c.setup(*field);
    host.type(field->box(), c.typed);
    EXPECT_EQ(field->box()->text(), c.shown);
    EXPECT_EQ(field->Value(), c.value);
    EXPECT_EQ(field->DBValue(), c.dbValue);
    EXPECT_EQ(field->Text(), c.value.isNull() ? QString() : c.value.toString());
    EXPECT_EQ(field->FieldError(), c.error);
    EXPECT_EQ(field->box()->palette().color(QPalette::Text) == QColor(255, 0, 0), !c.error.isEmpty())
        << "red text exactly on error";
    EXPECT_EQ(Prompts().beeps, c.beeps);
}

const QString Null;

INSTANTIATE_TEST_SUITE_P(Cases, TextTyping,
    ::testing::Values(TextCase { "Trimmed", nullptr, QStringLiteral("  Smith  "), QStringLiteral("Smith"),
                          QStringLiteral("'Smith'"), QStringLiteral("Smith"), Null, 0 },
        TextCase { "ApostropheDoubled", nullptr, QStringLiteral("O'Brien"), QStringLiteral("O'Brien"),
            QStringLiteral("'O''Brien'"), QStringLiteral("O'Brien"), Null, 0 },
        TextCase {
            "BlanksAreNull", nullptr, QStringLiteral("   "), QVariant(), QStringLiteral("NULL"), QString(), Null, 0 },
        TextCase { "RequiredBlanks", [](zText& f) { f.setRequired(true); }, QStringLiteral("   "), QVariant(),
            QStringLiteral("NULL"), QString(), QStringLiteral("Name is a required field"), 0 },
        TextCase { "CapitalsThroughFilter",
            [](zText& f) {
                f.setCapitalize(true);
                f.setKeyFilter(QStringLiteral("ABC"));
            },
            QStringLiteral("abdc"), QStringLiteral("ABC"), QStringLiteral("'ABC'"), QStringLiteral("ABC"), Null, 1 },
        TextCase { "PasswordRefusesBlanks", [](zText& f) { f.setIsPassword(true); }, QStringLiteral("a b"),
            QStringLiteral("ab"), QStringLiteral("'ab'"), QStringLiteral("ab"),
            QStringLiteral("Name should be at least 4 characters long"), 1 },
        TextCase { "EmptyPasswordIsTooShort", [](zText& f) { f.setIsPassword(true); }, QString(), QVariant(),
            QStringLiteral("NULL"), QString(), QStringLiteral("Name should be at least 4 characters long"), 0 },
        TextCase { "RequiredPasswordSaysRequired",
            [](zText& f) {
                f.setIsPassword(true);
                f.setRequired(true);
            },
            QString(), QVariant(), QStringLiteral("NULL"), QString(), QStringLiteral("Name is a required field"), 0 },
        TextCase { "MaxLengthStopsTyping", [](zText& f) { f.setMaxLength(5); }, QStringLiteral("abcdefg"),
            QStringLiteral("abcde"), QStringLiteral("'abcde'"), QStringLiteral("abcde"), Null, 2 },
        TextCase { "MissingFolder", [](zText& f) { f.setTextType(zText::FolderPath); },
            QStringLiteral("/no/such/folder/"), QStringLiteral("/no/such/folder"), QStringLiteral("'/no/such/folder'"),
            QStringLiteral("/no/such/folder"), QStringLiteral("Folder doesn't exist"), 0 },
        TextCase { "FilePathCleaned", [](zText& f) { f.setTextType(zText::FilePath); },
            QStringLiteral("/data//cases/./a/../b.txt"), QStringLiteral("/data/cases/b.txt"),
            QStringLiteral("'/data/cases/b.txt'"), QStringLiteral("/data/cases/b.txt"), Null, 0 }),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Fields, AFolderFieldTakesForwardSlashesAndStoresTheCleanAbsolutePath)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Evidence Photos"));
    auto* field = host.make<zText>();
    field->setTextType(zText::FolderPath);
    host.type(field->box(), folder.path() + QStringLiteral("//Evidence Photos/./"));
    EXPECT_EQ(field->FieldError(), QString());
    EXPECT_EQ(field->Value().toString(), folder.path() + QStringLiteral("/Evidence Photos"));

    // A relative path is taken from the program folder.
    QDir(GetMainPath()).mkpath(QStringLiteral("Reports"));
    field->setValue(QStringLiteral("Reports/"));
    EXPECT_EQ(field->Value().toString(), QDir::cleanPath(GetMainPath() + QStringLiteral("Reports")));
    EXPECT_TRUE(field->IsValid());
}

TEST_F(Fields, PastedTextThatBreaksTheTextRulesStaysForCorrection)
{
    auto* field = host.make<zText>();
    field->setGoodName(QStringLiteral("Code"));
    field->setMaxLength(4);
    host.enter(field->box());
    field->box()->insert(QStringLiteral("ABCDEF")); // a paste: no key filter sees it
    host.leave();
    EXPECT_EQ(field->box()->text(), QStringLiteral("ABCDEF"));
    EXPECT_EQ(field->FieldError(), QStringLiteral("Code should be at most 4 characters long"));

    field->setMaxLength(0);
    field->setKeyFilter(QStringLiteral("0123456789"));
    field->setValue(QStringLiteral("12x4"));
    EXPECT_FALSE(field->IsValid());
    EXPECT_EQ(lastBox(), QStringLiteral("Code may not hold the character <x>."));
    EXPECT_EQ(field->box()->text(), QStringLiteral("12x4"));
}

TEST_F(Fields, AssigningTextAlwaysMarksTheWindowChangedButApplicableOnlyRedraws)
{
    auto* field = host.make<zText>();
    watchChanges(field);
    field->setValue(QStringLiteral("  Same  "));
    host.info()->setDataChanged(false);
    field->setValue(QStringLiteral("Same"));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(host.info()->DataChanged());
    EXPECT_EQ(field->box()->text(), QStringLiteral("Same"));
    field->setApplicable(false);
    EXPECT_EQ(changes, 2);
}

TEST_F(Fields, BrowsingAFolderTakesTheChoiceAndACancelChangesNothing)
{
    auto* field = host.make<zText>();
    field->setTextType(zText::FolderPath);
    field->setValue(QStringLiteral("/tmp"));
    host.info()->setDataChanged(false);
    QString startedAt;
    QString answer;
    zText::setBrowser([&](const QString& start, bool folder) {
        startedAt = start;
        EXPECT_TRUE(folder);
        return answer;
    });
    field->BrowseFolder();
    EXPECT_EQ(startedAt, QStringLiteral("/tmp"));
    EXPECT_EQ(field->Value().toString(), QStringLiteral("/tmp"));
    EXPECT_FALSE(host.info()->DataChanged());
    answer = QStringLiteral("/var");
    field->BrowseFolder();
    EXPECT_EQ(field->Value().toString(), QStringLiteral("/var"));
    EXPECT_TRUE(host.info()->DataChanged());
    zText::setBrowser(nullptr);
}

// --- Protocol shared by the editors -----------------------------------------------------------

TEST_F(Fields, AFieldThatDoesNotApplyReadsEmptyAndPassesEveryCheck)
{
    auto* text = host.make<zText>();
    auto* number = host.make<zNumeric>();
    auto* memo = host.make<zMemo>();
    text->setIsForeignKey(true);
    text->setValue(QStringLiteral("Blue"));
    text->setFKValue(7);
    number->setValue(5);
    memo->setValue(QStringLiteral("Notes"));
    for (zFieldBase* field : std::initializer_list<zFieldBase*> { text, number, memo }) {
        SCOPED_TRACE(field->metaObject()->className());
        field->setRequired(true);
        field->setApplicable(false);
        EXPECT_TRUE(field->Value().isNull());
        EXPECT_EQ(field->FKValue(), 0);
        EXPECT_TRUE(field->IsMissing());
        EXPECT_EQ(field->DBValue(), QStringLiteral("NULL"));
        EXPECT_EQ(field->ResultDBValue(), QStringLiteral("NULL"));
        EXPECT_EQ(field->Text(), QString());
        EXPECT_TRUE(field->IsValid());
        EXPECT_TRUE(field->inputBox()->isHidden());
        EXPECT_EQ(field->frameShape(), QFrame::Box);
    }
    EXPECT_FALSE(text->isEnabled());
    EXPECT_TRUE(memo->isEnabled()) << "a memo is disabled by Locked alone";
    text->setApplicable(true);
    EXPECT_EQ(text->FKValue(), 7);
    EXPECT_TRUE(text->isEnabled());
    EXPECT_EQ(text->frameShape(), QFrame::NoFrame);
}

// White space alone is no text for any editor: it is missing, writes NULL and fails the
// required rule, also while the focus is still in the box (Save without leaving the field).
TEST_F(Fields, TextOfWhiteSpaceAloneIsMissingForEveryRequiredEditor)
{
    const QString blanks[] = {
        QStringLiteral(" "),
        QStringLiteral(" \n"),
        QStringLiteral("\r\n"),
        QStringLiteral("\t"),
        QStringLiteral("\n \n\t "),
        QString(QChar(0x00A0)),
        QStringLiteral(" ") + QChar(0x3000) + QStringLiteral("\r\n"),
    };
    struct Editor {
        const char* name;
        std::function<std::pair<BoundField*, QWidget*>(FieldHost&)> make;
    };
    const auto field = [](auto* f) -> std::pair<BoundField*, QWidget*> {
        f->setGoodName(QStringLiteral("Notes"));
        f->setRequired(true);
        return { f, f->box() };
    };
    const Editor editors[] = {
        { "zText", [&](FieldHost& h) { return field(h.make<zText>()); } },
        { "zNumeric", [&](FieldHost& h) { return field(h.make<zNumeric>()); } },
        { "zDate", [&](FieldHost& h) { return field(h.make<zDate>()); } },
        { "zMemo", [&](FieldHost& h) { return field(h.make<zMemo>()); } },
        { "zMoney",
            [](FieldHost& h) -> std::pair<BoundField*, QWidget*> {
                auto* money = h.make<zMoney>();
                money->setGoodName(QStringLiteral("Notes"));
                return { money, money->amount()->box() };
            } },
    };
    for (const Editor& editor : editors) {
        for (const QString& blank : blanks) {
            SCOPED_TRACE(std::string(editor.name) + " <" + blank.toStdString() + ">");
            const auto [bound, box] = editor.make(host);
            host.enter(box);
            if (auto* line = qobject_cast<QLineEdit*>(box))
                line->insert(blank);
            else
                qobject_cast<QPlainTextEdit*>(box)->insertPlainText(blank);
            Prompts().clear();
            EXPECT_TRUE(bound->IsMissing());
            EXPECT_EQ(bound->DBValue(), QStringLiteral("NULL"));
            EXPECT_FALSE(bound->IsValid());
            EXPECT_EQ(lastBox(), QStringLiteral("Notes is a required field."));
            delete dynamic_cast<QWidget*>(bound);
        }
    }
}

TEST_F(Fields, ALockedFieldTakesNoInputAndShowsTheButtonFace)
{
    auto* text = host.make<zText>();
    auto* date = host.make<zDate>();
    for (zFieldBase* field : std::initializer_list<zFieldBase*> { text, date }) {
        field->setLocked(true);
        EXPECT_FALSE(field->isEnabled());
        EXPECT_EQ(field->inputBox()->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
        field->setLocked(false);
        EXPECT_TRUE(field->isEnabled());
        EXPECT_EQ(field->inputBox()->palette().color(QPalette::Base), NormalFieldColor());
    }
    date->setApplicable(false);
    EXPECT_TRUE(date->isEnabled()) << "a date that does not apply stays enabled";
}

TEST_F(Fields, FocusHighlightsAndSelectsAndLeavingRestoresTheColour)
{
    auto* field = host.make<zText>();
    field->setValue(QStringLiteral("Radio"));
    host.enter(field->box());
    EXPECT_EQ(field->box()->palette().color(QPalette::Base), FocusColor());
    EXPECT_EQ(field->box()->selectedText(), QStringLiteral("Radio"));
    host.leave();
    EXPECT_EQ(field->box()->palette().color(QPalette::Base), NormalFieldColor());
}

TEST_F(Fields, IsValidShowsTheErrorWithAFullStopAndPutsTheFocusInTheField)
{
    auto* field = host.make<zText>();
    field->setGoodName(QStringLiteral("Case Number"));
    field->setRequired(true);
    host.leave();
    EXPECT_FALSE(field->IsValid());
    ASSERT_EQ(Prompts().boxes.size(), 1u);
    EXPECT_EQ(Prompts().boxes[0].text, QStringLiteral("Case Number is a required field."));
    EXPECT_EQ(Prompts().boxes[0].title, QStringLiteral("Fields Validation"));
    EXPECT_TRUE(field->box()->hasFocus());
    EXPECT_EQ(field->FieldError(), QStringLiteral("Case Number is a required field"));
    EXPECT_NE(field->box()->palette().color(QPalette::Text), QColor(255, 0, 0)) << "red only after the focus leaves";
}

TEST_F(Fields, EnterMovesOnInARecordWindowAndSearchesInASearchWindow)
{
    auto* first = host.make<zText>();
    auto* second = host.make<zNumeric>();
    host.enter(first->box());
    QTest::keyClick(first->box(), Qt::Key_Return);
    EXPECT_TRUE(host.window->focusWidget() != first->box()) << "Enter acts as Tab";
    EXPECT_EQ(first->box()->text(), QString());

    FieldHost search(FormType::Search);
    auto* criterion = search.make<zDate>();
    int searches = 0;
    SetSearchCommand([&searches] { ++searches; });
    search.enter(criterion->box());
    QTest::keyClick(criterion->box(), Qt::Key_Return);
    SetSearchCommand(nullptr);
    EXPECT_EQ(searches, 1);
    EXPECT_TRUE(criterion->box()->hasFocus());
    EXPECT_EQ(criterion->box()->text(), QString());
    (void)second;
}

TEST_F(Fields, AFieldOutsideTheRecordRaisesChangeButLeavesTheWindowUnchanged)
{
    auto* field = host.make<zText>();
    field->setPartOfTheQuery(false);
    watchChanges(field);
    host.type(field->box(), QStringLiteral("x"));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(host.info()->DataChanged());
}

TEST_F(Fields, AForeignKeyFieldLooksItsIdentityUpAndReportsAnUnknownValue)
{
    auto* field = host.make<zText>();
    field->setGoodName(QStringLiteral("Kind"));
    field->setIsForeignKey(true);
    int lookUps = 0;
    int shows = 0;
    field->setGetFKFromValue([&] {
        ++lookUps;
        return field->Text() == QLatin1String("Camera") ? 4 : 0;
    });
    field->setGetValueFromFK([&] {
        ++shows;
        return QVariant(QStringLiteral("Camera "));
    });
    field->setFKValue(4);
    EXPECT_EQ(field->box()->text(), QStringLiteral("Camera ")) << "shown as the window gave it";
    EXPECT_EQ(field->ResultDBValue(), QStringLiteral("4"));
    host.info()->setDataChanged(false);
    field->setFKValue(4);
    EXPECT_EQ(shows, 1);
    EXPECT_FALSE(host.info()->DataChanged());

    host.type(field->box(), QStringLiteral("x"));
    EXPECT_EQ(field->FieldError(), QStringLiteral("Cannot find Kind <x>"));
    EXPECT_EQ(field->FKValue(), 0);
    EXPECT_EQ(field->ResultDBValue(), QStringLiteral("NULL"));
    field->setValue(QStringLiteral("Camera"));
    EXPECT_EQ(field->FKValue(), 4);
    EXPECT_TRUE(field->IsValid());
    EXPECT_GE(lookUps, 3);

    auto* plain = host.make<zText>();
    plain->setFKValue(9);
    EXPECT_EQ(plain->FKValue(), 0) << "only foreign-key fields take an identity";
}

TEST_F(Fields, WindowChecksAndDefaultsReachTheField)
{
    auto* field = host.make<zText>();
    field->setGoodName(QStringLiteral("Serial"));
    field->setOnLostFocusValidation([] { return QStringLiteral("Serial is taken"); });
    field->setDefaultProcedure([] { return QVariant(QStringLiteral("S-1")); });
    field->SetDefault();
    EXPECT_EQ(field->Value().toString(), QStringLiteral("S-1"));
    EXPECT_FALSE(field->Validate(false));
    EXPECT_EQ(field->FieldError(), QStringLiteral("Serial is taken"));
    field->Compute(); // no handler: the field empties
    EXPECT_TRUE(field->Value().isNull());

    auto* memo = host.make<zMemo>();
    bool finalAsked = false;
    memo->setFinalValidation([&] {
        finalAsked = true;
        return QString();
    });
    EXPECT_TRUE(memo->Validate(false));
    EXPECT_FALSE(finalAsked);
    EXPECT_TRUE(memo->IsValid());
    EXPECT_TRUE(finalAsked);
}

// --- Number field -----------------------------------------------------------------------------

struct NumberCase {
    const char* name;
    std::function<void(zNumeric&)> setup;
    QString typed;
    QVariant value;
    QString dbValue;
    QString shown;
    QString error;
    int beeps;
};

class NumberTyping : public Fields, public ::testing::WithParamInterface<NumberCase> { };

TEST_P(NumberTyping, TypedTextBecomesValueLiteralAndCheck)
{
    const NumberCase& c = GetParam();
    auto* field = host.make<zNumeric>();
    field->setGoodName(QStringLiteral("Weight"));
    if (c.setup)
        c.setup(*field);
    host.type(field->box(), c.typed);
    EXPECT_EQ(field->box()->text(), c.shown);
    EXPECT_EQ(field->Value(), c.value);
    EXPECT_EQ(field->DBValue(), c.dbValue);
    EXPECT_EQ(field->Text(), c.shown);
    EXPECT_EQ(field->FieldError(), c.error);
    EXPECT_EQ(Prompts().beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberTyping,
    ::testing::Values(NumberCase { "LeadingZeros", nullptr, QStringLiteral("007"), 7.0, QStringLiteral("7"),
                          QStringLiteral("7"), Null, 0 },
        NumberCase {
            "BarePoint", nullptr, QStringLiteral(".5"), 0.5, QStringLiteral("0.5"), QStringLiteral("0.5"), Null, 0 },
        NumberCase { "TrailingZeroDropped", nullptr, QStringLiteral("1.50"), 1.5, QStringLiteral("1.5"),
            QStringLiteral("1.5"), Null, 0 },
        NumberCase { "TooManyDecimals", nullptr, QStringLiteral("1.234"), 1.234, QStringLiteral("1.234"),
            QStringLiteral("1.234"), QStringLiteral("Only 2 digits after decimal point allowed"), 0 },
        NumberCase { "SecondPointBeeps", nullptr, QStringLiteral("1.2.3"), 1.23, QStringLiteral("1.23"),
            QStringLiteral("1.23"), Null, 1 },
        NumberCase { "MinusInside", nullptr, QStringLiteral("5-5"), QVariant(), QStringLiteral("NULL"),
            QStringLiteral("5-5"), QStringLiteral("Weight should be numeric"), 0 },
        NumberCase { "NegativeAllowed", nullptr, QStringLiteral("-12"), -12.0, QStringLiteral("-12"),
            QStringLiteral("-12"), Null, 0 },
        NumberCase {
            "LettersBeep", nullptr, QStringLiteral("1a2"), 12.0, QStringLiteral("12"), QStringLiteral("12"), Null, 1 },
        NumberCase { "MinusRefusedAboveZero", [](zNumeric& f) { f.setMin(0); }, QStringLiteral("-3"), 3.0,
            QStringLiteral("3"), QStringLiteral("3"), Null, 1 },
        NumberCase { "PointRefusedForWholeNumbers", [](zNumeric& f) { f.setDecimalScale(0); }, QStringLiteral("1.5"),
            15.0, QStringLiteral("15"), QStringLiteral("15"), Null, 1 },
        NumberCase { "LowerBoundExcluded",
            [](zNumeric& f) {
                f.setMin(0);
                f.setMinIncluded(false);
            },
            QStringLiteral("0"), 0.0, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("Weight should be > 0"),
            0 },
        NumberCase { "UpperBoundIncluded", [](zNumeric& f) { f.setMax(100); }, QStringLiteral("100"), 100.0,
            QStringLiteral("100"), QStringLiteral("100"), Null, 0 },
        NumberCase { "AboveUpperBound", [](zNumeric& f) { f.setMax(100); }, QStringLiteral("100.5"), 100.5,
            QStringLiteral("100.5"), QStringLiteral("100.5"), QStringLiteral("Weight should be <= 100"), 0 },
        NumberCase { "EmptyIsNull", nullptr, QString(), QVariant(), QStringLiteral("NULL"), QString(), Null, 0 },
        NumberCase { "RequiredEmpty", [](zNumeric& f) { f.setRequired(true); }, QString(), QVariant(),
            QStringLiteral("NULL"), QString(), QStringLiteral("Weight is a required field"), 0 }),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Fields, PastedNumbersAreCheckedOnLeaving)
{
    auto* field = host.make<zNumeric>();
    field->setGoodName(QStringLiteral("Count"));
    field->setDecimalScale(0);
    for (const QString& pasted : { QStringLiteral("12x"), QStringLiteral("nan"), QStringLiteral("1,000") }) {
        field->box()->clear();
        host.enter(field->box());
        field->box()->insert(pasted);
        host.leave();
        EXPECT_EQ(field->FieldError(), QStringLiteral("Count should be numeric")) << pasted.toStdString();
        EXPECT_EQ(field->box()->text(), pasted);
        EXPECT_EQ(field->DBValue(), QStringLiteral("NULL"));
    }
}

TEST_F(Fields, ANumberChangesOnlyWhenItDiffers)
{
    auto* field = host.make<zNumeric>();
    watchChanges(field);
    field->setValue(QVariant());
    EXPECT_EQ(changes, 1) << "null to an empty field still counts";
    field->setValue(12.5);
    field->setValue(QStringLiteral("12.5"));
    EXPECT_EQ(changes, 2);
    field->setApplicable(false);
    EXPECT_EQ(changes, 3) << "a number field's applicability is a change";
    field->setApplicable(true);
    field->Compute(); // no handler: 0
    EXPECT_EQ(field->Value(), QVariant(0.0));
}

TEST_F(Fields, NumbersAreWrittenInTheirGeneralForm)
{
    EXPECT_EQ(zNumeric::GeneralText(1e300), QStringLiteral("1E+300"));
    EXPECT_EQ(zNumeric::GeneralText(-1e300), QStringLiteral("-1E+300"));
    EXPECT_EQ(zNumeric::GeneralText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(zNumeric::GeneralText(1234567.25), QStringLiteral("1234567.25"));
    EXPECT_EQ(zNumeric::GeneralText(1.5e-7), QStringLiteral("1.5E-07"));
}

TEST_F(Fields, BoundsOutsideTheLimitsAreRefusedWithTheirMessage)
{
    auto* field = host.make<zNumeric>();
    field->setMin(-2e300);
    EXPECT_EQ(lastBox(), QStringLiteral("Min value should be >= -1E+300"));
    EXPECT_EQ(Prompts().boxes.back().title, QStringLiteral("Error"));
    EXPECT_EQ(field->Min(), zNumeric::Floor);
    field->setMax(10);
    field->setMin(11);
    EXPECT_EQ(lastBox(), QStringLiteral("Min value should be <= Max value"));
    field->setMax(2e300);
    EXPECT_EQ(lastBox(), QStringLiteral("Max value should be <= 1E+300"));
    field->setMin(5);
    field->setMax(4);
    EXPECT_EQ(lastBox(), QStringLiteral("Max value should be >= Min value"));
    EXPECT_EQ(field->Max(), 10.0);
}

// --- Date field -------------------------------------------------------------------------------

struct DateCase {
    const char* name;
    std::function<void(zDate&)> setup;
    QString typed;
    QString dbValue;
    QString shown;
    QString error;
    int beeps;
};

class DateTyping : public Fields, public ::testing::WithParamInterface<DateCase> { };

TEST_P(DateTyping, TypedTextBecomesValueLiteralAndCheck)
{
    const DateCase& c = GetParam();
    auto* field = host.make<zDate>();
    field->setGoodName(QStringLiteral("Case Date"));
    field->setDataFormat(QStringLiteral("mm/dd/yyyy"));
    if (c.setup)
        c.setup(*field);
    host.type(field->box(), c.typed);
    EXPECT_EQ(field->box()->text(), c.shown);
    EXPECT_EQ(field->DBValue(), c.dbValue);
    EXPECT_EQ(field->Value().isNull(), c.dbValue == QLatin1String("NULL"));
    EXPECT_EQ(field->FieldError(), c.error);
    EXPECT_EQ(Prompts().beeps, c.beeps);
}

const auto WithTime = [](zDate& f) {
    f.setDataFormat(QStringLiteral("mm/dd/yyyy h:mm AMPM"));
    f.setKeyFilter(QStringLiteral("/0123456789: AMPM"));
};

INSTANTIATE_TEST_SUITE_P(Cases, DateTyping,
    ::testing::Values(DateCase { "ShortYearPadded", nullptr, QStringLiteral("3/5/24"), QStringLiteral("'2024-03-05'"),
                          QStringLiteral("03/05/2024"), Null, 0 },
        DateCase { "NoSuchDay", nullptr, QStringLiteral("31/02/2024"), QStringLiteral("NULL"),
            QStringLiteral("31/02/2024"), QStringLiteral("Case Date should be in date format"), 0 },
        DateCase { "LettersBeep", nullptr, QStringLiteral("3x/5/2024"), QStringLiteral("'2024-03-05'"),
            QStringLiteral("03/05/2024"), Null, 1 },
        DateCase { "BeforeTheFloor", nullptr, QStringLiteral("12/31/1752"), QStringLiteral("'1752-12-31'"),
            QStringLiteral("12/31/1752"), QStringLiteral("Case Date should be >= 01/01/1753"), 0 },
        DateCase { "AfterTheCeiling", nullptr, QStringLiteral("1/1/2051"), QStringLiteral("'2051-01-01'"),
            QStringLiteral("01/01/2051"), QStringLiteral("Case Date should be <= 12/31/2050"), 0 },
        DateCase { "MinItselfExcluded",
            [](zDate& f) {
                f.setMin(QDateTime(QDate(1950, 12, 31), QTime(0, 0)));
                f.setMinIncluded(false);
            },
            QStringLiteral("12/31/1950"), QStringLiteral("'1950-12-31'"), QStringLiteral("12/31/1950"),
            QStringLiteral("Case Date should be > 12/31/1950"), 0 },
        DateCase { "MinItselfIncluded", [](zDate& f) { f.setMin(QDateTime(QDate(1950, 12, 31), QTime(0, 0))); },
            QStringLiteral("12/31/1950"), QStringLiteral("'1950-12-31'"), QStringLiteral("12/31/1950"), Null, 0 },
        DateCase { "DateAndTime", WithTime, QStringLiteral("3/5/2024 2:07 pm"), QStringLiteral("'2024-03-05 14:07:00'"),
            QStringLiteral("03/05/2024 2:07 PM"), Null, 0 },
        DateCase { "MidnightIsTheDateAlone", WithTime, QStringLiteral("3/5/2024 12:00 am"),
            QStringLiteral("'2024-03-05'"), QStringLiteral("03/05/2024 12:00 AM"), Null, 0 },
        DateCase { "Required", [](zDate& f) { f.setRequired(true); }, QString(), QStringLiteral("NULL"), QString(),
            QStringLiteral("Case Date is a required field"), 0 }),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Fields, LeavingADateQuietlyTidiesItAndWritingOneRunsChangeProcessing)
{
    auto* field = host.make<zDate>();
    field->setDataFormat(QStringLiteral("mm/dd/yyyy"));
    field->box()->setText(QStringLiteral(" 3/5/2024 "));
    int checks = 0;
    field->setOnLostFocusValidation([&] {
        ++checks;
        return QString();
    });
    watchChanges(field);
    host.enter(field->box());
    host.leave();
    EXPECT_EQ(field->box()->text(), QStringLiteral("03/05/2024"));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(checks, 1);

    field->setValue(QDate(2024, 3, 5));
    EXPECT_EQ(changes, 0) << "the same text is no change";
    field->setValue(QStringLiteral("2024-03-06"));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(host.info()->DataChanged());
    EXPECT_EQ(field->box()->text(), QStringLiteral("03/06/2024"));
    EXPECT_THROW(field->setValue(QStringLiteral("soon")), AppError);
    EXPECT_EQ(field->box()->text(), QStringLiteral("03/06/2024"));

    field->SetDefault(); // no handler: the box empties
    EXPECT_EQ(field->box()->text(), QString());
    host.enter(field->box());
    host.leave();
    EXPECT_EQ(checks, 1) << "an empty date is not handed to the window's check";
}

TEST_F(Fields, ADateThatDoesNotApplyKeepsItsTextButReadsEmpty)
{
    auto* field = host.make<zDate>();
    field->setRequired(true);
    field->box()->setText(QStringLiteral("31/02/2024"));
    field->setApplicable(false);
    EXPECT_TRUE(field->Value().isNull());
    EXPECT_EQ(field->DBValue(), QStringLiteral("NULL"));
    EXPECT_EQ(field->Text(), QStringLiteral("31/02/2024"));
    EXPECT_TRUE(field->IsValid());
}

TEST_F(Fields, DateBoundsOutsideTheLimitsAreRefused)
{
    auto* field = host.make<zDate>();
    field->setMin(QDateTime(QDate(1700, 1, 1), QTime(0, 0)));
    EXPECT_EQ(lastBox(), QStringLiteral("Min value should be >= 01/01/1753"));
    field->setMax(QDateTime(QDate(2051, 1, 1), QTime(0, 0)));
    EXPECT_EQ(lastBox(), QStringLiteral("Max value should be <= 12/31/2050"));
    EXPECT_EQ(field->Min(), zDate::Floor());
    EXPECT_EQ(field->Max(), zDate::Ceiling());
}

TEST_F(Fields, ADayFirstDesktopReadsAndWritesTheSameDatesAndNumbers)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // dd.MM.yyyy and a decimal comma
    auto* date = host.make<zDate>();
    auto* number = host.make<zNumeric>();
    host.type(date->box(), QStringLiteral("03/05/2024"));
    host.type(number->box(), QStringLiteral("1234.5"));
    const QString dateLiteral = date->DBValue();
    const QString numberLiteral = number->DBValue();
    const QString shownDate = date->box()->text();
    const QString numberError = number->FieldError();
    QLocale::setDefault(before);
    EXPECT_EQ(dateLiteral, QStringLiteral("'2024-03-05'"));
    EXPECT_EQ(shownDate, QStringLiteral("03/05/2024"));
    EXPECT_EQ(numberLiteral, QStringLiteral("1234.5"));
    EXPECT_EQ(numberError, QString());
}

// --- Memo -------------------------------------------------------------------------------------

TEST_F(Fields, LeavingAMemoTrimsBlanksAndLeadingLineBreaksAsAnEdit)
{
    auto* memo = host.make<zMemo>();
    memo->setGoodName(QStringLiteral("Notes"));
    memo->setRequired(true);
    memo->box()->setPlainText(QStringLiteral("  \n\n  "));
    watchChanges(memo);
    host.enter(memo->box());
    host.leave();
    EXPECT_EQ(memo->box()->toPlainText(), QString());
    EXPECT_EQ(memo->FieldError(), QStringLiteral("Notes is a required field"));
    EXPECT_EQ(changes, 1) << "the memo's own trimming counts as an edit";

    memo->box()->setPlainText(QStringLiteral(" \nSeized at the scene\n "));
    host.enter(memo->box());
    host.leave();
    EXPECT_EQ(memo->Value().toString(), QStringLiteral("Seized at the scene\n"));
}

TEST_F(Fields, AMemoReadsEmptyAsTextAndSkipsWritesThatDifferInCaseAlone)
{
    auto* memo = host.make<zMemo>();
    EXPECT_EQ(memo->Value(), QVariant(QString()));
    EXPECT_FALSE(memo->Value().isNull());
    EXPECT_TRUE(memo->IsMissing());
    EXPECT_EQ(memo->DBValue(), QStringLiteral("NULL"));
    memo->setValue(QStringLiteral("O'Brien"));
    EXPECT_EQ(memo->DBValue(), QStringLiteral("'O''Brien'"));
    watchChanges(memo);
    memo->setValue(QStringLiteral("O'BRIEN"));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(memo->Text(), QStringLiteral("O'Brien"));
    memo->setApplicable(false);
    EXPECT_TRUE(memo->Value().isNull());
    EXPECT_EQ(memo->Text(), QString());
}

TEST_F(Fields, AMemoTakesEnterAsANewLineAndKeepsToItsLength)
{
    auto* memo = host.make<zMemo>();
    memo->setGoodName(QStringLiteral("Notes"));
    memo->setMaxLength(5);
    host.enter(memo->box());
    QTest::keyClicks(memo->box(), QStringLiteral("ab"));
    QTest::keyClick(memo->box(), Qt::Key_Return);
    QTest::keyClicks(memo->box(), QStringLiteral("cdef"));
    EXPECT_EQ(memo->box()->toPlainText(), QStringLiteral("ab\ncd"));
    memo->box()->insertPlainText(QStringLiteral("pasted")); // beyond the limit
    host.leave();
    EXPECT_EQ(memo->FieldError(), QStringLiteral("Notes should be at most 5 characters long"));
    EXPECT_EQ(memo->box()->toPlainText(), QStringLiteral("ab\ncdpasted"));
}

// --- Money ------------------------------------------------------------------------------------

struct MoneyCase {
    int multiplier;
    double written;
    bool spend;
    QString amount;
    QString dbValue;
};

class MoneyWriting : public Fields, public ::testing::WithParamInterface<MoneyCase> { };

TEST_P(MoneyWriting, TheSignChoosesTheDirectionAndReadsBack)
{
    const MoneyCase& c = GetParam();
    auto* money = host.make<zMoney>();
    money->setMultiplier(c.multiplier);
    money->setValue(c.written);
    EXPECT_EQ(money->findChild<QRadioButton*>(QStringLiteral("optSpendReceive_0"))->isChecked(), c.spend);
    EXPECT_EQ(money->findChild<QRadioButton*>(QStringLiteral("optSpendReceive_1"))->isChecked(), !c.spend);
    EXPECT_EQ(money->amount()->Text(), c.amount);
    EXPECT_EQ(money->Value(), QVariant(c.written));
    EXPECT_EQ(money->DBValue(), c.dbValue);
}

INSTANTIATE_TEST_SUITE_P(Cases, MoneyWriting,
    ::testing::Values(MoneyCase { -1, -25, true, QStringLiteral("25"), QStringLiteral("-25") },
        MoneyCase { -1, 40, false, QStringLiteral("40"), QStringLiteral("40") },
        MoneyCase { 1, 40, true, QStringLiteral("40"), QStringLiteral("40") },
        MoneyCase { 1, -40.5, false, QStringLiteral("40.5"), QStringLiteral("-40.5") },
        MoneyCase { -1, 0, true, QStringLiteral("0"), QStringLiteral("0") }),
    [](const ::testing::TestParamInfo<MoneyCase>& caseInfo) {
        // The multiplier's direction, then the value written: "SpendMinus25", "ReceiveMinus40_5".
        const double value = caseInfo.param.written;
        return std::string(caseInfo.param.multiplier < 0 ? "Spend" : "Receive") + (value < 0 ? "Minus" : "")
            + TestNameFromText(QByteArray::number(value < 0 ? -value : value).toStdString());
    });

TEST_F(Fields, AMoneyFieldNeedsAnAmountAndMarksTheWindowOnEitherPart)
{
    auto* money = host.make<zMoney>();
    money->setGoodName(QStringLiteral("Amount"));
    money->setDBFieldName(QStringLiteral("Amount"));
    EXPECT_TRUE(money->Value().isNull());
    EXPECT_TRUE(money->IsMissing());
    EXPECT_EQ(money->DBValue(), QStringLiteral("NULL"));
    EXPECT_FALSE(money->IsValid());
    EXPECT_EQ(lastBox(), QStringLiteral("Amount is a required field."));

    int changeCount = 0;
    QObject::connect(money, &zMoney::Change, money, [&changeCount] { ++changeCount; });
    host.type(money->amount()->box(), QStringLiteral("12"));
    EXPECT_TRUE(host.info()->DataChanged());
    EXPECT_EQ(money->Value(), QVariant(-12.0));
    host.info()->setDataChanged(false);
    money->findChild<QRadioButton*>(QStringLiteral("optSpendReceive_1"))->click();
    EXPECT_TRUE(host.info()->DataChanged());
    EXPECT_EQ(money->Value(), QVariant(12.0));
    EXPECT_EQ(changeCount, 3) << "two typed digits and one switch of direction";

    money->setSpendWord(QStringLiteral("Out"));
    money->setValue(-3);
    EXPECT_EQ(money->findChild<QRadioButton*>(QStringLiteral("optSpendReceive_0"))->text(), QStringLiteral("Out"));
    EXPECT_EQ(money->Value(), QVariant(-3.0));
    money->setValue(QVariant());
    EXPECT_TRUE(money->Value().isNull());
    money->setApplicable(false);
    EXPECT_TRUE(money->IsValid());
    money->setMultiplier(3);
    EXPECT_EQ(money->Multiplier(), -1);
}

// --- Check box --------------------------------------------------------------------------------

TEST_F(Fields, ACheckBoxThatDoesNotApplyReadsNoButKeepsItsLiteral)
{
    auto* check = host.make<zCheckBox>();
    check->setCaption(QStringLiteral("Working"));
    check->setValue(true);
    check->setApplicable(false);
    EXPECT_EQ(check->Value(), QVariant(false));
    EXPECT_EQ(check->Text(), QStringLiteral("No"));
    EXPECT_EQ(check->DBValue(), QStringLiteral("1"));
    EXPECT_FALSE(check->findChild<QFrame*>(QStringLiteral("fraCover"))->isHidden());
    EXPECT_FALSE(check->box()->isEnabled());
    EXPECT_TRUE(check->IsValid());
    check->setApplicable(true);
    EXPECT_EQ(check->Text(), QStringLiteral("Yes"));
    EXPECT_TRUE(check->findChild<QFrame*>(QStringLiteral("fraCover"))->isHidden());
}

TEST_F(Fields, AnEnablerCheckBoxMarksTheWindowEvenOutsideTheRecord)
{
    auto* check = host.make<zCheckBox>();
    check->setPartOfTheQuery(false);
    watchChanges(check);
    check->box()->click();
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(host.info()->DataChanged());
    check->setIsEnabler(true);
    check->box()->click();
    EXPECT_TRUE(host.info()->DataChanged());

    check->SetDefault(); // no handler: cleared
    EXPECT_EQ(check->DBValue(), QStringLiteral("0"));
    check->setDefaultProcedure([] { return QVariant(-1); });
    check->SetDefault();
    EXPECT_EQ(check->DBValue(), QStringLiteral("1"));
    check->Compute(); // no handler: cleared
    EXPECT_EQ(check->DBValue(), QStringLiteral("0"));
}

} // namespace
