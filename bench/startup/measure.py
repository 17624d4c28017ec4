#!/usr/bin/env python3
"""Whole-process CPU time (user + system) of commands, measured side by side.

Usage: measure.py [--rounds R] [--runs N] [--wall] NAME=COMMAND ...

Each round runs every command N times under `perf stat` (task-clock), one
command after the other, so that a machine shared with other work weighs on
all of them alike; the medians of the rounds are printed in ms per run, with
the ratio of each command to the first. With --wall, wall-clock time
instead (for work spread over several cores).
"""
import argparse, shlex, statistics, subprocess, sys, time

def wall_ms(command, runs):
    start = time.perf_counter()
    for _ in range(runs):
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return (time.perf_counter() - start) * 1000 / runs

def task_clock_ms(command, runs):
    out = subprocess.run(["perf", "stat", "-x,", "-e", "task-clock", "-r", str(runs), "--"] + command,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True).stderr
    for line in out.splitlines():
        fields = line.split(",")
        if len(fields) > 2 and fields[2].startswith("task-clock"):
            return float(fields[0])
    sys.exit("perf stat printed no task-clock:\n" + out)

def main():
    p = argparse.ArgumentParser()
    p.add_argument("--rounds", type=int, default=9)
    p.add_argument("--runs", type=int, default=10)
    p.add_argument("--wall", action="store_true")
    p.add_argument("commands", nargs="+")
    a = p.parse_args()
    named = [c.split("=", 1) for c in a.commands]
    times = {name: [] for name, _ in named}
    for _ in range(a.rounds):
        for name, cmd in named:
            measure = wall_ms if a.wall else task_clock_ms
            times[name].append(measure(shlex.split(cmd), a.runs))
    first = statistics.median(times[named[0][0]])
    for name, _ in named:
        m = statistics.median(times[name])
        spread = f"{min(times[name]):.1f}-{max(times[name]):.1f}"
        kind = "wall" if a.wall else "CPU"
        print(f"{name:24s} {m:7.2f} ms {kind}  (rounds {spread})  {m / first:5.2f}x")

main()
