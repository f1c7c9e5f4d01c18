#!/usr/bin/env bash
# Files and folders another user (or a careless environment) controls: a private media
# folder whose parent others can write, relative or missing XDG and home variables, and
# media that are FIFOs or devices. Nothing lands where it should not, nothing blocks.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
EXPECTED_CONF=$'[General]\nftue_completed=true\nhas_launched_before=true\n'

subscribed_home() { # NAME
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc","has_subscription":true}' > "$h/.marten_auth_local.json"
    echo "$h"
}

# A copied program with its media in ../assets, the way a build tree has them.
app="$WORK/app"
mkdir -p "$app/bin" "$app/assets"
cp "$BIN/MartenOnboarding" "$app/bin/"
cp "$BIN/../assets/glowy.gif" "$app/assets/"

# run_until_steps HOME [PROGRAM]: starts the program, waits for its steps, ends it with
# SIGTERM. Status to HOME/status, seconds from SIGTERM to its end to HOME/took.
run_until_steps() {
    local h="$1" start
    rm -f "$h/pid"
    in_home "$h" timeout 20 bash -c 'echo $$ > "$HOME/pid"; exec "$0"' \
        "${2:-$app/bin/MartenOnboarding}" > "$h/out" 2> "$h/err" &
    local runner=$!
    wait_for_line "$h/out" "FTUE will show" 100
    sleep 0.5
    start=$(date +%s%N)
    kill -TERM "$(cat "$h/pid")"
    wait "$runner"
    echo $? > "$h/status"
    echo "scale=2; ($(date +%s%N) - $start) / 1000000000" | bc > "$h/took"
}

ended_quickly() { # HOME
    [ "$(cat "$1/status")" = 0 ] && [ "$(echo "$(cat "$1/took") < 2" | bc)" = 1 ] &&
        tail -n1 "$1/out" | grep -qx 'MartenOnboarding main() completed'
}

# --- The media folder's parent is writable by everyone, without the sticky bit ------------
# Another user swaps the folder for a link to the victim's folder, over and over, while the
# program stages its page and image. Whatever it writes stays in the folder it checked.
h="$(new_home swapped-folder)"
mkdir -p "$h/shared" "$h/victim" "$h/tmp"
chmod 0777 "$h/shared"
printf 'precious\n' > "$h/victim/gif_display.html"
cp "$h/victim/gif_display.html" "$h/victim.before"
(
    end=$((SECONDS + 6))
    while [ $SECONDS -lt $end ]; do
        mv "$h/shared/marten-onboarding" "$h/shared/aside" 2>/dev/null
        ln -sfn "$h/victim" "$h/shared/marten-onboarding" 2>/dev/null
        rm -f "$h/shared/marten-onboarding"
        mv "$h/shared/aside" "$h/shared/marten-onboarding" 2>/dev/null
    done
) &
swapper=$!
for _ in 1 2 3; do
    TMPDIR="$h/tmp" XDG_RUNTIME_DIR="$h/shared" run_until_steps "$h"
done
wait "$swapper"
if cmp -s "$h/victim.before" "$h/victim/gif_display.html" && [ "$(ls -A "$h/victim")" = gif_display.html ] &&
    ended_quickly "$h" && [ -z "$(ls -A "$h/tmp")" ]; then
    pass "a swapped media folder: the victim's folder untouched, fallback folders removed"
else
    fail "swapped media folder" "$(ls -la "$h/victim" "$h/tmp")" "$(cat "$h/out")"
fi

# --- Relative XDG folders are ignored -------------------------------------------------------
h="$(subscribed_home relative-xdg)"
mkdir -p "$h/cwd"
(cd "$h/cwd" && HOME="$h" XDG_CONFIG_HOME=config XDG_RUNTIME_DIR=runtime QT_QPA_PLATFORM=offscreen \
    dbus-run-session -- timeout 20 "$app/bin/MartenOnboarding" > "$h/out" 2> "$h/err")
status=$?
if [ "$status" = 0 ] && [ -z "$(ls -A "$h/cwd")" ] &&
    [ "$(cat "$h/.config/Marten/Marten.conf"; echo x)" = "${EXPECTED_CONF}x" ]; then
    pass "relative XDG_CONFIG_HOME and XDG_RUNTIME_DIR: the defaults are used, nothing in the working folder"
else
    fail "relative XDG folders" "status $status" "$(find "$h/cwd" "$h/.config")" "$(cat "$h/out")"
fi

# --- HOME unset, empty or relative: the password database decides ----------------------------
# The password database is replaced inside a private mount namespace only.
if unshare -m --propagation private true 2>/dev/null; then
    for kind in empty relative unset missing-entry; do
        h="$(subscribed_home "home-$kind")"
        mkdir -p "$h/cwd"
        if [ "$kind" = missing-entry ]; then
            grep -v "^[^:]*:[^:]*:$(id -u):" /etc/passwd > "$h/passwd"
        else
            awk -F: -v OFS=: -v uid="$(id -u)" -v home="$h" '$3 == uid { $6 = home } 1' /etc/passwd > "$h/passwd"
        fi
        # dbus-daemon itself needs an entry for the user; that run never gets to the bus.
        bus=(dbus-run-session --)
        [ "$kind" = missing-entry ] && bus=(env DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent)
        # Only the file answers: no other source may make up an entry for this user.
        printf 'passwd: files\ngroup: files\n' > "$h/passwd.nss"
        case "$kind" in
            empty) home_env=(HOME=) ;;
            relative) home_env=(HOME=somewhere) ;;
            *) home_env=(-u HOME) ;;
        esac
        (cd "$h/cwd" && unshare -m --propagation private sh -c \
            'mount --bind "$0" /etc/passwd && mount --bind "$0.nss" /etc/nsswitch.conf && exec "$@"' \
            "$h/passwd" env -u XDG_CONFIG_HOME "${home_env[@]}" XDG_RUNTIME_DIR="$h/runtime" \
            QT_QPA_PLATFORM=offscreen "${bus[@]}" timeout 20 "$app/bin/MartenOnboarding" \
            > "$h/out" 2> "$h/err")
        status=$?
        if [ "$kind" = missing-entry ]; then
            if [ "$status" = 1 ] && [ "$(wc -l < "$h/out")" = 1 ] &&
                grep -q '^MartenOnboarding cannot start: no home folder' "$h/out" &&
                [ -z "$(ls -A "$h/cwd")" ] && [ ! -e "$h/.config" ] && [ ! -e "$h/runtime/marten-onboarding" ]; then
                pass "no home folder anywhere: one line, nothing written"
            else
                fail "no home folder" "status $status" "$(cat "$h/out")" "$(find "$h/cwd" "$h/runtime")"
            fi
        elif [ "$status" = 0 ] && [ -z "$(ls -A "$h/cwd")" ] &&
            grep -qx 'User subscription status: true' "$h/out" &&
            [ "$(cat "$h/.config/Marten/Marten.conf"; echo x)" = "${EXPECTED_CONF}x" ]; then
            pass "HOME $kind: the home folder comes from the password database"
        else
            fail "HOME $kind" "status $status" "$(cat "$h/out")" "$(find "$h/cwd")"
        fi
    done
else
    echo "SKIP: HOME cases (no mount namespaces here)"
fi

# --- Media that are FIFOs or devices: the microphone symbol, no blocking, no flood -----------
for kind in fifo-gif fifo-png zero-gif; do
    h="$(new_home "media-$kind")"
    assets="$h/Documents/voice_to_text/assets"
    mkdir -p "$assets"
    program="$app/bin/MartenOnboarding"
    case "$kind" in
        fifo-gif) mkfifo "$assets/glowy.gif" ;;
        fifo-png)
            mkfifo "$assets/glowy.png"
            # No GIF anywhere, so the still image is what the welcome step looks for.
            mkdir -p "$WORK/bare/bin"
            cp "$BIN/MartenOnboarding" "$WORK/bare/bin/"
            program="$WORK/bare/bin/MartenOnboarding"
            ;;
        zero-gif) ln -s /dev/zero "$assets/glowy.gif" ;;
    esac
    run_until_steps "$h" "$program"
    used=$(du -sk "$h/runtime" | cut -f1)
    if ended_quickly "$h" && ! grep -q '^GIF found at: ' "$h/out" && [ "$used" -lt 64 ] &&
        [ -z "$(ls -A "$h/config")" ]; then
        pass "media $kind: nothing blocks, ended in $(cat "$h/took") s, ${used} KiB staged"
    else
        fail "media $kind" "status $(cat "$h/status"), took $(cat "$h/took") s, ${used} KiB" "$(cat "$h/out")"
    fi
done

finish
