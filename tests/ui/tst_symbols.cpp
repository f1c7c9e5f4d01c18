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
    for (int i = 0; iface && i < iface->childCount(); ++i) {
        if (hasGraphic(iface->child(i)))
            return true;
    }
    return iface && iface->role() == QAccessible::Graphic;
}

} // namespace

class TestSymbols final : public QObject {
    Q_OBJECT
private slots:
    // A symbol that decorates is painted by its owner, where it is laid out, and stays out of
    // the accessibility tree: the row speaks only its title.
    void symbolsArePaintedOutsideTheTree()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* row = new IconLabel("circle.fill", "Ready", theme::TextStyle::Body, theme::red());
        layout->addWidget(row);
        layout->addItem(decorativeSymbol("circle.fill", 40, theme::green(), &window));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(row);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Ready"));
        QVERIFY(!hasGraphic(QAccessible::queryAccessibleInterface(&window)));
        QVERIFY(test::pixelsNear(test::render(row), row->symbolRect(), theme::red()) > 100);
        const QPoint centre = layout->itemAt(1)->geometry().center();
        QCOMPARE(test::render(&window).pixelColor(centre), theme::green());
    }
};

MARTEN_TEST_MAIN(TestSymbols)
#include "tst_symbols.moc"
