#include "declared_windows/FieldRows.h"

#include "declared_windows/DeclaredControl.h"
#include "form_framework/zLabel.h"
#include "form_framework/zMoney.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QPushButton>

void FieldRows::add(QWidget* control) { m_controls.insert(control->objectName(), control); }

FieldRows AddDeclaredFields(
    QWidget* window, QBoxLayout* rows, const std::vector<DeclaredField>& fields, int captionWidth)
{
    FieldRows made(window->objectName());
    int labels = 0;
    for (size_t first = 0; first < fields.size();) {
        // A field and the fields declared beside it share one row.
        size_t end = first + 1;
        while (end < fields.size() && fields[end].besidePrevious)
            ++end;
        const bool alone = end == first + 1 && fields[first].sideButtons.empty();
        auto* row = new QHBoxLayout;
        int stretch = 0;
        for (size_t index = first; index < end; ++index) {
            const DeclaredField& declared = fields[index];
            QWidget* widget = CreateFieldWidget(declared, window);
            made.add(widget);
            for (const DeclaredField::Button& option : declared.optionButtons) {
                if (auto* button = widget->findChild<QAbstractButton*>(option.name))
                    made.add(button);
            }
            // The money field's caption names the amount box, which is what takes the focus.
            QWidget* buddy = widget;
            if (auto* money = qobject_cast<zMoney*>(widget))
                buddy = money->amount();
            if (!declared.label.isEmpty()) {
                auto* label = new zLabel(window);
                label->setObjectName(
                    declared.labelName.isEmpty() ? QStringLiteral("zlabel1(%1)").arg(labels) : declared.labelName);
                label->setValue(declared.label);
                label->setRequired(declared.isRequired);
                label->setBuddy(buddy);
                if (index == first && captionWidth > 0)
                    label->setMinimumWidth(captionWidth);
                row->addWidget(label, 0, Qt::AlignTop);
                made.add(label);
                ++labels;
            }
            row->addWidget(widget, index == first && alone ? 1 : 0);
            for (const DeclaredField::Button& side : declared.sideButtons) {
                auto* button = new QPushButton(side.caption, window);
                button->setObjectName(side.name);
                button->setAccessibleName(QString(side.caption).remove(QLatin1Char('&')));
                button->setAutoDefault(false);
                row->addWidget(button);
                made.add(button);
            }
            if (declared.editor == DeclaredField::Editor::Memo)
                stretch = 1;
        }
        if (!alone)
            row->addStretch();
        rows->addLayout(row, stretch);
        first = end;
    }
    CheckDeclaredControls(made);
    return made;
}
