#pragma once

#include <cstdint>
#include <variant>

#include "calc/calculate.h"
#include "calc/money.h"
#include "calc/pay_input.h"

namespace recibo {

// Every text the chosen path reads as a number, checked and converted. Fields
// that the path does not read stay 0.
struct InputValues {
    PayPath path = PayPath::None;

    // Cargo path: the five point boxes of the selection dialog.
    std::int16_t ptsbasicos = 0; // punbas
    double ptscompbas = 0;       // compbas
    std::int16_t ptsjorcom = 0;  // jorcom
    std::int16_t ptsproljor = 0; // proljor
    Money ptstardif;             // tardif

    // Hours paths.
    double hours = 0;          // numerohorasmed or numerohorassup
    double hoursCode06 = 0;    // numhorascod06
    double hoursIncentive = 0; // numhorasincen
    double hoursCode113 = 0;   // numhorascod113

    // Every path.
    int seniorityOption = 0;           // 1 to 12, 0 for none
    int zoneIndex = -1;                // item of the zone list, -1 for none
    double absenceDays = 0;            // dinasist
    std::int16_t kilometres = 0;       // cantkm, when transport is checked
    std::uint8_t children = 0;         // cantidadhijos, when checked
    std::uint8_t disabledChildren = 0; // cantidadhijosdisc, when checked
};

// The largest magnitude accepted in any numeric field: far below anything
// that could overflow an amount, far above any real pay datum.
inline constexpr double kLargestNumber = 999'999'999;

// Checks and converts the texts of `input` for its path, or names the first
// field that cannot be used and says what it should hold.
std::variant<InputValues, InputProblem> readInput(const PayInput &input);

} // namespace recibo
