#!/usr/bin/env bash
# The settings file and autostart entry in a hostile state (unparsable, not UTF-8, locked, full
# disk, a % in the path): one line per failure, a normal end, every file left byte for byte.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

beside="$WORK/bin"
with_main_app "$beside"

# with_conf NAME FORMAT: a subscribed home whose Marten.conf (copied to HOME/before) is FORMAT.
with_conf() {
    local h && h="$(subscribed_home "$1")" && mkdir -p "$h/config/Marten" && echo "$h"
    printf "$2" | tee "$h/config/Marten/Marten.conf" > "$h/before"
}

# Left as it was, with one line why: unparsable (lost on a rewrite), Latin-1 (bytes replaced),
# locked by a folder or a live process (waited on for a bounded time, on the real clock).
sleep 60 &
holder=$!
while IFS='|' read -r name content reason; do
    h="$(with_conf "$name" "$content")"
    lock="$h/config/Marten/Marten.conf.lock"
    case "$name" in
        lock-folder) mkdir "$lock" ;;
        lock-live) printf '%s\nsleep\n%s\n' "$holder" "$(hostname)" > "$lock" ;;
    esac
    SECONDS=0
    FAST="$([ -e "$lock" ] || echo 1)" run_to_end "$h" in_home "$h" "$beside/MartenOnboarding"
    check "$name: untouched, one failure line, within 8 s" \
        eval 'ended "$h" && [ "$SECONDS" -le 8 ] && cmp "$h/before" "$h/config/Marten/Marten.conf" &&
            [ -z "$(ls -A "$h/config/Marten" | grep -vx -e Marten.conf -e Marten.conf.lock)" ] &&
            grep -x "Failed to save onboarding state: $h/config/Marten/Marten.conf $reason" "$h/out"'
done <<'CASES'
unparsed-hash-line|# written by hand\n[General]\nvolume=3\n|is not a valid settings file
unparsed-no-equals|[General]\nvolume=3\njust words\n|is not a valid settings file
unparsed-open-section|[General\nvolume=3\n|is not a valid settings file
latin1|[General]\ncity=M\xfcnchen\nvolume=3\n|is not a valid settings file
lock-folder|[General]\nvolume=3\n|is locked by another program
lock-live|[General]\nvolume=3\n|is locked by another program
CASES
kill "$holder"

# In a mount namespace: a full or read-only config folder; a full, read-only TMPDIR is unused.
cat > "$WORK/run.sh" <<'INNER'
case "$2" in
    full-disk) mount -t tmpfs -o size=64k tmpfs "$XDG_CONFIG_HOME"
        dd if=/dev/zero of="$XDG_CONFIG_HOME/filler" bs=4k 2>/dev/null ;;
    full-tmp) mount -t tmpfs -o size=64k tmpfs "$TMPDIR"
        dd if=/dev/zero of="$TMPDIR/filler" bs=4k 2>/dev/null
        mount -o remount,ro "$TMPDIR" ;;
    ro-home) mount --bind "$XDG_CONFIG_HOME" "$XDG_CONFIG_HOME" && mount -o remount,bind,ro "$XDG_CONFIG_HOME" ;;
esac
timeout -k 5 20 "$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err"
echo $? > "$HOME/status"
ls -A "$XDG_CONFIG_HOME" "$XDG_CONFIG_HOME"/* > "$HOME/listing" 2>&1
INNER
kept="${FLAGS_ONLY}volume=3"$'\n'
while IFS='|' read -r kind name test; do
    unshare -m --propagation private true 2>/dev/null || { echo "SKIP: $kind (no mount namespaces here)"; continue; }
    h="$(with_conf "$kind" '[General]\nvolume=3\n')"
    chmod 600 "$h/config/Marten/Marten.conf"
    mkdir -p "$h/tmp"
    TMPDIR="$h/tmp" in_home "$h" unshare -m --propagation private bash "$WORK/run.sh" "$beside" "$kind"
    check "$name" eval "ended \"\$h\" && $test"
done <<'CASES'
full-disk|full disk: the system's own words, no partial files left|! grep "^\." "$h/listing" && ! grep "✅" "$h/out" && grep "^❌ Failed to set launch at login: cannot write .*: No space left on device$" "$h/out" && grep "^Failed to save onboarding state: cannot write .*: No space left on device$" "$h/out"
full-tmp|full, read-only TMPDIR: flags merged beside the file, still 0600, nothing left|[ "$(ls -A "$h/config/Marten")" = Marten.conf ] && [ "$(stat -c %a "$h/config/Marten/Marten.conf")" = 600 ] && same_bytes "$h/config/Marten/Marten.conf" "$kept"
ro-home|read-only home: each failure line gives the system's reason|cmp "$h/before" "$h/config/Marten/Marten.conf" && grep -x "❌ Failed to set launch at login: cannot create .*/autostart: Read-only file system" "$h/out" && grep -x "Failed to save onboarding state: cannot write .*Marten.conf: Read-only file system" "$h/out"
CASES

# GLib refuses to launch an Exec line with a % in the path, however it is escaped.
h="$(subscribed_home percent)"
install -D /dev/null "$h/100%bin/marten"
FAST=1 PATH="$h/100%bin:$PATH" run_to_end "$h" in_home "$h" "$BIN/MartenOnboarding"
check "a % in the main application's path: refused with the failure line, flags saved" \
    eval 'ended "$h" && [ ! -e "$h/config/autostart" ] &&
        grep -x "❌ Failed to set launch at login: the main application.s path cannot be written to an autostart entry" "$h/out" &&
        same_bytes "$h/config/Marten/Marten.conf" "$FLAGS_ONLY"'

finish
