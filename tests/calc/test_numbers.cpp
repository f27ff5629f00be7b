// Reading numbers as typed and writing doubles, with the regional separator
// and never through the C locale.

#include <QTest>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <random>

#include "calc/numbers.h"
#include "calc_support.h"

using recibo::readNumber;
using recibo::test::qtext;

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A C locale with a comma must not change anything.
        std::setlocale(LC_ALL, "es_AR.UTF-8");
    }

    void accepted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<double>("value");

        QTest::newRow("7,5") << "7,5" << "," << 7.5;
        QTest::newRow("blanks around") << " 12 " << "," << 12.0;
        QTest::newRow("tab") << "\t3" << "," << 3.0;
        QTest::newRow("line ends") << "\r\n12,5\r\n" << "," << 12.5;
        QTest::newRow("no-break spaces") << "\u00A0971\u00A0" << "," << 971.0;
        QTest::newRow("narrow no-break space") << "\u202F7,5" << "," << 7.5;
        QTest::newRow("ideographic and em spaces") << "\u30001\u2003" << "," << 1.0;
        QTest::newRow("blanks of every kind") << "\u0085\u1680\u2000\u200A\u2028\u2029\u205F\v\f4" << ","
                                              << 4.0;
        QTest::newRow("more digits than a double holds") << QString(400, '9') << "," << HUGE_VAL;
        QTest::newRow("negative, more digits than a double holds") << "-" + QString(400, '9') << "," << -HUGE_VAL;
        QTest::newRow("too near 0 for a double") << "0," + QString(400, '0') + "1" << "," << 0.0;
        QTest::newRow("whole") << "971" << "," << 971.0;
        QTest::newRow("negative") << "-1" << "," << -1.0;
        QTest::newRow("plus sign") << "+4" << "," << 4.0;
        QTest::newRow("leading separator") << ",5" << "," << 0.5;
        QTest::newRow("trailing separator") << "5," << "," << 5.0;
        QTest::newRow("leading zeros") << "007" << "," << 7.0;
        QTest::newRow("minus zero is zero") << "-0" << "," << 0.0;
        QTest::newRow("point with point") << "7.5" << "." << 7.5;
        QTest::newRow("four decimals") << "2600,0001" << "," << 2600.0001;
        QTest::newRow("many decimals") << "972,985873015873" << "," << 972.985873015873;
        QTest::newRow("no separator, whole") << "75" << "" << 75.0;
    }
    void accepted()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(double, value);
        const std::optional<double> read = readNumber(text.toStdString(), separator.toStdString());
        QVERIFY(read.has_value());
        QCOMPARE(*read, value);
        if (*read == 0)
            QVERIFY(!std::signbit(*read)); // no negative zero
    }

    void refused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");

        QTest::newRow("empty") << "" << ",";
        QTest::newRow("blanks") << "   " << ",";
        QTest::newRow("minus alone") << "-" << ",";
        QTest::newRow("separator alone") << "," << ",";
        QTest::newRow("letters") << "abc" << ",";
        QTest::newRow("grouping point with comma") << "1.000" << ",";
        QTest::newRow("point with comma") << "7.5" << ",";
        QTest::newRow("comma with point") << "7,5" << ".";
        QTest::newRow("two separators") << "1,2,3" << ",";
        QTest::newRow("exponent") << "1e3" << ",";
        QTest::newRow("inner blank") << "1 000" << ",";
        QTest::newRow("two signs") << "--1" << ",";
        QTest::newRow("sign after digits") << "1-" << ",";
        QTest::newRow("arabic-indic digit") << "١" << ",";
        QTest::newRow("fullwidth digit") << "１" << ",";
        QTest::newRow("infinity") << "inf" << ",";
        QTest::newRow("nan") << "nan" << ",";
        QTest::newRow("hex") << "0x10" << ",";
        QTest::newRow("inner no-break space") << "1\u00A0000" << ",";
        QTest::newRow("zero-width space") << "\u200B1" << ",";
        QTest::newRow("byte-order mark after") << "1\uFEFF" << ",";
        QTest::newRow("trailing text") << "12abc" << ",";
        QTest::newRow("no separator, decimals") << "7,5" << "";
    }
    void refused()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QVERIFY(!readNumber(text.toStdString(), separator.toStdString()).has_value());
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");

        QTest::newRow("0.5") << 0.5 << 0.0;
        QTest::newRow("1.5") << 1.5 << 2.0;
        QTest::newRow("2.5") << 2.5 << 2.0;
        QTest::newRow("2.6") << 2.6 << 3.0;
        QTest::newRow("-0.5") << -0.5 << 0.0;
        QTest::newRow("-1.5") << -1.5 << -2.0;
        QTest::newRow("-2.4") << -2.4 << -2.0;
        QTest::newRow("32767.5") << 32767.5 << 32768.0;
        QTest::newRow("255.5") << 255.5 << 256.0;
        QTest::newRow("254.5") << 254.5 << 254.0;
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(recibo::roundHalfEven(value), rounded);
    }

    void doubleText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");

        QTest::newRow("12 x 64.7") << 12 * 64.7 << "," << "776,4";
        QTest::newRow("10 x 64.7") << 10 * 64.7 << "," << "647";
        QTest::newRow("10 x 86.9") << 10 * 86.9 << "," << "869";
        QTest::newRow("7.5 x 64.7") << 7.5 * 64.7 << "," << "485,25";
        QTest::newRow("0.63") << 0.63 << "," << "0,63";
        QTest::newRow("point") << 0.63 << "." << "0.63";
        QTest::newRow("zero") << 0.0 << "," << "0";
    }
    void doubleText()
    {
        QFETCH(double, value);
        QFETCH(QString, separator);
        QFETCH(QString, text);
        QCOMPARE(qtext(recibo::doubleText(value, separator.toStdString())), text);
    }

    void doubleTextIsFifteenDigits()
    {
        // Whatever shortcut doubleText takes, it writes what rounding to 15
        // significant digits writes.
        std::mt19937_64 random(15);
        std::uniform_real_distribution<double> hours(0, 200);
        std::uniform_int_distribution<int> exponent(-12, 12);
        for (int i = 0; i < 20000; ++i) {
            double value = 0;
            switch (i % 4) {
            case 0:
                value = std::round(hours(random) * 100) / 100 * 64.7; // hours x points per hour
                break;
            case 1:
                value = std::round(hours(random) * 10) / 10 * 86.9;
                break;
            case 2:
                value = hours(random) * std::pow(10.0, exponent(random));
                break;
            default:
                value = static_cast<double>(random() % 100000000) / 10000;
                break;
            }
            char buffer[64];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
            std::string expected(buffer, end);
            std::replace(expected.begin(), expected.end(), '.', ',');
            QCOMPARE(recibo::doubleText(value, ","), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
