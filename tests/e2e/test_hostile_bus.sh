#!/usr/bin/env bash
# A session bus that accepts the connection and never answers, as a stopped daemon would: the
# program says so once after 2 s and runs without it, completes on time and ends at once when
# asked. Under X11 too, where Qt's accessibility bridge would otherwise wait on it for good.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
SILENT_BUS="$(cd "$(dirname "$0")/../../tools/silent-bus" && pwd)/silent_bus.py"
UNAVAILABLE='Main app messaging unavailable: the session bus did not answer within 2 s'

# on_bus HOME CMD...: runs CMD with that home on HOME's silent bus (platform PLATFORM,
# offscreen unless set). With FIRST set, the bus passes its first connection through to FIRST.
on_bus() {
    python3 "$SILENT_BUS" "$1/bus" ${FIRST:+"$FIRST"} > /dev/null 2>&1 &
    echo $! > "$1/bus.pid"
    until_ test -S "$1/bus"
    HOME="$1" XDG_CONFIG_HOME="$1/config" XDG_RUNTIME_DIR="$1/runtime" QT_QPA_PLATFORM="${PLATFORM:-offscreen}" \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$1/bus" "${@:2}"
}
stop_bus() { kill "$(cat "$1/bus.pid")" 2>/dev/null; }

# A subscribed user completes on time, with one line about the bus.
h="$(subscribed_home complete)"
SECONDS=0
run_to_end "$h" on_bus "$h" "$BIN/MartenOnboarding"
stop_bus "$h"
check "silent bus: one unavailable line, completes within 7 s" \
    eval 'completed "$h" && [ "$SECONDS" -lt 7 ] && grep -qx "$UNAVAILABLE" "$h/out" &&
        [ "$(grep -c "^Main app messaging unavailable: " "$h/out")" = 1 ] &&
        same_bytes "$h/config/Marten/Marten.conf" "$FLAGS_ONLY"'

# Closing early ends the program at once and writes nothing.
h="$(new_home close)"
start_until "$h" "FTUE will show" on_bus "$h" "$BIN/MartenOnboarding"
stop_with "$h" TERM # the subscription is under way and stuck by now
stop_bus "$h"
check "silent bus: ended early within 1.5 s, nothing written" \
    eval 'ended "$h" && within "$h" 1.5 && [ -z "$(ls -A "$h/config")" ]'

if command -v Xvfb > /dev/null; then
    Xvfb -displayfd 3 -screen 0 1440x900x24 -nolisten tcp 3> "$WORK/display" 2> /dev/null &
    xvfb=$!
    until_ test -s "$WORK/display"
    export DISPLAY=":$(cat "$WORK/display")" PLATFORM=xcb
    for program in MartenOnboarding MartenOnboarding_Simple; do
        h="$(new_home "x11-$program")"
        start_until "$h" "FTUE will show" on_bus "$h" "$BIN/$program"
        stop_with "$h" TERM
        stop_bus "$h"
        check "silent bus under X11 ($program): steps shown, ended within 1.5 s, nothing written" \
            eval 'ended "$h" && within "$h" 1.5 && grep -qx "$UNAVAILABLE" "$h/out" &&
                grep -q "^FTUE will show" "$h/out" && [ -z "$(ls -A "$h/config")" ]'
    done
    # The bus answers the first look and then falls silent: Qt's accessibility bridge holds
    # the main thread, and the signal still ends the process, with nothing written.
    h="$(new_home x11-stuck)"
    FIRST="$DBUS_SESSION_BUS_ADDRESS" start_until "$h" "Starting MartenOnboarding" on_bus "$h" \
        "$BIN/MartenOnboarding_Simple"
    until_ grep -q held "$h/bus.held" # Qt is on the silent connection
    stop_with "$h" TERM
    stop_bus "$h"
    check "bus silent after the first look, under X11: SIGTERM ends it within 2 s, nothing written" \
        eval 'same "$h/status" 143 && within "$h" 2 && ! grep -q "^FTUE will show" "$h/out" &&
            [ -z "$(ls -A "$h/config")" ]'
    kill "$xvfb"
else
    echo "SKIP: Xvfb is not installed, the X11 runs are left out"
fi

finish
