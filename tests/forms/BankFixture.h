#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include "platform/NetworkProbe.h"

namespace tarnex::test {

// Writes a small question bank (kstk.dat) into a folder: the tables of the real bank, with the one
// row of tb_memo holding the given values (column -> text as stored).
void writeQuestionBank(const QString& folder, const QMap<QString, QString>& memo,
                       const QByteArray& password = "5820417");
// Writes titao.dat with the two paper lists.
void writePaperLists(const QString& folder, const QString& basics, const QString& regulations);
// Gives titao.dat the paper list of "初级会计电算化" (column memodsh), adding the column if missing.
void writeComputerAccountingPapers(const QString& folder, const QString& papers);
// Takes memodsh out of titao.dat: a paper-list file from before the third subject.
void removeComputerAccountingPapers(const QString& folder);
// Reads one column of tb_memo from kstk.dat with a connection of its own.
QString readMemoColumn(const QString& folder, const QString& column);

// A network probe with a fixed answer that counts its calls.
class FakeProbe : public NetworkProbe
{
public:
    bool reachable = false;
    int calls = 0;
    bool isReachable() override
    {
        ++calls;
        return reachable;
    }
};

} // namespace tarnex::test
