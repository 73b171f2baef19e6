#include "core/MessageBoxes.h"

#include "core/AppInfo.h"
#include "core/Platform.h"

using namespace MsgBox;

int ShowMessageBox(const QString& text, int style, const QString& title)
{
    PointerControl& pointer = Platform::pointer();
    const PointerShape before = pointer.current();
    pointer.set(PointerShape::Arrow);
    const int answer = Platform::prompt().messageBox(text, style, title);
    pointer.set(before);
    return answer;
}

int ConfirmDelete(const QString& objectText)
{
    return ShowMessageBox(QStringLiteral("Are you sure you want to delete ") + objectText + QStringLiteral("?"),
                          YesNoCancel | Question | DefaultButton2, QStringLiteral("Delete Confirmation"));
}

int ConfirmSaveChanges(const QString& objectText)
{
    return ShowMessageBox(QStringLiteral("Do you to want save the changes you made to the ") + objectText + QStringLiteral("?"),
                          YesNoCancel | Question, QStringLiteral("Save Changes?"));
}

void ShowValidationMessage(const QString& text)
{
    ShowMessageBox(text, OKOnly | Exclamation, QStringLiteral("Fields Validation"));
}

int ConfirmProceed(const QString& text)
{
    return ShowMessageBox(text, YesNoCancel | Question | DefaultButton2, QStringLiteral("Proceed?"));
}

int AskQuestion(const QString& text, const QString& title, int extraStyle)
{
    return ShowMessageBox(text, YesNoCancel | Question | extraStyle, title);
}

void ShowErrorMessage(const QString& text)
{
    ShowMessageBox(text, OKOnly | Exclamation, QStringLiteral("Error"));
}

void ShowInfoMessage(const QString& text)
{
    ShowMessageBox(text, OKOnly | Information, ApplicationTitle());
}
