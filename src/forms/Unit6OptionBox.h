#pragma once

#include <QCheckBox>

// An option box of the exam screen. It reports each finished mouse click on it (any button,
// released over the box or away from it) after the box has taken the click, so the receiver
// reads the state the candidate sees. A toggle from the keyboard (Space) is reported too, so a
// ticked box is never left unrecorded.
class OptionBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit OptionBox(QWidget* parent = nullptr);

Q_SIGNALS:
    void answerGesture();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};
