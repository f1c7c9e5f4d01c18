#!/usr/bin/env bash
# Files and folders another user (or a careless environment) controls: a private media
# folder whose parent others can write, relative or missing XDG and home variables, and
# media that are FIFOs or devices. Nothing lands where it should not, nothing blocks.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

# A copied program with its media in ../assets, the way a build tree has them.
app="$WORK/app"
mkdir -p "$app/bin" "$app/assets"
cp "$BIN/MartenOnboarding" "$app/bin/"
cp "$BIN/../assets/glowy.gif" "$app/assets/"

# stopped_early HOME: ended by SIGTERM within 2 s as a closed window would, nothing saved.
stopped_early() { ended "$1" && within "$1" 2 && [ -z "$(ls -A "$1/config")" ]; }

# The media folder's parent is writable by everyone, without the sticky bit. Another user
# swaps the folder for a link to the victim's folder, over and over, while the program
# stages its page and image. Whatever it writes stays in the folder it checked. (Qt keeps a
# runtime folder of its own under TMPDIR then; only the program's fallback folders count.)
h="$(new_home swapped-folder)"
mkdir -p "$h/shared" "$h/victim" "$h/tmp"
chmod 0777 "$h/shared"
printf 'precious\n' | tee "$h/victim/gif_display.html" > "$h/victim.before"
(
    end=$((SECONDS + 6))
    while [ $SECONDS -lt $end ]; do
        mv "$h/shared/marten-onboarding" "$h/shared/aside" 2>/dev/null
        ln -sfn "$h/victim" "$h/shared/marten-onboarding" 2>/dev/null
        rm -f "$h/shared/marten-onboarding" 2>/dev/null
        mv "$h/shared/aside" "$h/shared/marten-onboarding" 2>/dev/null
    done
) &
swapper=$!
for _ in 1 2 3; do
    start_until "$h" "FTUE will show" env HOME="$h" XDG_CONFIG_HOME="$h/config" \
        XDG_RUNTIME_DIR="$h/shared" TMPDIR="$h/tmp" dbus-run-session -- "$app/bin/MartenOnboarding"
    stop_with "$h" TERM
done
wait "$swapper"
check "a swapped media folder: the victim's folder untouched, fallback folders removed" \
    eval 'stopped_early "$h" && cmp "$h/victim.before" "$h/victim/gif_display.html" &&
        [ "$(ls -A "$h/victim")" = gif_display.html ] && ! ls -A "$h/tmp" | grep "^marten-onboarding-"'

# Relative XDG folders are ignored: the defaults under HOME are used.
h="$(subscribed_home relative-xdg)"
mkdir -p "$h/cwd"
(cd "$h/cwd" && HOME="$h" XDG_CONFIG_HOME=config XDG_RUNTIME_DIR=runtime QT_QPA_PLATFORM=offscreen \
    FAST=1 run_to_end "$h" dbus-run-session -- "$app/bin/MartenOnboarding")
check "relative XDG_CONFIG_HOME and XDG_RUNTIME_DIR: the defaults used, nothing in the working folder" \
    eval 'same "$h/status" 0 && [ -z "$(ls -A "$h/cwd")" ] && same_bytes "$h/.config/Marten/Marten.conf" "$FLAGS_ONLY"'

# HOME unset, empty or relative: the password database decides; without an entry there the
# program refuses to start. The database is replaced inside a private mount namespace only,
# and only the file answers, so nothing else may make up an entry for this user.
if unshare -m --propagation private true 2>/dev/null; then
    for row in empty:HOME= relative:HOME=somewhere unset:--unset=HOME missing-entry:--unset=HOME; do
        kind="${row%%:*}" home_env="${row#*:}"
        h="$(subscribed_home "home-$kind")"
        mkdir -p "$h/cwd"
        printf 'passwd: files\ngroup: files\n' > "$h/passwd.nss"
        # dbus-daemon itself needs an entry for the user; that run never gets to the bus.
        bus=(dbus-run-session --)
        if [ "$kind" = missing-entry ]; then
            grep -v "^[^:]*:[^:]*:$(id -u):" /etc/passwd > "$h/passwd"
            bus=(env DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent)
        else
            awk -F: -v OFS=: -v uid="$(id -u)" -v home="$h" '$3 == uid { $6 = home } 1' /etc/passwd > "$h/passwd"
        fi
        (cd "$h/cwd" && FAST=1 run_to_end "$h" unshare -m --propagation private sh -c \
            'mount --bind "$0" /etc/passwd && mount --bind "$0.nss" /etc/nsswitch.conf && exec "$@"' \
            "$h/passwd" env -u XDG_CONFIG_HOME "$home_env" XDG_RUNTIME_DIR="$h/runtime" \
            QT_QPA_PLATFORM=offscreen "${bus[@]}" "$app/bin/MartenOnboarding")
        if [ "$kind" = missing-entry ]; then
            check "no home folder anywhere: one line, status 1, nothing written" \
                eval 'same "$h/status" 1 && [ "$(wc -l < "$h/out")" = 1 ] &&
                    grep "^MartenOnboarding cannot start: no home folder" "$h/out" && [ -z "$(ls -A "$h/cwd")" ] &&
                    [ ! -e "$h/.config" ] && [ ! -e "$h/runtime/marten-onboarding" ]'
        else
            check "HOME $kind: the home folder comes from the password database" \
                eval 'same "$h/status" 0 && [ -z "$(ls -A "$h/cwd")" ] &&
                    grep -x "User subscription status: true" "$h/out" &&
                    same_bytes "$h/.config/Marten/Marten.conf" "$FLAGS_ONLY"'
        fi
    done
else
    echo "SKIP: HOME cases (no mount namespaces here)"
fi

# Media that are FIFOs or devices: the microphone symbol instead, no blocking, no flood.
mkdir -p "$WORK/bare/bin" # no GIF anywhere, so the still image is what is looked for
cp "$BIN/MartenOnboarding" "$WORK/bare/bin/"
for kind in fifo-gif fifo-png zero-gif; do
    h="$(new_home "media-$kind")"
    assets="$h/Documents/voice_to_text/assets"
    mkdir -p "$assets"
    program="$app/bin/MartenOnboarding"
    case "$kind" in
        fifo-gif) mkfifo "$assets/glowy.gif" ;;
        fifo-png) mkfifo "$assets/glowy.png" && program="$WORK/bare/bin/MartenOnboarding" ;;
        zero-gif) ln -s /dev/zero "$assets/glowy.gif" ;;
    esac
    start_until "$h" "FTUE will show" in_home "$h" "$program"
    stop_with "$h" TERM
    check "media $kind: nothing blocks, no more than 64 KiB staged" \
        eval 'stopped_early "$h" && ! grep "^GIF found at: " "$h/out" &&
            [ "$(du -sk "$h/runtime" | cut -f1)" -lt 64 ]'
done

# A GIF whose picture is 5000 x 5000 (two frames, no delay) is not played: one line, and
# the memory stays far below the 100 MB each such frame would take.
h="$(new_home media-huge-gif)"
mkdir -p "$h/Documents/voice_to_text/assets"
frame='\x21\xf9\x04\x00\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x88\x13\x88\x13\x00\x02\x01\x2c\x00'
printf "GIF89a\x88\x13\x88\x13\x80\x00\x00\x00\x00\x00\xff\xff\xff$frame$frame\x3b" \
    > "$h/Documents/voice_to_text/assets/glowy.gif"
start_until "$h" "FTUE will show" in_home "$h" "$WORK/bare/bin/MartenOnboarding"
grep VmHWM "/proc/$(cat "$h/pid")/status" | tr -dc 0-9 > "$h/peak"
stop_with "$h" TERM
check "a 5000 x 5000 GIF: not played, said in a line, under 100 MB" \
    eval 'stopped_early "$h" && [ "$(cat "$h/peak")" -lt 100000 ] &&
        grep -x "Not playing \"$h/.*/glowy.gif\": its picture is 5000 x 5000, larger than 1024 x 1024" "$h/out"'

# A home folder whose name is not UTF-8 cannot be named: one line, status 1, nothing written.
h="$WORK/home-"$'\xff'
mkdir -p "$h/config" "$h/runtime"
printf '{"token":"abc","has_subscription":true}' > "$h/.marten_auth_local.json"
FAST=1 run_to_end "$h" in_home "$h" "$BIN/MartenOnboarding"
check "a home folder whose name is not UTF-8: one line, status 1, nothing written" \
    eval 'same "$h/status" 1 && [ "$(wc -l < "$h/out")" = 1 ] &&
        grep "^MartenOnboarding cannot start: the home folder.s name is not valid UTF-8" "$h/out" &&
        [ -z "$(ls -A "$h/config")" ] && [ ! -e "$h/runtime/marten-onboarding" ] && [ ! -e "$h/.config" ]'

finish
