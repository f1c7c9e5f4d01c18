#!/usr/bin/env bash
# Runs a command in a private mount namespace in which a keyboard event node and
# /dev/uinput exist and are accessible. Nothing outside the namespace changes.
# With WITHOUT_UINPUT=1, the keyboard node exists but /dev/uinput does not. KEYBOARDS=N (1):
# event0 to event<N-1> have a keyboard's capabilities, only event0 a node.
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
