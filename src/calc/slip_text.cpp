#include "calc/slip_text.h"

#include <array>
#include <initializer_list>
#include <utility>

#include "calc/scale.h"

namespace recibo {

namespace {

void addLine(std::string &out, std::initializer_list<std::string_view> columns)
{
    bool first = true;
    for (std::string_view column : columns) {
        if (!first)
            out += '\t';
        out += column;
        first = false;
    }
    out += '\n';
}

// A comment typed over several lines stays one block: its line ends become
// the text's own, whatever the system wrote them as.
void addComment(std::string &out, std::string_view comment)
{
    std::string text;
    for (std::size_t i = 0; i < comment.size(); ++i) {
        if (comment[i] == '\r') {
            text += '\n';
            if (i + 1 < comment.size() && comment[i + 1] == '\n')
                ++i;
        } else {
            text += comment[i];
        }
    }
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (text.empty())
        return;
    out += text;
    out += '\n';
}

// The slip's selection panel: what is paid, its code or hours and points,
// and on the cargo path the four point boxes, each after its caption.
void addPanel(std::string &out, const SlipHead &head)
{
    if (head.label11.empty())
        return;
    addLine(out, {head.carsel});
    addLine(out, {head.label11, head.numcargo});
    addLine(out, {"Puntaje", head.punbasicos});
    if (!head.showPointBoxes)
        return;
    const std::array<std::pair<std::string_view, std::string_view>, 4> boxes{{
        {"Ptos. Comp Básico", head.compbas},
        {"Prol jorn", head.proljor},
        {"Jorn Comp", head.jorcom},
        {"Tarea dif", head.tardif},
    }};
    for (const auto &[caption, points] : boxes)
        addLine(out, {caption, points});
}

} // namespace

std::string slipText(const Slip &slip, const SlipTextExtras &extras)
{
    std::string out;
    addLine(out, {scale::kInForceFrom});
    addPanel(out, slip.head);
    addLine(out, {"Código", "Cantidad", "Concepto", "Haberes", "Descuentos"});
    for (const SlipRow &row : slip.rows) {
        const std::string_view quantity = row.showQuantity ? std::string_view(row.quantity) : std::string_view();
        const bool earnings = row.column == Column::Earnings;
        addLine(out, {row.code, quantity, row.description, earnings ? std::string_view(row.amount) : std::string_view(),
                      earnings ? std::string_view() : std::string_view(row.amount)});
    }
    addLine(out, {"", "", kTotalHaberes, slip.thaberes, ""});
    addLine(out, {"", "", kTotalDescuentos, "", slip.tdescuentos});
    addLine(out, {"", "", kLiquidoAPagar, "", slip.liquido});
    addLine(out, {extras.teacher});
    addLine(out, {extras.dateLine});
    addComment(out, extras.comment);
    return out;
}

} // namespace recibo
