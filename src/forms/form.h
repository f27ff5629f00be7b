#pragma once

#include <QWidget>

#include <array>
#include <span>
#include <string_view>

#include "forms/controls.h"

class QAbstractButton;

namespace recibo::forms {

// A top-level window of the program, laid out in twips from a table of
// controls. Enter presses its default button (also from a text box) and
// Escape its cancel button, where it has them. Closing it through the window
// frame calls frameClosed(), which only hides it unless a window says otherwise.
class Form : public QWidget {
    Q_OBJECT
public:
    Form(const char *name, const QString &caption, int widthTwips, int heightTwips, const QColor &background);

    // A control of this window, looked up once when the window is built. A
    // control missing from the window's table is a fault of the program, so
    // start-up stops there and says which.
    template <typename T = QWidget> T *require(std::string_view name) const
    {
        return requireNamed<T>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    // Elements first to first + N - 1 of a control array: "cod(0)", "cod(1)", ...
    template <typename T, std::size_t N> std::array<T *, N> requireArray(std::string_view array, int first = 0) const
    {
        std::array<T *, N> elements{};
        for (std::size_t i = 0; i < N; ++i)
            elements[i] = requireNamed<T>(elementName(array, first + static_cast<int>(i)));
        return elements;
    }

    // Unusable input in the named box: where it can be seen, it gets the
    // focus with its text selected. False when the window has no such control.
    bool focusField(const QString &controlName);

    // Shows the window without blocking and brings it to the front.
    void bringForward();

    void setDefaultButton(QAbstractButton *button) { defaultButton_ = button; }
    void setCancelButton(QAbstractButton *button) { cancelButton_ = button; }

protected:
    void build(std::span<const Control> controls) { buildAll(this, controls); }
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    virtual void frameClosed() { hide(); }

private:
    template <typename T> T *requireNamed(const QString &name) const
    {
        T *widget = findChild<T *>(name);
        if (!widget)
            missingControl(name, T::staticMetaObject.className());
        return widget;
    }
    [[noreturn]] void missingControl(const QString &name, const char *kind) const;

    QAbstractButton *defaultButton_ = nullptr;
    QAbstractButton *cancelButton_ = nullptr;
};

} // namespace recibo::forms
