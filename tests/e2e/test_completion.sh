#!/usr/bin/env bash
# Signed in and subscribed: the full program completes by itself after about 3 s, writes
# both flags and registers the main application to start at login.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

# subscribed_run NAME BINDIR: prints the run's home; HOME/seconds is how long it took.
subscribed_run() {
    local h start
    h="$(subscribed_home "$1")"
    start=$(date +%s.%N)
    PATH=/usr/bin:/bin run_to_end "$h" in_home "$h" "$2/MartenOnboarding"
    echo "$(date +%s.%N) - $start" | bc -l > "$h/seconds"
    echo "$h"
}
# On its own, without a step list, about 3 s after it starts.
completed_alone() { # HOME
    completed "$1" && ! grep '^FTUE will show' "$1/out" &&
        awk -v s="$(cat "$1/seconds")" 'BEGIN { exit !(s >= 2.9 && s < 8) }' ||
        { echo "took $(cat "$1/seconds") s"; return 1; }
}

# The main application beside the onboarding: the entry is written and valid.
beside="$WORK/install/bin"
mkdir -p "$beside"
cp "$BIN/MartenOnboarding" "$beside/"
printf '#!/bin/sh\nexit 0\n' > "$beside/marten"
chmod +x "$beside/marten"
h="$(subscribed_run with-main-app "$beside")"
entry="$h/config/autostart/com.marten.Marten.desktop"
check "with the main application: completes by itself" completed_alone "$h"
check "with the main application: the success line and a valid entry for it" \
    eval 'grep -x "✅ Successfully set app to launch at login." "$h/out" &&
        grep -x "Exec=\"$beside/marten\"" "$entry" && desktop-file-validate "$entry"'

# No main application anywhere: the failure is reported, the flags are still written.
h="$(subscribed_run without-main-app "$BIN")"
check "without the main application: completes by itself" completed_alone "$h"
check "without the main application: the failure line, no entry" \
    eval 'grep "^❌ Failed to set launch at login: .*marten.*not found" "$h/out" &&
        [ ! -e "$h/config/autostart/com.marten.Marten.desktop" ]'

finish
