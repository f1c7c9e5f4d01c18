#!/usr/bin/env bash
# spoken.sh LOG: what the screen reader said, from its debug log, one utterance a line.
awk '/^[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\./ {
        if (u != "") print u
        u = ""
        at = index($0, "SPEECH OUTPUT: ")
        if (at) u = substr($0, at + 15)
        next
    }
    u != "" { u = u " " $0 }
    END { if (u != "") print u }' "$1" 2> /dev/null
