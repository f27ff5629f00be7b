#include "calc/groups.h"
#include "calc/scale.h"
#include "calc/text.h"

namespace recibo {

namespace {

// Supplement of articles 2 and 3 of decree 5863/05 for a cargo, in whole
// pesos. One line per seniority option (the first line when none is chosen);
// the first six columns are bands of basic points P while the full-day points
// J are below 620, the last two apply from 620 full-day points on.
constexpr int kBandColumns = 6;
constexpr int kColumns = kBandColumns + 2;
// Laid out like the printed table.
// clang-format off
constexpr int kSupplement[kSeniorityOptions + 1][kColumns] = {
    //                      P≤971 972–1169 1170–1400 1401–1942 1943–2220 P≥2221 | J≥620: P≤971 P≥972
    /* none selected      */ {80, 80, 0, 0, 0, 0, /**/ 0, 0},
    /* Menos de 1 año     */ {80, 80, 0, 0, 0, 0, /**/ 0, 0},
    /* Entre 1 y 2 años   */ {90, 90, 0, 0, 0, 0, /**/ 0, 0},
    /* Entre 2 y 5 años   */ {180, 180, 240, 193, 180, 0, /**/ 220, 220},
    /* Entre 5 y 7 años   */ {225, 195, 240, 193, 180, 0, /**/ 380, 350},
    /* Entre 7 y 10 años  */ {250, 210, 250, 200, 180, 140, /**/ 440, 400},
    /* Entre 10 y 12 años */ {270, 230, 250, 200, 180, 140, /**/ 475, 435},
    /* Entre 12 y 15 años */ {320, 260, 260, 203, 190, 160, /**/ 510, 450},
    /* Entre 15 y 17 años */ {345, 285, 285, 230, 190, 160, /**/ 525, 465},
    /* Entre 17 y 20 años */ {425, 345, 395, 340, 280, 180, /**/ 555, 475},
    /* Entre 20 y 22 años */ {535, 435, 410, 330, 310, 180, /**/ 590, 490},
    /* Entre 22 y 24 años */ {605, 495, 430, 330, 320, 190, /**/ 615, 505},
    /* Más de 24 años     */ {620, 510, 480, 335, 330, 190, /**/ 620, 510},
};
// clang-format on

// Highest basic points of each band but the last (the bands are closed
// ranges of whole points).
constexpr int kBandTop[kBandColumns - 1] = {971, 1169, 1400, 1942, 2220};

// Full-day points from which the last two columns apply.
constexpr int kFullDayPoints = 620;

// The bands as the explanation names them.
constexpr std::string_view kBandText[kColumns] = {"hasta 971",      "de 972 a 1169", "de 1170 a 1400", "de 1401 a 1942",
                                                  "de 1943 a 2220", "2221 o más",    "hasta 971",      "972 o más"};

constexpr std::string_view kSeniorityCaption[kSeniorityOptions + 1] = {
    "sin antigüedad elegida", "Menos de 1 año",     "Entre 1 y 2 años",   "Entre 2 y 5 años",   "Entre 5 y 7 años",
    "Entre 7 y 10 años",      "Entre 10 y 12 años", "Entre 12 y 15 años", "Entre 15 y 17 años", "Entre 17 y 20 años",
    "Entre 20 y 22 años",     "Entre 22 y 24 años", "Más de 24 años"};

// Hours: the supplement pays 9.4 a code-06 hour up to a full amount, reached
// at 30 hours at secondary level and at 15 at higher level.
constexpr double kPesosPerHour06 = 9.4;
struct HoursSupplementRule {
    double fullFromHours;
    int fullAmount;
    std::string_view fullText; // the quantity shown from that many hours on
};
constexpr HoursSupplementRule kSecondary{30, 282, "30"};
constexpr HoursSupplementRule kHigher{15, 141, "15"};

// The productivity item of the same decree: 7 % of the supplement.
constexpr double kProductivityFactor = 0.07;

int bandColumn(int basicPoints, int fullDayPoints)
{
    if (fullDayPoints >= kFullDayPoints)
        return basicPoints <= kBandTop[0] ? kBandColumns : kBandColumns + 1;
    int column = 0;
    while (column < kBandColumns - 1 && basicPoints > kBandTop[column])
        ++column;
    return column;
}

} // namespace

void cargoSupplement(Run &run)
{
    CalcState &st = run.state;
    const int option = run.values.seniorityOption;
    const int column = bandColumn(st.ptsbasicos, st.ptsjorcom);
    const int amount = kSupplement[option][column];
    st.montoart23 = Money::whole(amount);
    run.art23Quantity = {};
    run.art23Why =
        text::join(run.sep, "Tabla del decreto 5863/05: ", kSeniorityCaption[option], ", ", st.ptsbasicos,
                   " puntos básicos (", kBandText[column], "), jornada completa ", st.ptsjorcom,
                   column < kBandColumns ? " puntos (menos de 620) = " : " puntos (620 o más) = ", st.montoart23);
}

void hoursSupplement(Run &run)
{
    const HoursSupplementRule &rule = run.secondaryHours() ? kSecondary : kHigher;
    const double hours = run.values.hoursCode06;
    CalcState &st = run.state;
    if (hours >= rule.fullFromHours) {
        st.montoart23 = Money::whole(rule.fullAmount);
        run.art23Quantity = rule.fullText;
        run.art23Why =
            text::join(run.sep, hours, " horas con código 06 (", rule.fullText, " o más): monto fijo ", st.montoart23);
    } else {
        st.montoart23 = Money::fromDouble(hours * kPesosPerHour06);
        run.art23Quantity = run.input.hoursCode06;
        run.art23Why = text::join(run.sep, hours, " horas con código 06 × ", kPesosPerHour06, " = ", st.montoart23);
    }
}

void decreeRows(Run &run)
{
    CalcState &st = run.state;
    const std::string_view sep = run.sep;
    run.rows.earnings("006", std::string(run.art23Quantity), "Adic. Art 2 y 3 Dcrto 5863/05", st.montoart23,
                      amountText(st.montoart23, sep), std::move(run.art23Why));

    st.montoproduct = Money::fromDouble(st.montoart23.toDouble() * kProductivityFactor);
    run.rows.earnings("014", text::join(sep, 0, sep, 7), "Product Dcrto 5863/05", st.montoproduct,
                      amountText(st.montoproduct, sep),
                      text::join(sep, st.montoart23, " × ", kProductivityFactor, " = ", st.montoproduct));
}

} // namespace recibo
