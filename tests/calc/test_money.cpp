// The money type: conversion of double products, percentages and the texts
// of amounts.

#include <QTest>

#include "calc/money.h"
#include "calc_support.h"

using recibo::amountText;
using recibo::basicAmountText;
using recibo::Money;
using recibo::moneyText;
using recibo::test::qtext;

class TestMoney : public QObject {
    Q_OBJECT

private slots:
    void fromDouble_data()
    {
        QTest::addColumn<double>("product");
        QTest::addColumn<qint64>("units");

        QTest::newRow("971 x 0.63") << 971 * 0.63 << qint64(6117300);
        QTest::newRow("1 hour x 64.7 x 0.63") << 1 * 64.7 * 0.63 << qint64(407610);
        // The double 19.161450000000002 lies above the tie and goes up,
        // although exact arithmetic would give 19.16145 and round to even.
        QTest::newRow("273.735 x 0.07") << 273.735 * 0.07 << qint64(191615);
        QTest::newRow("tie to even, down") << 0.00125 << qint64(12);
        QTest::newRow("tie to even, up") << 0.00135 << qint64(14);
        QTest::newRow("half of one unit, to even 0") << 0.00005 << qint64(0);
        // 0.00015 x 10000 is the double 1.4999999999999998: below the tie.
        QTest::newRow("just below a tie") << 0.00015 << qint64(1);
        QTest::newRow("two and a half units") << 0.00025 << qint64(2);
        QTest::newRow("negative tie") << -0.00025 << qint64(-2);
        QTest::newRow("negative") << -13.472 << qint64(-134720);
        QTest::newRow("zero") << 0.0 << qint64(0);
        QTest::newRow("transport 300 km") << 300 * 0.13472 * 4 << qint64(1616640);
        QTest::newRow("bolsillo top-up") << 1290 - (884.1 - 0.196 * 674.1) << qint64(5380236);
        // The limit of money: 900 billion pesos; anything beyond it saturates.
        QTest::newRow("at the money limit") << 9e14 << qint64(9'000'000'000'000'000'000);
        QTest::newRow("beyond the money limit") << 1e300 << qint64(9'000'000'000'000'000'000);
        QTest::newRow("beyond the negative limit") << -1e300 << qint64(-9'000'000'000'000'000'000);
    }
    void fromDouble()
    {
        QFETCH(double, product);
        QFETCH(qint64, units);
        QCOMPARE(Money::fromDouble(product).units(), units);
    }

    void fromDoubleNeverWraps()
    {
        QVERIFY(Money::fromDouble(1e300).units() > 0);
        QVERIFY(Money::fromDouble(-1e300).units() < 0);
        QCOMPARE(Money::fromDouble(std::numeric_limits<double>::quiet_NaN()).units(), qint64(0));
    }

    void percent_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<int>("pct");
        QTest::addColumn<qint64>("expected");

        QTest::newRow("30 % of 611.73") << qint64(6117300) << 30 << qint64(1835190);
        QTest::newRow("15 % of 611.73") << qint64(6117300) << 15 << qint64(917595);
        QTest::newRow("20 % of 1196.23") << qint64(11962300) << 20 << qint64(2392460);
        QTest::newRow("0 %") << qint64(6117300) << 0 << qint64(0);
        QTest::newRow("120 %") << qint64(10000) << 120 << qint64(12000);
        QTest::newRow("110 % of 611.73") << qint64(6117300) << 110 << qint64(6729030);
        // The amount times the percentage, divided by 100 in double precision:
        // an exact half of a unit may come out a little above or below it.
        QTest::newRow("half, to even 0") << qint64(5) << 10 << qint64(0);      // 0.5
        QTest::newRow("1.5 falls below the half") << qint64(15) << 10 << qint64(1); // 1.4999999999999998
        QTest::newRow("half, to even 2") << qint64(25) << 10 << qint64(2);     // 2.5
        QTest::newRow("above the half") << qint64(51) << 1 << qint64(1);       // 0.51
        QTest::newRow("below the half") << qint64(49) << 1 << qint64(0);       // 0.49
        QTest::newRow("negative, below the half") << qint64(-15) << 10 << qint64(-1);
        QTest::newRow("negative half, to even") << qint64(-25) << 10 << qint64(-2);
        QTest::newRow("15 % of 7 units") << qint64(7) << 15 << qint64(1); // 1.05
        QTest::newRow("10 % of 1234.5675") << qint64(12345675) << 10 << qint64(1234568); // 1234567.5000000002
        QTest::newRow("10 % of 1234.5665") << qint64(12345665) << 10 << qint64(1234566); // 1234566.5, to even
        QTest::newRow("10 % of 305.7075") << qint64(3057075) << 10 << qint64(305707);    // 305707.49999999994
        QTest::newRow("30 % of 1.2345") << qint64(12345) << 30 << qint64(3703);          // 3703.4999999999995
    }
    void percent()
    {
        QFETCH(qint64, units);
        QFETCH(int, pct);
        QFETCH(qint64, expected);
        QCOMPARE(Money::fromUnits(units).percent(pct).units(), expected);
    }

    void texts_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("money");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("basic");

        QTest::newRow("40.761") << qint64(407610) << "," << "40,761" << "$ 40,761" << "$40,761";
        QTest::newRow("282") << qint64(2820000) << "," << "282" << "$ 282" << "$282";
        QTest::newRow("711.9") << qint64(7119000) << "," << "711,9" << "$ 711,9" << "$711,9";
        QTest::newRow("611.73") << qint64(6117300) << "," << "611,73" << "$ 611,73" << "$611,73";
        QTest::newRow("0") << qint64(0) << "," << "0" << "$ 0" << "$0";
        QTest::newRow("four decimals") << qint64(3056675) << "," << "305,6675" << "$ 305,6675" << "$305,6675";
        QTest::newRow("one unit") << qint64(1) << "," << "0,0001" << "$ 0,0001" << "$0,0001";
        QTest::newRow("leading zero decimals") << qint64(10050) << "," << "1,005" << "$ 1,005" << "$1,005";
        QTest::newRow("negative") << qint64(-53888) << "," << "-5,3888" << "$ -5,3888" << "$-5,3888";
        QTest::newRow("negative whole") << qint64(-1000000) << "," << "-100" << "$ -100" << "$-100";
        QTest::newRow("negative below one") << qint64(-5) << "," << "-0,0005" << "$ -0,0005" << "$-0,0005";
        QTest::newRow("point separator") << qint64(1961410) << "." << "196.141" << "$ 196.141" << "$196.141";
        QTest::newRow("no grouping") << qint64(123456789012345) << "," << "12345678901,2345" << "$ 12345678901,2345"
                                     << "$12345678901,2345";
        QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << ","
                                       << "-922337203685477,5808" << "$ -922337203685477,5808"
                                       << "$-922337203685477,5808";
    }
    void texts()
    {
        QFETCH(qint64, units);
        QFETCH(QString, separator);
        QFETCH(QString, money);
        QFETCH(QString, amount);
        QFETCH(QString, basic);
        const std::string sep = separator.toStdString();
        const Money value = Money::fromUnits(units);
        QCOMPARE(qtext(moneyText(value, sep)), money);
        QCOMPARE(qtext(amountText(value, sep)), amount);
        QCOMPARE(qtext(basicAmountText(value, sep)), basic);
    }

    void sumsAreExact()
    {
        // 0.1 + 0.2 in doubles is not 0.3; in money it is.
        const Money sum = Money::fromDouble(0.1) + Money::fromDouble(0.2);
        QCOMPARE(sum, Money::fromDouble(0.3));
        QCOMPARE(qtext(moneyText(Money::whole(1290) - Money::fromUnits(7519764), ",")), QStringLiteral("538,0236"));
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "test_money.moc"
