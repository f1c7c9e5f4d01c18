#!/usr/bin/env bash
# The process's surroundings: a console that goes away, termination signals, no display.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
EXPECTED_CONF=$'[General]\nftue_completed=true\nhas_launched_before=true\n'

beside="$WORK/bin"
mkdir -p "$beside"
cp "$BIN/MartenOnboarding" "$beside/"
printf '#!/bin/sh\n' > "$beside/marten"
chmod +x "$beside/marten"
printf '[Desktop Entry]\nType=Application\nName=Marten\nComment=Push-to-talk dictation\nExec="%s"\nTerminal=false\nX-GNOME-Autostart-enabled=true\n' \
    "$beside/marten" > "$WORK/expected-entry"

# --- A console whose reader left: the completion still writes everything ------------------
h="$(new_home piped)"
printf '{"token":"abc","has_subscription":true}' > "$h/.marten_auth_local.json"
in_home "$h" bash -c 'timeout 20 "$0" 2> "$HOME/err" | head -n 1 > "$HOME/out"; echo "${PIPESTATUS[0]}" > "$HOME/status"' \
    "$beside/MartenOnboarding"
if [ "$(cat "$h/status")" = 0 ] && [ "$(cat "$h/out")" = "Starting MartenOnboarding..." ] &&
    [ "$(cat "$h/config/Marten/Marten.conf"; echo x)" = "${EXPECTED_CONF}x" ] &&
    cmp -s "$WORK/expected-entry" "$h/config/autostart/com.marten.Marten.desktop"; then
    pass "piped into head: exit 0, the entry and both flags written"
else
    fail "piped into head" "status $(cat "$h/status")" "$(ls -R "$h/config")"
fi

# --- SIGTERM, SIGINT, SIGHUP end it as closing the window does ------------------------------
for signal in TERM INT HUP; do
    h="$(new_home "signal-$signal")"
    mkdir -p "$h/tmp"
    # No runtime folder: the media go to a fallback folder under TMPDIR, which must go too.
    HOME="$h" XDG_CONFIG_HOME="$h/config" TMPDIR="$h/tmp" QT_QPA_PLATFORM=offscreen \
        timeout 20 bash -c 'echo $$ > "$HOME/pid"; exec "$0"' \
        "$BIN/MartenOnboarding" > "$h/out" 2> "$h/err" &
    runner=$!
    wait_for_line "$h/out" "FTUE will show" 100
    sleep 0.5
    before_signal="$(ls -A "$h/tmp" | grep '^marten-onboarding-')"
    kill -s "$signal" "$(cat "$h/pid")"
    wait "$runner"
    status=$?
    # (Qt keeps a runtime-$USER folder of its own there; only ours is checked.)
    if [ "$status" = 0 ] && [ -n "$before_signal" ] && ! ls -A "$h/tmp" | grep -q '^marten-onboarding-' &&
        [ -z "$(ls -A "$h/config")" ] &&
        tail -n1 "$h/out" | grep -qx 'MartenOnboarding main() completed'; then
        pass "SIG$signal: exit 0, nothing written, the fallback folder removed"
    else
        fail "SIG$signal" "status $status" "$(ls -A "$h/tmp" "$h/config")" "$(cat "$h/out")"
    fi
done

# --- No display at all ----------------------------------------------------------------------
h="$(new_home no-display)"
HOME="$h" XDG_CONFIG_HOME="$h/config" XDG_RUNTIME_DIR="$h/runtime" \
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$BIN/MartenOnboarding" \
    > "$h/out" 2> "$h/err"
status=$?
if [ "$status" = 1 ] && [ ! -s "$h/out" ] && [ "$(wc -l < "$h/err")" = 1 ] &&
    grep -q 'needs a graphical session' "$h/err" && [ -z "$(find "$h/config" "$h/runtime" -mindepth 1)" ]; then
    pass "no display: one line on standard error, status 1"
else
    fail "no display" "status $status" "$(cat "$h/err")"
fi

finish
