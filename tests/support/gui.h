#pragma once

// Shared set-up for the window tests: the es_AR locale (decimal comma), a
// fresh set of windows started as the program starts them, and small helpers
// that act as a user would.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include "app/desk.h"
#include "app/startup.h"
#include "selection/advertencia.h"
#include "dialogs/error_window.h"
#include "entry/ingreso.h"
#include "slip/haberes.h"

namespace recibo::test {

inline void useArgentineLocale() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina)); }

// Starts the program's windows afresh and returns them; the quit handler only
// records that the program would have ended.
inline Desk &startFresh(bool *quitCalled = nullptr)
{
    useArgentineLocale();
    startEntryWindow();
    Desk &desk = currentDesk();
    desk.setQuitHandler([quitCalled] {
        if (quitCalled)
            *quitCalled = true;
    });
    return desk;
}

template <typename T = QWidget> T *child(const QWidget &window, const QString &name)
{
    T *widget = window.findChild<T *>(name);
    if (!widget)
        qWarning("no control named %s in %s", qPrintable(name), qPrintable(window.objectName()));
    return widget;
}

// Clicks a button, check box or option as the mouse does.
inline void click(QAbstractButton *button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Empties a text box and types the text key by key (any character).
inline void type(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

inline QString caption(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *box = qobject_cast<const QLineEdit *>(widget))
        return box->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    return {};
}

// Whether a control would be drawn: shown itself and inside a shown window.
inline bool shown(const QWidget *widget) { return widget && widget->isVisibleTo(widget->window()) && widget->window()->isVisible(); }

// Starts the windows afresh and calculates a slip for `hours` hours at
// secondary level for `teacher`, typed and clicked as a user does.
inline Desk &calculateSecondaryHours(const QString &teacher, const QString &hours)
{
    Desk &desk = startFresh();
    Ingreso &ingreso = desk.ingreso();
    type(child<QLineEdit>(ingreso, QStringLiteral("docente")), teacher);
    click(child<QAbstractButton>(ingreso, QStringLiteral("horasmedio")));
    type(child<QLineEdit>(ingreso, QStringLiteral("numerohorasmed")), hours);
    click(child<QAbstractButton>(ingreso, QStringLiteral("Command1")));
    return desk;
}

} // namespace recibo::test
