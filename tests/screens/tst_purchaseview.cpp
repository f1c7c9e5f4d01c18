#include "fakes/Fakes.h"
#include "screens/PurchaseView.h"
#include "support/TestEnv.h"

#include <QAbstractButton>

using namespace marten;

class TestPurchaseView final : public QObject {
    Q_OBJECT

private slots:
    void buttons()
    {
        fake::Services services;
        int skips = 0, purchases = 0;
        PurchaseView view({traitsFor(Variant::Full), services.platform});
        connect(&view, &PurchaseView::skipRequested, [&] { ++skips; });
        connect(&view, &PurchaseView::purchaseRequested, [&] { ++purchases; });
        view.show();
        for (int press = 0; press < 2; ++press)
            QTest::mouseClick(view.findChild<QAbstractButton*>("subscribeButton"), Qt::LeftButton);
        QCOMPARE(purchases, 2);
        QTest::mouseClick(view.findChild<QAbstractButton*>("skipButton"), Qt::LeftButton);
        QCOMPARE(std::pair(skips, purchases), std::pair(1, 2));
        QVERIFY(services.bus.posted.isEmpty() && services.urls.opened.isEmpty());
    }
};

MARTEN_TEST_MAIN(TestPurchaseView)
#include "tst_purchaseview.moc"
