#!/usr/bin/env bash
# The "×" at the window's top right, clicked with the mouse on a real X server, ends either
# program as Ctrl+W does: status 0, no settings and no autostart entry written.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    echo "SKIP: xvfb-run and xdotool are needed"
    exit 0
fi

for program in MartenOnboarding MartenOnboarding_Simple; do
    h="$(new_home "close-$program")"
    cat > "$h/run.sh" <<'INNER'
"$1/$2" > "$HOME/out" 2> "$HOME/err" &
pid=$!
for i in $(seq 100); do grep -q "FTUE will show" "$HOME/out" && break; sleep 0.1; done
sleep 0.3
wid=$(xdotool search --name "Welcome to Marten" | head -1)
# The centre of the close button, in window coordinates: 24 px in from the right edge of
# the 809 px window, level with the Back chevron.
xdotool mousemove --window "$wid" 785 45 click 1
for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
    echo still-running > "$HOME/status"
    kill "$pid"
    exit 0
fi
wait "$pid"
echo "$?" > "$HOME/status"
INNER
    QT_QPA_PLATFORM=xcb in_home "$h" xvfb-run -a -s "-screen 0 1440x900x24" \
        bash "$h/run.sh" "$BIN" "$program"
    if [ "$(cat "$h/status" 2>/dev/null)" = 0 ] && [ ! -e "$h/config/Marten" ] &&
        [ ! -e "$h/config/autostart" ] &&
        tail -n1 "$h/out" | grep -qx 'MartenOnboarding main() completed'; then
        pass "$program: clicking Close exits 0 and writes nothing"
    else
        fail "$program: Close" "status: $(cat "$h/status" 2>/dev/null)" "$(cat "$h/out")" \
            "$(ls -R "$h/config")"
    fi
done

finish
