#pragma once

#include "QuestionKind.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tarnex {

// The heading above a question: root text, " 第", number, "题" (多选题 第25题).
QString questionHeading(const QString& rootText, const QString& number);

// The correct-answer line of the exam screen with no answer after it, as a root node shows it.
QString bareCorrectAnswerLine();

// The correct answers of one question as stored: da, da1..da5 and leixing (columns a kind lacks
// stay empty).
struct CorrectAnswer
{
    QString da;
    QStringList subAnswers; // da1..da5
    QString leixing;
};

// The correct-answer line shown under the question after hand-in:
//   single and multiple choice  "正确答案：" + da trimmed and upper-cased;
//   true/false                  "正确答案： 正确" when da trimmed is "a", else "正确答案： 错误";
//   case, calculation of the choice type
//                               "正确答案(1-5)：" + da1..da5 trimmed, upper-cased, joined by "\";
//   written calculation, practical "正确答案：".
QString correctAnswerLine(QuestionKind kind, const CorrectAnswer& answer);

// The fixed identity of the candidate shown on the exam screen.
QString candidateName();         // 路人甲
QString admissionTicketNumber(); // 37012011210323499

// The information line with the start of the exam: four blanks, "开始考试时间：" and the local
// time as yyyy-MM-dd hh:mm:ss (24-hour clock).
QString startTimeLine(const QDateTime& start);

} // namespace tarnex
