#pragma once

namespace recibo::forms {

// What assistive technology is told about the controls that Qt alone
// describes wrongly: an option button drawn as a toggle button is a radio
// button with its checked state, not a check box; the rules are separators
// and the decorative pictures and filled rectangles images, with no name, so
// a screen reader passes over them; a label inside a frame says only its own
// text. Installed once, before the first window is built.
void installAccessibility();

} // namespace recibo::forms
