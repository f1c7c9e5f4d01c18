#include "support/TestEnv.h"
#include "ui/IconLabel.h"
#include "ui/NavigationControls.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QVBoxLayout>

using namespace marten;

namespace {

bool hasGraphic(QAccessibleInterface* iface)
{
    if (!iface)
        return false;
    if (iface->role() == QAccessible::Graphic)
        return true;
    for (int i = 0; i < iface->childCount(); ++i) {
        if (hasGraphic(iface->child(i)))
            return true;
    }
    return false;
}

int pixelsNear(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green()) +
                    qAbs(c.blue() - colour.blue()) <=
                6)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestSymbols final : public QObject {
    Q_OBJECT
private slots:
    // The row paints its symbol and speaks only its title.
    void iconLabelPaintsItsSymbolOutsideTheTree()
    {
        QWidget window;
        auto* row = new IconLabel(QStringLiteral("circle.fill"), QStringLiteral("Ready"),
                                  theme::TextStyle::Body, theme::red(), &window);
        window.resize(200, 40);
        row->adjustSize();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(row);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Ready"));
        QVERIFY(!hasGraphic(iface));
        const QImage image = test::render(row);
        QVERIFY(pixelsNear(image, row->symbolRect(), theme::red()) > 100);
    }

    void decorativeSymbolIsPaintedByItsHost()
    {
        QWidget host;
        auto* layout = new QVBoxLayout(&host);
        layout->setContentsMargins(10, 10, 10, 10);
        layout->addItem(decorativeSymbol(QStringLiteral("circle.fill"), 40, theme::green(), &host));
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QCOMPARE(host.sizeHint(), QSize(60, 60));
        QCOMPARE(QAccessible::queryAccessibleInterface(&host)->childCount(), 0);
        const QImage image = test::render(&host);
        QCOMPARE(image.pixelColor(host.width() / 2, host.height() / 2), theme::green());
    }

    // The chevron is stroked at full weight: a dozen or so solid pixels meant a line too
    // thin to read.
    void backChevronHasWeight()
    {
        BackButton back;
        back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&back));
        const QImage image = test::render(&back);
        int solid = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                solid += qGray(image.pixel(x, y)) <= 0x8f;
        }
        QVERIFY2(solid >= 25, qPrintable(QString::number(solid)));
    }
};

MARTEN_TEST_MAIN(TestSymbols)
#include "tst_symbols.moc"
