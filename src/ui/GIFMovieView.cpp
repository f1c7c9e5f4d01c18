#include "ui/GIFMovieView.h"

#include "core/AssetLookup.h"
#include "core/GIFLimits.h"
#include "core/GIFPage.h"
#include "core/RegularFile.h"
#include "core/platform/Console.h"
#include "core/platform/StagingFolder.h"

#include <QBuffer>
#include <QImageReader>
#include <QMovie>
#include <QPainter>

namespace marten {
namespace {

// The bytes the movie plays, or nothing with the reason. A GIF is judged block by block (frame
// sizes, delays); any other picture by the size its header gives, before a pixel is decoded.
std::optional<QByteArray> playable(const QByteArray& bytes, QString* why)
{
    if (bytes.startsWith("GIF8"))
        return gif::boundedForPlaying(bytes, why);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer).size();
    if (size.isValid() && (size.width() > gif::maxSide || size.height() > gif::maxSide)) {
        *why = QStringLiteral("its picture is %1 x %2, larger than %3 x %3")
                   .arg(size.width())
                   .arg(size.height())
                   .arg(gif::maxSide);
        return std::nullopt;
    }
    return bytes;
}

// The picture's size as its header gives it, or an empty size when it gives none.
QSize headerSize(const QByteArray& bytes, const QByteArray& format)
{
    QBuffer header;
    header.setData(bytes);
    header.open(QIODevice::ReadOnly);
    return QImageReader(&header, format).size();
}

} // namespace

GIFMovieView::GIFMovieView(const QUrl& gifURL, const StagingFolder& staging, Console& console,
                           QWidget* parent)
    : QWidget(parent), m_gifURL(gifURL), m_playedURL(sharperTwin(gifURL, devicePixelRatioF())),
      m_console(console), m_staging(staging)
{
    setObjectName(QStringLiteral("gifMovieView"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    if (const Result<> staged = stage(); !staged.ok()) {
        m_console.line(QStringLiteral("Error loading GIF in WebView: ") + staged.error());
        return;
    }
    // From here on the view is the white page; it plays the copy staged beside it.
    m_pageLoaded = true;
    loadImage();
}

GIFMovieView::~GIFMovieView() = default;

Result<> GIFMovieView::stage()
{
    const QString imageName = m_gifURL.fileName();
    if (Result<> page = m_staging.writeFile(gifpage::fileName(), gifpage::text(imageName));
        !page.ok())
        return page;
    // Each image is read once, without waiting on a FIFO and up to the media cap, and staged
    // as read; a file swapped afterwards changes neither the copy nor what is played.
    auto read = [](const QUrl& url) -> Result<QByteArray> {
        const QString source = url.toLocalFile();
        Result<QByteArray> image = readRegularFile(source, maxAssetSize);
        if (!image.ok())
            return Failure{QStringLiteral("Cannot copy \"%1\": %2").arg(source, image.error()),
                           image.code()};
        return image;
    };
    if (m_playedURL != m_gifURL) { // the page's own image, staged though its twin is played
        const Result<QByteArray> image = read(m_gifURL);
        if (!image.ok())
            return image.failure();
        if (Result<> copy = m_staging.writeFile(imageName, image.value()); !copy.ok())
            return copy;
    }
    Result<QByteArray> image = read(m_playedURL);
    if (!image.ok())
        return image.failure();
    Result<std::unique_ptr<QIODevice>> copy =
        m_staging.writeAndOpen(m_playedURL.fileName(), image.value());
    if (!copy.ok())
        return copy.failure();
    m_imageBytes = std::move(image).value();
    m_imageDevice = std::move(copy).value().release();
    m_imageDevice->setParent(this);
    return {};
}

void GIFMovieView::loadImage()
{
    // A picture too costly to play leaves the white page empty, as one that cannot be decoded
    // does, with one line saying why.
    auto playNothing = [this] {
        m_imageBytes.clear();
        delete m_imageDevice;
        m_imageDevice = nullptr;
    };
    QString why;
    std::optional<QByteArray> bytes = playable(m_imageBytes, &why);
    if (!bytes) {
        playNothing();
        m_console.line(
            QStringLiteral("Not playing \"%1\": %2").arg(m_playedURL.toLocalFile(), why));
        return;
    }
    // Named, so that a GIF is read by the GIF plugin alone; left to guess, the reader loads
    // every image plugin to ask each whether it knows the bytes.
    const QByteArray format = bytes->startsWith("GIF8") ? "gif" : QByteArray();
    // The size from the header: what is shown does not depend on the size frames decode at.
    m_sourceSize = headerSize(*bytes, format);
    if (*bytes == m_imageBytes) {
        // As staged (the usual case): the movie reads the copy through the descriptor it was
        // written by, so no whole file stays in memory and a later view that replaces the copy
        // does not change what this one plays.
        bytes.reset();
        m_imageBytes.clear();
    } else {
        // Judging changed the bytes: those are played, from memory.
        m_imageBytes = std::move(*bytes);
        delete m_imageDevice;
        m_imageDevice = new QBuffer(&m_imageBytes, this);
        m_imageDevice->open(QIODevice::ReadOnly);
    }
    m_movie = new QMovie(m_imageDevice, format, this);
    if (!m_movie->isValid() || !m_movie->jumpToFrame(0)) {
        delete m_movie;
        m_movie = nullptr;
        playNothing();
        return;
    }
    if (m_sourceSize.isEmpty()) // a format whose header gives no size
        m_sourceSize = m_movie->currentImage().size();
    // QMovie follows the image's own frame delays and loop count.
    connect(m_movie, &QMovie::frameChanged, this, [this] { update(); });
    if (isVisible()) {
        m_started = true;
        m_movie->start();
    }
}

QRect GIFMovieView::imageRect() const
{
    if (!m_pageLoaded || !m_movie)
        return {};
    QSize shown = m_sourceSize;
    if (shown.isEmpty())
        return {};
    // Scaled down to fit, aspect ratio kept; never scaled up.
    if (shown.width() > width() || shown.height() > height())
        shown = shown.scaled(size(), Qt::KeepAspectRatio);
    return {QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown};
}

void GIFMovieView::paintEvent(QPaintEvent*)
{
    if (!m_pageLoaded)
        return; // transparent until there is a page
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRect target = imageRect();
    if (target.isEmpty())
        return;
    const QImage frame = m_movie->currentImage();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != frame.size());
    painter.drawImage(target, frame);
}

void GIFMovieView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_movie)
        return;
    if (m_movie->state() == QMovie::Paused) {
        m_movie->setPaused(false);
    } else if (!m_started) {
        m_started = true;
        m_movie->start();
    }
}

void GIFMovieView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitFrames();
}

void GIFMovieView::fitFrames()
{
    // A still image is decoded once, before the view has its size: it is left as it is.
    if (!m_movie || m_movie->frameCount() == 1)
        return;
    // Frames are decoded at the size they are shown at, in this screen's pixels: a 400 px GIF
    // in a 200 px square (a user's own, or the twin) keeps 200 px frames on a 1x screen and
    // 300 px ones on a 1.5x screen, and stays sharp at 400 px on a 2x one.
    const QSize shown = imageRect().size() * devicePixelRatioF();
    const bool smaller = !shown.isEmpty() && shown.width() < m_sourceSize.width();
    m_movie->setScaledSize(smaller ? shown : QSize());
}

void GIFMovieView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_movie && m_movie->state() == QMovie::Running)
        m_movie->setPaused(true);
}

} // namespace marten
