#include "calc/groups.h"
#include "calc/scale.h"
#include "calc/text.h"

namespace recibo {

namespace {

// Seniority supplement, percent of the base, by seniority option; the first
// entry is for no option chosen.
//                                          none  <1  1-2 2-5 5-7 7-10 10-12 12-15 15-17 17-20 20-22 22-24 >24
constexpr std::array<int, kSeniorityOptions + 1> kSeniorityPercent{0, 0, 10, 15, 30, 40, 50, 60, 70, 80, 100, 110, 120};

// The school zones and their supplement, percent of the base, in list order.
constexpr std::array<std::string_view, kZoneCount> kZoneItems{"Común", "Alejada radio urbano", "Desfavorable",
                                                              "Muy desfavorable", "Zona Inhóspita"};
constexpr std::array<int, kZoneCount> kZonePercent{0, 20, 40, 80, 120};

// What the base of both supplements is made of.
constexpr std::string_view kBaseParts = " (básico + comp. + tarea dif. + jornada)";

// Both supplements are a percentage of the pay of the position itself.
Money percentageBase(const Run &run)
{
    const CalcState &st = run.state;
    return st.montobasico + st.montocompbas + st.montotardif + run.montojornada;
}

} // namespace

int seniorityPercent(int option)
{
    return option >= 1 && option <= kSeniorityOptions ? kSeniorityPercent[static_cast<std::size_t>(option)] : 0;
}

const std::array<std::string_view, kZoneCount> &zoneItems() { return kZoneItems; }

int zonePercent(int index)
{
    return index >= 0 && index < kZoneCount ? kZonePercent[static_cast<std::size_t>(index)] : 0;
}

int zoneItemIndex(std::string_view text)
{
    for (int i = 0; i < kZoneCount; ++i)
        if (kZoneItems[static_cast<std::size_t>(i)] == text)
            return i;
    return -1;
}

void seniorityRow(Run &run)
{
    CalcState &st = run.state;
    const Money base = percentageBase(run);
    st.montoantig = base.percent(st.pctantig);
    if (st.pctantig > 0)
        run.rows.earnings("010", run.input.seniorityText, "Antigüedad", st.montoantig,
                          amountText(st.montoantig, run.sep),
                          text::join(run.sep, st.pctantig, " % de ", base, kBaseParts));
}

void zoneRow(Run &run)
{
    CalcState &st = run.state;
    st.pctzona = static_cast<std::uint8_t>(zonePercent(run.values.zoneIndex));
    const Money base = percentageBase(run);
    st.montozona = st.pctzona > 0 ? base.percent(st.pctzona) : Money();
    if (st.pctzona > 0)
        run.rows.earnings("078", text::join(run.sep, st.pctzona, " %"), "As. por zona", st.montozona,
                          amountText(st.montozona, run.sep),
                          text::join(run.sep, st.pctzona, " % de ", base, kBaseParts));
}

} // namespace recibo
