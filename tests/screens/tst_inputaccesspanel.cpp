#include "support/TestEnv.h"

#include "app/DesktopServices.h"
#include "fakes/Fakes.h"
#include "screens/InputAccessCommands.h"
#include "screens/InputAccessPanel.h"
#include "ui/Spinner.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

using namespace marten;
using namespace std::chrono_literals;

namespace {

// Stands in for pkexec: notes its arguments, takes its time, complains on standard error
// and exits with the status it is told.
constexpr char kFakePkexec[] = R"(#!/bin/sh
printf '%s\n' "$@" > "$FAKE_PKEXEC_ARGS"
sleep "$FAKE_PKEXEC_DELAY"
printf 'first complaint\nlast complaint\n\n' >&2
exit "$FAKE_PKEXEC_STATUS"
)";

void writeExecutable(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    test::writeFile(path, text);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString statusText(QWidget* panel)
{
    return panel->findChild<QLabel*>("grantStatus")->text();
}

// The lines of the helper that match `pattern`, with its first capture.
QStringList fromHelper(const QString& pattern)
{
    QFile helper(MARTEN_SOURCE_DIR "/dist/grant-input-access");
    if (!helper.open(QIODevice::ReadOnly))
        return {};
    QStringList found;
    const QRegularExpression re(pattern);
    for (const QString& line : QString::fromUtf8(helper.readAll()).split('\n')) {
        const QRegularExpressionMatch m = re.match(line);
        if (m.hasMatch())
            found << m.captured(1);
    }
    return found;
}

} // namespace

class TestInputAccessPanel final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_program; // a program folder with the helper where the install puts it
    QString m_args;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeExecutable(m_dir.filePath("fakebin/pkexec"), kFakePkexec);
        writeExecutable(m_dir.filePath("prefix/libexec/marten-onboarding/grant-input-access"),
                        "#!/bin/sh\n");
        QDir().mkpath(m_dir.filePath("prefix/bin"));
        m_program = m_dir.filePath("prefix/bin");
        m_args = m_dir.filePath("args");
        qputenv("FAKE_PKEXEC_ARGS", m_args.toLocal8Bit());
        qputenv("FAKE_PKEXEC_DELAY", "0");
    }

    // The panel does not block, and closes once the watch sees the grant.
    void panelStaysUntilAccessIsGranted()
    {
        fake::Services f;
        QWidget window;
        window.resize(809, 500);
        window.show();
        bool nestedLoop = false;
        QTimer::singleShot(0, &window, [&] { nestedLoop = true; });
        auto* panel = new InputAccessPanel(f.scheduler, f.watcher, nullptr, &window);
        panel->present();
        QVERIFY(!nestedLoop && panel->isVisible());
        QCOMPARE(panel->geometry(), window.rect());
        QTest::mouseClick(panel->findChild<QWidget*>("copyButton"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 InputAccessCommands::commands().first().command);

        f.probe.granted = true;
        f.scheduler.advance(1s);
        QTRY_VERIFY(window.findChildren<InputAccessPanel*>().isEmpty());
    }

    // Without pkexec there is nothing to click: only the commands.
    void toolsDecideWhetherThereIsAButton()
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_dir.filePath("nowhere").toLocal8Bit());
        const GrantAccessTools without = GrantAccessTools::find(m_program);
        qputenv("PATH", m_dir.filePath("fakebin").toLocal8Bit() + ':' + path);
        const GrantAccessTools with = GrantAccessTools::find(m_program);
        const GrantAccessTools noHelper = GrantAccessTools::find(m_dir.path());
        qputenv("PATH", path);
        QVERIFY(!without.usable() && !noHelper.usable());
        QVERIFY(with.usable());
        QCOMPARE(with.helper,
                 QFileInfo(m_program + "/../libexec/marten-onboarding/grant-input-access")
                     .canonicalFilePath());

        fake::Services f;
        QWidget window;
        window.resize(809, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        PanelInputAccessHelp help(f.scheduler);
        help.attach(&window, &f.watcher, without);
        help.showInputAccessHelp();
        QVERIFY(!help.panel()->findChild<QWidget*>("grantAccessButton"));
        QVERIFY(help.panel()->findChildren<QWidget*>("copyButton").size() == 3);
        help.panel()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        help.attach(&window, &f.watcher, with);
        help.showInputAccessHelp();
        QWidget* button = help.panel()->findChild<QWidget*>("grantAccessButton");
        QVERIFY(button && button->isVisible() && button->hasFocus());
    }

    void eachExitStatusSaysWhatHappened_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("buttonStays");
        QTest::newRow("granted") << 0 << "Access granted." << false;
        QTest::newRow("prompt dismissed") << 126 << "Nothing was changed." << true;
        QTest::newRow("not authorised") << 127 << "administrator must do it" << true;
        QTest::newRow("helper failed") << 1 << "last complaint" << true;
    }

    // Each run takes the fake half a second, and the window keeps answering meanwhile.
    void eachExitStatusSaysWhatHappened()
    {
        QFETCH(int, status);
        QFETCH(QString, says);
        QFETCH(bool, buttonStays);
        qputenv("FAKE_PKEXEC_STATUS", QByteArray::number(status));
        qputenv("FAKE_PKEXEC_DELAY", "0.5");
        fake::Services f;
        QWidget window;
        window.resize(809, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        GrantAccessRunner runner(m_dir.filePath("fakebin/pkexec"), "/the/helper");
        auto* panel = new InputAccessPanel(f.scheduler, f.watcher, &runner, &window);
        panel->present();
        auto* button = panel->findChild<QWidget*>("grantAccessButton");

        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(clock.elapsed() < 400);
        QVERIFY(!button->isEnabled());
        QVERIFY(panel->findChild<Spinner*>("grantSpinner")->isVisible());
        bool answered = false;
        QTimer::singleShot(50, &window, [&] { answered = runner.isRunning(); });
        QTRY_VERIFY(answered);

        QTRY_VERIFY_WITH_TIMEOUT(!runner.isRunning(), 5000);
        QVERIFY2(statusText(panel).contains(says), qPrintable(statusText(panel)));
        QCOMPARE(button->isVisible(), buttonStays);
        QCOMPARE(button->isEnabled(), true);
        // The keyboard is back on the button, ready for another try.
        QCOMPARE(button->hasFocus(), buttonStays);
        QVERIFY(!panel->findChild<Spinner*>("grantSpinner")->isVisible());
        QFile args(m_args);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), "/the/helper\n");
        qputenv("FAKE_PKEXEC_DELAY", "0");
    }

    // A grant this session never picks up (remote, no logind) ends in advice to log in anew;
    // one it does pick up closes the panel first.
    void grantUnseenByTheSessionAsksForANewLogin()
    {
        qputenv("FAKE_PKEXEC_STATUS", "0");
        for (const bool sessionSeesIt : {false, true}) {
            fake::Services f;
            QWidget window;
            window.resize(809, 500);
            window.show();
            GrantAccessRunner runner(m_dir.filePath("fakebin/pkexec"), "/the/helper");
            auto* panel = new InputAccessPanel(f.scheduler, f.watcher, &runner, &window);
            panel->present();
            QTest::mouseClick(panel->findChild<QWidget*>("grantAccessButton"), Qt::LeftButton);
            QTRY_VERIFY(!runner.isRunning());
            f.probe.granted = sessionSeesIt;
            f.scheduler.advance(4s);
            if (sessionSeesIt) {
                QTRY_VERIFY(window.findChildren<InputAccessPanel*>().isEmpty());
                continue;
            }
            QVERIFY(panel->isVisible());
            QCOMPARE(statusText(panel), QString("Access granted."));
            f.scheduler.advance(1s);
            QVERIFY(statusText(panel).contains("Log out and back in"));
        }
    }

    void processFailuresAreOneLine()
    {
        fake::Services f;
        QWidget window;
        window.show();
        GrantAccessRunner missing(m_dir.filePath("fakebin/no-such-pkexec"), "/the/helper");
        auto* panel = new InputAccessPanel(f.scheduler, f.watcher, &missing, &window);
        QTest::mouseClick(panel->findChild<QWidget*>("grantAccessButton"), Qt::LeftButton);
        QTRY_VERIFY(!missing.isRunning());
        QVERIFY(statusText(panel).startsWith(m_dir.filePath("fakebin/no-such-pkexec") + ": "));
        QVERIFY(!statusText(panel).contains('\n'));
    }

    // The commands must write what the helper writes and run what it runs, quoting and all:
    // run them with "sudo" passing straight through, into a scratch /etc.
    void commandsDoWhatTheHelperDoes()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString log = root.filePath("ran");
        writeExecutable(root.filePath("bin/sudo"), R"(#!/bin/sh
case "$1" in tee) exec "$@" ;; esac
echo "$*" >> "$RAN"
)");
        QDir(root.path()).mkpath("etc/udev/rules.d");
        QDir(root.path()).mkpath("etc/modules-load.d");
        for (const auto& step : InputAccessCommands::commands()) {
            QString command = step.command;
            command.replace(" /etc/", " " + root.filePath("etc/"));
            QProcess shell;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("PATH", root.filePath("bin") + ':' + env.value("PATH"));
            env.insert("RAN", log);
            shell.setProcessEnvironment(env);
            shell.start("sh", {"-c", command});
            QVERIFY(shell.waitForFinished(10000));
            QCOMPARE(shell.exitCode(), 0);
        }
        auto read = [&](const QString& name) {
            QFile file(root.filePath(name));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        const QStringList rules = fromHelper("^((KERNEL|SUBSYSTEM)==.*)$");
        QCOMPARE(rules.size(), 2);
        QCOMPARE(read("etc/udev/rules.d/70-marten-input-access.rules"), rules.join('\n') + '\n');
        QCOMPARE(read("etc/modules-load.d/marten-uinput.conf"), QString("uinput\n"));
        // The helper also waits for udev to settle; the terminal user need not.
        const QStringList steps = fromHelper("^step \"[^\"]*\" (.*)$");
        QCOMPARE(read("ran").trimmed().split('\n'), steps.mid(0, 3));
    }
};

MARTEN_TEST_MAIN(TestInputAccessPanel)
#include "tst_inputaccesspanel.moc"
