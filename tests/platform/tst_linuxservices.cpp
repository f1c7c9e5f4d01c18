// Edges of single functions; whole runs are checked end to end (tests/e2e).
#include "platform/linux/EvdevInputAccessProbe.h"
#include "platform/linux/EvdevPushToTalkKeys.h"
#include "platform/linux/FileReplace.h"
#include "platform/linux/QSettingsStore.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/XDGAutostart.h"
#include "support/CoreTestEnv.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace marten;
using namespace std::chrono_literals;

namespace {

QStringList listing(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Plants leftovers the cleanup must tell apart, all but one temporary 2 minutes old; the listing.
QStringList plantLeftovers(const QString& folder)
{
    const int planted = QProcess::execute("sh", {"-ec", R"sh(mkdir -p "$0" && cd "$0"
        a=.Marten.conf.marten-merge-AbC123 o=.Marten.conf.marten-merge-XyZ789
        mkdir -p $a/sub $o && ln -s ../.Marten.conf.20240601 $a/link
        touch .Marten.conf.20240601 .Marten.conf.marten-save-0123abcd $a/Marten.conf $o/Marten.conf \
            $o/Marten.conf.lock && mkfifo .Marten.conf.marten-save-00000000
        [ "$(id -u)" != 0 ] || { f=.Marten.conf.marten-save-fedcba98 && touch $f && chown 65534 $f; }
        touch -h -d '-2 minutes' .Marten.conf.* $a/* $o/* && touch .Marten.conf.marten-save-89abcdef)sh",
                                                 folder});
    return planted == 0 ? listing(folder) : QStringList{"planting failed"};
}

} // namespace

class TestLinuxServices final : public QObject {
    Q_OBJECT

private slots:
    // As nobody: an owner-only keyboard or a read-only /dev/uinput is no access.
    void probeNeedsAKeyboardAndUinput()
    {
        QVERIFY(EvdevInputAccessProbe::hasKeyBit("4000000000000000 0", 126));
        QVERIFY(!EvdevInputAccessProbe::hasKeyBit("zz", 30));
        if (::geteuid() == 0) { // this function in a copy nobody may run
            QTemporaryDir bin("/tmp/marten-probe-XXXXXX");
            QVERIFY(::chmod(QFile::encodeName(bin.path()).constData(), 0755) == 0 &&
                    QFile::copy(QCoreApplication::applicationFilePath(), bin.filePath("tst")));
            QProcess nobody;
            nobody.setProcessChannelMode(QProcess::MergedChannels);
            nobody.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                     bin.filePath("tst"), "probeNeedsAKeyboardAndUinput"});
            QVERIFY2(nobody.waitForFinished(60000) && nobody.exitCode() == 0,
                     nobody.readAll().constData());
            return;
        }
        QTemporaryDir root;
        const EvdevInputAccessProbe probe(root.path(), root.path());
        const QString caps = root.path() + "/sys/class/input/event%1/device/capabilities/key";
        const QString node = root.path() + "/dev/input/event%1";
        for (const int event : {3, 4, 5}) { // event3 is a power button
            test::writeFile(caps.arg(event), event == 3 ? "10000000000000 0\n" : "fffffffe\n");
            test::writeFile(node.arg(event), {});
        }
        QFile::setPermissions(node.arg(5), QFile::WriteOwner);
        QCOMPARE(probe.readableKeyboards(), QStringList{node.arg(4)});
        test::writeFile(root.path() + "/dev/uinput", {});
        QFile::setPermissions(root.path() + "/dev/uinput", QFile::ReadOwner);
        QVERIFY(!probe.hasInputAccess());
        test::writeFile(root.path() + "/dev/input/uinput", {});
        QVERIFY(probe.hasInputAccess());
    }

    // FIFOs: Right Meta alone counts, a split record once, held until every keyboard lets go;
    // maxDevices at most, kept open while the node exists; the stream's end releases, closes.
    void keyReaderFollowsOnlyThePushToTalkKey()
    {
        const test::FailIfBlocked watchdog(20s);
        QTemporaryDir dir;
        QStringList nodes;
        for (int i = 0; i < PushToTalkKeys::maxDevices + 2; ++i) {
            nodes << dir.filePath(QString("event%1").arg(i));
            QCOMPARE(::mkfifo(QFile::encodeName(nodes.last()).constData(), 0600), 0);
        }
        EvdevPushToTalkKeys keys;
        QSignalSpy pressed(&keys, &PushToTalkKeys::pressed);
        QSignalSpy released(&keys, &PushToTalkKeys::released);
        QCOMPARE(keys.start(QStringList{dir.filePath("gone")} + nodes), PushToTalkKeys::maxDevices);
        const auto writeTo = [&](int i) {
            return ::open(QFile::encodeName(nodes[i]).constData(),
                          O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        };
        const int writers[2] = {writeTo(0), writeTo(1)};
        QVERIFY(writers[0] >= 0 && writers[1] >= 0);
        const auto key = [](int value, int code = KEY_RIGHTMETA, int type = EV_KEY) {
            const input_event event{{}, quint16(type), quint16(code), value};
            return QByteArray(reinterpret_cast<const char*>(&event), sizeof event);
        };
        // Writes, waits until every byte is read, gives the presses and releases.
        using Counts = QList<qsizetype>;
        const auto send = [&](const QByteArray& bytes, int keyboard = 0) {
            const int writer = writers[keyboard];
            int waiting = 0;
            if (::write(writer, bytes.constData(), bytes.size()) != bytes.size() ||
                !QTest::qWaitFor(
                    [&] { return ::ioctl(writer, FIONREAD, &waiting) == 0 && waiting == 0; }))
                return Counts{};
            return Counts{pressed.count(), released.count()};
        };
        QCOMPARE(send(key(1) + key(0, SYN_REPORT, EV_SYN)), (Counts{1, 0}));
        QCOMPARE(send(key(2) + key(1) + key(0, KEY_LEFTMETA) + key(0, KEY_RIGHTMETA, EV_REL) +
                      key(7) + QByteArray(3 * sizeof(input_event), '\xff')),
                 (Counts{1, 0}));
        QCOMPARE(send(key(0).left(5)), (Counts{1, 0}));
        QCOMPARE(send(key(0).mid(5) + key(0)), (Counts{1, 1}));
        QCOMPARE(send(key(1)), (Counts{2, 1}));
        QCOMPARE(send(key(1), 1), (Counts{2, 1}));
        QCOMPARE(send(key(0)), (Counts{2, 1}));
        QCOMPARE(send(key(0), 1), (Counts{2, 2}));
        QCOMPARE(send(key(1)), (Counts{3, 2}));

        QVERIFY(QFile::remove(nodes[5]));
        QCOMPARE(keys.start({}), PushToTalkKeys::maxDevices - 1);
        ::close(writers[0]);
        QTRY_COMPARE(keys.openCount(), PushToTalkKeys::maxDevices - 2);
        QCOMPARE(released.count(), 3);
    }

    // Beside the onboarding wins over PATH (relative entries skipped); an odd path validates.
    void autostartFindsAndQuotesTheMainApp()
    {
        QTemporaryDir dir;
        const QString exeDir = dir.path() + "/odd $dir \"quoted\"";
        const QString onPath = dir.path() + "/path";
        XDGAutostart autostart(dir.path() + "/config", exeDir, "relative:" + onPath);
        test::writeFile(onPath + "/marten", "#!/bin/sh\n", true);
        test::writeFile(dir.path() + "/relative/marten", "#!/bin/sh\n", true); // a relative entry
        const QString savedCwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        QCOMPARE(autostart.findMainApp(), onPath + "/marten");
        QDir::setCurrent(savedCwd);
        test::writeFile(exeDir + "/marten", "#!/bin/sh\n", true);
        const Result<> registered = autostart.registerMainApp();
        QVERIFY2(registered.ok(), qPrintable(registered.error()));
        QVERIFY(test::readFile(autostart.entryPath())
                    .contains("/odd \\\\$dir \\\\\"quoted\\\\\"/marten\"\n"));
        QProcess validate;
        validate.start("desktop-file-validate", {autostart.entryPath()});
        QVERIFY(validate.waitForFinished());
        QVERIFY2(validate.exitCode() == 0 && validate.readAll().isEmpty(), "entry must validate");
        // A line break would end the Exec line and start a key of its own: no entry at all.
        XDGAutostart broken(dir.path() + "/broken", dir.path() + "/line\nbreak", {});
        test::writeFile(dir.path() + "/line\nbreak/marten", "#!/bin/sh\n", true);
        QVERIFY(!broken.registerMainApp().ok() && !QFile::exists(broken.entryPath()));
    }

    // A link stays, its target gets the flags; only our leftovers older than a minute go. Too
    // large a file or a folder in the way fails, changing nothing.
    void replacingKeepsLinksAndTouchesNothingElse()
    {
        for (const bool linked : {false, true}) {
            QTemporaryDir dir;
            const QString path = dir.filePath("config/Marten.conf");
            const QString target = linked ? dir.filePath("dotfiles/Marten.conf") : path;
            test::writeFile(target, "[General]\nvolume=3\n");
            QVERIFY(QDir().mkpath(dir.filePath("config")));
            QVERIFY(!linked || QFile::link(target, path));
            QMap<QString, QStringList> before;
            for (const QString folder : {"config", "dotfiles"})
                before[folder] = plantLeftovers(dir.filePath(folder));
            const Result<> saved = QSettingsStore(path).setFlags({{"ftue_completed", true}});
            QVERIFY2(saved.ok(), qPrintable(saved.error()));
            QCOMPARE(QFileInfo(path).isSymLink(), linked);
            QCOMPARE(QSettings(target, QSettings::IniFormat).value("ftue_completed"),
                     QVariant("true"));
            // Scratch folders are made beside the path, temporaries beside the target.
            before["config"].removeOne(".Marten.conf.marten-merge-XyZ789");
            before[linked ? "dotfiles" : "config"].removeOne(".Marten.conf.marten-save-0123abcd");
            for (const QString folder : {"config", "dotfiles"}) {
                QCOMPARE(listing(dir.filePath(folder)), before[folder]);
                QCOMPARE(listing(dir.filePath(folder + "/.Marten.conf.marten-merge-AbC123")),
                         (QStringList{"Marten.conf", "link", "sub"}));
            }
        }
        QTemporaryDir dir;
        const QString path = dir.filePath("Marten.conf");
        test::writeFile(path, QByteArray(QSettingsStore::maxFileSize + 1, '#'));
        QVERIFY(!QSettingsStore(path).setFlags({{"ftue_completed", true}}).ok());
        QCOMPARE(QFileInfo(path).size(), QSettingsStore::maxFileSize + 1);
        test::writeFile(dir.filePath("folder/kept"), {});
        QVERIFY(!replaceFile(dir.filePath("folder"), "x").ok());
        QCOMPARE(listing(dir.path()), (QStringList{"Marten.conf", "folder"}));
    }

    void schedulerRunsCancelsAndRespectsContext()
    {
        QtScheduler scheduler;
        int once = 0, repeated = 0, orphaned = 0;
        auto* context = new QObject;
        scheduler.after(0ms, context, [&] { ++orphaned; });
        delete context;
        const auto id = scheduler.every(1ms, nullptr, [&] { ++repeated; });
        QTRY_VERIFY(repeated >= 3);
        scheduler.cancel(id);
        const int stoppedAt = repeated;
        scheduler.after(20ms, nullptr, [&] { ++once; });
        QTRY_COMPARE(once, 1);
        QCOMPARE(repeated, stoppedAt);
        QCOMPARE(orphaned, 0);
    }
};

MARTEN_CORE_TEST_MAIN(TestLinuxServices)
#include "tst_linuxservices.moc"
