#!/usr/bin/env python3
"""Draws the welcome animation: a soft blue orb that breathes in a seamless loop.

    python3 assets/make_glowy.py [OUTPUT_FOLDER]

Writes glowy.gif (the looping animation at the 200 px it is shown at), glowy@2x.gif (the
same drawn at 400 px, for screens with two device pixels to a shown one) and glowy.png (the
fullest frame at 400 px) into OUTPUT_FOLDER, by default the folder this script lives in.
Only the standard library is used and nothing is random, so the same script always gives
the same bytes.
"""

import math
import os
import struct
import sys
import zlib

SHOWN_SIZE = 200  # the side of the square the animation is shown in; scale 2 doubles it
FRAMES = 30
DELAY_CS = 8  # hundredths of a second per frame: one breath takes 2.4 s
HALO_LEVELS = 40  # colours from the white page to the blue rim
BODY_LEVELS = 23  # colours from the rim to the bright core
LEVELS = HALO_LEVELS + BODY_LEVELS  # one more palette slot stays see-through
HALO_CURVE = 1.6  # spends more of the halo's colours near white, where steps show most

WHITE = (255, 255, 255)
ACCENT = (0x00, 0x7A, 0xFF)
CORE = (0x9C, 0xCF, 0xFF)  # the lighter glow at the heart of the orb

# Where the halo gives way to the body on the 0..1 ramp below.
BODY_START = 0.62


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(round(lerp(x, y, t)) for x, y in zip(c1, c2))


def smoothstep(edge0, edge1, x):
    t = min(1.0, max(0.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


# A pixel's brightness is a number t on one ramp: 0 is the white page, BODY_START the
# accent blue at the rim, 1 the bright core. The palette samples that ramp.


def ramp_value(index):
    if index < HALO_LEVELS:
        return BODY_START * (index / (HALO_LEVELS - 1)) ** HALO_CURVE
    return BODY_START + (1 - BODY_START) * (index - HALO_LEVELS + 1) / BODY_LEVELS


def ramp_colour(t):
    if t <= BODY_START:
        return mix(WHITE, ACCENT, t / BODY_START)
    return mix(ACCENT, CORE, (t - BODY_START) / (1 - BODY_START))


# A 4x4 ordered-dither matrix, as thresholds in 0..1. Where one colour step is a ring several
# pixels wide, neighbouring pixels take the two nearest colours in the proportion
# of the wanted shade, so no ring shows even when every drawn pixel is a shown one (2x screens).
# Ordered rather than random: the same pixel gets the same threshold in every frame, so what
# does not move stays the same and the script stays deterministic.
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def level_of(t, x=0, y=0):
    """The palette index for ramp value t at pixel (x, y), dithered between the two nearest."""
    threshold = (BAYER[y % 4][x % 4] + 0.5) / 16
    if t < BODY_START:
        position = (HALO_LEVELS - 1) * (t / BODY_START) ** (1 / HALO_CURVE)
        return min(HALO_LEVELS - 1, int(position + threshold))
    step = int(BODY_LEVELS * (t - BODY_START) / (1 - BODY_START) + threshold)
    return HALO_LEVELS - 1 + min(BODY_LEVELS, max(0, step))


PALETTE = [ramp_colour(ramp_value(i)) for i in range(LEVELS)]


def frame_levels(index, scale):
    """One frame, drawn at `scale` device pixels to a shown one, as row-major palette indices."""
    size = SHOWN_SIZE * scale
    breath = 0.5 - 0.5 * math.cos(2 * math.pi * index / FRAMES)  # 0 -> 1 -> 0, seamless
    radius = lerp(46.0, 52.0, breath) * scale
    halo_width = lerp(16.0, 24.0, breath) * scale
    halo_strength = lerp(0.55, 0.9, breath)
    centre = (size - 1) / 2.0
    pixels = bytearray(size * size)
    for y in range(size):
        dy = y - centre
        row = y * size
        for x in range(size):
            d = math.hypot(x - centre, dy)
            # Soft halo outside the rim: a Gaussian fall-off towards the white page.
            outside = max(0.0, d - radius)
            halo = halo_strength * math.exp(-((outside / halo_width) ** 2))
            halo_t = halo * BODY_START
            # The body, lit from the centre outwards. Its shading stays put while the rim
            # moves, so most of the inside is the same from frame to frame (a smaller file).
            inner = max(0.0, 1.0 - d / (56.0 * scale))
            body_t = BODY_START + (1 - BODY_START) * 0.6 * inner**1.6
            # A soft rim one shown pixel wide between halo and body.
            edge = smoothstep(radius + 0.75 * scale, radius - 0.75 * scale, d)
            t = lerp(halo_t, body_t, edge)
            pixels[row + x] = level_of(t, x, y)
    return pixels


# --- GIF writing -------------------------------------------------------------------------


def lzw_encode(indices, min_code_size):
    """GIF-flavoured LZW: variable-width codes packed least significant bit first."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {bytes([i]): i for i in range(clear)}

    table = fresh_table()
    next_code = end + 1
    width = min_code_size + 1
    emit(clear, width)
    current = b""
    for value in indices:
        candidate = current + bytes([value])
        if candidate in table:
            current = candidate
            continue
        emit(table[current], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table = fresh_table()
            next_code = end + 1
            width = min_code_size + 1
        current = bytes([value])
    if current:
        emit(table[current], width)
    emit(end, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def sub_blocks(data):
    chunks = bytearray()
    for i in range(0, len(data), 255):
        piece = data[i : i + 255]
        chunks.append(len(piece))
        chunks += piece
    chunks.append(0)
    return bytes(chunks)


def write_gif(path, frames, scale):
    size = SHOWN_SIZE * scale
    table_bits = LEVELS.bit_length()
    colours = PALETTE + [WHITE] * ((1 << table_bits) - len(PALETTE))
    transparent = len(PALETTE)  # an unused slot: "same as the frame before"
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", size, size, 0x80 | 0x70 | (table_bits - 1), 0, 0)
    for colour in colours:
        out += bytes(colour)
    # Loop for ever.
    out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\x00"
    previous = None
    for frame in frames:
        if previous is None:
            left, top, right, bottom = 0, 0, size, size
            data = frame
            flags = 0x04  # keep the frame in place, no transparency
        else:
            # Only the box that changed, with unchanged pixels left see-through.
            changed = [i for i in range(len(frame)) if frame[i] != previous[i]]
            xs = [i % size for i in changed] or [0]
            ys = [i // size for i in changed] or [0]
            left, right = min(xs), max(xs) + 1
            top, bottom = min(ys), max(ys) + 1
            data = bytearray()
            for y in range(top, bottom):
                for x in range(left, right):
                    i = y * size + x
                    data.append(frame[i] if frame[i] != previous[i] else transparent)
            flags = 0x04 | 0x01
        out += b"\x21\xf9\x04" + struct.pack("<BHB", flags, DELAY_CS, transparent) + b"\x00"
        out += b"\x2c" + struct.pack("<HHHHB", left, top, right - left, bottom - top, 0)
        min_code_size = max(2, table_bits)
        out.append(min_code_size)
        out += sub_blocks(lzw_encode(data, min_code_size))
        previous = frame
    out.append(0x3B)
    with open(path, "wb") as f:
        f.write(out)


# --- PNG writing -------------------------------------------------------------------------


def write_png(path, levels, scale):
    size = SHOWN_SIZE * scale

    def chunk(kind, body):
        return (
            struct.pack(">I", len(body))
            + kind
            + body
            + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
        )

    raw = bytearray()
    for y in range(size):
        raw.append(0)  # no filter
        for x in range(size):
            raw += bytes(PALETTE[levels[y * size + x]])
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(folder, exist_ok=True)
    # Two files under Qt's naming: the program plays glowy@2x.gif on screens above 1x when it
    # lies beside glowy.gif, and the 200 px file, a quarter of the decoding memory, elsewhere.
    write_gif(os.path.join(folder, "glowy.gif"), [frame_levels(i, 1) for i in range(FRAMES)], 1)
    sharp = [frame_levels(i, 2) for i in range(FRAMES)]
    write_gif(os.path.join(folder, "glowy@2x.gif"), sharp, 2)
    # The still frame stands in on any screen, so it keeps the sharper drawing.
    write_png(os.path.join(folder, "glowy.png"), sharp[FRAMES // 2], 2)


if __name__ == "__main__":
    main()
