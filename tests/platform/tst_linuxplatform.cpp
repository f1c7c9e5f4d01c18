#include "platform/linux/InputAccessProbe.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/SettingsDefaults.h"
#include "platform/linux/StdoutConsole.h"
#include "platform/linux/XdgAutostart.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
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

// Builds /sys/class/input/eventN/device/capabilities/key and /dev/input/eventN under `root`.
void addInputDevice(const QString& root, const QString& event, const QByteArray& keyBitmap)
{
    const QString caps =
        root + QStringLiteral("/sys/class/input/") + event + QStringLiteral("/device/capabilities");
    QVERIFY(QDir().mkpath(caps));
    test::writeFile(caps + QStringLiteral("/key"), keyBitmap + '\n');
    QVERIFY(QDir().mkpath(root + QStringLiteral("/dev/input")));
    test::writeFile(root + QStringLiteral("/dev/input/") + event, {});
}

} // namespace

class TestLinuxPlatform final : public QObject {
    Q_OBJECT
private slots:
    void keyBitmapParsing_data()
    {
        QTest::addColumn<QByteArray>("bitmap");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("set");
        // A full keyboard as the kernel prints it (64-bit words, most significant first).
        const QByteArray keyboard = "120013 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
                                    "ffefffdfffffffff fffffffffffffffe";
        QTest::newRow("KEY_A on a keyboard") << keyboard << 30 << true;
        QTest::newRow("KEY_RIGHTMETA on a keyboard") << keyboard << 126 << true;
        QTest::newRow("power button has no KEY_A") << QByteArray("10000000000000 0") << 30 << false;
        QTest::newRow("right meta only") << QByteArray("4000000000000000 0") << 126 << true;
        QTest::newRow("empty") << QByteArray("") << 30 << false;
        QTest::newRow("garbage") << QByteArray("zz zz") << 30 << false;
    }

    void keyBitmapParsing()
    {
        QFETCH(QByteArray, bitmap);
        QFETCH(int, code);
        QFETCH(bool, set);
        QCOMPARE(InputAccessProbe::hasKeyBit(bitmap, code), set);
    }

    void probeNeedsKeyboardAndUinput()
    {
        QTemporaryDir root;
        const InputAccessProbe probe(root.path(), root.path());
        QVERIFY(!probe.isTrusted());
        addInputDevice(root.path(), QStringLiteral("event3"), "10000000000000 0"); // no keys
        QVERIFY(!probe.canReadKeyboard());
        addInputDevice(root.path(), QStringLiteral("event4"), "fffffffffffffffe");
        QVERIFY(probe.canReadKeyboard());
        QVERIFY(!probe.isTrusted());
        test::writeFile(root.path() + QStringLiteral("/dev/input/uinput"), {});
        QVERIFY(probe.canWriteUinput());
        QVERIFY(probe.isTrusted());
        if (::geteuid() == 0)
            QSKIP("root passes every access check; the mode checks need an ordinary user");
        QFile::setPermissions(root.path() + QStringLiteral("/dev/input/event4"), QFile::WriteOwner);
        QVERIFY(!probe.canReadKeyboard());
        QFile::setPermissions(root.path() + QStringLiteral("/dev/input/uinput"), QFile::ReadOwner);
        QVERIFY(!probe.canWriteUinput());
    }

    void autostartEntryIsValidAndQuoted()
    {
        QTemporaryDir dir;
        const QString exeDir = dir.path() + QStringLiteral("/odd $dir \"with\" quotes");
        QVERIFY(QDir().mkpath(exeDir));
        makeExecutable(exeDir + QStringLiteral("/marten"));
        XdgAutostart autostart(dir.path() + QStringLiteral("/config"), exeDir, QString());
        QString error;
        QVERIFY2(autostart.registerMainApp(&error), qPrintable(error));

        QFile entry(autostart.entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray text = entry.readAll();
        QVERIFY(text.contains("Exec=\""));
        QVERIFY(text.contains("\\\\$dir \\\\\"with\\\\\" quotes/marten\""));
        QVERIFY(autostart.entryPath().endsWith(
            QStringLiteral("/config/autostart/com.marten.Marten.desktop")));

        const QString validator =
            QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            QSKIP("desktop-file-validate is not installed");
        QProcess validate;
        validate.start(validator, {autostart.entryPath()});
        QVERIFY(validate.waitForFinished());
        QVERIFY2(validate.exitCode() == 0, validate.readAll().constData());
        QCOMPARE(validate.readAll(), QByteArray());
    }

    void autostartFindsTheMainApp()
    {
        QTemporaryDir dir;
        const QString beside = dir.path() + QStringLiteral("/bin");
        const QString onPath = dir.path() + QStringLiteral("/path");
        QVERIFY(QDir().mkpath(beside));
        QVERIFY(QDir().mkpath(onPath));
        const QString config = dir.path() + QStringLiteral("/config");
        XdgAutostart none(config, beside, QStringLiteral("relative:") + onPath);
        QString error;
        QVERIFY(!none.registerMainApp(&error));
        QVERIFY2(error.contains(QStringLiteral("main application \"marten\" was not found")),
                 qPrintable(error));
        QVERIFY(!QFile::exists(none.entryPath()));

        makeExecutable(onPath + QStringLiteral("/marten"));
        QCOMPARE(none.findMainApp(), onPath + QStringLiteral("/marten"));
        makeExecutable(beside + QStringLiteral("/marten"));
        QCOMPARE(none.findMainApp(), beside + QStringLiteral("/marten"));
    }

    // A failure to write must be reported as one, never as success.
    void autostartReportsAnUnwritableFolder()
    {
        QTemporaryDir dir;
        makeExecutable(dir.path() + QStringLiteral("/marten"));
        // "autostart" is a file, so the folder cannot be made (this holds for root too).
        QVERIFY(QDir().mkpath(dir.path() + QStringLiteral("/config")));
        test::writeFile(dir.path() + QStringLiteral("/config/autostart"), "x");
        XdgAutostart autostart(dir.path() + QStringLiteral("/config"), dir.path(), QString());
        QString error;
        QVERIFY(!autostart.registerMainApp(&error));
        QVERIFY(!error.isEmpty());
    }

    void settingsAreWrittenToMartenConf()
    {
        SettingsDefaults defaults;
        QString error;
        QVERIFY(defaults.setBool(QStringLiteral("has_launched_before"), true, &error));
        QVERIFY(defaults.setBool(QStringLiteral("ftue_completed"), true, &error));
        QFile conf(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Marten/Marten.conf"));
        QVERIFY(conf.open(QIODevice::ReadOnly));
        const QByteArray text = conf.readAll();
        QVERIFY(text.contains("has_launched_before=true"));
        QVERIFY(text.contains("ftue_completed=true"));
    }

    void settingsReportAFailedWrite()
    {
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        QTemporaryDir dir;
        // The organisation folder is a file: nothing can be saved below it.
        test::writeFile(dir.path() + QStringLiteral("/Marten"), "x");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        SettingsDefaults defaults;
        QString error;
        const bool ok = defaults.setBool(QStringLiteral("ftue_completed"), true, &error);
        qputenv("XDG_CONFIG_HOME", saved);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromLocal8Bit(saved));
        QVERIFY(!ok);
        QVERIFY(error.contains(QStringLiteral("Marten.conf")));
    }

    void consoleLinesAreVisibleAtOnce()
    {
        std::FILE* stream = std::tmpfile();
        QVERIFY(stream);
        StdoutConsole console(stream);
        console.line(QStringLiteral("FTUE will show 4 steps"));
        // Read through a second descriptor: only flushed bytes are there.
        QFile reader;
        QVERIFY(reader.open(::dup(fileno(stream)), QIODevice::ReadOnly, QFile::AutoCloseHandle));
        reader.seek(0);
        QCOMPARE(reader.readAll(), QByteArray("FTUE will show 4 steps\n"));
        std::fclose(stream);
    }

    void schedulerRunsCancelsAndRespectsContext()
    {
        QtScheduler scheduler;
        int once = 0;
        int repeated = 0;
        int orphaned = 0;
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
