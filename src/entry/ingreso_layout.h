#pragma once

#include <span>

#include "forms/controls.h"

namespace recibo {

// The controls of the entry window, in tab order.
std::span<const forms::Control> ingresoControls();

} // namespace recibo
