#include "support/TestEnv.h"

#include "flow/TestItState.h"
#include "flow/Variant.h"
#include "platform/fake/Fakes.h"
#include "screens/TestItView.h"
#include "ui/Card.h"

#include <QLabel>

using namespace marten;

namespace {

// The screen at the width the step area gives it, with its state.
struct Screen {
    Screen() : view(ScreenContext{traitsFor(Variant::Simple), services.platform}, state)
    {
        view.show();
        fit();
    }
    // Gives the screen the height it asks for at the step area's width, as the flow does.
    void fit()
    {
        QCoreApplication::processEvents();
        view.resize(729, view.heightForWidth(729));
        QCoreApplication::processEvents();
    }
    QWidget* child(const char* name) const { return view.findChild<QWidget*>(name); }
    // The dominant opaque colour of the microphone symbol.
    QColor micColour() const
    {
        const QImage image = view.findChild<QLabel*>("micSymbol")->pixmap().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 8);
    }

    fake::Services services;
    TestItState state;
    TestItView view;
};

} // namespace

class TestItViewTest : public QObject {
    Q_OBJECT

private slots:
    void idleShowsNoTranscript()
    {
        Screen s;
        QVERIFY(!s.view.transcriptBlock()->isVisible());
        QCOMPARE(s.micColour(), QColor(0x00, 0x7A, 0xFF));
        // The closing line follows the prompt: 24 px of spacing plus its 16 px top padding.
        const QWidget* prompt = s.child("testItPrompt");
        const QWidget* closing = s.child("testItClosing");
        QCOMPARE(closing->y() - prompt->geometry().bottom() - 1, 24 + 16);
    }

    void recordingTurnsOnlyTheMicrophoneRed()
    {
        Screen s;
        const QRect title = s.child("testItTitle")->geometry();
        const QRect closing = s.child("testItClosing")->geometry();
        s.state.setRecording(true);
        s.fit();
        QCOMPARE(s.micColour(), QColor(0xFF, 0x3B, 0x30));
        QCOMPARE(s.child("testItTitle")->geometry(), title);
        QCOMPARE(s.child("testItClosing")->geometry(), closing);
        s.state.setRecording(false);
        QCOMPARE(s.micColour(), QColor(0x00, 0x7A, 0xFF));
    }

    void transcriptFollowsTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("words") << "Remind me to call the bakery";
        QTest::newRow("only spaces") << "   ";
        QTest::newRow("markup") << "<i>not</i> & formatted";
    }
    void transcriptFollowsTheText()
    {
        QFETCH(QString, text);
        Screen s;
        const QRect closingBefore = s.child("testItClosing")->geometry();
        s.state.setTranscribedText(text);
        s.fit();
        QVERIFY(s.view.transcriptBlock()->isVisible());
        auto* label = s.view.findChild<QLabel*>("transcriptText");
        QCOMPARE(label->text(), text);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        // Between the prompt and the closing line.
        const QRect block = s.view.transcriptBlock()->geometry();
        QVERIFY(block.top() > s.child("testItPrompt")->geometry().bottom());
        QVERIFY(block.bottom() < s.child("testItClosing")->geometry().top());

        s.state.setTranscribedText(QString());
        s.fit();
        QVERIFY(!s.view.transcriptBlock()->isVisible());
        QCOMPARE(s.child("testItClosing")->geometry(), closingBefore);
    }

    void longTranscriptWrapsInAFullWidthCard()
    {
        Screen s;
        s.state.setTranscribedText(QString("Take the long road home and stop by the market for "
                                           "bread, apples, coffee and flowers; ")
                                       .repeated(3));
        s.fit();
        auto* card = s.view.findChild<Card*>("transcriptCard");
        auto* label = s.view.findChild<QLabel*>("transcriptText");
        QCOMPARE(card->width(), s.view.width());
        QVERIFY(label->height() >= 3 * label->fontMetrics().lineSpacing());
        QCOMPARE(label->x(), 16);
        QVERIFY(label->alignment() & Qt::AlignLeft);
        // "You said:" sits at the leading edge too.
        QCOMPARE(s.child("transcriptHeading")->x(), 0);
    }
};

MARTEN_TEST_MAIN(TestItViewTest)
#include "tst_testitview.moc"
