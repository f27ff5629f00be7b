#pragma once

#include <array>
#include <string_view>

namespace recibo {

// The seniority bands of the entry window, Option1 to Option12, and the
// seniority percentage each one records (pctantig). Option 0 stands for none
// chosen, which counts like "Menos de 1 año".
inline constexpr int kSeniorityOptions = 12;
int seniorityPercent(int option);

// The school zones of the zona list, in list order.
inline constexpr int kZoneCount = 5;
const std::array<std::string_view, kZoneCount> &zoneItems();

// Zone percentage of list item `index`; 0 for none selected (-1).
int zonePercent(int index);

// The list item whose text is exactly `text`, or -1.
int zoneItemIndex(std::string_view text);

// What the zone field shows while nothing is chosen.
inline constexpr std::string_view kZonePrompt = "Ubicación Escuela (Zona)";

} // namespace recibo
