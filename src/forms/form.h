#pragma once

#include <QWidget>

#include <span>

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

    template <typename T = QWidget> T *control(const QString &name) const { return findChild<T *>(name); }
    template <typename T = QWidget> T *element(std::string_view array, int index) const
    {
        return findChild<T *>(elementName(array, index));
    }

    void setDefaultButton(QAbstractButton *button) { defaultButton_ = button; }
    void setCancelButton(QAbstractButton *button) { cancelButton_ = button; }

protected:
    void build(std::span<const Control> controls) { buildAll(this, controls); }
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    virtual void frameClosed() { hide(); }

private:
    QAbstractButton *defaultButton_ = nullptr;
    QAbstractButton *cancelButton_ = nullptr;
};

} // namespace recibo::forms
