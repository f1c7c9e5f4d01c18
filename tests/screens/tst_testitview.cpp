#include "support/TestEnv.h"

#include "core/TestItState.h"
#include "core/Variant.h"
#include "fakes/Fakes.h"
#include "screens/TestItView.h"
#include "ui/Theme.h"

#include <QLabel>

using namespace marten;

class TestTestItView final : public QObject {
    Q_OBJECT

private slots:
    // The microphone is red only while recording. The "You said:" block shows any text, even
    // one of spaces, and goes when the text is cleared.
    void followsTheFlowState()
    {
        fake::Services services;
        TestItState state;
        TestItView view({traitsFor(Variant::Simple), services.platform, services.watcher}, state);
        view.show();
        auto* mic = view.findChild<QLabel*>("micSymbol"); // sampled at the top of its disc
        const auto micColour = [mic] { return mic->pixmap().toImage().pixelColor(40, 10); };
        const QColor idle = micColour();
        state.setRecording(true);
        QCOMPARE(micColour(), theme::red());
        state.setRecording(false);
        QVERIFY(idle != theme::red());
        QCOMPARE(micColour(), idle);

        QVERIFY(!view.transcriptBlock()->isVisible());
        for (const QString& text : QStringList{"Remind me to call the bakery", "   "}) {
            state.setTranscribedText(text);
            QVERIFY(view.transcriptBlock()->isVisible());
            state.setTranscribedText(QString());
            QVERIFY(!view.transcriptBlock()->isVisible());
        }
    }
};

MARTEN_TEST_MAIN(TestTestItView)
#include "tst_testitview.moc"
