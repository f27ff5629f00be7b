#include "entry/ingreso_layout.h"
#include "calc/scale.h"
#include "forms/palette.h"

namespace recibo {

using namespace forms;

namespace {

// The control tables keep one control to a line or two.
// clang-format off

// Caption and value labels of the chosen-cargo display.
constexpr Control caption(std::string_view name, int left, std::string_view text, int width = 1380)
{
    return {.name = name, .kind = Kind::Label, .left = left, .top = 2040, .width = width, .height = 330,
            .text = text, .fg = kNavy, .bg = kCyan, .flags = Centred | Border | Hidden};
}
constexpr Control value(std::string_view name, int left, int top)
{
    return {.name = name, .kind = Kind::Label, .left = left, .top = top, .width = 1380, .height = 330,
            .fg = kBlue192, .bg = kLightCyan, .font = kArial975, .flags = Centred | Border | Hidden};
}

// A box for an hour count; every one reads "0" until the user types.
constexpr Control hours(std::string_view name, int left, int top, int width, int height, std::string_view caption)
{
    return {.name = name, .kind = Kind::TextBox, .left = left, .top = top, .width = width, .height = height,
            .text = "0", .tooltip = "Ingrese la cantidad de horas", .fg = kBlue192, .bg = kLightCyan,
            .font = kArial9Bold, .flags = Centred | Hidden, .accessibleName = caption};
}
constexpr Control hoursCaption(std::string_view name, int left, int top, int width, int height,
                               std::string_view text, bool large)
{
    return {.name = name, .kind = Kind::Label, .left = left, .top = top, .width = width, .height = height,
            .text = text, .fg = kBlue192, .bg = large ? kPaleCyan : kLightCyan,
            .font = large ? kArial825Bold : kSans825, .flags = Centred | Border | AutoSize | WordWrap | Hidden};
}

// A quantity box of an optional item: hidden and reading "0" until checked.
constexpr Control quantity(std::string_view name, int left, int top, int width, int height,
                           std::string_view tooltip, std::string_view accessibleName)
{
    return {.name = name, .kind = Kind::TextBox, .left = left, .top = top, .width = width, .height = height,
            .text = "0", .tooltip = tooltip, .fg = kBlue192, .bg = kLightCyan, .font = kArial9Bold,
            .flags = Centred | Hidden, .accessibleName = accessibleName};
}

constexpr Control category(std::string_view name, int left, int width, std::string_view text,
                           std::string_view tooltip)
{
    return {.name = name, .kind = Kind::Option, .left = left, .top = 240, .width = width, .height = 375,
            .text = text, .tooltip = tooltip, .fg = kBlue, .bg = kCyan192, .font = kArial975Bold,
            .parent = "Frame2"};
}

constexpr Control deduction(std::string_view name, int top, std::string_view text)
{
    return {.name = name, .kind = Kind::Toggle, .left = 120, .top = top, .width = 1935, .height = 375,
            .text = text, .fg = kNavy, .bg = kLightCyan, .font = kArial9, .parent = "Frame3"};
}

// A seniority band of the scale; its tooltip is the band's percentage.
constexpr Control seniority(std::string_view name, int top, std::size_t option)
{
    return {.name = name, .kind = Kind::Option, .left = 120, .top = top, .width = 1815, .height = 255,
            .text = scale::kSeniorityBands[option].caption, .tooltip = scale::kSeniorityPercentTexts[option].view(),
            .fg = kNavy, .bg = kPaleCyan, .parent = "Frame1"};
}

constexpr Control kControls[] = {
    // Top band.
    {.name = "Label5", .kind = Kind::Label, .left = 420, .top = 120, .width = 2325, .height = 360,
     .text = "Apellido y nombre:", .fg = kBlue192, .bg = kLightCyan, .font = kArial975Bold, .flags = Centred},
    {.name = "docente", .kind = Kind::TextBox, .left = 2760, .top = 120, .width = 3945, .height = 345,
     .fg = kNavy, .bg = kLightCyan, .font = kSans975, .accessibleName = "Apellido y nombre"},
    {.name = "Label9", .kind = Kind::Label, .left = 6960, .top = 120, .width = 4785, .height = 405,
     .text = "Recibo: liquidación de haberes docentes", .fg = kBlue, .bg = kWhite, .font = kArial12Bold,
     .flags = Centred | Border},
    {.name = "Label10", .kind = Kind::Label, .left = 6960, .top = 600, .width = 4785, .height = 405,
     .text = "Desde Mayo de 2.008", .fg = kBlue, .bg = kWhite, .font = kArial12Bold, .flags = Centred | Border},

    // What is paid.
    {.name = "Frame2", .kind = Kind::Frame, .left = 135, .top = 675, .width = 6570, .height = 735,
     .text = "Categoría", .fg = kBlue, .bg = kCyan, .font = kSans825},
    category("cargo", 120, 1575, "Cargo", "Seleccione para evaluar un cargo"),
    category("horasmedio", 1920, 2055, "Hs. N. Medio", "Seleccione para evaluar horas de nivel medio"),
    category("horassup", 4440, 1935, "Hs. N. Superior", "Seleccione para evaluar horas de nivel superior"),

    // The chosen cargo, shown after the selection dialog's "Listo".
    {.name = "cargoselect", .kind = Kind::Label, .left = 120, .top = 1560, .width = 6585, .height = 330,
     .fg = kNavy, .bg = kLightCyan, .font = kArial975, .flags = Border | AutoSize | Hidden},
    caption("codcartit", 120, "Código del cargo"),
    value("codcarval", 120, 2505),
    caption("puncartit", 1560, "Puntaje del cargo"),
    value("puncarval", 1560, 2505),
    caption("puncompbastit", 3000, "Comp de Básico"),
    value("puncompbasval", 3000, 2505),
    caption("punproljortit", 4440, "Puntos prol jorn"),
    value("punproljorval", 4440, 2520),
    caption("punjorcomtit", 5880, "Puntos Jor comp"),
    value("punjorcomval", 5880, 2520),
    caption("puntardiftit", 7320, "Puntos tarea difer", 1425),
    value("puntardifval", 7320, 2520),

    // Hour inputs, shown by the hours categories.
    hoursCaption("Label3", 2265, 1515, 1515, 480, "Número de horas N. Medio", true),
    hours("numerohorasmed", 2520, 2115, 855, 330, "Número de horas N. Medio"),
    hoursCaption("Label4", 4680, 1515, 1515, 480, "Número de horas N. Superior", true),
    hours("numerohorassup", 4920, 2115, 855, 330, "Número de horas N. Superior"),
    hoursCaption("Label2", 2040, 2520, 2745, 255, "Número de horas con código 06", false),
    hours("numhorascod06", 4920, 2520, 855, 285, "Número de horas con código 06"),
    hoursCaption("Label7", 2040, 2880, 2775, 255, "Número de horas con incentivo", false),
    hours("numhorasincen", 4920, 2880, 855, 285, "Número de horas con incentivo"),
    hoursCaption("Label6", 2040, 3240, 2745, 255, "Número de horas con código 113", false),
    hours("numhorascod113", 4920, 3210, 855, 285, "Número de horas con código 113"),

    // Incentive, transport, zone, absences.
    {.name = "opincentivo", .kind = Kind::Toggle, .left = 105, .top = 3480, .width = 1260, .height = 435,
     .text = "Incentivo", .tooltip = "Deshabilite si no se cobra", .fg = kNavy, .bg = kCyan,
     .font = kArial975Bold, .flags = Checked},
    {.name = "Text1", .kind = Kind::TextBox, .left = 1440, .top = 3495, .width = 495, .height = 420, .text = "Si",
     .tooltip = "¿Cuántos Km semanales?", .fg = kBlue192, .bg = kLightCyan, .font = kArial9Bold,
     .flags = Centred, .accessibleName = "Incentivo: se cobra"},
    {.name = "transporte", .kind = Kind::Toggle, .left = 120, .top = 4080, .width = 1575, .height = 375,
     .text = "Transporte", .fg = kNavy, .bg = kCyan192, .font = kArial975Bold},
    quantity("cantkm", 1920, 4080, 615, 315, "¿Cuántos Km semanales?", "cantidad de km semanales"),
    {.name = "mensajekm", .kind = Kind::Label, .left = 2760, .top = 4080, .width = 2835, .height = 315,
     .text = "cantidad de km semanales", .fg = kBlue192, .bg = kLightCyan, .font = kArial9,
     .flags = Centred | Border | WordWrap | Hidden},
    {.name = "zona", .kind = Kind::Combo, .left = 120, .top = 4560, .width = 2775, .height = 330,
     .text = scale::kZonePrompt, .fg = kBlue192, .bg = kLightCyan, .font = kArial825Bold,
     .accessibleName = scale::kZonePrompt},
    {.name = "inasist", .kind = Kind::Toggle, .left = 120, .top = 6000, .width = 1980, .height = 405,
     .text = "Inasistencias Just", .tooltip = "Haga Click si tiene inasistencias", .fg = kNavy, .bg = kCyan,
     .font = kArial975Bold},
    quantity("dinasist", 2160, 6000, 495, 360, "Cantidad de días.", "Inasistencias Just: cantidad de días"),

    // Family.
    {.name = "Shape1", .kind = Kind::Shape, .left = 120, .top = 6480, .width = 2775, .height = 1215,
     .bg = kCyan192},
    {.name = "hijos", .kind = Kind::CheckBox, .left = 240, .top = 6600, .width = 1695, .height = 255,
     .text = "Hijos", .fg = kBlue192, .bg = kLightCyan, .font = kArial825Bold},
    quantity("cantidadhijos", 2160, 6600, 495, 285, "¿Cuántos Hijos?", "Hijos: cantidad"),
    {.name = "hijosdisc", .kind = Kind::CheckBox, .left = 240, .top = 6960, .width = 1695, .height = 255,
     .text = "Hijos Diferenc", .fg = kBlue192, .bg = kLightCyan, .font = kArial825Bold},
    quantity("cantidadhijosdisc", 2160, 6960, 495, 285, "¿Cuántos Hijos?", "Hijos Diferenc: cantidad"),
    {.name = "conyuge", .kind = Kind::CheckBox, .left = 240, .top = 7320, .width = 1695, .height = 255,
     .text = "Conyuge", .fg = kBlue192, .bg = kLightCyan, .font = kArial825Bold},

    // Deductions.
    {.name = "Frame3", .kind = Kind::Frame, .left = 3360, .top = 4560, .width = 2175, .height = 3135,
     .text = "Descuentos", .fg = kBlue, .bg = kCyan192, .font = kArial975},
    deduction("Iosper", 240, "IOSPER"),
    deduction("Osplad", 600, "OSPLAD"),
    deduction("VESNAR", 960, "VESNAR"),
    deduction("APORTEJUB", 1320, "Aporte jubilatorio"),
    deduction("cajacomp", 1680, "Caja compensadora"),
    deduction("Ley4035", 2040, "Ley 4035"),
    deduction("Seguro3011", 2400, "Seguro (3011)"),

    // Seniority.
    {.name = "Frame1", .kind = Kind::Frame, .left = 6000, .top = 3960, .width = 2055, .height = 3765,
     .text = "Antigüedad", .fg = kBlue192, .bg = kCyan192, .font = kArial975},
    seniority("Option1", 240, 1),
    seniority("Option2", 480, 2),
    seniority("Option3", 720, 3),
    seniority("Option4", 960, 4),
    seniority("Option5", 1200, 5),
    seniority("Option6", 1440, 6),
    seniority("Option7", 1680, 7),
    seniority("Option8", 1920, 8),
    seniority("Option9", 2160, 9),
    seniority("Option10", 2400, 10),
    seniority("Option11", 2645, 11),
    seniority("Option12", 2880, 12),
    {.name = "porcantig", .kind = Kind::TextBox, .left = 600, .top = 3240, .width = 855, .height = 375,
     .text = scale::kSeniorityPercentTexts[0].view(), .tooltip = "Porcentaje de Antigüedad", .fg = kBlue192, .bg = kLightCyan,
     .font = kArial975Bold, .flags = Centred | ReadOnly, .parent = "Frame1",
     .accessibleName = "Porcentaje de Antigüedad"},

    // Right column.
    {.name = "Picture1", .kind = Kind::Picture, .left = 8880, .top = 3120, .width = 2775, .height = 2580,
     .bg = kPaleCyan},
    {.name = "Command1", .kind = Kind::Button, .left = 9000, .top = 6600, .width = 2535, .height = 375,
     .text = "Calcular", .tooltip = "Genera el recibo", .bg = kCyan192, .font = kArial12Bold},
    {.name = "Command2", .kind = Kind::Button, .left = 9000, .top = 7320, .width = 2535, .height = 375,
     .text = "Salir", .bg = kCyan192, .font = kArial12Bold},

    // Credits.
    {.name = "Label1", .kind = Kind::Label, .left = 5160, .top = 7920, .width = 2715, .height = 345,
     .text = "Programa Recibo", .tooltip = "Calculador libre de recibos de haberes", .fg = kWhite, .bg = kNavy,
     .font = kSans975Bold, .flags = Centred},
    {.name = "Label8", .kind = Kind::Label, .left = 8280, .top = 7920, .width = 3255, .height = 345,
     .text = "Para los docentes de Entre Ríos", .tooltip = "Escala salarial vigente desde mayo de 2008",
     .fg = kWhite, .bg = kNavy, .font = kSans975Bold, .flags = Centred},
};
// clang-format on

} // namespace

std::span<const Control> ingresoControls() { return kControls; }

} // namespace recibo
