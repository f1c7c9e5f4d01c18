#include "support/CoreTestEnv.h"

#include "platform/linux/PkexecInputAccessGranter.h"

#include <QElapsedTimer>
#include <QSignalSpy>

#include <sys/stat.h>
#include <unistd.h>

using namespace marten;
using Outcome = InputAccessGranter::Outcome;

namespace {

// A pkexec taking half a second, writing (or flooding) standard error, exiting as told.
constexpr char kFakePkexec[] = R"(#!/bin/sh
sleep 0.5
case "$FAKE_PKEXEC_ERR" in
flood) head -c 20000000 /dev/zero | tr '\0' x >&2 ;;
*) printf "$FAKE_PKEXEC_ERR" >&2 ;;
esac
[ "$FAKE_PKEXEC_STATUS" = -1 ] && kill -KILL $$
exit "$FAKE_PKEXEC_STATUS"
)";

} // namespace

class TestPkexecGranter final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_pkexec = m_dir.filePath("fakebin/pkexec");
    const QString m_program = m_dir.filePath("prefix/bin"); // the helper where the install puts it
    const QString m_helper = m_dir.filePath("prefix/libexec/marten-onboarding/grant-input-access");

    bool canGrant(const QString& pkexec) const
    {
        return PkexecInputAccessGranter(PkexecInputAccessGranter::trusted(pkexec),
                                        PkexecInputAccessGranter::trusted(
                                            PkexecInputAccessGranter::helperBeside(m_program)))
            .canGrant();
    }

private slots:
    void initTestCase()
    {
        test::writeFile(m_pkexec, kFakePkexec, true);
        test::writeFile(m_helper, "#!/bin/sh\n", true);
        QVERIFY(QDir().mkpath(m_program));
    }

    // Nothing to run without pkexec and the helper, or where anyone but root could rewrite them.
    void grantsOnlyWithPkexecAndTheHelperOnlyRootControls()
    {
        const QString missing = m_dir.filePath("nowhere/pkexec");
        QVERIFY(!canGrant(missing));
        PkexecInputAccessGranter granter(missing, m_helper);
        QSignalSpy finished(&granter, &InputAccessGranter::finished);
        granter.start();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().at(0).value<Outcome>(), Outcome::Failed);
        QVERIFY(finished.first().at(1).toString().startsWith(missing + ": "));
        if (geteuid() != 0) {
            // This user's own temporary folder: the helper is theirs to rewrite.
            QVERIFY(!canGrant(m_pkexec));
            QSKIP("the rest needs files that root owns");
        }
        QVERIFY(canGrant(m_pkexec));

        const auto usableWhen = [&](const QString& path, mode_t mode, uid_t owner) {
            const QByteArray native = QFile::encodeName(path);
            struct stat st {};
            ::stat(native.constData(), &st);
            const bool changed = ::chmod(native.constData(), mode) == 0 &&
                                 ::chown(native.constData(), owner, 0) == 0;
            const bool usable = canGrant(m_pkexec);
            if (::chmod(native.constData(), st.st_mode & 07777) != 0 ||
                ::chown(native.constData(), 0, 0) != 0)
                qFatal("cannot restore %s", qPrintable(path));
            return changed && usable;
        };
        const QString folder = QFileInfo(m_helper).path();
        QVERIFY(!usableWhen(m_helper, 01775, 0)); // group-writable; sticky means nothing on a file
        QVERIFY(!usableWhen(m_helper, 0755, 65534));
        QVERIFY(!usableWhen(m_helper, 0644, 0)); // not executable
        QVERIFY(!usableWhen(m_pkexec, 0757, 0));
        QVERIFY(!usableWhen(folder, 0777, 0));
        QVERIFY(!usableWhen(folder, 0755, 65534));
        QVERIFY(!usableWhen(m_dir.path(), 0770, 0));
        QVERIFY(usableWhen(m_dir.path(), 01777, 0));      // sticky, as /tmp
        QVERIFY(!usableWhen(m_dir.path(), 01777, 65534)); // but not the owner's
    }

    // start() does not wait out the fake's half second. Status -1: killed.
    void eachExitStatusSaysWhatHappened()
    {
        const std::tuple<int, QByteArray, Outcome, QString> runs[] = {
            {126, "first complaint\\nlast complaint\\n\\n", Outcome::Dismissed, "last complaint"},
            {127, "Error: Not authorized\\n\\nReported.\\n", Outcome::NotAuthorised, "Reported."},
            // pkexec's other errors share its status: the detail says which.
            {127, "Error: No authentication agent found.\\n", Outcome::Failed,
             "Error: No authentication agent found."},
            {-1, "", Outcome::Stopped, ""},
            {1, "flood", Outcome::Failed, QString(299, 'x') + QChar(0x2026)},
        };
        for (const auto& [status, error, outcome, detail] : runs) {
            qputenv("FAKE_PKEXEC_STATUS", QByteArray::number(status));
            qputenv("FAKE_PKEXEC_ERR", error);
            PkexecInputAccessGranter granter(m_pkexec, "/the/helper");
            QSignalSpy started(&granter, &InputAccessGranter::started);
            QSignalSpy finished(&granter, &InputAccessGranter::finished);
            QElapsedTimer clock;
            clock.start();
            granter.start();
            granter.start(); // one run at a time
            QVERIFY(clock.elapsed() < 400);
            QCOMPARE(started.count(), 1);
            QTRY_VERIFY_WITH_TIMEOUT(!granter.isRunning(), 5000);
            QCOMPARE(finished.count(), 1);
            QCOMPARE(finished.first().at(0).value<Outcome>(), outcome);
            QCOMPARE(finished.first().at(1).toString(), detail);
        }
    }
};

MARTEN_CORE_TEST_MAIN(TestPkexecGranter)
#include "tst_pkexecgranter.moc"
