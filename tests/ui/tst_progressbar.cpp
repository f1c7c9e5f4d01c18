#include "support/TestEnv.h"
#include "ui/ProgressBar.h"
#include "ui/Theme.h"

using namespace marten;

class TestProgressBar final : public QObject {
    Q_OBJECT
private slots:
    void fillPerSegment_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("filled");
        QTest::newRow("first of four") << 0 << 4 << 1;
        QTest::newRow("last of four") << 3 << 4 << 4;
        QTest::newRow("past the end") << 6 << 4 << 4;
        QTest::newRow("second of five") << 1 << 5 << 2;
        QTest::newRow("no steps") << 0 << 0 << 0;
    }

    // Segments up to the current step in the accent colour, the rest pale but painted; the
    // 8 px gaps between them stay unpainted, and no steps paint nothing at all.
    void fillPerSegment()
    {
        QFETCH(int, current);
        QFETCH(int, total);
        QFETCH(int, filled);
        ProgressBar bar;
        bar.resize(777, 4);
        bar.setSteps(current, total);
        const QImage image = test::render(&bar);
        const qreal segment = total ? (777 - 8.0 * (total - 1)) / total : 0;
        for (int i = 0; i < total; ++i) {
            const QRect middle(qRound(i * (segment + 8) + segment / 2), 2, 1, 1);
            const bool lit = test::pixelsNear(image, middle, theme::accent());
            QVERIFY2(lit == (i < filled) && !test::pixelsNear(image, middle, Qt::white, 0),
                     qPrintable(QString::number(i)));
        }
        QCOMPARE(image.pixelColor(qRound(segment + 4), 2), QColor(Qt::white));
    }
};

MARTEN_TEST_MAIN(TestProgressBar)
#include "tst_progressbar.moc"
