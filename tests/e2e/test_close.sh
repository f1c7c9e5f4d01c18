#!/usr/bin/env bash
# The "×" at the window's top right, clicked with the mouse on a real X server, ends either
# program as Ctrl+W does: status 0, no settings and no autostart entry written.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
need xvfb-run xdotool

# run.sh BIN PROGRAM XDOTOOL-ARGS...: starts PROGRAM, sends the window XDOTOOL-ARGS, and
# notes the exit status, or "still-running". WINDOW in XDOTOOL-ARGS stands for the window.
cat > "$WORK/run.sh" <<'INNER'
"$1/$2" > "$HOME/out" 2> "$HOME/err" &
pid=$!
shift 2
for i in $(seq 100); do grep -q "FTUE will show" "$HOME/out" && break; sleep 0.1; done
sleep 0.3
wid=$(xdotool search --name "Welcome to Marten" | head -1)
xdotool windowfocus --sync "$wid"
xdotool "${@//WINDOW/$wid}"
for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
    echo still-running > "$HOME/status"
    kill "$pid"
    exit 0
fi
wait "$pid"
echo "$?" > "$HOME/status"
INNER
closed_quietly() { # HOME
    same "$1/status" 0 && [ ! -e "$1/config/Marten" ] && [ ! -e "$1/config/autostart" ] &&
        tail -n1 "$1/out" | grep -qx 'MartenOnboarding main() completed' ||
        { cat "$1/out"; ls -R "$1/config"; return 1; }
}
close() { # NAME PROGRAM XDOTOOL-ARGS...
    local h
    h="$(new_home "$1")"
    QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 60 xvfb-run -a -s "-screen 0 1440x900x24" \
        bash "$WORK/run.sh" "$BIN" "${@:2}"
    check "$2, $1: exits 0 and writes nothing" closed_quietly "$h"
}

for program in MartenOnboarding MartenOnboarding_Simple; do
    # The centre of the close button, in window coordinates: 24 px in from the right edge of
    # the 809 px window, level with the Back chevron.
    close "clicking Close" "$program" mousemove --window WINDOW 785 45 click 1
done
close "Ctrl+W" MartenOnboarding key ctrl+w

finish
