#pragma once

#include <cstdint>

#include "calc/money.h"

namespace recibo {

// The named values of the calculation. They belong to the entry window and
// last from one calculation to the next, but every calculation writes each
// value before it reads it.
struct CalcState {
    std::int16_t ptsbasicos = 0;
    std::int16_t ptsjorcom = 0;
    std::int16_t ptsproljor = 0;
    Money ptstardif;
    Money montojorcom;
    Money montoproljor;
    Money montobasico;
    Money montocompbas;
    Money montotardif;
    std::uint8_t pctantig = 0; // set by the seniority options of the entry window
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
    Money montominimo;
    std::int16_t kmsemanales = 0;
    Money montotransporte;
    std::uint8_t numhijos = 0;
    Money montohijos;
    std::uint8_t numhijosdisc = 0;
    Money montohijosdisc;
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
};

} // namespace recibo
