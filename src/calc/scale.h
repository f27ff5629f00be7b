#pragma once

// The salary scale in force "Desde Mayo de 2.008": every point value, rate,
// threshold, cap, band and table of the pay rules, and the fixed texts the
// slip prints beside them, in the order of the slip. The rules of the
// calculation read their figures from here and nowhere else; the next scale
// is a new set of these figures.

#include <array>
#include <cstddef>
#include <string_view>

#include "calc/money.h"

namespace recibo::scale {

// An item of the slip: its code and the description printed beside it.
struct Item {
    std::string_view code;
    std::string_view description;
};

// A whole percentage as the entry window and the slip write it: "30 %".
class PercentText {
public:
    constexpr PercentText() = default;
    constexpr explicit PercentText(int percent)
    {
        char digits[12]{};
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + percent % 10);
            percent /= 10;
        } while (percent > 0);
        while (count > 0)
            text_[size_++] = digits[--count];
        text_[size_++] = ' ';
        text_[size_++] = '%';
    }
    constexpr std::string_view view() const { return {text_, size_}; }

private:
    char text_[16]{};
    std::size_t size_ = 0;
};

// From when this scale applies, as the slip states it.
inline constexpr std::string_view kInForceFrom = "Desde Mayo de 2.008";

// --- Pay of a position (cargo) ------------------------------------------

inline constexpr double kPointValue = 0.63;    // one basic, complement-of-basic or differentiated-task point
inline constexpr double kDayPointValue = 0.77; // one full-day or extended-day point

inline constexpr Item kCategoryRow{"001", "Asign. de la categoría"};
inline constexpr std::string_view kCategoryQuantity = "1";
inline constexpr Item kComplementRow{"002", "Comp. de Básico"};
inline constexpr Item kFullDayRow{"052", "Jornada completa"};
inline constexpr Item kExtendedDayRow{"052", "Prol. de Jornada"};
inline constexpr Item kDifferentiatedTaskRow{"016", "Tarea diferenciada"};

// --- Teaching hours, by level ---------------------------------------------

struct HoursLevel {
    double pointsPerHour;        // points one teaching hour is worth
    std::string_view paidText;   // what the slip's selection panel says is paid
    Item row;                    // row 001 of the hours
    int supplementFullFromHours; // code-06 hours from which the decree supplement is a fixed amount
    int supplementFullAmount;    // that fixed amount
    double incentivePerHour;     // national incentive, a teaching hour with incentive
    double negroPerHour;         // "Negro de Nación", a code-113 hour
    int nationalQuantityLimit;   // rows 084 and 113 show at most this many hours
};

inline constexpr HoursLevel kSecondaryHours{
    .pointsPerHour = 64.7,
    .paidText = "Horas de nivel medio",
    .row = {"001", "Hs. N. Medio"},
    .supplementFullFromHours = 30,
    .supplementFullAmount = 282,
    .incentivePerHour = 7.33,
    .negroPerHour = 6.66,
    .nationalQuantityLimit = 30,
};
inline constexpr HoursLevel kHigherHours{
    .pointsPerHour = 86.9,
    .paidText = "Horas de nivel superior",
    .row = {"001", "Hs. N. Superior"},
    .supplementFullFromHours = 15,
    .supplementFullAmount = 141,
    .incentivePerHour = 9.166,
    .negroPerHour = 8.333,
    .nationalQuantityLimit = 24,
};

// --- Seniority and zone ---------------------------------------------------

// The seniority bands, indexed like the options Option1 to Option12 of the
// entry window; line 0 stands for no band chosen, which pays like the first.
struct SeniorityBand {
    std::string_view caption;
    int percent; // of the pay of the position
};
inline constexpr int kSeniorityOptions = 12;
inline constexpr std::array<SeniorityBand, kSeniorityOptions + 1> kSeniorityBands{{
    {"sin antigüedad elegida", 0},
    {"Menos de 1 año", 0},
    {"Entre 1 y 2 años", 10},
    {"Entre 2 y 5 años", 15},
    {"Entre 5 y 7 años", 30},
    {"Entre 7 y 10 años", 40},
    {"Entre 10 y 12 años", 50},
    {"Entre 12 y 15 años", 60},
    {"Entre 15 y 17 años", 70},
    {"Entre 17 y 20 años", 80},
    {"Entre 20 y 22 años", 100},
    {"Entre 22 y 24 años", 110},
    {"Más de 24 años", 120},
}};

// The percentage of a band as the entry window shows it ("30 %").
inline constexpr std::array<PercentText, kSeniorityOptions + 1> kSeniorityPercentTexts = [] {
    std::array<PercentText, kSeniorityOptions + 1> texts{};
    for (std::size_t option = 0; option < texts.size(); ++option)
        texts[option] = PercentText(kSeniorityBands[option].percent);
    return texts;
}();

// The school zones, in the order of the zone list.
struct Zone {
    std::string_view item; // text of the list item
    int percent;           // of the pay of the position
};
inline constexpr int kZoneCount = 5;
inline constexpr std::array<Zone, kZoneCount> kZones{{
    {"Común", 0},
    {"Alejada radio urbano", 20},
    {"Desfavorable", 40},
    {"Muy desfavorable", 80},
    {"Zona Inhóspita", 120},
}};
// The caption of the zone field, shown in it while no zone is chosen.
inline constexpr std::string_view kZonePrompt = "Ubicación Escuela (Zona)";

inline constexpr Item kSeniorityRow{"010", "Antigüedad"};
inline constexpr Item kZoneRow{"078", "As. por zona"};

// --- Supplement of articles 2 and 3 of decree 5863/05 -----------------------

// A cargo's supplement in whole pesos, one line per seniority band (line 0
// for none chosen). The first six columns are bands of basic points P while
// the full-day points J are below kDecreeFullDayPoints; the last two apply
// from there on, split at the top of the first band.
inline constexpr int kDecreeBands = 6;
inline constexpr int kDecreeColumns = kDecreeBands + 2;
inline constexpr std::array<int, kDecreeBands - 1> kDecreeBandTop{971, 1169, 1400, 1942, 2220}; // closed ranges
inline constexpr int kDecreeFullDayPoints = 620;
// clang-format off
inline constexpr int kDecreeSupplement[kSeniorityOptions + 1][kDecreeColumns] = {
    //                      P≤971 972–1169 1170–1400 1401–1942 1943–2220 P≥2221 | J≥620: P≤971 P≥972
    /* none selected      */ { 80,  80,   0,   0,   0,   0, /**/   0,   0},
    /* Menos de 1 año     */ { 80,  80,   0,   0,   0,   0, /**/   0,   0},
    /* Entre 1 y 2 años   */ { 90,  90,   0,   0,   0,   0, /**/   0,   0},
    /* Entre 2 y 5 años   */ {180, 180, 240, 193, 180,   0, /**/ 220, 220},
    /* Entre 5 y 7 años   */ {225, 195, 240, 193, 180,   0, /**/ 380, 350},
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

// Hours: the supplement pays this much a code-06 hour up to the fixed amount
// of the level (HoursLevel).
inline constexpr double kDecreePesosPerHour06 = 9.4;

// The productivity item of the same decree: a share of the supplement, and
// the figure its quantity column shows.
inline constexpr double kDecreeProductivityShare = 0.07;
inline constexpr double kDecreeProductivityQuantity = 0.7;

inline constexpr Item kDecreeSupplementRow{"006", "Adic. Art 2 y 3 Dcrto 5863/05"};
inline constexpr Item kDecreeProductivityRow{"014", "Product Dcrto 5863/05"};

// --- National incentive and "Negro de Nación" -----------------------------

// A cargo: fixed amounts, the higher ones from this many full-day points on.
inline constexpr int kNationalFullDayPoints = 600;
inline constexpr int kIncentiveBelowFullDay = 110;
inline constexpr int kIncentiveFullDay = 220;
inline constexpr int kNegroBelowFullDay = 100;
inline constexpr int kNegroFullDay = 200;

// Hours: paid by the hour (HoursLevel) up to these caps.
inline constexpr int kIncentiveCap = 220;
inline constexpr int kNegroCap = 200;

inline constexpr Item kIncentiveRow{"084", "Incentivo de Nación"};
inline constexpr Item kNegroRow{"113", "Negro de Nación"};

// --- Productivity plus and the share withheld for absence -----------------

inline constexpr double kPlusShare = 0.07; // of the pay of the position with seniority and zone
inline constexpr std::string_view kPlusQuantity = "7.0";
inline constexpr Item kPlusRow{"188", "Plus Productividad"};

// Share of the plus withheld for exactly 1, 2 and 3 days of absence; more
// days than that withhold the whole plus.
inline constexpr std::array<double, 3> kAbsenceShare{0.25, 0.5, 0.75};
inline constexpr Item kAbsenceRow{"440", "Reajuste cod. 188"};

// --- Minimum top-up -------------------------------------------------------

// A cargo of more than kMinimumAbovePoints basic points is lifted to a
// take-home estimate of kGuaranteedTakeHome. The estimate takes off
// kWithheldShare of the contribution base, leaving out the decree supplement
// and the zone supplement with its share of the plus (zone x kZoneWithPlus).
inline constexpr int kMinimumAbovePoints = 900;
inline constexpr int kGuaranteedTakeHome = 1290;
inline constexpr double kWithheldShare = 0.196;
inline constexpr double kZoneWithPlus = 1.07;
inline constexpr Item kMinimumRow{"172", "Adic para mínimo"};

// --- Transport ------------------------------------------------------------

inline constexpr double kPesosPerKm = 0.13472;
inline constexpr int kWeeksPerMonth = 4;
inline constexpr Money kTransportCap = Money::fromUnits(1'618'000); // 161.8
inline constexpr Item kTransportRow{"029", "transporte por KM"};

// --- Family allowances ----------------------------------------------------

// Amount per child by the band of the earnings before transport and family
// allowances: up to 1900, above 1900 up to 2600, above 2600.
struct ChildBand {
    int upTo; // highest earnings of the band, in whole pesos
    int perChild;
};
inline constexpr std::array<ChildBand, 2> kChildBands{{{1900, 75}, {2600, 60}}};
inline constexpr int kPerChildAboveBands = 45;

inline constexpr int kPerDisabledChild = 400;
inline constexpr int kLargeFamilyChildren = 3; // children in all from which the large-family amount is paid
inline constexpr int kLargeFamilyAmount = 3;
inline constexpr int kSpouseAmount = 15;

inline constexpr Item kChildRow{"1001", "Sal fam hijo"};
inline constexpr Item kDisabledChildRow{"1002", "Sal fam hijo diferenciado"};
inline constexpr Item kLargeFamilyRow{"1003", "Familia numerosa"};
inline constexpr Item kSpouseRow{"1010", "Sal fam Cony"};

// --- Deductions -----------------------------------------------------------

// The seven contributions and insurances in the order of their rows, each a
// share of the contribution base; one of them also of the national incentive.
struct DeductionRate {
    Item row;
    double rate;
    std::string_view quantity; // the percentage as the slip shows it
    bool withIncentive;        // the base also holds the national incentive
};
inline constexpr std::array<DeductionRate, 7> kDeductions{{
    {{"505", "IOSPER"}, 0.03, "3 %", false},
    {{"508", "OSPLAD"}, 0.03, "3 %", false},
    {{"502", "Aporte Jub."}, 0.16, "16 %", false},
    {{"504", "Ley 4035"}, 0.006, "0,6 %", false},
    {{"332", "VESNAR"}, 0.02, "2 %", true},
    {{"512", "Caja Comp."}, 0.045, "4,5 %", false},
    {{"510", "Seguro 3011"}, 0.02, "2 %", false},
}};

} // namespace recibo::scale
