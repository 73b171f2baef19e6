#include "custody/ItemFileWindows.h"

#include "custody/CustodyWindows.h"

#include "cases/PeopleWindows.h"
#include "core/Actions.h"
#include "core/Database.h"
#include "core/FileDialogs.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "core/Viewers.h"
#include "declared_windows/DeclaredControl.h"
#include "declared_windows/DeclaredRecordWindow.h"
#include "declared_windows/DeclaredSearchWindow.h"
#include "exports/OfficePrograms.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zImage.h"
#include "form_framework/zText.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString InitFolderSetting = QStringLiteral("DB_Item_File_Init_Folder");

DeclaredField itemPicker()
{
    return DeclaredField::pickerOf(QStringLiteral("zcbtItem"), QStringLiteral("Item_ID"), QStringLiteral("Item Number"),
        QStringLiteral("usp_Evd_DropDown_Items"), QStringLiteral("Items"))
        .recordCodes(QLatin1Char('I'), true);
}

// "View Item" of both windows: the item of the item file, or the clerk is told it is gone.
void viewItem(int itemFileId)
{
    ActionScope action(QStringLiteral("ItemFileWindows"), QStringLiteral("ActionClick"), QStringLiteral("View Item"));
    action.run([itemFileId] {
        const auto item = GetSQLValue(
            QStringLiteral("SELECT Item_ID FROM Item_Files WHERE Item_File_ID = ") + QString::number(itemFileId));
        const int itemId = item && !item->isNull() ? item->toInt() : 0;
        if (itemId <= 0)
            return ShowRelatedRecordGone();
        OpenRecordForEdit(QStringLiteral("frmItem"), itemId);
    });
}

QPushButton* sideButton(QWidget* parent, const QString& name, const QString& caption, bool enabled)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    button->setAutoDefault(false);
    button->setEnabled(enabled);
    return button;
}

// The register identity of a path, registering folder and file when they are new; 0 for a path
// that names no file (nothing is registered for it) or that the register does not resolve.
int registerFile(const QString& path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile())
        return 0;
    const auto identity = GetProcedureValue(QStringLiteral("usp_DB_Get_DB_File_ID"),
        { { QStringLiteral("DB_Folder_Name"), trimBlanks(file.absolutePath()) },
            { QStringLiteral("DB_File_Name"), trimBlanks(file.fileName()) } });
    return identity && !identity->isNull() ? identity->toInt() : 0;
}

// The controls the item file window's hooks use; the picture and its Refresh button are the
// window's own, added beside the declared fields.
const DeclaredControl<zText> FilePath { { "frmItemFile" }, "ztxtPath" };
const DeclaredControl<zCheckBox> FilePreview { { "frmItemFile" }, "zchkPreview" };
const DeclaredControl<QPushButton> FileBrowse { { "frmItemFile" }, "btnBrowse" };
const DeclaredControl<zImage> FileImage { { "frmItemFile" }, "zimgImage" };
const DeclaredControl<QPushButton> FileRefresh { { "frmItemFile" }, "btnRefresh" };

void extendItemFileWindow(DeclaredRecordWindow& window)
{
    auto* path = FilePath.in(window);
    auto* preview = FilePreview.in(window);

    // The picture with its buttons, between the fields and the button bar.
    auto* panel = new QWidget(&window);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    auto* image = new zImage(panel);
    image->setObjectName(QStringLiteral("zimgImage"));
    image->setAccessibleName(QStringLiteral("Image Preview"));
    image->setMinimumSize(240, 180);
    panelLayout->addWidget(image, 1);
    auto* side = new QVBoxLayout;
    panelLayout->addLayout(side);
    auto* view = sideButton(&window, QStringLiteral("btnView"), QStringLiteral("&View Image..."), false);
    auto* refresh = sideButton(&window, QStringLiteral("btnRefresh"), QStringLiteral("&Refresh"), false);
    auto* paint = sideButton(&window, QStringLiteral("btnPaint"), QStringLiteral("Open With Paint..."), false);
    auto* editor = sideButton(&window, QStringLiteral("btnPhotoshop"), QStringLiteral("Open With ..."), false);
    for (QPushButton* button : { view, refresh, paint, editor })
        side->addWidget(button);
    side->addStretch(1);
    if (auto* outer = qobject_cast<QVBoxLayout*>(window.layout()))
        outer->insertWidget(1, panel, 1);
    window.resize(window.width(), window.sizeHint().height());

    // The image display and the buttons that act on the file follow the path.
    QObject::connect(path, &zFieldBase::Change, &window, [=] {
        const QString shown = path->Text();
        image->setImagePath(shown);
        for (QPushButton* button : { view, paint, editor })
            button->setEnabled(!shown.isEmpty());
    });
    path->setOnLostFocusValidation([path]() -> QString {
        if (!QFileInfo(path->Text()).isFile())
            return QStringLiteral("File doesn't exist");
        return {};
    });
    path->setGetFKFromValue([path] { return registerFile(path->Text()); });

    const auto showPreview = [=] {
        const bool on = preview->Value().toBool();
        image->setPreview(on);
        refresh->setEnabled(on);
    };
    QObject::connect(preview, &zFieldBase::Change, &window, [=] {
        showPreview();
        preview->SaveSetting();
    });
    showPreview();

    QObject::connect(FileBrowse.in(window), &QPushButton::clicked, &window, [&window, path] {
        QVariant folder(QString {});
        Act_GetSettingDB(InitFolderSetting, folder);
        const QString chosen = Dialogs::files().openFileName(&window, QStringLiteral("Open File"), folder.toString(),
            QStringLiteral("Pictures (*.[bB][mM][pP] *.[jJ][pP][gG]);;All Files (*)"));
        if (chosen.isEmpty())
            return;
        Act_SaveSettingDB(InitFolderSetting, QFileInfo(chosen).absolutePath());
        path->setValue(chosen);
    });
    QObject::connect(refresh, &QPushButton::clicked, image, &zImage::Refresh);
    QObject::connect(view, &QPushButton::clicked, &window, [image] { ShowImage(image->ImagePath()); });
    QObject::connect(paint, &QPushButton::clicked, &window, [image] { OpenInPaint(image->ImagePath()); });
    QObject::connect(editor, &QPushButton::clicked, &window, [image] { OpenInPhotoshop(image->ImagePath()); });

    window.addAction(QStringLiteral("View Item"), viewItem);
}

// The preview choice is the user's, read before the record is shown so the picture is not read
// for nothing when it is off.
void readPreviewSetting(DeclaredRecordWindow& window)
{
    auto* preview = FilePreview.in(window);
    preview->GetSetting();
    FileImage.in(window)->setPreview(preview->Value().toBool());
    FileRefresh.in(window)->setEnabled(preview->Value().toBool());
}

} // namespace

DeclaredTable ItemFilesTable()
{
    DeclaredTable files
        = DeclaredTable::of(QStringLiteral("Item_Files"), QStringLiteral("Item_File_ID"), QStringLiteral("frmItemFile"),
            QStringLiteral("frmItemFiles"), QStringLiteral("Item File"), QStringLiteral("Item Files"));
    files.fields = {
        itemPicker().required(),
        DeclaredField::text(QStringLiteral("ztxtPath"), QStringLiteral("DB_File_ID"), QStringLiteral("File"))
            .required()
            .file()
            .foreignKey(QStringLiteral("EXEC usp_DB_Get_File_From_ID @DB_File_ID = "), QString())
            .withButton(QStringLiteral("btnBrowse"), QStringLiteral("...")),
        DeclaredField::checkBox(
            QStringLiteral("zchkPreview"), QString(), QStringLiteral("Preview"), QStringLiteral("Preview"), true)
            .setting(QStringLiteral("DB_Item_File_Preview"))
            .notStored(),
    };
    files.criteria = { itemPicker() };
    files.defaultValueTarget = QStringLiteral("ztxtPath");
    files.populateOnStart = false;
    files.extendRecordWindow = extendItemFileWindow;
    files.beforeStartParameters = readPreviewSetting;
    files.extendSearchWindow = [](DeclaredSearchWindow& window) { window.addAction(QStringLiteral("View Item"), viewItem); };
    return files;
}

void RegisterItemFileWindows()
{
    const DeclaredTable files = ItemFilesTable();
    FormRegistry::registerForm(files.recordWindow, [files] { return new DeclaredRecordWindow(files); });
    FormRegistry::registerForm(files.searchWindow, [files] { return new DeclaredSearchWindow(files); });
}
