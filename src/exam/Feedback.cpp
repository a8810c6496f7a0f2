#include "Feedback.h"

#include "platform/TextUtil.h"

namespace tarnex {

QString computerAccountingSubject()
{
    return QStringLiteral("初级会计电算化");
}

QString lowestBandPhrase(int san)
{
    switch (san) {
    case 1:
        return QStringLiteral("正确率不足30% 亲 你还得努力！");
    case 2:
        return QStringLiteral("正确率还不足30% 亲 再学习吗?");
    case 3:
        return QStringLiteral("正确率还不足30% 亲 你不用去考试了，再去就是浪费时间！");
    default:
        return {};
    }
}

QString secondBandPhrase(int liu)
{
    switch (liu) {
    case 1:
        return QStringLiteral("正确率不足60% 假如真的考试 你会不及格的！");
    case 2:
        return QStringLiteral("正确率还不足60% 亲 再学习吗?");
    case 3:
        return QStringLiteral("正确率还不足60% 亲 你不用去考试了，再去就是浪费时间！");
    default:
        return {};
    }
}

FeedbackPhrase chooseFeedbackPhrase(const QString& subject, int count, const RotationCounters& counters)
{
    if (trimmedText(subject) == computerAccountingSubject()) {
        if (count <= 14)
            return {QStringLiteral("亲还得努力！"), 0};
        if (count <= 17)
            return {QStringLiteral("亲离过关 只有一步之遥！"), 0};
        return {};
    }
    if (count <= 17)
        return {lowestBandPhrase(counters.san), RotationCounters::SanBand};
    if (count <= 35)
        return {secondBandPhrase(counters.liu), RotationCounters::LiuBand};
    if (count <= 53)
        return {QStringLiteral("正确率60%－90% 亲 继续努力过关没问题！"), 0};
    if (count <= 59)
        return {QStringLiteral("正确率90%－100% 亲 离过关只有一步之遥！"), 0};
    return {QStringLiteral("正确率100% 亲 你真的很棒 ^_^ ！"), 0};
}

QString scoreMessage(int count, const QString& phrase)
{
    const QString lineEnd = QStringLiteral("\n\r");
    return QStringLiteral("单选、多选、是非题，答对数：") + QString::number(count) + QStringLiteral(" 题") +
           lineEnd + QStringLiteral("其它题型 答对数：未统计") + lineEnd + phrase;
}

HandInFeedback composeHandInFeedback(const QString& subject, int count, const RotationCounters& before)
{
    const FeedbackPhrase choice = chooseFeedbackPhrase(subject, count, before);
    HandInFeedback feedback;
    feedback.count = count;
    feedback.message = scoreMessage(count, choice.phrase);
    feedback.rotationCode = choice.rotationCode;
    feedback.counters = choice.rotationCode != 0 ? before.advanced(choice.rotationCode) : before;
    return feedback;
}

} // namespace tarnex
