# Sourced inside a private session bus and X server: starts the screen reader, speech logged (not
# played) to $HOME/orca.log, and waits until it listens. hear TEXT waits until it said TEXT.
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.freedesktop.DBus.Properties.Set org.a11y.Status ScreenReaderEnabled '<true>' > /dev/null
# It refuses to start while another of this user's runs (the previous walk's, still ending).
TRIES=100 until_ eval '! pgrep -u "$(id -u)" -x orca > /dev/null'
# Its log goes to a terminal, the one place it writes a line at a time; script copies it.
script -qfec "/usr/bin/orca -d speech -d braille --debug-file=/dev/stdout" "$HOME/orca.log" > /dev/null 2>&1 < /dev/null &
orca_pid=$!
ORCA_SH_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
spoken() { bash "$ORCA_SH_DIR/spoken.sh" "$HOME/orca.log"; }
hear() { local text="$1"; TRIES=${TRIES:-150} until_ eval 'spoken | grep -F -- "$text" > /dev/null' || echo "$text" >> "$HOME/unheard"; }
# 77: the reader would not start here (no accessibility bus, say), which skips, not fails.
TRIES=300 until_ eval 'grep -q "Startup complete" "$HOME/orca.log" 2> /dev/null' || exit 77
# Ends the screen reader and waits until it is gone (it refuses to start while another runs).
stop_orca() {
    local reader
    reader="$(pgrep -P "$orca_pid")"
    kill $reader "$orca_pid" 2> /dev/null
    TRIES=50 until_ eval '! kill -0 $reader 2> /dev/null' || kill -9 $reader 2> /dev/null
    TRIES=20 until_ eval '! kill -0 $reader 2> /dev/null'
}
