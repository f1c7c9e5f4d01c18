#include "support/TestEnv.h"

#include "platform/fake/Fakes.h"
#include "platform/linux/SettingsLinkHandler.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

using namespace marten;

class InputAccessPanelTest : public QObject {
    Q_OBJECT

private slots:
    // The desktop hands the link to our panel, which does not block and closes on the grant.
    void linkOpensThePanelUntilAccessIsGranted()
    {
        QTest::failOnWarning(QRegularExpression("unsetUrlHandler"));
        const QUrl link("x-apple.systempreferences:com.apple.preference.security"
                        "?Privacy_Accessibility");
        fake::Services f;
        QWidget window;
        window.show();
        auto handler = std::make_unique<SettingsLinkHandler>(f.scheduler, f.probe, &window);
        bool nestedLoop = false;
        QTimer::singleShot(0, &window, [&] { nestedLoop = true; });
        QVERIFY(QDesktopServices::openUrl(link));
        QVERIFY(!nestedLoop && handler->panel() && handler->panel()->isVisible());
        QCOMPARE(handler->lastUrl(), link);
        QTest::mouseClick(handler->panel()->findChild<QWidget*>("copyButton"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("sudo usermod -aG input $USER"));

        f.probe.trusted = true;
        f.scheduler.advance(std::chrono::seconds(1));
        QVERIFY(handler->panel()->isHidden());

        handler.reset(); // unregisters: the link reaches no handler then, nor a deleted one
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("does not support"));
        QVERIFY(!QDesktopServices::openUrl(link));
    }

    // The rule's quoting must survive the shell: run what feeds the file write and compare.
    void udevCommandWritesTheExactRule()
    {
        const QStringList pipe = InputAccessPanel::steps().at(1).command.split(" | ");
        QCOMPARE(pipe.value(1), QString("sudo tee /etc/udev/rules.d/80-uinput.rules"));
        QProcess shell;
        shell.start("sh", {"-c", pipe.first()});
        QVERIFY(shell.waitForFinished(10000));
        QCOMPARE(shell.readAllStandardOutput(), "KERNEL==\"uinput\", GROUP=\"input\", "
                                                "MODE=\"0660\", OPTIONS+=\"static_node=uinput\"\n");
    }
};

MARTEN_TEST_MAIN(InputAccessPanelTest)
#include "tst_inputaccesspanel.moc"
