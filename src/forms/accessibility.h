#pragma once

namespace recibo::forms {

// What assistive technology is told about the controls that Qt alone
// describes wrongly: an option button drawn as a toggle button is a radio
// button with its checked state, not a check box; the rules and the
// decorative pictures are a separator and an image with no name, so a screen
// reader passes over them. Installed once, before the first window is built.
void installAccessibility();

} // namespace recibo::forms
