// The built-in cargo catalogue: its shape, its order and the find by code.

#include <QTest>

#include <algorithm>
#include <charconv>
#include <map>
#include <set>
#include <string>

#include "catalogue/catalogue.h"

using recibo::cargoCatalogue;
using recibo::CargoRow;
using recibo::findCargoByCode;
using recibo::kCargoCount;

Q_DECLARE_METATYPE(std::string)

namespace {

const CargoRow &row(int index) { return cargoCatalogue()[static_cast<std::size_t>(index)]; }

QString qtext(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

int indexOfName(std::string_view name)
{
    for (int i = 0; i < kCargoCount; ++i)
        if (row(i).cargox == name)
            return i;
    return -1;
}

// A point value: a whole number without sign, leading zeros or separators.
bool isPointText(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    return text == "0" || text.front() != '0';
}

int points(std::string_view text)
{
    int value = -1;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void holds311Rows();
    void codesAreUniqueThreeDigitsFrom600To999();
    void namesRepeatAsListed();
    void nameTexts();
    void pointColumns_data();
    void pointColumns();
    void componentsThatNeverMeet();
    void alphabeticalOrder_data();
    void alphabeticalOrder();
    void rowsOfTheEdgeCases_data();
    void rowsOfTheEdgeCases();
    void findByCode_data();
    void findByCode();
    void findsEveryCodeAndNothingElseFrom600To999();
};

void CatalogueTest::holds311Rows()
{
    QCOMPARE(int(cargoCatalogue().size()), 311);
    QCOMPARE(kCargoCount, 311);
}

void CatalogueTest::codesAreUniqueThreeDigitsFrom600To999()
{
    std::set<std::string_view> codes;
    for (int i = 0; i < kCargoCount; ++i) {
        const std::string_view code = row(i).codigocargo;
        QVERIFY2(code.size() == 3 && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }),
                 qPrintable(QStringLiteral("row %1: code \"%2\"").arg(i).arg(qtext(code))));
        QVERIFY2(code >= "600" && code <= "999", qPrintable(qtext(code)));
        QVERIFY2(codes.insert(code).second, qPrintable(QStringLiteral("code %1 twice").arg(qtext(code))));
    }
    QCOMPARE(int(codes.size()), 311);
    QCOMPARE(row(109).codigocargo, std::string_view("600")); // the lowest code
}

void CatalogueTest::namesRepeatAsListed()
{
    std::map<std::string_view, int> count;
    for (int i = 0; i < kCargoCount; ++i)
        ++count[row(i).cargox];
    QCOMPARE(int(count.size()), 297);

    int twice = 0;
    for (const auto &[name, n] : count) {
        QVERIFY2(n <= 2 || name == "Bibliotecario", qPrintable(qtext(name)));
        twice += n == 2;
    }
    QCOMPARE(twice, 11);
    QCOMPARE(count["Bibliotecario"], 4);

    // The four "Bibliotecario" rows: code and basic points.
    const std::pair<std::string_view, std::string_view> bibliotecarios[] = {
        {"633", "941"}, {"750", "971"}, {"925", "971"}, {"996", "1480"}};
    int next = 0;
    for (int i = 0; i < kCargoCount; ++i) {
        if (row(i).cargox != "Bibliotecario")
            continue;
        QCOMPARE(row(i).codigocargo, bibliotecarios[next].first);
        QCOMPARE(row(i).puntosbasicos, bibliotecarios[next].second);
        ++next;
    }
    QCOMPARE(next, 4);
}

void CatalogueTest::nameTexts()
{
    for (int i = 0; i < kCargoCount; ++i) {
        const QString name = qtext(row(i).cargox);
        QVERIFY2(!name.isEmpty() && name.size() <= 65, qPrintable(QStringLiteral("row %1").arg(i)));
        QVERIFY2(!name.contains(QChar::ReplacementCharacter), qPrintable(name));
    }
    QCOMPARE(row(19).cargox, std::string_view("CAPACITADORES CENTROS LABORALES   Mecl"));
    QCOMPARE(row(295).codigocargo, std::string_view("795"));
    QCOMPARE(qtext(row(295).cargox), QStringLiteral("Vicedirector Dpto. Aplicación De 2da Categoría "));
    QVERIFY(qtext(row(41).cargox).contains(QStringLiteral("°")));
    QVERIFY(qtext(row(91).cargox).contains(QStringLiteral("§")));
    QVERIFY(qtext(row(92).cargox).contains(QStringLiteral("§")));
    QVERIFY(qtext(row(85).cargox).contains(QLatin1Char('"')));

    // Only row 295 ends in a blank; no name starts with one.
    for (int i = 0; i < kCargoCount; ++i) {
        const std::string_view name = row(i).cargox;
        QVERIFY(name.front() != ' ');
        QCOMPARE(name.back() == ' ', i == 295);
    }
}

void CatalogueTest::pointColumns_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("nonzero");

    // column: 0 basic, 1 complement, 2 differentiated task, 3 full day, 4 extended day
    QTest::newRow("puntosbasicos") << 0 << 574 << 3429 << 311;
    QTest::newRow("compbasico") << 1 << 0 << 779 << 270;
    QTest::newRow("tareadif") << 2 << 0 << 150 << 51;
    QTest::newRow("jorcompleta") << 3 << 0 << 839 << 35;
    QTest::newRow("proljornada") << 4 << 0 << 830 << 34;
}

void CatalogueTest::pointColumns()
{
    QFETCH(int, column);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(int, nonzero);

    const auto field = [column](const CargoRow &cargo) {
        const std::string_view fields[] = {cargo.puntosbasicos, cargo.compbasico, cargo.tareadif, cargo.jorcompleta,
                                           cargo.proljornada};
        return fields[column];
    };
    int seenLowest = 1 << 30, seenHighest = -1, seenNonzero = 0;
    for (int i = 0; i < kCargoCount; ++i) {
        const std::string_view text = field(row(i));
        QVERIFY2(isPointText(text), qPrintable(QStringLiteral("row %1: \"%2\"").arg(i).arg(qtext(text))));
        const int value = points(text);
        seenLowest = std::min(seenLowest, value);
        seenHighest = std::max(seenHighest, value);
        seenNonzero += value != 0;
    }
    QCOMPARE(seenLowest, lowest);
    QCOMPARE(seenHighest, highest);
    QCOMPARE(seenNonzero, nonzero);
}

void CatalogueTest::componentsThatNeverMeet()
{
    bool complementWithTask = false, complementWithFullDay = false, complementWithExtended = false;
    for (int i = 0; i < kCargoCount; ++i) {
        const CargoRow &cargo = row(i);
        const bool fullDay = points(cargo.jorcompleta) > 0;
        const bool extended = points(cargo.proljornada) > 0;
        const bool task = points(cargo.tareadif) > 0;
        const bool complement = points(cargo.compbasico) > 0;
        QVERIFY2(!(fullDay && extended), qPrintable(QStringLiteral("row %1").arg(i)));
        QVERIFY2(!(task && (fullDay || extended)), qPrintable(QStringLiteral("row %1").arg(i)));
        complementWithTask |= complement && task;
        complementWithFullDay |= complement && fullDay;
        complementWithExtended |= complement && extended;
    }
    QVERIFY(complementWithTask);
    QVERIFY(complementWithFullDay);
    QVERIFY(complementWithExtended);
}

void CatalogueTest::alphabeticalOrder_data()
{
    QTest::addColumn<std::string>("before");
    QTest::addColumn<std::string>("after");

    QTest::newRow("accent ignored") << std::string("Director Escuela Cárcel") << std::string("Director Escuela Coral");
    QTest::newRow("Física / Fisica") << std::string("Maestro Especial Educación Física Diferenciado")
                                     << std::string("Maestro Especial Educación Fisica Jorn. Completa");
    QTest::newRow("Psicólogo") << std::string("Psicólogo") << std::string("Psicopedagogo");
    QTest::newRow("1° before 1era") << std::string("Director De 1° C.E.F.")
                                    << std::string("Director De 1era A/C De 2 Turnos Con P. De Jorn");
    QTest::newRow("first and last") << std::string("Analista Princ Tec Doc") << std::string("Visitador");
}

void CatalogueTest::alphabeticalOrder()
{
    QFETCH(std::string, before);
    QFETCH(std::string, after);
    const int first = indexOfName(before);
    const int second = indexOfName(after);
    QVERIFY2(first >= 0, before.c_str());
    QVERIFY2(second >= 0, after.c_str());
    QVERIFY(first < second);
}

void CatalogueTest::rowsOfTheEdgeCases_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("fields"); // code, name, then the five point columns

    QTest::newRow("999 is row 0") << 0
                                  << QStringList{"999", "Analista Princ Tec Doc", "3146", "0", "0", "0", "0"};
    QTest::newRow("645") << 2 << QStringList{"645", "Asesor Pedag Proyecto 13", "2329", "0", "0", "0", "0"};
    QTest::newRow("third Bibliotecario") << 15 << QStringList{"925", "Bibliotecario", "971", "170", "0", "0", "0"};
    QTest::newRow("609") << 30 << QStringList{"609", "Director 1era Categoría", "2000", "36", "0", "0", "0"};
    QTest::newRow("first Maestro Jardín")
        << 197 << QStringList{"738", "Maestro Jardín De Infantes", "971", "170", "17", "0", "0"};
    QTest::newRow("second Maestro Jardín")
        << 198 << QStringList{"987", "Maestro Jardín De Infantes", "1170", "144", "0", "0", "0"};
    QTest::newRow("795, trailing blank") << 295 << QStringList{
        "795", "Vicedirector Dpto. Aplicación De 2da Categoría ", "1450", "107", "0", "0", "0"};
    QTest::newRow("last") << 310 << QStringList{"733", "Visitador", "1150", "147", "0", "0", "0"};
}

void CatalogueTest::rowsOfTheEdgeCases()
{
    QFETCH(int, index);
    QFETCH(QStringList, fields);
    const CargoRow &cargo = row(index);
    const QStringList actual{qtext(cargo.codigocargo), qtext(cargo.cargox),    qtext(cargo.puntosbasicos),
                             qtext(cargo.compbasico),  qtext(cargo.tareadif),  qtext(cargo.jorcompleta),
                             qtext(cargo.proljornada)};
    QCOMPARE(actual, fields);
}

void CatalogueTest::findByCode_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<int>("index");

    QTest::newRow("645") << std::string("645") << 2;
    QTest::newRow("999") << std::string("999") << 0;
    QTest::newRow("600, lowest code") << std::string("600") << 109;
    QTest::newRow("925") << std::string("925") << 15;
    QTest::newRow("795") << std::string("795") << 295;
    QTest::newRow("733, last row") << std::string("733") << 310;
    QTest::newRow("two digits") << std::string("64") << -1;
    QTest::newRow("leading zero") << std::string("0645") << -1;
    QTest::newRow("fourth digit") << std::string("6450") << -1;
    QTest::newRow("leading blank") << std::string(" 645") << -1;
    QTest::newRow("trailing blank") << std::string("645 ") << -1;
    QTest::newRow("below 600") << std::string("123") << -1;
    QTest::newRow("not a code: 601") << std::string("601") << -1;
    QTest::newRow("not a code: 700") << std::string("700") << -1;
    QTest::newRow("not a code: 800") << std::string("800") << -1;
    QTest::newRow("empty") << std::string() << -1;
    QTest::newRow("initial 0") << std::string("0") << -1;
    QTest::newRow("letters") << std::string("abc") << -1;
    QTest::newRow("a name") << std::string("Bibliotecario") << -1;
}

void CatalogueTest::findByCode()
{
    QFETCH(std::string, text);
    QFETCH(int, index);
    QCOMPARE(findCargoByCode(text), index);
}

void CatalogueTest::findsEveryCodeAndNothingElseFrom600To999()
{
    int found = 0;
    for (int number = 600; number <= 999; ++number) {
        const std::string code = std::to_string(number);
        const int index = findCargoByCode(code);
        if (index < 0)
            continue;
        QCOMPARE(row(index).codigocargo, std::string_view(code));
        ++found;
    }
    QCOMPARE(found, 311); // 89 of the 400 numbers are no code
    for (int i = 0; i < kCargoCount; ++i)
        QCOMPARE(findCargoByCode(row(i).codigocargo), i);
}

QTEST_GUILESS_MAIN(CatalogueTest)

#include "test_catalogue.moc"
