#!/usr/bin/env bash
# Faults in the user's folders and on the bus: the program never hangs or crashes, never
# reports a failure as success, and still ends normally.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

# A main application beside the onboarding, so that launch at login would succeed.
beside="$WORK/bin"
mkdir -p "$beside"
cp "$BIN/MartenOnboarding" "$beside/"
printf '#!/bin/sh\n' > "$beside/marten"
chmod +x "$beside/marten"

# A file stands where the config folders should be.
h="$(subscribed_home broken-config)"
rmdir "$h/config"
echo "not a folder" > "$h/config"
FAST=1 run_to_end "$h" in_home "$h" "$beside/MartenOnboarding"
check "unusable config folder: both failures reported, program ends normally" \
    eval 'same "$h/status" 0 && grep "^❌ Failed to set launch at login: " "$h/out" &&
        ! grep "✅" "$h/out" && grep "^Failed to save onboarding state: " "$h/out" &&
        tail -n1 "$h/out" | grep -x "MartenOnboarding main() completed"'

# A full disk under the private media folder.
h="$(new_home full-disk)"
cat > "$h/run.sh" <<'INNER'
mount -t tmpfs -o size=16k,mode=0700 tmpfs "$XDG_RUNTIME_DIR"
timeout -k 5 -s TERM 4 "$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err"
INNER
if unshare -m --propagation private true 2>/dev/null; then
    in_home "$h" unshare -m --propagation private bash "$h/run.sh" "$BIN"
    check "a full disk under the media folder: one error line, the flow goes on" \
        eval 'grep "^Error loading GIF in WebView: " "$h/out" && grep "^FTUE will show 4 steps" "$h/out"'
else
    echo "SKIP: full disk (no mount namespaces here)"
fi

# The bus goes away mid-run.
h="$(subscribed_home bus-gone)"
address="$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$h/bus.pid")"
HOME="$h" XDG_CONFIG_HOME="$h/config" XDG_RUNTIME_DIR="$h/runtime" QT_QPA_PLATFORM=offscreen \
    DBUS_SESSION_BUS_ADDRESS="$address" run_to_end "$h" "$beside/MartenOnboarding" &
wait_for_line "$h/out" "User subscription status: true" 50
kill "$(cat "$h/bus.pid")"
wait
check "the bus disappearing mid-run: onboarding still completes" \
    eval 'completed "$h" && grep -x "✅ Successfully set app to launch at login." "$h/out"'

finish
