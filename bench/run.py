#!/usr/bin/env python3
"""Startup benchmark of both onboarding programs against a bare Qt window.

Usage: python3 bench/run.py BUILD_BIN_DIR [runs] [idle seconds]

Each program runs offscreen in a throw-away HOME (no account files, so the full program
shows its steps) inside a private D-Bus session. Prints medians and ratios to the bare window.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

TARGETS = {"first_frame": 1.25, "peak_rss": 1.3, "idle_cpu": 0.5}


def run_once(argv, idle):
    with tempfile.TemporaryDirectory() as home:
        runtime = os.path.join(home, "runtime")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=runtime,
                   XDG_CONFIG_HOME=os.path.join(home, "config"), QT_QPA_PLATFORM="offscreen")
        start = time.clock_gettime(time.CLOCK_MONOTONIC)
        out = subprocess.run(argv + [str(idle)], env=env, capture_output=True, text=True,
                             timeout=idle + 60).stdout
    marks = {}
    for line in out.splitlines():
        if line.startswith("BENCH "):
            _, key, value = line.split()
            marks[key] = float(value)
    result = {
        "first_frame": (marks["first_frame"] - start) * 1000.0,
        "peak_rss": marks["peak_rss_kib"] / 1024.0,
        "idle_cpu": marks["idle_cpu_percent"],
    }
    if "steps_decided" in marks:
        result["steps_decided"] = (marks["steps_decided"] - start) * 1000.0
    return result


def main():
    bindir = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    idle = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    subjects = {
        "bare window": [os.path.join(bindir, "bench_bare_window")],
        "MartenOnboarding": [os.path.join(bindir, "bench_onboarding"), "full"],
        "MartenOnboarding_Simple": [os.path.join(bindir, "bench_onboarding"), "simple"],
    }
    medians = {}
    for name, argv in subjects.items():
        samples = []
        for _ in range(runs):
            samples.append(run_once(["dbus-run-session", "--"] + argv, idle))
        medians[name] = {k: statistics.median(s[k] for s in samples) for k in samples[0]}
    bare = medians["bare window"]
    print(f"medians of {runs} runs, {idle} s idle")
    print(f"{'program':26} {'first frame':>16} {'steps':>9} {'peak RSS':>18} {'idle CPU':>9}")
    for name, m in medians.items():
        ff = f"{m['first_frame']:.0f} ms ({m['first_frame'] / bare['first_frame']:.2f}x)"
        rss = f"{m['peak_rss']:.1f} MB ({m['peak_rss'] / bare['peak_rss']:.2f}x)"
        steps = f"{m['steps_decided']:.0f} ms" if "steps_decided" in m else "-"
        print(f"{name:26} {ff:>16} {steps:>9} {rss:>18} {m['idle_cpu']:>8.2f}%")
    for name in ("MartenOnboarding", "MartenOnboarding_Simple"):
        m = medians[name]
        misses = []
        if m["first_frame"] > TARGETS["first_frame"] * bare["first_frame"]:
            misses.append("first frame")
        if m["peak_rss"] > TARGETS["peak_rss"] * bare["peak_rss"]:
            misses.append("peak RSS")
        if m["idle_cpu"] >= TARGETS["idle_cpu"]:
            misses.append("idle CPU")
        print(f"{name}: " + ("meets every target" if not misses else "misses " + ", ".join(misses)))


if __name__ == "__main__":
    main()
