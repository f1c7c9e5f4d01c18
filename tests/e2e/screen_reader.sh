#!/usr/bin/env bash
# screen_reader.sh BIN (for test_screen_reader.sh): the full program by keyboard with the screen
# reader listening, welcome to the panel; each key waits until the reader said what it brings.
set -uo pipefail
source "$(dirname "$0")/until.sh"
source "$(dirname "$0")/orca.sh"
"$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err" &
pid=$!
until_ eval 'grep -q "FTUE will show" "$HOME/out"'
until_ eval 'wid=$(xdotool search --onlyvisible --class MartenOnboarding | head -1) && [ -n "$wid" ]'
xdotool windowfocus --sync "$wid"
press() { xdotool key --window "$wid" "$1"; }
hear "speak to type, anywhere"
press Tab && hear "Next push button"
press ctrl+Return
hear "Input Access panel"
press Tab && hear "Open Input Access Panel push button"
press space && hear "Allow input access dialog"
press Escape && TRIES=50 until_ eval '[ "$(spoken | grep -c "^.Open Input Access Panel push button")" -ge 2 ]'
kill "$pid"
stop_orca
wait "$pid"
