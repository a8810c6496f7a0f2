#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace tarnex {

// The application title: caption of the error boxes and of the task-bar entry.
QString applicationTitle(); // "会计从业资格考试"

// Every message box of the program goes through here. In test mode nothing is shown: each call
// is recorded (kind, caption, text) and confirmations return the queued answers (Yes when none
// is queued), so a test asserts the exact message and drives both branches.
class Dialogs
{
public:
    enum class Kind
    {
        Information,
        Confirmation,
        Error,
        Plain
    };
    struct Shown
    {
        Kind kind;
        QString caption;
        QString text;
    };

    // Notice or refusal: information icon, OK button, caption "提示" unless given.
    static void info(QWidget* parent, const QString& text, const QString& caption = QString());
    // Yes/No question with the information icon; true on Yes.
    static bool confirm(QWidget* parent, const QString& text, const QString& caption = QString());
    // Error box: error icon, the application title as caption.
    static void error(QWidget* parent, const QString& text);
    // A box without icon, OK button, the given caption.
    static void plain(QWidget* parent, const QString& text, const QString& caption);

    // The window a box is owned by: the given one's window, else the modal or active window, else
    // the visible window the user works in. A box without owner would count as the last window
    // closing and could end the program when it is closed.
    static QWidget* owner(QWidget* parent);

    static void setTestMode(bool on);
    static bool testMode();
    static void queueAnswer(bool yes);
    static QList<Shown> takeShown();

private:
    static void record(Kind kind, const QString& caption, const QString& text);
};

} // namespace tarnex
