// Raw string literals are avoided here: moc mis-parses some of them.
#include "account/AccountChecks.h"
#include "platform/fake/Fakes.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace marten;

namespace {
const char* const kLocal = ".marten_auth_local.json";
const char* const kToken = ".marten_auth_token.json";
const QByteArray kAbsent = "<absent>";
} // namespace

class TestAccountChecks final : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    fake::Console m_console;

    void put(const char* name, const QByteArray& content)
    {
        const QString path = m_home.path() + QLatin1Char('/') + QLatin1String(name);
        QFile::remove(path);
        if (content != kAbsent)
            test::writeFile(path, content);
    }

private slots:
    void init()
    {
        QVERIFY(m_home.isValid());
        put(kLocal, kAbsent);
        put(kToken, kAbsent);
        m_console.clear();
    }

    void authentication_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<QByteArray>("local");
        QTest::addColumn<QByteArray>("token");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("line");

        const QString notAuth = QStringLiteral("User is not authenticated");
        const QString fullLocal =
            QStringLiteral("User is authenticated (found valid token in .marten_auth_local.json)");
        const QString fullToken =
            QStringLiteral("User is authenticated (found valid token in .marten_auth_token.json)");
        const QString simpleLocal =
            QStringLiteral("User is authenticated (found token in .marten_auth_local.json)");
        const QString simpleToken =
            QStringLiteral("User is authenticated (found token in .marten_auth_token.json)");

        QTest::newRow("full: no files") << Variant::Full << kAbsent << kAbsent << false << notAuth;
        QTest::newRow("simple: no files")
            << Variant::Simple << kAbsent << kAbsent << false << notAuth;
        QTest::newRow("full: local token")
            << Variant::Full << QByteArray("{\"token\":\"abc\"}") << kAbsent << true << fullLocal;
        QTest::newRow("full: local wins over token file")
            << Variant::Full << QByteArray("{\"token\":\"abc\"}")
            << QByteArray("{\"access_token\":\"x\"}") << true << fullLocal;
        // An unusable token does not stop the search: the token file is still read.
        QTest::newRow("full: empty token falls through")
            << Variant::Full << QByteArray("{\"token\":\"\"}")
            << QByteArray("{\"access_token\":\"x\"}") << true << fullToken;
        QTest::newRow("simple: empty token counts")
            << Variant::Simple << QByteArray("{\"token\":\"\"}")
            << QByteArray("{\"access_token\":\"x\"}") << true << simpleLocal;
        QTest::newRow("full: null token ignored")
            << Variant::Full << QByteArray("{\"token\":null}") << kAbsent << false << notAuth;
        QTest::newRow("simple: null token counts")
            << Variant::Simple << QByteArray("{\"token\":null}") << kAbsent << true << simpleLocal;
        QTest::newRow("full: number token ignored")
            << Variant::Full << QByteArray("{\"token\":42}") << kAbsent << false << notAuth;
        QTest::newRow("simple: object token counts")
            << Variant::Simple << QByteArray("{\"token\":{}}") << kAbsent << true << simpleLocal;
        QTest::newRow("simple: token file only")
            << Variant::Simple << kAbsent << QByteArray("{\"access_token\":\"\"}") << true
            << simpleToken;
        QTest::newRow("full: empty access_token")
            << Variant::Full << kAbsent << QByteArray("{\"access_token\":\"\"}") << false
            << notAuth;
        QTest::newRow("full: token file holds an array")
            << Variant::Full << kAbsent << QByteArray("[{\"access_token\":\"x\"}]") << false
            << notAuth;
        QTest::newRow("simple: malformed JSON") << Variant::Simple << QByteArray("{\"token\":")
                                                << QByteArray("not json") << false << notAuth;
        QTest::newRow("full: key in the wrong file")
            << Variant::Full << QByteArray("{\"access_token\":\"x\"}")
            << QByteArray("{\"token\":\"x\"}") << false << notAuth;
        QTest::newRow("full: invalid UTF-8")
            << Variant::Full << QByteArray("{\"token\":\"\xff\xfe\"}") << kAbsent << false
            << notAuth;
        QTest::newRow("simple: NUL bytes")
            << Variant::Simple << QByteArray("{\"token\"\0:1}", 12) << kAbsent << false << notAuth;
        // A byte-order mark is tolerated, as JSON readers commonly do.
        QTest::newRow("full: BOM before valid JSON")
            << Variant::Full << QByteArray("\xef\xbb\xbf{\"token\":\"abc\"}") << kAbsent << true
            << fullLocal;
    }

    void authentication()
    {
        QFETCH(Variant, variant);
        QFETCH(QByteArray, local);
        QFETCH(QByteArray, token);
        QFETCH(bool, expected);
        QFETCH(QString, line);
        put(kLocal, local);
        put(kToken, token);
        const AccountChecks checks(variant, m_home.path(), m_console);
        QCOMPARE(checks.checkAuthentication(), expected);
        QCOMPARE(m_console.lines(), QStringList{line});
    }

    void subscription_data()
    {
        QTest::addColumn<QByteArray>("local");
        QTest::addColumn<QByteArray>("token");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("line");
        const QString none = QStringLiteral("No subscription status found");
        QTest::newRow("missing file") << kAbsent << kAbsent << false << none;
        QTest::newRow("true") << QByteArray("{\"has_subscription\":true}") << kAbsent << true
                              << QStringLiteral("User subscription status: true");
        QTest::newRow("false") << QByteArray("{\"has_subscription\":false}") << kAbsent << false
                               << QStringLiteral("User subscription status: false");
        QTest::newRow("string true")
            << QByteArray("{\"has_subscription\":\"true\"}") << kAbsent << false << none;
        QTest::newRow("number 1") << QByteArray("{\"has_subscription\":1}") << kAbsent << false
                                  << none;
        QTest::newRow("null") << QByteArray("{\"has_subscription\":null}") << kAbsent << false
                              << none;
        QTest::newRow("only in token file")
            << QByteArray("{\"token\":\"t\"}") << QByteArray("{\"has_subscription\":true}") << false
            << none;
    }

    void subscription()
    {
        QFETCH(QByteArray, local);
        QFETCH(QByteArray, token);
        QFETCH(bool, expected);
        QFETCH(QString, line);
        put(kLocal, local);
        put(kToken, token);
        const AccountChecks checks(Variant::Full, m_home.path(), m_console);
        QCOMPARE(checks.checkSubscription(), expected);
        QCOMPARE(m_console.lines(), QStringList{line});
    }

    // A FIFO, a device, a directory or a huge file at an account path must neither block
    // the decision nor be read whole: each counts as absent, at once.
    void specialFilesCountAsAbsent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << QStringLiteral("fifo");
        QTest::newRow("symlink to /dev/zero") << QStringLiteral("zero");
        QTest::newRow("symlink loop") << QStringLiteral("loop");
        QTest::newRow("directory") << QStringLiteral("dir");
        QTest::newRow("oversized file") << QStringLiteral("big");
        QTest::newRow("100000 nested arrays") << QStringLiteral("nested");
    }

    void specialFilesCountAsAbsent()
    {
        QFETCH(QString, kind);
        for (const char* name : {kLocal, kToken}) {
            init();
            const QString path = m_home.path() + QLatin1Char('/') + QLatin1String(name);
            const QByteArray native = QFile::encodeName(path);
            if (kind == QLatin1String("fifo")) {
                QCOMPARE(::mkfifo(native.constData(), 0600), 0);
            } else if (kind == QLatin1String("zero")) {
                QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
            } else if (kind == QLatin1String("loop")) {
                QCOMPARE(::symlink(native.constData(), native.constData()), 0);
            } else if (kind == QLatin1String("dir")) {
                QVERIFY(QDir().mkpath(path));
            } else if (kind == QLatin1String("big")) {
                QByteArray big = "{\"token\":\"abc\", \"access_token\":\"abc\", \"pad\":\"";
                big += QByteArray(2 * AccountChecks::maxFileSize, 'x') + "\"}";
                test::writeFile(path, big);
            } else {
                test::writeFile(path, QByteArray(100000, '[') + QByteArray(100000, ']'));
            }
            QElapsedTimer timer;
            timer.start();
            const AccountChecks checks(Variant::Simple, m_home.path(), m_console);
            QVERIFY(!checks.checkAuthentication());
            const AccountChecks full(Variant::Full, m_home.path(), m_console);
            QVERIFY(!full.checkSubscription());
            QVERIFY2(timer.elapsed() < 2000, "the checks must answer at once");
            QCOMPARE(m_console.lines(),
                     (QStringList{QStringLiteral("User is not authenticated"),
                                  QStringLiteral("No subscription status found")}));
            QFile::remove(path);
            QDir(path).removeRecursively();
        }
    }

    // The main application may replace or delete a file at any moment: every answer must
    // still be whole (one known line), never a crash or a hang.
    void filesChangingWhileRead()
    {
        const QString path = m_home.path() + QLatin1Char('/') + QLatin1String(kLocal);
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            const QByteArray good =
                "{\"token\":\"abc\",\"pad\":\"" + QByteArray(50000, 'p') + "\"}";
            for (int i = 0; !stop; ++i) {
                if (i % 3 == 0) {
                    QFile::remove(path);
                } else {
                    QFile file(path);
                    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                        file.write(good.left(i % 2 ? good.size() : good.size() / 2));
                }
            }
        });
        const AccountChecks checks(Variant::Full, m_home.path(), m_console);
        for (int i = 0; i < 300; ++i)
            checks.checkAuthentication();
        stop = true;
        writer.join();
        const QStringList lines = m_console.lines();
        QCOMPARE(lines.size(), 300);
        for (const QString& line : lines)
            QVERIFY2(line == QStringLiteral("User is not authenticated") ||
                         line.startsWith(QStringLiteral("User is authenticated (found valid")),
                     qPrintable(line));
    }

    void nothingIsCached()
    {
        const AccountChecks checks(Variant::Full, m_home.path(), m_console);
        QVERIFY(!checks.checkAuthentication());
        put(kToken, "{\"access_token\":\"new\"}");
        QVERIFY(checks.checkAuthentication());
    }
};

MARTEN_TEST_MAIN(TestAccountChecks)
#include "tst_accountchecks.moc"
