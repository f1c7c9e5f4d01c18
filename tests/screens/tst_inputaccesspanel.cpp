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

#include <sys/stat.h>
#include <unistd.h>

using namespace marten;
using namespace std::chrono_literals;

namespace {

// Stands in for pkexec: notes its arguments, takes its time, writes what it is told on
// standard error (or floods it) and exits with the status it is told, or is killed.
constexpr char kFakePkexec[] = R"(#!/bin/sh
printf '%s\n' "$@" > "$FAKE_PKEXEC_ARGS"
sleep "$FAKE_PKEXEC_DELAY"
case "$FAKE_PKEXEC_ERR" in
flood) head -c 20000000 /dev/zero | tr '\0' x >&2 ;;
*) printf "$FAKE_PKEXEC_ERR" >&2 ;;
esac
[ "$FAKE_PKEXEC_STATUS" = kill ] && kill -KILL $$
exit "$FAKE_PKEXEC_STATUS"
)";
constexpr char kComplaints[] = "first complaint\\nlast complaint\\n\\n";

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
        qputenv("FAKE_PKEXEC_ERR", "");
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

    // Nothing to run without pkexec and the helper, or with either where a user other than
    // root could rewrite it or a folder above it.
    void toolsNeedPkexecAndTheHelperOnlyRootControls()
    {
        const QString pkexec = m_dir.filePath("fakebin/pkexec");
        const QString helper =
            m_dir.filePath("prefix/libexec/marten-onboarding/grant-input-access");
        const QString folder = QFileInfo(helper).path();
        QVERIFY(!GrantAccessTools::find(m_program, m_dir.filePath("nowhere/pkexec")).usable());
        QVERIFY(!GrantAccessTools::find(m_dir.path(), pkexec).usable()); // no helper there
        if (geteuid() != 0) {
            // This user's own temporary folder: the helper is theirs to rewrite.
            QVERIFY(!GrantAccessTools::find(m_program, pkexec).usable());
            QSKIP("the rest needs files that root owns");
        }
        const GrantAccessTools with = GrantAccessTools::find(m_program, pkexec);
        QVERIFY(with.usable());
        QCOMPARE(with.helper, QFileInfo(helper).canonicalFilePath());

        const auto usableWhen = [&](const QString& path, mode_t mode, uid_t owner) {
            struct stat st {};
            ::stat(QFile::encodeName(path).constData(), &st);
            const bool chmodded = ::chmod(QFile::encodeName(path).constData(), mode) == 0;
            const bool chowned = ::chown(QFile::encodeName(path).constData(), owner, 0) == 0;
            const bool usable = GrantAccessTools::find(m_program, pkexec).usable();
            if (::chmod(QFile::encodeName(path).constData(), st.st_mode & 07777) != 0 ||
                ::chown(QFile::encodeName(path).constData(), 0, 0) != 0)
                qFatal("cannot restore %s", qPrintable(path));
            return chmodded && chowned && usable;
        };
        QVERIFY(!usableWhen(helper, 0775, 0));
        QVERIFY(!usableWhen(helper, 0755, 65534));
        QVERIFY(!usableWhen(pkexec, 0757, 0));
        QVERIFY(!usableWhen(folder, 0777, 0));
        QVERIFY(!usableWhen(folder, 0755, 65534));
        QVERIFY(!usableWhen(m_dir.path(), 0770, 0));
        QVERIFY(usableWhen(m_dir.path(), 01777, 0));      // sticky, as /tmp
        QVERIFY(!usableWhen(m_dir.path(), 01777, 65534)); // but not the owner's
        QVERIFY(GrantAccessTools::find(m_program, pkexec).usable());
    }

    void eachExitStatusSaysWhatHappened_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("error");
        QTest::addColumn<QString>("says");
        QTest::newRow("granted") << QByteArray("0") << QByteArray() << "Access granted.";
        QTest::newRow("prompt dismissed")
            << QByteArray("126") << QByteArray(kComplaints) << "Nothing was changed.";
        QTest::newRow("not authorised")
            << QByteArray("127")
            << QByteArray("Error executing command as another user: Not authorized\\n\\n"
                          "This incident has been reported.\\n")
            << "administrator must do it";
        // pkexec's other errors share its status: the detail says which.
        QTest::newRow("no agent")
            << QByteArray("127")
            << QByteArray("Error executing command as another user: No authentication agent "
                          "found.\\n")
            << "Error executing command as another user: No authentication agent found.";
        QTest::newRow("helper failed")
            << QByteArray("1") << QByteArray(kComplaints) << "last complaint";
        QTest::newRow("killed") << QByteArray("kill") << QByteArray()
                                << "stopped before it finished";
        QTest::newRow("flood on standard error")
            << QByteArray("1") << QByteArray("flood") << QString(299, 'x') + QChar(0x2026);
    }

    // Each run takes the fake half a second, and the window keeps answering meanwhile. After
    // a failure the button stays, with the keyboard on it, ready for another try.
    void eachExitStatusSaysWhatHappened()
    {
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, error);
        QFETCH(QString, says);
        qputenv("FAKE_PKEXEC_STATUS", status);
        qputenv("FAKE_PKEXEC_ERR", error);
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
        QCOMPARE(button->isVisible(), status != "0");
        QCOMPARE(button->hasFocus(), status != "0");
        QFile args(m_args);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), "/the/helper\n");
        qputenv("FAKE_PKEXEC_DELAY", "0");
        qputenv("FAKE_PKEXEC_ERR", "");
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
