#!/usr/bin/env python3
"""Startup benchmark of both onboarding programs against a bare Qt window.

Usage: python3 bench/run.py [--platform offscreen|xcb] [--before OTHER_BIN_DIR] BUILD_BIN_DIR
                            [runs] [idle seconds]

Each program runs in a throw-away HOME (no account files, so the full program shows its
steps) inside a private D-Bus session, on Qt's offscreen platform or, with --platform xcb, on
an Xvfb server started for the run and stopped after it. The three subjects take turns run by
run, so a change in the machine's load falls on all of them alike. The clock starts just
before the program is executed (after the D-Bus session is up) and the first frame is marked
once the window's first paint has been drawn and flushed. Prints medians and ratios to the
bare window, which draws one line of text in the same typeface. With --before, the programs
of another build (an earlier commit, say) take their turns in the same rotation, so a change
is measured under the same conditions as what it is compared with.
"""
import argparse
import contextlib
import os
import statistics
import subprocess
import sys
import tempfile
import time

TARGETS = {"first_frame": 1.25, "peak_rss": 1.3, "idle_cpu": 0.5}

# Stamps the time and then becomes the program, so that neither the D-Bus session's start
# nor this interpreter's start counts towards the program's first frame.
STAMP_AND_EXEC = (
    "import os, sys, time\n"
    "print('BENCH exec %.6f' % time.clock_gettime(time.CLOCK_MONOTONIC), flush=True)\n"
    "os.execv(sys.argv[1], sys.argv[1:])\n"
)


@contextlib.contextmanager
def xvfb():
    """Starts Xvfb on the first free display from :90 on; yields its DISPLAY value."""
    for number in range(90, 140):
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            continue
        server = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", "1440x900x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while server.poll() is None and time.monotonic() < deadline:
            if os.path.exists(f"/tmp/.X11-unix/X{number}"):
                break
            time.sleep(0.05)
        if server.poll() is not None:
            continue  # another server took the display first
        try:
            yield f":{number}"
        finally:
            server.terminate()
            try:
                server.wait(timeout=5)
            except subprocess.TimeoutExpired:
                server.kill()
                server.wait()
        return
    sys.exit("no free X display between :90 and :139")


def run_once(argv, idle, display_env):
    with tempfile.TemporaryDirectory() as home:
        runtime = os.path.join(home, "runtime")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=runtime,
                   XDG_CONFIG_HOME=os.path.join(home, "config"), **display_env)
        command = ["dbus-run-session", "--", sys.executable, "-c", STAMP_AND_EXEC] + argv
        done = subprocess.run(command + [str(idle)], env=env, capture_output=True, text=True,
                              timeout=idle + 60)
    marks = {}
    for line in done.stdout.splitlines():
        if line.startswith("BENCH "):
            _, key, value = line.split()
            marks[key] = float(value)
    missing = {"exec", "first_frame", "peak_rss_kib", "idle_cpu_percent"} - marks.keys()
    if missing:
        sys.exit(f"{argv[0]}: no {', '.join(sorted(missing))} (exit {done.returncode})\n"
                 + done.stderr[-2000:])
    result = {
        "first_frame": (marks["first_frame"] - marks["exec"]) * 1000.0,
        "peak_rss": marks["peak_rss_kib"] / 1024.0,
        "idle_cpu": marks["idle_cpu_percent"],
    }
    if "steps_decided" in marks:
        result["steps_decided"] = (marks["steps_decided"] - marks["exec"]) * 1000.0
    return result


def report(medians, spread, runs, idle, platform):
    bare = medians["bare window"]
    print(f"{platform}: medians of {runs} runs, {idle} s idle "
          "(first frame: median [quartiles], from exec to the first frame flushed)")
    print(f"{'program':32} {'first frame':>26} {'steps':>7} {'peak RSS':>18} {'idle CPU':>9}")
    for name, m in medians.items():
        low, high = spread[name]
        ff = (f"{m['first_frame']:.1f} ms [{low:.0f}-{high:.0f}] "
              f"({m['first_frame'] / bare['first_frame']:.2f}x)")
        rss = f"{m['peak_rss']:.1f} MiB ({m['peak_rss'] / bare['peak_rss']:.2f}x)"
        steps = f"{m['steps_decided']:.0f} ms" if "steps_decided" in m else "-"
        print(f"{name:32} {ff:>26} {steps:>7} {rss:>18} {m['idle_cpu']:>8.2f}%")
    for name in medians:
        if name == "bare window":
            continue
        m = medians[name]
        misses = []
        if m["first_frame"] > TARGETS["first_frame"] * bare["first_frame"]:
            misses.append("first frame")
        if m["peak_rss"] > TARGETS["peak_rss"] * bare["peak_rss"]:
            misses.append("peak RSS")
        if m["idle_cpu"] >= TARGETS["idle_cpu"]:
            misses.append("idle CPU")
        print(f"{name}: " + ("meets every target" if not misses else "misses " + ", ".join(misses)))


def measure(subjects, runs, idle, display_env):
    samples = {name: [] for name in subjects}
    for _ in range(runs):
        for name, argv in subjects.items():
            samples[name].append(run_once(argv, idle, display_env))
    medians, spread = {}, {}
    for name, runs_of in samples.items():
        medians[name] = {k: statistics.median(s[k] for s in runs_of) for k in runs_of[0]}
        frames = sorted(s["first_frame"] for s in runs_of)
        quartiles = statistics.quantiles(frames, n=4) if len(frames) > 1 else frames * 3
        spread[name] = (quartiles[0], quartiles[-1])
    return medians, spread


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--platform", choices=("offscreen", "xcb"), default="offscreen")
    parser.add_argument("--before", metavar="OTHER_BIN_DIR",
                        help="also run this build's programs, in the same rotation")
    parser.add_argument("bindir")
    parser.add_argument("runs", nargs="?", type=int, default=10)
    parser.add_argument("idle", nargs="?", type=int, default=10)
    args = parser.parse_args()
    subjects = {
        "bare window": [os.path.join(args.bindir, "bench_bare_window")],
        "MartenOnboarding": [os.path.join(args.bindir, "bench_onboarding"), "full"],
        "MartenOnboarding_Simple": [os.path.join(args.bindir, "bench_onboarding"), "simple"],
    }
    if args.before:
        for variant, name in (("full", "MartenOnboarding"), ("simple", "MartenOnboarding_Simple")):
            subjects[f"before: {name}"] = [os.path.join(args.before, "bench_onboarding"), variant]
    with contextlib.ExitStack() as stack:
        if args.platform == "xcb":
            display_env = {"QT_QPA_PLATFORM": "xcb", "DISPLAY": stack.enter_context(xvfb())}
        else:
            display_env = {"QT_QPA_PLATFORM": "offscreen"}
        medians, spread = measure(subjects, args.runs, args.idle, display_env)
    report(medians, spread, args.runs, args.idle, args.platform)


if __name__ == "__main__":
    main()
