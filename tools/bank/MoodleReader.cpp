#include "MoodleReader.h"

#include "ExchangeText.h"
#include "platform/AppError.h"

#include <QXmlStreamReader>

#include <cmath>

namespace tarnex::bank {
namespace {

// Deeper nesting than this is no question file (and would only cost stack).
constexpr int MaxDepth = 64;

// One element of a question, read whole.
struct Node
{
    QString name;
    QXmlStreamAttributes attributes;
    QString text; // the element's own character data, CDATA included
    std::vector<Node> children;
    int line = 0;

    const Node* child(QStringView childName) const
    {
        for (const Node& node : children) {
            if (node.name == childName)
                return &node;
        }
        return nullptr;
    }
    std::vector<const Node*> all(QStringView childName) const
    {
        std::vector<const Node*> found;
        for (const Node& node : children) {
            if (node.name == childName)
                found.push_back(&node);
        }
        return found;
    }
    // The text of <childName><text>...</text></childName>, trimmed as Moodle trims it.
    QString textOf(QStringView childName) const
    {
        const Node* field = child(childName);
        const Node* text = field ? field->child(u"text") : nullptr;
        return text ? text->text.trimmed() : QString();
    }
    // The text of <childName>...</childName>, trimmed.
    QString valueOf(QStringView childName) const
    {
        const Node* field = child(childName);
        return field ? field->text.trimmed() : QString();
    }
};

// Reads the element the reader stands on, to its end.
Node readNode(QXmlStreamReader& xml, int depth)
{
    Node node;
    node.name = xml.name().toString();
    node.attributes = xml.attributes();
    node.line = int(xml.lineNumber());
    if (depth > MaxDepth)
        xml.raiseError(QStringLiteral("elements nested deeper than %1 levels").arg(MaxDepth));
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isEndElement())
            break;
        if (xml.isStartElement())
            node.children.push_back(readNode(xml, depth + 1));
        else if (xml.isCharacters())
            node.text += xml.text();
    }
    return node;
}

// A text of a question in the form Moodle gives it: text, its format and its files.
struct TextField
{
    QString text;
    QString format;
    PictureFiles files;
};

TextField textField(const Node* node, const QString& defaultFormat)
{
    TextField field;
    field.format = defaultFormat;
    if (!node)
        return field;
    if (const QStringView format = node->attributes.value(QLatin1String("format")); !format.isEmpty())
        field.format = format.trimmed().toString();
    if (const Node* text = node->child(u"text"))
        field.text = text->text.trimmed();
    for (const Node* file : node->all(u"file")) {
        const QString name = file->attributes.value(QLatin1String("name")).toString();
        QString path = file->attributes.value(QLatin1String("path")).toString();
        if (path.isEmpty())
            path = QStringLiteral("/");
        if (!path.endsWith(u'/'))
            path.append(u'/');
        if (!path.startsWith(u'/'))
            path.prepend(u'/');
        const QStringView encoding = file->attributes.value(QLatin1String("encoding"));
        if (!encoding.isEmpty() && encoding != u"base64")
            throw AppError(QStringLiteral("the file %1 has the encoding %2; only base64 is read")
                               .arg(name, encoding.toString()));
        field.files.insert(path + name, QByteArray::fromBase64(file->text.toLatin1()));
    }
    return field;
}

// Moodle's auto format takes HTML as it is and plain text as lines.
bool isHtml(const TextField& field)
{
    if (field.format == u"plain_text" || field.format == u"markdown")
        return false;
    if (field.format == u"moodle_auto_format")
        return field.text.contains(u'<');
    return true;
}

QString htmlOfPlain(const QString& text)
{
    QString html = text.toHtmlEscaped();
    html.replace(QStringLiteral("\n"), QStringLiteral("<br>"));
    return html;
}

QByteArray storedOf(const TextField& field)
{
    return isHtml(field) ? storedFromHtml(field.text, field.files) : storedFromPlainText(field.text);
}

bool isWholeNumber(const QString& text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString fractionText(double fraction)
{
    return QString::number(fraction, 'g', 7);
}

class QuestionReader
{
public:
    QuestionReader(const Node& node, Diagnostics& diagnostics) : m_node(node), m_diagnostics(diagnostics) {}

    std::optional<ExchangeQuestion> read(const QString& type)
    {
        ExchangeQuestion& q = m_question;
        q.row = m_node.line;
        q.name = m_node.textOf(u"name");
        if (q.name.isEmpty())
            q.name = QStringLiteral("(no name)");
        const QString idnumber = m_node.valueOf(u"idnumber");
        q.number = !idnumber.isEmpty() ? idnumber : isWholeNumber(q.name) ? q.name : QString();
        if (q.number.contains(u'\n') || q.number.contains(u'\r') || q.number.contains(u'\t'))
            return fail(QStringLiteral("the idnumber holds a line break or a tab"));

        try {
            const TextField stem = textField(m_node.child(u"questiontext"), QStringLiteral("html"));
            m_format = stem.format;
            q.tou = storedOf(stem);
            if (q.tou.isEmpty())
                return fail(QStringLiteral("the question text is empty"));
            q.ping = storedOf(textField(m_node.child(u"generalfeedback"), m_format));
            if (type == u"multichoice")
                readMultichoice();
            else if (type == u"truefalse")
                readTrueFalse();
            else
                readEssay();
        } catch (const AppError& error) {
            return fail(error.message());
        }
        if (m_failed)
            return std::nullopt;
        return q;
    }

private:
    std::nullopt_t fail(const QString& message)
    {
        error(message);
        return std::nullopt;
    }

    void error(const QString& message)
    {
        m_diagnostics.error(m_question.row, questionPrefix(m_question) + message);
        m_failed = true;
    }

    struct Answer
    {
        TextField text;
        double fraction = 0;
    };

    std::vector<Answer> answers()
    {
        std::vector<Answer> list;
        for (const Node* node : m_node.all(u"answer")) {
            Answer answer;
            answer.text = textField(node, m_format);
            const QString fraction = node->attributes.value(QLatin1String("fraction")).trimmed().toString();
            bool ok = true;
            answer.fraction = fraction.isEmpty() ? 0 : fraction.toDouble(&ok);
            if (!ok || !std::isfinite(answer.fraction)) {
                error(QStringLiteral("the fraction \"%1\" of an answer is not a number").arg(fraction));
                answer.fraction = 0;
            }
            list.push_back(std::move(answer));
        }
        return list;
    }

    void readMultichoice()
    {
        const QString single = m_node.child(u"single") ? m_node.valueOf(u"single") : QStringLiteral("true");
        const bool isSingle = !(single == u"false" || single.isEmpty() || single == u"0");
        m_question.kind = isSingle ? QStringLiteral("dds") : QStringLiteral("duo");
        const std::vector<Answer> list = answers();
        if (list.size() < 2 || list.size() > 4) {
            error(QStringLiteral("has %1 answers; a question here has two to four options (A to D)")
                      .arg(list.size()));
            return;
        }
        QString letters;
        double total = 0;
        QStringList fractions;
        for (size_t i = 0; i < list.size(); ++i) {
            fractions.append(fractionText(list[i].fraction));
            if (list[i].fraction > 0) {
                letters.append(QChar(char16_t(u'a' + i)));
                total += list[i].fraction;
            }
        }
        if (isSingle) {
            const bool one = letters.size() == 1 && std::abs(total - 100) < 1e-6;
            if (!one) {
                error(QStringLiteral(
                          "a single-answer question needs one answer with fraction 100 and the others 0 "
                          "or less (fractions: %1)")
                          .arg(fractions.join(QStringLiteral(", "))));
                return;
            }
        } else if (letters.isEmpty() || std::abs(total - 100) >= 0.5) {
            error(QStringLiteral("the fractions of the correct answers add up to %1, not 100 (fractions: %2)")
                      .arg(fractionText(total), fractions.join(QStringLiteral(", "))));
            return;
        }
        m_question.da = letters;
        std::vector<HtmlSource> options;
        for (const Answer& answer : list)
            options.push_back(
                {isHtml(answer.text) ? answer.text.text : htmlOfPlain(answer.text.text), answer.text.files});
        m_question.wei = storedFromOptionsHtml(options);
    }

    void readTrueFalse()
    {
        m_question.kind = QStringLiteral("sf");
        const std::vector<Answer> list = answers();
        QString correct;
        int full = 0;
        for (size_t i = 0; i < list.size(); ++i) {
            if (std::abs(list[i].fraction - 100) > 1e-6)
                continue;
            ++full;
            // Old files name the answers in the site's language; then the first is "true".
            const QString text = list[i].text.text.toLower();
            const bool isTrue = text == u"true" ? true : text == u"false" ? false : i == 0;
            correct = isTrue ? QStringLiteral("a") : QStringLiteral("b");
        }
        if (list.size() != 2 || full != 1) {
            error(QStringLiteral("a true/false question needs the answers true and false, one of them with "
                                 "fraction 100"));
            return;
        }
        m_question.da = correct;
    }

    void readEssay()
    {
        m_question.kind = QStringLiteral("ws");
        const QByteArray graderInfo = storedOf(textField(m_node.child(u"graderinfo"), m_format));
        if (!graderInfo.isEmpty())
            m_question.ping = graderInfo;
    }

    const Node& m_node;
    Diagnostics& m_diagnostics;
    ExchangeQuestion m_question;
    QString m_format;
    bool m_failed = false;
};

} // namespace

QString paperOfCategory(const QString& path)
{
    QStringList segments;
    QString segment;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path.at(i) != u'/') {
            segment += path.at(i);
        } else if (i + 1 < path.size() && path.at(i + 1) == u'/') {
            segment += u'/';
            ++i;
        } else {
            segments.append(segment.trimmed());
            segment.clear();
        }
    }
    segments.append(segment.trimmed());
    segments.removeAll(QString());
    if (!segments.isEmpty() && segments.front().startsWith(u'$') && segments.front().endsWith(u'$'))
        segments.removeFirst();
    if (!segments.isEmpty() && segments.front() == u"top")
        segments.removeFirst();
    return segments.isEmpty() ? QString() : segments.back();
}

std::vector<ExchangePaper> readMoodle(const QByteArray& data, const QString& paper, Diagnostics& diagnostics)
{
    std::vector<ExchangePaper> papers;
    QXmlStreamReader xml(data);
    while (!xml.atEnd() && !xml.isStartElement())
        xml.readNext();
    if (xml.hasError() || !xml.isStartElement()) {
        diagnostics.error(int(xml.lineNumber()),
                          QStringLiteral("not well-formed XML: %1").arg(xml.errorString()));
        return papers;
    }
    if (xml.name() != u"quiz") {
        diagnostics.error(int(xml.lineNumber()),
                          QStringLiteral("not a Moodle XML file: the root element is <%1>, not <quiz>")
                              .arg(xml.name().toString()));
        return papers;
    }

    auto paperNamed = [&](const QString& name) -> ExchangePaper& {
        for (ExchangePaper& existing : papers) {
            if (existing.name == name)
                return existing;
        }
        papers.push_back({QString(), name, {}});
        return papers.back();
    };
    QString category = paper;
    int categoryLine = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            break; // </quiz>
        if (!xml.isStartElement())
            continue;
        const Node node = readNode(xml, 1);
        if (xml.hasError())
            break;
        if (node.name != u"question")
            continue;
        const QString type = node.attributes.value(QLatin1String("type")).trimmed().toString();
        if (type == u"category") {
            if (!paper.isEmpty())
                continue;
            const QString path = node.textOf(u"category");
            category = paperOfCategory(path);
            categoryLine = node.line;
            if (category.isEmpty())
                diagnostics.note(node.line, QStringLiteral("the category \"%1\" names no paper").arg(path));
            continue;
        }
        if (type == u"description") {
            diagnostics.note(node.line,
                             QStringLiteral("question \"%1\": a description is no question; skipped")
                                 .arg(node.textOf(u"name")));
            continue;
        }
        if (type != u"multichoice" && type != u"truefalse" && type != u"essay") {
            diagnostics.error(node.line,
                              QStringLiteral("question \"%1\": the type %2 has no counterpart here "
                                             "(multichoice, truefalse, essay and description are read)")
                                  .arg(node.textOf(u"name"), type));
            continue;
        }
        std::optional<ExchangeQuestion> question = QuestionReader(node, diagnostics).read(type);
        if (!question)
            continue;
        if (category.isEmpty()) {
            diagnostics.error(node.line,
                              questionPrefix(*question) +
                                  (categoryLine > 0
                                       ? QStringLiteral("its category (line %1) names no paper; give --paper")
                                             .arg(categoryLine)
                                       : QStringLiteral("comes before any category; give --paper")));
            continue;
        }
        paperNamed(category).questions.push_back(std::move(*question));
    }
    while (!xml.atEnd() && !xml.hasError())
        xml.readNext(); // what follows </quiz> must be well-formed too
    if (xml.hasError())
        diagnostics.error(int(xml.lineNumber()),
                          QStringLiteral("not well-formed XML: %1").arg(xml.errorString()));
    return papers;
}

} // namespace tarnex::bank
