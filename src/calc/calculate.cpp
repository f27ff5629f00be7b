#include "calc/calculate.h"

#include "calc/groups.h"
#include "calc/read_input.h"
#include "calc/scale.h"

namespace recibo {

std::variant<Slip, InputProblem> calculate(const PayInput &input)
{
    // Every text is checked before any row is written: a refused input gives
    // no slip at all.
    std::variant<InputValues, InputProblem> checked = readInput(input);
    if (InputProblem *problem = std::get_if<InputProblem>(&checked))
        return std::move(*problem);
    const InputValues &values = std::get<InputValues>(checked);

    Slip slip;
    Run run(input, values, slip);

    // The path writes its rows and works out every amount the common rows
    // need before they run.
    if (run.cargoPath()) {
        cargoRows(run);
        cargoSupplement(run);
        cargoNationalSums(run);
    } else {
        hoursRows(run);
        hoursSupplement(run);
        hoursNationalSums(run);
    }

    seniorityRow(run);
    zoneRow(run);
    decreeRows(run);
    nationalRows(run);
    plusRow(run);
    absenceReduction(run);
    run.state.baseaportes = contributionBase(run.state); // the minimum top-up reads it

    minimumRow(run);
    transportRow(run);
    familyRows(run); // the band sum includes the minimum top-up

    absenceRow(run);
    deductionRows(run);

    totals(run);
    return slip;
}

} // namespace recibo
