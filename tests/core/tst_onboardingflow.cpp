#include "core/OnboardingFlow.h"
#include "fakes/Fakes.h"
#include "support/CoreTestEnv.h"

#include <QSignalSpy>
#include <QThreadPool>

#include <memory>

using namespace marten;
using namespace std::chrono_literals;

// The flow on its own, without a widget in sight.
class TestOnboardingFlow final : public QObject {
    Q_OBJECT

    std::unique_ptr<fake::Services> m_services;
    std::unique_ptr<OnboardingFlow> m_flow;

    OnboardingFlow* decide(Variant variant)
    {
        m_flow = std::make_unique<OnboardingFlow>(variant, m_services->platform);
        m_flow->start();
        OnboardingFlow* flow = m_flow.get();
        return QTest::qWaitFor([flow] { return !flow->isLoading(); }) ? flow : nullptr;
    }

    void writeHome(const char* name, const QByteArray& json)
    {
        test::writeFile(m_services->platform.homeDir + QLatin1Char('/') + QLatin1String(name),
                        json);
    }

private slots:
    void init()
    {
        m_services = std::make_unique<fake::Services>();
        m_services->platform.homeDir = QDir::homePath();
        QFile::remove(QDir::homePath() + QStringLiteral("/.marten_auth_local.json"));
        QFile::remove(QDir::homePath() + QStringLiteral("/.marten_auth_token.json"));
    }

    void cleanup()
    {
        m_flow.reset();
        m_services.reset();
    }

    void subscribedUserCompletesAfterThreeSeconds()
    {
        writeHome(".marten_auth_local.json", "{\"token\":\"t\",\"has_subscription\":true}");
        m_flow = std::make_unique<OnboardingFlow>(Variant::Full, m_services->platform);
        QSignalSpy decided(m_flow.get(), &OnboardingFlow::stepsDecided);
        m_flow->start();
        QTRY_COMPARE(m_services->scheduler.pendingCount(), 1); // completion
        m_services->scheduler.advance(2999ms);
        QCOMPARE(m_services->app.quits, 0);
        m_services->scheduler.advance(1ms);
        QCOMPARE(m_services->autostart.registrations, 1);
        QCOMPARE(m_services->settings.values.value(QStringLiteral("has_launched_before")), true);
        QCOMPARE(m_services->settings.values.value(QStringLiteral("ftue_completed")), true);
        QCOMPARE(decided.count(), 0); // no steps shown
    }

    void nextBackAndPastTheEnd()
    {
        m_services->probe.granted = true;
        OnboardingFlow* flow = decide(Variant::Simple); // welcome, howToUse, signIn, testIt
        QVERIFY(flow);
        QSignalSpy moved(flow, &OnboardingFlow::currentStepChanged);
        flow->previousStep(); // a late second Back never goes below 0
        QCOMPARE(flow->currentStepIndex(), 0);
        QCOMPARE(moved.count(), 0);
        for (int i = 0; i < 5; ++i)
            flow->nextStep();
        QCOMPARE(flow->currentStepIndex(), 5);
        QVERIFY(!flow->currentStep() && !flow->currentStepButton());
        flow->previousStep();
        flow->previousStep();
        QCOMPARE(flow->currentStep(), FTUEStep::testIt);
        QCOMPARE(moved.count(), 7);
        QCOMPARE(moved.last().at(1).toBool(), true); // animated
    }

    // Which steps get which button: by position, with the per-program exceptions.
    void stepButtons()
    {
        using T = StepButtonChoice::Title;
        OnboardingFlow* flow = decide(Variant::Full); // welcome, permissions, signIn, howToUse
        QVERIFY(flow);
        const auto at = [flow](int index) {
            while (flow->currentStepIndex() < index)
                flow->nextStep();
            while (flow->currentStepIndex() > index)
                flow->previousStep();
            return flow->currentStepButton();
        };
        QCOMPARE(at(0)->title, T::Next);
        QVERIFY(!at(1)); // no input access yet
        m_services->probe.granted = true;
        QVERIFY(at(1) && !at(2));
        QCOMPARE(at(3)->title, T::GetStarted);
        QVERIFY(at(3)->completes);
    }

    void completion_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<QString>("autostartFailure");
        QTest::addColumn<QString>("saveFailure");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("full") << Variant::Full << QString() << QString()
                              << QStringList{
                                     QStringLiteral("✅ Successfully set app to launch at login.")};
        // Failures are reported as failures; the program still ends.
        QTest::newRow("full, nothing works")
            << Variant::Full << QStringLiteral("not found") << QStringLiteral("read-only")
            << QStringList{QStringLiteral("❌ Failed to set launch at login: not found"),
                           QStringLiteral("Failed to save onboarding state: read-only")};
        QTest::newRow("simple") << Variant::Simple << QString() << QString() << QStringList{};
    }

    void completion()
    {
        QFETCH(Variant, variant);
        QFETCH(QString, autostartFailure);
        QFETCH(QString, saveFailure);
        QFETCH(QStringList, lines);
        m_services->autostart.failWith = autostartFailure;
        m_services->settings.failWith = saveFailure;
        OnboardingFlow* flow = decide(variant);
        QVERIFY(flow);
        m_services->console.clear();
        QSignalSpy completed(flow, &OnboardingFlow::completed);
        flow->completeFTUE();
        flow->completeFTUE(); // a second press while the program winds down
        flow->nextStep();
        QCOMPARE(completed.count(), 1);
        QCOMPARE(m_services->app.quits, 1);
        QCOMPARE(m_services->autostart.registrations, variant == Variant::Full ? 1 : 0);
        QCOMPARE(m_services->console.lines(), lines);
        QCOMPARE(m_services->settings.writes, 1); // both flags in one write
        QCOMPARE(flow->currentStepIndex(), 0);
    }

    void requestsAdvanceOnceAfterOneSecond()
    {
        m_services->probe.granted = true;
        writeHome(".marten_auth_local.json", "{\"token\":\"t\"}");
        OnboardingFlow* flow = decide(Variant::Full); // welcome, purchase, howToUse
        QVERIFY(flow);
        flow->nextStep();
        flow->requestPurchase();
        // A second press while the move is pending neither asks again nor moves twice.
        flow->requestPurchase();
        QCOMPARE(m_services->bus.posted.size(), 1);
        QCOMPARE(m_services->bus.posted.first().name, QStringLiteral("com.marten.startPurchase"));
        m_services->scheduler.advance(999ms);
        QCOMPARE(flow->currentStep(), FTUEStep::purchase);
        m_services->scheduler.advance(1ms);
        QCOMPARE(flow->currentStep(), FTUEStep::howToUse);
        m_services->scheduler.advance(5s);
        QCOMPARE(flow->currentStep(), FTUEStep::howToUse);
    }

    void simpleSignInOpensTheBrowserAndMovesAtOnce()
    {
        OnboardingFlow* flow = decide(Variant::Simple); // ..., signIn, testIt
        QVERIFY(flow);
        while (flow->currentStep() != FTUEStep::signIn)
            flow->nextStep();
        flow->requestSignIn();
        QCOMPARE(flow->currentStep(), FTUEStep::testIt);
        QCOMPARE(m_services->urls.opened.size(), 1);
        QCOMPARE(m_services->urls.opened.first().toString(),
                 QStringLiteral("https://api.marten.app/api/v1/auth/google"));
        QVERIFY(m_services->bus.posted.isEmpty());
    }

    // The steps show once the bus confirms the sign-in notice is listened for, or after 2 s.
    void stepsWaitUntilTheNoticeIsListenedFor()
    {
        for (const bool confirmed : {true, false}) {
            m_services->bus.holdListening = true;
            m_flow = std::make_unique<OnboardingFlow>(Variant::Full, m_services->platform);
            m_flow->start();
            QThreadPool::globalInstance()->waitForDone();
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            m_services->scheduler.advance(1999ms);
            QVERIFY(m_flow->isLoading());
            if (confirmed)
                m_services->bus.confirmListening();
            else
                m_services->scheduler.advance(1ms);
            QVERIFY(!m_flow->isLoading());
        }
    }

    void authCompletionRaisesAndJumpsPastSignIn()
    {
        OnboardingFlow* flow = decide(Variant::Full); // welcome, permissions, signIn, howToUse
        QVERIFY(flow);
        // Starting again (the window shown a second time) must not observe twice.
        flow->start();
        QCOMPARE(m_services->bus.observerCount(QStringLiteral("com.marten.authCompleted")), 1);
        QSignalSpy raised(flow, &OnboardingFlow::raiseRequested);
        m_services->console.clear();
        // No token on disk: the window comes forward, the index stays.
        m_services->bus.deliver(QStringLiteral("com.marten.authCompleted"));
        QCOMPARE(raised.count(), 1);
        QCOMPARE(flow->currentStepIndex(), 0);
        QCOMPARE(m_services->console.lines().first(),
                 QStringLiteral("Received auth completion notification from main app"));

        writeHome(".marten_auth_token.json", "{\"access_token\":\"abc\"}");
        m_services->bus.deliver(QStringLiteral("com.marten.authCompleted"));
        QCOMPARE(raised.count(), 2);
        QCOMPARE(flow->currentStep(), FTUEStep::howToUse);
    }
};

MARTEN_CORE_TEST_MAIN(TestOnboardingFlow)
#include "tst_onboardingflow.moc"
