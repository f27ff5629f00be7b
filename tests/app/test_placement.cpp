// Where the windows open: the slip beside the entry window, or where it keeps
// "Calcular" and the fields in view; the dialogs centred over the entry
// window and on the screen. Sizes include the window manager's frame; the
// expected places are worked out by hand from the rectangles of each row.

#include <QTest>

#include "app/placement.h"

using namespace recibo;

Q_DECLARE_METATYPE(recibo::WorkingAreas)

class Placement : public QObject {
    Q_OBJECT

private slots:
    void theSlip_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("entry");
        QTest::addColumn<WorkingAreas>("keep");
        QTest::addColumn<QPoint>("expected");
        const QRect wide(0, 0, 1600, 1200);
        const WorkingAreas none{QRect(601, 461, 169, 25), {}};
        // 0 + 794 + 8 gap; the slip's right edge 1595 is on the screen.
        QTest::newRow("entry at the left: on its right") << wide << QRect(0, 0, 794, 595) << none << QPoint(802, 0);
        // The right side would end at 806 + 794 + 8 + 794 = 2402; on the left 806 - 8 - 794 = 4.
        QTest::newRow("entry at the right: on its left")
            << wide << QRect(806, 300, 794, 595) << none << QPoint(4, 300);
        // Its top level with the entry's, lifted to end at the screen's foot: 1200 - 595.
        QTest::newRow("entry low: lifted onto the screen")
            << wide << QRect(0, 900, 794, 300) << none << QPoint(802, 605);
        // Centred, 404 free on either side: no room beside it. A name box
        // (589..851 x 351..373) and an option (813..933 x 623..639) with
        // "Calcular" (1005..1173 x 783..807): below the name box (y 374) and
        // left of the option (x 813 - 794 = 19) nothing is covered, and that
        // is the nearest such place to the right of the entry (806, 323).
        QTest::newRow("no room beside it, a free place")
            << wide << QRect(404, 323, 794, 595)
            << WorkingAreas{QRect(1005, 783, 169, 25), {QRect(589, 351, 263, 23), QRect(813, 623, 121, 17)}}
            << QPoint(19, 374);
        // 1024 x 768: any place on the screen covers part of "Calcular"
        // (717..885 x 567..591); at x = 0 the least of it (717..793). Of the
        // fields (123..652 x 114..613) it then covers least lowest on the
        // screen, at y = 768 - 595.
        QTest::newRow("small screen: the least of Calcular, then of the fields")
            << QRect(0, 0, 1024, 768) << QRect(115, 86, 794, 595)
            << WorkingAreas{QRect(717, 567, 169, 25), {QRect(123, 114, 530, 500)}} << QPoint(0, 173);
    }
    void theSlip()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, entry);
        QFETCH(WorkingAreas, keep);
        QFETCH(QPoint, expected);
        QCOMPARE(slipPlace(screen, entry, QSize(794, 595), keep), expected);
    }

    void aDialog_data()
    {
        QTest::addColumn<QRect>("entry");
        QTest::addColumn<QPoint>("expected");
        // (794 - 343) / 2 = 225 across, (595 - 122) / 2 = 236 down.
        QTest::newRow("over the entry window") << QRect(404, 323, 794, 595) << QPoint(629, 559);
        // Centred it would start at x = -75: kept on the screen at 0.
        QTest::newRow("kept on the screen, left") << QRect(-300, 700, 794, 595) << QPoint(0, 936);
        // Centred it would end at 1450 + 225 + 343 = 2018: kept at 1600 - 343.
        QTest::newRow("kept on the screen, right") << QRect(1450, 0, 794, 595) << QPoint(1257, 236);
    }
    void aDialog()
    {
        QFETCH(QRect, entry);
        QFETCH(QPoint, expected);
        QCOMPARE(centredOver(QRect(0, 0, 1600, 1200), entry, QSize(343, 122)), expected);
    }

    void theFrameIsAddedToTheSize()
    {
        QCOMPARE(framed(QSize(792, 573), QMargins(1, 21, 1, 1)), QSize(794, 595));
    }
};

QTEST_GUILESS_MAIN(Placement)
#include "test_placement.moc"
