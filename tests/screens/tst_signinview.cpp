#include "core/OnboardingFlow.h"
#include "screens/SignInView.h"
#include "screens/StepTable.h"
#include "screens/WelcomeView.h"
#include "support/TestEnv.h"
#include "ui/FocusRing.h"
#include "ui/GIFMovieView.h"
#include "ui/MartenSocialButton.h"
#include "ui/Spinner.h"

#include <QAbstractButton>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

using namespace marten;
using Form = WelcomeView::AnimationForm;

// Screens built on their own over fake services: the sign-in and the welcome step.
class TestSignInView final : public QObject {
    Q_OBJECT

private slots:
    // The tabbed-to field shows the ring, Return does nothing; the rest say "Coming soon".
    void fullVariant()
    {
        fake::Services services;
        OnboardingFlow flow(onboardingSteps(), Variant::Full, services.platform);
        SignInView view({flow.traits(), services.platform, flow});
        QSignalSpy skips(&view, &SignInView::skipRequested);
        QSignalSpy signIns(&view, &SignInView::signInRequested);
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
                QTest::mouseClick(alert->findChild<QAbstractButton*>(), Qt::LeftButton);
                QTRY_VERIFY(!view.isShowingComingSoon());
            }
        QTest::mouseClick(view.findChild<QAbstractButton*>("skipButton"), Qt::LeftButton);
        QVERIFY(skips.count() == 1 && signIns.isEmpty() && services.bus.posted.isEmpty());
        QVERIFY(services.console.lines().filter("secret-user").isEmpty());

        // Squeezed, a social button's title ends in an ellipsis and still fits its place.
        auto* social = view.findChild<MartenSocialButton*>("continueWithFacebookButton");
        social->resize(160, social->height());
        QVERIFY(social->displayedTitle().endsWith(QChar(0x2026)));
        QVERIFY(QFontMetrics(social->font()).horizontalAdvance(social->displayedTitle()) <=
                social->titleRect().width());
    }

    // Welcome: the GIF, else the still image (a spinner until decoded, for good if it cannot
    // be), else the microphone. Rows: form, glowy.png's size (invalid: none; empty: unreadable).
    void welcomeShowsTheFormOfWhatExists()
    {
        using enum Form;
        const std::tuple<Form, QSize, QRect> rows[] = {
            {GIF, QSize(40, 40), QRect()},
            {StillImage, QSize(400, 100), QRect(0, 75, 200, 50)},
            {StillImage, QSize(20, 40), QRect(50, 0, 100, 200)},
            {StillImage, QSize(0, 0), QRect()},
            {Symbol, QSize(), QRect()},
        };
        for (const auto& [form, png, still] : rows) {
            QTemporaryDir resources;
            const QString gif = resources.filePath("glowy.gif");
            QVERIFY(form != GIF || QFile::copy(MARTEN_SOURCE_DIR "/assets/glowy.gif", gif));
            QImage image(png, QImage::Format_RGB32);
            image.fill(Qt::blue);
            const QString pngPath = resources.filePath("glowy.png"); // unreadable: a source file
            QVERIFY(!png.isValid() || image.save(pngPath) ||
                    QFile::copy(MARTEN_SOURCE_DIR "/tests/screens/tst_signinview.cpp", pngPath));
            fake::Services services;
            services.platform.assets = {resources.filePath("no-home"), {}, resources.path()};
            OnboardingFlow flow(onboardingSteps(), Variant::Full, services.platform);
            WelcomeView view({flow.traits(), services.platform, flow});
            QCOMPARE(bool(view.findChild<GIFMovieView*>()), form == GIF);
            QCOMPARE(bool(view.findChild<QWidget*>("symbol:mic.fill")), form == Symbol);
            QCOMPARE(bool(view.findChild<Spinner*>()), form == StillImage);
            for (const bool visible : {true, false, true}) // on screen twice: two lines, no more
                view.setVisible(visible);
            QCOMPARE(services.console.lines(),
                     QStringList(form == GIF ? 2 : 0, "GIF found at: " + gif));
            if (form != StillImage)
                continue;
            QSignalSpy decoded(view.findChild<QFutureWatcherBase*>(),
                               &QFutureWatcherBase::finished);
            QTRY_COMPARE(decoded.count(), 1);
            const auto* label = view.findChild<QLabel*>("welcomeStillImage");
            QTRY_COMPARE(label ? label->geometry() : QRect(), still);
            QCOMPARE(bool(view.findChild<Spinner*>()), still.isEmpty());
        }
    }
};

MARTEN_TEST_MAIN(TestSignInView)
#include "tst_signinview.moc"
