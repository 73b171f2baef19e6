#include "exports/Code39.h"
#include "core/Twips.h"
#include "form_framework/zBarcode.h"
#include "form_framework/zExtendedLabel.h"
#include "form_framework/zImage.h"
#include "form_framework/zLabel.h"
#include "support/ShownTexts.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// --- Image display ----------------------------------------------------------------------------

class ImageDisplay : public ::testing::Test {
protected:
    QString picture(const QString& name, int width)
    {
        QImage drawn(width, 10, QImage::Format_RGB32);
        drawn.fill(Qt::darkGreen);
        const QString path = folder.filePath(name);
        EXPECT_TRUE(drawn.save(path, "PNG"));
        return path;
    }
    int loadedWidth() const { return image.PictureSize().width(); }

    QTemporaryDir folder;
    zImage image;
};

TEST_F(ImageDisplay, EachReasonForNoPictureHasItsStatusText)
{
    EXPECT_EQ(image.StatusText(), QStringLiteral("Preview Off"));
    image.setImagePath(picture(QStringLiteral("a.png"), 20));
    EXPECT_EQ(image.StatusText(), QStringLiteral("Preview Off"));
    image.setPreview(true);
    EXPECT_TRUE(image.PictureShown());
    EXPECT_EQ(image.StatusText(), QString());
    image.Clear();
    EXPECT_EQ(image.StatusText(), QStringLiteral("No Image Specified"));
    image.setImagePath(folder.filePath(QStringLiteral("gone.png")));
    EXPECT_EQ(image.StatusText(), QStringLiteral("Cannot Find Specified File"));

    QFile text(folder.filePath(QStringLiteral("notes.png")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    image.setImagePath(text.fileName());
    EXPECT_FALSE(image.PictureShown());
    EXPECT_FALSE(image.StatusText().isEmpty());
    EXPECT_NE(image.StatusText(), QStringLiteral("Cannot Find Specified File"));
}

TEST_F(ImageDisplay, TheSamePathIsNotReadAgainUntilRefreshed)
{
    const QString path = picture(QStringLiteral("a.png"), 20);
    image.setPreview(true);
    image.setImagePath(QStringLiteral("  ") + path + QStringLiteral(" "));
    EXPECT_EQ(image.ImagePath(), path);
    EXPECT_EQ(loadedWidth(), 20);
    picture(QStringLiteral("a.png"), 30);
    image.setImagePath(path);
    image.setPreview(false);
    image.setPreview(true);
    EXPECT_EQ(loadedWidth(), 20);
    image.Refresh();
    EXPECT_EQ(loadedWidth(), 30);

    // A failed load keeps the last picture; its path shows it again without a read.
    QFile broken(folder.filePath(QStringLiteral("broken.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("xx");
    broken.close();
    image.setImagePath(broken.fileName());
    EXPECT_FALSE(image.PictureShown());
    image.setImagePath(path);
    EXPECT_TRUE(image.PictureShown());
    EXPECT_EQ(loadedWidth(), 30);
}

TEST_F(ImageDisplay, PathsThatDifferInCaseAreDifferentFiles)
{
    image.setPreview(true);
    image.setImagePath(picture(QStringLiteral("photo.png"), 20));
    image.setImagePath(picture(QStringLiteral("PHOTO.png"), 40));
    EXPECT_EQ(loadedWidth(), 40);
}

// A picture is shown as large as the control allows, never distorted: a square stays a square in
// a wide control, a wide picture keeps its proportions in a square one, a small one grows.
TEST_F(ImageDisplay, ThePictureKeepsItsProportionsInAControlOfAnyShape)
{
    const struct {
        QSize picture;
        QSize control;
        QSize shown;
    } cases[] = {
        { { 100, 100 }, { 300, 150 }, { 150, 150 } },
        { { 200, 100 }, { 300, 300 }, { 300, 150 } },
        { { 40, 80 }, { 200, 100 }, { 50, 100 } },
        { { 400, 300 }, { 200, 300 }, { 200, 150 } },
    };
    image.setPreview(true);
    image.show();
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1x%2 in %3x%4")
                         .arg(c.picture.width())
                         .arg(c.picture.height())
                         .arg(c.control.width())
                         .arg(c.control.height())
                         .toStdString());
        QImage drawn(c.picture, QImage::Format_RGB32);
        drawn.fill(Qt::red);
        const QString path
            = folder.filePath(QStringLiteral("%1x%2.png").arg(c.picture.width()).arg(c.picture.height()));
        ASSERT_TRUE(drawn.save(path, "PNG"));
        image.resize(c.control);
        image.setImagePath(path);
        ASSERT_TRUE(image.PictureShown());
        // Where the picture's red lands on the control as it is painted.
        const QImage shown = image.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), c.control);
        QRect red;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (shown.pixel(x, y) == qRgb(255, 0, 0))
                    red |= QRect(x, y, 1, 1);
            }
        }
        EXPECT_EQ(red.size(), c.shown);
        EXPECT_LE(std::abs(red.center().x() - shown.width() / 2), 1);
        EXPECT_LE(std::abs(red.center().y() - shown.height() / 2), 1);
    }
}

// --- Labels and the marker picture ------------------------------------------------------------

struct LabelCase {
    const char* name;
    QString before;
    QString written;
    QString after;
};

class LabelCaption : public ::testing::TestWithParam<LabelCase> { };

TEST_P(LabelCaption, WritesAreTrimmedAndCaseOnlyChangesIgnored)
{
    const LabelCase& c = GetParam();
    zLabel label;
    zExtendedLabel extended;
    label.label()->setText(c.before);
    label.setValue(c.written);
    EXPECT_EQ(label.Value(), c.after);
    extended.setValue(c.before);
    extended.setValue(c.written);
    EXPECT_EQ(extended.Value(), c.after);
    EXPECT_EQ(extended.label()->text(), c.after);
    // Shown as written: a caption or a record's value is never read as markup.
    EXPECT_EQ(ShownText(label.label()), c.after);
    EXPECT_EQ(ShownText(extended.label()), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, LabelCaption,
    ::testing::Values(
        LabelCase { "CaseOnly", QStringLiteral("name:"), QStringLiteral("Name:"), QStringLiteral("name:") },
        LabelCase { "Trimmed", QStringLiteral("Date:"), QStringLiteral("  Name:  "), QStringLiteral("Name:") },
        LabelCase { "Markup", QStringLiteral("Case:"), QStringLiteral("<b>Case</b> <2010-1>"),
            QStringLiteral("<b>Case</b> <2010-1>") }),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(Labels, ALabelIsBoldOnlyWhenItsFieldIsRequiredAndApplies)
{
    zLabel label;
    EXPECT_EQ(label.Value(), QStringLiteral("zLabel"));
    label.setRequired(true);
    EXPECT_TRUE(label.label()->font().bold());
    label.setApplicable(false);
    EXPECT_FALSE(label.label()->font().bold());
    EXPECT_FALSE(label.label()->isEnabled());
    label.setApplicable(true);
    EXPECT_TRUE(label.label()->font().bold());
    EXPECT_TRUE(label.label()->isEnabled());
}

TEST(Labels, TheMarkerPictureKeepsItsSize)
{
    zBarcode marker;
    marker.resize(300, 300);
    EXPECT_EQ(marker.size(), QSize(TwipsToPixels(240), TwipsToPixels(315)));
}

// --- Record codes as Code 39 ------------------------------------------------------------------

// What a scanner reads from the picture: zbarimg's decoding, or a failure that says why not.
QString scan(const QImage& picture, QString* problem)
{
    const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    if (zbarimg.isEmpty()) {
        *problem = QStringLiteral(
            "zbarimg is not installed (Debian package zbar-tools; scripts/install-deps.sh installs it)");
        return {};
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("code.png"));
    if (!picture.save(path, "PNG")) {
        *problem = QStringLiteral("could not write ") + path;
        return {};
    }
    QProcess process;
    // Only Code 39 is read, so a picture in another symbology does not pass.
    process.start(zbarimg,
        { QStringLiteral("--raw"), QStringLiteral("-q"), QStringLiteral("-Sdisable"), QStringLiteral("-Scode39.enable"),
            path });
    process.waitForFinished(30000);
    *problem = QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

TEST(RecordCodes, ARecordCodeDrawnAsCode39ScansBackToItself)
{
    for (const QString& code : { QStringLiteral("I-0000000042"), QStringLiteral("C-0000000123") }) {
        const QImage picture = Code39Image(QStringLiteral("*") + code + QStringLiteral("*"));
        ASSERT_FALSE(picture.isNull());
        QString problem;
        EXPECT_EQ(scan(picture, &problem), code) << problem.toStdString();
    }
}

TEST(RecordCodes, TheBarcodeLabelShowsTheCodeAsAScannablePicture)
{
    zExtendedLabel label;
    label.setBarcode(true);
    label.setValue(QStringLiteral("*E-0000000007*"));
    label.resize(label.sizeHint().expandedTo(QSize(400, 80)));
    const QImage shown = label.grab().toImage();
    QString problem;
    EXPECT_EQ(scan(shown, &problem), QStringLiteral("E-0000000007")) << problem.toStdString();
    EXPECT_EQ(label.Value(), QStringLiteral("*E-0000000007*"));

    label.setValue(QString()); // a new record: no barcode
    EXPECT_TRUE(label.label()->pixmap().isNull());
    QString error;
    EXPECT_TRUE(Code39Image(QStringLiteral("lower case é"), 2, 60, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
