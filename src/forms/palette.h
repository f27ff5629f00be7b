#pragma once

#include "forms/controls.h"

// The colours and fonts the windows are drawn in.
namespace recibo::forms {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kBlue192{0, 0, 192};
constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kCyan192{0, 192, 192};
constexpr Rgb kPaleCyan{128, 255, 255};
constexpr Rgb kLightCyan{192, 255, 255};
constexpr Rgb kGreen{0, 192, 0};
constexpr Rgb kRed{255, 0, 0};

constexpr Font kArial825Bold{"Arial", 8.25, true};
constexpr Font kArial9{"Arial", 9, false};
constexpr Font kArial9Bold{"Arial", 9, true};
constexpr Font kArial975{"Arial", 9.75, false};
constexpr Font kArial975Bold{"Arial", 9.75, true};
constexpr Font kArial12Bold{"Arial", 12, true};
constexpr Font kSans825{"MS Sans Serif", 8.25, false};
constexpr Font kSans975{"MS Sans Serif", 9.75, false};
constexpr Font kSans975Bold{"MS Sans Serif", 9.75, true};

} // namespace recibo::forms
