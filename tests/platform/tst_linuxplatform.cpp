#include "platform/linux/EvdevInputAccessProbe.h"
#include "platform/linux/QSettingsStore.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/StdoutConsole.h"
#include "platform/linux/XDGAutostart.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

using namespace marten;
using namespace std::chrono_literals;

namespace {
void makeExecutable(const QString& path)
{
    test::writeFile(path, "#!/bin/sh\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

class TestLinuxPlatform final : public QObject {
    Q_OBJECT
private slots:
    void probeNeedsAKeyboardAndUinput()
    {
        // The kernel prints key bitmaps as hex words, most significant first.
        QVERIFY(EvdevInputAccessProbe::hasKeyBit("120013 0 ffefffdfffffffff fffffffffffffffe", 30));
        QVERIFY(EvdevInputAccessProbe::hasKeyBit("4000000000000000 0", 126));
        QVERIFY(!EvdevInputAccessProbe::hasKeyBit("10000000000000 0", 30)); // a power button
        QVERIFY(!EvdevInputAccessProbe::hasKeyBit("zz", 30));

        QTemporaryDir root;
        const EvdevInputAccessProbe probe(root.path(), root.path());
        auto addDevice = [&](const char* event, const QByteArray& keys) {
            const QString caps = root.path() + QStringLiteral("/sys/class/input/") +
                                 QLatin1String(event) + QStringLiteral("/device/capabilities");
            QVERIFY(QDir().mkpath(caps) &&
                    QDir().mkpath(root.path() + QStringLiteral("/dev/input")));
            test::writeFile(caps + QStringLiteral("/key"), keys + '\n');
            test::writeFile(root.path() + QStringLiteral("/dev/input/") + QLatin1String(event), {});
        };
        addDevice("event3", "10000000000000 0");
        QVERIFY(!probe.canReadKeyboard());
        addDevice("event4", "fffffffffffffffe");
        QVERIFY(probe.canReadKeyboard());
        QVERIFY(!probe.hasInputAccess());
        test::writeFile(root.path() + QStringLiteral("/dev/input/uinput"), {});
        QVERIFY(probe.hasInputAccess());
    }

    void autostartEntry()
    {
        QTemporaryDir dir;
        const QString config = dir.path() + QStringLiteral("/config");
        const QString exeDir = dir.path() + QStringLiteral("/odd $dir \"quoted\"");
        const QString onPath = dir.path() + QStringLiteral("/path");
        QVERIFY(QDir().mkpath(exeDir) && QDir().mkpath(onPath));
        XDGAutostart autostart(config, exeDir, QStringLiteral("relative:") + onPath);

        QString error;
        QVERIFY(!autostart.registerMainApp(&error));
        QVERIFY2(error.contains(QStringLiteral("\"marten\" was not found")), qPrintable(error));
        QVERIFY(!QFile::exists(autostart.entryPath()));

        makeExecutable(onPath + QStringLiteral("/marten"));
        QCOMPARE(autostart.findMainApp(), onPath + QStringLiteral("/marten"));
        makeExecutable(exeDir + QStringLiteral("/marten")); // beside the onboarding wins
        QVERIFY2(autostart.registerMainApp(&error), qPrintable(error));
        QFile entry(config + QStringLiteral("/autostart/com.marten.Marten.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("/odd \\\\$dir \\\\\"quoted\\\\\"/marten\"\n"));
        QProcess validate;
        validate.start(QStringLiteral("desktop-file-validate"), {entry.fileName()});
        QVERIFY(validate.waitForFinished());
        QVERIFY2(validate.exitCode() == 0 && validate.readAll().isEmpty(), "entry must validate");

        // A file where the folder should be: the failure is reported, never success.
        QVERIFY(entry.remove() && QDir(config + QStringLiteral("/autostart")).removeRecursively());
        test::writeFile(config + QStringLiteral("/autostart"), "x");
        error.clear();
        QVERIFY(!autostart.registerMainApp(&error));
        QVERIFY(!error.isEmpty());
    }

    void settingsReachMartenConfOrReportWhyNot()
    {
        QSettingsStore defaults;
        QString error;
        QVERIFY(defaults.setFlags({{QStringLiteral("ftue_completed"), true}}, &error));
        QFile conf(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Marten/Marten.conf"));
        QCOMPARE(defaults.fileName(), conf.fileName());
        QVERIFY(conf.open(QIODevice::ReadOnly));
        QVERIFY(conf.readAll().contains("ftue_completed=true"));

        // The organisation folder is a file: nothing can be saved (this holds for root too).
        QTemporaryDir dir;
        test::writeFile(dir.path() + QStringLiteral("/Marten"), "x");
        QSettingsStore blocked(dir.path() + QStringLiteral("/Marten/Marten.conf"));
        QVERIFY(!blocked.setFlags({{QStringLiteral("ftue_completed"), true}}, &error));
        QVERIFY(error.contains(QStringLiteral("Marten.conf")));
    }

    // The main application shares the file: what QSettings cannot parse would be lost on a
    // rewrite, so such a file is left exactly as it is; a valid one keeps its other keys.
    void settingsAreWrittenWholeOrNotAtAll_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("saved");
        QTest::newRow("hash line") << QByteArray("# mine\n[General]\nvolume=3\n") << false;
        QTest::newRow("no equals") << QByteArray("[General]\nvolume=3\nwords\n") << false;
        QTest::newRow("open section") << QByteArray("[General\nvolume=3\n") << false;
        QTest::newRow("valid") << QByteArray("[General]\nvolume=3\n\n[hotkey]\nkey=F9\n") << true;
    }
    void settingsAreWrittenWholeOrNotAtAll()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Marten.conf"));
        test::writeFile(path, before);
        QString error;
        const bool ok =
            QSettingsStore(path).setFlags({{QStringLiteral("has_launched_before"), true},
                                           {QStringLiteral("ftue_completed"), true}},
                                          &error);
        QCOMPARE(ok, saved);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Marten.conf")}); // no lock, no temporary left
        QSettings after(path, QSettings::IniFormat);
        if (!saved) {
            QVERIFY2(error.endsWith(QStringLiteral("is not a valid settings file")),
                     qPrintable(error));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), before);
            return;
        }
        QCOMPARE(after.value(QStringLiteral("ftue_completed")).toBool(), true);
        QCOMPARE(after.value(QStringLiteral("has_launched_before")).toBool(), true);
        QCOMPARE(after.value(QStringLiteral("volume")).toInt(), 3);
        QCOMPARE(after.value(QStringLiteral("hotkey/key")).toString(), QStringLiteral("F9"));
    }

    // A folder in the lock's place never goes stale: the wait must end by itself.
    void aHeldLockIsGivenUpOn()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Marten.conf"));
        QVERIFY(QDir().mkdir(path + QStringLiteral(".lock")));
        QElapsedTimer timer;
        timer.start();
        QString error;
        QVERIFY(!QSettingsStore(path, std::chrono::milliseconds(300))
                     .setFlags({{QStringLiteral("ftue_completed"), true}}, &error));
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY2(error.endsWith(QStringLiteral("is locked by another program")), qPrintable(error));
        QVERIFY(!QFile::exists(path));
    }

    // Dotfile managers link the file into place: the link stays, its target gets the flags.
    void aLinkedSettingsFileStaysALink()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("dotfiles.conf"));
        const QString path = dir.filePath(QStringLiteral("Marten.conf"));
        test::writeFile(target, "[General]\nvolume=3\n");
        QVERIFY(QFile::link(target, path));
        QString error;
        QVERIFY2(QSettingsStore(path).setFlags({{QStringLiteral("ftue_completed"), true}}, &error),
                 qPrintable(error));
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(QSettings(target, QSettings::IniFormat).value(QStringLiteral("ftue_completed")),
                 QVariant(QStringLiteral("true")));
    }

    // GLib refuses to launch an Exec line with a % in the path, however it is escaped.
    void autostartRefusesAPercentInThePath()
    {
        QTemporaryDir dir;
        const QString exeDir = dir.path() + QStringLiteral("/100%");
        QVERIFY(QDir().mkpath(exeDir));
        makeExecutable(exeDir + QStringLiteral("/marten"));
        XDGAutostart autostart(dir.path() + QStringLiteral("/config"), exeDir, QString());
        QString error;
        QVERIFY(!autostart.registerMainApp(&error));
        QVERIFY2(error.contains(QStringLiteral("cannot be written to an autostart entry")),
                 qPrintable(error));
        QVERIFY(!QFile::exists(autostart.entryPath()));
    }

    void consoleLinesAreVisibleAtOnce()
    {
        std::FILE* stream = std::tmpfile();
        StdoutConsole(stream).line(QStringLiteral("FTUE will show 4 steps"));
        // A second descriptor sees only what was flushed.
        QFile reader;
        QVERIFY(reader.open(::dup(fileno(stream)), QIODevice::ReadOnly, QFile::AutoCloseHandle));
        reader.seek(0);
        QCOMPARE(reader.readAll(), QByteArray("FTUE will show 4 steps\n"));
        std::fclose(stream);
    }

    void schedulerRunsCancelsAndRespectsContext()
    {
        QtScheduler scheduler;
        int once = 0, repeated = 0, orphaned = 0;
        scheduler.after(0ms, nullptr, [&] { ++once; });
        auto* context = new QObject;
        scheduler.after(0ms, context, [&] { ++orphaned; });
        delete context;
        const auto id = scheduler.every(1ms, nullptr, [&] { ++repeated; });
        QTRY_VERIFY(repeated >= 3);
        scheduler.cancel(id);
        const int stoppedAt = repeated;
        QTest::qWait(20);
        QCOMPARE(repeated, stoppedAt);
        QCOMPARE(once, 1);
        QCOMPARE(orphaned, 0);
    }
};

MARTEN_TEST_MAIN(TestLinuxPlatform)
#include "tst_linuxplatform.moc"
