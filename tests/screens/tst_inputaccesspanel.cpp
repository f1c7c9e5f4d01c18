#include "support/TestEnv.h"

#include "fakes/Fakes.h"
#include "screens/InputAccessPanel.h"

#include <QClipboard>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

using namespace marten;

class TestInputAccessPanel final : public QObject {
    Q_OBJECT

private slots:
    // The panel does not block, and closes once the watch sees the grant.
    void panelStaysUntilAccessIsGranted()
    {
        fake::Services f;
        QWidget window;
        window.resize(809, 500);
        window.show();
        bool nestedLoop = false;
        QTimer::singleShot(0, &window, [&] { nestedLoop = true; });
        auto* panel = new InputAccessPanel(f.scheduler, f.watcher, &window);
        panel->present();
        QVERIFY(!nestedLoop && panel->isVisible());
        QCOMPARE(panel->geometry(), window.rect());
        QTest::mouseClick(panel->findChild<QWidget*>("copyButton"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("sudo usermod -aG input $USER"));

        f.probe.granted = true;
        f.scheduler.advance(std::chrono::seconds(1));
        QTRY_VERIFY(window.findChildren<InputAccessPanel*>().isEmpty());
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

MARTEN_TEST_MAIN(TestInputAccessPanel)
#include "tst_inputaccesspanel.moc"
