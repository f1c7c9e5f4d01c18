#!/usr/bin/env bash
# Signed in and subscribed: the full program completes by itself after about 3 s, writes
# both flags and registers the main application to start at login.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

subscribed_run() { # NAME BINDIR
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc","has_subscription":true}' > "$h/.marten_auth_local.json"
    local start end
    start=$(date +%s.%N)
    PATH=/usr/bin:/bin in_home "$h" timeout 20 "$2/MartenOnboarding" > "$h/out" 2> "$h/err"
    echo "$?" > "$h/status"
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l > "$h/seconds"
    echo "$h"
}

check_common() { # NAME HOME
    local name="$1" h="$2" status seconds
    status="$(cat "$h/status")"
    seconds="$(cat "$h/seconds")"
    [ "$status" = 0 ] || { fail "$name: exit status" "got $status"; return 1; }
    if ! awk -v s="$seconds" 'BEGIN { exit !(s >= 2.9 && s < 8) }'; then
        fail "$name: ends about 3 s after it starts" "took $seconds s"
        return 1
    fi
    local conf="$h/config/Marten/Marten.conf"
    if ! grep -qx 'has_launched_before=true' "$conf" || ! grep -qx 'ftue_completed=true' "$conf"; then
        fail "$name: both flags in Marten.conf" "$(cat "$conf" 2>&1)"
        return 1
    fi
    grep -q '^FTUE will show' "$h/out" && { fail "$name: no step list is logged"; return 1; }
    tail -n1 "$h/out" | grep -qx 'MartenOnboarding main() completed' ||
        { fail "$name: the entry's last line" "$(tail -n2 "$h/out")"; return 1; }
    return 0
}

# The main application beside the onboarding: the entry is written and valid.
beside="$WORK/install/bin"
mkdir -p "$beside"
cp "$BIN/MartenOnboarding" "$beside/"
printf '#!/bin/sh\nexit 0\n' > "$beside/marten"
chmod +x "$beside/marten"
h="$(subscribed_run with-main-app "$beside")"
if check_common "with the main application" "$h"; then
    entry="$h/config/autostart/com.marten.Marten.desktop"
    if ! grep -qx '✅ Successfully set app to launch at login.' "$h/out"; then
        fail "with the main application: the success line" "$(cat "$h/out")"
    elif ! grep -qx "Exec=\"$beside/marten\"" "$entry"; then
        fail "with the main application: Exec of the autostart entry" "$(cat "$entry" 2>&1)"
    elif ! desktop-file-validate "$entry"; then
        fail "with the main application: the entry validates"
    else
        pass "signed in and subscribed, main application present"
    fi
fi

# No main application anywhere: the failure is reported, the flags are still written.
h="$(subscribed_run without-main-app "$BIN")"
if check_common "without the main application" "$h"; then
    if grep -q '^❌ Failed to set launch at login: .*marten.*not found' "$h/out" &&
        [ ! -e "$h/config/autostart/com.marten.Marten.desktop" ]; then
        pass "signed in and subscribed, no main application"
    else
        fail "without the main application: the failure line" "$(cat "$h/out")"
    fi
fi

finish
