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

    // Along the middle row: the segments up to the current step in the accent colour, the
    // rest pale but painted, unpainted gaps between them; no steps paint nothing at all.
    void fillPerSegment()
    {
        QFETCH(int, current);
        QFETCH(int, total);
        QFETCH(int, filled);
        ProgressBar bar;
        bar.resize(777, 4);
        bar.setSteps(current, total);
        const QImage image = test::render(&bar);
        QString segments; // one letter per painted stretch: a = accent, p = pale
        bool inGap = true;
        for (int x = 0; x < image.width(); ++x) {
            const QRect pixel(x, 2, 1, 1);
            const bool gap = test::pixelsNear(image, pixel, Qt::white, 0);
            if (inGap && !gap)
                segments += 'p';
            if (!gap && test::pixelsNear(image, pixel, theme::accent()))
                segments.back() = 'a';
            inGap = gap;
        }
        QCOMPARE(segments, QString(filled, 'a') + QString(total - filled, 'p'));
    }
};

MARTEN_TEST_MAIN(TestProgressBar)
#include "tst_progressbar.moc"
