#include "administration/frmReplaceText.h"

#include "administration/FileTools.h"
#include "core/Platform.h"
#include "core/TextUtilities.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zText.h"

#include <QLineEdit>

frmReplaceText::frmReplaceText()
    : FileToolWindow(QStringLiteral("frmReplaceText"), QStringLiteral("Replace Text"), QStringLiteral("&Replace Text"),
        QStringLiteral("ReplaceText"), 0)
{
    ztxtFolder->setSettingName(QStringLiteral("DB_Replace_Text_Folder"));
    ztxtExtensions = new zText(this);
    ztxtExtensions->setObjectName(QStringLiteral("ztxtExtensions"));
    ztxtExtensions->setGoodName(QStringLiteral("File Extensions"));
    ztxtExtensions->setRequired(true);
    ztxtExtensions->setMaxLength(20);
    ztxtExtensions->setPartOfTheQuery(false);
    ztxtExtensions->setSettingName(QStringLiteral("DB_Replace_Text_Extensions"));
    ztxtExtensions->setMinimumSize(240, 24);
    addRow(QStringLiteral("File Extensions:"), ztxtExtensions);
    zchkSubFolders->setSettingName(QStringLiteral("DB_Replace_Text_Include_Sub_Folders"));
}

void frmReplaceText::ProcessCommand(MainCommand command)
{
    Q_UNUSED(command);
    Platform::prompt().beep();
}

QList<zFieldBase*> frmReplaceText::fieldsToCheck() const
{
    return { ztxtFolder, ztxtExtensions, ztxtFindWhat, ztxtReplaceWith };
}

void frmReplaceText::loadSettings()
{
    ztxtFolder->GetSetting();
    zchkSubFolders->GetSetting();
    ztxtExtensions->GetSetting();
}

void frmReplaceText::saveSettings()
{
    ztxtFolder->SaveSetting();
    zchkSubFolders->SaveSetting();
    ztxtExtensions->SaveSetting();
}

void frmReplaceText::RunReplaceText()
{
    // The raw box text: a blank or ";" at either end still gives its empty entry.
    const QStringList extensions = SplitExtensionList(ztxtExtensions->box()->text());
    const QString findWhat = ztxtFindWhat->box()->text();
    const QString replaceWith = ztxtReplaceWith->box()->text();
    const QString typedFolder = ztxtFolder->box()->text().trimmed();
    setResultText(QStringLiteral(">> Include SubFolders: ") + FormatYesNoText(zchkSubFolders->Value()));
    for (const QString& extension : extensions) {
        AddResultText(QStringLiteral(">> Extension: ") + extension);
        const QString pattern = QStringLiteral("*.") + extension;
        AddResultText(QStringLiteral(">> File Pattern: ") + pattern);
        AddResultText(QStringLiteral(">> Folder: ") + typedFolder);
        walk(pattern, [&](const QString& folder, const QString& name) {
            const QString failure
                = runAside([&] { return ReplaceTextInFile(folder + name, findWhat, replaceWith); });
            AddResultText(folder + name
                + (failure.isEmpty() ? QStringLiteral(" - Text replaced") : QStringLiteral(" - Failed, ") + failure));
        });
    }
}
