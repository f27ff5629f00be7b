// Properties that hold for every slip: checked over thousands of generated
// inputs, valid ones and broken ones, from a fixed seed.

#include <QTest>

#include <charconv>
#include <map>
#include <random>

#include "calc_support.h"
#include "catalogue/catalogue.h"

using namespace recibo;
using namespace recibo::test;

namespace {

constexpr unsigned kSeed = 20080501;
constexpr int kValidCases = 4000;
constexpr int kInvalidCases = 3000;

// The place of each row in the run order; the two day rows are told apart
// by their description.
int runOrder(const SlipRow &row)
{
    static const std::map<std::string, int> order{
        {"001", 0},   {"002", 1},   {"052J", 2},  {"052P", 3},  {"016", 4},   {"010", 5},   {"078", 6},
        {"006", 7},   {"014", 8},   {"084", 9},   {"113", 10},  {"188", 11},  {"172", 12},  {"029", 13},
        {"1001", 14}, {"1002", 15}, {"1003", 16}, {"1010", 17}, {"440", 18},  {"505", 19},  {"508", 20},
        {"502", 21},  {"504", 22},  {"332", 23},  {"512", 24},  {"510", 25}};
    std::string key = row.code;
    if (key == "052")
        key += row.description == "Jornada completa" ? "J" : "P";
    const auto found = order.find(key);
    return found == order.end() ? -1 : found->second;
}

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(int percent) { return between(1, 100) <= percent; }

    // A number as a user types it: whole or with up to four decimals.
    std::string number(double low, double high, const std::string &separator)
    {
        const double value = std::uniform_real_distribution<double>(low, high)(random_);
        const int decimals = chance(60) ? 0 : between(1, 4);
        long long scaled = static_cast<long long>(value * std::pow(10, decimals));
        const bool negative = scaled < 0;
        if (negative)
            scaled = -scaled;
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, scaled).ptr;
        std::string text(digits, end);
        if (decimals > 0) {
            while (static_cast<int>(text.size()) <= decimals)
                text.insert(0, "0");
            text.insert(text.size() - static_cast<std::size_t>(decimals), separator);
        }
        return negative ? "-" + text : text;
    }

    std::string whole(int low, int high) { return std::to_string(between(low, high)); }

    PayInput validInput()
    {
        PayInput in;
        in.decimalSeparator = chance(80) ? "," : ".";
        const std::string &sep = in.decimalSeparator;
        switch (between(0, 2)) {
        case 0: {
            in.path = PayPath::Cargo;
            in.cargo.rowSelected = true;
            if (chance(60)) {
                const CargoRow &row = cargoCatalogue()[static_cast<std::size_t>(between(0, kCargoCount - 1))];
                in.cargo.code = row.codigocargo;
                in.cargo.basicPointsItem = in.cargo.punbas = row.puntosbasicos;
                in.cargo.name = row.cargox;
                in.cargo.compbas = row.compbasico;
                in.cargo.jorcom = row.jorcompleta;
                in.cargo.proljor = row.proljornada;
                in.cargo.tardif = row.tareadif;
            } else { // overtyped boxes
                in.cargo.code = "999";
                in.cargo.punbas = in.cargo.basicPointsItem = whole(0, 4000);
                in.cargo.compbas = chance(50) ? "0" : number(0, 900, sep);
                in.cargo.jorcom = chance(50) ? "0" : whole(0, 900);
                in.cargo.proljor = chance(50) ? "0" : whole(0, 900);
                in.cargo.tardif = chance(50) ? "0" : number(0, 200, sep);
            }
            in.hoursSecondary = in.hoursHigher = in.hoursCode06 = in.hoursIncentive = in.hoursCode113 = "0";
            break;
        }
        default:
            in.path = between(0, 1) ? PayPath::SecondaryHours : PayPath::HigherHours;
            in.hoursSecondary = in.path == PayPath::SecondaryHours ? number(0, 60, sep) : "0";
            in.hoursHigher = in.path == PayPath::HigherHours ? number(0, 60, sep) : "0";
            in.hoursCode06 = number(0, 40, sep);
            in.hoursIncentive = chance(20) ? "0" : number(0, 40, sep);
            in.hoursCode113 = number(0, 40, sep);
            break;
        }
        in.seniorityOption = between(0, 12);
        pickZone(in, between(-1, 4));
        in.incentive = chance(70);
        const char *days[] = {"0", "0", "0", "1", "2", "3", "4", "10", "-1"};
        in.absenceDays = chance(80) ? days[between(0, 8)] : number(-5, 10, sep);
        in.transport = chance(40);
        in.kilometres = in.transport ? whole(0, 2000) : "0";
        in.children = chance(40);
        in.childrenCount = in.children ? whole(0, 10) : "0";
        in.disabledChildren = chance(20);
        in.disabledChildrenCount = in.disabledChildren ? whole(0, 81) : "0";
        in.spouse = chance(40);
        for (bool &deduction : in.deductions)
            deduction = chance(50);
        return in;
    }

    // Breaks one box that the input's path reads; returns its control name.
    std::string breakOne(PayInput &in)
    {
        const char *bad[] = {"", "abc", "1e3", "1.000,5", "--1", "١", "1 2", "99999999999"};
        const std::string text = chance(70) ? bad[between(0, 7)] : (in.decimalSeparator == "," ? "7.5" : "7,5");
        std::vector<std::pair<std::string, std::string *>> boxes;
        if (in.path == PayPath::Cargo) {
            boxes = {{"punbas", &in.cargo.punbas},
                     {"compbas", &in.cargo.compbas},
                     {"jorcom", &in.cargo.jorcom},
                     {"proljor", &in.cargo.proljor},
                     {"tardif", &in.cargo.tardif}};
        } else {
            boxes = {{in.path == PayPath::SecondaryHours ? "numerohorasmed" : "numerohorassup",
                      in.path == PayPath::SecondaryHours ? &in.hoursSecondary : &in.hoursHigher},
                     {"numhorascod06", &in.hoursCode06},
                     {"numhorasincen", &in.hoursIncentive},
                     {"numhorascod113", &in.hoursCode113}};
        }
        boxes.push_back({"dinasist", &in.absenceDays});
        if (in.transport)
            boxes.push_back({"cantkm", &in.kilometres});
        if (in.children)
            boxes.push_back({"cantidadhijos", &in.childrenCount});
        if (in.disabledChildren)
            boxes.push_back({"cantidadhijosdisc", &in.disabledChildrenCount});

        const std::size_t which = static_cast<std::size_t>(between(0, static_cast<int>(boxes.size())));
        if (which == boxes.size()) { // out of range instead of not a number
            if (in.path == PayPath::Cargo) {
                in.cargo.punbas = chance(50) ? "-1" : "32768";
                return "punbas";
            }
            in.hoursCode06 = "-0,5";
            return "numhorascod06";
        }
        *boxes[which].second = text;
        return boxes[which].first;
    }

private:
    std::mt19937 random_;
};

} // namespace

class TestProperties : public QObject {
    Q_OBJECT

private slots:
    void validInputs()
    {
        Generator generate(kSeed);
        for (int i = 0; i < kValidCases; ++i) {
            const PayInput in = generate.validInput();
            std::variant<Slip, InputProblem> result = calculate(in);
            const InputProblem *problem = std::get_if<InputProblem>(&result);
            QVERIFY2(!problem, problem ? problem->message.c_str() : "");
            const Slip &slip = std::get<Slip>(result);
            const CalcState &v = slip.values;

            QVERIFY(slip.rows.size() >= 5);
            QVERIFY(slip.rows.size() <= std::size_t(kMaxRowsWritten));

            Money earnings;
            Money deductions;
            int last = -1;
            bool deductionSeen = false;
            for (const SlipRow &row : slip.rows) {
                const int place = runOrder(row);
                QVERIFY2(place > last, row.code.c_str()); // run order, each row at most once
                last = place;
                if (row.column == Column::Earnings) {
                    QVERIFY2(!deductionSeen, "an earnings row after a deduction");
                    earnings += row.value;
                } else {
                    deductionSeen = true;
                    deductions += row.value;
                }
                QCOMPARE(row.amount, row.code == "001" ? basicAmountText(row.value, in.decimalSeparator)
                                                       : amountText(row.value, in.decimalSeparator));
                QCOMPARE(row.showQuantity, row.code != "1010");
                QVERIFY2(!row.explanation.empty(), row.code.c_str());
            }
            // The totals of the slip are those of the pay rules, amount by
            // amount, whatever rows were written.
            QCOMPARE(v.totalhaberes, v.montojornada + v.montobasico + v.montocompbas + v.montoart23 + v.montoproduct +
                                         v.montotardif + v.montoantig + v.montoplus + v.montominimo + v.montohijos +
                                         v.montohijosdisc + v.montofamnum + v.montoconyuge + v.montozona +
                                         v.montoincentivo + v.montonegro + v.montotransporte);
            QCOMPARE(v.totaldescuentos, v.montoiosper + v.montoosplad + v.montojubilacion + v.montoley4035 +
                                            v.montovesnar + v.montocajacomp + v.montoseguro + v.montoreajuste);
            QCOMPARE(earnings, v.totalhaberes);
            QCOMPARE(deductions, v.totaldescuentos);
            QCOMPARE(v.totalhaberes - v.totaldescuentos, v.totalliquido);
            QVERIFY(v.totalliquido >= Money());
            QCOMPARE(slip.thaberes, amountText(v.totalhaberes, in.decimalSeparator));
            QCOMPARE(slip.liquido, amountText(v.totalliquido, in.decimalSeparator));
            // The closing line lies 315 twips a row below the top, plus 2350.
            QCOMPARE(slip.layout.line17, static_cast<float>(slip.rows.size() * 315 + 2350));
            QCOMPARE(slip.rows.front().code, std::string("001"));
        }
    }

    void invalidInputs()
    {
        Generator generate(kSeed + 1);
        for (int i = 0; i < kInvalidCases; ++i) {
            PayInput in = generate.validInput();
            QVERIFY(std::holds_alternative<Slip>(calculate(in)));

            const std::string control = generate.breakOne(in);
            const std::variant<Slip, InputProblem> result = calculate(in);
            const InputProblem *problem = std::get_if<InputProblem>(&result);
            QVERIFY2(problem, control.c_str());
            QVERIFY(!problem->message.empty());
            // The first box in reading order is named; when only one box is
            // broken it is this one.
            QCOMPARE(problem->control, control);
        }
    }
};

QTEST_GUILESS_MAIN(TestProperties)
#include "test_properties.moc"
