#include "declared_windows/DeclaredSearchWindow.h"

#include "core/Actions.h"
#include "exports/Exports.h"
#include "form_framework/FormSnapshot.h"
#include "core/Platform.h"
#include "exports/RecordsetFiles.h"
#include "exports/SpreadsheetExport.h"
#include "core/SqlText.h"
#include "core/TextUtilities.h"
#include "form_framework/zButtonsSearch.h"
#include "list_controls/zComboBoxText.h"
#include "form_framework/zFieldBase.h"
#include "form_framework/zInfo.h"
#include "form_framework/zLabel.h"
#include "list_controls/zListView.h"

#include <QGroupBox>
#include <QGridLayout>
#include <QPushButton>

namespace {

constexpr int kMargin = 8;
constexpr int kOptionsTop = 4;
constexpr int kPopulateWidth = 90;
constexpr int kPopulateHeight = 28;
constexpr int kCriteriaRowWidth = 640;

} // namespace

DeclaredSearchWindow::DeclaredSearchWindow(const DeclaredTable& table)
    : DataWindow(table.searchWindow)
    , m_table(table)
{
    setWindowTitle(table.pluralCaption);
    m_options = new QGroupBox(QStringLiteral("Search Options"), this);
    m_options->setObjectName(QStringLiteral("fraSearchOptions"));
    // The criteria stand in a row, wrapped onto a further row where one row would make the
    // window wider than a main window's area on the clerks' screens.
    auto* options = new QGridLayout(m_options);
    int labelIndex = 0;
    int row = 0;
    int column = 0;
    int rowWidth = 0;
    for (const DeclaredField& declared : table.criteria) {
        zFieldBase* editor = CreateFieldEditor(declared, m_options);
        // A criterion is never unique and never required of the table's rows.
        editor->setUnique(false);
        if (auto* picker = qobject_cast<zComboBoxText*>(editor))
            picker->setGeneralItem(true);
        zLabel* label = nullptr;
        if (!declared.label.isEmpty()) {
            label = new zLabel(m_options);
            label->setObjectName(QStringLiteral("zlabel1(%1)").arg(labelIndex++));
            label->setValue(declared.label);
            label->setBuddy(editor);
        }
        const int width = (label ? label->sizeHint().width() : 0) + editor->sizeHint().width() + 2 * kMargin;
        if (column > 0 && rowWidth + width > kCriteriaRowWidth) {
            ++row;
            column = 0;
            rowWidth = 0;
        }
        if (label)
            options->addWidget(label, row, column);
        options->addWidget(editor, row, column + 1);
        options->setColumnStretch(column + 1, 1);
        column += 2;
        rowWidth += width;
        m_criteria << editor;
    }
    // A table without criteria shows no frame for them (an empty grey box only puzzles the user);
    // the grid then starts below the Populate button.
    m_options->setVisible(!m_criteria.isEmpty());
    const int optionsHeight = m_criteria.isEmpty() ? kPopulateHeight : qMax(44, m_options->sizeHint().height());
    m_options->setGeometry(kMargin, kOptionsTop, 400, optionsHeight);

    m_populate = new QPushButton(QStringLiteral("&Populate"), this);
    m_populate->setObjectName(QStringLiteral("btnPopulate"));
    const int populateTop
        = m_criteria.isEmpty() ? kOptionsTop : kOptionsTop + (optionsHeight - kPopulateHeight) / 2 + 4;
    m_populate->setGeometry(420, populateTop, kPopulateWidth, kPopulateHeight);

    m_grid = new zListView(this);
    m_grid->setObjectName(QStringLiteral("zlvwData"));
    m_grid->move(kMargin, kOptionsTop + optionsHeight + kMargin);

    m_buttons = new zButtonsSearch(this);
    m_buttons->setObjectName(QStringLiteral("zbtnButtons"));

    zInfo* z = info();
    z->setFormType(FormType::Search);
    z->setMode(FormMode::SearchList);
    z->setFormCaption(table.caption);
    z->setMainTableName(table.table);
    z->setIdentityField(table.identityField);
    z->setSearchSQL(table.searchProcedure());
    z->setSearchSQLOne(table.searchOneProcedure());
    z->setDaughterFormName(table.recordWindow);
    z->setPopulateOnStart(table.populateOnStart);
    connect(m_populate, &QPushButton::clicked, this, &DataWindow::PopulateData);
    connect(m_buttons, &zButtonsSearch::ActionClick, this, [this](QString& name) { runAction(name); });
    m_buttons->setAllowNew(table.searchAllowNew);
    m_buttons->setAllowEdit(table.searchAllowEdit);
    m_buttons->setAllowDelete(table.searchAllowDelete);
    m_buttons->setAllowRecordHistory(table.searchAllowRecordHistory);
    m_grid->setOpenRowOnActivate(table.gridOpensRow);
    if (table.extendSearchWindow)
        table.extendSearchWindow(*this);
    resize(contentsMinimumSize().expandedTo(QSize(640, 420)));
}

QSize DeclaredSearchWindow::contentsMinimumSize() const
{
    // Wide enough for every criterion beside the Populate button, so no caption or picker is cut.
    const int criteriaWidth = m_criteria.isEmpty() ? 0 : m_options->sizeHint().width();
    const int width = qMax(kMargin + criteriaWidth + kMargin + kPopulateWidth + kMargin, m_buttons->sizeHint().width());
    constexpr int kLeastGridHeight = 96; // a few rows
    return { width, m_grid->y() + kLeastGridHeight + m_buttons->sizeHint().height() };
}

QString DeclaredSearchWindow::GetSearchSQL()
{
    if (!info()->CheckFields())
        return QString();
    return BuildExecSQL(info()->SearchSQL(), GetFormSnapshot(this));
}

void DeclaredSearchWindow::runAction(const QString& actionName) const
{
    // The grid's current row may be left over after the user cleared the selection, so only a
    // selected row counts.
    const int identity = m_grid->SelectedItemID();
    if (m_grid->CountSelectedItems() > 0 && identity > 0)
        m_actions.run(actionName, identity);
    else
        m_actions.run(actionName, std::nullopt);
}

void DeclaredSearchWindow::resizeEvent(QResizeEvent* event)
{
    // The controller sizes the grid, the criteria frame and the Populate button; the bar stands
    // along the bottom edge.
    const int barHeight = m_buttons->sizeHint().height();
    m_buttons->setGeometry(0, qMax(0, height() - barHeight), width(), barHeight);
    DataWindow::resizeEvent(event);
}

void DeclaredSearchWindow::ProcessCommand(MainCommand which)
{
    if (which != MainCommand::TabDelimited && which != MainCommand::Excel && which != MainCommand::XML
        && which != MainCommand::ADTG) {
        Platform::prompt().beep();
        return;
    }
    const QString sql = GetSearchSQL();
    if (sql.isEmpty())
        return;
    const QString title = Plural(info()->FormCaption());
    ActionScope action(objectName(), QStringLiteral("ProcessCommand"), QStringLiteral("Export ") + title);
    action.run([&] {
        switch (which) {
        case MainCommand::TabDelimited:
            ExportToText(sql, title, QString());
            break;
        case MainCommand::Excel:
            ExportToExcel(sql, title, { title }, true, QString(), false);
            break;
        case MainCommand::XML:
            SaveRecordsetAs(sql, static_cast<int>(RecordsetFormat::XML), title);
            break;
        default:
            SaveRecordsetAs(sql, static_cast<int>(RecordsetFormat::ADTG), title);
            break;
        }
    });
}

void DeclaredSearchWindow::PopulateShortcuts()
{
    for (const QString& caption : m_actions.captions())
        m_buttons->AddAction(caption);
}
