#include "support/TestEnv.h"

#include "core/Variant.h"
#include "fakes/Fakes.h"
#include "screens/HowToUseView.h"
#include "ui/InstructionRow.h"

#include <QBitmap>

using namespace marten;

class TestHowToUseView final : public QObject {
    Q_OBJECT

private slots:
    // Every row of both programs, and a long one that wraps, rendered: a 30 px disc at the
    // leading edge, centred on the text, which starts 12 px after it (plus the first glyph's
    // bearing). The two programs word their tips and rows each in their own way.
    void rowsFromRenderedImage()
    {
        InstructionRow longRow("2", "Keep holding the key while you speak, then let go when you "
                                    "are done and the text appears wherever your cursor is");
        longRow.resize(260, longRow.heightForWidth(260));
        QVERIFY(longRow.height() >= 3 * longRow.textLabel()->fontMetrics().lineSpacing());
        QList<QImage> bands{test::render(&longRow)};
        QList<QStringList> shown;
        for (const Variant variant : {Variant::Full, Variant::Simple}) {
            fake::Services services;
            HowToUseView view({traitsFor(variant), services.platform});
            view.resize(729, view.heightForWidth(729));
            const QImage screen = test::render(&view);
            shown << QStringList{view.findChild<QLabel*>("tipText")->text()};
            for (InstructionRow* row : view.rows()) {
                shown.last() << row->text();
                bands << screen.copy(0, row->mapTo(&view, QPoint()).y(), 729, row->height());
            }
        }
        QVERIFY(shown.first().size() > 3 && shown.last().size() > 3);
        QVERIFY(shown.first() != shown.last());
        for (const QImage& band : bands) {
            const QRegion dark(QBitmap::fromImage(band, Qt::ThresholdDither));
            const QRect disc = (dark & QRect(0, 0, 36, band.height())).boundingRect();
            QCOMPARE(disc, QRect(0, (band.height() - 30) / 2, 30, 30));
            const int text = (dark - disc).boundingRect().left();
            QVERIFY2(text >= 42 && text <= 44, qPrintable(QString::number(text)));
        }
    }
};

MARTEN_TEST_MAIN(TestHowToUseView)
#include "tst_howtouseview.moc"
