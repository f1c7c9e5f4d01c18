#include "support/TestEnv.h"

#include "core/Variant.h"
#include "fakes/Fakes.h"
#include "screens/PermissionsView.h"

#include <QAbstractButton>
#include <QSignalSpy>

using namespace marten;

class TestPermissionsView final : public QObject {
    Q_OBJECT

private slots:
    // The screen shows the state it is given and reports the button's press; the timing is
    // the flow's (tests/core).
    void showsTheStateAndReportsThePress()
    {
        fake::Services f;
        PermissionsView view({traitsFor(Variant::Simple), f.platform});
        view.show();
        const auto shows = [&](const char* name) {
            return view.findChild<QWidget*>(name)->isVisible();
        };
        QVERIFY(shows("openSettingsButton") && !shows("checkingRow") && !shows("grantedLabel"));
        QSignalSpy pressed(&view, &PermissionsView::openHelpRequested);
        QTest::mouseClick(view.findChild<QAbstractButton*>(), Qt::LeftButton);
        QCOMPARE(pressed.count(), 1);
        view.showAccess(false, true);
        QVERIFY(shows("openSettingsButton") && shows("checkingRow") && !shows("grantedLabel"));
        view.showAccess(true, false);
        QVERIFY(!shows("openSettingsButton") && !shows("checkingRow") && shows("grantedLabel"));
    }
};

MARTEN_TEST_MAIN(TestPermissionsView)
#include "tst_permissionsview.moc"
