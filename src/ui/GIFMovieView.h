#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QUrl>
#include <QWidget>

class QIODevice;
class QMovie;

namespace marten {

class Console;
class StagingFolder;

// Plays a local GIF centred on white, scaled down to fit; transparent until it is staged.
//
// It stages a small HTML page ("gif_display.html") and a copy of the image in the private
// staging folder, for whatever else wants to show the same page, and plays the copy with QMovie:
// exactly what that page shows (white background, one image centred and scaled down to fit).
// On a screen above 1x, an "@2x" twin beside the image (see sharperTwin()) is staged next to
// the copy and played instead, at the same shown size.
// A web engine would cost about ten times the memory, take about four times as long to the
// first frame, and show nothing at all where only software GL is available.
//
// Takes whatever size its container gives it.
class GIFMovieView final : public QWidget {
    Q_OBJECT
public:
    GIFMovieView(const QUrl& gifURL, const StagingFolder& staging, Console& console,
                 QWidget* parent = nullptr);
    ~GIFMovieView() override;

    // The page's image, or null when there is none or it cannot be decoded.
    const QMovie* movie() const { return m_movie; }
    // Where the current frame is drawn; empty while no image is shown.
    QRect imageRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Result<> stage();
    void loadImage();
    void fitFrames();

    // The image the page names, and the one played: the same, or its sharper twin.
    QUrl m_gifURL;
    QUrl m_playedURL;
    Console& m_console;
    const StagingFolder& m_staging;
    // True once the page is written: from then on the view is a white page.
    bool m_pageLoaded = false;
    bool m_started = false;
    // The played image's bytes while they are judged, and for good only when the judging
    // changed them; otherwise the movie reads the staged copy through m_imageDevice.
    QByteArray m_imageBytes;
    QIODevice* m_imageDevice = nullptr;
    QMovie* m_movie = nullptr;
    // The image's own size; frames may be decoded smaller, at the size they are shown.
    QSize m_sourceSize;
};

} // namespace marten
