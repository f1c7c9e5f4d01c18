# keys.py press|release: writes that record of Right Meta to the keyboard FIFO (fd 3).
#   keys.py find COLOUR: how many pixels are COLOUR ("r,g,b", within 2), then "x0 y0 x1 y1".
#   keys.py bench N: median milliseconds from a press written to the microphone drawn red.
import ctypes, os, re, statistics, struct, sys, time

RED = (0xFF, 0x3B, 0x30)
EV_SYN, EV_KEY, KEY_RIGHTMETA = 0, 1, 126  # linux/input-event-codes.h


def key(value):
    os.write(3, struct.pack("llHHi", 0, 0, EV_KEY, KEY_RIGHTMETA, value) + struct.pack("llHHi", 0, 0, EV_SYN, 0, 0))


x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = x.XGetImage.restype = ctypes.c_void_p
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 4 + [ctypes.c_ulong, ctypes.c_int]
x.XDefaultRootWindow.argtypes = x.XDisplayWidth.argtypes = x.XDisplayHeight.argtypes = [ctypes.c_void_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDestroyImage.argtypes = [ctypes.c_void_p]
display = x.XOpenDisplay(None)
class Image(ctypes.Structure):
    _fields_ = [("w", ctypes.c_int), ("h", ctypes.c_int), ("xoff", ctypes.c_int), ("fmt", ctypes.c_int),
                ("data", ctypes.c_void_p)] + [(n, ctypes.c_int) for n in "order unit bitorder pad depth bpl bpp".split()]


def spots(colour, left=0, top=0, w=0, h=0):
    """The (x, y) of the pixels of that rectangle (the screen by default) near colour."""
    w, h = w or x.XDisplayWidth(display, 0), h or x.XDisplayHeight(display, 0)
    ptr = x.XGetImage(display, x.XDefaultRootWindow(display), left, top, w, h, 0xFFFFFFFF, 2)
    img = Image.from_address(ptr)
    raw, bpl = ctypes.string_at(img.data, img.bpl * h), img.bpl
    x.XDestroyImage(ptr)
    # Pixels are stored blue, green, red, pad.
    near = b"".join(b"[%s-%s]" % (re.escape(bytes([max(v - 2, 0)])), re.escape(bytes([min(v + 2, 255)])))
                    for v in reversed(colour))
    return [(m.start() % bpl // 4 + left, m.start() // bpl + top)
            for m in re.finditer(near + b".", raw, re.S) if m.start() % 4 == 0]


cmd = sys.argv[1]
if cmd in ("press", "release"):
    key(1 if cmd == "press" else 0)
elif cmd == "find":
    found = spots(tuple(int(v) for v in sys.argv[2].split(",")))
    print(len(found), *(f(p[i] for p in found or [(0, 0)]) for f in (min, max) for i in (0, 1)))
elif cmd == "bench":
    key(1)
    deadline = time.monotonic() + 5
    while not (found := spots(RED)) and time.monotonic() < deadline:
        pass
    x0, y0, x1, y1 = (f(p[i] for p in found) for f in (min, max) for i in (0, 1))
    box, took = (x0, y0, x1 - x0 + 1, y1 - y0 + 1), []
    for _ in range(int(sys.argv[2])):
        key(0)
        while spots(RED, *box): pass
        start = time.monotonic()
        key(1)
        while not spots(RED, *box): pass
        took.append((time.monotonic() - start) * 1000)
    key(0)
    print(f"{statistics.median(took):.1f}")
