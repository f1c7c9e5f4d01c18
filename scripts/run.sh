#!/usr/bin/env bash
# Sets up, builds and launches the onboarding. Usage: scripts/run.sh [full|simple]
# Builds only what the launched program needs (the program, its media and the grant helper
# beside it), not the tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake --preset default >/dev/null
case "${1:-full}" in
    simple) program=MartenOnboarding_Simple ;;
    *) program=MartenOnboarding ;;
esac
cmake --build --preset default --target "$program" marten-grant-helper
exec "build/bin/$program"
