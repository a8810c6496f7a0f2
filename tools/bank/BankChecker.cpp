#include "BankChecker.h"

#include "BankFiles.h"
#include "data/BankSchema.h"
#include "data/NaturalOrder.h"
#include "platform/TextUtil.h"

#include <QHash>
#include <QRegularExpression>

#include <map>
#include <set>

namespace tarnex::bank {
namespace {

const QString ChoiceType = QStringLiteral("选择型");

QString paperName(const QString& kemu, const QString& tao)
{
    return kemu + QStringLiteral(" / ") + tao;
}

QString questionName(const QString& table, const QString& kemu, const QString& tao, const QString& number)
{
    return QStringLiteral("%1 %2 #%3").arg(table, paperName(kemu, tao), number);
}

struct Occurrence
{
    QString table;
    QString number;
};

// The questions of each kind in a full paper, by subject, from paper_counts; a row that cannot be
// read is a finding and checks nothing.
std::map<QString, std::map<QString, int>> fullPaperCounts(const TableData& table, QStringList& findings)
{
    std::map<QString, std::map<QString, int>> full;
    std::set<QString> seen;
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    for (int row = 0; row < int(table.rows.size()); ++row) {
        const QString subject = table.text(row, QStringLiteral("kemu"));
        if (!seen.insert(subject).second) {
            findings.append(QStringLiteral("%1: the counts of %2 are given more than once")
                                .arg(BankSchema::paperCountsTable(), subject));
            continue;
        }
        std::map<QString, int> counts;
        bool readable = true;
        for (const QString& kind : BankSchema::questionTables()) {
            const QString value = table.columnIndex(kind) < 0 ? QString() : table.text(row, kind);
            bool ok = false;
            const int count = value.toInt(&ok);
            if (!ok || !digits.match(value).hasMatch()) {
                findings.append(QStringLiteral("%1: %2 of %3 \"%4\" is not a number of questions")
                                    .arg(BankSchema::paperCountsTable(), kind, subject, value));
                readable = false;
                continue;
            }
            counts[kind] = count;
        }
        if (readable)
            full[subject] = std::move(counts);
    }
    return full;
}

} // namespace

bool isSingleChoiceAnswer(const QString& da)
{
    return da == u"a" || da == u"b" || da == u"c" || da == u"d";
}

bool isMultipleChoiceAnswer(const QString& da)
{
    static const QRegularExpression letters(QStringLiteral("^a?b?c?d?$"));
    return !da.isEmpty() && letters.match(da).hasMatch();
}

bool isTrueFalseAnswer(const QString& da)
{
    return da == u"a" || da == u"b";
}

QStringList checkBank(const BankTables& bank)
{
    QStringList findings;
    using PaperKey = std::pair<QString, QString>;
    std::map<PaperKey, int> questionCounts;
    std::map<PaperKey, std::map<QString, int>> kindCounts;
    // Numbers per paper, compared the way the exam screen finds them: trimmed, ignoring case.
    std::map<PaperKey, std::map<QString, std::vector<Occurrence>>> numbers;

    for (const TableData& table : bank.questions) {
        for (int row = 0; row < int(table.rows.size()); ++row) {
            const QString kemu = table.text(row, QStringLiteral("kemu"));
            const QString tao = table.text(row, QStringLiteral("tao"));
            const QString number = table.text(row, QStringLiteral("tihao"));
            const PaperKey key{kemu, tao};
            ++questionCounts[key];
            ++kindCounts[key][table.name];
            const QString where = questionName(table.name, kemu, tao, number);
            if (trimmedText(number).isEmpty())
                findings.append(QStringLiteral("%1: the question has no number").arg(where));
            else
                numbers[key][trimmedText(number).toCaseFolded()].push_back({table.name, number});

            auto answer = [&](const QString& column) { return table.text(row, column); };
            if (table.name == u"dds" && !isSingleChoiceAnswer(answer(QStringLiteral("da"))))
                findings.append(
                    QStringLiteral("%1: da \"%2\" is not one of a, b, c, d").arg(where, answer(u"da"_qs)));
            else if (table.name == u"duo" && !isMultipleChoiceAnswer(answer(QStringLiteral("da"))))
                findings.append(
                    QStringLiteral("%1: da \"%2\" is not one or more of a, b, c, d, each once, in order")
                        .arg(where, answer(u"da"_qs)));
            else if (table.name == u"sf" && !isTrueFalseAnswer(answer(QStringLiteral("da"))))
                findings.append(QStringLiteral("%1: da \"%2\" is neither a (true) nor b (false)")
                                    .arg(where, answer(u"da"_qs)));

            // Another tool may have stored a rich-text column as TEXT rather than as a blob; the
            // program shows it as the text it is, but it is not the bank's format.
            for (const QString& column :
                 {QStringLiteral("tou"), QStringLiteral("wei"), QStringLiteral("ping")}) {
                if (table.columnIndex(column) < 0)
                    continue;
                const QVariant& value = table.cell(row, column);
                if (value.typeId() == QMetaType::QString && !value.toString().isEmpty())
                    findings.append(
                        QStringLiteral("%1: %2 is stored as text, not as the blob of a rich-text column")
                            .arg(where, column));
            }

            const bool subQuestions =
                table.name == u"anli" ||
                (table.name == u"jsfx" && answer(QStringLiteral("leixing")) == ChoiceType);
            if (subQuestions) {
                for (int i = 1; i <= 5; ++i) {
                    const QString column = QStringLiteral("da%1").arg(i);
                    if (!isMultipleChoiceAnswer(answer(column)))
                        findings.append(
                            QStringLiteral(
                                "%1: %2 \"%3\" is not one or more of a, b, c, d, each once, in order")
                                .arg(where, column, answer(column)));
                }
            }
        }
    }

    for (const auto& [paper, byNumber] : numbers) {
        for (const auto& [folded, uses] : byNumber) {
            if (uses.size() < 2)
                continue;
            QStringList places;
            for (const Occurrence& use : uses)
                places.append(QStringLiteral("%1 #%2").arg(use.table, use.number));
            findings.append(QStringLiteral("%1: number %2 is used %3 times (%4)")
                                .arg(paperName(paper.first, paper.second), uses.front().number)
                                .arg(uses.size())
                                .arg(places.join(QStringLiteral(", "))));
        }
    }

    std::map<PaperKey, bool> listed;
    for (const BankSchema::SubjectPapers& entry : BankSchema::subjects()) {
        const QString& column = entry.column;
        const QString& subject = entry.subject;
        const QString list = bank.paperLists.rows.empty() || bank.paperLists.columnIndex(column) < 0
                                 ? QString()
                                 : bank.paperLists.text(0, column);
        const QStringList entries = splitListLines(list);
        for (int line = 0; line < entries.size(); ++line) {
            const PaperKey key{subject, entries.at(line)};
            listed[key] = true;
            if (!questionCounts.contains(key))
                findings.append(QStringLiteral("%1 line %2: paper \"%3\" of %4 has no questions")
                                    .arg(column)
                                    .arg(line + 1)
                                    .arg(entries.at(line), subject));
        }
    }
    for (const auto& [paper, count] : questionCounts) {
        if (!listed.contains(paper))
            findings.append(QStringLiteral("%1: %2 question(s), but the paper is in no paper list")
                                .arg(paperName(paper.first, paper.second))
                                .arg(count));
    }

    const std::map<QString, std::map<QString, int>> full = fullPaperCounts(bank.paperCounts, findings);
    for (const auto& [paper, counts] : kindCounts) {
        const auto subject = full.find(paper.first);
        if (subject == full.end())
            continue;
        for (const QString& table : BankSchema::questionTables()) {
            const auto actual = counts.find(table);
            const int have = actual == counts.end() ? 0 : actual->second;
            const int want = subject->second.at(table);
            if (have != want)
                findings.append(QStringLiteral("%1: %2 %3 question(s), a full paper of %4 has %5")
                                    .arg(paperName(paper.first, paper.second))
                                    .arg(have)
                                    .arg(table, paper.first)
                                    .arg(want));
        }
    }
    return findings;
}

} // namespace tarnex::bank
