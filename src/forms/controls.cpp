#include "forms/controls.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <array>
#include <cmath>

#include "forms/decoration.h"
#include "forms/line.h"

namespace recibo::forms {

namespace {

QString text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// A check box that answers a click anywhere on it, caption and blank included.
class WholeCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};

// A closed combo box changes its item under the mouse wheel only while it
// has the keyboard focus: a wheel turned to scroll the window must never
// silently change the chosen cargo or zone. Nor does the wheel give it focus.
class WheelFocusCombo : public QComboBox {
public:
    explicit WheelFocusCombo(QWidget *parent) : QComboBox(parent) { setFocusPolicy(Qt::StrongFocus); }

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        if (!hasFocus() && !(lineEdit() && lineEdit()->hasFocus())) {
            event->ignore();
            return;
        }
        QComboBox::wheelEvent(event);
    }
};

QWidget *containerOf(QWidget *window, const Control &control)
{
    if (control.parent.empty())
        return window;
    auto *frame = window->findChild<QWidget *>(text(control.parent));
    Q_ASSERT_X(frame, "build", "a frame must be built before the controls it holds");
    return frame ? frame : window;
}

// Option buttons of one frame (or of the window itself) exclude each other.
QButtonGroup *optionGroupOf(QWidget *container)
{
    auto *group = container->findChild<QButtonGroup *>(QStringLiteral("options"), Qt::FindDirectChildrenOnly);
    if (!group) {
        group = new QButtonGroup(container);
        group->setObjectName(QStringLiteral("options"));
        group->setExclusive(true);
    }
    return group;
}

void applyColours(QWidget *widget, const Control &control)
{
    QPalette palette = widget->palette();
    const auto set = [&](QPalette::ColorRole role, const Rgb &rgb) {
        if (rgb.isSet())
            palette.setColor(role, rgb.color());
    };
    switch (control.kind) {
    case Kind::TextBox:
    case Kind::Combo:
        set(QPalette::Base, control.bg);
        set(QPalette::Text, control.fg);
        set(QPalette::Button, control.bg);
        set(QPalette::ButtonText, control.fg);
        set(QPalette::WindowText, control.fg);
        break;
    case Kind::Button:
    case Kind::Toggle:
    case Kind::Option:
        set(QPalette::Button, control.bg);
        set(QPalette::ButtonText, control.fg);
        break;
    default:
        set(QPalette::Window, control.bg);
        set(QPalette::WindowText, control.fg);
        set(QPalette::Text, control.fg);
        break;
    }
    widget->setPalette(palette);
    const bool fills = control.bg.isSet() && !(control.flags & Transparent) &&
                       (control.kind == Kind::Label || control.kind == Kind::CheckBox || control.kind == Kind::Frame ||
                        control.kind == Kind::Shape || control.kind == Kind::Picture);
    widget->setAutoFillBackground(fills);
}

void applyFont(QWidget *widget, const Control &control)
{
    if (control.font.family.empty() && control.font.points <= 0 && !control.font.bold)
        return;
    QFont font = widget->font();
    if (!control.font.family.empty())
        font.setFamily(drawnFamily(control.font.family));
    if (control.font.points > 0)
        font.setPointSizeF(control.font.points);
    font.setBold(control.font.bold);
    widget->setFont(font);
}

Qt::Alignment alignmentOf(const Control &control)
{
    if (control.flags & Centred)
        return Qt::AlignCenter;
    if (control.flags & RightAligned)
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// Creates the control empty: its caption is set once its font is in place,
// so that no text is laid out in a font it never shows.
QWidget *create(QWidget *container, const Control &control)
{
    switch (control.kind) {
    case Kind::Label: {
        auto *label = new QLabel(container);
        label->setAlignment(alignmentOf(control));
        if (control.flags & Border)
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setWordWrap(control.flags & WordWrap);
        label->setProperty("autoSize", bool(control.flags & AutoSize));
        return label;
    }
    case Kind::TextBox: {
        auto *box = new QLineEdit(container);
        box->setAlignment(alignmentOf(control));
        box->setReadOnly(control.flags & ReadOnly);
        box->setFrame(!(control.flags & Flat));
        return box;
    }
    case Kind::Button:
    case Kind::Toggle:
    case Kind::Option: {
        auto *button = new QPushButton(container);
        // Marked before anything about it is announced: assistive technology
        // takes a control's description the first time it hears of it.
        if (control.kind == Kind::Option)
            button->setProperty(kOptionProperty, true);
        button->setAutoDefault(false);
        if (control.kind != Kind::Button) {
            button->setCheckable(true);
            button->setChecked(control.flags & Checked);
        }
        if (control.kind == Kind::Option)
            optionGroupOf(container)->addButton(button);
        return button;
    }
    case Kind::CheckBox: {
        auto *box = new WholeCheckBox(container);
        box->setLayoutDirection(Qt::RightToLeft);
        box->setChecked(control.flags & Checked);
        return box;
    }
    case Kind::Combo: {
        auto *combo = new WheelFocusCombo(container);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCurrentIndex(-1);
        return combo;
    }
    case Kind::Frame:
        return new QGroupBox(container);
    case Kind::Shape: {
        auto *shape = new QFrame(container);
        shape->setFrameStyle(QFrame::NoFrame);
        return shape;
    }
    case Kind::Picture:
        return new Decoration(container);
    case Kind::ScrollBar:
        return new QScrollBar(Qt::Vertical, container);
    case Kind::Line:
        return new Line(container, control.left, control.top, control.width, control.height, control.lineWidth);
    }
    return nullptr;
}

void applyText(QWidget *widget, const Control &control)
{
    if (control.text.empty())
        return;
    const QString caption = text(control.text);
    switch (control.kind) {
    case Kind::Label:
        static_cast<QLabel *>(widget)->setText(caption);
        break;
    case Kind::TextBox: {
        auto *box = static_cast<QLineEdit *>(widget);
        box->setText(caption);
        box->setCursorPosition(0);
        break;
    }
    case Kind::Button:
    case Kind::Toggle:
    case Kind::Option:
    case Kind::CheckBox:
        static_cast<QAbstractButton *>(widget)->setText(caption);
        break;
    case Kind::Combo:
        static_cast<QComboBox *>(widget)->setEditText(caption);
        break;
    case Kind::Frame:
        static_cast<QGroupBox *>(widget)->setTitle(caption);
        break;
    default:
        break;
    }
}

} // namespace

int pixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

QRect pixelRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

QWidget *build(QWidget *window, const Control &control)
{
    QWidget *container = containerOf(window, control);
    QWidget *widget = create(container, control);
    widget->setObjectName(text(control.name));
    if (control.kind != Kind::Line)
        widget->setGeometry(pixelRect(control.left, control.top, control.width, control.height));
    applyFont(widget, control);
    applyText(widget, control);
    applyColours(widget, control);
    if (!control.tooltip.empty())
        widget->setToolTip(text(control.tooltip));
    // Inputs are named by what they hold; anything else by its caption, and a
    // read-only box with a fixed text (a heading, a note) by that text.
    const bool input = control.kind == Kind::Combo || (control.kind == Kind::TextBox && !(control.flags & ReadOnly));
    if (!control.accessibleName.empty())
        widget->setAccessibleName(text(control.accessibleName));
    else if (!control.text.empty() && !input)
        widget->setAccessibleName(text(control.text));
    // The edit field and the drop-down list of a combo box take the focus
    // themselves, so they are named as the combo is.
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        if (combo->lineEdit())
            combo->lineEdit()->setAccessibleName(widget->accessibleName());
        combo->view()->setAccessibleName(widget->accessibleName());
    }
    if (control.flags & NoTabStop)
        widget->setFocusPolicy(Qt::ClickFocus);
    if (control.flags & Hidden)
        widget->setVisible(false);
    return widget;
}

void buildAll(QWidget *window, std::span<const Control> controls)
{
    for (const Control &control : controls)
        build(window, control);
    // A box whose caption changes is named by its label, whatever it reads.
    for (const Control &control : controls) {
        if (control.captions.empty())
            continue;
        auto *label = window->findChild<QLabel *>(text(control.name));
        auto *box = window->findChild<QWidget *>(text(control.captions));
        Q_ASSERT_X(label && box, "buildAll", "a label captions a control of its own window");
        if (label && box)
            label->setBuddy(box);
    }
}

QString elementName(std::string_view array, int index) { return QStringLiteral("%1(%2)").arg(text(array)).arg(index); }

void setCaption(QLabel *label, const QString &caption)
{
    label->setText(caption);
    if (!label->property("autoSize").toBool())
        return;
    QRect area = label->geometry();
    if (label->wordWrap()) {
        area.setHeight(std::max(label->heightForWidth(area.width()), 1));
    } else {
        const int width = std::max(label->sizeHint().width(), 1);
        if (label->alignment() & Qt::AlignRight)
            area.setLeft(area.right() + 1 - width);
        else if (label->alignment() & Qt::AlignHCenter)
            area = QRect(area.center().x() - width / 2, area.top(), width, area.height());
        else
            area.setWidth(width);
    }
    label->setGeometry(area);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QRect twipRect(const QWidget *widget)
{
    const QRect g = widget->geometry();
    return QRect(g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel, g.width() * kTwipsPerPixel,
                 g.height() * kTwipsPerPixel);
}

namespace {

// The families the forms name, and the one each is drawn in.
struct DrawnFamily {
    QString named;
    QString drawn;
};
std::array<DrawnFamily, 2> &drawnFamilies()
{
    static std::array<DrawnFamily, 2> families{{{QStringLiteral("MS Sans Serif"), QStringLiteral("MS Sans Serif")},
                                                {QStringLiteral("Arial"), QStringLiteral("Arial")}}};
    return families;
}

} // namespace

void installFontSubstitutes()
{
    const QStringList families = QFontDatabase::families();
    const QString sans = families.contains(QStringLiteral("Liberation Sans")) ? QStringLiteral("Liberation Sans")
                                                                              : QStringLiteral("Sans Serif");
    for (DrawnFamily &family : drawnFamilies()) {
        family.drawn = families.contains(family.named) ? family.named : sans;
        if (family.drawn != family.named)
            QFont::insertSubstitution(family.named, sans);
    }
}

QString drawnFamily(std::string_view named)
{
    const QString name = text(named);
    for (const DrawnFamily &family : drawnFamilies())
        if (family.named == name)
            return family.drawn;
    return name;
}

QFont formFont(std::string_view family, double points, bool bold)
{
    QFont font(drawnFamily(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace recibo::forms
