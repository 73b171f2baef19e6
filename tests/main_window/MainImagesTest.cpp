#include "main_window/MainImages.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QStyle>

#include <gtest/gtest.h>

// The main window's images are made when first drawn; what is drawn must be the style's own image
// at every size the toolbar and menus ask for, and an unknown key stays without one.
TEST(MainImages, EachKeyDrawsTheStylesImageAndAnUnknownKeyNone)
{
    struct Case {
        const char* key;
        QStyle::StandardPixmap image;
    };
    const Case cases[] = {
        { "Save", QStyle::SP_DialogSaveButton },
        { "server", QStyle::SP_DriveNetIcon },
        { "TileVert", QStyle::SP_ToolBarVerticalExtensionButton },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const QIcon icon = MainImage(QString::fromLatin1(c.key));
        const QIcon expected = QApplication::style()->standardIcon(c.image);
        ASSERT_FALSE(icon.isNull());
        for (const int size : { 16, 24, 32 }) {
            EXPECT_EQ(icon.actualSize(QSize(size, size)), expected.actualSize(QSize(size, size)));
            EXPECT_EQ(icon.pixmap(size).toImage(), expected.pixmap(size).toImage());
            EXPECT_EQ(icon.pixmap(size, QIcon::Disabled).toImage(), expected.pixmap(size, QIcon::Disabled).toImage());
        }
        const QIcon copy = icon;
        EXPECT_EQ(copy.pixmap(16).toImage(), expected.pixmap(16).toImage());
    }
    EXPECT_TRUE(MainImage(QStringLiteral("NoSuchImage")).isNull());
}
