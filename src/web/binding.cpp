#include "web/binding.h"

#include <array>
#include <variant>

#include "calc/calculate.h"
#include "calc/scale.h"
#include "calc/slip_text.h"
#include "catalogue/catalogue.h"

namespace recibo::web {

namespace {

// The names of the deductions in the page's input, in Deduction's order.
constexpr std::array<std::string_view, DeductionCount> kDeductionNames{
    "Iosper", "Osplad", "AporteJub", "Ley4035", "Vesnar", "CajaComp", "Seguro3011",
};

constexpr std::array<std::pair<std::string_view, PayPath>, 4> kPathNames{{
    {"none", PayPath::None},
    {"cargo", PayPath::Cargo},
    {"secondary", PayPath::SecondaryHours},
    {"higher", PayPath::HigherHours},
}};

void readText(const JsonValue &object, std::string_view name, std::string &into)
{
    if (const JsonValue *value = object.find(name); value && value->kind == JsonValue::Kind::String)
        into = value->text;
}

void readFlag(const JsonValue &object, std::string_view name, bool &into)
{
    if (const JsonValue *value = object.find(name); value && value->kind == JsonValue::Kind::Boolean)
        into = value->boolean;
}

void readWhole(const JsonValue &object, std::string_view name, int &into, int lowest, int highest)
{
    if (const JsonValue *value = object.find(name); value && value->kind == JsonValue::Kind::Number && value->whole &&
                                                    value->integer >= lowest && value->integer <= highest)
        into = static_cast<int>(value->integer);
}

// Writes `"name":` and the value, with a comma before every member but the first.
class ObjectWriter {
public:
    explicit ObjectWriter(std::string &out) : out_(out) { out_ += '{'; }
    ~ObjectWriter() { out_ += '}'; }
    ObjectWriter(const ObjectWriter &) = delete;
    ObjectWriter &operator=(const ObjectWriter &) = delete;

    std::string &member(std::string_view name)
    {
        if (!first_)
            out_ += ',';
        first_ = false;
        appendJsonString(out_, name);
        out_ += ':';
        return out_;
    }
    void text(std::string_view name, std::string_view value) { appendJsonString(member(name), value); }
    void flag(std::string_view name, bool value) { member(name) += value ? "true" : "false"; }
    void whole(std::string_view name, long long value) { member(name) += std::to_string(value); }

private:
    std::string &out_;
    bool first_ = true;
};

// Writes the items of an array with a comma between them.
class ArrayWriter {
public:
    explicit ArrayWriter(std::string &out) : out_(out) { out_ += '['; }
    ~ArrayWriter() { out_ += ']'; }
    ArrayWriter(const ArrayWriter &) = delete;
    ArrayWriter &operator=(const ArrayWriter &) = delete;

    std::string &item()
    {
        if (!first_)
            out_ += ',';
        first_ = false;
        return out_;
    }

private:
    std::string &out_;
    bool first_ = true;
};

void writeSlip(std::string &out, const Slip &slip)
{
    ObjectWriter object(out);
    {
        ObjectWriter head(object.member("head"));
        head.text("label11", slip.head.label11);
        head.text("numcargo", slip.head.numcargo);
        head.text("punbasicos", slip.head.punbasicos);
        head.text("carsel", slip.head.carsel);
        head.flag("showPointBoxes", slip.head.showPointBoxes);
    }
    {
        ArrayWriter rows(object.member("rows"));
        for (const SlipRow &row : slip.rows) {
            ObjectWriter item(rows.item());
            item.text("code", row.code);
            item.text("quantity", row.quantity);
            item.flag("showQuantity", row.showQuantity);
            item.text("description", row.description);
            item.text("amount", row.amount);
            item.text("column", row.column == Column::Earnings ? "earnings" : "deductions");
            item.text("explanation", row.explanation);
        }
    }
    object.text("thaberes", slip.thaberes);
    object.text("tdescuentos", slip.tdescuentos);
    object.text("liquido", slip.liquido);
    object.text("thaberesExplanation", slip.thaberesExplanation);
    object.text("tdescuentosExplanation", slip.tdescuentosExplanation);
    object.text("liquidoExplanation", slip.liquidoExplanation);
}

std::string refusal(std::string_view control, std::string_view message)
{
    std::string out;
    {
        ObjectWriter object(out);
        object.flag("ok", false);
        object.text("control", control);
        object.text("message", message);
    }
    return out;
}

} // namespace

std::optional<PayInput> payInputFromJson(const JsonValue &json)
{
    if (json.kind != JsonValue::Kind::Object)
        return std::nullopt;
    PayInput input;
    if (const JsonValue *path = json.find("path"); path && path->kind == JsonValue::Kind::String)
        for (const auto &[name, value] : kPathNames)
            if (path->text == name)
                input.path = value;
    if (const JsonValue *cargo = json.find("cargo"); cargo && cargo->kind == JsonValue::Kind::Object) {
        readFlag(*cargo, "rowSelected", input.cargo.rowSelected);
        readText(*cargo, "codeTyped", input.cargo.codeTyped);
        readText(*cargo, "code", input.cargo.code);
        readText(*cargo, "basicPointsItem", input.cargo.basicPointsItem);
        readText(*cargo, "name", input.cargo.name);
        readText(*cargo, "punbas", input.cargo.punbas);
        readText(*cargo, "compbas", input.cargo.compbas);
        readText(*cargo, "jorcom", input.cargo.jorcom);
        readText(*cargo, "proljor", input.cargo.proljor);
        readText(*cargo, "tardif", input.cargo.tardif);
    }
    readText(json, "hoursSecondary", input.hoursSecondary);
    readText(json, "hoursHigher", input.hoursHigher);
    readText(json, "hoursCode06", input.hoursCode06);
    readText(json, "hoursIncentive", input.hoursIncentive);
    readText(json, "hoursCode113", input.hoursCode113);
    readWhole(json, "seniorityOption", input.seniorityOption, 0, scale::kSeniorityOptions);
    readWhole(json, "zoneIndex", input.zoneIndex, -1, scale::kZoneCount - 1);
    readText(json, "zoneText", input.zoneText);
    readFlag(json, "incentive", input.incentive);
    readText(json, "absenceDays", input.absenceDays);
    readFlag(json, "transport", input.transport);
    readText(json, "kilometres", input.kilometres);
    readFlag(json, "children", input.children);
    readText(json, "childrenCount", input.childrenCount);
    readFlag(json, "disabledChildren", input.disabledChildren);
    readText(json, "disabledChildrenCount", input.disabledChildrenCount);
    readFlag(json, "spouse", input.spouse);
    if (const JsonValue *deductions = json.find("deductions");
        deductions && deductions->kind == JsonValue::Kind::Object)
        for (std::size_t i = 0; i < kDeductionNames.size(); ++i)
            readFlag(*deductions, kDeductionNames[i], input.deductions[i]);
    readText(json, "decimalSeparator", input.decimalSeparator);
    return input;
}

std::string calculateJson(std::string_view inputJson)
{
    const std::optional<JsonValue> json = parseJson(inputJson);
    return calculateJson(json ? *json : JsonValue());
}

std::string calculateJson(const JsonValue &json)
{
    const std::optional<PayInput> input = payInputFromJson(json);
    if (!input)
        return refusal("", "La entrada no es un objeto JSON");
    const std::variant<Slip, InputProblem> result = calculate(*input);
    if (const auto *problem = std::get_if<InputProblem>(&result))
        return refusal(problem->control, problem->message);
    std::string out;
    {
        ObjectWriter object(out);
        object.flag("ok", true);
        writeSlip(object.member("slip"), std::get<Slip>(result));
    }
    return out;
}

std::string slipTextFor(std::string_view requestJson)
{
    const std::optional<JsonValue> json = parseJson(requestJson);
    return json ? slipTextFor(*json) : std::string();
}

std::string slipTextFor(const JsonValue &request)
{
    if (request.kind != JsonValue::Kind::Object)
        return {};
    const JsonValue *inputJson = request.find("input");
    const std::optional<PayInput> input = inputJson ? payInputFromJson(*inputJson) : std::nullopt;
    if (!input)
        return {};
    const std::variant<Slip, InputProblem> result = calculate(*input);
    const auto *slip = std::get_if<Slip>(&result);
    if (!slip)
        return {};
    std::string teacher, dateLine, comment;
    readText(request, "teacher", teacher);
    readText(request, "dateLine", dateLine);
    readText(request, "comment", comment);
    return slipText(*slip, {.teacher = teacher, .dateLine = dateLine, .comment = comment});
}

std::string catalogueJson()
{
    std::string out;
    {
        ArrayWriter rows(out);
        for (const CargoRow &row : cargoCatalogue()) {
            ObjectWriter object(rows.item());
            object.text("codigocargo", row.codigocargo);
            object.text("cargox", row.cargox);
            object.text("puntosbasicos", row.puntosbasicos);
            object.text("compbasico", row.compbasico);
            object.text("tareadif", row.tareadif);
            object.text("jorcompleta", row.jorcompleta);
            object.text("proljornada", row.proljornada);
        }
    }
    return out;
}

std::string scaleJson()
{
    std::string out;
    {
        ObjectWriter object(out);
        {
            ArrayWriter seniority(object.member("seniority"));
            for (std::size_t option = 0; option < scale::kSeniorityBands.size(); ++option) {
                ObjectWriter band(seniority.item());
                band.text("caption", scale::kSeniorityBands[option].caption);
                band.whole("percent", scale::kSeniorityBands[option].percent);
                band.text("percentText", scale::kSeniorityPercentTexts[option].view());
            }
        }
        {
            ArrayWriter zones(object.member("zones"));
            for (const scale::Zone &zone : scale::kZones) {
                ObjectWriter item(zones.item());
                item.text("item", zone.item);
                item.whole("percent", zone.percent);
            }
        }
        object.text("zonePrompt", scale::kZonePrompt);
    }
    return out;
}

} // namespace recibo::web
