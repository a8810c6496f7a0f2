#include "MoodleWriter.h"

#include "ExchangeText.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace tarnex::bank {
namespace {

constexpr int NameLength = 40;

// XML 1.0 has no place for most control characters.
QString xmlSafe(QString text)
{
    text.removeIf([](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c.unicode() >= 0xFFFE;
    });
    return text;
}

class Writer
{
public:
    explicit Writer(QStringList* warnings) : m_xml(&m_data), m_warnings(warnings)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(2);
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("quiz"));
    }

    QByteArray finish()
    {
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
        return m_data;
    }

    void paper(const ExchangePaper& paper)
    {
        m_xml.writeStartElement(QStringLiteral("question"));
        m_xml.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
        m_xml.writeStartElement(QStringLiteral("category"));
        m_xml.writeTextElement(QStringLiteral("text"), xmlSafe(QStringLiteral("$course$/top/%1/%2")
                                                                   .arg(categorySegment(paper.subject),
                                                                        categorySegment(paper.name))));
        m_xml.writeEndElement();
        m_xml.writeStartElement(QStringLiteral("info"));
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        m_xml.writeTextElement(QStringLiteral("text"), QString());
        m_xml.writeEndElement();
        m_xml.writeTextElement(QStringLiteral("idnumber"), QString());
        m_xml.writeEndElement();
        for (const ExchangeQuestion& question : paper.questions)
            this->question(paper, question);
    }

private:
    void warn(const ExchangePaper& paper, const ExchangeQuestion& question, const QString& why)
    {
        if (m_warnings)
            m_warnings->append(
                QStringLiteral("%1 / %2 %3 %4: %5; not exported")
                    .arg(paper.subject, paper.name, kindTitle(question.kind), question.number, why));
    }

    void question(const ExchangePaper& paper, const ExchangeQuestion& question)
    {
        std::optional<std::vector<HtmlText>> options;
        if (question.kind == u"jsfx" || question.kind == u"anli") {
            warn(paper, question, QStringLiteral("Moodle has no question type for its five sub-questions"));
            return;
        }
        if (question.kind == u"dds" || question.kind == u"duo") {
            options = optionsHtmlOfStored(question.wei);
            if (!options || options->size() < 2) {
                warn(paper, question,
                     QStringLiteral("its options are not one per paragraph, lettered A, B, ..."));
                return;
            }
            const QString valid =
                question.kind == u"dds" ? QStringLiteral("^[a-d]$") : QStringLiteral("^a?b?c?d?$");
            bool keyFits = QRegularExpression(valid).match(question.da).hasMatch() && !question.da.isEmpty();
            for (const QChar letter : question.da)
                keyFits = keyFits && letter.unicode() - u'a' < int(options->size());
            if (!keyFits) {
                warn(paper, question,
                     QStringLiteral("its key \"%1\" does not name its options").arg(question.da));
                return;
            }
        }
        if (question.kind == u"sf" && question.da != u"a" && question.da != u"b") {
            warn(paper, question,
                 QStringLiteral("its key \"%1\" is neither a (true) nor b (false)").arg(question.da));
            return;
        }

        const bool essay = question.kind == u"ws";
        m_xml.writeStartElement(QStringLiteral("question"));
        m_xml.writeAttribute(QStringLiteral("type"), essay ? QStringLiteral("essay")
                                                     : question.kind == u"sf"
                                                         ? QStringLiteral("truefalse")
                                                         : QStringLiteral("multichoice"));
        QString title = plainTextOfStored(question.tou).section(u'\n', 0, 0).simplified();
        if (title.size() > NameLength)
            title = title.left(NameLength) + QStringLiteral("…");
        // The name starts with the number; a question without one must not look numbered by it.
        QString name = (question.number + u' ' + title).trimmed();
        if (question.number.isEmpty() && !name.isEmpty() &&
            std::all_of(name.begin(), name.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            name = u'(' + name + u')';
        if (name.isEmpty())
            name = kindTitle(question.kind); // Moodle refuses a question without a name
        m_xml.writeStartElement(QStringLiteral("name"));
        m_xml.writeTextElement(QStringLiteral("text"), xmlSafe(name));
        m_xml.writeEndElement();
        html(QStringLiteral("questiontext"), htmlOfStored(question.tou));
        html(QStringLiteral("generalfeedback"), essay ? HtmlText() : htmlOfStored(question.ping));
        m_xml.writeTextElement(QStringLiteral("defaultgrade"), QStringLiteral("1"));
        m_xml.writeTextElement(QStringLiteral("penalty"), essay ? QStringLiteral("0")
                                                          : question.kind == u"sf"
                                                              ? QStringLiteral("1")
                                                              : QStringLiteral("0.3333333"));
        m_xml.writeTextElement(QStringLiteral("hidden"), QStringLiteral("0"));
        m_xml.writeTextElement(QStringLiteral("idnumber"), xmlSafe(question.number));

        if (essay) {
            m_xml.writeTextElement(QStringLiteral("responseformat"), QStringLiteral("editor"));
            m_xml.writeTextElement(QStringLiteral("responserequired"), QStringLiteral("1"));
            m_xml.writeTextElement(QStringLiteral("responsefieldlines"), QStringLiteral("15"));
            m_xml.writeTextElement(QStringLiteral("attachments"), QStringLiteral("0"));
            m_xml.writeTextElement(QStringLiteral("attachmentsrequired"), QStringLiteral("0"));
            html(QStringLiteral("graderinfo"), htmlOfStored(question.ping));
            html(QStringLiteral("responsetemplate"), HtmlText());
        } else if (question.kind == u"sf") {
            answer(QStringLiteral("true"), question.da == u"a" ? 100 : 0,
                   QStringLiteral("moodle_auto_format"));
            answer(QStringLiteral("false"), question.da == u"b" ? 100 : 0,
                   QStringLiteral("moodle_auto_format"));
        } else {
            m_xml.writeTextElement(QStringLiteral("single"), question.kind == u"dds"
                                                                 ? QStringLiteral("true")
                                                                 : QStringLiteral("false"));
            m_xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("false"));
            m_xml.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("ABCD"));
            m_xml.writeTextElement(QStringLiteral("showstandardinstruction"), QStringLiteral("0"));
            for (const QString& feedback :
                 {QStringLiteral("correctfeedback"), QStringLiteral("partiallycorrectfeedback"),
                  QStringLiteral("incorrectfeedback")})
                html(feedback, HtmlText());
            const double share = 100.0 / double(question.da.size());
            for (size_t i = 0; i < options->size(); ++i) {
                const bool correct = question.da.contains(QChar(char16_t(u'a' + i)));
                m_xml.writeStartElement(QStringLiteral("answer"));
                m_xml.writeAttribute(QStringLiteral("fraction"),
                                     correct ? fraction(share) : QStringLiteral("0"));
                m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
                htmlBody((*options)[i]);
                html(QStringLiteral("feedback"), HtmlText());
                m_xml.writeEndElement();
            }
        }
        m_xml.writeEndElement();
    }

    // Moodle's grades are fractions of its list (1, 0.5, 0.3333333, 0.25, ...), written as percent.
    static QString fraction(double percent)
    {
        QString text = QString::number(percent, 'f', 5);
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
        return text;
    }

    void answer(const QString& text, int fraction, const QString& format)
    {
        m_xml.writeStartElement(QStringLiteral("answer"));
        m_xml.writeAttribute(QStringLiteral("fraction"), QString::number(fraction));
        m_xml.writeAttribute(QStringLiteral("format"), format);
        m_xml.writeTextElement(QStringLiteral("text"), text);
        html(QStringLiteral("feedback"), HtmlText());
        m_xml.writeEndElement();
    }

    void html(const QString& element, const HtmlText& text)
    {
        m_xml.writeStartElement(element);
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        htmlBody(text);
        m_xml.writeEndElement();
    }

    // <text> in CDATA and the <file> elements of the pictures it shows.
    void htmlBody(const HtmlText& text)
    {
        m_xml.writeStartElement(QStringLiteral("text"));
        if (text.html.isEmpty())
            m_xml.writeCharacters(QString()); // <text></text>, as Moodle writes an empty text
        else
            m_xml.writeCDATA(xmlSafe(text.html));
        m_xml.writeEndElement();
        for (const auto& [name, bytes] : text.files) {
            m_xml.writeStartElement(QStringLiteral("file"));
            m_xml.writeAttribute(QStringLiteral("name"), name);
            m_xml.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
            m_xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
            m_xml.writeCharacters(QString::fromLatin1(bytes.toBase64()));
            m_xml.writeEndElement();
        }
    }

    QByteArray m_data;
    QXmlStreamWriter m_xml;
    QStringList* m_warnings;
};

} // namespace

QString categorySegment(const QString& name)
{
    QString segment = name;
    segment.replace(QStringLiteral("/"), QStringLiteral("//"));
    return segment;
}

QByteArray writeMoodle(const std::vector<ExchangePaper>& papers, QStringList* warnings)
{
    Writer writer(warnings);
    for (const ExchangePaper& paper : papers)
        writer.paper(paper);
    return writer.finish();
}

} // namespace tarnex::bank
