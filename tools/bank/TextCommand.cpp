#include "TextCommand.h"

#include "platform/AppError.h"
#include "richtext/RtfReader.h"

#include <QDir>
#include <QFile>

namespace tarnex::bank {

TextCommand::TextCommand()
    : Command(
          QStringLiteral("text"),
          QStringLiteral("Print the plain text of an RTF file as the reader sees it."),
          {{QStringLiteral("FILE"), QStringLiteral("an RTF document")}},
          QStringLiteral("Paragraphs come on lines, the cells of a table row are separated by a tab. A file\n"
                         "that is not RTF is read as plain text in code page 936."))
{
}

bool TextCommand::plainTextNeedsGui()
{
    return false;
}

bool TextCommand::needsGui() const
{
    return plainTextNeedsGui();
}

int TextCommand::execute(const QStringList& arguments, CommandIo& io)
{
    QFile file(arguments.at(0));
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("cannot read %1: %2")
                           .arg(QDir::toNativeSeparators(arguments.at(0)), file.errorString()));
    const QString text = rtfToPlainText(file.readAll());
    io.out << text;
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        io.out << '\n';
    return ExitOk;
}

} // namespace tarnex::bank
