#include "slip/haberes_layout.h"

#include <deque>
#include <string>
#include <vector>

#include "calc/slip.h"
#include "forms/palette.h"

namespace recibo {

using namespace forms;

namespace {

// The control tables keep one control to a line or two.
// clang-format off

// Row geometry: rows are 315 twips apart, the first one at 735.
constexpr int rowTop(int i) { return 735 + 315 * i; }

class Layout {
public:
    Layout()
    {
        frame();
        rows();
        grid();
        totals();
        panel();
        boxes();
        buttons();
        watermark();
    }
    std::span<const Control> controls() const { return controls_; }

private:
    std::string_view name(std::string text) { return names_.emplace_back(std::move(text)); }
    std::string_view element(std::string_view array, int i)
    {
        return name(std::string(array) + "(" + std::to_string(i) + ")");
    }
    void add(const Control &control) { controls_.push_back(control); }

    void frame()
    {
        add({.name = "sosten", .kind = Kind::Frame, .left = 840, .top = 0, .width = 6840, .height = 12000,
             .text = "Recibo de haberes", .bg = kLightCyan});
        add({.name = "Label18", .kind = Kind::Label, .left = 525, .top = 210, .width = 2295, .height = 375,
             .text = "Recibo de sueldos de:", .flags = RightAligned | Border | Transparent, .parent = "sosten"});
        add({.name = "docente", .kind = Kind::Label, .left = 3030, .top = 210, .width = 3135, .height = 375,
             .flags = Border | Transparent, .parent = "sosten"});
    }

    // Each row is built whole, left to right (code, quantity, description,
    // earnings, deductions, its rule), rows top to bottom: a screen reader
    // walks the slip in that order and hears every amount in its row.
    void rows()
    {
        for (int i = 0; i < kSlipPositions; ++i) {
            const Flags border = i >= 24 ? Border : None;
            add({.name = element("cod", i), .kind = Kind::Label, .left = 510, .top = rowTop(i), .width = 495,
                 .height = 300, .flags = RightAligned | Transparent | Hidden | border, .parent = "sosten"});
            add({.name = element("Label10", i), .kind = Kind::Label, .left = i == 23 ? 1155 : 1140,
                 .top = rowTop(i), .width = 495, .height = 300, .flags = RightAligned | Transparent | border,
                 .parent = "sosten"});
            add({.name = element("Label19", i), .kind = Kind::Label, .left = 1770, .top = rowTop(i),
                 .width = 2355, .height = 300, .flags = Transparent | Hidden | border, .parent = "sosten"});
            amount(i);
            amount(kSlipPositions + i);
            add({.name = element("Line8", i), .kind = Kind::Line, .left = 300, .top = 1050 + 315 * i,
                 .width = 6570, .height = 1050 + 315 * i, .parent = "sosten"});
        }
    }

    // Amounts size themselves leftwards from the right edge of their column:
    // 5250 for earnings, 6450 for deductions.
    void amount(int k)
    {
        const bool deduction = k >= kSlipPositions;
        const int row = deduction ? k - kSlipPositions : k;
        int left = 0;
        int width = 0;
        bool fixed = false;
        if (!deduction) {
            if (k <= 20) {
                left = 5205, width = 45;
            } else if (k == 24) {
                left = 5145, width = 105;
            } else {
                left = 4245, width = 1005, fixed = true;
            }
        } else if (k <= 47) {
            left = 6405, width = 45;
        } else if (k <= 51) {
            left = 6345, width = 105;
        } else {
            left = 5445, width = 1005, fixed = true;
        }
        int top = rowTop(row);
        if (k == 0)
            top = 720;
        else if (deduction && k <= 38)
            top = 840 + 315 * row;
        const bool bordered = (k >= 24 && k <= 26) || k >= 48;
        add({.name = element("Label1", k), .kind = Kind::Label, .left = left, .top = top, .width = width,
             .height = fixed ? 300 : 240, .font = kSans975,
             .flags = RightAligned | Transparent | (fixed ? None : AutoSize) | (bordered ? Border : None),
             .parent = "sosten"});
    }

    void grid()
    {
        const auto vertical = [this](std::string_view lineName, int x, int y1, int y2) {
            add({.name = lineName, .kind = Kind::Line, .left = x, .top = y1, .width = x, .height = y2,
                 .parent = "sosten"});
        };
        vertical("Line3(1)", 300, 735, 7365);
        vertical("Line7", 1035, 735, 7365);
        vertical("Line5", 1665, 720, 7350);
        vertical("Line2", 4185, 735, 7365);
        vertical("Line1", 5340, 720, 7350);
        vertical("Line3(0)", 6570, 735, 7365);
        add({.name = "Line4", .kind = Kind::Line, .left = 300, .top = 735, .width = 6570, .height = 735,
             .parent = "sosten"});
        add({.name = "Line6", .kind = Kind::Line, .left = 300, .top = 7770, .width = 6570, .height = 7770,
             .parent = "sosten", .lineWidth = 3});
    }

    void totals()
    {
        const auto caption = [this](std::string_view labelName, int top, int width, std::string_view text) {
            add({.name = labelName, .kind = Kind::Label, .left = 1770, .top = top, .width = width, .height = 330,
                 .text = text, .font = {"", 9.75, false}, .flags = Transparent, .parent = "sosten"});
        };
        const auto total = [this](std::string_view labelName, int left, int top) {
            add({.name = labelName, .kind = Kind::Label, .left = left, .top = top, .width = 75, .height = 240,
                 .font = {"", 9.75, true}, .flags = RightAligned | Transparent | AutoSize, .parent = "sosten"});
        };
        // Each total right after its caption, as a screen reader reads them.
        caption("Label15", 7920, 1600, "Total Haberes");
        total("thaberes", 5280, 7920);
        caption("Label16", 8160, 1605, "Total descuentos");
        total("tdescuentos", 6400, 7875);
        caption("Label17", 8400, 1605, "Liquido a pagar");
        total("liquido", 6400, 8085);
        const auto rule = [this](std::string_view lineName, int y) {
            add({.name = lineName, .kind = Kind::Line, .left = 300, .top = y, .width = 6570, .height = y,
                 .parent = "sosten"});
        };
        rule("Line15", 8190);
        rule("Line16", 8400);
        rule("Line17", 8520);
    }

    void panel()
    {
        // Each label names the box under it for a screen reader.
        const auto label = [this](std::string_view labelName, int left, int top, int width, int height,
                                  std::string_view text, Flags flags, std::string_view box) {
            add({.name = labelName, .kind = Kind::Label, .left = left, .top = top, .width = width,
                 .height = height, .text = text, .flags = Border | flags, .captions = box});
        };
        const auto box = [this](std::string_view boxName, int left, int top, Rgb bg) {
            add({.name = boxName, .kind = Kind::TextBox, .left = left, .top = top, .width = 1275, .height = 360,
                 .fg = bg.isSet() ? Rgb{0, 0, 0} : Rgb{}, .bg = bg, .font = kSans975,
                 .flags = Centred | ReadOnly});
        };
        add({.name = "carsel", .kind = Kind::Label, .left = 7680, .top = 360, .width = 3360, .height = 300,
             .bg = kWhite, .flags = Border | AutoSize | WordWrap});
        label("Label11", 7665, 840, 1890, 300, "", None, "numcargo");
        box("numcargo", 7920, 1200, {});
        label("Label12", 7680, 1680, 1905, 330, "Puntaje", Centred, "punbasicos");
        box("punbasicos", 7920, 2040, kWhite);
        label("Label2", 7680, 2520, 1905, 330, "Ptos. Comp Básico", Centred, "compbas");
        box("compbas", 7920, 2880, kWhite);
        label("Label14", 7665, 3465, 1905, 330, "Prol jorn", Centred, "proljor");
        box("proljor", 7980, 3885, {});
        label("Label20", 7665, 4515, 1905, 330, "Jorn Comp", Centred, "jorcom");
        box("jorcom", 7980, 4935, {});
        label("Label21", 7665, 5565, 1905, 330, "Tarea dif", Centred, "tardif");
        box("tardif", 7980, 5985, {});
    }

    void boxes()
    {
        add({.name = "Text12", .kind = Kind::TextBox, .left = 9720, .top = 1560, .width = 1695, .height = 285,
             .text = "Poné tu comentario", .flags = Centred | ReadOnly});
        add({.name = "Text11", .kind = Kind::TextBox, .left = 9720, .top = 1920, .width = 1695, .height = 2895,
             .flags = NoTabStop, .accessibleName = "Comentario"});
        add({.name = "Text1", .kind = Kind::TextBox, .left = 8880, .top = 7200, .width = 2415, .height = 285,
             .text = "Se imprime en blanco y negro", .flags = Centred | ReadOnly | NoTabStop});
        add({.name = "Text10", .kind = Kind::TextBox, .left = 8880, .top = 7680, .width = 2415, .height = 375,
             .font = {"", 9.75, false}, .flags = Centred | ReadOnly, .accessibleName = "Fecha y hora del recibo"});
    }

    void buttons()
    {
        const auto button = [this](std::string_view buttonName, int top, Rgb face, std::string_view tooltip) {
            add({.name = buttonName, .kind = Kind::Button, .left = 9840, .top = top, .width = 1335, .height = 495,
                 .text = buttonName, .tooltip = tooltip, .bg = face, .font = kSans975Bold});
        };
        button("Volver", 4920, kPaleCyan, "Permite cambiar los datos ingresados");
        button("Imprimir", 5640, kCyan, "Se imprime con fondo blanco.");
        button("Salir", 6360, kCyan192, "");
        add({.name = "movedor", .kind = Kind::ScrollBar, .left = 11520, .top = 0, .width = 345, .height = 8565,
             .accessibleName = "Desplazar el recibo"});
    }

    void watermark()
    {
        // "VESNAR" down the left margin, the shade running light to dark twice.
        constexpr Rgb kShades[] = {{224, 224, 224}, {192, 192, 192}, {128, 128, 128}, {64, 64, 64}};
        for (int i = 0; i < 8; ++i)
            add({.name = kWatermark[i], .kind = Kind::TextBox, .left = 120, .top = 360 + 480 * i, .width = 615,
                 .height = 255, .text = "VESNAR", .fg = kShades[i % 4], .flags = Centred | Flat | NoTabStop | Hidden |
                 ReadOnly});
    }

    std::deque<std::string> names_;
    std::vector<Control> controls_;
};
// clang-format on

} // namespace

std::span<const Control> haberesControls()
{
    static const Layout layout;
    return layout.controls();
}

} // namespace recibo
