#include "app/FTUEView.h"
#include "app/OnboardingWindow.h"
#include "core/OnboardingFlow.h"
#include "fakes/Fakes.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>

#include <memory>

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

    std::unique_ptr<fake::Services> m_services;
    std::unique_ptr<OnboardingWindow> m_window;

    void startDecided(Variant variant, bool signedIn)
    {
        m_services = std::make_unique<fake::Services>();
        m_services->platform.homeDir = QDir::homePath();
        const QString local = QDir::homePath() + QStringLiteral("/.marten_auth_local.json");
        QFile::remove(local);
        if (signedIn)
            test::writeFile(local, "{\"token\":\"t\"}");
        m_window = std::make_unique<OnboardingWindow>(variant, m_services->platform);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTRY_VERIFY(!m_window->flow().isLoading());
    }

private slots:
    void cleanup()
    {
        m_window.reset();
        m_services.reset();
    }

    void everyStepIsNamedAndReachable_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("full, signed out") << Variant::Full << false;
        QTest::newRow("full, signed in") << Variant::Full << true;
        QTest::newRow("simple, signed out") << Variant::Simple << false;
    }

    void everyStepIsNamedAndReachable()
    {
        QFETCH(Variant, variant);
        QFETCH(bool, signedIn);
        startDecided(variant, signedIn);
        for (qsizetype i = 0; i < m_window->flow().steps().size(); ++i) {
            const QString step = stepName(m_window->flow().steps().at(i));
            QTest::qWait(0);
            QStringList problems;
            collectProblems(QAccessible::queryAccessibleInterface(m_window.get()), step, problems);
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
            const auto buttons = m_window->findChildren<QAbstractButton*>();
            for (QAbstractButton* button : buttons) {
                if (button->isVisibleTo(m_window.get()) && button->isEnabled())
                    QVERIFY2(reached.contains(button),
                             qPrintable(step + QStringLiteral(": Tab never reaches ") +
                                        button->accessibleName()));
            }
            m_window->flow().nextStep();
        }
    }
};

MARTEN_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
