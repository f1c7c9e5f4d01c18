#!/usr/bin/env bash
# A console that goes away, signals, no display, HOME and XDG missing, relative or not UTF-8.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

beside="$WORK/bin"
with_main_app "$beside"

h="$(subscribed_home piped)"
in_home "$h" bash -c 'timeout -k 5 20 "$0" 2> "$HOME/err" | head -n 1 > "$HOME/out"; echo "${PIPESTATUS[0]}" > "$HOME/status"' \
    "$beside/MartenOnboarding"
printf '[Desktop Entry]\nType=Application\nName=Marten\nComment=Push-to-talk dictation\nExec="%s"\nTerminal=false\nX-GNOME-Autostart-enabled=true\n' \
    "$beside/marten" > "$h/entry"
check "piped into head: exit 0, the entry and both flags written" \
    eval 'same "$h/status" 0 && same "$h/out" "Starting MartenOnboarding..." &&
        cmp "$h/entry" "$h/config/autostart/com.marten.Marten.desktop" &&
        same_bytes "$h/config/Marten/Marten.conf" "$FLAGS_ONLY"'

# SIGTERM, SIGINT and SIGHUP end it as closing does, removing the media's fallback folder.
ours() { ls -A "$1/tmp" | grep '^marten-onboarding-'; }
for signal in TERM INT HUP; do
    h="$(new_home "signal-$signal")"
    mkdir -p "$h/tmp"
    start_until "$h" "FTUE will show" env -u XDG_RUNTIME_DIR HOME="$h" XDG_CONFIG_HOME="$h/config" \
        TMPDIR="$h/tmp" QT_QPA_PLATFORM=offscreen "$BIN/MartenOnboarding"
    ours "$h" > "$h/staged"
    stop_with "$h" "$signal"
    check "SIG$signal: exit 0, nothing written, the fallback folder removed" \
        eval 'ended "$h" && [ -s "$h/staged" ] && ! ours "$h" && [ -z "$(ls -A "$h/config")" ]'
done

h="$(new_home no-display)"
run_to_end "$h" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$h" XDG_CONFIG_HOME="$h/config" \
    XDG_RUNTIME_DIR="$h/runtime" "$BIN/MartenOnboarding"
check "no display: one line on standard error, status 1" \
    eval 'same "$h/status" 1 && [ ! -s "$h/out" ] && [ "$(wc -l < "$h/err")" = 1 ] &&
        grep "needs a graphical session" "$h/err" && [ -z "$(find "$h/config" "$h/runtime" -mindepth 1)" ]'

refused() { # HOME REASON: status 1, one line giving REASON, nothing written anywhere
    same "$1/status" 1 && [ "$(wc -l < "$1/out")" = 1 ] && grep "^MartenOnboarding cannot start: $2" "$1/out" &&
        [ -z "$(find "$1/cwd" "$1/config" -mindepth 1 2>/dev/null)" ] && [ ! -e "$1/.config" ] && [ ! -e "$1/runtime/marten-onboarding" ]
}

# HOME unset, empty or relative: the password database decides (no entry: refused).
if unshare -m --propagation private true 2>/dev/null; then
    for row in empty:HOME= relative:HOME=somewhere unset:--unset=HOME missing-entry:--unset=HOME; do
        kind="${row%%:*}" home_env="${row#*:}"
        h="$(subscribed_home "home-$kind")"
        mkdir -p "$h/cwd"
        printf 'passwd: files\ngroup: files\n' > "$h/passwd.nss"
        # dbus-daemon itself needs an entry for the user; that run never gets to the bus.
        if [ "$kind" = missing-entry ]; then
            grep -v "^[^:]*:[^:]*:$(id -u):" /etc/passwd > "$h/passwd" && bus=(env DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent)
        else
            awk -F: -v OFS=: -v uid="$(id -u)" -v home="$h" '$3 == uid { $6 = home } 1' /etc/passwd > "$h/passwd" && bus=(dbus-run-session --)
        fi
        (cd "$h/cwd" && FAST=1 run_to_end "$h" unshare -m --propagation private sh -c \
            'mount --bind "$0" /etc/passwd && mount --bind "$0.nss" /etc/nsswitch.conf && exec "$@"' \
            "$h/passwd" env "$home_env" XDG_CONFIG_HOME=config XDG_RUNTIME_DIR=runtime \
            QT_QPA_PLATFORM=offscreen "${bus[@]}" "$BIN/MartenOnboarding")
        if [ "$kind" = missing-entry ]; then
            check "no home folder anywhere: one line, status 1, nothing written" refused "$h" "no home folder"
        else
            check "HOME $kind, relative XDG folders: the home folder comes from the password database" \
                eval 'same "$h/status" 0 && [ -z "$(ls -A "$h/cwd")" ] &&
                    grep -x "User subscription status: true" "$h/out" &&
                    same_bytes "$h/.config/Marten/Marten.conf" "$FLAGS_ONLY"'
        fi
    done
else
    echo "SKIP: HOME cases (no mount namespaces here)"
fi

h="$(subscribed_home "home-"$'\xff')"
FAST=1 run_to_end "$h" in_home "$h" "$BIN/MartenOnboarding"
check "a home folder whose name is not UTF-8: one line, status 1, nothing written" \
    refused "$h" "the home folder.s name is not valid UTF-8"

finish
