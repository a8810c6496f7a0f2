#include "SubjectFile.h"

#include "platform/AppPaths.h"
#include "platform/CodePage.h"
#include "platform/TextUtil.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace tarnex {
namespace {

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace

QString subjectFilePath()
{
    return AppPaths::programFile(QStringLiteral("kjkm.dat"));
}

const QList<SubjectNode>& builtInSubjects()
{
    static const QList<SubjectNode> nodes = [] {
        QList<SubjectNode> list{{0, QStringLiteral("资产类")}};
        const QString subjects[] = {
            QStringLiteral("库存现金"),       QStringLiteral("银行存款"), QStringLiteral("其他货币资金"),
            QStringLiteral("交易性金融资产"), QStringLiteral("应收票据"), QStringLiteral("应收账款"),
            QStringLiteral("预付账款"),       QStringLiteral("应收股利"), QStringLiteral("应收利息"),
            QStringLiteral("其他应收款"),     QStringLiteral("坏账准备"),
        };
        for (const QString& subject : subjects)
            list.append({1, subject});
        return list;
    }();
    return nodes;
}

QString decodeSubjectText(const QByteArray& bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, view.sliced(3));
    if (view.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, view.sliced(2));
    if (view.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, view.sliced(2));
    return CodePage::decode(bytes, CodePage::Ansi);
}

SubjectList parseSubjectFile(const QByteArray& bytes)
{
    SubjectList result;
    const QStringList lines = splitListLines(decodeSubjectText(bytes));
    int previousDepth = -1; // no node yet
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        qsizetype level = 0;
        while (level < line.size() && (line.at(level) == u'\t' || line.at(level) == u' '))
            ++level;
        const QString text = line.mid(level);

        int depth = 0;
        if (previousDepth < 0) {
            depth = 0;
        } else if (level <= previousDepth + 1) {
            // The same level: a sibling; one deeper: a child; shallower: the sibling of the
            // ancestor at that level.
            depth = int(level);
        } else {
            result.error = QStringLiteral("科目文件第 %1 行的层级 %2 无效：“%3”比上一行深了不止一级。")
                               .arg(QString::number(i + 1), QString::number(level), text);
            return result;
        }
        result.nodes.append({depth, text});
        previousDepth = depth;
    }
    return result;
}

SubjectList loadSubjectFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SubjectList result;
        result.nodes = builtInSubjects();
        result.error = QStringLiteral("无法打开科目文件“%1”。").arg(QDir::toNativeSeparators(path));
        return result;
    }
    return parseSubjectFile(file.readAll());
}

} // namespace tarnex
