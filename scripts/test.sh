#!/usr/bin/env bash
# Sets up, builds and runs every test: offscreen, inside a private session bus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake --preset default >/dev/null
cmake --build --preset default
export QT_QPA_PLATFORM=offscreen
exec dbus-run-session -- ctest --preset default -j2 -LE timing "$@"
