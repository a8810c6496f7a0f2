#include "Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace tarnex {
namespace {

struct TestState
{
    bool on = false;
    QList<bool> answers;
    QList<Dialogs::Shown> shown;
};

TestState& state()
{
    static TestState s;
    return s;
}

QString noticeCaption()
{
    return QStringLiteral("提示");
}

QMessageBox::StandardButton showBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                    const QString& text, QMessageBox::StandardButtons buttons)
{
    // Line ends written LF CR (or CR LF) are one line break on screen, not two.
    QString shown = text;
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, caption, shown, buttons, Dialogs::owner(parent));
    // The buttons speak Chinese like the rest of the program, whatever translations are installed.
    if (auto* ok = box.button(QMessageBox::Ok))
        ok->setText(QStringLiteral("确定"));
    if (auto* yes = box.button(QMessageBox::Yes))
        yes->setText(QStringLiteral("是(&Y)"));
    if (auto* no = box.button(QMessageBox::No))
        no->setText(QStringLiteral("否(&N)"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

QWidget* Dialogs::owner(QWidget* parent)
{
    if (parent != nullptr)
        return parent->window();
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // Right after another box closed, no window may be active yet: the box goes to the window the
    // user works in, the one visible main window (the exam screen once the main window is hidden).
    QWidget* candidate = nullptr;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!window->isVisible() || window->windowType() == Qt::Popup ||
            window->windowType() == Qt::ToolTip || qobject_cast<QMessageBox*>(window) != nullptr)
            continue;
        // A parentless window is the program's main one; an owned window is on top of it.
        if (candidate == nullptr || window->parentWidget() != nullptr)
            candidate = window;
    }
    return candidate;
}

QString applicationTitle()
{
    return QStringLiteral("会计从业资格考试");
}

void Dialogs::info(QWidget* parent, const QString& text, const QString& caption)
{
    const QString shownCaption = caption.isEmpty() ? noticeCaption() : caption;
    if (testMode()) {
        record(Kind::Information, shownCaption, text);
        return;
    }
    showBox(parent, QMessageBox::Information, shownCaption, text, QMessageBox::Ok);
}

bool Dialogs::confirm(QWidget* parent, const QString& text, const QString& caption)
{
    const QString shownCaption = caption.isEmpty() ? noticeCaption() : caption;
    if (testMode()) {
        record(Kind::Confirmation, shownCaption, text);
        return state().answers.isEmpty() ? true : state().answers.takeFirst();
    }
    return showBox(parent, QMessageBox::Information, shownCaption, text,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void Dialogs::error(QWidget* parent, const QString& text)
{
    if (testMode()) {
        record(Kind::Error, applicationTitle(), text);
        return;
    }
    showBox(parent, QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok);
}

void Dialogs::plain(QWidget* parent, const QString& text, const QString& caption)
{
    if (testMode()) {
        record(Kind::Plain, caption, text);
        return;
    }
    showBox(parent, QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
}

void Dialogs::setTestMode(bool on)
{
    state().on = on;
    state().answers.clear();
    state().shown.clear();
}

bool Dialogs::testMode()
{
    return state().on;
}

void Dialogs::queueAnswer(bool yes)
{
    state().answers.append(yes);
}

QList<Dialogs::Shown> Dialogs::takeShown()
{
    return std::exchange(state().shown, {});
}

void Dialogs::record(Kind kind, const QString& caption, const QString& text)
{
    state().shown.append({kind, caption, text});
}

} // namespace tarnex
