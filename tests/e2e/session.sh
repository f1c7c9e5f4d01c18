#!/usr/bin/env bash
# session.sh MODE (test_push_to_talk.sh): $HOME/tree's program by keyboard to the panel, KEYBOARDS
# FIFOs for keys.py, 1,024 files at most; "granted" goes on to the end. Results go to $HOME.
set -uo pipefail
keys() { python3 "$(dirname "$0")/keys.py" "$@"; }
source "$(dirname "$0")/steps.sh"
seen() { [ "$(keys find "$1" | cut -d' ' -f1)" -gt "$2" ]; } # COLOUR MIN
reading() { ls -l "/proc/$pid/fd" 2> /dev/null | grep -q /dev/input/event0; }
press() { xdotool key --window "$wid" "$@"; }

rm -f /dev/input/event0 && mkfifo $(seq -f /dev/input/event%g 0 $((${KEYBOARDS:-1} - 1)))
exec 3<> /dev/input/event0
ulimit -Sn 1024
mount -t overlay overlay -o "lowerdir=${PKEXEC%/*},upperdir=$HOME/pk-up,workdir=$HOME/pk-work" "${PKEXEC%/*}"
ask_for_accessibility
PATH="$HOME/fakebin:$PATH" "$HOME/tree/bin/MartenOnboarding_Simple" > "$HOME/out" 2> "$HOME/err" 3>&- &
pid=$!
until_ grep -q "FTUE will show" "$HOME/out"
until_ eval 'wid=$(xdotool search --onlyvisible --limit 1 --name "Welcome to Marten")'
xdotool windowfocus --sync "$wid"
# Ctrl+Return presses a step's button; on the permission step Tab Space opens the panel.
advance_to "Input Access" && press Tab space
until_ seen 184,184,184 20000 && press space
if [ "$1" = user-owned ]; then
    # No Grant Access: the first control copies a command.
    until_ eval 'xclip -o -selection clipboard > "$HOME/clipboard" 2> /dev/null'
else
    # Granted, the step moves on by itself; on from there to the test step.
    until_ left "Input Access" && advance_to "Test It Out!"
    until_ reading && echo yes > "$HOME/reading"
    # The keyboards open, and the same ones (by descriptor and node) after two rescans.
    keyboards() { ls -l "/proc/$pid/fd" | grep -o '[0-9]* -> /dev/input/event.*' | sort; }
    before="$(keyboards)" && grep -c . <<< "$before" > "$HOME/keyboards" && sleep 2.5
    [ "$(keyboards)" = "$before" ] && echo yes > "$HOME/kept-open"
    seen 255,59,48 0 || echo yes > "$HOME/grey-idle"
    keys press
    until_ seen 255,59,48 500 && echo yes > "$HOME/red"
    keys release
    until_ eval '! seen 255,59,48 0'
    xdotool type --delay 20 "hello world"
    # The card (green at 10 % on white) selected by mouse, middle to left edge, read back.
    until_ seen 235,249,238 1000
    read -r _ x0 y0 x1 y1 <<< "$(keys find 235,249,238)"
    xdotool mousemove $(((x0 + x1) / 2)) $(((y0 + y1) / 2)) mousedown 1 \
        mousemove $((x0 + 2)) $(((y0 + y1) / 2)) mouseup 1
    until_ eval 'xclip -o -selection primary -t UTF8_STRING > "$HOME/transcript" 2> /dev/null'
    reading && echo yes > "$HOME/still-reading"
    keys bench 20 > "$HOME/bench"
    click Back # with the mouse
    until_ eval '! reading' && kill -0 "$pid" && echo yes > "$HOME/closed"
    # Next again; Tab, Shift+Tab (round to Close) and Tab come back to Get Started.
    press ctrl+Return
    until_ reading && press Tab shift+Tab Tab space
    TRIES=30 until_ eval '! kill -0 "$pid" 2> /dev/null'
fi
kill "$pid" 2> /dev/null && ended=killed
wait "$pid"
echo "${ended:-$?}" > "$HOME/status"
