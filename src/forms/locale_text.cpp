#include "forms/locale_text.h"

#include <QLocale>

namespace recibo::forms {

std::string decimalSeparator() { return utf8(QLocale().decimalPoint()); }

} // namespace recibo::forms
