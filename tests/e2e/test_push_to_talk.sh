#!/usr/bin/env bash
# The test step with a real key reader: the simple program under Xvfb, in a private mount
# namespace where the probe finds one keyboard whose event node is a FIFO this script writes
# input_event records into. The screen is read back from the X server.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

need xvfb-run xdotool xclip python3
if ! can_fake_input_access; then
    echo "SKIP: no mount namespaces here"
    exit 0
fi

# keys.py press|release: writes that record of Right Meta to the FIFO (fd 3).
# keys.py red [PNG]: how many pixels on screen are the recording red (and saves the screen).
# keys.py card: the bounds of the "You said:" card on screen, "x0 y0 x1 y1", or nothing.
# keys.py bench N: median milliseconds from a press written to the microphone drawn red.
cat > "$WORK/keys.py" <<'PY'
import ctypes, os, statistics, struct, sys, time, zlib
RED, CARD = (0xFF, 0x3B, 0x30), (235, 249, 238)  # the card: green at 10 % on white

def key(value):
    record = lambda t, c, v: struct.pack("llHHi", 0, 0, t, c, v)
    os.write(3, record(1, 126, value) + record(0, 0, 0))

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

def grab(left=0, top=0, w=None, h=None):
    """The screen's pixels in that rectangle, as rows of (r, g, b)."""
    w = w or x.XDisplayWidth(display, 0)
    h = h or x.XDisplayHeight(display, 0)
    ptr = x.XGetImage(display, x.XDefaultRootWindow(display), left, top, w, h, 0xFFFFFFFF, 2)
    img = Image.from_address(ptr)
    raw = ctypes.string_at(img.data, img.bpl * h)
    rows = [[(raw[y * img.bpl + 4 * i + 2], raw[y * img.bpl + 4 * i + 1], raw[y * img.bpl + 4 * i])
             for i in range(w)] for y in range(h)]
    x.XDestroyImage(ctypes.c_void_p(ptr))
    return rows

near = lambda p, c: all(abs(a - b) <= 2 for a, b in zip(p, c))
where = lambda rows, c: [(i, y) for y, row in enumerate(rows) for i, p in enumerate(row) if near(p, c)]

def png(rows, path):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    chunk = lambda t, d: struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
    head = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    open(path, "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))

cmd = sys.argv[1]
if cmd in ("press", "release"):
    key(1 if cmd == "press" else 0)
elif cmd == "red":
    rows = grab()
    if len(sys.argv) > 2:
        png(rows, sys.argv[2])
    print(len(where(rows, RED)))
elif cmd == "card":
    found = where(grab(), CARD)
    if len(found) > 1000:
        print(min(p[0] for p in found), min(p[1] for p in found), max(p[0] for p in found), max(p[1] for p in found))
elif cmd == "bench":
    rows = grab()
    key(1)
    deadline = time.monotonic() + 5
    while not where(rows, RED) and time.monotonic() < deadline:
        rows = grab()
    spots = where(rows, RED)
    left, top = min(p[0] for p in spots), min(p[1] for p in spots)
    w, h = max(p[0] for p in spots) - left + 1, max(p[1] for p in spots) - top + 1
    red = lambda: any(near(p, RED) for row in grab(left, top, w, h) for p in row)
    took = []
    for _ in range(int(sys.argv[2])):
        key(0)
        while red(): pass
        start = time.monotonic()
        key(1)
        while not red(): pass
        took.append((time.monotonic() - start) * 1000)
    key(0)
    print(f"{statistics.median(took):.1f}")
PY

# session.sh MODE, inside the namespace: takes the program to the test step with the
# keyboard node a FIFO, then MODE "key" or "typing" (see below). Results go to $HOME.
cat > "$WORK/session.sh" <<'SESSION'
bin="$1" mode="$2" keys="python3 $3"
rm -f /dev/input/event0 && mkfifo /dev/input/event0
exec 3<> /dev/input/event0
"$bin/MartenOnboarding_Simple" > "$HOME/out" 2> "$HOME/err" 3>&- &
pid=$!
reading() { ls -l "/proc/$pid/fd" 2> /dev/null | grep -q /dev/input/event0; }
until_() { local i; for i in $(seq 100); do "$@" && return 0; sleep 0.1; done; return 1; }
until_ grep -q "FTUE will show" "$HOME/out"
sleep 0.5
wid=$(xdotool search --name "Welcome to Marten" | head -1)
xdotool windowfocus --sync "$wid"
xdotool key --window "$wid" space
sleep 0.8
xdotool key --window "$wid" space
until_ reading && echo yes > "$HOME/reading"
$keys red > "$HOME/red-idle"
if [ "$mode" = key ]; then
    $keys press
    until_ eval '[ "$($keys red "$HOME/recording.png")" -gt 500 ]' && echo yes > "$HOME/red"
    $keys release
    until_ eval '[ "$($keys red)" = 0 ]'
    xdotool type --delay 20 "hello world"
    until_ eval '[ -n "$($keys card)" ]'
    read -r x0 y0 x1 y1 <<< "$($keys card)"
    # Selected with the mouse from the card's middle to its left edge, read back as the
    # primary selection.
    xdotool mousemove $(((x0 + x1) / 2)) $(((y0 + y1) / 2)) mousedown 1 \
        mousemove $((x0 + 2)) $(((y0 + y1) / 2)) mouseup 1
    until_ eval 'xclip -o -selection primary -t UTF8_STRING > "$HOME/transcript" 2> /dev/null'
    reading && echo yes > "$HOME/still-reading"
    $keys bench 20 > "$HOME/bench"
    xdotool mousemove --window "$wid" 24 44 click 1 # Back, with the mouse
    until_ eval '! reading' && kill -0 "$pid" && echo yes > "$HOME/closed"
else
    xdotool type --delay 20 "hello" # a space would press the focused Get Started
    sleep 0.5
    $keys card > "$HOME/card"
    kill -0 "$pid" && echo yes > "$HOME/alive"
    xdotool key --window "$wid" Tab shift+Tab space
fi
for i in $(seq 30); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
kill "$pid" 2> /dev/null && echo killed > "$HOME/status"
wait "$pid"
status=$?
[ -e "$HOME/status" ] || echo "$status" > "$HOME/status"
SESSION

# run NAME MODE: one session, signed in and with input access; prints the home.
run() {
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc"}' > "$h/.marten_auth_local.json"
    QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 120 xvfb-run -a -s "-screen 0 1440x900x24" \
        "$WITH_INPUT_ACCESS" bash "$WORK/session.sh" "$BIN" "$2" "$WORK/keys.py" > /dev/null 2>&1
    echo "$h"
}

h="$(run key key)"
check "the test step reads the keyboard" same "$h/reading" yes
check "no red before the key" same "$h/red-idle" 0
check "the key pressed: the microphone is red" same "$h/red" yes
check "released, then typed: the card shows it, on the test step" \
    eval 'same "$h/transcript" "hello world" && same "$h/still-reading" yes'
check "leaving the step closes the keyboard" same "$h/closed" yes
check "nothing is printed about keys" eval '! grep -qi "hello\|event0" "$h/out" "$h/err"'
echo "press to red microphone: median $(cat "$h/bench" 2>&1) ms of 20 presses, load $(cut -d' ' -f1-3 /proc/loadavg)"

h="$(run typing typing)"
check "typed with no key first: no transcript" eval 'same "$h/card" "" && same "$h/alive" yes'
check "Tab, then Space on Get Started completes" completed "$h"

finish
