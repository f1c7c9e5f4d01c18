#include "platform/linux/PrivateFolder.h"
#include "support/TestEnv.h"
#include "ui/GIFMovieView.h"

#include <QMovie>
#include <QPainter>
#include <QtTest>

#include <sys/stat.h>

using namespace marten;

static const QString kGlowy = MARTEN_SOURCE_DIR "/assets/glowy.gif";

class TestGIFMovieView final : public QObject {
    Q_OBJECT

    QTemporaryDir m_sources;
    fake::Console m_console;
    // Staged where the program stages: the folder is opened after init() has made it afresh.
    std::optional<PrivateFolder> m_staging;
    const QString m_folder = qEnvironmentVariable("XDG_RUNTIME_DIR") + "/marten-onboarding/";

    static QImage renderOnMagenta(QWidget* view) // so that transparency shows
    {
        QImage image(view->size(), QImage::Format_ARGB32);
        image.fill(Qt::magenta);
        view->render(&image, {}, {}, QWidget::DrawChildren);
        return image;
    }

    // Whether this process holds the staged file `name` open (the file, not a later one).
    bool holdsStaged(const QString& name) const
    {
        const QString staged = QFileInfo(m_folder + name).canonicalFilePath();
        for (const QFileInfo& fd : QDir("/proc/self/fd").entryInfoList(QDir::Files))
            if (fd.symLinkTarget() == staged)
                return true;
        return false;
    }

private slots:
    void init() // a fresh private folder, as the program makes it
    {
        QDir(m_folder).removeRecursively();
        QVERIFY(QDir().mkdir(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        m_staging = PrivateFolder::forCurrentUser().value();
        m_console.clear();
    }

    // The page names the staged copy, an odd name escaped for URL and HTML; the movie reads
    // that copy, and a copy replaced later (by another view) does not change what it plays.
    void stagesThePageAndTheCopy()
    {
        const QString odd = m_sources.filePath("x:a \"b\" #?&%.gif");
        QVERIFY(QFile::copy(kGlowy, odd));
        GIFMovieView view(QUrl::fromLocalFile(odd), *m_staging, m_console);
        QVERIFY(test::readFile(m_folder + "gif_display.html")
                    .contains("<img src=\"x%3Aa%20%22b%22%20%23%3F&amp;%25.gif\" />"));
        QCOMPARE(test::readFile(m_folder + "x:a \"b\" #?&%.gif"), test::readFile(kGlowy));
        QVERIFY(view.movie() && m_console.lines().isEmpty() && holdsStaged("x:a \"b\" #?&%.gif"));
        QVERIFY(m_staging->writeFile("x:a \"b\" #?&%.gif", "GIF89a").ok());
        auto* movie = const_cast<QMovie*>(view.movie());
        for (int frame = 1; frame <= movie->frameCount(); ++frame) // round to the first again
            QVERIFY(movie->jumpToNextFrame());
        QCOMPARE(movie->currentFrameNumber(), 0);
    }

    // A missing image, a FIFO or a device: one line at once, nothing staged, nothing drawn.
    void unusableSourcesLogOneLineAndStayTransparent()
    {
        const test::FailIfBlocked watchdog(std::chrono::seconds(20));
        const QString fifo = m_sources.filePath("fifo.gif");
        QCOMPARE(::mkfifo(qPrintable(fifo), 0600), 0);
        for (const QString& source : {m_sources.filePath("gone.gif"), fifo, QString("/dev/zero")}) {
            m_console.clear();
            GIFMovieView view(QUrl::fromLocalFile(source), *m_staging, m_console);
            QCOMPARE(m_console.lines().size(), 1);
            QVERIFY(m_console.lines().constFirst().startsWith("Error loading GIF in WebView: "));
            QVERIFY(!view.movie() && !QFileInfo::exists(m_folder + QFileInfo(source).fileName()));
            QCOMPARE(renderOnMagenta(&view).pixelColor(100, 100), QColor(Qt::magenta));
        }
    }

    // Delays under 20 ms, or none, play as 100 ms (from memory; the staged copy keeps its own);
    // a frame reaching beyond 1024 x 1024: one line, no play (-1).
    void delaysAreBoundedAndHugeFramesRefused()
    {
        const QByteArray oneByOne("\0\0\0\0\1\0\1\0", 8), timing("\x21\xf9\x04\0\0\0\0\0", 8);
        const std::tuple<QByteArray, QByteArray, int> rows[] = {
            {timing, oneByOne, 100},
            {QByteArray(timing).replace(4, 1, "\5"), oneByOne, 50},
            {QByteArray(), oneByOne, 100},
            {timing, QByteArray("\0\0\0\0\x01\x04\1\0", 8), -1}, // too wide
            {timing, QByteArray("\0\0\x01\x04\1\0\1\0", 8), -1}, // placed beyond
        };
        for (const auto& [before, geometry, delay] : rows) {
            m_console.clear();
            const QByteArray frame = before + '\x2c' + geometry + QByteArray("\0\2\2\x44\1\0", 6);
            const QString gif = m_sources.filePath("timed.gif");
            test::writeFile(gif, QByteArray("GIF89a\1\0\1\0\x80\0\0\0\0\0\xff\xff\xff", 19) +
                                     frame + frame + ';');
            GIFMovieView view(QUrl::fromLocalFile(gif), *m_staging, m_console);
            QCOMPARE(view.movie() ? view.movie()->nextFrameDelay() : -1, delay);
            QCOMPARE(view.movie() ? view.movie()->frameCount() : 0, delay < 0 ? 0 : 2);
            QCOMPARE(m_console.lines().filter("reaches beyond 1024 x 1024").size(),
                     delay < 0 ? 1 : 0);
            QCOMPARE(m_console.lines().size(), delay < 0 ? 1 : 0);
            QCOMPARE(holdsStaged("timed.gif"), delay == 50);
        }
    }

    // Larger images (and GIF frames, as decoded) shrink to fit, smaller keep their size; centred.
    void imagesAreCentredAndOnlyScaledDown()
    {
        GIFMovieView gif(QUrl::fromLocalFile(kGlowy.chopped(4) + "@2x.gif"), *m_staging, m_console);
        gif.resize(200, 200);
        gif.show();
        QCOMPARE(const_cast<QMovie*>(gif.movie())->scaledSize(), QSize(200, 200));
        QCOMPARE(gif.imageRect(), QRect(0, 0, 200, 200));
        gif.resize(500, 450);
        QVERIFY(!const_cast<QMovie*>(gif.movie())->scaledSize().isValid());
        QCOMPARE(gif.imageRect(), QRect(50, 25, 400, 400));
        for (const auto& [size, drawn] : {std::pair(QSize(400, 100), QRect(0, 75, 200, 50)),
                                          std::pair(QSize(100, 400), QRect(75, 0, 50, 200)),
                                          std::pair(QSize(20, 40), QRect(90, 80, 20, 40))}) {
            QImage expected(200, 200, QImage::Format_ARGB32);
            expected.fill(Qt::white);
            QPainter(&expected).fillRect(drawn, Qt::red);
            QVERIFY(expected.copy(drawn).scaled(size).save(m_sources.filePath("image.png")));
            GIFMovieView view(QUrl::fromLocalFile(m_sources.filePath("image.png")), *m_staging,
                              m_console);
            view.resize(200, 200);
            QVERIFY2(renderOnMagenta(&view) == expected, qPrintable(QString::number(size.width())));
        }
    }
};

MARTEN_TEST_MAIN(TestGIFMovieView)
#include "tst_gifmovieview.moc"
