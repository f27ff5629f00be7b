#include "web/binding.h"

#include <array>
#include <utility>
#include <variant>

#include "calc/calculate.h"
#include "calc/compare.h"
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

// The members of the page's input and of its answers, by their JSON names.
template <typename Owner, typename Member> using Field = std::pair<std::string_view, Member Owner::*>;

constexpr Field<CargoChoice, std::string> kCargoTexts[] = {
    {"codeTyped", &CargoChoice::codeTyped},
    {"code", &CargoChoice::code},
    {"basicPointsItem", &CargoChoice::basicPointsItem},
    {"name", &CargoChoice::name},
    {"punbas", &CargoChoice::punbas},
    {"compbas", &CargoChoice::compbas},
    {"jorcom", &CargoChoice::jorcom},
    {"proljor", &CargoChoice::proljor},
    {"tardif", &CargoChoice::tardif},
};
constexpr Field<PayInput, std::string> kInputTexts[] = {
    {"hoursSecondary", &PayInput::hoursSecondary},     {"hoursHigher", &PayInput::hoursHigher},
    {"hoursCode06", &PayInput::hoursCode06},           {"hoursIncentive", &PayInput::hoursIncentive},
    {"hoursCode113", &PayInput::hoursCode113},         {"zoneText", &PayInput::zoneText},
    {"absenceDays", &PayInput::absenceDays},           {"kilometres", &PayInput::kilometres},
    {"childrenCount", &PayInput::childrenCount},       {"disabledChildrenCount", &PayInput::disabledChildrenCount},
    {"decimalSeparator", &PayInput::decimalSeparator},
};
constexpr Field<PayInput, bool> kInputFlags[] = {
    {"incentive", &PayInput::incentive}, {"transport", &PayInput::transport},
    {"children", &PayInput::children},   {"disabledChildren", &PayInput::disabledChildren},
    {"spouse", &PayInput::spouse},
};
constexpr Field<Slip, std::string> kSlipTexts[] = {
    {"thaberes", &Slip::thaberes},
    {"tdescuentos", &Slip::tdescuentos},
    {"liquido", &Slip::liquido},
    {"thaberesExplanation", &Slip::thaberesExplanation},
    {"tdescuentosExplanation", &Slip::tdescuentosExplanation},
    {"liquidoExplanation", &Slip::liquidoExplanation},
};
constexpr Field<CargoRow, std::string_view> kCargoRowTexts[] = {
    {"codigocargo", &CargoRow::codigocargo},     {"cargox", &CargoRow::cargox},
    {"puntosbasicos", &CargoRow::puntosbasicos}, {"compbasico", &CargoRow::compbasico},
    {"tareadif", &CargoRow::tareadif},           {"jorcompleta", &CargoRow::jorcompleta},
    {"proljornada", &CargoRow::proljornada},
};

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
    for (const auto &[name, member] : kSlipTexts)
        object.text(name, slip.*member);
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

// The binding's own refusals, of texts that are not an input of the page.
constexpr std::string_view kNotAnObject = "La entrada no es un objeto JSON";

std::string refusalText(const JsonRefusal &refusal)
{
    switch (refusal.reason) {
    case JsonRefusal::Reason::RepeatedName:
        return "La entrada repite el nombre «" + refusal.name + "».";
    case JsonRefusal::Reason::TooDeep:
        return "La entrada anida más de " + std::to_string(kJsonMaxDepth) + " objetos o listas.";
    case JsonRefusal::Reason::NotJson:
        break;
    }
    return std::string(kNotAnObject);
}

// The slip of the page's input in `json`, or the refusal with its field and
// message. Amounts are read and written with the separator the page names,
// which must be one that no number can be misread with: a comma or a point.
std::variant<Slip, InputProblem> calculateChecked(const JsonValue &json)
{
    const std::optional<PayInput> input = payInputFromJson(json);
    if (!input)
        return InputProblem{"", std::string(kNotAnObject)};
    if (input->decimalSeparator != "," && input->decimalSeparator != ".")
        return InputProblem{"", "El separador decimal debe ser «,» o «.»."};
    return calculate(*input);
}

// {"ok":true,"slip":...} or {"ok":false,"control":...,"message":...}.
std::string answerJson(const std::variant<Slip, InputProblem> &result)
{
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

// What the teacher typed from their slip; anything not a text is a box left blank.
ComparisonInput comparisonInputFromJson(const JsonValue *json)
{
    ComparisonInput input;
    if (!json || json->kind != JsonValue::Kind::Object)
        return input;
    if (const JsonValue *rows = json->find("rows"); rows && rows->kind == JsonValue::Kind::Array)
        for (const JsonValue &row : rows->items)
            input.rowAmounts.push_back(row.kind == JsonValue::Kind::String ? row.text : std::string());
    readText(*json, "thaberes", input.thaberes);
    readText(*json, "tdescuentos", input.tdescuentos);
    readText(*json, "liquido", input.liquido);
    if (const JsonValue *added = json->find("added"); added && added->kind == JsonValue::Kind::Array)
        for (const JsonValue &item : added->items) {
            AddedCode &code = input.added.emplace_back();
            readText(item, "code", code.code);
            readText(item, "description", code.description);
            readText(item, "amount", code.amount);
            readFlag(item, "deduction", code.deduction);
        }
    return input;
}

// The names of Outcome's values in the answer, in its order.
constexpr std::array<std::string_view, 5> kOutcomeNames{"sin-dato", "coincide", "difiere", "rechazado", "no-calculado"};

void writeCheck(std::string &out, const AmountCheck &check)
{
    ObjectWriter object(out);
    object.text("outcome", kOutcomeNames[static_cast<std::size_t>(check.outcome)]);
    object.text("typed", check.typedText);
    object.text("verdict", check.verdict);
    object.text("problem", check.problem);
}

void writeComparison(std::string &out, const Slip &slip, const Comparison &comparison)
{
    ObjectWriter object(out);
    object.flag("ok", true);
    {
        ArrayWriter rows(object.member("rows"));
        for (const AmountCheck &row : comparison.rows)
            writeCheck(rows.item(), row);
    }
    writeCheck(object.member("thaberes"), comparison.thaberes);
    writeCheck(object.member("tdescuentos"), comparison.tdescuentos);
    writeCheck(object.member("liquido"), comparison.liquido);
    {
        ArrayWriter added(object.member("added"));
        for (const AddedCheck &code : comparison.added) {
            ObjectWriter item(added.item());
            item.text("code", code.code);
            item.text("description", code.description);
            item.flag("deduction", code.deduction);
            item.text("codeProblem", code.codeProblem);
            writeCheck(item.member("amount"), code.amount);
        }
    }
    {
        const ComparisonSummary &summary = comparison.summary;
        ObjectWriter written(object.member("summary"));
        written.whole("compared", summary.compared);
        written.whole("differing", summary.differing);
        written.whole("notCalculated", summary.notCalculated);
        ArrayWriter lines(written.member("lines"));
        for (const std::string &line : summary.lines)
            appendJsonString(lines.item(), line);
    }
    object.text("text", comparisonText(slip, comparison));
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
        for (const auto &[name, member] : kCargoTexts)
            readText(*cargo, name, input.cargo.*member);
    }
    for (const auto &[name, member] : kInputTexts)
        readText(json, name, input.*member);
    for (const auto &[name, member] : kInputFlags)
        readFlag(json, name, input.*member);
    readWhole(json, "seniorityOption", input.seniorityOption, 0, scale::kSeniorityOptions);
    readWhole(json, "zoneIndex", input.zoneIndex, -1, scale::kZoneCount - 1);
    if (const JsonValue *deductions = json.find("deductions");
        deductions && deductions->kind == JsonValue::Kind::Object)
        for (std::size_t i = 0; i < kDeductionNames.size(); ++i)
            readFlag(*deductions, kDeductionNames[i], input.deductions[i]);
    return input;
}

std::string calculateJson(std::string_view inputJson)
{
    const std::variant<JsonValue, JsonRefusal> json = readJson(inputJson);
    if (const auto *refused = std::get_if<JsonRefusal>(&json))
        return refusal("", refusalText(*refused));
    return calculateJson(std::get<JsonValue>(json));
}

std::string calculateJson(const JsonValue &input) { return answerJson(calculateChecked(input)); }

std::string slipTextFor(std::string_view requestJson)
{
    const std::variant<JsonValue, JsonRefusal> request = readJson(requestJson);
    const auto *json = std::get_if<JsonValue>(&request);
    return json ? slipTextFor(*json) : std::string();
}

std::string slipTextFor(const JsonValue &request)
{
    if (request.kind != JsonValue::Kind::Object)
        return {};
    const JsonValue *input = request.find("input");
    if (!input)
        return {};
    const std::variant<Slip, InputProblem> result = calculateChecked(*input);
    const auto *slip = std::get_if<Slip>(&result);
    if (!slip)
        return {};
    std::string teacher, dateLine, comment;
    readText(request, "teacher", teacher);
    readText(request, "dateLine", dateLine);
    readText(request, "comment", comment);
    return slipText(*slip, {.teacher = teacher, .dateLine = dateLine, .comment = comment});
}

std::string compareJson(std::string_view requestJson)
{
    const std::variant<JsonValue, JsonRefusal> request = readJson(requestJson);
    if (const auto *refused = std::get_if<JsonRefusal>(&request))
        return refusal("", refusalText(*refused));
    const JsonValue &json = std::get<JsonValue>(request);
    const JsonValue none;
    const JsonValue *input = json.kind == JsonValue::Kind::Object ? json.find("input") : nullptr;
    const std::variant<Slip, InputProblem> result = calculateChecked(input ? *input : none);
    const auto *slip = std::get_if<Slip>(&result);
    if (!slip)
        return answerJson(result);
    // The slip's separator, which calculateChecked has found to be one of its two.
    ComparisonInput typed = comparisonInputFromJson(json.find("comparison"));
    readText(*input, "decimalSeparator", typed.decimalSeparator);
    std::string out;
    writeComparison(out, *slip, compare(*slip, typed));
    return out;
}

std::string catalogueJson()
{
    std::string out;
    {
        ArrayWriter rows(out);
        for (const CargoRow &row : cargoCatalogue()) {
            ObjectWriter object(rows.item());
            for (const auto &[name, member] : kCargoRowTexts)
                object.text(name, row.*member);
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
