#include "RtfPaste.h"

#include "RtfReader.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

#include <vector>

namespace tarnex {
namespace {

struct PictureRun
{
    int position = 0;
    int length = 0;
    QTextImageFormat format;
};

QString uniquePictureName()
{
    static int pasted = 0;
    return QStringLiteral("pasted-image:%1").arg(++pasted);
}

} // namespace

QByteArray rtfFromMimeData(const QMimeData& data)
{
    static const char* const flavours[] = {"text/rtf", "application/rtf", "text/richtext",
                                           "application/x-qt-windows-mime;value=\"Rich Text Format\""};
    for (const char* flavour : flavours) {
        const QString name = QString::fromLatin1(flavour);
        if (!data.hasFormat(name))
            continue;
        const QByteArray bytes = data.data(name);
        if (isRtf(bytes))
            return bytes;
    }
    return {};
}

void insertRtf(QTextCursor& cursor, const QByteArray& rtf)
{
    QTextDocument source;
    readRtf(rtf, &source);

    // The reader names its pictures after their order in the document; the target may hold
    // pictures of the same names already.
    std::vector<PictureRun> pictures;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                pictures.push_back(
                    {fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
        }
    }
    QTextDocument* target = cursor.document();
    for (PictureRun& picture : pictures) {
        const QVariant image = source.resource(QTextDocument::ImageResource, QUrl(picture.format.name()));
        const QString name = uniquePictureName();
        target->addResource(QTextDocument::ImageResource, QUrl(name), image);
        picture.format.setName(name);
        QTextCursor run(&source);
        run.setPosition(picture.position);
        run.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        run.setCharFormat(picture.format);
    }

    cursor.insertFragment(QTextDocumentFragment(&source));
}

} // namespace tarnex
