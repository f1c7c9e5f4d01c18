#include "platform/fake/Fakes.h"
#include "screens/PurchaseView.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"

using namespace marten;

class TestPurchaseView final : public QObject {
    Q_OBJECT

private slots:
    void buttons()
    {
        fake::Services services;
        int skips = 0;
        int purchases = 0;
        PurchaseView view(
            {traitsFor(Variant::Full), services.platform}, [&] { ++skips; }, [&] { ++purchases; });
        view.resize(729, 400);
        view.show();
        auto* subscribe = view.findChild<StyledButton*>(QStringLiteral("subscribeButton"));
        auto* skip = view.findChild<StyledButton*>(QStringLiteral("skipButton"));
        QTest::mouseClick(subscribe, Qt::LeftButton);
        QTest::mouseClick(subscribe, Qt::LeftButton);
        QCOMPARE(purchases, 2);
        QCOMPARE(skips, 0);
        QTest::mouseClick(skip, Qt::LeftButton);
        QCOMPARE(skips, 1);
        QCOMPARE(purchases, 2);

        // The label is held to 200 px at least, and the style's insets come on top.
        QVERIFY(subscribe->width() >= 200 + 2 * 16);
        QVERIFY(skip->y() > subscribe->y() + subscribe->height());
    }
};

MARTEN_TEST_MAIN(TestPurchaseView)
#include "tst_purchaseview.moc"
