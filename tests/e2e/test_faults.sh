#!/usr/bin/env bash
# Faults in the user's folders and on the bus: the program never hangs or crashes, never
# reports a failure as success, and still ends normally.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

subscribed_home() { # NAME
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc","has_subscription":true}' > "$h/.marten_auth_local.json"
    echo "$h"
}

# A main application beside the onboarding, so that launch at login would succeed.
beside="$WORK/bin"
mkdir -p "$beside"
cp "$BIN/MartenOnboarding" "$beside/"
printf '#!/bin/sh\n' > "$beside/marten"
chmod +x "$beside/marten"

# --- Config folder unusable: a file stands where the folders should be ---------------------
h="$(subscribed_home broken-config)"
rmdir "$h/config"
echo "not a folder" > "$h/config"
in_home "$h" timeout 20 "$beside/MartenOnboarding" > "$h/out" 2> "$h/err"
status=$?
if [ "$status" = 0 ] &&
    grep -q '^❌ Failed to set launch at login: ' "$h/out" &&
    ! grep -q '✅' "$h/out" &&
    grep -q '^Failed to save onboarding state: ' "$h/out" &&
    tail -n1 "$h/out" | grep -qx 'MartenOnboarding main() completed'; then
    pass "unusable config folder: both failures reported, program ends normally"
else
    fail "unusable config folder" "status $status" "$(cat "$h/out")"
fi

# --- A full disk under the private media folder ----------------------------------------------
h="$(new_home full-disk)"
cat > "$h/run.sh" <<'INNER'
mount -t tmpfs -o size=16k,mode=0700 tmpfs "$XDG_RUNTIME_DIR"
timeout -s TERM 4 "$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err"
INNER
if unshare -m --propagation private true 2>/dev/null; then
    in_home "$h" unshare -m --propagation private bash "$h/run.sh" "$BIN"
    if grep -q '^Error loading GIF in WebView: ' "$h/out" && grep -q '^FTUE will show 4 steps' "$h/out"; then
        pass "a full disk under the media folder: one error line, the flow goes on"
    else
        fail "full disk" "$(cat "$h/out")"
    fi
else
    echo "SKIP: full disk (no mount namespaces here)"
fi

# --- The bus goes away mid-run --------------------------------------------------------------
h="$(subscribed_home bus-gone)"
bus_pid_file="$h/bus.pid"
address="$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$bus_pid_file")"
HOME="$h" XDG_CONFIG_HOME="$h/config" XDG_RUNTIME_DIR="$h/runtime" QT_QPA_PLATFORM=offscreen \
    DBUS_SESSION_BUS_ADDRESS="$address" timeout 20 "$beside/MartenOnboarding" > "$h/out" 2> "$h/err" &
pid=$!
wait_for_line "$h/out" "User subscription status: true" 50
kill "$(cat "$bus_pid_file")"
wait "$pid"
status=$?
if [ "$status" = 0 ] && grep -qx '✅ Successfully set app to launch at login.' "$h/out" &&
    grep -qx 'ftue_completed=true' "$h/config/Marten/Marten.conf"; then
    pass "the bus disappearing mid-run: onboarding still completes"
else
    fail "bus gone" "status $status" "$(cat "$h/out")"
fi

finish
