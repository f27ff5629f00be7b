#include "forms/form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace recibo::forms {

Form::Form(const char *name, const QString &caption, int widthTwips, int heightTwips, const QColor &background)
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    resize(pixels(widthTwips), pixels(heightTwips));
    setBackground(this, background);
}

void Form::keyPressEvent(QKeyEvent *event)
{
    const auto press = [event](QAbstractButton *button) {
        if (button && button->isVisible() && button->isEnabled())
            button->click();
        event->accept();
    };
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A push button with the focus takes Enter for itself, as a default
        // button of the moment; anywhere else Enter presses the default button.
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget());
            focused && !focused->isCheckable() && isAncestorOf(focused)) {
            press(focused);
            return;
        }
        if (defaultButton_ && !(event->modifiers() & ~Qt::KeypadModifier)) {
            press(defaultButton_);
            return;
        }
        break;
    case Qt::Key_Escape:
        if (cancelButton_) {
            press(cancelButton_);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

bool Form::focusField(const QString &controlName)
{
    auto *field = findChild<QWidget *>(controlName);
    if (!field)
        return false;
    if (field->isVisible()) {
        raise();
        field->setFocus();
        if (auto *box = qobject_cast<QLineEdit *>(field))
            box->selectAll();
    }
    return true;
}

void Form::bringForward()
{
    show();
    raise();
    activateWindow();
}

void Form::missingControl(const QString &name, const char *kind) const
{
    qFatal("The window %s has no control %s of kind %s", qPrintable(objectName()), qPrintable(name), kind);
}

void Form::closeEvent(QCloseEvent *event)
{
    // The windows live for the whole run: closing one never destroys it.
    event->ignore();
    frameClosed();
}

} // namespace recibo::forms
