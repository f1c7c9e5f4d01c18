#include "support/TestEnv.h"

#include "core/OnboardingFlow.h"
#include "core/TestItState.h"
#include "core/Variant.h"
#include "screens/StepTable.h"
#include "screens/TestItView.h"
#include "ui/NavigationControls.h"

#include <QSignalSpy>

using namespace marten;
using namespace std::chrono_literals;

class TestTestItView final : public QObject {
    Q_OBJECT

private slots:
    // Keyboards read, new ones picked up, closed on hiding; typing counts until 10 s after the
    // release or last key, pressing no button but by Ctrl+Return.
    void keyAndTypedTextDriveTheState()
    {
        fake::Services services;
        services.probe.keyboards = {"/dev/input/event3", "/dev/input/event5"};
        services.keys.unopenable = {"/dev/input/event5"};
        OnboardingFlow flow(onboardingSteps(), Variant::Simple, services.platform);
        TestItState& state = flow.testItState();
        QWidget window;
        auto* view = new TestItView({flow.traits(), services.platform, flow}, &window);
        StyledButton* button = StepButton::create(ButtonStyle::AlwaysBlue, "Get Started", &window);
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        button->setFocus();
        QVERIFY(!view->transcriptBlock()->isVisible());
        QCOMPARE(services.keys.open, QStringList{"/dev/input/event3"});
        services.probe.keyboards.append("/dev/input/event9"); // plugged in while shown
        services.scheduler.advance(1s);
        QCOMPARE(services.keys.open, (QStringList{"/dev/input/event3", "/dev/input/event9"}));

        QTest::keyClicks(button, "a "); // no key yet: the space presses the button
        QCOMPARE(clicked.count(), 1);
        services.keys.press();
        QVERIFY(state.isRecording());
        services.keys.release();
        QVERIFY(!state.isRecording());
        services.scheduler.advance(9s);
        QTest::keyClicks(button, "hello world!");
        services.scheduler.advance(9s); // the last character keeps the text coming
        QTest::keyClick(button, Qt::Key_Backspace);
        services.scheduler.advance(9s); // and so does an erased one
        QTest::keyClick(button, Qt::Key_Tab, Qt::ShiftModifier);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(state.transcribedText(), "hello world ");
        QVERIFY(view->transcriptBlock()->isVisible() && clicked.count() == 1);
        QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(clicked.count(), 2);

        services.scheduler.advance(10s);
        QTest::keyClicks(button, "x ");
        QCOMPARE(clicked.count(), 3);
        QCOMPARE(state.transcribedText(), "hello world ");
        services.keys.press(); // a new press starts a new transcript
        QVERIFY(state.transcribedText().isEmpty() && !view->transcriptBlock()->isVisible());
        state.setTranscribedText("   "); // shown as said, even if only spaces
        QVERIFY(view->transcriptBlock()->isVisible());
        window.hide();
        QVERIFY(services.keys.open.isEmpty() && !state.isRecording());
    }
};

MARTEN_TEST_MAIN(TestTestItView)
#include "tst_testitview.moc"
