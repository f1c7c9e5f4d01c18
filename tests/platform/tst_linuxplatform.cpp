#include "platform/linux/EvdevInputAccessProbe.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/QSettingsStore.h"
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
        QVERIFY(conf.open(QIODevice::ReadOnly));
        QVERIFY(conf.readAll().contains("ftue_completed=true"));

        // The organisation folder is a file: nothing can be saved (this holds for root too).
        QTemporaryDir dir;
        test::writeFile(dir.path() + QStringLiteral("/Marten"), "x");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        const bool ok = defaults.setFlags({{QStringLiteral("ftue_completed"), true}}, &error);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           qEnvironmentVariable("XDG_CONFIG_HOME"));
        QVERIFY(!ok);
        QVERIFY(error.contains(QStringLiteral("Marten.conf")));
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
