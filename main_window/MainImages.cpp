#include "main_window/MainImages.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

QIcon MainImage(const QString& key)
{
    static const QHash<QString, QStyle::StandardPixmap> images {
        { QStringLiteral("new"), QStyle::SP_FileIcon },
        { QStringLiteral("edit"), QStyle::SP_FileDialogDetailedView },
        { QStringLiteral("save"), QStyle::SP_DialogSaveButton },
        { QStringLiteral("populate"), QStyle::SP_BrowserReload },
        { QStringLiteral("find"), QStyle::SP_FileDialogContentsView },
        { QStringLiteral("delete"), QStyle::SP_TrashIcon },
        { QStringLiteral("cut"), QStyle::SP_DialogDiscardButton },
        { QStringLiteral("copy"), QStyle::SP_FileDialogNewFolder },
        { QStringLiteral("paste"), QStyle::SP_DialogApplyButton },
        { QStringLiteral("print"), QStyle::SP_DriveFDIcon },
        { QStringLiteral("preview"), QStyle::SP_FileDialogInfoView },
        { QStringLiteral("excel"), QStyle::SP_FileDialogListView },
        { QStringLiteral("tab"), QStyle::SP_FileLinkIcon },
        { QStringLiteral("logoff"), QStyle::SP_DialogCloseButton },
        { QStringLiteral("barcode"), QStyle::SP_ComputerIcon },
        { QStringLiteral("exit"), QStyle::SP_TitleBarCloseButton },
        { QStringLiteral("password"), QStyle::SP_DialogYesButton },
        { QStringLiteral("tick"), QStyle::SP_DialogApplyButton },
        { QStringLiteral("timeout"), QStyle::SP_BrowserStop },
        { QStringLiteral("server"), QStyle::SP_DriveNetIcon },
        { QStringLiteral("servercheck"), QStyle::SP_DialogOkButton },
        { QStringLiteral("cascade"), QStyle::SP_TitleBarNormalButton },
        { QStringLiteral("tilehorz"), QStyle::SP_ToolBarHorizontalExtensionButton },
        { QStringLiteral("tilevert"), QStyle::SP_ToolBarVerticalExtensionButton },
        { QStringLiteral("minimize"), QStyle::SP_TitleBarMinButton },
        { QStringLiteral("restore"), QStyle::SP_TitleBarMaxButton },
    };
    const auto found = images.constFind(key.toLower());
    if (found == images.constEnd())
        return {};
    // The style decodes every size of an image each time it is asked; the toolbar, the menus and
    // the window menu (rebuilt as windows open and close) ask for the same few, so each is made
    // once. Icons are implicitly shared: the copies cost nothing.
    static QHash<QStyle::StandardPixmap, QIcon> made;
    auto icon = made.find(found.value());
    if (icon == made.end())
        icon = made.insert(found.value(), QApplication::style()->standardIcon(found.value()));
    return icon.value();
}
