#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace recibo::forms {

inline std::string utf8(const QString &text) { return text.toStdString(); }
inline QString qtext(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The decimal separator of the user's regional settings.
std::string decimalSeparator();

} // namespace recibo::forms
