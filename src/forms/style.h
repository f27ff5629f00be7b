#pragma once

class QStyle;

namespace recibo::forms {

// The look of every window: Qt's Fusion style, so the coloured faces show as
// designed, with a focus ring a keyboard user can find. While a control has
// the focus and the focus came from the keyboard (Tab, Backtab, the arrow
// keys of an option group), a dark blue ring two pixels wide runs just inside
// its edge; a click that moves the focus takes it away. The ring belongs to
// the screen only: a window drawn anywhere else (a printer, a PDF writer, a
// picture) is drawn without it.
QStyle *createStyle();

} // namespace recibo::forms
