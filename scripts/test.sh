#!/usr/bin/env bash
# Sets up, builds and runs every test: offscreen, inside a private session bus. MARTEN_PRESET
# names the CMake preset (default: "default", in build/; CI's "ci" builds in build-ci/ with
# warnings as errors).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${MARTEN_PRESET:-default}"
bash scripts/setup-debian.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
export QT_QPA_PLATFORM=offscreen
exec dbus-run-session -- ctest --preset "$preset" -j2 -LE timing "$@"
