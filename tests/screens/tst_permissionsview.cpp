#include "support/TestEnv.h"

#include "core/Variant.h"
#include "fakes/Fakes.h"
#include "screens/PermissionsView.h"
#include "ui/Theme.h"

#include <QAbstractButton>
#include <QLabel>

using namespace marten;
using namespace std::chrono_literals;

namespace {

struct Screen {
    explicit Screen(Variant variant, bool grantedAtStart = false)
        : view(new PermissionsView({traitsFor(variant), f.platform, f.watcher}))
    {
        QObject::connect(view.get(), &PermissionsView::granted, [this] { ++granted; });
        f.probe.granted = grantedAtStart;
        view->show();
    }
    bool shows(const char* name) const { return view->findChild<QWidget*>(name)->isVisible(); }
    void click() const { QTest::mouseClick(view->findChild<QAbstractButton*>(), Qt::LeftButton); }
    // Moves the fake clock to `t`: how many looks at the probe and granted() signals by then.
    std::pair<int, int> at(std::chrono::milliseconds t)
    {
        f.scheduler.advance(t - f.scheduler.now());
        return {f.probe.calls, granted};
    }

    fake::Services f;
    std::unique_ptr<PermissionsView> view;
    int granted = 0;
};

} // namespace

class TestPermissionsView final : public QObject {
    Q_OBJECT

private slots:
    void alreadyGrantedOnAppear()
    {
        Screen s(Variant::Full, true);
        QVERIFY(s.shows("grantedLabel") && !s.shows("openSettingsButton") &&
                !s.shows("checkingRow"));
        QCOMPARE(s.at(499ms).second, 0);
        QCOMPARE(s.at(500ms).second, 1);
        QCOMPARE(s.at(10s).second, 1);
    }

    void clickThenGrantAtThreeAndAHalfSeconds()
    {
        Screen s(Variant::Simple);
        auto* shield = s.view->findChild<QLabel*>("shieldSymbol"); // in the simple program only
        QCOMPARE(shield->pixmap().toImage().pixelColor(40, 2), theme::orange()); // its top edge
        s.click();
        s.f.probe.calls = 0;
        QCOMPARE(s.at(999ms), std::pair(0, 0)); // first look a full second after the click
        QCOMPARE(s.at(1000ms), std::pair(1, 0));
        // A second click only shows the help again; it starts no second poll.
        s.at(1200ms);
        s.click();
        QCOMPARE(s.f.inputAccessHelp.shown, 2);
        s.at(3500ms);
        s.f.probe.granted = true;
        QCOMPARE(s.at(3999ms), std::pair(3, 0));
        QVERIFY(s.shows("checkingRow") && s.shows("openSettingsButton"));
        QCOMPARE(s.at(4000ms), std::pair(4, 0));
        QVERIFY(s.shows("grantedLabel") && !s.shows("checkingRow"));
        QCOMPARE(shield->pixmap().toImage().pixelColor(40, 2), theme::green());
        QCOMPARE(s.at(4999ms), std::pair(4, 0));
        QCOMPARE(s.at(5000ms), std::pair(4, 1));
        QCOMPARE(s.at(20s), std::pair(4, 1)); // and no look after the grant
    }

    // A screen put away must never move the flow on again, whether its poll is running or
    // its delayed call is waiting. A minimised window (a spontaneous hide) is still on the step.
    void leavingTheScreen()
    {
        for (const bool grantSeen : {false, true}) {
            for (const QString& how : QStringList{"hide", "destroy", "minimise"}) {
                Screen s(Variant::Full);
                s.click();
                s.f.probe.granted = grantSeen;
                s.at(1500ms);
                how == "destroy" ? s.view.reset()
                : how == "hide"  ? s.view->hide()
                                 : s.view->setWindowState(Qt::WindowMinimized);
                s.f.probe.granted = true;
                QCOMPARE(s.at(30s).second, how == "minimise" ? 1 : 0);
                QCOMPARE(s.f.scheduler.pendingCount(), 0);
            }
        }
    }
};

MARTEN_TEST_MAIN(TestPermissionsView)
#include "tst_permissionsview.moc"
