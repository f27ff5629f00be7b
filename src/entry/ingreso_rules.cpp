#include "entry/ingreso.h"

namespace recibo {

void Ingreso::connectRules() {}

} // namespace recibo
