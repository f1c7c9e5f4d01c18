#include "support/TestEnv.h"

#include "flow/Variant.h"
#include "platform/fake/Fakes.h"
#include "platform/linux/InputAccessPanel.h"
#include "platform/linux/QtAppControl.h"
#include "platform/linux/SettingsLinkHandler.h"
#include "screens/PermissionsView.h"
#include "ui/Buttons.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <memory>

using namespace marten;
using namespace std::chrono_literals;

namespace {

const QString kLink =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";

// The onboarding window stand-in, with the handler registered for it.
struct Host {
    Host()
    {
        window.resize(809, 500);
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
        link = std::make_unique<SettingsLinkHandler>(services.scheduler, services.probe, &window);
    }
    InputAccessPanel* panel() const { return window.findChild<InputAccessPanel*>(); }
    QList<QAbstractButton*> copyButtons() const
    {
        return window.findChildren<QAbstractButton*>("copyButton");
    }
    // Lets a closed panel finish deleting itself.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    fake::Services services;
    QWidget window;
    std::unique_ptr<SettingsLinkHandler> link;
    bool active = false;
};

} // namespace

class InputAccessPanelTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression("unsetUrlHandler")); }

    // The screen opens its link through the desktop; on Linux that lands in our panel,
    // and the screen keeps polling behind it.
    void screenLinkOpensThePanel()
    {
        Host host;
        DesktopUrlOpener desktop;
        Platform& f = host.services.platform;
        Platform platform{f.scheduler, f.accessibility, f.defaults, f.loginItem, f.app,
                          desktop,     f.notifications, f.console,  {},          {}};
        int granted = 0;
        auto* screen = new PermissionsView(
            ScreenContext{traitsFor(Variant::Full), platform}, [&] { ++granted; }, &host.window);
        screen->show();
        QTest::mouseClick(screen->findChild<QAbstractButton*>("openSettingsButton"),
                          Qt::LeftButton);

        QCOMPARE(host.link->lastUrl().toString(), kLink);
        InputAccessPanel* panel = host.panel();
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(panel->geometry(), host.window.rect());
        QVERIFY(host.window.rect().contains(panel->sheet()->geometry()));
        QVERIFY(screen->isChecking());
        QVERIFY(host.active);
        QVERIFY(panel->isAncestorOf(QApplication::focusWidget()));

        // Granted: the screen and the panel both see it at the next tick.
        host.services.probe.trusted = true;
        host.services.scheduler.advance(1s);
        Host::settle();
        QVERIFY(!host.panel());
        QVERIFY(screen->permissionGranted());
        host.services.scheduler.advance(1s);
        QCOMPARE(granted, 1);
    }

    void openingTwiceKeepsOnePanel()
    {
        Host host;
        QVERIFY(QDesktopServices::openUrl(QUrl(kLink)));
        QVERIFY(QDesktopServices::openUrl(QUrl(kLink)));
        QCOMPARE(host.window.findChildren<InputAccessPanel*>().size(), 1);
    }

    void copyPutsEachCommandOnTheClipboard()
    {
        Host host;
        host.link->openUrl(QUrl(kLink));
        const QList<QAbstractButton*> buttons = host.copyButtons();
        QStringList commands;
        for (const auto& step : InputAccessPanel::steps()) {
            if (!step.command.isEmpty())
                commands << step.command;
        }
        QCOMPARE(buttons.size(), commands.size());
        QCOMPARE(commands.size(), 3);
        for (int i = 0; i < buttons.size(); ++i) {
            QTest::mouseClick(buttons.at(i), Qt::LeftButton);
            QCOMPARE(QGuiApplication::clipboard()->text(), commands.at(i));
            QCOMPARE(buttons.at(i)->text(), QString("Copied"));
        }
        host.services.scheduler.advance(2s);
        QCOMPARE(buttons.first()->text(), QString("Copy"));
        QCOMPARE(commands.at(0), QString("sudo usermod -aG input $USER"));
        QCOMPARE(commands.at(2), QString("echo uinput | sudo tee /etc/modules-load.d/uinput.conf"));
    }

    // The quoting of the udev command must survive the shell: run it with the file
    // write replaced by stdout and compare what would be written.
    void udevCommandWritesTheExactRule()
    {
        const QString command = InputAccessPanel::steps().at(1).command;
        const QString target = "sudo tee /etc/udev/rules.d/80-uinput.rules";
        QVERIFY(command.endsWith(target));
        QProcess shell;
        shell.start("sh", {"-c", QString(command).replace(target, "cat")});
        QVERIFY(shell.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()),
                 QString("KERNEL==\"uinput\", GROUP=\"input\", MODE=\"0660\", "
                         "OPTIONS+=\"static_node=uinput\"\n"));
    }

    void keyboard()
    {
        Host host;
        QVERIFY(host.active);
        auto* before = new QPushButton("Open", &host.window);
        before->show();
        before->setFocus();
        host.link->openUrl(QUrl(kLink));
        InputAccessPanel* panel = host.panel();

        // Tab goes round the panel's own controls only, each with a name.
        QList<QWidget*> seen;
        for (int i = 0; i < 8; ++i) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(panel->isAncestorOf(focus));
            QVERIFY(!focus->accessibleName().isEmpty());
            if (!seen.contains(focus))
                seen << focus;
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(seen.size(), 4); // three copy buttons and Close
        QVERIFY(seen.contains(panel->findChild<QWidget*>("closePanelButton")));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!panel->isVisible());
        QCOMPARE(QApplication::focusWidget(), before);
        Host::settle();
        QVERIFY(!host.panel());

        // It can be opened again afterwards.
        host.link->openUrl(QUrl(kLink));
        QVERIFY(host.panel() && host.panel()->isVisible());
    }

    // Destroying the handler takes it off the desktop services (no deprecation warning,
    // see init()), and a later handler receives the links.
    void handlerIsUnregisteredOnDestruction()
    {
        if (QGuiApplication::platformName() != "offscreen")
            QSKIP("opening an unhandled link would reach the real desktop");
        Host host;
        host.link.reset();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("does not support"));
        QVERIFY(!QDesktopServices::openUrl(QUrl(kLink)));
        QVERIFY(!host.panel());
        SettingsLinkHandler again(host.services.scheduler, host.services.probe, &host.window);
        QVERIFY(QDesktopServices::openUrl(QUrl(kLink)));
        QVERIFY(host.panel());
    }
};

MARTEN_TEST_MAIN(InputAccessPanelTest)
#include "tst_inputaccesspanel.moc"
