#include "core/OnboardingFlow.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"
#include "ui/NavigationControls.h"

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
// `names` gathers the controls' names, `roles` every role met.
void collectProblems(QAccessibleInterface* iface, const QString& path, QStringList& problems,
                     QStringList& names, QList<QAccessible::Role>& roles)
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
    if (isInteractive(iface) && names.contains(name))
        problems << QStringLiteral("a second control named \"") + name + QStringLiteral("\" at ") +
                        where;
    if (isInteractive(iface))
        names << name;
    roles << iface->role();
    if (iface->role() == QAccessible::Graphic && name.isEmpty())
        problems << QStringLiteral("unnamed image at ") + where;
    for (int i = 0; i < iface->childCount(); ++i)
        collectProblems(iface->child(i), where, problems, names, roles);
}

QStringList problemsIn(QWidget* window, const QString& step, QList<QAccessible::Role>* roles)
{
    QStringList problems, names;
    QList<QAccessible::Role> met;
    collectProblems(QAccessible::queryAccessibleInterface(window), step, problems, names, met);
    if (roles)
        *roles = met;
    return problems;
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
            const QStringList problems = problemsIn(window, step, nullptr);
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

            // Focus starts on the step's main control, and Tab reaches every button.
            QWidget* focused = QApplication::focusWidget();
            QVERIFY2(focused && qobject_cast<QAbstractButton*>(focused),
                     qPrintable(step + QStringLiteral(": no button has the focus")));
            QSet<QWidget*> reached;
            QList<QWidget*> order;
            for (int tab = 0; tab < 40; ++tab) {
                reached.insert(QApplication::focusWidget());
                order.append(QApplication::focusWidget());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            // Tab from the step's control reaches Close last, so Tab then Space cannot end
            // the onboarding by accident.
            QVERIFY2(order.at(1) != static_cast<QWidget*>(window->closeButton()) ||
                         reached.size() == 2,
                     qPrintable(step + QStringLiteral(": the first Tab lands on Close")));
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

    // "Coming soon" is met as an alert, inside the window, with its button focused; while it
    // is up no two controls share a name.
    void comingSoonIsAnAlert()
    {
        test::OnboardingRun run(Variant::Full, false);
        QVERIFY(run.ready);
        OnboardingWindow* window = &run.window;
        while (window->flow().currentStep() != FTUEStep::signIn)
            window->flow().nextStep();
        QTest::qWait(0);
        auto* facebook = window->findChild<QAbstractButton*>("continueWithFacebookButton");
        QVERIFY(facebook);
        QWidget* focusedBefore = QApplication::focusWidget();
        QTest::mouseClick(facebook, Qt::LeftButton);
        QList<QAccessible::Role> roles;
        const QStringList problems = problemsIn(window, "alert", &roles);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QVERIFY(roles.contains(QAccessible::AlertMessage));
        QWidget* ok = QApplication::focusWidget();
        QVERIFY(ok && ok->objectName() == "okButton" && ok->window() == window);
        QTest::keyClick(ok, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), focusedBefore);
    }
};

MARTEN_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
