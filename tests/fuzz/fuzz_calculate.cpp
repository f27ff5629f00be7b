// Whole calculations from arbitrary inputs: every input is either refused
// without touching the calculation state, or gives a slip whose rows add up
// to its totals, in run order, within the 26 rows a slip can hold.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calc/calculate.h"
#include "calc/scale.h"

using namespace recibo;

namespace {

// Mostly numbers, some of them odd, and now and then any text at all.
std::string box(FuzzedDataProvider &data, const std::string &separator)
{
    switch (data.ConsumeIntegralInRange<int>(0, 5)) {
    case 0:
        return data.ConsumeRandomLengthString(24);
    case 1:
        return std::to_string(data.ConsumeIntegralInRange<int>(-40000, 40000));
    case 2:
        return std::to_string(data.ConsumeIntegralInRange<int>(0, 40)) + separator +
               std::to_string(data.ConsumeIntegralInRange<int>(0, 99999));
    case 3:
        return std::to_string(data.ConsumeIntegral<std::int64_t>());
    case 4:
        return std::to_string(data.ConsumeIntegralInRange<int>(0, 3429));
    default:
        return std::to_string(data.ConsumeIntegralInRange<int>(0, 300));
    }
}

bool sameState(const CalcState &a, const CalcState &b)
{
    // CalcState holds only integers and money: compare member by member
    // through a copy made the same way.
    return a.ptsbasicos == b.ptsbasicos && a.ptsjorcom == b.ptsjorcom && a.ptsproljor == b.ptsproljor &&
           a.ptstardif == b.ptstardif && a.montojorcom == b.montojorcom && a.montoproljor == b.montoproljor &&
           a.montobasico == b.montobasico && a.montocompbas == b.montocompbas && a.montotardif == b.montotardif &&
           a.pctantig == b.pctantig && a.montoantig == b.montoantig && a.pctzona == b.pctzona &&
           a.montozona == b.montozona && a.montoart23 == b.montoart23 && a.montoproduct == b.montoproduct &&
           a.montoincentivo == b.montoincentivo && a.montonegro == b.montonegro && a.montoplus == b.montoplus &&
           a.montoreajuste == b.montoreajuste && a.baseaportes == b.baseaportes && a.montominimo == b.montominimo &&
           a.kmsemanales == b.kmsemanales && a.montotransporte == b.montotransporte && a.numhijos == b.numhijos &&
           a.montohijos == b.montohijos && a.numhijosdisc == b.numhijosdisc &&
           a.montohijosdisc == b.montohijosdisc && a.montoconyuge == b.montoconyuge &&
           a.montoiosper == b.montoiosper && a.montoosplad == b.montoosplad &&
           a.montojubilacion == b.montojubilacion && a.montoley4035 == b.montoley4035 &&
           a.montovesnar == b.montovesnar && a.montocajacomp == b.montocajacomp &&
           a.montoseguro == b.montoseguro && a.totalhaberes == b.totalhaberes &&
           a.totaldescuentos == b.totaldescuentos && a.totalliquido == b.totalliquido;
}

void check(bool condition, const char *what, int line)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_calculate.cpp:%d: %s does not hold\n", line, what);
        std::abort();
    }
}

#define CHECK(condition) check((condition), #condition, __LINE__)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    static CalcState state; // lasts from one input to the next, as on the entry window

    PayInput in;
    in.decimalSeparator = data.ConsumeBool() ? "," : ".";
    in.path = static_cast<PayPath>(data.ConsumeIntegralInRange<int>(0, 3));
    in.cargo.rowSelected = data.ConsumeIntegralInRange<int>(0, 15) != 0;
    in.cargo.code = data.ConsumeRandomLengthString(4);
    in.cargo.basicPointsItem = data.ConsumeRandomLengthString(5);
    in.cargo.name = data.ConsumeRandomLengthString(16);
    in.cargo.punbas = box(data, in.decimalSeparator);
    in.cargo.compbas = box(data, in.decimalSeparator);
    in.cargo.jorcom = box(data, in.decimalSeparator);
    in.cargo.proljor = box(data, in.decimalSeparator);
    in.cargo.tardif = box(data, in.decimalSeparator);
    in.hoursSecondary = box(data, in.decimalSeparator);
    in.hoursHigher = box(data, in.decimalSeparator);
    in.hoursCode06 = box(data, in.decimalSeparator);
    in.hoursIncentive = box(data, in.decimalSeparator);
    in.hoursCode113 = box(data, in.decimalSeparator);
    in.seniorityOption = data.ConsumeIntegralInRange<int>(-2, 14);
    in.seniorityText = data.ConsumeRandomLengthString(6);
    state.pctantig = data.ConsumeIntegral<std::uint8_t>();
    in.zoneIndex = data.ConsumeIntegralInRange<int>(-3, 7);
    const int zoneChoice = data.ConsumeIntegralInRange<int>(0, 7);
    in.zoneText = zoneChoice < kZoneCount ? std::string(zoneItems()[static_cast<std::size_t>(zoneChoice)])
                  : zoneChoice == kZoneCount ? std::string(kZonePrompt)
                                             : data.ConsumeRandomLengthString(12);
    in.incentive = data.ConsumeBool();
    in.absenceDays = box(data, in.decimalSeparator);
    in.transport = data.ConsumeBool();
    in.kilometres = box(data, in.decimalSeparator);
    in.children = data.ConsumeBool();
    in.childrenCount = box(data, in.decimalSeparator);
    in.disabledChildren = data.ConsumeBool();
    in.disabledChildrenCount = box(data, in.decimalSeparator);
    in.spouse = data.ConsumeBool();
    for (bool &deduction : in.deductions)
        deduction = data.ConsumeBool();

    const CalcState before = state;
    const std::variant<Slip, InputProblem> result = calculate(in, state);
    if (const InputProblem *problem = std::get_if<InputProblem>(&result)) {
        CHECK(sameState(before, state));
        CHECK(!problem->control.empty() && !problem->message.empty());
        return 0;
    }
    CHECK(in.path != PayPath::None);

    const Slip &slip = std::get<Slip>(result);
    CHECK(slip.rows.size() >= 5 && slip.rows.size() <= static_cast<std::size_t>(kMaxRowsWritten));
    CHECK(slip.rows.front().code == "001");
    Money earnings;
    Money deductions;
    bool deductionSeen = false;
    for (const SlipRow &row : slip.rows) {
        CHECK(!row.explanation.empty());
        if (row.column == Column::Earnings) {
            CHECK(!deductionSeen);
            earnings += row.value;
            CHECK(row.amount == (row.code == "001" ? basicAmountText(row.value, in.decimalSeparator)
                                                   : amountText(row.value, in.decimalSeparator)));
        } else {
            deductionSeen = true;
            deductions += row.value;
            CHECK(row.value >= Money()); // a checked deduction on a zero base shows $ 0
        }
    }
    CHECK(earnings == slip.totalHaberes);
    CHECK(deductions == slip.totalDescuentos);
    CHECK(slip.totalHaberes - slip.totalDescuentos == slip.totalLiquido);
    CHECK(slip.totalHaberes == state.totalhaberes && slip.totalLiquido == state.totalliquido);
    return 0;
}
