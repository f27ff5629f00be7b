#pragma once

#include <span>

#include "forms/controls.h"

namespace recibo {

// The controls of the slip window, in tab order.
std::span<const forms::Control> haberesControls();

// The boxes of the print watermark column, top to bottom.
inline constexpr const char *kWatermark[] = {"Text3", "Text2", "Text5", "Text4", "Text7", "Text9", "Text6", "Text8"};

} // namespace recibo
