#include "ui/GIFMovieView.h"

#include "core/GIFPage.h"
#include "core/platform/Console.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMovie>
#include <QPainter>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {

QString failure(const QString& action, const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot %1 \"%2\": %3").arg(action, path, reason);
}

// A link at `path` is removed, never written through.
void removeLink(const QString& path)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (::lstat(native.constData(), &st) == 0 && S_ISLNK(st.st_mode))
        ::unlink(native.constData());
}

// Byte copy into a file that must not exist yet: O_EXCL | O_NOFOLLOW refuse anything left at
// `to`, a link included.
bool copyFile(const QString& from, const QString& to, QString* error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = failure(QStringLiteral("copy"), from, source.errorString());
        return false;
    }
    const int fd = ::open(QFile::encodeName(to).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        *error =
            failure(QStringLiteral("copy to"), to, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    QFile target;
    target.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    char buffer[64 * 1024];
    for (;;) {
        const qint64 read = source.read(buffer, sizeof buffer);
        if (read == 0)
            break;
        const bool failed = read < 0 || target.write(buffer, read) != read;
        if (failed) {
            *error = read < 0 ? failure(QStringLiteral("copy"), from, source.errorString())
                              : failure(QStringLiteral("copy to"), to, target.errorString());
            target.close();
            QFile::remove(to);
            return false;
        }
    }
    if (!target.flush()) {
        *error = failure(QStringLiteral("copy to"), to, target.errorString());
        target.close();
        QFile::remove(to);
        return false;
    }
    return true;
}

} // namespace

GIFMovieView::GIFMovieView(const QUrl& gifURL, Console& console, QWidget* parent)
    : QWidget(parent), m_gifURL(gifURL), m_console(console),
      m_folder(PrivateFolder::forCurrentUser())
{
    setObjectName(QStringLiteral("gifMovieView"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    QString error;
    if (!stage(&error)) {
        m_console.line(QStringLiteral("Error loading GIF in WebView: ") + error);
        return;
    }
    // From here on the view is the white page; it plays the copy staged beside it.
    m_pageLoaded = true;
    loadImage(m_folder.filePath(m_gifURL.fileName()));
}

GIFMovieView::~GIFMovieView() = default;

bool GIFMovieView::stage(QString* error)
{
    if (!m_folder.isValid()) {
        *error = m_folder.errorString();
        return false;
    }
    const QString imageName = m_gifURL.fileName();
    const QString pagePath = m_folder.filePath(gifpage::fileName());
    const QString copyPath = m_folder.filePath(imageName);

    // QSaveFile writes to a temporary file and renames it over the page, but it would follow
    // a link found at the page's name; such a link goes first.
    removeLink(pagePath);
    QSaveFile page(pagePath);
    if (!page.open(QIODevice::WriteOnly) || page.write(gifpage::text(imageName)) < 0 ||
        !page.commit()) {
        *error = failure(QStringLiteral("write"), pagePath, page.errorString());
        return false;
    }

    const QString source = m_gifURL.toLocalFile();
    const QString sourceCanonical = QFileInfo(source).canonicalFilePath();
    if (sourceCanonical.isEmpty() || sourceCanonical != QFileInfo(copyPath).canonicalFilePath()) {
        QFile::remove(copyPath); // nothing there is the usual case
        if (!copyFile(source, copyPath, error))
            return false;
    }
    m_pagePath = pagePath;
    return true;
}

void GIFMovieView::loadImage(const QString& path)
{
    // The bytes are held in memory, so a later view that replaces the copy does not change
    // what this one plays.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_imageBytes = file.readAll();
    m_imageDevice = new QBuffer(&m_imageBytes, this);
    m_imageDevice->open(QIODevice::ReadOnly);
    m_movie = new QMovie(m_imageDevice, QByteArray(), this);
    if (!m_movie->isValid() || !m_movie->jumpToFrame(0)) {
        delete m_movie;
        m_movie = nullptr;
        return;
    }
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
    QSize shown = m_movie->currentImage().size();
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

void GIFMovieView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_movie && m_movie->state() == QMovie::Running)
        m_movie->setPaused(true);
}

} // namespace marten
