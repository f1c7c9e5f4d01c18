#include "core/GIFLimits.h"

namespace marten::gif {
namespace {

constexpr char kExtension = 0x21;
constexpr char kImage = 0x2C;
constexpr char kTrailer = 0x3B;
constexpr unsigned char kGraphicControl = 0xF9;

// Reads the GIF byte by byte; every read past the end leaves `ok` false.
struct Cursor {
    const QByteArray& bytes;
    qsizetype at = 0;
    bool ok = true;

    int byte()
    {
        if (at >= bytes.size()) {
            ok = false;
            return 0;
        }
        return static_cast<unsigned char>(bytes.at(at++));
    }
    int word() // little endian, as every GIF number is
    {
        const int low = byte();
        return low | (byte() << 8);
    }
    void skip(qsizetype count)
    {
        if (count > bytes.size() - at) {
            ok = false;
            at = bytes.size();
            return;
        }
        at += count;
    }
    // Skips a chain of data sub-blocks up to and including its empty terminator.
    void skipSubBlocks()
    {
        for (int size = byte(); ok && size != 0; size = byte())
            skip(size);
    }
};

// Size in bytes of the colour table a packed field announces, or 0 when there is none.
qsizetype colourTableSize(int packed)
{
    return (packed & 0x80) ? 3 * (qsizetype(2) << (packed & 0x07)) : 0;
}

bool tooLarge(int left, int top, int width, int height)
{
    return left + width > maxSide || top + height > maxSide;
}

QByteArray graphicControlBlock()
{
    // Block size 4, no disposal and no transparency, fallbackDelay, no transparent index.
    const char block[] = {kExtension, char(kGraphicControl), 4, 0, fallbackDelay, 0, 0, 0};
    return QByteArray(block, sizeof block);
}

} // namespace

std::optional<QByteArray> boundedForPlaying(const QByteArray& bytes, QString* why)
{
    auto refuse = [why](const QString& reason) -> std::optional<QByteArray> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (!bytes.startsWith("GIF87a") && !bytes.startsWith("GIF89a"))
        return refuse(QStringLiteral("not a GIF"));

    Cursor in{bytes};
    in.skip(6);
    const int screenWidth = in.word();
    const int screenHeight = in.word();
    const int packed = in.byte();
    in.skip(2); // background colour, aspect ratio
    in.skip(colourTableSize(packed));
    if (!in.ok)
        return refuse(QStringLiteral("not a GIF"));
    if (tooLarge(0, 0, screenWidth, screenHeight))
        return refuse(QStringLiteral("its picture is %1 x %2, larger than %3 x %3")
                          .arg(screenWidth)
                          .arg(screenHeight)
                          .arg(maxSide));

    // Copied block by block; whatever follows the last whole block is left out, so the
    // decoder never sees a frame that was not judged here.
    QByteArray out;
    // Room for a copy that only gains a few timing blocks, so it is not grown by doubling.
    out.reserve(bytes.size() + 256);
    out += bytes.left(in.at);
    bool timed = false; // a graphic control block precedes the coming frame
    for (;;) {
        const qsizetype start = in.at;
        const int introducer = in.byte();
        if (!in.ok || introducer == kTrailer)
            break;
        if (introducer == kExtension) {
            const int label = in.byte();
            in.skipSubBlocks();
            if (!in.ok)
                break;
            QByteArray block = bytes.mid(start, in.at - start);
            if (label == kGraphicControl && in.at - start >= 8 &&
                static_cast<unsigned char>(bytes.at(start + 2)) >= 4) {
                const qsizetype offset = 4; // introducer, label, size, packed, then the delay
                const int delay = static_cast<unsigned char>(block.at(offset)) |
                                  (static_cast<unsigned char>(block.at(offset + 1)) << 8);
                if (delay < minDelay) {
                    block[offset] = char(fallbackDelay);
                    block[offset + 1] = 0;
                }
                timed = true;
            }
            out += block;
            continue;
        }
        if (introducer != kImage)
            break; // not a block any decoder can go on from
        const int left = in.word();
        const int top = in.word();
        const int width = in.word();
        const int height = in.word();
        const int framePacked = in.byte();
        in.skip(colourTableSize(framePacked));
        in.byte(); // the LZW code size
        in.skipSubBlocks();
        if (!in.ok)
            break;
        if (tooLarge(left, top, width, height))
            return refuse(QStringLiteral("a frame of %1 x %2 at %3,%4 reaches beyond %5 x %5")
                              .arg(width)
                              .arg(height)
                              .arg(left)
                              .arg(top)
                              .arg(maxSide));
        if (!timed)
            out += graphicControlBlock();
        out += bytes.mid(start, in.at - start);
        timed = false;
    }
    out += kTrailer;
    // A GIF that needed no change is played from the caller's bytes, not from a second copy.
    if (out == bytes)
        return bytes;
    out.squeeze();
    return out;
}

} // namespace marten::gif
