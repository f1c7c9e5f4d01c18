#!/usr/bin/env bash
# Buses that accept and never answer: one line after 2 s, completion on time; under X11, steps
# on time and a prompt end. Bounds allow a loaded machine, not a hang or two waits.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
TOOLS="$(cd "$(dirname "$0")/../../tools/silent-bus" && pwd)"
UNAVAILABLE='Main app messaging unavailable: the session bus did not answer within 2 s'
A11Y_OFF='Accessibility off: the accessibility bus did not answer within 2 s'

# on_bus HOME CMD...: CMD on HOME's silent bus (or BUS), start time to HOME/started; with FIRST,
# the first connection passes through to FIRST.
on_bus() {
    python3 "$TOOLS/silent_bus.py" "$1/bus" ${FIRST:+"$FIRST"} > /dev/null 2>&1 &
    echo $! > "$1/bus.pid"
    until_ test -S "$1/bus"
    date +%s%N > "$1/started"
    HOME="$1" XDG_CONFIG_HOME="$1/config" XDG_RUNTIME_DIR="$1/runtime" QT_QPA_PLATFORM="${PLATFORM:-offscreen}" \
        DBUS_SESSION_BUS_ADDRESS="${BUS:-unix:path=$1/bus}" "${@:2}"
}
stop_bus() { kill "$(cat "$1/bus.pid")" 2>/dev/null; }
# at HOME TEXT: seconds from HOME/started until the output holds TEXT (waits up to 20 s).
at() {
    TRIES=200 until_ grep -qsF -- "$2" "$1/out" || { echo never; return; }
    echo "scale=2; ($(date +%s%N) - $(cat "$1/started")) / 1000000000" | bc
}
below() { [ "$1" != never ] && [ "$(echo "$1 < $2" | bc)" = 1 ] || { echo "took $1 s, limit $2"; return 1; }; }
# timed HOME PROGRAM: seconds from start to the steps, PROGRAM then ended with SIGTERM.
timed() {
    start_until "$1" "FTUE will show" on_bus "$1" "$BIN/$2"
    local t && t=$(at "$1" "FTUE will show"); stop_with "$1" TERM; stop_bus "$1"; echo "$t"
}
# control PROGRAM: timed on a working bus, the slower of two runs (one fast run is luck).
control() {
    local i t slowest=0
    for i in 1 2; do
        t=$(BUS="$DBUS_SESSION_BUS_ADDRESS" timed "$(new_home "control-$1-$RANDOM")" "$1")
        [ "$t" = never ] && { echo never; return; }
        [ "$(echo "$t > $slowest" | bc)" = 1 ] && slowest=$t
    done
    echo "$slowest"
}
one_line() { [ "$(grep -c "^$2" "$1/out")" = 1 ] || { cat "$1/out"; return 1; }; }

# A subscribed user: the line after the 2 s look at the bus, completion 3 s later.
h="$(subscribed_home complete)"
run_to_end "$h" on_bus "$h" "$BIN/MartenOnboarding" &
line=$(at "$h" "$UNAVAILABLE")
wait $!
end=$(echo "scale=2; ($(date +%s%N) - $(cat "$h/started")) / 1000000000" | bc)
stop_bus "$h"
check "silent bus: one unavailable line within 4 s, completed less than 5 s later" \
    eval 'completed "$h" && below "$line" 4 && below "$(echo "$end - $line" | bc)" 5 &&
        one_line "$h" "Main app messaging unavailable: " &&
        same_bytes "$h/config/Marten/Marten.conf" "$FLAGS_ONLY"'

if command -v Xvfb > /dev/null; then
    Xvfb -displayfd 3 -screen 0 1440x900x24 -nolisten tcp 3> "$WORK/display" 2> /dev/null &
    xvfb=$!
    until_ test -s "$WORK/display"
    export DISPLAY=":$(cat "$WORK/display")" PLATFORM=xcb
    for program in MartenOnboarding MartenOnboarding_Simple; do
        h="$(new_home "x11-$program")"
        steps=$(timed "$h" "$program")
        base=$(control "$program")
        check "silent bus under X11 ($program): steps within 2 s more than with a working bus (and 1 s of slack), ended within 1.5 s, nothing written" \
            eval 'ended "$h" && within "$h" 1.5 && grep -qx "$UNAVAILABLE" "$h/out" &&
                below "$steps" "$base + 3" && [ -z "$(ls -A "$h/config")" ]'
    done

    # The bus answers the first look, then falls silent: the steps still come, SIGTERM ends it.
    h="$(new_home x11-stuck)"
    steps=$(FIRST="$DBUS_SESSION_BUS_ADDRESS" timed "$h" MartenOnboarding_Simple)
    base=$(control MartenOnboarding_Simple)
    check "bus silent after the first look, under X11: steps as with a working bus (1.5 s of slack), SIGTERM ends it within 2 s" \
        eval 'below "$steps" "$base + 1.5" && { ended "$h" || same "$h/status" 143; } &&
            within "$h" 2 && [ -z "$(ls -A "$h/config")" ]'

    # A working session bus names an accessibility bus that never answers.
    if /usr/bin/python3 -c 'import dbus, gi' 2> /dev/null; then
        h="$(new_home x11-a11y)"
        dbus-daemon --session --nofork --print-address=3 3> "$h/session" > /dev/null 2>&1 &
        daemon=$!
        until_ test -s "$h/session"
        session="$(head -1 "$h/session")"
        python3 "$TOOLS/silent_bus.py" "$h/a11y" > /dev/null 2>&1 &
        a11y=$!
        DBUS_SESSION_BUS_ADDRESS="$session" /usr/bin/python3 "$TOOLS/silent_a11y_bus.py" \
            "unix:path=$h/a11y" > "$h/a11y.out" 2>&1 &
        fake=$!
        until_ grep -q ready "$h/a11y.out"
        steps=$(BUS="$session" timed "$h" MartenOnboarding)
        kill "$fake" "$a11y" "$daemon" 2> /dev/null
        base=$(control MartenOnboarding)
        check "silent accessibility bus under X11: one line, steps within 2 s more than with a working bus (and 1 s of slack), ended within 1.5 s" \
            eval 'ended "$h" && within "$h" 1.5 && one_line "$h" "$A11Y_OFF" &&
                below "$steps" "$base + 3" &&
                ! grep -q "^Main app messaging unavailable" "$h/out"'
    else
        echo "SKIP: python3-dbus or python3-gi is not installed, the silent accessibility bus is left out"
    fi
    kill "$xvfb"
else
    echo "SKIP: Xvfb is not installed, the X11 runs are left out"
fi

finish
