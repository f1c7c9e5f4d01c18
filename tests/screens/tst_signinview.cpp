#include "flow/FTUEView.h"
#include "platform/fake/Fakes.h"
#include "screens/SignInView.h"
#include "support/TestEnv.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

using namespace marten;

class TestSignInView final : public QObject {
    Q_OBJECT

private slots:
    // Facebook, Apple and Continue answer "Coming soon", again after each OK; Return in the
    // field does nothing, and whatever was typed goes nowhere.
    void fullVariant()
    {
        fake::Services services;
        int skips = 0, signIns = 0;
        SignInView view(
            {traitsFor(Variant::Full), services.platform}, [&] { ++skips; }, [&] { ++signIns; });
        view.show();
        auto* field = view.findChild<QLineEdit*>("emailField");
        QTest::keyClicks(field, "secret-user");
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(!view.isShowingComingSoon());
        for (const char* name :
             {"continueWithFacebookButton", "continueWithAppleButton", "continueButton"})
            for (int round = 0; round < 2; ++round) {
                QTest::mouseClick(view.findChild<QAbstractButton*>(name), Qt::LeftButton);
                QDialog* alert = view.comingSoonAlert();
                QVERIFY(alert && alert->isVisible());
                QCOMPARE(alert->findChild<QLabel*>()->text(), "Coming soon");
                QTest::mouseClick(alert->findChild<QAbstractButton*>(), Qt::LeftButton);
                QTRY_VERIFY(!view.isShowingComingSoon());
            }
        QTest::mouseClick(view.findChild<QAbstractButton*>("skipButton"), Qt::LeftButton);
        QCOMPARE(skips, 1);
        QCOMPARE(signIns, 0);
        QVERIFY(services.notifications.posted.isEmpty());
        QVERIFY(services.console.lines().filter("secret-user").isEmpty());
    }

    // Simple program, through the flow: the browser opens and the next step shows at once.
    void simpleVariantOpensTheBrowser()
    {
        fake::Services services;
        services.platform.homeDir = QDir::homePath();
        services.probe.trusted = true;
        FTUEView flow(Variant::Simple, services.platform);
        flow.show();
        QTRY_VERIFY(!flow.isLoading());
        while (flow.currentStep() && flow.currentStep() != FTUEStep::signIn)
            flow.nextStep();
        QTest::mouseClick(flow.findChild<QAbstractButton*>("signInWithGoogleButton"),
                          Qt::LeftButton);
        QCOMPARE(services.urls.opened,
                 QList<QUrl>{QUrl("https://api.marten.app/api/v1/auth/google")});
        QCOMPARE(flow.currentStep(), FTUEStep::testIt);
    }
};

MARTEN_TEST_MAIN(TestSignInView)
#include "tst_signinview.moc"
