#include "support/ShownTexts.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QTimer>

QString ShownText(const QLabel* label)
{
    QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(const_cast<QLabel*>(label));
    return shown ? shown->text(QAccessible::Name) : QString();
}

namespace {
void readWhenUp(std::function<void(QDialog*)> read, int triesLeft)
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) {
        if (triesLeft > 0)
            QTimer::singleShot(10, qApp, [read = std::move(read), triesLeft] { readWhenUp(read, triesLeft - 1); });
        return;
    }
    read(dialog);
    dialog->reject();
}
} // namespace

void WhenDialogShown(std::function<void(QDialog*)> read)
{
    QTimer::singleShot(0, qApp, [read = std::move(read)] { readWhenUp(read, 500); });
}
