#include "support/TestEnv.h"

#include "flow/Variant.h"
#include "platform/fake/Fakes.h"
#include "screens/PermissionsView.h"
#include "ui/Buttons.h"

#include <QSignalSpy>

#include <memory>

using namespace marten;
using namespace std::chrono_literals;

namespace {

// One screen on its own, with fake services and a counter for onGranted.
struct Screen {
    explicit Screen(Variant variant, bool trusted = false)
    {
        services.probe.trusted = trusted;
        view = std::make_unique<PermissionsView>(
            ScreenContext{traitsFor(variant), services.platform}, [this] { ++granted; });
    }
    StyledButton* openButton() const
    {
        return view->findChild<StyledButton*>(QStringLiteral("openSettingsButton"));
    }
    bool shows(const char* name) const
    {
        auto* w = view->findChild<QWidget*>(QLatin1String(name));
        return w && w->isVisible();
    }
    void advanceTo(std::chrono::milliseconds t)
    {
        services.scheduler.advance(t - services.scheduler.now());
    }

    fake::Services services;
    std::unique_ptr<PermissionsView> view;
    int granted = 0;
};

struct HideCounter final : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Hide ? 1 : 0;
        return false;
    }
    int count = 0;
};

} // namespace

class PermissionsViewTest : public QObject {
    Q_OBJECT

private slots:
    void variants_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::newRow("full") << Variant::Full;
        QTest::newRow("simple") << Variant::Simple;
    }

    void alreadyGrantedOnAppear_data() { variants_data(); }
    void alreadyGrantedOnAppear()
    {
        QFETCH(Variant, variant);
        Screen s(variant, true);
        s.view->show();
        QVERIFY(s.view->permissionGranted());
        QVERIFY(!s.view->isChecking());
        QVERIFY(s.shows("grantedLabel"));
        QVERIFY(!s.openButton()->isVisible());
        QVERIFY(!s.shows("checkingRow"));

        s.advanceTo(499ms);
        QCOMPARE(s.granted, 0);
        s.advanceTo(500ms);
        QCOMPARE(s.granted, 1);
        s.advanceTo(10s);
        QCOMPARE(s.granted, 1);
        QCOMPARE(s.services.urls.opened.size(), 0);
    }

    void clickThenGrantAfterThreeAndAHalfSeconds_data() { variants_data(); }
    void clickThenGrantAfterThreeAndAHalfSeconds()
    {
        QFETCH(Variant, variant);
        Screen s(variant);
        s.view->show();
        QTest::mouseClick(s.openButton(), Qt::LeftButton);

        QCOMPARE(s.services.urls.opened.size(), 1);
        QCOMPARE(s.services.urls.opened.first().toString(),
                 QStringLiteral("x-apple.systempreferences:com.apple.preference.security"
                                "?Privacy_Accessibility"));
        QVERIFY(s.view->isChecking());
        QVERIFY(s.shows("checkingRow"));
        QVERIFY(s.openButton()->isVisible());

        // The first look at the probe comes one full second after the click.
        const int before = s.services.probe.calls;
        s.advanceTo(999ms);
        QCOMPARE(s.services.probe.calls.load(), before);
        s.advanceTo(1000ms);
        QCOMPARE(s.services.probe.calls.load(), before + 1);

        s.advanceTo(3500ms);
        s.services.probe.trusted = true;
        s.advanceTo(3999ms);
        QVERIFY(s.view->isChecking());
        QVERIFY(s.shows("checkingRow"));

        s.advanceTo(4000ms);
        QVERIFY(!s.view->isChecking());
        QVERIFY(s.view->permissionGranted());
        QVERIFY(!s.shows("checkingRow"));
        QVERIFY(s.shows("grantedLabel"));
        QVERIFY(!s.openButton()->isVisible());
        const int callsAtGrant = s.services.probe.calls;

        s.advanceTo(4999ms);
        QCOMPARE(s.granted, 0);
        s.advanceTo(5000ms);
        QCOMPARE(s.granted, 1);
        s.advanceTo(20s);
        QCOMPARE(s.granted, 1);
        QCOMPARE(s.services.probe.calls.load(), callsAtGrant);
    }

    // Every extra click used to start another timer, and each one moved the flow on.
    void repeatedClicksKeepOnePoll()
    {
        Screen s(Variant::Simple);
        s.view->show();
        QTest::mouseClick(s.openButton(), Qt::LeftButton);
        s.advanceTo(400ms);
        s.openButton()->setFocus();
        QTest::keyClick(s.openButton(), Qt::Key_Space);
        s.advanceTo(700ms);
        QTest::mouseClick(s.openButton(), Qt::LeftButton);
        QCOMPARE(s.services.urls.opened.size(), 3); // each click reopens the settings page
        QCOMPARE(s.services.scheduler.pendingCount(), 1);

        const int before = s.services.probe.calls;
        s.advanceTo(5s);
        QCOMPARE(s.services.probe.calls.load() - before, 5); // the first click's poll: 1 s .. 5 s
        s.services.probe.trusted = true;
        s.advanceTo(30s);
        QCOMPARE(s.granted, 1);
    }

    void puttingTheScreenAwayStopsEverything()
    {
        {
            // Hidden while polling: no tick, no callback, not checking any more.
            Screen s(Variant::Full);
            s.view->show();
            QTest::mouseClick(s.openButton(), Qt::LeftButton);
            s.advanceTo(1500ms);
            s.view->hide();
            QVERIFY(!s.view->isChecking());
            const int calls = s.services.probe.calls;
            s.services.probe.trusted = true;
            s.advanceTo(30s);
            QCOMPARE(s.services.probe.calls.load(), calls);
            QCOMPARE(s.granted, 0);
        }
        {
            // Hidden between seeing the grant and the delayed callback.
            Screen s(Variant::Full);
            s.view->show();
            QTest::mouseClick(s.openButton(), Qt::LeftButton);
            s.services.probe.trusted = true;
            s.advanceTo(1500ms);
            QVERIFY(s.view->permissionGranted());
            s.view->hide();
            s.advanceTo(30s);
            QCOMPARE(s.granted, 0);
        }
        {
            // Destroyed while polling.
            Screen s(Variant::Simple);
            s.view->show();
            QTest::mouseClick(s.openButton(), Qt::LeftButton);
            s.view.reset();
            s.services.probe.trusted = true;
            s.advanceTo(30s);
            QCOMPARE(s.services.scheduler.pendingCount(), 0);
            QCOMPARE(s.granted, 0);
        }
    }

    // A minimised window is still on the same step: the poll must go on.
    void minimisingTheWindowKeepsPolling()
    {
        fake::Services services;
        int granted = 0;
        QWidget window;
        auto* view = new PermissionsView(
            ScreenContext{traitsFor(Variant::Full), services.platform}, [&] { ++granted; },
            &window);
        window.show();
        QTest::mouseClick(view->findChild<StyledButton*>(QStringLiteral("openSettingsButton")),
                          Qt::LeftButton);
        HideCounter hides;
        view->installEventFilter(&hides);
        window.setWindowState(Qt::WindowMinimized);
        QTRY_COMPARE(hides.count, 1);
        services.probe.trusted = true;
        services.scheduler.advance(2s);
        QCOMPARE(granted, 1);
    }
};

MARTEN_TEST_MAIN(PermissionsViewTest)
#include "tst_permissionsview.moc"
