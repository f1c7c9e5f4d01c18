#!/usr/bin/env bash
# The process's surroundings: a console that goes away, termination signals, no display.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

beside="$WORK/bin"
with_main_app "$beside"

# A console whose reader left: the completion still writes everything.
h="$(subscribed_home piped)"
in_home "$h" bash -c 'timeout -k 5 20 "$0" 2> "$HOME/err" | head -n 1 > "$HOME/out"; echo "${PIPESTATUS[0]}" > "$HOME/status"' \
    "$beside/MartenOnboarding"
printf '[Desktop Entry]\nType=Application\nName=Marten\nComment=Push-to-talk dictation\nExec="%s"\nTerminal=false\nX-GNOME-Autostart-enabled=true\n' \
    "$beside/marten" > "$h/entry"
check "piped into head: exit 0, the entry and both flags written" \
    eval 'same "$h/status" 0 && same "$h/out" "Starting MartenOnboarding..." &&
        cmp "$h/entry" "$h/config/autostart/com.marten.Marten.desktop" &&
        same_bytes "$h/config/Marten/Marten.conf" "$FLAGS_ONLY"'

# SIGTERM, SIGINT and SIGHUP end it as closing the window does. Without a runtime folder the
# media go to a fallback folder under TMPDIR, which must go too (Qt keeps a folder of its own
# there; only ours is looked at).
ours() { ls -A "$1/tmp" | grep '^marten-onboarding-'; }
for signal in TERM INT HUP; do
    h="$(new_home "signal-$signal")"
    mkdir -p "$h/tmp"
    start_until "$h" "FTUE will show" env -u XDG_RUNTIME_DIR HOME="$h" XDG_CONFIG_HOME="$h/config" \
        TMPDIR="$h/tmp" QT_QPA_PLATFORM=offscreen "$BIN/MartenOnboarding"
    ours "$h" > "$h/staged"
    stop_with "$h" "$signal"
    check "SIG$signal: exit 0, nothing written, the fallback folder removed" \
        eval 'ended "$h" && [ -s "$h/staged" ] && ! ours "$h" && [ -z "$(ls -A "$h/config")" ]'
done

# No display at all: one line on standard error.
h="$(new_home no-display)"
HOME="$h" XDG_CONFIG_HOME="$h/config" XDG_RUNTIME_DIR="$h/runtime" \
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout -k 5 20 "$BIN/MartenOnboarding" \
    > "$h/out" 2> "$h/err"
echo $? > "$h/status"
check "no display: one line on standard error, status 1" \
    eval 'same "$h/status" 1 && [ ! -s "$h/out" ] && [ "$(wc -l < "$h/err")" = 1 ] &&
        grep "needs a graphical session" "$h/err" && [ -z "$(find "$h/config" "$h/runtime" -mindepth 1)" ]'

finish
