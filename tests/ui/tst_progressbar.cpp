#include "ui/ProgressBar.h"
#include "support/TestEnv.h"
#include "ui/Theme.h"

using namespace marten;

namespace {

// Colour in the middle of segment `i` of a bar `width` wide with `total` segments.
QColor segmentColour(const QImage& image, int i, int total)
{
    const qreal segment = (image.width() - 8.0 * (total - 1)) / total;
    const int x = qRound(i * (segment + 8) + segment / 2);
    return image.pixelColor(x, 2);
}

bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3 &&
           qAbs(a.blue() - b.blue()) <= 3;
}

// Gray at 30 % over white.
QColor paleGray()
{
    const QColor g = theme::gray();
    auto mix = [](int c) { return qRound(c * 0.3 + 255 * 0.7); };
    return QColor(mix(g.red()), mix(g.green()), mix(g.blue()));
}

} // namespace

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

    void fillPerSegment()
    {
        QFETCH(int, current);
        QFETCH(int, total);
        QFETCH(int, filled);
        ProgressBar bar;
        bar.resize(777, 4);
        bar.setSteps(current, total);
        const QImage image = test::render(&bar);
        for (int i = 0; i < total; ++i) {
            const QColor expected = i < filled ? theme::accent() : paleGray();
            QVERIFY2(near(segmentColour(image, i, total), expected),
                     qPrintable(QStringLiteral("segment %1").arg(i)));
        }
        // The 8 px gaps between segments stay unpainted; no steps paint nothing at all.
        const qreal segment = total ? (777 - 8.0 * (total - 1)) / total : 0;
        QCOMPARE(image.pixelColor(qRound(segment + 4), 2), QColor(Qt::white));
    }
};

MARTEN_TEST_MAIN(TestProgressBar)
#include "tst_progressbar.moc"
