#include "RtfTestUtil.h"
#include "richtext/RtfReader.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tarnex;
using tarnex::test::rtfDocument;

namespace {

QImage testImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 10 % 256, y * 20 % 256, 77));
    }
    return image;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QList<QTextImageFormat> images(const QTextDocument& doc)
{
    QList<QTextImageFormat> result;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                result.append(it.fragment().charFormat().toImageFormat());
        }
    }
    return result;
}

QImage resourceImage(const QTextDocument& doc, const QTextImageFormat& format)
{
    return doc.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
}

const QByteArray Wmf = "010009000003220000000000";

} // namespace

TEST(RtfPictures, PngBecomesAnImageOfItsGoalSize)
{
    const QImage image = testImage(12, 8);
    const QByteArray rtf = rtfDocument("before{\\pict\\pngblip\\picw12\\pich8\\picwgoal360\\pichgoal240\r\n"
                                       + encoded(image, "PNG").toHex() + "\r\n}after\\par");
    QTextDocument doc;
    readRtf(rtf, &doc);
    const QList<QTextImageFormat> found = images(doc);
    ASSERT_EQ(found.size(), 1);
    EXPECT_DOUBLE_EQ(found[0].width(), 24.0);
    EXPECT_DOUBLE_EQ(found[0].height(), 16.0);
    EXPECT_EQ(resourceImage(doc, found[0]).convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(doc.begin().text(), QStringLiteral("before") + QChar(QChar::ObjectReplacementCharacter) + QStringLiteral("after"));
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("beforeafter"));
}

TEST(RtfPictures, JpegWithScaling)
{
    const QImage image = testImage(20, 10);
    const QByteArray rtf = rtfDocument("{\\pict\\jpegblip\\picw20\\pich10\\picscalex50\\picscaley200 "
                                       + encoded(image, "JPG").toHex() + "}\\par");
    QTextDocument doc;
    readRtf(rtf, &doc);
    const QList<QTextImageFormat> found = images(doc);
    ASSERT_EQ(found.size(), 1);
    EXPECT_DOUBLE_EQ(found[0].width(), 10.0);
    EXPECT_DOUBLE_EQ(found[0].height(), 20.0);
    EXPECT_EQ(resourceImage(doc, found[0]).size(), QSize(20, 10));
}

TEST(RtfPictures, MetafileUsesThePngAlternative)
{
    const QImage image = testImage(6, 6);
    const QByteArray png = encoded(image, "PNG").toHex();
    // The order LibreOffice and Word write, and the other way round.
    for (const QByteArray& body :
         {"{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn wzName}{\\sv x}}}\\pngblip\\picwgoal90\\pichgoal90 " + png
              + "}}{\\nonshppict{\\pict\\wmetafile8\\picwgoal90\\pichgoal90 " + Wmf + "}}x\\par",
          "{\\*\\shppict{\\pict\\emfblip\\picwgoal90\\pichgoal90 " + Wmf + "}}{\\nonshppict{\\pict\\pngblip\\picwgoal90\\pichgoal90 "
              + png + "}}x\\par"}) {
        QTextDocument doc;
        readRtf(rtfDocument(body), &doc);
        const QList<QTextImageFormat> found = images(doc);
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(resourceImage(doc, found[0]).convertToFormat(QImage::Format_RGB32), image);
        EXPECT_EQ(doc.begin().text(), QString(QChar(QChar::ObjectReplacementCharacter)) + QStringLiteral("x"));
    }
}

TEST(RtfPictures, MetafileWithoutAlternativeIsAPlaceholderOfItsSize)
{
    QTextDocument doc;
    readRtf(rtfDocument("a{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1500\\pichgoal750 " + Wmf + "}b\\par"), &doc);
    const QList<QTextImageFormat> found = images(doc);
    ASSERT_EQ(found.size(), 1);
    EXPECT_DOUBLE_EQ(found[0].width(), 100.0);
    EXPECT_DOUBLE_EQ(found[0].height(), 50.0);
    const QImage placeholder = resourceImage(doc, found[0]);
    EXPECT_EQ(placeholder.size(), QSize(100, 50));

    // Without a goal size the metafile's own size (hundredths of a millimetre) counts.
    QTextDocument other;
    readRtf(rtfDocument("{\\pict\\emfblip\\picw2540\\pich1270 " + Wmf + "}\\par"), &other);
    ASSERT_EQ(images(other).size(), 1);
    EXPECT_DOUBLE_EQ(images(other)[0].width(), 96.0);
    EXPECT_DOUBLE_EQ(images(other)[0].height(), 48.0);
}

TEST(RtfPictures, BrokenPngIsAPlaceholder)
{
    QTextDocument doc;
    readRtf(rtfDocument("{\\pict\\pngblip\\picwgoal300\\pichgoal300 89504e470d0a1a0aZZZZ}\\par"), &doc);
    const QList<QTextImageFormat> found = images(doc);
    ASSERT_EQ(found.size(), 1);
    EXPECT_FALSE(resourceImage(doc, found[0]).isNull());
    EXPECT_DOUBLE_EQ(found[0].width(), 20.0);
}

TEST(RtfPictures, BinaryPictureData)
{
    const QImage image = testImage(4, 4);
    const QByteArray png = encoded(image, "PNG");
    QTextDocument doc;
    readRtf(rtfDocument("{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}z\\par"), &doc);
    const QList<QTextImageFormat> found = images(doc);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(resourceImage(doc, found[0]).convertToFormat(QImage::Format_RGB32), image);
    EXPECT_TRUE(doc.toPlainText().endsWith(u'z'));
}

TEST(RtfPictures, PictureInATableCell)
{
    const QImage image = testImage(3, 3);
    QTextDocument doc;
    readRtf(rtfDocument("\\trowd\\cellx1000\\cellx2000\\pard\\intbl{\\pict\\pngblip " + encoded(image, "PNG").toHex()
                        + "}\\cell text\\cell\\row"),
            &doc);
    EXPECT_EQ(images(doc).size(), 1);
    EXPECT_EQ(documentPlainText(doc), QStringLiteral("\ttext"));
}
