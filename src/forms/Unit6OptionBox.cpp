#include "Unit6OptionBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

OptionBox::OptionBox(QWidget* parent) : QCheckBox(parent) {}

void OptionBox::mouseReleaseEvent(QMouseEvent* event)
{
    QCheckBox::mouseReleaseEvent(event);
    Q_EMIT answerGesture();
}

void OptionBox::keyReleaseEvent(QKeyEvent* event)
{
    const Qt::CheckState before = checkState();
    QCheckBox::keyReleaseEvent(event);
    if (checkState() != before)
        Q_EMIT answerGesture();
}
