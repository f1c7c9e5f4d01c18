#!/usr/bin/env bash
# Sets up, builds and launches the onboarding. Usage: scripts/run.sh [full|simple]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake --preset default >/dev/null
cmake --build --preset default
case "${1:-full}" in
    simple) exec build/bin/MartenOnboarding_Simple ;;
    *) exec build/bin/MartenOnboarding ;;
esac
