#pragma once

// The complete example slip of the cargo path: 1000 basic points and no
// other points, seniority "Entre 5 y 7 años" (30 %), zone "Alejada radio
// urbano" (20 %), the national incentive, two children, the spouse, no
// absence days and all seven deductions. It gives 18 rows.

#include "calc/pay_input.h"

namespace recibo::bench {

inline constexpr int kExampleRows = 18;
inline constexpr const char *kExampleCode = "609";

inline PayInput examplePayInput()
{
    PayInput input{
        .path = PayPath::Cargo,
        .cargo = {.rowSelected = true,
                  .code = kExampleCode,
                  .basicPointsItem = "1000",
                  .name = "Director 1era Categoría",
                  .punbas = "1000",
                  .compbas = "0",
                  .jorcom = "0",
                  .proljor = "0",
                  .tardif = "0"},
        .hoursSecondary = "0",
        .hoursHigher = "0",
        .hoursCode06 = "0",
        .hoursIncentive = "0",
        .hoursCode113 = "0",
        .seniorityOption = 4,
        .zoneIndex = 1,
        .zoneText = "Alejada radio urbano",
        .incentive = true,
        .absenceDays = "0",
        .transport = false,
        .kilometres = "0",
        .children = true,
        .childrenCount = "2",
        .disabledChildren = false,
        .disabledChildrenCount = "0",
        .spouse = true,
        .decimalSeparator = ",",
    };
    input.deductions.fill(true);
    return input;
}

} // namespace recibo::bench
