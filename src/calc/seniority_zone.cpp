#include "calc/groups.h"
#include "calc/text.h"

namespace recibo {

namespace {

// "30 % de 1196,23 (básico + comp. + tarea dif. + jornada)"
std::string percentOfPositionPay(std::string_view sep, int percent, Money base)
{
    return text::join(sep, percent, " % de ", base, " (", kPositionPayParts, ")");
}

} // namespace

void seniorityRow(Run &run)
{
    CalcState &st = run.state;
    const auto option = static_cast<std::size_t>(run.values.seniorityOption);
    st.pctantig = static_cast<std::uint8_t>(scale::kSeniorityBands[option].percent);
    const Money base = positionPay(st);
    st.montoantig = base.percent(st.pctantig);
    if (st.pctantig > 0)
        run.rows.earnings(scale::kSeniorityRow, std::string(scale::kSeniorityPercentTexts[option].view()),
                          st.montoantig, percentOfPositionPay(run.sep, st.pctantig, base));
}

void zoneRow(Run &run)
{
    CalcState &st = run.state;
    const int zone = run.values.zoneIndex;
    st.pctzona = zone >= 0 ? static_cast<std::uint8_t>(scale::kZones[static_cast<std::size_t>(zone)].percent) : 0;
    if (st.pctzona == 0)
        return;
    const Money base = positionPay(st);
    st.montozona = base.percent(st.pctzona);
    run.rows.earnings(scale::kZoneRow, std::string(scale::PercentText(st.pctzona).view()), st.montozona,
                      percentOfPositionPay(run.sep, st.pctzona, base));
}

} // namespace recibo
