#pragma once

#include <QString>

#include <functional>

class QDialog;
class QLabel;

// What a label shows, read as a screen reader reads it: a text the label takes for markup comes
// back rendered ("<b>x</b>" as "x", "<Table Permission>" as nothing), a plain text as it is.
QString ShownText(const QLabel* label);

// Once the next modal dialog is up (a message box, an input box), hands it to `read` and then
// closes it as Esc does. Call before the code that shows the dialog.
void WhenDialogShown(std::function<void(QDialog*)> read);
