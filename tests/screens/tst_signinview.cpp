#include "core/OnboardingFlow.h"
#include "screens/SignInView.h"
#include "screens/StepTable.h"
#include "support/TestEnv.h"
#include "ui/FocusRing.h"
#include "ui/MartenSocialButton.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

using namespace marten;

class TestSignInView final : public QObject {
    Q_OBJECT

private slots:
    // The tabbed-to field shows the ring, Return does nothing; the rest say "Coming soon".
    void fullVariant()
    {
        fake::Services services;
        int skips = 0, signIns = 0;
        OnboardingFlow flow(onboardingSteps(), Variant::Full, services.platform);
        SignInView view({flow.traits(), services.platform, flow});
        connect(&view, &SignInView::skipRequested, [&] { ++skips; });
        connect(&view, &SignInView::signInRequested, [&] { ++signIns; });
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        auto* field = view.findChild<QLineEdit*>("emailField");
        for (int tab = 0; tab < 10 && !field->hasFocus(); ++tab)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(field->hasFocus());
        const QImage outline = view.findChild<QWidget*>("emailFieldOutline")->grab().toImage();
        QCOMPARE(outline.pixelColor(outline.width() / 2, 1).rgb(), focusring::colour().rgb());
        QTest::keyClicks(field, "secret-user");
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(!view.isShowingComingSoon());
        for (const char* name :
             {"continueWithFacebookButton", "continueWithAppleButton", "continueButton"})
            for (int round = 0; round < 2; ++round) {
                QTest::mouseClick(view.findChild<QAbstractButton*>(name), Qt::LeftButton);
                Alert* alert = view.comingSoonAlert();
                QVERIFY(alert && alert->isVisible());
                QCOMPARE(alert->findChild<QLabel*>()->text(), "Coming soon");
                QTest::mouseClick(alert->findChild<QAbstractButton*>(), Qt::LeftButton);
                QTRY_VERIFY(!view.isShowingComingSoon());
            }
        QTest::mouseClick(view.findChild<QAbstractButton*>("skipButton"), Qt::LeftButton);
        QVERIFY(skips == 1 && signIns == 0 && services.bus.posted.isEmpty());
        QVERIFY(services.console.lines().filter("secret-user").isEmpty());

        // Squeezed, a social button's title ends in an ellipsis and still fits its place.
        auto* social = view.findChild<MartenSocialButton*>("continueWithFacebookButton");
        social->resize(160, social->height());
        QVERIFY(social->displayedTitle().endsWith(QChar(0x2026)));
        QVERIFY(QFontMetrics(social->font()).horizontalAdvance(social->displayedTitle()) <=
                social->titleRect().width());
    }
};

MARTEN_TEST_MAIN(TestSignInView)
#include "tst_signinview.moc"
