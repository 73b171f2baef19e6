// Every window of the program as a clerk first sees it inside the main window: large enough for
// every caption, button and field, inside the main window's area, new windows cascading.

#include "administration/Administration.h"
#include "cases/CaseProcedures.h"
#include "cases/CaseWindows.h"
#include "cases/NotificationWindows.h"
#include "cases/PeopleWindows.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/Schema.h"
#include "custody/CustodyWindows.h"
#include "form_framework/BoundField.h"
#include "form_framework/DataWindow.h"
#include "form_framework/FormFieldsToText.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zInfo.h"
#include "list_controls/ListProcedures.h"
#include "main_window/ViewerWindows.h"
#include "main_window/frmMain.h"
#include "reference_tables/ReferenceTables.h"
#include "support/CaseRows.h"
#include "support/PromptRecorder.h"
#include "support/TestDatabase.h"
#include "apps/ProgramWindows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The text a caption shows: with a buddy, "&&" shows as "&" and a single "&" marks the key.
QString shownText(const QString& text, bool mnemonic)
{
    if (!mnemonic)
        return text;
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown += text.at(i);
    }
    return shown;
}

QString describe(const QWidget* widget, const QString& what, int has, int needs)
{
    return QStringLiteral("%1 %2 is %3 pixels, needs %4").arg(widget->objectName(), what).arg(has).arg(needs);
}

// Every caption, button or field of the window shown smaller than it needs: a caption or a
// button narrower than its text's advance in its font (its text elided or cut), a field smaller
// than its minimum size hint.
QStringList cutParts(QWidget* window)
{
    QStringList cut;
    for (QWidget* part : window->findChildren<QWidget*>()) {
        if (!part->isVisible())
            continue;
        if (auto* label = qobject_cast<QLabel*>(part)) {
            if (label->text().isEmpty() || label->wordWrap() || Qt::mightBeRichText(label->text()))
                continue;
            const int needs
                = label->fontMetrics().horizontalAdvance(shownText(label->text(), label->buddy() != nullptr));
            if (label->contentsRect().width() < needs)
                cut << describe(label, QStringLiteral("caption \"") + label->text() + QStringLiteral("\""),
                    label->contentsRect().width(), needs);
        } else if (auto* button = qobject_cast<QAbstractButton*>(part)) {
            if (button->text().isEmpty())
                continue;
            int needs = button->fontMetrics().horizontalAdvance(shownText(button->text(), true));
            if (qobject_cast<QCheckBox*>(button))
                needs += button->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button)
                    + button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
            else if (qobject_cast<QRadioButton*>(button))
                needs += button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button)
                    + button->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, button);
            if (button->width() < needs)
                cut << describe(button, QStringLiteral("button \"") + button->text() + QStringLiteral("\""),
                    button->width(), needs);
        } else if (auto* box = qobject_cast<QGroupBox*>(part)) {
            const int needs = box->fontMetrics().horizontalAdvance(box->title());
            if (box->width() < needs)
                cut << describe(box, QStringLiteral("box \"") + box->title() + QStringLiteral("\""), box->width(), needs);
        }
        if (dynamic_cast<BoundField*>(part)) {
            QSize least = part->minimumSizeHint();
            // A field that does not apply keeps the height of its box.
            if (auto* field = qobject_cast<zFieldBase*>(part); field && field->inputBox())
                least.setHeight(std::max(least.height(), field->inputBox()->minimumSizeHint().height()));
            if (part->width() < least.width())
                cut << describe(part, QStringLiteral("field width"), part->width(), least.width());
            if (part->height() < least.height())
                cut << describe(part, QStringLiteral("field height"), part->height(), least.height());
        }
    }
    return cut;
}

class WindowSizes : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Prompts().clear();
        QFile menu(GetMainPath() + QStringLiteral("menu.txt"));
        ASSERT_TRUE(menu.open(QIODevice::WriteOnly));
        menu.write("Cases, _Cases\nItems, _Items\n");
        menu.close();
        RegisterProgramWindows();
        frmMain::setInputBox({});
    }

    void TearDown() override
    {
        closeAll();
        if (m_main) {
            m_main->close();
            delete m_main.data();
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DatabaseTest::TearDown();
    }

    frmMain* load(const QSize& size)
    {
        m_main = new frmMain;
        m_main->Load();
        m_main->resize(size);
        m_main->show();
        QApplication::processEvents();
        return m_main;
    }

    static void closeAll()
    {
        for (QWidget* window : LoadedWindows()) {
            if (DataWindow* data = AsDataWindow(window)) {
                data->info()->setRefreshScreen(false);
                data->info()->setDataChanged(false);
                UnloadWindow(window);
            }
        }
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The window sits inside the main window's area and shows everything whole.
    void expectWhole(DataWindow* window, const QString& how)
    {
        SCOPED_TRACE((window->objectName() + QStringLiteral(" ") + how).toStdString());
        ASSERT_TRUE(window->isChildOfMainWindow());
        QApplication::processEvents();
        const QRect area(QPoint(0, 0), m_main->clientAreaSize());
        const QRect frame = window->frame()->geometry();
        EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                          << frame.height() << " in " << area.width() << "x" << area.height();
        const QStringList cut = cutParts(window);
        EXPECT_TRUE(cut.isEmpty()) << cut.join(QLatin1Char('\n')).toStdString();
    }

    int newestRow(const QString& table, const QString& identity)
    {
        if (table.isEmpty() || identity.isEmpty())
            return 0;
        const auto id = GetSQLValue(QStringLiteral("SELECT MAX(%1) FROM %2").arg(identity, table));
        return id && !id->isNull() ? id->toInt() : 0;
    }

    QPointer<frmMain> m_main;
};

// Every registered window opened in the main window of the two screens the clerks use: record
// windows for adding and for editing a stored row, the others as they open from the menu.
TEST_P(WindowSizes, EveryWindowOpensWithEveryCaptionAndFieldWholeInsideTheArea)
{
    ASSERT_TRUE(DBConnection());
    LoadSampleData(*DBConnection());
    // Names of their own: the sample rows hold the usual ones.
    CaseClassNames names;
    names.crime = QStringLiteral("Sizing Crime");
    names.crimeCode = QStringLiteral("SZ");
    names.felony = QStringLiteral("Sizing Felony");
    names.felonyCode = QStringLiteral("SZF");
    names.category = QStringLiteral("Sizing Category");
    names.categoryCode = QStringLiteral("SZC");
    names.payroll = QStringLiteral("SZ-1");
    const CaseClasses classes = InsertCaseClasses(names);
    ASSERT_GT(classes.employee, 0);
    const int theCase = InsertCase(classes, QStringLiteral("2024-17"));
    ASSERT_GT(InsertItem(theCase, QStringLiteral("2024-17-1")), 0);
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("INSERT INTO Batches (Batch_Number, Created_Date_Time, "
                                              "Created_By_Employee_ID, Batch_Type_ID) SELECT 'BOX-1', "
                                              "'2024-05-01 10:00:00', %1, MIN(Batch_Type_ID) FROM Batch_Types")
                                   .arg(classes.employee)));
    ASSERT_TRUE(Act_ExecuteSQL(
        QStringLiteral("INSERT INTO Locations (Location_Name, Location_Code) VALUES ('Vault', 'V')")));

    // The web page viewer needs a page to show and is a program of its own (the plugin); the
    // viewer tests open it.
    const QStringList skipped { QStringLiteral("frmwebbrowser") };
    load(QSize(1280, 1024));
    for (const QSize screen : { QSize(1280, 1024), QSize(1600, 1000) }) {
        const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
        SCOPED_TRACE(size.toStdString());
        m_main->resize(screen);
        QApplication::processEvents();
        QStringList withoutRow;
        for (const QString& name : FormRegistry::names()) {
            if (skipped.contains(name))
                continue;
            SCOPED_TRACE(name.toStdString());
            FormType type = FormType::Other;
            {
                DataWindow* probe = FormRegistry::create(name);
                type = probe->info()->FormType();
                delete probe;
            }
            if (type != FormType::Record) {
                DataWindow* window = ShowFormByName(name);
                ASSERT_NE(window, nullptr);
                expectWhole(window, QStringLiteral("opened"));
                closeAll();
                continue;
            }
            DataWindow* added = OpenFormWithParams(name, 0, { QStringLiteral("Mode"), 1 });
            ASSERT_NE(added, nullptr);
            expectWhole(added, QStringLiteral("for adding"));
            const QString table = added->info()->MainTableName();
            const QString identity = added->info()->IdentityField();
            closeAll();
            const int row = newestRow(table, identity);
            if (row <= 0) {
                withoutRow << name;
                continue;
            }
            DataWindow* edited = OpenFormWithParams(
                name, row, { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), row });
            ASSERT_NE(edited, nullptr);
            expectWhole(edited, QStringLiteral("for editing"));
            closeAll();
        }
        RecordProperty(("not_edited_" + size).toStdString(), withoutRow.join(QLatin1Char(' ')).toStdString());
    }
}

// The search windows the menu opens first, one after another: each its own place in a cascade,
// all inside the area, none cut.
TEST_P(WindowSizes, NewWindowsCascadeInsideTheArea)
{
    load(QSize(1280, 1024));
    QList<QPoint> places;
    for (const char* name : { "frmCases", "frmItems", "frmBarcodes", "frmPeople" }) {
        DataWindow* window = ShowFormByName(QString::fromLatin1(name));
        ASSERT_NE(window, nullptr) << name;
        expectWhole(window, QStringLiteral("opened"));
        EXPECT_FALSE(places.contains(window->frame()->pos())) << name << " opened over a window before it";
        places << window->frame()->pos();
    }
}

// A size remembered smaller than what the window needs opens at what it needs.
TEST_P(WindowSizes, ARememberedSmallerSizeIsRaisedToWhatTheWindowNeeds)
{
    ASSERT_TRUE(Act_ExecuteSQL(QStringLiteral("EXEC usp_DB_Form_Size_Save @DB_App_Form_Name = 'frmCase', "
                                              "@DB_Width_Twips = 3000, @DB_Height_Twips = 2000")));
    load(QSize(1280, 1024));
    DataWindow* window = OpenFormWithParams(QStringLiteral("frmCase"), 0, { QStringLiteral("Mode"), 1 });
    ASSERT_NE(window, nullptr);
    expectWhole(window, QStringLiteral("for adding"));
    EXPECT_GE(window->width(), window->contentsMinimumSize().width());
    EXPECT_GE(window->height(), window->contentsMinimumSize().height());
}

// The first start has no remembered size: the main window takes the screen's available area,
// maximised or not.
TEST_P(WindowSizes, TheMainWindowStartsOverTheWholeAvailableScreen)
{
    auto* main = new frmMain;
    m_main = main;
    main->Load();
    main->showOnScreen();
    QApplication::processEvents();
    const QRect available = main->screen()->availableGeometry();
    EXPECT_GE(main->normalGeometry().width(), available.width() * 9 / 10);
    EXPECT_GE(main->normalGeometry().height(), available.height() * 9 / 10);
    EXPECT_TRUE(main->isMaximized());
}

INSTANTIATE_TEST_SUITE_P(Engines, WindowSizes, ::testing::ValuesIn(TestEngines()), EngineTestName);

} // namespace
