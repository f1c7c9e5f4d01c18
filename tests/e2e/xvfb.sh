#!/usr/bin/env bash
# xvfb.sh CMD...: CMD with DISPLAY on a private Xvfb server (1440x900, 24 bit) that ends with it.
# The server picks a free display itself (-displayfd), so tests run side by side never race for
# one; a server that does not come up is one line and status 125, never a silent empty run.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/until.sh"
number="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1440x900x24 -nolisten tcp 3> "$number" 2> /dev/null &
server=$!
trap 'kill "$server" 2> /dev/null; wait "$server" 2> /dev/null; rm -f "$number"' EXIT
TRIES=200 until_ test -s "$number" || { echo "xvfb.sh: Xvfb did not start" >&2; exit 125; }
DISPLAY=":$(cat "$number")" "$@"
