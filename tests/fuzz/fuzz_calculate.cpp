// Whole calculations from arbitrary inputs: the same input always gives the
// same result, also after another calculation; a refusal names a field; a
// slip has its totals as the pay rules add them up, its earnings rows before
// its deductions, and no more than the 26 rows a slip can hold.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calc/calculate.h"

using namespace recibo;

namespace {

// Mostly numbers, some of them odd, and now and then any text at all.
std::string box(FuzzedDataProvider &data, const std::string &separator)
{
    switch (data.ConsumeIntegralInRange<int>(0, 6)) {
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
    case 5: // pasted, with blanks around
        return "\xC2\xA0" + std::to_string(data.ConsumeIntegralInRange<int>(0, 300)) + "\xE2\x80\xAF\r\n";
    default:
        return std::to_string(data.ConsumeIntegralInRange<int>(0, 300));
    }
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
    in.zoneIndex = data.ConsumeIntegralInRange<int>(-3, 7);
    const int zoneChoice = data.ConsumeIntegralInRange<int>(0, 7);
    static const char *const zones[] = {"Común",          "Alejada radio urbano", "Desfavorable", "Muy desfavorable",
                                        "Zona Inhóspita", "Ubicación Escuela (Zona)"};
    in.zoneText = zoneChoice < 6 ? zones[zoneChoice] : data.ConsumeRandomLengthString(12);
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

    // The same input gives the same result, also right after a calculation
    // of another input.
    static PayInput previous;
    const std::variant<Slip, InputProblem> result = calculate(in);
    static_cast<void>(calculate(previous));
    CHECK(calculate(in) == result);
    previous = in;

    if (const InputProblem *problem = std::get_if<InputProblem>(&result)) {
        CHECK(!problem->control.empty() && !problem->message.empty());
        return 0;
    }
    CHECK(in.path != PayPath::None);

    const Slip &slip = std::get<Slip>(result);
    const CalcState &v = slip.values;
    CHECK(slip.rows.size() >= 5 && slip.rows.size() <= static_cast<std::size_t>(kMaxRowsWritten));
    CHECK(slip.rows.front().code == "001");
    Money earnings;
    Money deductions;
    bool deductionSeen = false;
    for (const SlipRow &row : slip.rows) {
        CHECK(!row.explanation.empty());
        CHECK(row.amount == (row.code == "001" ? basicAmountText(row.value, in.decimalSeparator)
                                               : amountText(row.value, in.decimalSeparator)));
        if (row.column == Column::Earnings) {
            CHECK(!deductionSeen);
            earnings += row.value;
        } else {
            deductionSeen = true;
            deductions += row.value;
            CHECK(row.value >= Money()); // a checked deduction on a zero base shows $ 0
        }
    }
    // The totals as the pay rules add them up, amount by amount.
    CHECK(v.totalhaberes == v.montojornada + v.montobasico + v.montocompbas + v.montoart23 + v.montoproduct +
                                v.montotardif + v.montoantig + v.montoplus + v.montominimo + v.montohijos +
                                v.montohijosdisc + v.montofamnum + v.montoconyuge + v.montozona + v.montoincentivo +
                                v.montonegro + v.montotransporte);
    CHECK(v.totaldescuentos == v.montoiosper + v.montoosplad + v.montojubilacion + v.montoley4035 + v.montovesnar +
                                   v.montocajacomp + v.montoseguro + v.montoreajuste);
    CHECK(earnings == v.totalhaberes && deductions == v.totaldescuentos);
    CHECK(v.totalhaberes - v.totaldescuentos == v.totalliquido);
    CHECK(v.totalliquido >= Money());
    CHECK(slip.thaberes == amountText(v.totalhaberes, in.decimalSeparator));
    CHECK(slip.liquido == amountText(v.totalliquido, in.decimalSeparator));
    return 0;
}
