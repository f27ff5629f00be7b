#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>
#include <span>
#include <string_view>

class QWidget;
class QLabel;

namespace recibo::forms {

// Sizes on the forms are in twips; 15 twips make one logical pixel.
inline constexpr int kTwipsPerPixel = 15;
int pixels(double twips);
QRect pixelRect(int left, int top, int width, int height);

struct Rgb {
    int r = -1, g = -1, b = -1;
    constexpr bool isSet() const { return r >= 0; }
    QColor color() const { return QColor(r, g, b); }
};

struct Font {
    std::string_view family; // empty: the window's font
    double points = 0;
    bool bold = false;
};

enum class Kind {
    Label,
    TextBox,
    Button,    // push button
    Toggle,    // check box drawn as a toggle button
    Option,    // option button drawn as a toggle button; exclusive within its container
    CheckBox,  // ordinary check box, box at the right of the caption
    Combo,     // editable field with a drop-down list
    Frame,     // frame with a caption
    Shape,     // solid filled rectangle
    Picture,   // decorative drawing
    ScrollBar, // vertical
    Line,      // one straight line between two points (rect holds x1, y1, x2, y2)
};

enum Flag : std::uint32_t {
    None = 0,
    Hidden = 1u << 0,
    Centred = 1u << 1,
    RightAligned = 1u << 2,
    Border = 1u << 3,
    Transparent = 1u << 4,
    ReadOnly = 1u << 5,
    AutoSize = 1u << 6, // a label that sizes itself to its text, keeping its alignment edge
    WordWrap = 1u << 7, // with AutoSize: fixed width, the height follows the text
    NoTabStop = 1u << 8,
    Checked = 1u << 9,
    Flat = 1u << 10,
};
using Flags = std::uint32_t;

struct Control {
    std::string_view name;
    Kind kind = Kind::Label;
    int left = 0, top = 0, width = 0, height = 0; // twips; for a line x1, y1, x2, y2
    std::string_view text;
    std::string_view tooltip;
    Rgb fg;
    Rgb bg;
    Font font;
    Flags flags = None;
    std::string_view parent;         // name of the frame that holds it, empty for the window
    int lineWidth = 1;               // lines only
    std::string_view accessibleName; // what a screen reader says of an input without a caption of its own
    std::string_view captions;       // labels only: the box this label names for a screen reader, as it reads now
};

// The property that marks an option button among the checkable push buttons.
inline constexpr char kOptionProperty[] = "optionButton";

// Creates one control on `window` (inside its frame when `parent` names one)
// with its name, text, tooltip, colours, font, place and start state.
QWidget *build(QWidget *window, const Control &control);

// Creates a table of controls in order; the tab order, and the order in which
// a screen reader walks the window, follow the table.
void buildAll(QWidget *window, std::span<const Control> controls);

// The object name of element `index` of a control array: "cod(3)".
QString elementName(std::string_view array, int index);

// Sets a label's caption; a self-sizing label then grows or shrinks from the
// edge it is aligned to (the right edge for right-aligned amounts).
void setCaption(QLabel *label, const QString &text);

// Sets the background colour of a window, frame or label.
void setBackground(QWidget *widget, const QColor &color);

// Position and size of a widget in twips, as laid out (relative to its parent).
QRect twipRect(const QWidget *widget);

// The fonts the forms name. "MS Sans Serif" has no scalable lookalike on
// every system: where it is missing it is drawn with a metric-compatible sans.
void installFontSubstitutes();

// The family a font the forms name is drawn in: the font itself where the
// system has it, else its substitute. The controls ask for that family by
// its own name, so that one face named two ways is matched and loaded once
// at start-up, not once a name.
QString drawnFamily(std::string_view named);

// A window's own font, named as the forms name it.
QFont formFont(std::string_view family, double points, bool bold = false);

} // namespace recibo::forms
