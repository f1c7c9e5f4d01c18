#include "support/TestEnv.h"

#include "flow/Variant.h"
#include "platform/fake/Fakes.h"
#include "screens/HowToUseView.h"
#include "screens/InstructionRow.h"
#include "ui/Card.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace marten;

namespace {

const QColor kAccent(0x00, 0x7A, 0xFF);

bool near(const QColor& a, const QColor& b, int tolerance = 12)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

// First and last x of accent-coloured pixels on row `y`, or {-1, -1}.
std::pair<int, int> accentSpan(const QImage& image, int y)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (near(image.pixelColor(x, y), kAccent, 40)) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

// First x right of `from` on rows [top, bottom) where a dark (text) pixel appears.
int firstInk(const QImage& image, int from, int top, int bottom)
{
    for (int x = from; x < image.width(); ++x) {
        for (int y = top; y < bottom; ++y) {
            if (image.pixelColor(x, y).lightness() < 128)
                return x;
        }
    }
    return -1;
}

// A widget laid out at `width` the way the step area lays out a screen.
void layOut(QWidget* widget, int width)
{
    widget->resize(width, widget->heightForWidth(width) > 0 ? widget->heightForWidth(width)
                                                            : widget->sizeHint().height());
    widget->show();
    QCoreApplication::processEvents();
}

} // namespace

class HowToUseViewTest : public QObject {
    Q_OBJECT

private slots:
    void rowsAndTip_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("tip");
        QTest::newRow("full") << Variant::Full << QStringList{"1", "2", "3", "4"}
                              << QStringList{QString::fromUtf8(
                                                 "Press the Right Command key (\u2318)"),
                                             "Speak", "Release",
                                             "Marten prints text wherever your cursor is"}
                              << QString::fromUtf8("\U0001F4A1 Tip: Works anywhere you can type");
        QTest::newRow("simple") << Variant::Simple << QStringList{"1", "2", "3"}
                                << QStringList{"Hold the Right Command key", "Speak your message",
                                               "Release to insert text"}
                                << QString::fromUtf8(
                                       "\U0001F4A1 Tip: Works in any app where you can type!");
    }
    void rowsAndTip()
    {
        QFETCH(Variant, variant);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, texts);
        QFETCH(QString, tip);
        fake::Services services;
        HowToUseView view(ScreenContext{traitsFor(variant), services.platform});
        QCOMPARE(view.rows().size(), numbers.size());
        for (int i = 0; i < numbers.size(); ++i) {
            QCOMPARE(view.rows().at(i)->number(), numbers.at(i));
            QCOMPARE(view.rows().at(i)->text(), texts.at(i));
        }
        QCOMPARE(view.findChild<QLabel*>("tipText")->text(), tip);
        QCOMPARE(view.findChild<QLabel*>("howToUseTitle")->text(), QString("How to Use Marten"));
    }

    // Badge 30 px at the list's leading edge, text 12 px after it, all rows lined up;
    // the tip card is centred under the list and hugs its text.
    void geometryFromRenderedImage()
    {
        fake::Services services;
        HowToUseView view(ScreenContext{traitsFor(Variant::Full), services.platform});
        layOut(&view, 729);
        const QImage image = test::render(&view);

        int previousCentre = -1;
        for (InstructionRow* row : view.rows()) {
            const QRect badge = row->badge()->geometry().translated(row->mapTo(&view, QPoint()));
            const int cy = badge.center().y();
            const auto [left, right] = accentSpan(image, cy);
            QCOMPARE(left, 0);
            QVERIFY2(qAbs(right - left + 1 - 30) <= 1, qPrintable(QString::number(right - left)));
            // White number inside the disc.
            bool white = false;
            for (int x = left; x <= right && !white; ++x)
                for (int y = badge.top(); y <= badge.bottom() && !white; ++y)
                    white = image.pixelColor(x, y).lightness() > 240;
            QVERIFY(white);
            const int ink = firstInk(image, right + 1, badge.top(), badge.bottom());
            QVERIFY2(ink >= 42 && ink <= 44, qPrintable(QString::number(ink)));
            if (previousCentre >= 0)
                QVERIFY(cy - previousCentre >= 30 + 16);
            previousCentre = cy;
        }

        auto* tip = view.findChild<Card*>("tipCard");
        QVERIFY(qAbs(tip->geometry().center().x() - view.width() / 2) <= 1);
        QVERIFY(tip->width() < view.width() / 2);
        QCOMPARE(tip->radius(), 8);
        // Title, list and tip 24 px apart; the list's first row 16 px below the list's top.
        auto* title = view.findChild<QLabel*>("howToUseTitle");
        auto* list = view.findChild<QWidget*>("instructionList");
        QCOMPARE(list->y() - title->geometry().bottom() - 1, 24);
        QCOMPARE(tip->y() - list->geometry().bottom() - 1, 24);
        QCOMPARE(view.rows().first()->y(), 16);
    }

    void longTextWrapsBesideACentredBadge()
    {
        InstructionRow row("2", "Keep holding the key while you speak, then let go when you are "
                                "done and the text appears wherever your cursor is");
        layOut(&row, 260);
        QLabel* text = row.textLabel();
        QCOMPARE(text->x(), 30 + 12);
        QVERIFY(text->geometry().right() < 260);
        QVERIFY(text->height() >= 3 * text->fontMetrics().lineSpacing());
        QVERIFY(qAbs(row.badge()->geometry().center().y() - text->geometry().center().y()) <= 1);
        QCOMPARE(row.badge()->size(), QSize(30, 30));
    }

    void emptyNumberStillDrawsTheDisc()
    {
        InstructionRow row("", "");
        layOut(&row, 200);
        const QImage image = test::render(&row);
        const auto [left, right] = accentSpan(image, 15);
        QCOMPARE(left, 0);
        QVERIFY(qAbs(right - left + 1 - 30) <= 1);
    }
};

MARTEN_TEST_MAIN(HowToUseViewTest)
#include "tst_howtouseview.moc"
