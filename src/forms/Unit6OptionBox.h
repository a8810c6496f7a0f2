#pragma once

#include <QCheckBox>

// An option box of the exam screen. It reports each answering gesture on it after the box has
// taken it, so the receiver reads the state the candidate sees: every finished mouse click (any
// button, released over the box or away from it), Space on the focused box, and the toggle or
// press action of an assistive technology. Setting the box from the program reports nothing.
class OptionBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit OptionBox(QWidget* parent = nullptr);

    // What an assistive technology's toggle or press action does: the box changes as by a click
    // and the gesture is reported. Nothing happens while the box is disabled.
    void accessibleToggle();

Q_SIGNALS:
    void answerGesture();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_inMouseRelease = false;
};
