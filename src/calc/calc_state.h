#pragma once

#include <cstdint>

#include "calc/money.h"

namespace recibo {

// The named values of one calculation. Every calculation starts from a fresh
// set, works them out in the order of the rows and hands them back with the
// slip; a value that the path does not use stays 0.
struct CalcState {
    std::int16_t ptsbasicos = 0;
    double ptscompbas = 0;
    std::int16_t ptsjorcom = 0;
    std::int16_t ptsproljor = 0;
    Money ptstardif;
    Money montojorcom;
    Money montoproljor;
    Money montojornada; // full day + extended day; 0 on the hours paths
    Money montobasico;
    Money montocompbas;
    Money montotardif;
    std::uint8_t pctantig = 0; // the seniority band's percentage
    Money montoantig;
    std::uint8_t pctzona = 0;
    Money montozona;
    Money montoart23;
    Money montoproduct;
    Money montoincentivo;
    Money montonegro;
    Money montoplus;
    Money montoreajuste;
    Money baseaportes;
    double bolsillo = 0; // take-home estimate of the minimum rule; 0 where the rule does not apply
    Money montominimo;
    std::int16_t kmsemanales = 0;
    Money montotransporte;
    std::uint8_t numhijos = 0;
    Money montohijos;
    std::uint8_t numhijosdisc = 0;
    Money montohijosdisc;
    Money montofamnum;
    Money montoconyuge;
    Money montoiosper;
    Money montoosplad;
    Money montojubilacion;
    Money montoley4035;
    Money montovesnar;
    Money montocajacomp;
    Money montoseguro;
    Money totalhaberes;
    Money totaldescuentos;
    Money totalliquido;

    bool operator==(const CalcState &) const = default;
};

} // namespace recibo
