#pragma once

#include <QString>
#include <QStringList>

namespace tarnex {

// The verdict on one objective answer (single choice, multiple choice, true/false) at hand-in.
struct RowVerdict
{
    bool counts = false; // a correct answer: given and equal to the correct one
    bool marked = false; // the question's node gets the "wrong" image
};

// Compares the trimmed correct answer `da` with the trimmed chosen answer `xuan`, exactly and
// case-sensitively: "ABD" or "dba" for "abd" is wrong. An unanswered question is wrong and marked,
// unless its correct answer is empty as well; then it is neither counted nor marked.
RowVerdict scoreObjectiveRow(const QString& da, const QString& xuan);

// Adds up the rows of the three objective tables in the order hand-in walks them.
class ScoreTally
{
public:
    void add(const QString& tihao, const QString& da, const QString& xuan);

    int count() const { return m_count; }
    // The trimmed question numbers of the marked rows, in the order they were added.
    const QStringList& markedQuestions() const { return m_marked; }

private:
    int m_count = 0;
    QStringList m_marked;
};

} // namespace tarnex
