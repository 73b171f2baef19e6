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
    return QApplication::style()->standardIcon(found.value());
}
