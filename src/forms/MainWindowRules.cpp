#include "MainWindowRules.h"

#include "data/StoredText.h"
#include "exam/Feedback.h"
#include "platform/TextUtil.h"

namespace tarnex {

int centredLeft(int outerLeft, int outerWidth, int innerWidth)
{
    return outerLeft + (outerWidth - innerWidth) / 2;
}

QString webPanelAddress(const QString& stored)
{
    if (trimmedText(stored).isEmpty())
        return {};
    return trimmedText(DecodeStoredText(stored));
}

QString joinedWithCrLf(const QString& plainText)
{
    QString text = plainText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

bool showsAccountSetBox(ProgramMode mode, const QString& subject)
{
    return mode == ProgramMode::Author || subject == computerAccountingSubject();
}

} // namespace tarnex
