#include "form_framework/WindowOpening.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "form_framework/BoundField.h"
#include "form_framework/ChildWindows.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/FormSnapshot.h"
#include "form_framework/MainWindowServices.h"
#include "core/Permissions.h"
#include "form_framework/PickerField.h"
#include "form_framework/QueuedFormParams.h"
#include "form_framework/ResultList.h"
#include "core/SqlText.h"
#include "form_framework/WindowList.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"

#include <QHash>

namespace {

QHash<QString, FormParamDict>& queued()
{
    static QHash<QString, FormParamDict> params;
    return params;
}

QString keyOf(const QString& windowName)
{
    return windowName.trimmed().toLower();
}

bool sameName(const QWidget* window, const QString& name)
{
    return window && window->objectName().compare(name.trimmed(), Qt::CaseInsensitive) == 0;
}

// The window that holds a field control.
DataWindow* windowOf(QWidget* control)
{
    for (QWidget* w = control; w; w = w->parentWidget()) {
        if (auto* window = qobject_cast<DataWindow*>(w))
            return window;
    }
    return nullptr;
}

// The window serves a field of another window: each knows the other until one of them closes.
void linkToParent(DataWindow* window, QWidget* control)
{
    DataWindow* parent = windowOf(control);
    window->info()->setParentControl(control);
    window->info()->setParentForm(parent);
    if (parent)
        parent->info()->setChildForm(window);
}

// Moves a preset field out of the first place of the focus order, so the focus starts on a field
// the user still has to fill.
void moveOutOfFirstFocus(DataWindow* window, QWidget* field)
{
    QWidget* first = window->nextInFocusChain();
    while (first && first != window && !(first->focusPolicy() & Qt::TabFocus))
        first = first->nextInFocusChain();
    if (first != field && !field->isAncestorOf(first))
        return;
    QWidget* last = window->previousInFocusChain();
    if (last && last != field && !field->isAncestorOf(last))
        QWidget::setTabOrder(last, field);
}

} // namespace

namespace FormParams {

bool contains(const QString& windowName)
{
    return queued().contains(keyOf(windowName));
}

FormParamDict& entry(const QString& windowName)
{
    auto it = queued().find(keyOf(windowName));
    if (it == queued().end())
        throw AppError(ErrInternal, QStringLiteral("No start parameters are queued for the window ") + AngleQuote(windowName.trimmed()) + QStringLiteral("."),
                       ApplicationTitle());
    return it.value();
}

void queue(const QString& windowName, const FormParamDict& parameters)
{
    queued().insert(keyOf(windowName), parameters);
}

void remove(const QString& windowName)
{
    queued().remove(keyOf(windowName));
}

} // namespace FormParams

QVariant ControlParameter(QWidget* control)
{
    return QVariant::fromValue(static_cast<QObject*>(control));
}

QWidget* ControlFromParameter(const QVariant& value)
{
    return qobject_cast<QWidget*>(qvariant_cast<QObject*>(value));
}

DataWindow* OpenFormWithParams(const QString& windowName, int identity, const QVariantList& childFormArgs)
{
    BusyPointer busy;
    if (childFormArgs.size() % 2 != 0)
        throw AppError(ErrSubscriptOutOfRange, QStringLiteral("Subscript out of range"), ApplicationTitle());
    FormParamDict parameters;
    for (qsizetype i = 0; i + 1 < childFormArgs.size(); i += 2) {
        if (!parameters.add(childFormArgs.at(i).toString(), childFormArgs.at(i + 1)))
            throw AppError(ErrKeyAlreadyAssociated, QStringLiteral("This key is already associated with an element of this collection"), ApplicationTitle());
    }
    const QueuedFormParams queued(windowName, parameters);
    return identity != 0 ? ShowRecordForm(windowName, identity) : LoadFormByName(windowName);
}

namespace {
QVariantList withMode(FormMode mode, const StartParameters& parameters)
{
    QVariantList list { QStringLiteral("Mode"), static_cast<int>(mode) };
    for (const auto& [name, value] : parameters)
        list << name << value;
    return list;
}
} // namespace

DataWindow* OpenRecordForEdit(const QString& windowName, int identity, const StartParameters& more)
{
    StartParameters parameters { { QStringLiteral("IdentityValue"), identity } };
    parameters.insert(parameters.end(), more.begin(), more.end());
    return OpenFormWithParams(windowName, identity, withMode(FormMode::Edit, parameters));
}

DataWindow* OpenNewRecord(const QString& windowName, const StartParameters& presets)
{
    return OpenFormWithParams(windowName, 0, withMode(FormMode::Add, presets));
}

DataWindow* OpenPickerForm(QWidget* control, const QString& windowName)
{
    FormParamDict parameters;
    parameters.add(QStringLiteral("Mode"), static_cast<int>(FormMode::Pick));
    parameters.add(QStringLiteral("Control"), ControlParameter(control));
    DataWindow* picker = nullptr;
    {
        const QueuedFormParams queued(windowName, parameters);
        picker = LoadFormByName(windowName);
    }
    if (DataWindow* parent = windowOf(control)) {
        parent->setWindowEnabled(false);
        if (MainWindowLoaded() && MainWindow()->openWindows())
            MainWindow()->openWindows()->DisableItem(parent);
    }
    return picker;
}

DataWindow* ShowRecordForm(const QString& windowName, int identity)
{
    const QList<QWidget*> windows = LoadedWindows();
    for (QWidget* w : windows) {
        DataWindow* window = AsDataWindow(w);
        if (!window || !sameName(window, windowName) || !window->info()->zID())
            continue;
        if (window->info()->zID()->Value() == identity) {
            window->bringToFront();
            FormParams::remove(windowName);
            return window;
        }
    }
    return LoadFormByName(windowName);
}

DataWindow* ShowFormByName(const QString& windowName)
{
    const QList<QWidget*> windows = LoadedWindows();
    for (QWidget* w : windows) {
        if (DataWindow* window = AsDataWindow(w); window && sameName(window, windowName)) {
            window->bringToFront(true);
            return window;
        }
    }
    return LoadFormByName(windowName);
}

DataWindow* LoadFormByName(const QString& windowName)
{
    DataWindow* window = FormRegistry::create(windowName);
    const QSize designSize = window->size();
    if (MainWindowLoaded()) {
        MainWindow()->addChildWindow(window);
        window->fitFrameTo(designSize);
    }
    AddLoadedWindow(window);
    try {
        window->info()->Load();
    } catch (...) {
        RemoveLoadedWindow(window);
        delete window->frame();
        FormParams::remove(windowName);
        throw;
    }
    zInfo* info = window->info();
    if (info->FormType() == FormType::Record && info->zID() && info->zID()->Value() == -1) {
        // The load failed and has been reported: the window goes again without a question.
        info->setRefreshScreen(false);
        info->setDataChanged(false);
        UnloadWindow(window);
        return nullptr;
    }
    window->frame()->show();
    return window;
}

void OpenTableForm(const QString& tableName)
{
    if (!CheckTablePermission(QStringLiteral("View"), tableName, true))
        return;
    const auto name = GetProcedureValue(
        QStringLiteral("usp_DB_Multiple_Records_Form_For_Table"), { { QStringLiteral("DB_Table_Name"), trimBlanks(tableName) } });
    if (!name || name->isNull() || name->toString().isEmpty())
        throw AppError(ErrToReport, QStringLiteral("No search window is registered for the table ") + AngleQuote(tableName.trimmed()) + QStringLiteral("."),
                       ApplicationTitle());
    ShowFormByName(name->toString());
}

bool Act_StandardProcessOnLoadMessage(DataWindow* window)
{
    const QString name = window->objectName();
    ActionScope action(QStringLiteral("modActFunctions"), QStringLiteral("Act_StandardProcessOnLoadMessage"),
                       QStringLiteral("Process On Load Message (Standard A&E) for form ") + AngleQuote(name));
    const bool result = action.run([&] {
        FormParamDict& parameters = FormParams::entry(name);
        zInfo* info = window->info();
        if (parameters.contains(QStringLiteral("PositionX"))) {
            window->moveTwips(parameters.value(QStringLiteral("PositionX")).toInt(), parameters.value(QStringLiteral("PositionY")).toInt());
            parameters.remove(QStringLiteral("PositionX"));
            parameters.remove(QStringLiteral("PositionY"));
        }
        if (parameters.contains(QStringLiteral("DefaultValue"))) {
            info->setDefaultValue(parameters.value(QStringLiteral("DefaultValue")).toString());
            parameters.remove(QStringLiteral("DefaultValue"));
        }
        if (!parameters.contains(QStringLiteral("Mode")))
            throw AppError(ErrInternal, QStringLiteral("The start parameter Mode is missing."), ApplicationTitle());
        info->setMode(static_cast<FormMode>(parameters.value(QStringLiteral("Mode")).toInt()));
        parameters.remove(QStringLiteral("Mode"));
        if (parameters.contains(QStringLiteral("Control"))) {
            if (info->Mode() == FormMode::Add) {
                linkToParent(window, ControlFromParameter(parameters.value(QStringLiteral("Control"))));
            }
            parameters.remove(QStringLiteral("Control"));
        }
        if (info->Mode() == FormMode::Add) {
            info->SetDefaults();
            window->BeforeApplyPresets(parameters);
            if (!parameters.isEmpty()) {
                for (BoundField* field : FieldsOf(window)) {
                    if (!field->Applicable() || !parameters.contains(field->DBFieldName()))
                        continue;
                    field->setValue(parameters.value(field->DBFieldName()));
                    moveOutOfFirstFocus(window, dynamic_cast<QWidget*>(field));
                }
            }
        } else if (info->Mode() == FormMode::Edit) {
            if (info->zID())
                info->zID()->setValue(parameters.value(QStringLiteral("IdentityValue")).toInt());
            if (!info->Act_PopulateFormEdit())
                RaiseSilent();
            info->setMode(info->Mode());
            info->setSnapShot(GetFormSnapshot(window));
        }
    });
    FormParams::remove(name);
    return result;
}

bool Act_StandardProcessOnLoadMessageSS(DataWindow* window)
{
    const QString name = window->objectName();
    ActionScope action(QStringLiteral("modActFunctions"), QStringLiteral("Act_StandardProcessOnLoadMessageSS"),
                       QStringLiteral("Process On Load Message (Standard S&S) for form ") + AngleQuote(name));
    bool hadEntry = false;
    const bool result = action.run([&] {
        if (!FormParams::contains(name))
            return;
        hadEntry = true;
        FormParamDict& parameters = FormParams::entry(name);
        zInfo* info = window->info();
        if (parameters.contains(QStringLiteral("Mode"))) {
            info->setMode(static_cast<FormMode>(parameters.value(QStringLiteral("Mode")).toInt()));
            parameters.remove(QStringLiteral("Mode"));
        } else {
            info->setMode(FormMode::SearchList);
        }
        if (info->Mode() == FormMode::Pick) {
            QWidget* control = ControlFromParameter(parameters.value(QStringLiteral("Control")));
            linkToParent(window, control);
            // A field that already holds a value shows that one row first.
            auto* field = dynamic_cast<BoundField*>(control);
            const bool chosen = field
                && ((field->fieldKind() == FieldKind::Text && field->FKValue() > 0)
                    || (field->fieldKind() == FieldKind::ComboBoxText && field->Value().toInt() > 0));
            if (chosen && info->resultList()) {
                info->resultList()->AddListViewItems(info->SearchSQLOne() + QStringLiteral(" @") + info->IdentityField()
                                                     + QStringLiteral(" = ") + field->ResultDBValue());
                info->setPopulateOnStart(false);
            }
            SetCaption(window, QStringLiteral("Select ") + info->FormCaption());
            parameters.remove(QStringLiteral("Control"));
        }
        if (!parameters.isEmpty()) {
            // Preset criteria enter the search as the fields' own SQL literals.
            QString text = info->SearchSQL();
            const bool procedure = text.left(4).compare(QLatin1String("EXEC"), Qt::CaseInsensitive) == 0;
            bool first = true;
            for (BoundField* field : FieldsOf(window)) {
                if (!field->Applicable() || !parameters.contains(field->DBFieldName()))
                    continue;
                field->setValue(parameters.value(field->DBFieldName()));
                const QString literal = SnapshotLiteral(*field);
                if (procedure)
                    text += (first ? QStringLiteral(" @") : QStringLiteral(", @")) + field->DBFieldName() + QStringLiteral(" = ") + literal;
                else
                    text += (first ? QStringLiteral(" ") : QStringLiteral(" AND ")) + field->DBFieldName() + QStringLiteral(" = ") + literal;
                first = false;
            }
            if (info->resultList()) {
                info->resultList()->setPopulateSQL(text);
                info->resultList()->Populate();
            }
            info->setPopulateOnStart(false);
        }
    });
    if (hadEntry)
        FormParams::remove(name);
    return result;
}
