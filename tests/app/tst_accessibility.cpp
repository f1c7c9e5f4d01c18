#include "app/FTUEView.h"
#include "core/OnboardingFlow.h"
#include "core/TestItState.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
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
    Tree(QWidget* top, const QString& at) { walk(QAccessible::queryAccessibleInterface(top), at); }
};

// Visible labels lacking room or cut by a parent (inside a scroll area only the width).
QStringList cutOff(QWidget* root)
{
    QStringList found;
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisible())
            continue;
        bool scrolled = false;
        QRect shown = label->rect();
        for (const QWidget* up = label->parentWidget(); up; up = up->parentWidget()) {
            scrolled = scrolled || qobject_cast<const QAbstractScrollArea*>(up);
            shown &= QRect(-label->mapTo(up, QPoint()), up->size());
        }
        const int width = label->wordWrap() ? label->width() : label->sizeHint().width();
        const int height = label->hasHeightForWidth() ? label->heightForWidth(label->width())
                                                      : label->sizeHint().height();
        if (width > label->width() ||
            (!scrolled && (height > label->height() || shown != label->rect())))
            found << label->objectName() + " \"" + label->text().left(30) + '"';
    }
    return found;
}

} // namespace

class TestAccessibility final : public QObject {
    Q_OBJECT

private slots:
    void everyStep_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QString>("catalogue");
        const QStringList catalogues = QDir(":/i18n").entryList({"marten_*.qm"});
        QVERIFY(catalogues.contains("marten_de.qm") && catalogues.contains("marten_en.qm"));
        const std::tuple<const char*, Variant, bool> runs[] = {
            {"full, signed out", Variant::Full, false},
            {"full, signed in (purchase)", Variant::Full, true},
            {"simple, signed out", Variant::Simple, false}};
        for (const QString& catalogue : catalogues)
            for (const auto& [name, variant, signedIn] : runs)
                QTest::addRow("%s, %s", name, qPrintable(catalogue))
                    << variant << signedIn << catalogue;
    }

    // Every step, the panel and the alert, in every catalogue: named, keyboard-reachable
    // controls, no shadow clipped, nothing cut off (a long transcription too), this system's
    // words; a platform theme's own font (qt6ct) changes no control's.
    void everyStep()
    {
        QFETCH(Variant, variant);
        QFETCH(bool, signedIn);
        QFETCH(QString, catalogue);
        QApplication::setFont(QFont("DejaVu Sans", 12));
        const QFont body = theme::font(theme::TextStyle::Body);
        QCOMPARE(QApplication::font("QPushButton"), body);
        QTranslator translator;
        QVERIFY(translator.load(catalogue, ":/i18n"));
        QCoreApplication::installTranslator(&translator);
        const auto uninstall =
            qScopeGuard([&] { QCoreApplication::removeTranslator(&translator); });
        test::OnboardingRun run(variant, signedIn);
        QVERIFY(run.ready);
        OnboardingWindow* window = &run.window;
        const auto fits = [&](const QString& where) {
            const QStringList cut = cutOff(window);
            QVERIFY2(cut.isEmpty(), qPrintable(where + " cuts off " + cut.join(", ")));
        };
        QStringList shown{window->windowTitle()};
        const auto* bar = window->findChild<ProgressBar*>();
        QCOMPARE(bool(window->windowFlags() & Qt::WindowStaysOnTopHint),
                 variant == Variant::Simple);
        for (const StepRow* current : window->flow().steps()) {
            const QString step = stepName(current);
            if (step == QLatin1String("testIt"))
                window->flow().testItState().setTranscribedText(QString("word ").repeated(400));
            QTest::qWait(0);
            fits(step);
            for (const QWidget* control : window->findChildren<QWidget*>())
                if (current == window->flow().steps().first() && control->isVisible() &&
                    (control->inherits("QAbstractButton") || control->inherits("QLineEdit")))
                    QVERIFY2(control->font() == body, qPrintable(control->objectName()));
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

            // The panel and the alert by keyboard: all the window shows (how read: e2e); Tab
            // goes round inside both ways; Escape closes them, giving the focus back.
            if (auto* opener = window->findChild<QAbstractButton*>(
                    step == QLatin1String("permissions") ? "openSettingsButton"
                                                         : "continueWithFacebookButton")) {
                opener->setFocus(Qt::TabFocusReason);
                QTest::keyClick(opener, Qt::Key_Space);
                fits(opener->objectName());
                const Tree inLayer(window, opener->objectName());
                QVERIFY2(inLayer.problems.isEmpty(), qPrintable(inLayer.problems.join('\n')));
                QVERIFY(!inLayer.texts.contains(group->text(QAccessible::Name)));
                auto* overlay = static_cast<QWidget*>(
                    QAccessible::queryAccessibleInterface(window)->child(0)->object());
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
            if (step == QLatin1String("permissions")) {
                run.services.granter.grantable = true; // the taller panel
                window->showInputAccessPanel();
                fits("the panel with Grant Access");
                const Tree withGrant(window, "the panel with Grant Access");
                QVERIFY2(withGrant.problems.isEmpty(), qPrintable(withGrant.problems.join('\n')));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            }
            window->flow().nextStep();
        }
        const QString texts = shown.join('\n');
        for (const char* foreign : {"Command", "⌘", "Accessibility", "System Settings"})
            QVERIFY2(!texts.contains(QString::fromUtf8(foreign)), foreign);
    }
};

MARTEN_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
