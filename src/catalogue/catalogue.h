#pragma once

#include <array>
#include <string_view>

namespace recibo {

// One position of the salary scale. Every field is text, exactly as the
// scale prints it; only the pay calculation turns points into numbers.
struct CargoRow {
    std::string_view codigocargo; // three digits, unique
    std::string_view cargox;      // name; several rows share a name
    std::string_view puntosbasicos;
    std::string_view compbasico;
    std::string_view tareadif;
    std::string_view jorcompleta;
    std::string_view proljornada;
};

inline constexpr int kCargoCount = 311;

// The positions in the scale's order (alphabetical by name); the index is
// the row's only identity.
const std::array<CargoRow, kCargoCount> &cargoCatalogue();

// The row whose code is exactly `text` (no trimming, no numeric reading), or -1.
int findCargoByCode(std::string_view text);

} // namespace recibo
