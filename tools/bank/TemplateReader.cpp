#include "TemplateReader.h"

#include "ExchangeText.h"
#include "platform/TextUtil.h"

#include <QHash>

#include <array>

namespace tarnex::bank::Template {
namespace {

const QString ChoiceType = QStringLiteral("选择型");
const QString WrittenType = QStringLiteral("答题型");

QChar halfWidth(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0xFF01 && u <= 0xFF5E ? QChar(char16_t(u - 0xFEE0)) : c;
}

// Header cells are compared without blanks, with full-width letters and digits as ASCII.
QString headerKey(const QString& cell)
{
    QString key;
    for (const QChar c : cell) {
        const QChar h = halfWidth(c);
        if (h.unicode() > 32 && h != u'\x3000')
            key.append(h.toUpper());
    }
    return key;
}

// A cell's text: line breaks as LF, no other control characters, no blanks around it.
QString cleanCell(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\n' && c != u'\t'; });
    return trimmedText(text);
}

QString columnName(int column)
{
    QString name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

QString spelledLetters(const QString& letters)
{
    QStringList out;
    for (const QChar c : letters)
        out.append(QString(c.toUpper()));
    return out.join(QStringLiteral(", "));
}

struct Layout
{
    int kind = -1;
    int number = -1;
    int stem = -1;
    int options = -1;
    std::array<int, 4> option{-1, -1, -1, -1};
    int answer = -1;
    int analysis = -1;
    int type = -1;
    std::array<int, 5> sub{-1, -1, -1, -1, -1};
};

int* slotOf(Layout& layout, const QString& key)
{
    static const QHash<QString, int Layout::*> single = {
        {u"题型"_qs, &Layout::kind},    {u"题号"_qs, &Layout::number}, {u"题干"_qs, &Layout::stem},
        {u"选项"_qs, &Layout::options}, {u"答案"_qs, &Layout::answer}, {u"解析"_qs, &Layout::analysis},
        {u"类型"_qs, &Layout::type},
    };
    if (const auto it = single.constFind(key); it != single.constEnd())
        return &(layout.*(*it));
    if (key.size() == 3 && key.startsWith(u"选项") && key.at(2) >= u'A' && key.at(2) <= u'D')
        return &layout.option[size_t(key.at(2).unicode() - u'A')];
    if (key.size() == 5 && key.startsWith(u"小题答案") && key.at(4) >= u'1' && key.at(4) <= u'5')
        return &layout.sub[size_t(key.at(4).unicode() - u'1')];
    return nullptr;
}

std::optional<Layout> readHeader(const SheetRow& row, Diagnostics& diagnostics)
{
    Layout layout;
    bool ok = true;
    for (const auto& [column, cell] : row.cells) {
        const QString key = headerKey(cell);
        int* slot = slotOf(layout, key);
        if (!slot) {
            diagnostics.note(
                row.number,
                QStringLiteral("column %1 (%2) is not read").arg(columnName(column), cell.trimmed()));
            continue;
        }
        if (*slot >= 0) {
            diagnostics.error(row.number, QStringLiteral("column %1 is given twice (columns %2 and %3)")
                                              .arg(cell.trimmed(), columnName(*slot), columnName(column)));
            ok = false;
            continue;
        }
        *slot = column;
    }
    if (layout.stem < 0) {
        diagnostics.error(row.number, QStringLiteral("the header has no column 题干"));
        ok = false;
    }
    const bool lettered =
        std::any_of(layout.option.begin(), layout.option.end(), [](int c) { return c >= 0; });
    if (layout.options >= 0 && lettered) {
        diagnostics.error(row.number,
                          QStringLiteral("the header has both 选项 and 选项A..选项D; give one of them"));
        ok = false;
    }
    if (!ok)
        return std::nullopt;
    return layout;
}

class RowReader
{
public:
    RowReader(const Layout& layout, const SheetRow& row, Diagnostics& diagnostics)
        : m_layout(layout), m_row(row), m_diagnostics(diagnostics)
    {
    }

    QString cell(int column) const
    {
        if (column < 0)
            return {};
        const auto it = m_row.cells.find(column);
        return it == m_row.cells.end() ? QString() : cleanCell(it->second);
    }

    bool isEmpty() const
    {
        const Layout& l = m_layout;
        std::vector<int> used = {l.kind, l.number, l.stem, l.options, l.answer, l.analysis, l.type};
        used.insert(used.end(), l.option.begin(), l.option.end());
        used.insert(used.end(), l.sub.begin(), l.sub.end());
        return std::all_of(used.begin(), used.end(), [&](int column) { return cell(column).isEmpty(); });
    }

    std::optional<ExchangeQuestion> read()
    {
        ExchangeQuestion question;
        question.row = m_row.number;
        const QString kindCell = cell(m_layout.kind);
        if (kindCell.isEmpty())
            return fail(QStringLiteral("题型 is empty"));
        const std::optional<QString> kind = kindOf(kindCell);
        if (!kind)
            return fail(QStringLiteral(
                            "题型 \"%1\" is not one of 单选题, 多选题, 判断题, 计算分析, 案例分析, 实务操作")
                            .arg(kindCell));
        question.kind = *kind;
        const QString title = kindTitle(question.kind);

        question.number = cell(m_layout.number);
        if (question.number.contains(u'\n') || question.number.contains(u'\t'))
            error(QStringLiteral("题号 \"%1\" holds a line break or a tab").arg(question.number));

        const QString stem = cell(m_layout.stem);
        if (stem.isEmpty())
            error(QStringLiteral("题干 is empty"));
        question.tou = storedFromPlainText(stem);
        question.ping = storedFromPlainText(cell(m_layout.analysis));

        const bool choice = question.kind == u"dds" || question.kind == u"duo";
        const QString options = optionText();
        if (!options.isEmpty() && !choice)
            error(QStringLiteral("选项 is for 单选题 and 多选题; the options of a %1 belong in 题干")
                      .arg(title));
        if (choice)
            question.wei = storedFromPlainText(options);

        const QString answer = cell(m_layout.answer);
        if (choice)
            question.da = choiceAnswer(question.kind, answer, options);
        else if (question.kind == u"sf")
            question.da = trueFalseAnswer(answer);
        else if (!answer.isEmpty())
            error(
                question.kind == u"ws"
                    ? QStringLiteral("答案 is not used for a 实务操作; its reference answer belongs in 解析")
                    : QStringLiteral(
                          "答案 is not used for a %1; its sub-questions' answers go in 小题答案1 to "
                          "小题答案5")
                          .arg(title));

        const QString type = cell(m_layout.type);
        const bool subQuestions = question.kind == u"jsfx" || question.kind == u"anli";
        bool anySub = false;
        for (int i = 0; i < 5; ++i)
            anySub = anySub || !cell(m_layout.sub[size_t(i)]).isEmpty();
        if (question.kind == u"jsfx") {
            if (type.isEmpty())
                question.leixing = anySub ? ChoiceType : WrittenType;
            else if (type == ChoiceType || type == WrittenType)
                question.leixing = type;
            else
                error(QStringLiteral("类型 \"%1\" is neither 选择型 nor 答题型").arg(type));
        } else if (!type.isEmpty()) {
            error(QStringLiteral("类型 is only for 计算分析"));
        }
        if (subQuestions) {
            const bool required = question.kind == u"anli" || question.leixing == ChoiceType;
            for (int i = 0; i < 5; ++i)
                question.subAnswers[size_t(i)] = subAnswer(i, required, title);
        } else if (anySub) {
            error(QStringLiteral("小题答案 is only for 计算分析 and 案例分析"));
        }
        if (m_failed)
            return std::nullopt;
        return question;
    }

private:
    std::nullopt_t fail(const QString& message)
    {
        error(message);
        return std::nullopt;
    }

    void error(const QString& message)
    {
        m_diagnostics.error(m_row.number, message);
        m_failed = true;
    }

    // The option text: the 选项 cell, or "A. ..." lines from 选项A to 选项D.
    QString optionText()
    {
        if (m_layout.options >= 0)
            return cell(m_layout.options);
        QStringList lines;
        int missing = -1;
        for (int i = 0; i < 4; ++i) {
            const QString text = cell(m_layout.option[size_t(i)]);
            if (text.isEmpty()) {
                if (missing < 0)
                    missing = i;
                continue;
            }
            if (missing >= 0) {
                error(QStringLiteral("选项%1 is given but 选项%2 is empty")
                          .arg(QChar(u'A' + i), QChar(u'A' + missing)));
                missing = -1;
            }
            lines.append(QStringLiteral("%1. %2").arg(QChar(u'A' + i), text));
        }
        return lines.join(u'\n');
    }

    QString choiceAnswer(const QString& kind, const QString& answer, const QString& options)
    {
        if (answer.isEmpty()) {
            error(QStringLiteral("答案 is empty"));
            return {};
        }
        const std::optional<QString> letters = lettersOf(answer);
        if (!letters || letters->isEmpty()) {
            error(QStringLiteral("答案 \"%1\" is not made of the letters A to D").arg(answer));
            return {};
        }
        if (kind == u"dds" && letters->size() != 1) {
            error(QStringLiteral("a 单选题 has one answer letter; 答案 gives %1")
                      .arg(spelledLetters(*letters)));
            return {};
        }
        const QString offered = markedOptionLetters(options);
        for (const QChar letter : *letters) {
            if (!offered.isEmpty() && !offered.contains(letter)) {
                error(QStringLiteral("答案 %1 is not among the options (%2)")
                          .arg(QString(letter.toUpper()), spelledLetters(offered)));
                return {};
            }
        }
        return *letters;
    }

    QString trueFalseAnswer(const QString& answer)
    {
        if (answer.isEmpty()) {
            error(QStringLiteral("答案 is empty"));
            return {};
        }
        const std::optional<QString> value = trueFalseOf(answer);
        if (!value)
            error(QStringLiteral("答案 \"%1\" of a 判断题 is neither 正确 nor 错误 (对, 错)").arg(answer));
        return value.value_or(QString());
    }

    QString subAnswer(int index, bool required, const QString& title)
    {
        const QString text = cell(m_layout.sub[size_t(index)]);
        if (text.isEmpty()) {
            if (required)
                error(QStringLiteral(
                          "小题答案%1 is empty: every one of the five sub-questions of this %2 needs "
                          "its answer")
                          .arg(index + 1)
                          .arg(title));
            return {};
        }
        const std::optional<QString> letters = lettersOf(text);
        if (!letters || letters->isEmpty()) {
            error(QStringLiteral("小题答案%1 \"%2\" is not made of the letters A to D")
                      .arg(index + 1)
                      .arg(text));
            return {};
        }
        return *letters;
    }

    const Layout& m_layout;
    const SheetRow& m_row;
    Diagnostics& m_diagnostics;
    bool m_failed = false;
};

} // namespace

const QStringList& columns()
{
    static const QStringList list = {u"题型"_qs,      u"题号"_qs,      u"题干"_qs,      u"选项"_qs,
                                     u"答案"_qs,      u"解析"_qs,      u"类型"_qs,      u"小题答案1"_qs,
                                     u"小题答案2"_qs, u"小题答案3"_qs, u"小题答案4"_qs, u"小题答案5"_qs};
    return list;
}

std::optional<QString> kindOf(const QString& cell)
{
    QString key = headerKey(cell);
    if (key.endsWith(u'题'))
        key.chop(1);
    static const QHash<QString, QString> kinds = {
        {u"单选"_qs, u"dds"_qs},      {u"单项选择"_qs, u"dds"_qs},  {u"多选"_qs, u"duo"_qs},
        {u"多项选择"_qs, u"duo"_qs},  {u"判断"_qs, u"sf"_qs},       {u"是非"_qs, u"sf"_qs},
        {u"计算分析"_qs, u"jsfx"_qs}, {u"案例分析"_qs, u"anli"_qs}, {u"实务操作"_qs, u"ws"_qs},
    };
    const auto it = kinds.constFind(key);
    if (it == kinds.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<QString> lettersOf(const QString& cell)
{
    static const QString separators = QStringLiteral(" \t\n,;/、，；");
    bool seen[4] = {false, false, false, false};
    for (const QChar c : cell) {
        if (separators.contains(c) || c == u'\x3000')
            continue;
        const QChar letter = halfWidth(c).toLower();
        if (letter < u'a' || letter > u'd')
            return std::nullopt;
        seen[letter.unicode() - u'a'] = true;
    }
    QString letters;
    for (int i = 0; i < 4; ++i) {
        if (seen[i])
            letters.append(QChar(u'a' + i));
    }
    return letters;
}

std::optional<QString> trueFalseOf(const QString& cell)
{
    const QString key = headerKey(cell);
    if (key == u"正确" || key == u"对" || key == u"A")
        return QStringLiteral("a");
    if (key == u"错误" || key == u"错" || key == u"B")
        return QStringLiteral("b");
    return std::nullopt;
}

std::vector<ExchangeQuestion> read(const Sheet& sheet, Diagnostics& diagnostics)
{
    std::vector<ExchangeQuestion> questions;
    auto header = sheet.rows.begin();
    for (; header != sheet.rows.end(); ++header) {
        const bool named = std::any_of(header->cells.begin(), header->cells.end(),
                                       [](const auto& cell) { return headerKey(cell.second) == u"题型"; });
        if (named)
            break;
    }
    if (header == sheet.rows.end()) {
        diagnostics.error(
            0, QStringLiteral("no header row: a row must name the columns 题型, 题号, 题干, 选项 (or "
                              "选项A to 选项D), 答案, 解析, 类型, 小题答案1 to 小题答案5"));
        return questions;
    }
    const std::optional<Layout> layout = readHeader(*header, diagnostics);
    if (!layout)
        return questions;
    for (auto it = header + 1; it != sheet.rows.end(); ++it) {
        RowReader row(*layout, *it, diagnostics);
        if (row.isEmpty())
            continue;
        if (auto question = row.read())
            questions.push_back(std::move(*question));
    }
    return questions;
}

} // namespace tarnex::bank::Template
