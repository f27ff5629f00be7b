#include "calc/read_input.h"

#include <string>
#include <string_view>

#include "calc/numbers.h"
#include "calc/scale.h"

namespace recibo {

namespace {

// A box that the calculation reads as a number: its object name, and the
// caption the user knows it by (with a word on the unit where the caption
// alone does not say it).
struct Field {
    std::string_view control;
    std::string_view caption;
    std::string_view unit = {};
};

// The point boxes of the selection dialog, in their order on the dialog.
constexpr Field kPunbas{"punbas", "Puntos básicos"};
constexpr Field kCompbas{"compbas", "Comp básico"};
constexpr Field kProljor{"proljor", "Prol. de jornada"};
constexpr Field kJorcom{"jorcom", "Jorn. completa"};
constexpr Field kTardif{"tardif", "Tarea diferenc."};

// The hours boxes of the entry window.
constexpr Field kHoursSecondary{"numerohorasmed", "Número de horas N. Medio"};
constexpr Field kHoursHigher{"numerohorassup", "Número de horas N. Superior"};
constexpr Field kHoursCode06{"numhorascod06", "Número de horas con código 06"};
constexpr Field kHoursIncentive{"numhorasincen", "Número de horas con incentivo"};
constexpr Field kHoursCode113{"numhorascod113", "Número de horas con código 113"};

// The optional quantities of the entry window.
constexpr Field kAbsenceDays{"dinasist", "Inasistencias Just", " (días)"};
constexpr Field kKilometres{"cantkm", "cantidad de km semanales"};
constexpr Field kChildren{"cantidadhijos", "Hijos"};
constexpr Field kDisabledChildren{"cantidadhijosdisc", "Hijos Diferenc"};

// Points and kilometres are kept as 16-bit whole numbers, children as bytes.
constexpr double kInt16Max = 32767;
constexpr double kByteMax = 255;

// The allowance for a child with disability is formed as a 16-bit product
// (81 x 400 = 32400), and the two counts of children are added as a byte.
constexpr int kMostDisabledChildren = static_cast<int>(kInt16Max) / scale::kPerDisabledChild;
constexpr int kMostChildren = 255;

enum class Sign { AnyAllowed, NotNegative };

std::string quoted(const Field &field)
{
    std::string text = "«";
    text += field.caption;
    text += "»";
    text += field.unit;
    return text;
}

std::string separatorName(std::string_view separator)
{
    if (separator == ",")
        return "coma";
    if (separator == ".")
        return "punto";
    return "«" + std::string(separator) + "»";
}

// Reads one field after another and keeps the first problem found.
class Reader {
public:
    explicit Reader(std::string_view separator) : separator_(separator) {}

    // A number with decimals.
    bool number(std::string_view text, const Field &field, Sign sign, double &out)
    {
        const std::optional<double> value = readNumber(text, separator_);
        if (!value)
            return notANumber(text, field);
        if (sign == Sign::NotNegative && *value < 0)
            return refuse(field, quoted(field) + " no puede ser negativo.");
        // Also a number with more digits than a double holds, which reads as
        // an infinity.
        if (*value > kLargestNumber || *value < -kLargestNumber)
            return refuse(field, quoted(field) + " es demasiado grande: el máximo es 999999999.");
        out = *value;
        return true;
    }

    // A whole number kept in 16 bits, never negative (points, kilometres):
    // rounded to the nearest whole number, halves to the even one, then it
    // must fit.
    bool whole16(std::string_view text, const Field &field, std::int16_t &out)
    {
        double value = 0;
        if (!number(text, field, Sign::NotNegative, value))
            return false;
        const double rounded = roundHalfEven(value);
        if (rounded > kInt16Max)
            return refuse(field, quoted(field) + " debe ser un número entero de 0 a 32767.");
        out = static_cast<std::int16_t>(rounded);
        return true;
    }

    // A count kept in one byte, rounded like the 16-bit numbers.
    bool count(std::string_view text, const Field &field, std::uint8_t &out)
    {
        double value = 0;
        if (!number(text, field, Sign::AnyAllowed, value))
            return false;
        const double rounded = roundHalfEven(value);
        if (rounded < 0 || rounded > kByteMax)
            return refuse(field, quoted(field) + " debe ser una cantidad entera de 0 a 255.");
        out = static_cast<std::uint8_t>(rounded);
        return true;
    }

    // An amount of points kept as money: the decimal text itself, to the
    // ten-thousandth, with a tie going to the even one.
    bool money(std::string_view text, const Field &field, Sign sign, Money &out)
    {
        double value = 0;
        if (!number(text, field, sign, value))
            return false;
        out = exactMoney(trimBlanks(text));
        return true;
    }

    bool refuse(const Field &field, std::string message)
    {
        problem.control = field.control;
        problem.message = std::move(message);
        return false;
    }

    InputProblem problem;

private:
    bool notANumber(std::string_view text, const Field &field)
    {
        if (trimBlanks(text).empty())
            return refuse(field, quoted(field) + " está vacío: escriba un número.");
        return refuse(field, quoted(field) +
                                 " debe ser un número, escrito solo con cifras y sin separador de miles; "
                                 "los decimales se escriben con " +
                                 separatorName(separator_) + " (por ejemplo 7" + std::string(separator_) + "5).");
    }

    // `text` has already been read as a number no larger than 999999999, so
    // the whole part fits easily.
    Money exactMoney(std::string_view text) const
    {
        bool negative = false;
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
            negative = text.front() == '-';
            text.remove_prefix(1);
        }
        std::int64_t units = 0;
        std::size_t i = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            units = units * 10 + (text[i++] - '0');
        units *= Money::kUnitsPerPeso;
        if (i < text.size())
            i += separator_.size();
        std::int64_t scale = Money::kUnitsPerPeso / 10;
        while (i < text.size() && scale > 0) {
            units += (text[i++] - '0') * scale;
            scale /= 10;
        }
        // What is left beyond the fourth decimal decides the rounding.
        if (i < text.size()) {
            const int next = text[i++] - '0';
            bool beyond = false;
            for (; i < text.size(); ++i)
                beyond = beyond || text[i] != '0';
            if (next > 5 || (next == 5 && (beyond || units % 2 != 0)))
                ++units;
        }
        return Money::fromUnits(negative ? -units : units);
    }

    std::string_view separator_;
};

// The zone field: an item of the list (typed or picked), or nothing chosen.
// A field the user emptied, or that shows the prompt, means no zone, whatever
// item the list had selected before: the slip follows what the field shows.
bool readZone(const PayInput &input, Reader &reader, int &zone)
{
    const std::string_view text = trimBlanks(input.zoneText);
    for (std::size_t i = 0; i < scale::kZones.size(); ++i) {
        if (scale::kZones[i].item == text) {
            zone = static_cast<int>(i);
            return true;
        }
    }
    if (text.empty() || text == scale::kZonePrompt) {
        zone = -1;
        return true;
    }
    std::string message = "La zona «";
    message += text;
    message += "» no está en la lista. Elija una de estas: ";
    for (std::size_t i = 0; i < scale::kZones.size(); ++i) {
        message += scale::kZones[i].item;
        message += i + 2 < scale::kZones.size() ? ", " : i + 2 == scale::kZones.size() ? " o " : ".";
    }
    return reader.refuse(Field{"zona", scale::kZonePrompt}, std::move(message));
}

} // namespace

std::variant<InputValues, InputProblem> readInput(const PayInput &input)
{
    Reader reader(input.decimalSeparator);
    InputValues values;
    values.path = input.path;

    switch (input.path) {
    case PayPath::None:
        return InputProblem{"cargo", "Elija la categoría: «Cargo», «Hs. N. Medio» o «Hs. N. Superior»."};
    case PayPath::Cargo: {
        const CargoChoice &cargo = input.cargo;
        if (!cargo.rowSelected)
            return InputProblem{"codcargo", "No hay un cargo elegido. Escriba el código del cargo o seleccione su "
                                            "nombre en la lista, y pulse «Listo»."};
        if (!reader.whole16(cargo.punbas, kPunbas, values.ptsbasicos) ||
            !reader.number(cargo.compbas, kCompbas, Sign::NotNegative, values.ptscompbas) ||
            !reader.whole16(cargo.proljor, kProljor, values.ptsproljor) ||
            !reader.whole16(cargo.jorcom, kJorcom, values.ptsjorcom) ||
            !reader.money(cargo.tardif, kTardif, Sign::NotNegative, values.ptstardif))
            return std::move(reader.problem);
        break;
    }
    case PayPath::SecondaryHours:
    case PayPath::HigherHours: {
        const bool secondary = input.path == PayPath::SecondaryHours;
        if (!reader.number(secondary ? input.hoursSecondary : input.hoursHigher,
                           secondary ? kHoursSecondary : kHoursHigher, Sign::NotNegative, values.hours) ||
            !reader.number(input.hoursCode06, kHoursCode06, Sign::NotNegative, values.hoursCode06) ||
            !reader.number(input.hoursIncentive, kHoursIncentive, Sign::NotNegative, values.hoursIncentive) ||
            !reader.number(input.hoursCode113, kHoursCode113, Sign::NotNegative, values.hoursCode113))
            return std::move(reader.problem);
        break;
    }
    }

    values.seniorityOption =
        input.seniorityOption >= 1 && input.seniorityOption <= scale::kSeniorityOptions ? input.seniorityOption : 0;

    if (!readZone(input, reader, values.zoneIndex) ||
        !reader.number(input.absenceDays, kAbsenceDays, Sign::AnyAllowed, values.absenceDays))
        return std::move(reader.problem);
    if (input.transport && !reader.whole16(input.kilometres, kKilometres, values.kilometres))
        return std::move(reader.problem);
    if (input.children && !reader.count(input.childrenCount, kChildren, values.children))
        return std::move(reader.problem);
    if (input.disabledChildren) {
        if (!reader.count(input.disabledChildrenCount, kDisabledChildren, values.disabledChildren))
            return std::move(reader.problem);
        if (values.disabledChildren > kMostDisabledChildren) {
            reader.refuse(kDisabledChildren, quoted(kDisabledChildren) + " admite como máximo " +
                                                 std::to_string(kMostDisabledChildren) + " hijos.");
            return std::move(reader.problem);
        }
    }
    if (values.children + values.disabledChildren > kMostChildren) {
        reader.refuse(kChildren, quoted(kChildren) + " y " + quoted(kDisabledChildren) +
                                     " suman más de 255 hijos: el total admitido es 255.");
        return std::move(reader.problem);
    }
    return values;
}

} // namespace recibo
