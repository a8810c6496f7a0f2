#include "NavigationList.h"

namespace tarnex {

int NavigationList::indexOf(const QString& number) const
{
    for (int i = 0; i < size(); ++i) {
        if (m_entries.at(i).compare(number, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

NavigationList::Step NavigationList::stepNext(int& position) const
{
    if (isEmpty())
        return Step::Nothing;
    if (position < size() - 1) {
        ++position;
        return Step::Moved;
    }
    return Step::AtBoundary;
}

NavigationList::Step NavigationList::stepPrevious(int& position) const
{
    if (isEmpty())
        return Step::Nothing;
    if (position > 0) {
        --position;
        return Step::Moved;
    }
    return Step::AtBoundary;
}

QString NavigationList::lastEntryMessage()
{
    return QStringLiteral("已经到最后一题了！");
}

QString NavigationList::firstEntryMessage()
{
    return QStringLiteral("已经到第一题了！");
}

} // namespace tarnex
