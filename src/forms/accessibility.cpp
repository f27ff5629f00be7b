#include "forms/accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>

#include "forms/controls.h"
#include "forms/decoration.h"
#include "forms/line.h"

namespace recibo::forms {

namespace {

// An option button drawn as a toggle button: one of a group of which one is
// chosen, so it is announced as a radio button with its checked state.
// Choosing it from assistive technology is the same click a user makes, so
// the option's rule runs.
class OptionButton : public QAccessibleWidget {
public:
    explicit OptionButton(QAbstractButton *button) : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = button()->text();
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << pressAction() << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction() || action == toggleAction()) {
            if (widget()->isEnabled())
                button()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

// A label inside a frame says its own text and nothing else: an empty one
// stays silent instead of being named after the frame, as Qt would name it.
class FramedLabel : public QAccessibleWidget {
public:
    explicit FramedLabel(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const QString name = widget()->accessibleName();
        return name.isEmpty() ? static_cast<QLabel *>(widget())->text() : name;
    }
};

// A rule or a drawing: present for the layout's sake, never announced. Without
// this Qt would name a rule after the frame around it.
class Decorative : public QAccessibleWidget {
public:
    Decorative(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    QString text(QAccessible::Text) const override { return {}; }
    QStringList actionNames() const override { return {}; }
};

QAccessibleInterface *describe(const QString &className, QObject *object)
{
    // Qt asks for every class of the object, most derived first; the first
    // question settles it.
    if (!object || !object->isWidgetType() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (qobject_cast<Line *>(widget))
        return new Decorative(widget, QAccessible::Separator);
    // The pictures and the filled rectangles (plain frames) are drawings.
    if (qobject_cast<Decoration *>(widget) || className == QLatin1String(QFrame::staticMetaObject.className()))
        return new Decorative(widget, QAccessible::Graphic);
    if (auto *button = qobject_cast<QAbstractButton *>(widget); button && button->property(kOptionProperty).toBool())
        return new OptionButton(button);
    if (auto *label = qobject_cast<QLabel *>(widget); label && qobject_cast<QGroupBox *>(label->parentWidget()))
        return new FramedLabel(label);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(describe);
}

} // namespace recibo::forms
