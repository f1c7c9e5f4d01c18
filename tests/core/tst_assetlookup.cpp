#include "core/AssetLookup.h"
#include "support/CoreTestEnv.h"

#include <QtTest>

using namespace marten;

class TestAssetLookup final : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    const QString m_base = QFileInfo(m_root.path()).canonicalFilePath();
    QString path(const QString& relative) const { return m_base + "/" + relative; }
    void put(const QString& relative) { test::writeFile(path(relative), "GIF89a"); }
    static QString found(const AssetPaths& paths)
    {
        return findAssetURL("glowy.gif", paths).value_or(QUrl()).toLocalFile();
    }

private slots:
    // Each place wins over later ones, uncached, ".." kept; a folder under the name hides them.
    // Above 1x, a usable @2x twin (a link to a file is) is shown, but only from the found folder.
    void precedenceFollowsTheFixedOrder()
    {
        const AssetPaths paths{path("home"), path("pkg/bin/X"), path("share/marten-onboarding")};
        const QStringList places = {
            "share/marten-onboarding/glowy.gif", "share/marten-onboarding/assets/glowy.gif",
            "home/Documents/voice_to_text/assets/glowy.gif", "pkg/bin/../assets/glowy.gif",
            "pkg/Resources/assets/glowy.gif"};
        for (const QString& place : places)
            put(place);
        put("sharp.gif");
        QVERIFY(
            QFile::link(path("sharp.gif"), path("share/marten-onboarding/assets/glowy@2x.gif")));
        QVERIFY(QDir().mkpath(path("home/Documents/voice_to_text/assets/glowy@2x.gif")));
        for (const QString& place : places) {
            QCOMPARE(found(paths), path(place));
            const QUrl url = QUrl::fromLocalFile(path(place));
            QCOMPARE(sharperTwin(url, 1), url);
            QCOMPARE(sharperTwin(url, 1.25).fileName(),
                     place == places[1] ? "glowy@2x.gif" : "glowy.gif");
            QVERIFY(QFile::remove(path(place)));
        }
        QVERIFY(QDir().mkpath(path(places.first())));
        put(places.last());
        QVERIFY(!findAssetURL("glowy.gif", paths));
    }
};

MARTEN_CORE_TEST_MAIN(TestAssetLookup)
#include "tst_assetlookup.moc"
