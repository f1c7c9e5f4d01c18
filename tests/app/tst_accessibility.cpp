#include "core/OnboardingFlow.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"

#include <QAbstractButton>
#include <QAccessible>

using namespace marten;

namespace {

bool isInteractive(const QAccessibleInterface* iface)
{
    using A = QAccessible;
    static const QList<A::Role> controls{A::PushButton,   A::CheckBox, A::RadioButton,
                                         A::EditableText, A::ComboBox, A::Link,
                                         A::SpinBox,      A::Slider};
    return controls.contains(iface->role()) || iface->state().focusable;
}

// Walks the accessibility tree and lists every interactive element and every image without a
// name. A picture that only decorates is painted by its owner and is not in the tree at all.
void collectProblems(QAccessibleInterface* iface, const QString& path, QStringList& problems)
{
    if (!iface || !iface->isValid() || iface->state().invisible)
        return;
    const QString name = iface->text(QAccessible::Name).trimmed();
    const QObject* object = iface->object();
    const QString where =
        path + QLatin1Char('/') +
        (object && !object->objectName().isEmpty() ? object->objectName()
                                                   : QString::number(int(iface->role()), 16));
    if (isInteractive(iface) && name.isEmpty())
        problems << QStringLiteral("unnamed control at ") + where;
    if (iface->role() == QAccessible::Graphic && name.isEmpty())
        problems << QStringLiteral("unnamed image at ") + where;
    for (int i = 0; i < iface->childCount(); ++i)
        collectProblems(iface->child(i), where, problems);
}

} // namespace

class TestAccessibility final : public QObject {
    Q_OBJECT

private slots:
    void everyStepIsNamedAndReachable_data() { test::addEveryScreenRows(); }

    void everyStepIsNamedAndReachable()
    {
        QFETCH(Variant, variant);
        QFETCH(bool, signedIn);
        test::OnboardingRun run(variant, signedIn);
        QVERIFY(run.ready);
        OnboardingWindow* window = &run.window;
        for (qsizetype i = 0; i < window->flow().steps().size(); ++i) {
            const QString step = stepName(window->flow().steps().at(i));
            QTest::qWait(0);
            QStringList problems;
            collectProblems(QAccessible::queryAccessibleInterface(window), step, problems);
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

            // Focus starts on the step's main control, and Tab reaches every button.
            QWidget* focused = QApplication::focusWidget();
            QVERIFY2(focused && qobject_cast<QAbstractButton*>(focused),
                     qPrintable(step + QStringLiteral(": no button has the focus")));
            QSet<QWidget*> reached;
            for (int tab = 0; tab < 40; ++tab) {
                reached.insert(QApplication::focusWidget());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            const auto buttons = window->findChildren<QAbstractButton*>();
            for (QAbstractButton* button : buttons) {
                if (button->isVisibleTo(window) && button->isEnabled())
                    QVERIFY2(reached.contains(button),
                             qPrintable(step + QStringLiteral(": Tab never reaches ") +
                                        button->accessibleName()));
            }
            window->flow().nextStep();
        }
    }
};

MARTEN_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
