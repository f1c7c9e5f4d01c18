#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace marten::gif {

// Largest frame, and logical screen, that is played: the view is 200 x 200, and a frame of
// 5000 x 5000 would cost about 100 MB per decoded picture and most of a core to redraw.
constexpr int maxSide = 1024;
// Frame delays in hundredths of a second (the GIF's own unit): shorter than minDelay
// (20 ms) is played as fallbackDelay (100 ms), so a file asking for no delay cannot keep
// the decoder busy without a pause.
constexpr int minDelay = 2;
constexpr int fallbackDelay = 10;

// What a GIF may cost to play, judged from its block structure without decoding a pixel.
// Returns the bytes to play: the same picture with every delay under minDelay raised to
// fallbackDelay (a frame without timing gets fallbackDelay too), ending after the last block
// that could be read. Nothing, with the reason in `why`, when the bytes are not a GIF or a
// frame or the logical screen reaches beyond maxSide.
std::optional<QByteArray> boundedForPlaying(const QByteArray& bytes, QString* why);

} // namespace marten::gif
