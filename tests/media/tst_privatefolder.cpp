#include "media/PrivateFolder.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace marten;

class tst_PrivateFolder : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_runtime;
    QString runtime() const { return m_runtime->path(); }
    QString folder() const { return runtime() + "/marten-onboarding"; }

    static mode_t modeOf(const QString& path)
    {
        struct stat st {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    void expectFallback(const PrivateFolder& got)
    {
        QVERIFY(got.isValid());
        QVERIFY(got.isFallback());
        QVERIFY(!got.path().startsWith(runtime()));
        QCOMPARE(modeOf(got.path()), mode_t(0700));
    }

private slots:
    void init()
    {
        m_runtime = std::make_unique<QTemporaryDir>();
        QVERIFY(m_runtime->isValid());
    }

    void createsTheRuntimeFolderOwnerOnly()
    {
        const PrivateFolder got = PrivateFolder::acquire(runtime(), ::getuid());
        QVERIFY(!got.isFallback());
        QCOMPARE(got.path(), folder());
        QCOMPARE(modeOf(folder()), mode_t(0700));
        QVERIFY(PrivateFolder::isPrivate(folder(), ::getuid()));
        // A second call takes the same folder as it is.
        QCOMPARE(PrivateFolder::acquire(runtime(), ::getuid()).path(), folder());
    }

    // Someone else's link at our folder's name must not lead our files elsewhere.
    void refusesAPlantedLink()
    {
        QTemporaryDir elsewhere;
        QVERIFY(QFile::setPermissions(elsewhere.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::link(elsewhere.path(), folder()));
        QString why;
        QVERIFY(!PrivateFolder::isPrivate(folder(), ::getuid(), &why));
        QCOMPARE(why, QStringLiteral("is a symbolic link"));
        expectFallback(PrivateFolder::acquire(runtime(), ::getuid()));
        QVERIFY(QFileInfo(folder()).isSymLink());
        QVERIFY(QDir(elsewhere.path()).isEmpty());
    }

    void refusesWhatOthersCanReach_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("group read") << 0740;
        QTest::newRow("others execute") << 0701;
    }
    void refusesWhatOthersCanReach()
    {
        QFETCH(int, mode);
        QVERIFY(QDir().mkdir(folder()));
        QCOMPARE(::chmod(QFile::encodeName(folder()).constData(), mode_t(mode)), 0);
        expectFallback(PrivateFolder::acquire(runtime(), ::getuid()));
        QCOMPARE(modeOf(folder()), mode_t(mode)); // left as found
    }

    // Ownership cannot be faked without privileges; ask on behalf of another user instead.
    void refusesAFolderOfAnotherOwner()
    {
        QVERIFY(PrivateFolder::acquire(runtime(), ::getuid()).isValid());
        QString why;
        QVERIFY(!PrivateFolder::isPrivate(folder(), ::getuid() + 1, &why));
        QCOMPARE(why, QStringLiteral("belongs to another user"));
        expectFallback(PrivateFolder::acquire(runtime(), ::getuid() + 1));
    }

    void theFallbackIsSharedAndRemovedWithItsLastHolder()
    {
        QString path;
        {
            const PrivateFolder first = PrivateFolder::acquire({}, ::getuid()); // no runtime folder
            expectFallback(first);
            const PrivateFolder second = PrivateFolder::acquire({}, ::getuid());
            QCOMPARE(second.path(), first.path());
            path = first.path();
            QVERIFY(QFileInfo(path).isDir());
        }
        QVERIFY(!QFileInfo::exists(path));
        const PrivateFolder later = PrivateFolder::acquire({}, ::getuid());
        QVERIFY(later.isValid());
        QVERIFY(later.path() != path);
    }
};

MARTEN_TEST_MAIN(tst_PrivateFolder)
#include "tst_privatefolder.moc"
