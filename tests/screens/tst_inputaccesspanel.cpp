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

// A shown window of the onboarding's size, with fake services, to put the panel over.
struct Host {
    Host()
    {
        window.resize(809, 500);
        window.show();
    }
    InputAccessPanel* panel(GrantAccessRunner* runner)
    {
        auto* panel = new InputAccessPanel(f.scheduler, f.watcher, runner, &window);
        panel->present();
        return panel;
    }
    QWidget* grantButton() const { return window.findChild<QWidget*>("grantAccessButton"); }
    bool panelGone() const { return window.findChildren<InputAccessPanel*>().isEmpty(); }

    fake::Services f;
    QWidget window;
};

// The lines of the helper that match `pattern`, with its first capture.
QStringList fromHelper(const QString& pattern)
{
    QFile helper(MARTEN_SOURCE_DIR "/dist/grant-input-access");
    QStringList found;
    const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
    if (helper.open(QIODevice::ReadOnly))
        for (auto it = re.globalMatch(QString::fromUtf8(helper.readAll())); it.hasNext();)
            found << it.next().captured(1);
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
        Host h;
        bool nestedLoop = false;
        QTimer::singleShot(0, &h.window, [&] { nestedLoop = true; });
        InputAccessPanel* panel = h.panel(nullptr); // as without pkexec: only the commands
        QVERIFY(!nestedLoop && panel->isVisible() && !h.grantButton());
        QCOMPARE(panel->geometry(), h.window.rect());
        QTest::mouseClick(panel->findChild<QWidget*>("copyButton"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 InputAccessCommands::commands().first().command);
        h.f.probe.granted = true;
        h.f.scheduler.advance(1s);
        QTRY_VERIFY(h.panelGone());
    }

    // Without pkexec or the helper there is nothing to run.
    void toolsNeedPkexecAndTheHelper()
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_dir.filePath("nowhere").toLocal8Bit());
        const GrantAccessTools without = GrantAccessTools::find(m_program);
        qputenv("PATH", m_dir.filePath("fakebin").toLocal8Bit() + ':' + path);
        const GrantAccessTools with = GrantAccessTools::find(m_program);
        const GrantAccessTools noHelper = GrantAccessTools::find(m_dir.path());
        qputenv("PATH", path);
        QVERIFY(!without.usable() && !noHelper.usable() && with.usable());
        QCOMPARE(with.helper,
                 QFileInfo(m_program + "/../libexec/marten-onboarding/grant-input-access")
                     .canonicalFilePath());
    }

    void eachExitStatusSaysWhatHappened_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("granted") << 0 << "Access granted.";
        QTest::newRow("prompt dismissed") << 126 << "Nothing was changed.";
        QTest::newRow("not authorised") << 127 << "administrator must do it";
        QTest::newRow("helper failed") << 1 << "last complaint";
    }

    // Each run takes the fake half a second, and the window keeps answering meanwhile. After
    // a failure the button stays, with the keyboard on it, ready for another try.
    void eachExitStatusSaysWhatHappened()
    {
        QFETCH(int, status);
        QFETCH(QString, says);
        qputenv("FAKE_PKEXEC_STATUS", QByteArray::number(status));
        qputenv("FAKE_PKEXEC_DELAY", "0.5");
        Host h;
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        GrantAccessRunner runner(m_dir.filePath("fakebin/pkexec"), "/the/helper");
        InputAccessPanel* panel = h.panel(&runner);
        QWidget* button = h.grantButton();
        QVERIFY(button->hasFocus());
        auto* spinner = panel->findChild<Spinner*>("grantSpinner");
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(clock.elapsed() < 400);
        QVERIFY(!button->isEnabled() && spinner->isVisible());
        bool answered = false;
        QTimer::singleShot(50, &h.window, [&] { answered = runner.isRunning(); });
        QTRY_VERIFY(answered);

        QTRY_VERIFY_WITH_TIMEOUT(!runner.isRunning(), 5000);
        QVERIFY2(statusText(panel).contains(says), qPrintable(statusText(panel)));
        QVERIFY(button->isEnabled() && !spinner->isVisible());
        QCOMPARE(button->isVisible(), status != 0);
        QCOMPARE(button->hasFocus(), status != 0);
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
            Host h;
            GrantAccessRunner runner(m_dir.filePath("fakebin/pkexec"), "/the/helper");
            InputAccessPanel* panel = h.panel(&runner);
            QTest::mouseClick(h.grantButton(), Qt::LeftButton);
            QTRY_VERIFY(!runner.isRunning());
            h.f.probe.granted = sessionSeesIt;
            h.f.scheduler.advance(4s);
            if (sessionSeesIt) {
                QTRY_VERIFY(h.panelGone());
                continue;
            }
            QCOMPARE(statusText(panel), QString("Access granted."));
            h.f.scheduler.advance(1s);
            QVERIFY(statusText(panel).contains("Log out and back in"));
        }
    }

    void processFailuresAreOneLine()
    {
        Host h;
        GrantAccessRunner missing(m_dir.filePath("fakebin/no-such-pkexec"), "/the/helper");
        InputAccessPanel* panel = h.panel(&missing);
        QTest::mouseClick(h.grantButton(), Qt::LeftButton);
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
        QVERIFY(QDir(root.path()).mkpath("etc/udev/rules.d") &&
                QDir(root.path()).mkpath("etc/modules-load.d"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", root.filePath("bin") + ':' + env.value("PATH"));
        env.insert("RAN", log);
        for (const auto& step : InputAccessCommands::commands()) {
            QProcess shell;
            shell.setProcessEnvironment(env);
            shell.start(
                "sh", {"-c", QString(step.command).replace(" /etc/", " " + root.filePath("etc/"))});
            QVERIFY(shell.waitForFinished(10000) && shell.exitCode() == 0);
        }
        const auto read = [&](const QString& name) {
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
