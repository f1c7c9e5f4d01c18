#include "platform/linux/PrivateFolder.h"
#include "support/CoreTestEnv.h"

#include <QtTest>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace marten;

static mode_t modeOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class TestPrivateFolder final : public QObject {
    Q_OBJECT

private slots:
    // Absent: created; a planted link, group read, others' execute or another owner: a fallback.
    void usesTheRuntimeFolderOnlyWhenPrivate()
    {
        for (const int mode : {0, -1, 0740, 0701, 0700}) { // 0: nothing there; -1: a link
            QTemporaryDir runtime, elsewhere;
            const QString folder = runtime.path() + "/marten-onboarding";
            QVERIFY(mode < 0 ? QFile::link(elsewhere.path(), folder)
                             : mode == 0 ||
                                   (QDir().mkdir(folder) && chmod(qPrintable(folder), mode) == 0));
            // Ownership cannot be faked without privileges: ask on behalf of another user instead.
            const uid_t owner = getuid() + (mode == 0700 ? 1 : 0);
            auto got = std::make_optional(PrivateFolder::acquire(runtime.path(), owner));
            QVERIFY(got->ok());
            const QString path = got->value().path();
            QCOMPARE(path == folder, mode == 0);
            QCOMPARE(modeOf(path), mode_t(0700));
            QCOMPARE(modeOf(folder), mode_t(mode < 0 ? 0777 : mode == 0 ? 0700 : mode)); // as found
            // A link planted under a file's name is replaced by the file, never written through.
            test::writeFile(elsewhere.filePath("file"), "keep me");
            QVERIFY(QFile::link(elsewhere.filePath("file"), path + "/glowy.gif"));
            QVERIFY(got->value().writeFile("glowy.gif", "GIF89a").ok());
            QVERIFY(!QFileInfo(path + "/glowy.gif").isSymLink());
            QCOMPARE(modeOf(path + "/glowy.gif"), mode_t(0600));
            QCOMPARE(QFileInfo(elsewhere.filePath("file")).size(), 7);
            got.reset(); // a fallback goes with its last holder; the runtime folder stays
            QCOMPARE(QFileInfo::exists(path), mode == 0);
        }
    }
};

MARTEN_CORE_TEST_MAIN(TestPrivateFolder)
#include "tst_privatefolder.moc"
