#include "Unit6QuestionPane.h"

#include "richtext/RtfPaste.h"

#include <QImage>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

using namespace tarnex;

QuestionPane::QuestionPane(QWidget* parent) : QTextEdit(parent) {}

bool QuestionPane::canInsertFromMimeData(const QMimeData* source) const
{
    return !rtfFromMimeData(*source).isEmpty() || source->hasImage() ||
           QTextEdit::canInsertFromMimeData(source);
}

void QuestionPane::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || source == nullptr)
        return;
    const QByteArray rtf = rtfFromMimeData(*source);
    if (!rtf.isEmpty()) {
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        insertRtf(cursor, rtf);
        cursor.endEditBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    if (source->hasImage() && !source->hasHtml()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull()) {
            static int pictures = 0;
            const QUrl name(QStringLiteral("pasted-picture:%1").arg(++pictures));
            document()->addResource(QTextDocument::ImageResource, name, image);
            QTextImageFormat format;
            format.setName(name.toString());
            format.setWidth(image.width());
            format.setHeight(image.height());
            textCursor().insertImage(format);
            ensureCursorVisible();
            return;
        }
    }
    QTextEdit::insertFromMimeData(source);
}
