#!/usr/bin/env bash
# Runs the account-file fuzzer for a bounded time (seconds; default 60). A crash, a hang
# (over 5 s on one input) or a memory blow-up fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
bash scripts/setup-debian.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DMARTEN_FUZZ=ON \
    -DMARTEN_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target fuzz_account
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp fuzz/corpus/* "$work/"
build-fuzz/fuzz/fuzz_account -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 "$work"
