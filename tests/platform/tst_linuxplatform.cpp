// What the settings file, the autostart entry and the console do in a whole run is checked
// end to end (tests/e2e); here are the edges of single functions.
#include "platform/linux/EvdevInputAccessProbe.h"
#include "platform/linux/EvdevPushToTalkKeys.h"
#include "platform/linux/FileReplace.h"
#include "platform/linux/QSettingsStore.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/StdoutConsole.h"
#include "platform/linux/XDGAutostart.h"
#include "support/CoreTestEnv.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace marten;
using namespace std::chrono_literals;

class TestLinuxPlatform final : public QObject {
    Q_OBJECT

private slots:
    void probeNeedsAKeyboardAndUinput()
    {
        // The kernel prints key bitmaps as hex words, most significant first.
        QVERIFY(EvdevInputAccessProbe::hasKeyBit("4000000000000000 0", 126));
        QVERIFY(!EvdevInputAccessProbe::hasKeyBit("zz", 30));

        QTemporaryDir root;
        const EvdevInputAccessProbe probe(root.path(), root.path());
        const QString caps = root.path() + "/sys/class/input/event%1/device/capabilities/key";
        test::writeFile(caps.arg(3), "10000000000000 0\n"); // a power button
        test::writeFile(caps.arg(4), "fffffffffffffffe\n");
        for (const char* event : {"/dev/input/event3", "/dev/input/event4"})
            test::writeFile(root.path() + event, {});
        QCOMPARE(probe.readableKeyboards(), QStringList{root.path() + "/dev/input/event4"});
        QVERIFY(!probe.hasInputAccess());
        test::writeFile(root.path() + "/dev/input/uinput", {});
        QVERIFY(probe.hasInputAccess());
    }

    // The key reader on a FIFO standing in for an event device: only press and release of
    // Right Meta count; auto-repeat, other keys and types, and garbage change nothing; a
    // record split over two reads counts once whole; the end of the stream lets go of the key
    // and closes the device.
    void keyReaderFollowsOnlyThePushToTalkKey()
    {
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath("event7"));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        EvdevPushToTalkKeys keys;
        QSignalSpy pressed(&keys, &PushToTalkKeys::pressed);
        QSignalSpy released(&keys, &PushToTalkKeys::released);
        QCOMPARE(keys.start({dir.filePath("event7"), dir.filePath("event8")}), 1);
        const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(writer >= 0);
        const auto key = [](int value, int code = KEY_RIGHTMETA, int type = EV_KEY) {
            input_event event{};
            event.type = static_cast<quint16>(type);
            event.code = static_cast<quint16>(code);
            event.value = value;
            return QByteArray(reinterpret_cast<const char*>(&event), sizeof event);
        };
        // Writes, waits until the reader has taken every byte, and gives the presses and releases.
        using Counts = QList<qsizetype>;
        const auto send = [&](const QByteArray& bytes) {
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
        ::close(writer);
        QTRY_COMPARE(keys.openCount(), 0);
        QCOMPARE(released.count(), 2);
    }

    // Beside the onboarding wins over PATH, relative PATH entries are skipped, and the Exec
    // line of an odd path still validates.
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
        QFile entry(autostart.entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("/odd \\\\$dir \\\\\"quoted\\\\\"/marten\"\n"));
        QProcess validate;
        validate.start("desktop-file-validate", {entry.fileName()});
        QVERIFY(validate.waitForFinished());
        QVERIFY2(validate.exitCode() == 0 && validate.readAll().isEmpty(), "entry must validate");
        // A line break would end the Exec line and start a key of its own: no entry at all.
        XDGAutostart broken(dir.path() + "/broken", dir.path() + "/line\nbreak", {});
        test::writeFile(dir.path() + "/line\nbreak/marten", "#!/bin/sh\n", true);
        QVERIFY(!broken.registerMainApp().ok() && !QFile::exists(broken.entryPath()));
    }

    // Dotfile managers link the file into place: the link stays, its target gets the flags.
    // A file too large to read, or a folder in the way, fails and leaves everything as it was.
    void replacingKeepsLinksAndFailuresLeaveEverything()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("dotfiles.conf");
        const QString path = dir.filePath("Marten.conf");
        test::writeFile(target, "[General]\nvolume=3\n");
        QVERIFY(QFile::link(target, path));
        const Result<> saved = QSettingsStore(path).setFlags({{"ftue_completed", true}});
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(QSettings(target, QSettings::IniFormat).value("ftue_completed"), QVariant("true"));
        test::writeFile(target, QByteArray(QSettingsStore::maxFileSize + 1, '#'));
        QVERIFY(!QSettingsStore(path).setFlags({{"ftue_completed", true}}).ok());
        QCOMPARE(QFileInfo(target).size(), QSettingsStore::maxFileSize + 1);
        test::writeFile(dir.filePath("folder/kept"), {});
        QVERIFY(!replaceFile(dir.filePath("folder"), "x").ok());
        QVERIFY(QDir(dir.path()).entryList({".folder.*"}, QDir::Hidden | QDir::Files).isEmpty());
    }

    void consoleLinesAreVisibleAtOnce()
    {
        std::FILE* stream = std::tmpfile();
        StdoutConsole(stream).line("FTUE will show 4 steps");
        // Read past the stream's buffer: only what was flushed is there.
        char bytes[32] = {};
        QCOMPARE(::pread(fileno(stream), bytes, sizeof bytes - 1, 0), 23);
        QCOMPARE(QByteArray(bytes), "FTUE will show 4 steps\n");
        std::fclose(stream);
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

MARTEN_CORE_TEST_MAIN(TestLinuxPlatform)
#include "tst_linuxplatform.moc"
