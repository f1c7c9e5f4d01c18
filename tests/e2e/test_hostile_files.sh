#!/usr/bin/env bash
# A media folder whose parent others can write, and media that are FIFOs: nothing lands
# where it should not, nothing blocks.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

stopped_early() { ended "$1" && within "$1" 2 && [ -z "$(ls -A "$1/config")" ]; } # HOME: nothing saved

# In a world-writable parent without the sticky bit, the folder is swapped for a link to the
# victim's, over and over, while the program stages (Qt's own folder under TMPDIR aside).
h="$(new_home swapped-folder)"
mkdir -p "$h/shared" "$h/victim" "$h/tmp"
chmod 0777 "$h/shared"
printf 'precious\n' | tee "$h/victim/gif_display.html" > "$h/victim.before"
while :; do
    mv "$h/shared/marten-onboarding" "$h/shared/aside" 2>/dev/null
    ln -sfn "$h/victim" "$h/shared/marten-onboarding" 2>/dev/null
    rm -f "$h/shared/marten-onboarding" 2>/dev/null
    mv "$h/shared/aside" "$h/shared/marten-onboarding" 2>/dev/null
done &
swapper=$!
for _ in 1 2 3; do
    start_until "$h" "FTUE will show" env HOME="$h" XDG_CONFIG_HOME="$h/config" \
        XDG_RUNTIME_DIR="$h/shared" TMPDIR="$h/tmp" dbus-run-session -- "$BIN/MartenOnboarding"
    stop_with "$h" TERM
done
kill "$swapper" && wait "$swapper" 2>/dev/null
check "a swapped media folder: the victim's folder untouched, fallback folders removed" \
    eval 'stopped_early "$h" && cmp "$h/victim.before" "$h/victim/gif_display.html" &&
        [ "$(ls -A "$h/victim")" = gif_display.html ] && ! ls -A "$h/tmp" | grep "^marten-onboarding-"'

# A FIFO as the still image, no GIF anywhere: the microphone symbol instead.
with_main_app "$WORK/bare/bin"
h="$(new_home media-fifo-png)"
mkdir -p "$h/Documents/voice_to_text/assets"
mkfifo "$h/Documents/voice_to_text/assets/glowy.png"
start_until "$h" "FTUE will show" in_home "$h" "$WORK/bare/bin/MartenOnboarding"
stop_with "$h" TERM
check "a FIFO for the still image: nothing blocks" stopped_early "$h"

finish
