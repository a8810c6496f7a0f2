#include "ExamWindowRules.h"

#include "platform/TextUtil.h"

#include <algorithm>

namespace tarnex {

bool showsExamAsStrip(QuestionKind kind, const QString& handInCaption)
{
    return kind == QuestionKind::Practical && trimmedText(handInCaption) == u"交卷";
}

QRect bottomStripGeometry(const QRect& workArea, int height)
{
    const int h = std::clamp(height, 0, workArea.height());
    return QRect(workArea.left(), workArea.bottom() + 1 - h, workArea.width(), h);
}

} // namespace tarnex
