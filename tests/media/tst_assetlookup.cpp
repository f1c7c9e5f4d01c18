#include "media/AssetLookup.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace marten;

// A fake installation: a home, a resource folder, and an executable in a package folder
// (<root>/pkg/bin/X).
class tst_AssetLookup : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_savedCwd;

    QString root() const { return m_root.path(); }
    QString home() const { return root() + "/home"; }
    QString resources() const { return root() + "/share/marten-onboarding"; }
    QString package() const { return root() + "/pkg"; }
    QString exe() const { return package() + "/bin/X"; }
    AssetPaths paths() const { return {home(), exe(), resources()}; }

    void put(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).path());
        test::writeFile(path, "GIF89a");
    }
    static QString found(const std::optional<QUrl>& url)
    {
        return url ? url->toLocalFile() : QStringLiteral("<none>");
    }
    static QString canonical(const std::optional<QUrl>& url)
    {
        return url ? QFileInfo(url->toLocalFile()).canonicalFilePath() : QStringLiteral("<none>");
    }

private slots:
    void init()
    {
        QVERIFY(m_root.isValid());
        QDir(root()).removeRecursively();
        QDir().mkpath(root());
        QDir().mkpath(home());
        QDir().mkpath(package() + "/bin");
        m_savedCwd = QDir::currentPath();
    }
    void cleanup() { QDir::setCurrent(m_savedCwd); }

    // Each place wins over every place after it; removing the winner exposes the next (so
    // nothing is cached). The ".." beside the executable stays in the returned path.
    void precedenceFollowsTheFixedOrder()
    {
        const QString name = "glowy.gif";
        const QStringList places = {
            resources() + "/" + name,
            resources() + "/assets/" + name,
            home() + "/Documents/voice_to_text/assets/" + name,
            package() + "/bin/../assets/" + name,
            package() + "/Resources/assets/" + name,
        };
        for (const QString& place : places)
            put(place);
        for (const QString& place : places) {
            QCOMPARE(found(findAssetURL(name, paths())), place);
            QVERIFY(QFile::remove(place));
        }
        QCOMPARE(found(findAssetURL(name, paths())), QStringLiteral("<none>"));
    }

    void aDirectoryCountsAsFound()
    {
        QVERIFY(QDir().mkpath(home() + "/Documents/voice_to_text/assets/glowy.gif"));
        QCOMPARE(found(findAssetURL("glowy.gif", paths())),
                 home() + "/Documents/voice_to_text/assets/glowy.gif");
    }

    // Started as "./build/bin/X" from a shell: both executable-based places hang off the
    // current folder, as they would for the build tree's programs.
    void relativeExecutablePathUsesTheWorkingFolder()
    {
        QDir().mkpath(root() + "/work/build/bin");
        put(root() + "/work/build/assets/glowy.gif");
        QVERIFY(QDir::setCurrent(root() + "/work"));
        const AssetPaths relative{home(), "./build/bin/X", {}};
        QCOMPARE(canonical(findAssetURL("glowy.gif", relative)),
                 QFileInfo(root() + "/work/build/assets/glowy.gif").canonicalFilePath());

        // Started from the executable's own folder: the Resources/assets place is still the
        // one above that folder, not inside it.
        QFile::remove(root() + "/work/build/assets/glowy.gif");
        put(root() + "/work/build/Resources/assets/glowy.gif");
        put(root() + "/work/build/bin/Resources/assets/glowy.gif"); // the wrong place
        QVERIFY(QDir::setCurrent(root() + "/work/build/bin"));
        const AssetPaths fromBin{home(), "./X", {}};
        QCOMPARE(canonical(findAssetURL("glowy.gif", fromBin)),
                 QFileInfo(root() + "/work/build/Resources/assets/glowy.gif").canonicalFilePath());
    }
};

MARTEN_TEST_MAIN(tst_AssetLookup)
#include "tst_assetlookup.moc"
