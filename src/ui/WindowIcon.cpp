#include "ui/WindowIcon.h"

#include "core/AssetLookup.h"
#include "core/RegularFile.h"
#include "ui/FirstPaint.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QPainter>
#include <QPointer>
#include <QSvgRenderer>
#include <QtConcurrent/QtConcurrentRun>

namespace marten::windowicon {
namespace {

constexpr int kSides[] = {16, 32, 64, 128};
// Icon themes ship up to 512 px; anything far beyond that is not an icon.
constexpr int kLargestSide = 1024;

// NAME.png and NAME.svg two folders down from `themeDir`, in the folders' sort order.
QStringList filesIn(const QString& themeDir, const QString& name)
{
    QStringList found;
    const QStringList wanted{name + QLatin1String(".png"), name + QLatin1String(".svg")};
    const QDir::Filters folders = QDir::Dirs | QDir::NoDotAndDotDot;
    const QDir theme(themeDir);
    for (const QString& outer : theme.entryList(folders, QDir::Name)) {
        const QDir outerDir(theme.filePath(outer));
        for (const QString& inner : outerDir.entryList(folders, QDir::Name)) {
            const QDir innerDir(outerDir.filePath(inner));
            for (const QString& file : wanted) {
                if (QFileInfo(innerDir.filePath(file)).isFile())
                    found.append(innerDir.filePath(file));
            }
        }
    }
    return found;
}

QImage drawSvg(QSvgRenderer& renderer, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, side, side));
    return image;
}

} // namespace

QIcon bundled()
{
    // Read with the built-in PNG reader alone: left to guess, or even told the format, the
    // reader loads every image plugin first to ask whether it reads PNG better.
    QIcon icon;
    for (int side : kSides) {
        QImageReader reader(QStringLiteral(":/icons/%1.png").arg(side), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

QStringList themeFiles(const QStringList& searchPaths, const QString& theme, const QString& name)
{
    QStringList themes{QStringLiteral("hicolor")};
    if (!theme.isEmpty() && theme != themes.first())
        themes.prepend(theme);
    for (const QString& each : themes) {
        for (const QString& path : searchPaths) {
            const QStringList found = filesIn(QDir(path).filePath(each), name);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

QList<QImage> decode(const QStringList& files)
{
    QList<QImage> images;
    for (const QString& file : files) {
        QByteArray bytes = readRegularFile(file, maxAssetSize).valueOr({});
        if (bytes.isEmpty())
            continue;
        if (file.endsWith(QLatin1String(".svg"))) {
            QSvgRenderer renderer(bytes);
            if (!renderer.isValid())
                continue;
            for (int side : kSides)
                images.append(drawSvg(renderer, side));
            continue;
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "png");
        reader.setAutoDetectImageFormat(false);
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > kLargestSide || size.height() > kLargestSide)
            continue;
        if (QImage image = reader.read(); !image.isNull())
            images.append(image);
    }
    return images;
}

void adoptFromThemeAfterFirstPaint(QWidget* widget, const QString& name)
{
    afterFirstPaint(widget, [widget, name] {
        QWidget* window = widget->window();
        // Decoding even the built-in PNGs costs more than a frame's worth of start-up, so the
        // window gets its icon right after the first frame; a window manager follows the change.
        window->setWindowIcon(bundled());
        // Read here, on the GUI thread: both come from the platform's theme settings.
        const QStringList searchPaths = QIcon::themeSearchPaths();
        const QString theme = QIcon::themeName();
        auto* watcher = new QFutureWatcher<QList<QImage>>(window);
        QObject::connect(watcher, &QFutureWatcherBase::finished, window, [window, watcher] {
            const QList<QImage> images = watcher->result();
            watcher->deleteLater();
            if (images.isEmpty())
                return;
            QIcon icon;
            for (const QImage& image : images)
                icon.addPixmap(QPixmap::fromImage(image));
            window->setWindowIcon(icon);
        });
        watcher->setFuture(QtConcurrent::run(
            [searchPaths, theme, name] { return decode(themeFiles(searchPaths, theme, name)); }));
    });
}

} // namespace marten::windowicon
