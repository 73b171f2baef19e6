#include "form_framework/FieldAccessibility.h"

#include "form_framework/zFieldBase.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

// The field control itself: only a container of the box, its label and its button.
class FieldControlAccessible final : public QAccessibleWidget {
public:
    explicit FieldControlAccessible(QWidget* field)
        : QAccessibleWidget(field, QAccessible::Client)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        // The name is the box's; repeating it here (or taking the label's text, as a plain
        // widget would) announces the field twice.
        if (t == QAccessible::Name)
            return {};
        return QAccessibleWidget::text(t);
    }
};

// The drop-down list of a picker: named by the field, valued by the chosen entry. (The toolkit's
// own drop-down names itself by its current text, which hides which field it is.)
class FieldComboAccessible final : public QAccessibleWidget {
public:
    explicit FieldComboAccessible(QComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = combo()->isEditable();
        state.expandable = true;
        state.expanded = combo()->view() && combo()->view()->isVisible();
        return state;
    }
    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << showMenuAction(); }
    void doAction(const QString& actionName) override
    {
        if (actionName == showMenuAction())
            combo()->showPopup();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* fieldAccessibleFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (qobject_cast<zFieldBase*>(widget))
        return new FieldControlAccessible(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        auto* field = qobject_cast<zFieldBase*>(combo->parentWidget());
        if (field && field->inputBox() == combo)
            return new FieldComboAccessible(combo);
    }
    return nullptr;
}

} // namespace

void InstallFieldAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(fieldAccessibleFactory);
        return true;
    }();
    (void)installed;
}
