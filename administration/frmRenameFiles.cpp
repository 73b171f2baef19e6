#include "administration/frmRenameFiles.h"

#include "administration/FileTools.h"
#include "core/Platform.h"
#include "core/TextUtilities.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zText.h"

#include <QLineEdit>

frmRenameFiles::frmRenameFiles()
    : FileToolWindow(QStringLiteral("frmRenameFiles"), QStringLiteral("Rename Files"), QStringLiteral("&Rename Files"),
        QStringLiteral("RenameFiles"), 20)
{
    ztxtFolder->setSettingName(QStringLiteral("DB_Rename_Files_Folder"));
    zchkSubFolders->setSettingName(QStringLiteral("DB_Rename_Files_Include_Sub_Folders"));
    // A new name stays in its folder: a separator would move the file elsewhere.
    ztxtReplaceWith->setFinalValidation([this] {
        const QString text = ztxtReplaceWith->box()->text();
        if (text.contains(QLatin1Char('/')) || text.contains(QLatin1Char('\\')))
            return ztxtReplaceWith->GoodName() + QStringLiteral(" cannot contain a path separator");
        return differentFromFindWhat();
    });
}

void frmRenameFiles::ProcessCommand(MainCommand command)
{
    // The export commands are ignored without a sound.
    if (static_cast<int>(command) >= 1 && static_cast<int>(command) <= 4)
        return;
    Platform::prompt().beep();
}

QList<zFieldBase*> frmRenameFiles::fieldsToCheck() const { return { ztxtFolder, ztxtFindWhat, ztxtReplaceWith }; }

void frmRenameFiles::RunRenameFiles()
{
    setResultText(QStringLiteral(">> Folder: ") + ztxtFolder->box()->text().trimmed());
    walk(QStringLiteral("*.*"), [this](const QString& folder, const QString& name) { RenameOneFile(folder, name); });
}

void frmRenameFiles::RenameOneFile(const QString& folder, const QString& name)
{
    const QString findWhat = ztxtFindWhat->box()->text();
    if (!name.contains(findWhat, Qt::CaseInsensitive))
        return;
    const QString newName = ReplacedName(name, findWhat, ztxtReplaceWith->box()->text());
    QString message;
    bool renamed = false;
    if (newName.isEmpty() || newName == QLatin1String(".") || newName == QLatin1String(".."))
        message = QStringLiteral("Error 52. Bad file name or number");
    else
        renamed = RenameFile(folder + name, folder + newName, message);
    if (renamed)
        AddResultText(folder + name + QStringLiteral(" => ") + folder + newName);
    else
        AddResultText(QStringLiteral("Cannot rename file ") + folder + name + QStringLiteral(" - ") + message);
}
