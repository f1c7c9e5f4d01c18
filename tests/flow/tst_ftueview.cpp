#include "flow/FTUEView.h"
#include "flow/NavigationControls.h"
#include "flow/ProgressBar.h"
#include "platform/fake/Fakes.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"

#include <QSignalSpy>

#include <memory>

using namespace marten;
using namespace std::chrono_literals;

class TestFTUEView final : public QObject {
    Q_OBJECT

    std::unique_ptr<fake::Services> m_services;
    std::unique_ptr<FTUEView> m_view;

    FTUEView* start(Variant variant)
    {
        m_view = std::make_unique<FTUEView>(variant, m_services->platform);
        m_view->show();
        return QTest::qWaitForWindowExposed(m_view.get()) ? m_view.get() : nullptr;
    }

    FTUEView* startAndDecide(Variant variant)
    {
        FTUEView* view = start(variant);
        const bool decided = view && QTest::qWaitFor([view] { return !view->isLoading(); });
        return decided ? view : nullptr;
    }

    void writeHome(const char* name, const QByteArray& json)
    {
        test::writeFile(m_services->platform.homeDir + QLatin1Char('/') + QLatin1String(name),
                        json);
    }

    BackButton* back() const
    {
        return m_view->findChild<BackButton*>(QStringLiteral("backButton"));
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
        m_view.reset();
        m_services.reset();
    }

    void decisionTable_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<bool>("granted");
        QTest::addColumn<QByteArray>("account");
        QTest::addColumn<StepList>("steps");
        QTest::addColumn<QStringList>("lines");
        using S = FTUEStep;
        const QByteArray none;
        const QByteArray signedIn = "{\"token\":\"t\"}";
        const QByteArray subscribed = "{\"token\":\"t\",\"has_subscription\":true}";
        const QString notAuth = QStringLiteral("User is not authenticated");
        const QString fullAuth =
            QStringLiteral("User is authenticated (found valid token in .marten_auth_local.json)");
        const QString simpleAuth =
            QStringLiteral("User is authenticated (found token in .marten_auth_local.json)");
        const QString noSub = QStringLiteral("No subscription status found");
        auto show = [](int n) { return QStringLiteral("FTUE will show %1 steps").arg(n); };

        QTest::newRow("full, no access, signed out")
            << Variant::Full << false << none
            << StepList{S::welcome, S::permissions, S::signIn, S::howToUse}
            << QStringList{notAuth, notAuth, show(4)};
        // Signed in without a subscription: both checks are asked twice. (Every row of the
        // table also runs through the real programs in tests/e2e.)
        QTest::newRow("full, access, signed in")
            << Variant::Full << true << signedIn << StepList{S::welcome, S::purchase, S::howToUse}
            << QStringList{fullAuth, noSub, fullAuth, noSub, show(3)};
        QTest::newRow("simple, no access, signed out")
            << Variant::Simple << false << none
            << StepList{S::welcome, S::permissions, S::howToUse, S::signIn, S::testIt}
            << QStringList{notAuth, show(5)};
        QTest::newRow("simple, no access, signed in")
            << Variant::Simple << false << signedIn
            << StepList{S::welcome, S::permissions, S::howToUse, S::testIt}
            << QStringList{simpleAuth, show(4)};
        // The simple program has no subscription check: a subscriber still sees the steps.
        QTest::newRow("simple, access, subscribed")
            << Variant::Simple << true << subscribed << StepList{S::welcome, S::howToUse, S::testIt}
            << QStringList{simpleAuth, show(3)};
    }

    void decisionTable()
    {
        QFETCH(Variant, variant);
        QFETCH(bool, granted);
        QFETCH(QByteArray, account);
        QFETCH(StepList, steps);
        QFETCH(QStringList, lines);
        if (!account.isEmpty())
            writeHome(".marten_auth_local.json", account);
        m_services->probe.trusted = granted;
        FTUEView* view = startAndDecide(variant);
        QVERIFY(view);
        QCOMPARE(view->steps(), steps);
        QCOMPARE(view->currentStepIndex(), 0);
        QCOMPARE(m_services->console.lines(), lines);
        QCOMPARE(view->findChild<ProgressBar*>()->totalSteps(), steps.size());
    }

    // The ninth row: a subscriber of the full program sees no step, and onboarding
    // completes by itself three seconds later.
    void subscribedUserCompletesAfterThreeSeconds()
    {
        writeHome(".marten_auth_local.json", "{\"token\":\"t\",\"has_subscription\":true}");
        FTUEView* view = start(Variant::Full);
        QVERIFY(view);
        QTRY_COMPARE(m_services->scheduler.pendingCount(), 1);
        QVERIFY(view->isLoading());
        QVERIFY(view->steps().isEmpty());
        QCOMPARE(m_services->console.lines(),
                 (QStringList{QStringLiteral("User is authenticated (found valid token in "
                                             ".marten_auth_local.json)"),
                              QStringLiteral("User subscription status: true")}));
        m_services->scheduler.advance(2999ms);
        QCOMPARE(m_services->app.quits, 0);
        m_services->scheduler.advance(1ms);
        QCOMPARE(m_services->app.quits, 1);
        QCOMPARE(m_services->loginItem.registrations, 1);
        QCOMPARE(m_services->defaults.values.value(QStringLiteral("has_launched_before")), true);
        QCOMPARE(m_services->defaults.values.value(QStringLiteral("ftue_completed")), true);
        QCOMPARE(m_services->console.lines().last(),
                 QStringLiteral("✅ Successfully set app to launch at login."));
    }

    void nextBackAndPastTheEnd()
    {
        m_services->probe.trusted = true;
        FTUEView* view = startAndDecide(Variant::Simple); // welcome, howToUse, signIn, testIt
        QVERIFY(view);
        QVERIFY(!back()->isVisible());
        QCOMPARE(view->stepButton()->text(), QStringLiteral("Next"));
        QCOMPARE(view->stepButton()->style(), ButtonStyle::BorderedProminent);
        QVERIFY(view->stepButton()->width() >= 120);

        QTest::mouseClick(view->stepButton(), Qt::LeftButton);
        QCOMPARE(view->currentStepIndex(), 1);
        QVERIFY(back()->isVisible());
        QTest::mouseClick(back(), Qt::LeftButton);
        QCOMPARE(view->currentStepIndex(), 0);
        QVERIFY(!back()->isVisible());
        // A second activation arriving before the control is gone never goes below 0.
        view->previousStep();
        QCOMPARE(view->currentStepIndex(), 0);

        for (int i = 0; i < 4; ++i)
            view->nextStep();
        QCOMPARE(view->currentStepIndex(), 4);
        QVERIFY(!view->currentScreen());
        QVERIFY(!view->stepButton());
        QVERIFY(back()->isVisible());
        QCOMPARE(view->findChild<ProgressBar*>()->currentStep(), 4);
        QTest::mouseClick(back(), Qt::LeftButton);
        QCOMPARE(view->currentStep(), FTUEStep::testIt);
        QCOMPARE(view->stepButton()->text(), QStringLiteral("Get Started"));
    }

    void ctrlReturnPressesTheStepButtonPlainReturnDoesNot()
    {
        FTUEView* view = startAndDecide(Variant::Full);
        QVERIFY(view);
        QCOMPARE(view->stepButton()->style(), ButtonStyle::AlwaysBlue);
        view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view));
        QTest::keyClick(view->stepButton(), Qt::Key_Return);
        QTest::keyClick(view->stepButton(), Qt::Key_Enter);
        QCOMPARE(view->currentStepIndex(), 0);
        QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(view->currentStepIndex(), 1);
        // The permission step has no button while input access is missing.
        QCOMPARE(view->currentStep(), FTUEStep::permissions);
        QVERIFY(!view->stepButton());
        QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(view->currentStepIndex(), 1);
    }

    void getStartedCompletes_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<QString>("loginFailure");
        QTest::addColumn<QString>("saveFailure");
        QTest::addColumn<QStringList>("tail");
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

    void getStartedCompletes()
    {
        QFETCH(Variant, variant);
        QFETCH(QString, loginFailure);
        QFETCH(QString, saveFailure);
        QFETCH(QStringList, tail);
        m_services->probe.trusted = true;
        m_services->loginItem.failWith = loginFailure;
        m_services->defaults.failWith = saveFailure;
        FTUEView* view = startAndDecide(variant);
        QVERIFY(view);
        while (view->currentStepIndex() < view->steps().size() - 1)
            view->nextStep();
        m_services->console.clear();
        QSignalSpy completed(view, &FTUEView::completed);
        QTest::mouseClick(view->stepButton(), Qt::LeftButton);
        QCOMPARE(completed.count(), 1);
        QCOMPARE(m_services->app.quits, 1);
        QCOMPARE(m_services->loginItem.registrations, variant == Variant::Full ? 1 : 0);
        QCOMPARE(m_services->console.lines(), tail);
        QCOMPARE(m_services->defaults.values.size(), saveFailure.isEmpty() ? 2 : 0);
        // A second press while the program winds down changes nothing.
        view->completeFTUE();
        QCOMPARE(m_services->app.quits, 1);
    }

    void authCompletionJumpsPastSignIn()
    {
        FTUEView* view = startAndDecide(Variant::Full); // welcome, permissions, signIn, howToUse
        QVERIFY(view);
        QCOMPARE(
            m_services->notifications.observerCount(QStringLiteral("com.marten.authCompleted")), 1);
        // No token on disk: the window comes forward, the index stays.
        m_services->notifications.deliver(QStringLiteral("com.marten.authCompleted"));
        QCOMPARE(m_services->app.raises, 1);
        QCOMPARE(view->currentStepIndex(), 0);

        writeHome(".marten_auth_token.json", "{\"access_token\":\"abc\"}");
        m_services->console.clear();
        m_services->notifications.deliver(QStringLiteral("com.marten.authCompleted"));
        QCOMPARE(view->currentStep(), FTUEStep::howToUse);
        QCOMPARE(m_services->console.lines(),
                 (QStringList{QStringLiteral("Received auth completion notification from main app"),
                              QStringLiteral("User is authenticated (found valid token in "
                                             ".marten_auth_token.json)")}));
    }
};

MARTEN_TEST_MAIN(TestFTUEView)
#include "tst_ftueview.moc"
