#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace tarnex::bank {

// Stored rich text (the RTF documents of tou, wei and ping, written by the program's RTF writer)
// from and to the texts of exchange files. Everything here lays out documents and so needs a
// QGuiApplication.

// Plain text, each line a paragraph; an empty text is stored empty.
QByteArray storedFromPlainText(const QString& text);
// The text of a stored value: paragraphs on lines, table rows on lines with tab-separated cells,
// no line breaks at the end.
QString plainTextOfStored(const QByteArray& stored);

// The embedded pictures of a Moodle text: path after @@PLUGINFILE@@ ("/chart.png") -> bytes.
using PictureFiles = QHash<QString, QByteArray>;

// HTML as stored rich text: paragraphs, line breaks, bold, italic, underline, tables and pictures
// (Qt's HTML subset). A picture comes from files by its "@@PLUGINFILE@@/..." source or from a
// data: URI; one that is missing, elsewhere, too large or no picture throws AppError. HTML of
// blanks only is stored empty.
QByteArray storedFromHtml(const QString& html, const PictureFiles& files);
// Options as stored rich text: "A. " and the first option's HTML, "B. " and the second, ...,
// each option starting a paragraph; each option with its own pictures.
struct HtmlSource
{
    QString html;
    PictureFiles files;
};
QByteArray storedFromOptionsHtml(const std::vector<HtmlSource>& options);

// A stored value as HTML for Moodle, its pictures as PNG files named in the HTML as
// "@@PLUGINFILE@@/NAME".
struct HtmlText
{
    QString html;
    std::vector<std::pair<QString, QByteArray>> files; // NAME -> PNG bytes
};
HtmlText htmlOfStored(const QByteArray& stored);
// The options of a stored option text as HTML without their markers, when every paragraph
// belongs to an option and the options are lettered A, B, C, ... in order, one starting each
// paragraph it begins; nothing otherwise.
std::optional<std::vector<HtmlText>> optionsHtmlOfStored(const QByteArray& stored);

} // namespace tarnex::bank
