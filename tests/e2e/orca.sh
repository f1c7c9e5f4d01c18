# Sourced by a driver inside a private session bus and X server: starts Debian's screen reader
# with its debug log in $HOME/orca.log (speech is logged, not played, line by line) and waits until it
# listens. spoken prints what it said, one utterance a line; hear TEXT waits until it has said
# TEXT, noting in $HOME/unheard what it never said.
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.freedesktop.DBus.Properties.Set org.a11y.Status ScreenReaderEnabled '<true>' > /dev/null
# Its log goes to a terminal, the one place it writes a line at a time; script copies it. In
# with-input-access.sh's namespace /dev is an overlay without its terminals: a private set.
if [ ! -e /dev/pts/ptmx ]; then
    mount -t devpts -o newinstance,ptmxmode=0666 devpts /dev/pts && ln -sf pts/ptmx /dev/ptmx
fi
script -qfec "/usr/bin/orca -d speech -d braille --debug-file=/dev/stdout" "$HOME/orca.log" > /dev/null 2>&1 < /dev/null &
orca_pid=$!
ORCA_SH_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
spoken() { bash "$ORCA_SH_DIR/spoken.sh" "$HOME/orca.log"; }
hear() { local text="$1"; TRIES=${TRIES:-150} until_ 'spoken | grep -F -- "$text" > /dev/null' || echo "$text" >> "$HOME/unheard"; }
until_ 'grep -q "Startup complete" "$HOME/orca.log" 2> /dev/null'
# Ends the screen reader and waits until it is gone: it refuses to start while another of this
# user's runs.
stop_orca() {
    local reader
    reader="$(pgrep -P "$orca_pid")"
    kill $reader "$orca_pid" 2> /dev/null
    TRIES=50 until_ '! kill -0 $reader 2> /dev/null'
}
