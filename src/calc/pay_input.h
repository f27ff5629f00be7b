#pragma once

#include <array>
#include <string>

namespace recibo {

// What is paid: one cargo of the catalogue, or hours at secondary or higher level.
enum class PayPath { None, Cargo, SecondaryHours, HigherHours };

// The cargo as the selection dialog holds it, every field as text.
struct CargoChoice {
    bool rowSelected = false;    // a row is selected in the code list
    std::string codeTyped;       // the code box as the user left it
    std::string code;            // code of the row selected in the code list
    std::string basicPointsItem; // basic points of the row selected in the points list
    std::string name;            // text of the name box
    std::string punbas;          // the five point boxes, as the user left them
    std::string compbas;
    std::string jorcom;
    std::string proljor;
    std::string tardif;
};

// The deductions in the order their rows are written.
enum Deduction { Iosper, Osplad, AporteJub, Ley4035, Vesnar, CajaComp, Seguro3011, DeductionCount };

// Everything a calculation reads from the windows, as typed.
struct PayInput {
    PayPath path = PayPath::None;
    CargoChoice cargo;

    std::string hoursSecondary; // numerohorasmed
    std::string hoursHigher;    // numerohorassup
    std::string hoursCode06;    // numhorascod06
    std::string hoursIncentive; // numhorasincen
    std::string hoursCode113;   // numhorascod113

    int seniorityOption = 0; // 1 to 12 for Option1 to Option12, 0 when none is selected

    int zoneIndex = -1;   // selected item of zona, -1 for none; the calculation goes by zoneText,
                          // which the entry window keeps in step with the list
    std::string zoneText; // what the zone field shows

    bool incentive = true;   // opincentivo
    std::string absenceDays; // dinasist, read whatever the state of inasist

    bool transport = false;
    std::string kilometres; // cantkm
    bool children = false;
    std::string childrenCount; // cantidadhijos
    bool disabledChildren = false;
    std::string disabledChildrenCount; // cantidadhijosdisc
    bool spouse = false;

    std::array<bool, DeductionCount> deductions{};

    std::string decimalSeparator = ",";
};

} // namespace recibo
