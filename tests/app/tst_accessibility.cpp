#include "app/FTUEView.h"
#include "app/Translations.h"
#include "core/OnboardingFlow.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QScopeGuard>
#include <QTranslator>

using namespace marten;

namespace {

// One walk of the accessibility tree: images and controls named, no description as its name.
struct Tree {
    QStringList problems, controls, texts, focused;

    void walk(QAccessibleInterface* iface, const QString& path)
    {
        if (!iface || !iface->isValid() || iface->state().invisible)
            return;
        using A = QAccessible;
        const QString name = iface->text(A::Name).trimmed();
        const QObject* object = iface->object();
        const QString where = path + '/' + (object ? object->objectName() : QString()) + ':' +
                              QString::number(int(iface->role()), 16);
        const bool control = iface->state().focusable ||
                             QList{A::PushButton, A::CheckBox, A::RadioButton, A::EditableText,
                                   A::ComboBox,   A::Link,     A::SpinBox,     A::Slider}
                                 .contains(iface->role());
        if ((control || iface->role() == A::Graphic) && name.isEmpty())
            problems << "nothing names " + where;
        if (control && controls.contains(name))
            problems << "a second control named \"" + name + "\" at " + where;
        if (control)
            controls << name;
        if (!name.isEmpty() && iface->role() != A::EditableText &&
            iface->text(A::Description).trimmed() == name)
            problems << "the description repeats the name at " + where;
        if (iface->state().focused)
            focused << where;
        texts << name;
        for (int i = 0; i < iface->childCount(); ++i)
            walk(iface->child(i), where);
    }
    Tree(QWidget* top, const QString& step)
    {
        walk(QAccessible::queryAccessibleInterface(top), step);
    }
};

} // namespace

class TestAccessibility final : public QObject {
    Q_OBJECT

private slots:
    void everyStep_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("full, signed out") << Variant::Full << false;
        QTest::newRow("full, signed in (purchase)") << Variant::Full << true;
        QTest::newRow("simple, signed out") << Variant::Simple << false;
    }

    // Every step in English: named, keyboard-reachable controls, no shadow clipped, our words.
    void everyStep()
    {
        QFETCH(Variant, variant);
        QFETCH(bool, signedIn);
        QTranslator english;
        QVERIFY(loadTranslation(english, QLocale("en_US")));
        QCoreApplication::installTranslator(&english);
        const auto uninstall = qScopeGuard([&] { QCoreApplication::removeTranslator(&english); });
        test::OnboardingRun run(variant, signedIn);
        QVERIFY(run.ready);
        OnboardingWindow* window = &run.window;
        QStringList shown{window->windowTitle()};
        const auto* bar = window->findChild<ProgressBar*>();
        QCOMPARE(bool(window->windowFlags() & Qt::WindowStaysOnTopHint),
                 variant == Variant::Simple);
        for (const StepRow* current : window->flow().steps()) {
            const QString step = stepName(current);
            QTest::qWait(0);
            const Tree tree(window, step);
            QVERIFY2(tree.problems.isEmpty(), qPrintable(tree.problems.join('\n')));
            shown << tree.texts;

            // Focus on the step (a group) alone; Tab reaches all buttons, Close last.
            QWidget* focused = QApplication::focusWidget();
            QCOMPARE(focused, window->view()->currentScreen());
            QAccessibleInterface* group = QAccessible::queryAccessibleInterface(focused);
            QVERIFY(group->role() == QAccessible::Grouping && group->state().focused);
            QVERIFY2(tree.focused.size() == 1, qPrintable(step + ": " + tree.focused.join(',')));
            QList<QWidget*> order;
            for (int tab = 0; tab < 40; ++tab) {
                order.append(QApplication::focusWidget());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            QVERIFY2(qobject_cast<QAbstractButton*>(order.at(1)) &&
                         order.at(1) != window->closeButton() &&
                         order.at(1) != window->findChild<QWidget*>("backButton"),
                     qPrintable(step + ": the first Tab lands on Back or Close"));
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
                QVERIFY2(!button->isVisibleTo(window) || !button->isEnabled() ||
                             order.contains(button),
                         qPrintable(step + ": Tab never reaches " + button->accessibleName()));

            // Widgets between a blue button and the view hold its shadow (blur 14 px, dropped 4).
            FTUEView* view = window->view();
            for (StyledButton* button : view->findChildren<StyledButton*>()) {
                if (!button->isVisibleTo(view) || button->style() != ButtonStyle::AlwaysBlue)
                    continue;
                const QRect reach = button->rect().adjusted(-14, -10, 14, 18);
                for (QWidget* w = button->parentWidget(); w != view; w = w->parentWidget())
                    QVERIFY2(
                        w->rect().contains(QRect(button->mapTo(w, reach.topLeft()), reach.size())),
                        qPrintable(button->objectName() + " clipped by " + w->objectName()));
            }

            // The "×", the only way out by mouse: on top and clear of the bar.
            const QRect close = window->closeButton()->geometry();
            QCOMPARE(window->childAt(close.center()), window->closeButton());
            QVERIFY(close.top() > bar->mapTo(window, QPoint(0, bar->height())).y());

            // The panel and the "Coming soon" alert by keyboard: all the window shows, titled
            // and described in their roles; Tab goes round inside both ways; Escape closes them
            // and gives the focus back.
            struct Layer {
                const char *opener, *title, *text;
                QAccessible::Role role;
            };
            std::optional<Layer> layer;
            if (step == QLatin1String("permissions"))
                layer = {"openSettingsButton", "panelTitle", "panelIntro", QAccessible::Dialog};
            if (window->findChild<QAbstractButton*>("continueWithFacebookButton"))
                layer = {"continueWithFacebookButton", "alertTitle", "alertMessage",
                         QAccessible::AlertMessage};
            if (layer) {
                auto* opener = window->findChild<QAbstractButton*>(layer->opener);
                opener->setFocus(Qt::TabFocusReason);
                QTest::keyClick(opener, Qt::Key_Space);
                const Tree inLayer(window, layer->title);
                QVERIFY2(inLayer.problems.isEmpty(), qPrintable(inLayer.problems.join('\n')));
                QVERIFY(!inLayer.texts.contains(group->text(QAccessible::Name)));
                QAccessibleInterface* dialog =
                    QAccessible::queryAccessibleInterface(window)->child(0);
                QCOMPARE(dialog->role(), layer->role);
                QCOMPARE(dialog->text(QAccessible::Name),
                         window->findChild<QLabel*>(layer->title)->text());
                QCOMPARE(dialog->text(QAccessible::Description),
                         window->findChild<QLabel*>(layer->text)->text());
                auto* overlay = static_cast<QWidget*>(dialog->object());
                QWidget* first = QApplication::focusWidget();
                QVERIFY(first && overlay->isAncestorOf(first));
                QTest::keyClick(first, Qt::Key_Backtab);
                QVERIFY(overlay->isAncestorOf(QApplication::focusWidget()));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), first);
                QTest::keyClick(first, Qt::Key_Escape);
                QVERIFY(overlay->isHidden());
                QCOMPARE(QApplication::focusWidget(), opener);
            }
            window->flow().nextStep();
        }
        window->flow().previousStep(); // Close writes nothing
        QTest::mouseClick(window->closeButton(), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(run.services.settings.writes + run.services.autostart.registrations, 0);
        const QString texts = shown.join('\n');
        for (const char* word : {"the right Super key", "Input Access", "input access"})
            QVERIFY2(texts.contains(QString::fromUtf8(word)), word);
        for (const char* foreign : {"Command", "⌘", "Accessibility", "System Settings"})
            QVERIFY2(!texts.contains(QString::fromUtf8(foreign)), foreign);
    }
};

MARTEN_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
