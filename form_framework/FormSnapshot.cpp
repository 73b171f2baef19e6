#include "form_framework/FormSnapshot.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "form_framework/BoundField.h"
#include "form_framework/DataWindow.h"
#include "form_framework/FailureLog.h"
#include "form_framework/MainWindowServices.h"
#include "form_framework/SharedReads.h"
#include "form_framework/WindowList.h"
#include "form_framework/zInfo.h"

#include <QPointer>

#include <vector>

QList<BoundField*> FieldsOf(const DataWindow* window)
{
    QList<BoundField*> fields;
    const QList<QWidget*> children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (auto* field = dynamic_cast<BoundField*>(child))
            fields << field;
    }
    return fields;
}

QString SnapshotLiteral(const BoundField& field)
{
    switch (field.fieldKind()) {
    case FieldKind::Text:
    case FieldKind::Numeric:
        return field.ResultDBValue();
    default:
        return field.DBValue();
    }
}

PairDictionary GetFormSnapshot(const DataWindow* window)
{
    PairDictionary snapshot;
    const FormMode mode = window->info()->Mode();
    const bool record = mode == FormMode::Add || mode == FormMode::Edit;
    const bool search = mode == FormMode::SearchList || mode == FormMode::Pick;
    if (!record && !search)
        return snapshot;
    for (BoundField* field : FieldsOf(window)) {
        if (!field->PartOfTheQuery())
            continue;
        bool take = false;
        switch (field->fieldKind()) {
        case FieldKind::ComboBoxText:
            take = record || field->Value().toInt() > 0;
            break;
        case FieldKind::Memo:
            take = record;
            break;
        case FieldKind::Text:
        case FieldKind::Numeric:
        case FieldKind::Date:
        case FieldKind::Money:
            take = record || !field->IsMissing();
            break;
        case FieldKind::CheckBox:
            take = true;
            break;
        case FieldKind::CheckBoxList:
            take = search && !field->IsMissing();
            break;
        }
        if (!take)
            continue;
        if (!snapshot.add(field->DBFieldName(), SnapshotLiteral(*field)))
            throw AppError(ErrKeyAlreadyAssociated, QStringLiteral("This key is already associated with an element of this collection"), ApplicationTitle());
    }
    return snapshot;
}

PairDictionary GetChangedValues(const PairDictionary& oldSnapshot, const PairDictionary& newSnapshot)
{
    // Paired by field name: both come from the same window, but a name is what a value belongs to.
    PairDictionary changed;
    for (qsizetype i = 0; i < oldSnapshot.count(); ++i) {
        const QString& key = oldSnapshot.keys().at(i);
        if (!newSnapshot.contains(key))
            throw AppError(ErrInternal, QStringLiteral("The field ") + key + QStringLiteral(" is missing from the window's values."), ApplicationTitle());
        const QString now = newSnapshot.value(key);
        if (oldSnapshot.values().at(i).compare(now, Qt::CaseSensitive) != 0)
            changed.add(key, now);
    }
    return changed;
}

namespace {
std::vector<DataChangedListener>& listeners()
{
    static std::vector<DataChangedListener> registered;
    return registered;
}
} // namespace

void AddDataChangedListener(DataChangedListener listener)
{
    listeners().push_back(std::move(listener));
}

void BroadcastDataChanged(DataChangedAction action, const QString& tableName, const QString& idList)
{
    for (const DataChangedListener& listener : listeners()) {
        try {
            listener(action, tableName, idList);
        } catch (...) {
            LogSwallowedFailure(QStringLiteral("kept list's data-changed message for ") + tableName);
        }
    }
    // Every window loaded when the broadcast starts hears it once, unless it has closed before its
    // turn; one window's failure does not stop the others.
    QList<QPointer<QWidget>> receivers;
    const SharedReads shared;
    for (QWidget* window : LoadedWindows())
        receivers << window;
    for (const QPointer<QWidget>& receiver : receivers) {
        DataWindow* window = AsDataWindow(receiver.data());
        if (!window || !LoadedWindows().contains(window))
            continue;
        try {
            window->info()->ProcessDataChangedMessage(action, tableName, idList);
        } catch (...) {
            LogSwallowedFailure(window->objectName() + QStringLiteral(" data-changed message for ") + tableName);
        }
    }
    if (MainWindowServices* main = MainWindow()) {
        try {
            main->dataChanged(action, tableName, idList);
        } catch (...) {
            LogSwallowedFailure(QStringLiteral("The main window's data-changed message for ") + tableName);
        }
    }
}
