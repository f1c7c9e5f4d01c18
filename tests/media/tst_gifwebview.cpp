#include "flow/LoadingView.h"
#include "media/GIFWebView.h"
#include "media/GifPage.h"
#include "platform/fake/Fakes.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFileInfo>
#include <QMovie>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace marten;

namespace {

const QByteArray kGlowyPage = "<!DOCTYPE html>\n"
                              "<html>\n"
                              "<head>\n"
                              "    <style>\n"
                              "        body {\n"
                              "            margin: 0;\n"
                              "            padding: 0;\n"
                              "            display: flex;\n"
                              "            justify-content: center;\n"
                              "            align-items: center;\n"
                              "            height: 100vh;\n"
                              "            background: white;\n"
                              "        }\n"
                              "        img {\n"
                              "            max-width: 100%;\n"
                              "            max-height: 100%;\n"
                              "            object-fit: contain;\n"
                              "        }\n"
                              "    </style>\n"
                              "</head>\n"
                              "<body>\n"
                              "    <img src=\"glowy.gif\" />\n"
                              "</body>\n"
                              "</html>";

const QColor kUnder(255, 0, 255); // whatever lies beneath the view

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The view drawn over a magenta background, so transparency shows.
QImage renderOver(QWidget* view)
{
    QImage image(view->size(), QImage::Format_ARGB32);
    image.fill(kUnder);
    QPainter painter(&image);
    view->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

class tst_GIFWebView : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_runtime;
    QTemporaryDir m_sources;
    fake::Console m_console;

    QString folder() const { return m_runtime->path() + "/marten-onboarding"; }
    QString pagePath() const { return folder() + "/gif_display.html"; }
    // The private folder as the program makes it (owner only), ready for things to be planted.
    void makeFolder()
    {
        QVERIFY(QDir().mkdir(folder()));
        QVERIFY(QFile::setPermissions(folder(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    static QString glowy() { return QStringLiteral(MARTEN_SOURCE_DIR "/assets/glowy.gif"); }

    QString makeImage(const QString& name, QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = m_sources.filePath(name);
        if (!image.save(path, "PNG"))
            return {};
        return path;
    }
    std::unique_ptr<GIFWebView> view(const QString& path, QSize size = {200, 200})
    {
        auto v = std::make_unique<GIFWebView>(QUrl::fromLocalFile(path), m_console);
        v->resize(size);
        return v;
    }

private slots:
    void init()
    {
        m_runtime = std::make_unique<QTemporaryDir>();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime->path()));
        m_console.clear();
    }

    // --- the page ---------------------------------------------------------------------

    void pageBytesForGlowy()
    {
        QCOMPARE(gifpage::text("glowy.gif"), kGlowyPage);
        QCOMPARE(kGlowyPage.size(), 427 + 9 + 20);
        QCOMPARE(gifpage::imageReference(kGlowyPage), std::optional<QString>("glowy.gif"));
    }

    void namesAreEscapedAndComeBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("attribute");
        QTest::newRow("plain") << "glowy-2_x.gif" << QByteArray("glowy-2_x.gif");
        QTest::newRow("quote, hash, query, spaces")
            << "my \"glowy\" #1?.gif" << QByteArray("my%20%22glowy%22%20%231%3F.gif");
        QTest::newRow("ampersand and percent") << "a&b%20c.gif" << QByteArray("a&amp;b%2520c.gif");
        QTest::newRow("looks like a scheme") << "data:x.gif" << QByteArray("data%3Ax.gif");
        QTest::newRow("non-ASCII kept") << "résumé.gif" << QString("résumé.gif").toUtf8();
    }
    void namesAreEscapedAndComeBack()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, attribute);
        const QByteArray page = gifpage::text(name);
        QVERIFY2(page.contains("<img src=\"" + attribute + "\" />"), page.constData());
        QCOMPARE(gifpage::imageReference(page), std::optional<QString>(name));
    }

    // --- staging ----------------------------------------------------------------------

    // The page on disk is the last one written; each view keeps the image it was made with.
    void stagesPageAndCopyAndLaterViewsReplaceThem()
    {
        auto first = view(glowy());
        QCOMPARE(first->pagePath(), pagePath());
        QCOMPARE(readAll(pagePath()), kGlowyPage);
        QCOMPARE(readAll(folder() + "/glowy.gif"), readAll(glowy()));
        QVERIFY(first->isPageLoaded());

        auto second = view(makeImage("wide.png", {100, 40}, Qt::red));
        QCOMPARE(readAll(pagePath()), gifpage::text("wide.png"));
        QCOMPARE(first->movie()->currentImage().size(), QSize(200, 200));
        QCOMPARE(second->movie()->currentImage().size(), QSize(100, 40));

        auto again = view(glowy());
        QCOMPARE(readAll(pagePath()), kGlowyPage);
        QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"gif_display.html", "glowy.gif", "wide.png"}));
        QVERIFY(m_console.lines().isEmpty());
    }

    void anEscapedNameStillFindsItsCopy()
    {
        const QString name = "my \"glowy\" #1?&%.png";
        auto v = view(makeImage(name, {20, 20}, Qt::green));
        QVERIFY(QFileInfo::exists(folder() + "/" + name));
        QVERIFY(v->movie());
        QCOMPARE(v->imageRect(), QRect(90, 90, 20, 20));
    }

    void aMissingSourceLogsOnceAndStaysTransparent()
    {
        auto v = view(m_sources.filePath("gone.gif"));
        QCOMPARE(m_console.lines().size(), 1);
        QVERIFY2(m_console.lines().constFirst().startsWith("Error loading GIF in WebView: "),
                 qPrintable(m_console.lines().constFirst()));
        QVERIFY(m_console.lines().constFirst().contains("No such file"));
        QVERIFY(!v->isPageLoaded());
        QVERIFY(v->pagePath().isEmpty());
        const QImage image = renderOver(v.get());
        QCOMPARE(image.pixelColor(0, 0), kUnder);
        QCOMPARE(image.pixelColor(100, 100), kUnder);
    }

    // Something the page cannot replace: a folder at its name (this holds even for root).
    void anUnwritablePageLogsAndCopiesNothing()
    {
        makeFolder();
        QVERIFY(QDir().mkpath(pagePath()));
        auto v = view(glowy());
        QCOMPARE(m_console.lines().size(), 1);
        QVERIFY(m_console.lines().constFirst().startsWith("Error loading GIF in WebView: "));
        QVERIFY(!QFileInfo::exists(folder() + "/glowy.gif"));
        QCOMPARE(renderOver(v.get()).pixelColor(100, 100), kUnder);
    }

    // Links left at the page or copy name are replaced, never written through.
    void plantedLinksAreNotFollowed()
    {
        makeFolder();
        const QString victimPage = m_sources.filePath("victim.html");
        const QString victimImage = m_sources.filePath("victim.gif");
        test::writeFile(victimPage, "keep me");
        test::writeFile(victimImage, "keep me too");
        QVERIFY(QFile::link(victimPage, pagePath()));
        QVERIFY(QFile::link(victimImage, folder() + "/glowy.gif"));

        auto v = view(glowy());
        QVERIFY(m_console.lines().isEmpty());
        QCOMPARE(readAll(victimPage), QByteArray("keep me"));
        QCOMPARE(readAll(victimImage), QByteArray("keep me too"));
        QVERIFY(!QFileInfo(pagePath()).isSymLink());
        QVERIFY(!QFileInfo(folder() + "/glowy.gif").isSymLink());
        QCOMPARE(readAll(pagePath()), kGlowyPage);
        QVERIFY(v->movie());
    }

    // --- rendering --------------------------------------------------------------------

    // Larger images shrink to fit keeping their shape, smaller ones stay at their own size;
    // either way centred on white.
    void imagesAreCentredAndOnlyScaledDown_data()
    {
        QTest::addColumn<QSize>("viewSize");
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("wide") << QSize(200, 200) << QSize(400, 100) << QRect(0, 75, 200, 50);
        QTest::newRow("tall") << QSize(200, 100) << QSize(300, 600) << QRect(75, 0, 50, 100);
        QTest::newRow("small") << QSize(200, 200) << QSize(50, 80) << QRect(75, 60, 50, 80);
    }
    void imagesAreCentredAndOnlyScaledDown()
    {
        QFETCH(QSize, viewSize);
        QFETCH(QSize, imageSize);
        QFETCH(QRect, drawn);
        auto v = view(makeImage("image.png", imageSize, Qt::red), viewSize);
        QCOMPARE(v->imageRect(), drawn);
        const QImage image = renderOver(v.get());
        for (const QPoint inside : {drawn.topLeft(), drawn.bottomRight(), drawn.center()})
            QCOMPARE(image.pixelColor(inside), QColor(Qt::red));
        for (const QPoint outside :
             {QPoint(0, 0), drawn.topLeft() - QPoint(1, 1), drawn.bottomRight() + QPoint(1, 1)}) {
            if (image.rect().contains(outside))
                QCOMPARE(image.pixelColor(outside), QColor(Qt::white));
        }
    }

    void anUndecodableImageLeavesTheWhitePage()
    {
        const QString path = m_sources.filePath("broken.gif");
        test::writeFile(path, "GIF89a but not really");
        auto v = view(path);
        QVERIFY(m_console.lines().isEmpty());
        QVERIFY(v->isPageLoaded());
        QVERIFY(v->imageRect().isEmpty());
        QCOMPARE(renderOver(v.get()).pixelColor(100, 100), QColor(Qt::white));
    }

    void playsWithTheGifsOwnTiming()
    {
        auto v = view(glowy());
        QVERIFY(v->movie());
        QCOMPARE(v->movie()->loopCount(), -1); // for ever
        // The delay may already have started counting down on a slow machine.
        QVERIFY2(v->movie()->nextFrameDelay() > 60 && v->movie()->nextFrameDelay() <= 80,
                 qPrintable(QString::number(v->movie()->nextFrameDelay())));
        QCOMPARE(v->movie()->state(), QMovie::NotRunning);
        v->show();
        QTRY_VERIFY(v->movie()->currentFrameNumber() >= 2);
        v->hide();
        QCOMPARE(v->movie()->state(), QMovie::Paused);
    }

    // The full program's loading view plays the same animation when the asset is there.
    void theLoadingViewShowsTheGif()
    {
        QTemporaryDir resources;
        QVERIFY(QFile::copy(glowy(), resources.filePath("glowy.gif")));
        fake::Services services;
        services.platform.assets.resourceDir = resources.path();
        LoadingView loading(traitsFor(Variant::Full), services.platform);
        auto* gif = loading.findChild<GIFWebView*>();
        QVERIFY(gif);
        loading.resize(809, 500);
        loading.show();
        QTRY_VERIFY(gif->isVisible());
        QCOMPARE(gif->size(), QSize(200, 200));
        QVERIFY(gif->isPageLoaded());
        QVERIFY(services.console.lines().isEmpty());
    }
};

MARTEN_TEST_MAIN(tst_GIFWebView)
#include "tst_gifwebview.moc"
