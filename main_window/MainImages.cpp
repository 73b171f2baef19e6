#include "main_window/MainImages.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QStyle>

namespace {
// A style icon made on first use: the style decodes every size of an image when asked for it, and
// most menu images are not shown until the user opens that menu, so start-up asks for none of them.
class StyleIconEngine final : public QIconEngine {
public:
    explicit StyleIconEngine(QStyle::StandardPixmap which)
        : m_which(which)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    // Every image of the table is one the common style draws: asking would only make it early.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("BramblecotStyleIcon"); }
    QIconEngine* clone() const override { return new StyleIconEngine(*this); }

private:
    // One icon per image for the whole program, made when first needed; copies share it.
    const QIcon& icon() const
    {
        static QHash<QStyle::StandardPixmap, QIcon> made;
        auto found = made.find(m_which);
        if (found == made.end())
            found = made.insert(m_which, QApplication::style()->standardIcon(m_which));
        return found.value();
    }

    QStyle::StandardPixmap m_which;
};
} // namespace

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
    return QIcon(new StyleIconEngine(found.value()));
}
