#include "Scoring.h"

#include "platform/TextUtil.h"

namespace tarnex {

RowVerdict scoreObjectiveRow(const QString& da, const QString& xuan)
{
    const QString d = trimmedText(da);
    const QString x = trimmedText(xuan);
    RowVerdict verdict;
    verdict.marked = d != x;
    verdict.counts = !x.isEmpty() && d == x;
    return verdict;
}

void ScoreTally::add(const QString& tihao, const QString& da, const QString& xuan)
{
    const RowVerdict verdict = scoreObjectiveRow(da, xuan);
    if (verdict.marked)
        m_marked.append(trimmedText(tihao));
    if (verdict.counts)
        ++m_count;
}

} // namespace tarnex
