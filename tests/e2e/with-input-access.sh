#!/usr/bin/env bash
# Runs a command in a private mount namespace with a keyboard node and /dev/uinput (none with
# WITHOUT_UINPUT=1). KEYBOARDS=N (1): event0 to event<N-1> are keyboards, only event0 a node.
set -euo pipefail
ov="$(mktemp -d)"
trap 'rm -rf "$ov"' EXIT
mkdir -p "$ov/upper" "$ov/work"
unshare -m --propagation private bash -c '
    set -e
    mount -t overlay overlay -o "lowerdir=/dev,upperdir=$0/upper,workdir=$0/work" /dev
    mkdir -p /dev/input && : > /dev/input/event0
    if [ "${WITHOUT_UINPUT:-}" = 1 ]; then rm -f /dev/uinput; else : > /dev/uinput; fi
    mount -t tmpfs tmpfs /sys/class
    for ((i = 0; i < ${KEYBOARDS:-1}; i++)); do c=/sys/class/input/event$i/device/capabilities
        mkdir -p $c && echo fffffffffffffffe > $c/key; done
    "$@"' "$ov" "$@"
