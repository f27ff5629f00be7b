// The web binding's JSON: what the page sends is read as typed, texts that
// JSON escapes come through whole, and anything that is not an input of the
// page is refused or left at PayInput's defaults.

#include <QTest>

#include <optional>
#include <string>

#include "web/binding.h"
#include "web/json.h"

using namespace recibo;
using namespace recibo::web;

namespace {

QByteArray bytes(const std::string &text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

class TestBinding : public QObject {
    Q_OBJECT

private slots:
    void strings_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArray>("text"); // UTF-8

        QTest::newRow("plain") << QByteArray("\"Común\"") << QByteArray("Común");
        QTest::newRow("escapes") << QByteArray("\"a\\\"b\\\\c\\/d\\n\\t\\r\\b\\f\"") << QByteArray("a\"b\\c/d\n\t\r\b\f");
        QTest::newRow("two-byte escape") << QByteArray("\"\\u00e1\"") << QByteArray("\xC3\xA1");
        QTest::newRow("three-byte escape") << QByteArray("\"\\u202F\"") << QByteArray("\xE2\x80\xAF");
        QTest::newRow("surrogate pair") << QByteArray("\"\\ud83d\\ude00\"") << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("NUL escaped") << QByteArray("\"Ana\\u0000P\xC3\xA9rez\"") << QByteArray("Ana\0P\xC3\xA9rez", 10);
    }
    void strings()
    {
        QFETCH(QByteArray, json);
        QFETCH(QByteArray, text);
        const std::optional<JsonValue> value = parseJson(json.toStdString());
        QVERIFY(value.has_value());
        QCOMPARE(value->kind, JsonValue::Kind::String);
        QCOMPARE(bytes(value->text), text);
    }

    void notJson_data()
    {
        QTest::addColumn<QByteArray>("json");

        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("open object") << QByteArray("{\"a\":1");
        QTest::newRow("no value") << QByteArray("{\"a\":}");
        QTest::newRow("trailing comma") << QByteArray("[1,]");
        QTest::newRow("open string") << QByteArray("\"abc");
        QTest::newRow("raw line feed in a string") << QByteArray("\"a\nb\"");
        QTest::newRow("unknown escape") << QByteArray("\"\\x41\"");
        QTest::newRow("short unicode escape") << QByteArray("\"\\u12\"");
        QTest::newRow("bare word") << QByteArray("tru");
        QTest::newRow("text after the value") << QByteArray("{} x");
        QTest::newRow("sign alone") << QByteArray("-");
        QTest::newRow("nested too deep") << QByteArray("[").repeated(40) + QByteArray("]").repeated(40);
        // The page writes a lone surrogate as U+FFFD, as UTF-8 has no other way.
        QTest::newRow("lone high surrogate") << QByteArray("\"\\ud800x\"");
        QTest::newRow("high surrogate before a letter escape") << QByteArray("\"\\ud800\\u0041\"");
        QTest::newRow("lone low surrogate") << QByteArray("\"\\udc00\"");
        QTest::newRow("leading zero") << QByteArray("[012]");
        QTest::newRow("minus inside a number") << QByteArray("[1-2-3]");
        QTest::newRow("letter after a number") << QByteArray("{\"zoneIndex\":1x}");
        QTest::newRow("raw NUL in a string") << QByteArray("\"a\0b\"", 5);
        QTest::newRow("NUL after the value") << QByteArray("{}\0", 3);
        QTest::newRow("byte that is not UTF-8") << QByteArray("\"\xFF\"");
    }
    void notJson()
    {
        QFETCH(QByteArray, json);
        QVERIFY(!parseJson(json.toStdString()).has_value());
    }

    void writtenStrings_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("json");

        QTest::newRow("quote and backslash") << QByteArray("a\"b\\") << QByteArray("\"a\\\"b\\\\\"");
        QTest::newRow("line ends and tab") << QByteArray("a\r\n\tb") << QByteArray("\"a\\r\\n\\tb\"");
        QTest::newRow("other control") << QByteArray("\x01\x1f") << QByteArray("\"\\u0001\\u001f\"");
        QTest::newRow("UTF-8 as it is") << QByteArray("$ 1,5 × 64,7 ñ") << QByteArray("\"$ 1,5 × 64,7 ñ\"");
    }
    void writtenStrings()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, json);
        std::string out;
        appendJsonString(out, text.toStdString());
        QCOMPARE(bytes(out), json);
    }

    void inputAsTyped()
    {
        const std::optional<JsonValue> json = parseJson("{\"path\":\"cargo\",\"cargo\":{\"rowSelected\":true,\"codeTyped\":\" 001\",\"code\":\"001\",\"basicPointsItem\":\"971\",\"name\":\"Maestro\",\"punbas\":\"971,5\",\"compbas\":\"a\",\"jorcom\":\"\",\"proljor\":\"0\",\"tardif\":\"-1\"},\"hoursSecondary\":\"7,5\",\"seniorityOption\":12,\"zoneIndex\":4,\"zoneText\":\"Zona Inhóspita\",\"incentive\":false,\"absenceDays\":\"2\",\"transport\":true,\"kilometres\":\"45\",\"children\":true,\"childrenCount\":\"3\",\"disabledChildren\":true,\"disabledChildrenCount\":\"1\",\"spouse\":true,\"deductions\":{\"Osplad\":true,\"Seguro3011\":true},\"decimalSeparator\":\".\"}");
        QVERIFY(json.has_value());
        const std::optional<PayInput> input = payInputFromJson(*json);
        QVERIFY(input.has_value());
        QCOMPARE(input->path, PayPath::Cargo);
        QVERIFY(input->cargo.rowSelected);
        QCOMPARE(input->cargo.codeTyped, " 001");
        QCOMPARE(input->cargo.punbas, "971,5");
        QCOMPARE(input->cargo.compbas, "a");
        QCOMPARE(input->cargo.tardif, "-1");
        QCOMPARE(input->hoursSecondary, "7,5");
        QCOMPARE(input->seniorityOption, 12);
        QCOMPARE(input->zoneIndex, 4);
        QCOMPARE(input->zoneText, "Zona Inhóspita");
        QVERIFY(!input->incentive);
        QVERIFY(input->transport && input->children && input->disabledChildren && input->spouse);
        QCOMPARE(input->childrenCount, "3");
        const std::array<bool, DeductionCount> deductions{false, true, false, false, false, false, true};
        QCOMPARE(input->deductions, deductions);
        QCOMPARE(input->decimalSeparator, ".");
    }

    void strayMembersKeepTheDefaults()
    {
        const std::optional<JsonValue> json = parseJson("{\"path\":\"hours\",\"seniorityOption\":13,\"zoneIndex\":2.5,\"incentive\":\"no\",\"hoursHigher\":12,\"deductions\":{\"Iosper\":1},\"extra\":[1,{\"a\":null}]}");
        QVERIFY(json.has_value());
        const std::optional<PayInput> input = payInputFromJson(*json);
        QVERIFY(input.has_value());
        const PayInput defaults;
        QCOMPARE(input->path, defaults.path);
        QCOMPARE(input->seniorityOption, defaults.seniorityOption);
        QCOMPARE(input->zoneIndex, defaults.zoneIndex);
        QCOMPARE(input->incentive, defaults.incentive);
        QCOMPARE(input->hoursHigher, defaults.hoursHigher);
        QCOMPARE(input->deductions, defaults.deductions);
        QVERIFY(!payInputFromJson(*parseJson("[]")).has_value());
    }

    void bindingRefusals_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArray>("message"); // control ""

        const QByteArray notAnObject = "La entrada no es un objeto JSON";
        const QByteArray separator = "El separador decimal debe ser «,» o «.».";
        const QByteArray hours = "\"path\":\"secondary\",\"hoursSecondary\":\"776,4\"";
        QTest::newRow("number with a leading zero") << QByteArray("{\"seniorityOption\":012}") << notAnObject;
        QTest::newRow("number with text after it") << QByteArray("{\"seniorityOption\":1-2-3}") << notAnObject;
        QTest::newRow("repeated name") << QByteArray("{\"path\":\"none\",\"path\":\"cargo\"}")
                                       << QByteArray("La entrada repite el nombre «path».");
        QTest::newRow("repeated name inside") << QByteArray("{\"deductions\":{\"Iosper\":true,\"Iosper\":false}}")
                                              << QByteArray("La entrada repite el nombre «Iosper».");
        QTest::newRow("33 levels") << "{\"x\":" + QByteArray("[").repeated(32) + QByteArray("]").repeated(32) + "}"
                                   << QByteArray("La entrada anida más de 32 objetos o listas.");
        QTest::newRow("empty separator") << "{" + hours + ",\"decimalSeparator\":\"\"}" << separator;
        QTest::newRow("minus as separator") << "{" + hours + ",\"decimalSeparator\":\"-\"}" << separator;
        QTest::newRow("NUL as separator") << "{" + hours + ",\"decimalSeparator\":\"\\u0000\"}" << separator;
        QTest::newRow("two commas as separator") << "{" + hours + ",\"decimalSeparator\":\",,\"}" << separator;
    }
    void bindingRefusals()
    {
        QFETCH(QByteArray, json);
        QFETCH(QByteArray, message);
        std::string expected = "{\"ok\":false,\"control\":\"\",\"message\":";
        appendJsonString(expected, message.toStdString());
        QCOMPARE(bytes(calculateJson(json.toStdString())), bytes(expected + "}"));
    }

    // 32 levels are read; texts with NUL come back whole in the copied slip.
    void acceptedAtTheLimits()
    {
        const std::string deep = "{\"x\":" + std::string(31, '[') + std::string(31, ']') + "}";
        QVERIFY(parseJson(deep).has_value());
        const std::string hours = "{\"path\":\"secondary\",\"hoursSecondary\":\"12.5\",\"hoursCode06\":\"0\",\"hoursIncentive\":"
                                  "\"0\",\"hoursCode113\":\"0\",\"absenceDays\":\"0\",\"decimalSeparator\":\".\"}";
        QVERIFY(calculateJson(hours).starts_with("{\"ok\":true"));
        const std::string text = slipTextFor("{\"input\":" + hours + ",\"teacher\":\"Ana\\u0000P\u00e9rez\",\"comment\":\"a\\u0000b\"}");
        QVERIFY(text.find(std::string("Ana\0P\u00e9rez", 10)) != std::string::npos);
        QVERIFY(text.find(std::string("a\0b", 3)) != std::string::npos);
    }

    // Ten hours of higher level: 001 $547,47, 006, 014 and 113 $ 0, 188 $ 38,3229
    // (7 % of 547,47); totals $ 585,7929, $ 0 and $ 585,7929.
    void comparison_data()
    {
        QTest::addColumn<QByteArray>("separator");
        QTest::addColumn<QByteArray>("comparison");
        QTest::addColumn<QByteArray>("part"); // of the answer

        const auto row = [](const char *name, const char *separator, const char *comparison, const char *part) {
            QTest::newRow(name) << QByteArray(separator) << QByteArray(comparison) << QByteArray(part);
        };
        row("rounded and cut to centavos, blanks", ",", R"({"rows":["547,47","","","","38,32"]})",
            R"("rows":[{"outcome":"coincide","typed":"$ 547,47","verdict":"coincide","problem":""},{"outcome":"sin-dato","typed":"","verdict":"sin dato","problem":""},)");
        row("the summary and the text", ",", R"({"rows":["547,47","","","","38,33"]})",
            R"("summary":{"compared":2,"differing":0,"notCalculated":0,"lines":["Se compararon 2 filas: todas coinciden."]},"text":"Comparación con su recibo\nSe compararon 2 filas: todas coinciden.\nCódigo\tConcepto\tCalculado\tEn su recibo\tResultado\n001\tHs. N. Superior\t$547,47\t$ 547,47\tcoincide\n006\tAdic. Art 2 y 3 Dcrto 5863/05\t$ 0\t\tsin dato\n014\tProduct Dcrto 5863/05\t$ 0\t\tsin dato\n113\tNegro de Nación\t$ 0\t\tsin dato\n188\tPlus Productividad\t$ 38,3229\t$ 38,33\tcoincide\n\tTotal Haberes\t$ 585,7929\t\tsin dato\n\tTotal descuentos\t$ 0\t\tsin dato\n\tLiquido a pagar\t$ 585,7929\t\tsin dato\n"})");
        row("paid less", ",", R"({"rows":["500"]})",
            R"({"outcome":"difiere","typed":"$ 500","verdict":"le pagaron $ 47,47 de menos","problem":""})");
        row("a point as the slip's separator", ".", R"({"rows":["","","","","40"]})",
            R"({"outcome":"difiere","typed":"$ 40","verdict":"le pagaron $ 1.6771 de más","problem":""}])");
        row("a total refused", ",", R"({"liquido":"1,914.73"})",
            R"("liquido":{"outcome":"rechazado","typed":"1,914.73","verdict":"","problem":"«Liquido a pagar»: escriba el importe como figura en su recibo, por ejemplo 1.914,73."})");
        row("boxes that are not texts are blank", ",", R"({"rows":[5,true,"0"],"thaberes":585})",
            R"("rows":[{"outcome":"sin-dato","typed":"","verdict":"sin dato","problem":""},{"outcome":"sin-dato","typed":"","verdict":"sin dato","problem":""},{"outcome":"coincide","typed":"$ 0","verdict":"coincide","problem":""},)");
        row("added codes", ",", R"({"added":[{"code":"123","description":"Bono","amount":"500"},{"code":"1","amount":"5","deduction":true}]})",
            R"("added":[{"code":"123","description":"Bono","deduction":false,"codeProblem":"","amount":{"outcome":"no-calculado","typed":"$ 500","verdict":"no calculado por recibo","problem":""}},{"code":"1","description":"","deduction":true,"codeProblem":"«1»: ese código ya figura en el recibo, en la fila 001 Hs. N. Superior; escriba el importe allí.",)");
        row("no comparison", ",", "null", R"("lines":["No se comparó ninguna fila todavía."])");
    }
    void comparison()
    {
        QFETCH(QByteArray, separator);
        QFETCH(QByteArray, comparison);
        QFETCH(QByteArray, part);
        QByteArray request =
            R"({"input":{"path":"higher","hoursHigher":"10","hoursCode06":"0","hoursIncentive":"0","hoursCode113":"0",)"
            R"("absenceDays":"0","decimalSeparator":"SEP"},"comparison":COMPARISON})";
        request.replace("SEP", separator).replace("COMPARISON", comparison);
        const std::string answer = compareJson(request.toStdString());
        QVERIFY2(answer.starts_with(R"({"ok":true,"rows":[)") && answer.find(part.toStdString()) != std::string::npos,
                 answer.c_str());
    }

    void refusals()
    {
        QCOMPARE(calculateJson("no es JSON"),
                 std::string("{\"ok\":false,\"control\":\"\",\"message\":\"La entrada no es un objeto JSON\"}"));
        QCOMPARE(calculateJson("{\"path\":\"secondary\",\"hoursSecondary\":\"-1\",\"hoursCode06\":\"0\",\"hoursIncentive\":\"0\",\"hoursCode113\":\"0\",\"absenceDays\":\"0\"}"),
                 std::string("{\"ok\":false,\"control\":\"numerohorasmed\",\"message\":\"«Número de horas N. Medio» no puede ser negativo.\"}"));
        QCOMPARE(slipTextFor("{\"input\":{\"path\":\"none\"},\"teacher\":\"Ana\"}"), std::string());
        QCOMPARE(compareJson("[1,2]"), calculateJson("[1,2]"));
        QCOMPARE(compareJson(R"({"input":{"path":"higher","hoursHigher":"diez"},"comparison":{"rows":["1"]}})"),
                 calculateJson(R"({"path":"higher","hoursHigher":"diez"})"));
    }
};

QTEST_GUILESS_MAIN(TestBinding)
#include "test_binding.moc"
