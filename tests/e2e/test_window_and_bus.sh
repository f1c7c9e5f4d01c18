#!/usr/bin/env bash
# On X: the full program receives a sign-in notice and carries on; each window has an icon and
# its entry's class; Ctrl+W (full) or a click on "×" (simple) ends it, writing nothing.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
need Xvfb xdotool xprop gdbus
need_atspi
DIST="$(cd "$(dirname "$0")/../../dist" && pwd)"

# started CMD...: CMD in the background as $pid, once it has announced its steps.
started() { "$@" > "$HOME/out" 2> "$HOME/err" & pid=$!; until_ grep -q "FTUE will show" "$HOME/out"; }
# Each script below runs inside the program's session, with steps.sh's helpers.
inner() { printf 'source %q\n' "$(cd "$(dirname "$0")" && pwd)/steps.sh" > "$1" && declare -f started >> "$1"; }
# run.sh BIN PROGRAM HOW...: status to HOME/status; HOW: "click NAME" (by mouse) or xdotool's.
inner "$WORK/run.sh" && cat >> "$WORK/run.sh" <<'INNER'
ask_for_accessibility
started "$1/$2"
if [ "$2" = MartenOnboarding ]; then
    gdbus emit --session --object-path /com/marten/DistributedNotifications \
        --signal com.marten.DistributedNotifications.Notification "com.marten.authCompleted" "@a{ss} {}"
    until_ eval 'grep -q "Received auth completion" "$HOME/out"'
fi
until_ eval 'wid=$(xdotool search --name "Welcome to Marten" | head -1) && [ -n "$wid" ] &&
    xprop -id "$wid" WM_CLASS _NET_WM_ICON _NET_WM_WINDOW_TYPE _MOTIF_WM_HINTS > "$HOME/props" 2>&1 && ! grep -q "_NET_WM_ICON:  not found" "$HOME/props"'
shift 2
xdotool windowfocus --sync "$wid"
if [ "$1" = click ]; then click "$2"; else xdotool "$@"; fi
until_ eval '! kill -0 "$pid" 2>/dev/null' || { echo still-running > "$HOME/status"; kill "$pid"; exit 0; }
wait "$pid"
echo "$?" > "$HOME/status"
INNER
while read -r program entry how; do
    h="$(new_home "$program")"
    QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 60 bash "$(dirname "$0")/xvfb.sh" \
        bash "$WORK/run.sh" "$BIN" "$program" $how
    class="$(sed -n 's/^StartupWMClass=//p' "$DIST/$entry")"
    check "$program: the window has an icon and the entry's class ($class)" \
        eval '[ -n "$class" ] && grep -q "^_NET_WM_ICON(CARDINAL) = " "$h/props" &&
            grep -qx "WM_CLASS(STRING) = \"$program\", \"$class\"" "$h/props" || cat "$h/props"'
    # Normal for every window manager (KWin sets "override" apart), frameless by Motif hints.
    check "$program: typed as a normal window alone, and frameless" \
        eval 'grep -x "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL" "$h/props" &&
            grep -x "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x2, 0x1, 0x0, 0x0, 0x0" "$h/props" || cat "$h/props"'
    check "$program: closed by the user, exits 0 and writes nothing" eval 'ended "$h" && [ -z "$(ls -A "$h/config")" ]'
done <<RUNS
MartenOnboarding com.marten.Onboarding.desktop key ctrl+w
MartenOnboarding_Simple com.marten.OnboardingSimple.desktop click Close
RUNS
check "a notice sent with gdbus is received while the program carries on" \
    eval 'grep -A1 -x "Received auth completion notification from main app" "$WORK/MartenOnboarding/out" |
        grep -x "User is not authenticated"'

# A fake xdg-open notes the browser's environment, after a working bus or one taking 2.1 s.
inner "$WORK/browser.sh" && cat >> "$WORK/browser.sh" <<'INNER'
mkdir -p "$HOME/fakebin" && printf '#!/bin/sh\nenv > "$HOME/xdg-open.env"\n' > "$HOME/fakebin/xdg-open"
chmod 755 "$HOME/fakebin/xdg-open"
if [ "$2" = slow ]; then
    python3 "$3/slow_bus.py" "$HOME/slow-bus" "$DBUS_SESSION_BUS_ADDRESS" 2.1 > /dev/null 2>&1 &
    slow=$!
    trap 'kill "$slow"' EXIT
    until_ eval 'test -S "$HOME/slow-bus"'
    DBUS_SESSION_BUS_ADDRESS="unix:path=$HOME/slow-bus"
fi
echo "$DBUS_SESSION_BUS_ADDRESS" > "$HOME/bus-at-start"
PATH="$HOME/fakebin:$PATH" started "$1/MartenOnboarding_Simple"
until_ eval 'wid=$(xdotool search --onlyvisible --name "Welcome to Marten" | head -1) && [ -n "$wid" ]'
xdotool windowfocus --sync "$wid"
# With input access, each step's first control in turn (a slow bus leaves accessibility out):
# Next on each step before sign-in, whose first control, "Sign in with Google", opens it.
opened() { xdotool key --window "$wid" Tab space && TRIES=10 until_ test -s "$HOME/xdg-open.env"; }
TRIES=10 until_ opened
kill "$pid"
INNER
if can_fake_input_access; then
    for bus in working slow; do
        h="$(new_home "browser-$bus")"
        QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 60 "$WITH_INPUT_ACCESS" bash "$(dirname "$0")/xvfb.sh" \
            bash "$WORK/browser.sh" "$BIN" "$bus" "$(cd "$(dirname "$0")/../../tools/silent-bus" && pwd)"
        check "the browser gets the environment as at start ($bus bus)" \
            eval 'grep -qx "DBUS_SESSION_BUS_ADDRESS=$(cat "$h/bus-at-start")" "$h/xdg-open.env" &&
                ! grep -q "^NO_AT_BRIDGE=\|^AT_SPI_BUS_ADDRESS=\|=disabled:" "$h/xdg-open.env" &&
                { [ $bus = working ] || grep -q "^Main app messaging unavailable" "$h/out"; } ||
                { cat "$h/out" "$h/xdg-open.env"; false; }'
    done
else
    echo "SKIP: the browser's environment (no mount namespaces here)"
fi

finish
