#pragma once

#include <QString>
#include <QStringList>

namespace tarnex {

// The order of "上一题" and "下一题": the numbers of all question nodes of the index, root by root,
// in the order of the tree. It is built when the paper is loaded and stays as it is.
class NavigationList
{
public:
    enum class Step
    {
        Nothing,   // the list is empty
        Moved,     // the position changed
        AtBoundary // already at the last (or first) entry: the caller shows its message
    };

    void clear() { m_entries.clear(); }
    void append(const QString& number) { m_entries.append(number); }
    const QStringList& entries() const { return m_entries; }
    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    QString at(int position) const { return m_entries.value(position); }

    // The position of the first entry equal to the number, ignoring letter case; -1 for none.
    int indexOf(const QString& number) const;

    // Moves the position one entry on (or back) unless it is at the end (or start) already.
    Step stepNext(int& position) const;
    Step stepPrevious(int& position) const;

    static QString lastEntryMessage();  // 已经到最后一题了！
    static QString firstEntryMessage(); // 已经到第一题了！

private:
    QStringList m_entries;
};

} // namespace tarnex
