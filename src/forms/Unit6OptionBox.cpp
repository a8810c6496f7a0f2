#include "Unit6OptionBox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

// A caption without its mnemonic marks: "&A" reads "A", "&&" reads "&".
QString withoutMnemonic(const QString& caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        text.append(caption.at(i));
    }
    return text;
}

// The accessible face of an option box. Qt's own check-box interface toggles through
// setChecked(), which cannot be told from the program restoring a stored answer; this one
// toggles as a click does, so the answer is recorded.
class OptionBoxAccessible : public QAccessibleWidget
{
public:
    explicit OptionBoxAccessible(OptionBox* box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

    OptionBox* box() const { return static_cast<OptionBox*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = box()->accessibleName();
            return name.isEmpty() ? withoutMnemonic(box()->text()) : name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = box()->isChecked();
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (box()->isEnabled())
            names << toggleAction() << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == toggleAction() || actionName == pressAction())
            box()->accessibleToggle();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface* optionBoxAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("OptionBox") && object != nullptr && object->isWidgetType())
        return new OptionBoxAccessible(static_cast<OptionBox*>(object));
    return nullptr;
}

} // namespace

OptionBox::OptionBox(QWidget* parent) : QCheckBox(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(optionBoxAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    // Space (and any other click that does not come from the mouse) is reported once the box
    // has changed; the mouse reports after its release, whether or not the box changed.
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!m_inMouseRelease)
            Q_EMIT answerGesture();
    });
}

void OptionBox::accessibleToggle()
{
    if (isEnabled())
        click();
}

void OptionBox::mouseReleaseEvent(QMouseEvent* event)
{
    m_inMouseRelease = true;
    QCheckBox::mouseReleaseEvent(event);
    m_inMouseRelease = false;
    Q_EMIT answerGesture();
}
