#include "WindowCaption.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace tarnex {
namespace {

// The platform replaces an empty title by the application's name; a zero-width space is a title
// that shows nothing.
const QString& blankPlatformTitle()
{
    static const QString title(QChar(0x200B));
    return title;
}

// Keeps the platform window's title blank while the widget's title is empty, also when the
// platform window is created or re-created later.
class EmptyCaptionKeeper : public QObject
{
public:
    explicit EmptyCaptionKeeper(QWidget* window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
    }

    void apply()
    {
        QWindow* handle = m_window->windowHandle();
        if (handle == nullptr)
            return;
        if (m_window->windowTitle().isEmpty()) {
            if (handle->title() != blankPlatformTitle())
                handle->setTitle(blankPlatformTitle());
        } else if (handle->title() != m_window->windowTitle()) {
            handle->setTitle(m_window->windowTitle());
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window) {
            switch (event->type()) {
            case QEvent::WinIdChange:
            case QEvent::Show:
            case QEvent::WindowTitleChange:
                apply();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
};

} // namespace

void setWindowCaption(QWidget* window, const QString& caption)
{
    EmptyCaptionKeeper* keeper = nullptr;
    for (QObject* child : window->children()) {
        if ((keeper = dynamic_cast<EmptyCaptionKeeper*>(child)) != nullptr)
            break;
    }
    if (keeper == nullptr)
        keeper = new EmptyCaptionKeeper(window);
    // An empty QString and a null one are the same caption.
    window->setWindowTitle(caption.isNull() ? QStringLiteral("") : caption);
    keeper->apply();
}

} // namespace tarnex
