// Ordinary string literals only: moc (Qt 6.4) mis-parses some raw strings in Q_OBJECT files.
#include "core/AccountChecks.h"
#include "core/RegularFile.h"
#include "fakes/Fakes.h"
#include "support/CoreTestEnv.h"

#include <QDir>

#include <sys/stat.h>

using namespace marten;

namespace {
const QString kLocal = QStringLiteral(".marten_auth_local.json");
const QString kToken = QStringLiteral(".marten_auth_token.json");
const QByteArray kAbsent = "<absent>";
const QString kFound = QStringLiteral("User is authenticated (found %1 in %2)");
const QString kNoSub = QStringLiteral("No subscription status found");
} // namespace

class TestAccountChecks final : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    fake::Console m_console;

    void put(const QString& name, const QByteArray& content)
    {
        QFile::remove(m_home.filePath(name));
        if (content != kAbsent)
            test::writeFile(m_home.filePath(name), content);
    }

private slots:
    void init()
    {
        put(kLocal, kAbsent);
        put(kToken, kAbsent);
        m_console.clear();
    }

    // One line per answer; an unusable token still lets the token file be read; the flag is a
    // JSON boolean in the local file only.
    void authenticationAndSubscription()
    {
        using enum Variant;
        const auto valid = [](const QString& file) { return kFound.arg("valid token", file); };
        const auto any = [](const QString& file) { return kFound.arg("token", file); };
        const QByteArray flag = "{\"has_subscription\":";
        const std::tuple<Variant, bool, QByteArray, QByteArray, bool, QString> cases[] = {
            {Full, false, "{\"token\":\"abc\"}", kAbsent, true, valid(kLocal)},
            {Full, false, "{\"token\":\"\"}", "{\"access_token\":\"x\"}", true, valid(kToken)},
            {Simple, false, "{\"token\":\"\"}", "{\"access_token\":\"x\"}", true, any(kLocal)},
            {Simple, false, kAbsent, "{\"access_token\":\"\"}", true, any(kToken)},
            {Full, true, flag + "true}", kAbsent, true, "User subscription status: true"},
            {Full, true, flag + "false}", kAbsent, false, "User subscription status: false"},
            {Full, true, flag + "\"true\"}", kAbsent, false, kNoSub},
            {Full, true, kAbsent, flag + "true}", false, kNoSub},
        };
        for (const auto& [variant, subscription, local, token, expected, line] : cases) {
            init();
            put(kLocal, local);
            put(kToken, token);
            const AccountChecks checks(variant, m_home.path(), m_console);
            QCOMPARE(subscription ? checks.checkSubscription() : checks.checkAuthentication(),
                     expected);
            QCOMPARE(m_console.lines(), QStringList{line});
        }
    }

    // A FIFO, a huge file or a relative home (the working folder) holds no account.
    void specialFilesAndRelativeHomesHoldNoAccount()
    {
        const test::FailIfBlocked watchdog(std::chrono::seconds(20));
        QVERIFY(QDir::setCurrent(m_home.path()));
        for (const QString plant : {"fifo", "huge", "relative home"}) {
            init();
            const QByteArray padding(plant == "huge" ? 2 * AccountChecks::maxFileSize : 0, 'x');
            if (plant == "fifo")
                QCOMPARE(::mkfifo(QFile::encodeName(m_home.filePath(kLocal)).constData(), 0600), 0);
            else
                put(kLocal,
                    "{\"token\":\"abc\",\"has_subscription\":true,\"p\":\"" + padding + "\"}");
            const QString home = plant == "relative home" ? "." : m_home.path();
            QVERIFY(!AccountChecks(Variant::Simple, home, m_console).checkAuthentication());
            QVERIFY(!AccountChecks(Variant::Full, home, m_console).checkSubscription());
            QCOMPARE(m_console.lines(), (QStringList{"User is not authenticated", kNoSub}));
        }
        // A size that lies (procfs, some network file systems) does not lift the cap.
        QCOMPARE(readRegularFile("/proc/self/maps", 64).error(), QStringLiteral("too large"));
    }
};

MARTEN_CORE_TEST_MAIN(TestAccountChecks)
#include "tst_accountchecks.moc"
