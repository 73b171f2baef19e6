#include "form_framework/BarButtons.h"

#include "form_framework/DataWindow.h"

#include <QPushButton>
#include <QShortcut>

namespace BarButtons {
QPushButton* make(QWidget* bar, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, bar);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

DataWindow* containerOf(const QWidget* bar)
{
    for (QWidget* w = bar->parentWidget(); w; w = w->parentWidget()) {
        if (auto* data = qobject_cast<DataWindow*>(w))
            return data;
    }
    return nullptr;
}

void installEscape(QWidget* bar, QPushButton* close)
{
    QWidget* host = containerOf(bar);
    if (!host)
        host = bar->window();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), host);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(escape, &QShortcut::activated, close, [close] {
        if (close->isVisible() && close->isEnabled())
            close->click();
    });
}

int scaled(int designed, int barHeight, int units)
{
    return (designed * barHeight + units / 2) / units;
}
} // namespace BarButtons
