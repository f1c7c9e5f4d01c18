#!/usr/bin/env bash
# The settings file and the autostart entry in a hostile state: a file QSettings cannot fully
# parse, a held lock, a full disk, a % in the main application's path. Each failure is one
# line, the program ends normally, and every file is left byte for byte as it was.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

# A main application beside the onboarding, so that launch at login can succeed.
beside="$WORK/bin"
with_main_app "$beside"

# with_conf NAME FORMAT: a subscribed user's home whose Marten.conf holds what printf makes of
# FORMAT; a copy of it goes to HOME/before.
with_conf() {
    local h
    h="$(subscribed_home "$1")"
    mkdir -p "$h/config/Marten"
    printf "$2" | tee "$h/config/Marten/Marten.conf" > "$h/before"
    echo "$h"
}

# The file is shared with the main application: what QSettings cannot parse would be lost on
# a rewrite, so it stays exactly as it was.
while IFS='|' read -r name content; do
    h="$(with_conf "unparsed-$name" "$content")"
    run_to_end "$h" in_home "$h" "$beside/MartenOnboarding"
    check "unparsable settings ($name): untouched, one failure line" \
        eval 'ended "$h" && cmp "$h/before" "$h/config/Marten/Marten.conf" &&
            [ "$(ls -A "$h/config/Marten")" = Marten.conf ] &&
            grep -x "Failed to save onboarding state: $h/config/Marten/Marten.conf is not a valid settings file" "$h/out"'
done <<'CASES'
hash-line|# written by hand\n[General]\nvolume=3\n
no-equals|[General]\nvolume=3\njust words\n
open-section|[General\nvolume=3\n
CASES

# A valid file keeps what it holds and gains both flags at once.
h="$(with_conf merged '[General]\nvolume=3\n\n[hotkey]\nkey=F9\n')"
merged=$'[General]\nftue_completed=true\nhas_launched_before=true\nvolume=3\n\n[hotkey]\nkey=F9\n'
run_to_end "$h" in_home "$h" "$beside/MartenOnboarding"
check "valid settings: both flags added, the other keys kept, no lock or temporary left" \
    eval 'ended "$h" && [ "$(ls -A "$h/config/Marten")" = Marten.conf ] &&
        same_bytes "$h/config/Marten/Marten.conf" "$merged"'

# A held lock, a folder in its place or one naming a live process: the wait is bounded.
sleep 60 &
holder=$!
for kind in folder live; do
    h="$(with_conf "lock-$kind" '[General]\nvolume=3\n')"
    if [ "$kind" = folder ]; then
        mkdir "$h/config/Marten/Marten.conf.lock"
    else
        printf '%s\nsleep\n%s\n' "$holder" "$(hostname)" > "$h/config/Marten/Marten.conf.lock"
    fi
    start=$(date +%s)
    run_to_end "$h" in_home "$h" "$beside/MartenOnboarding"
    took=$(($(date +%s) - start))
    check "held lock ($kind): gave up after a bounded wait, file untouched" \
        eval 'ended "$h" && [ "$took" -le 8 ] && cmp "$h/before" "$h/config/Marten/Marten.conf" &&
            grep "^Failed to save onboarding state: .*Marten.conf is locked by another program$" "$h/out"'
done
kill "$holder"

# A full disk is named as such, and no partial file is left.
h="$(subscribed_home full-disk)"
cat > "$h/run.sh" <<'INNER'
mount -t tmpfs -o size=64k tmpfs "$XDG_CONFIG_HOME"
dd if=/dev/zero of="$XDG_CONFIG_HOME/filler" bs=4k 2>/dev/null
timeout 20 "$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err"
echo $? > "$HOME/status"
ls -A "$XDG_CONFIG_HOME" "$XDG_CONFIG_HOME"/* > "$HOME/listing" 2>&1
INNER
if unshare -m --propagation private true 2>/dev/null; then
    in_home "$h" unshare -m --propagation private bash "$h/run.sh" "$beside"
    check "full disk: the system's own words, no partial files left" \
        eval 'ended "$h" && ! grep "^\." "$h/listing" && ! grep "✅" "$h/out" &&
            grep "^❌ Failed to set launch at login: cannot write .*: No space left on device$" "$h/out" &&
            grep "^Failed to save onboarding state: cannot write .*: No space left on device$" "$h/out"'
else
    echo "SKIP: full disk (no mount namespaces here)"
fi

# GLib refuses to launch an Exec line with a % in the path, however it is escaped.
h="$(subscribed_home percent)"
mkdir -p "$h/100%bin"
cp "$beside/marten" "$h/100%bin/"
refused="❌ Failed to set launch at login: the main application's path cannot be written to an autostart entry"
PATH="$h/100%bin:$PATH" run_to_end "$h" in_home "$h" "$BIN/MartenOnboarding"
check "a % in the main application's path: refused with the failure line, flags saved" \
    eval 'ended "$h" && [ ! -e "$h/config/autostart" ] &&
        grep -x "$refused" "$h/out" &&
        same_bytes "$h/config/Marten/Marten.conf" "$FLAGS_ONLY"'

finish
