#include "flow/FTUEView.h"
#include "platform/fake/Fakes.h"
#include "screens/MartenSocialButton.h"
#include "screens/SignInView.h"
#include "support/TestEnv.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <memory>

using namespace marten;

class TestSignInView final : public QObject {
    Q_OBJECT

    std::unique_ptr<fake::Services> m_services;
    std::unique_ptr<SignInView> m_view;
    int m_skips = 0;
    int m_signIns = 0;

    void makeFull()
    {
        const ScreenContext context{traitsFor(Variant::Full), m_services->platform};
        m_view = std::make_unique<SignInView>(
            context, [this] { ++m_skips; }, [this] { ++m_signIns; });
        m_view->resize(729, 400); // the flow's step area
        m_view->show();
    }

    QAbstractButton* button(QWidget* root, const char* name) const
    {
        return root->findChild<QAbstractButton*>(QLatin1String(name));
    }

    QDialog* visibleAlert() const
    {
        QDialog* alert = m_view->comingSoonAlert();
        return alert && alert->isVisible() ? alert : nullptr;
    }

private slots:
    void init()
    {
        m_services = std::make_unique<fake::Services>();
        m_skips = m_signIns = 0;
    }

    void cleanup()
    {
        m_view.reset();
        m_services.reset();
    }

    void googleAndSkip()
    {
        makeFull();
        QAbstractButton* google = button(m_view.get(), "continueWithGoogleButton");
        QTest::mouseClick(google, Qt::LeftButton);
        QTest::mouseClick(google, Qt::LeftButton);
        QTest::mouseClick(button(m_view.get(), "skipButton"), Qt::LeftButton);
        QCOMPARE(m_signIns, 2);
        QCOMPARE(m_skips, 1);
        QVERIFY(!visibleAlert());
        // No logo files here: the gray square stands in, the button above still worked.
        QCOMPARE(qobject_cast<MartenSocialButton*>(google)->iconStatus(),
                 MartenSocialButton::IconStatus::Missing);
    }

    // Every button but Google says "Coming soon", again after each dismissal.
    void comingSoonAlert_data()
    {
        QTest::addColumn<QByteArray>("buttonName");
        QTest::addColumn<QString>("typed");
        QTest::newRow("facebook") << QByteArray("continueWithFacebookButton") << QString();
        QTest::newRow("apple") << QByteArray("continueWithAppleButton") << QString();
        QTest::newRow("continue") << QByteArray("continueButton") << QString();
        QTest::newRow("continue with text") << QByteArray("continueButton") << QStringLiteral("me");
    }
    void comingSoonAlert()
    {
        QFETCH(QByteArray, buttonName);
        QFETCH(QString, typed);
        makeFull();
        QTest::keyClicks(m_view->findChild<QLineEdit*>(QStringLiteral("emailField")), typed);
        QAbstractButton* trigger = button(m_view.get(), buttonName.constData());
        for (int round = 0; round < 3; ++round) {
            QTest::mouseClick(trigger, Qt::LeftButton);
            QDialog* alert = visibleAlert();
            QVERIFY(alert);
            QCOMPARE(alert->windowModality(), Qt::WindowModal);
            QStringList texts;
            for (QLabel* label : alert->findChildren<QLabel*>())
                texts << label->text();
            QCOMPARE(texts, (QStringList{QStringLiteral("Coming soon"),
                                         QStringLiteral("This action will be enabled shortly.")}));
            const auto buttons = alert->findChildren<QAbstractButton*>();
            QCOMPARE(buttons.size(), 1);
            QCOMPARE(buttons.first()->text(), QStringLiteral("OK"));
            // OK, or Escape (the cancel role), dismisses it.
            if (round == 2)
                QTest::keyClick(alert, Qt::Key_Escape);
            else
                QTest::mouseClick(buttons.first(), Qt::LeftButton);
            QTRY_VERIFY(!visibleAlert());
            QVERIFY(!m_view->isShowingComingSoon());
        }
        QCOMPARE(m_signIns + m_skips, 0);
    }

    void returnInTheFieldDoesNothing()
    {
        makeFull();
        auto* field = m_view->findChild<QLineEdit*>(QStringLiteral("emailField"));
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("secret-user"));
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(field->text(), QStringLiteral("secret-user"));
        QVERIFY(!visibleAlert());
        QCOMPARE(m_signIns + m_skips, 0);
        QVERIFY(m_services->console.lines().isEmpty());
    }

    void socialButtonsAreInset()
    {
        makeFull();
        for (auto* b : m_view->findChildren<MartenSocialButton*>()) {
            QCOMPARE(b->mapTo(m_view.get(), QPoint()).x(), 56);
            QCOMPARE(b->width(), m_view->width() - 2 * 56);
        }
        QCOMPARE(button(m_view.get(), "continueButton")->width(), m_view->width() - 2 * 56);
    }

    // Simple program, through the flow: the browser opens and the next step shows at once.
    void simpleSignIn_data()
    {
        QTest::addColumn<QByteArray>("buttonName");
        QTest::addColumn<QList<QUrl>>("opened");
        QTest::newRow("sign in") << QByteArray("signInWithGoogleButton")
                                 << QList<QUrl>{QUrl(QStringLiteral(
                                        "https://api.marten.app/api/v1/auth/google"))};
        QTest::newRow("skip") << QByteArray("skipButton") << QList<QUrl>{};
    }
    void simpleSignIn()
    {
        QFETCH(QByteArray, buttonName);
        QFETCH(QList<QUrl>, opened);
        QTemporaryDir home;
        m_services->platform.homeDir = home.path();
        m_services->probe.trusted = true;
        FTUEView flow(Variant::Simple, m_services->platform);
        flow.show();
        QTRY_VERIFY(!flow.isLoading());
        while (flow.currentStep() && *flow.currentStep() != FTUEStep::signIn)
            flow.nextStep();
        QVERIFY(flow.currentScreen()->height() > 300); // it fills the step area
        QTest::mouseClick(button(flow.currentScreen(), buttonName.constData()), Qt::LeftButton);
        QCOMPARE(m_services->urls.opened, opened);
        QCOMPARE(flow.currentStep(), FTUEStep::testIt);
    }
};

MARTEN_TEST_MAIN(TestSignInView)
#include "tst_signinview.moc"
