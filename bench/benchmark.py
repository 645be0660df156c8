#!/usr/bin/env python3
"""Start-up cost of regval.exe under Wine, against a do-nothing GUI program built the same way.

Runs a write, a read, the floor program and a floor that only imports advapi32 (what any registry
tool pays) in interleaved rounds (the order rotates each round)
with a running wineserver, and prints the median wall time and peak memory of each, their ratios
to the floor, and the stripped sizes.
"""
import argparse
import os
import pathlib
import statistics
import subprocess
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
WINDOWS = ROOT / "build" / "windows"
KEY = r"Software\regval-bench"


def run(argv, env):
    """Wall seconds and peak resident KiB of one run; fails on a non-zero exit."""
    start = time.perf_counter()
    process = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        raise SystemExit(f"{argv} exited with {process.returncode}")
    return elapsed, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--rounds", type=int, default=60)
    args = parser.parse_args()

    prefix = ROOT / "build" / "bench-prefix"
    env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    if not (prefix / "system.reg").exists():
        subprocess.run(["wineboot", "--init"], env=env, check=True, capture_output=True)
    # A running server, as on a machine in use: the figures are the programs', not its start.
    subprocess.run(["wineserver", "-p60"], env=env, check=True)
    out_file = ROOT / "build" / "bench-out.txt"
    subprocess.run(["wine", str(WINDOWS / "tests" / "system" / "regtool.exe"), "key", "HKCU", KEY],
                   env=env, check=True, capture_output=True)

    commands = {
        "floor": ["wine", str(WINDOWS / "bench" / "floor.exe")],
        "advapi32": ["wine", str(WINDOWS / "bench" / "advapi32_floor.exe")],
        "write": ["wine", str(WINDOWS / "regval.exe"), "W", "HKEY_CURRENT_USER", KEY, "V", "Hello"],
        "read": ["wine", str(WINDOWS / "regval.exe"), "R", "HKEY_CURRENT_USER", KEY, "V",
                 "Z:" + str(out_file).replace("/", "\\")],
    }
    names = list(commands)
    for name in names:  # warm-up: page cache and registry
        run(commands[name], env)
    samples = {name: [] for name in names}
    for round_index in range(args.rounds):
        shift = round_index % len(names)
        order = names[shift:] + names[:shift]
        for name in order:
            samples[name].append(run(commands[name], env))
    subprocess.run(["wineserver", "-k"], env=env, check=False)

    floor_time = statistics.median(t for t, _ in samples["floor"])
    floor_memory = statistics.median(m for _, m in samples["floor"])
    print(f"{'program':8} {'median ms':>10} {'ratio':>6} {'peak KiB':>9} {'ratio':>6}")
    for name in names:
        wall = statistics.median(t for t, _ in samples[name])
        memory = statistics.median(m for _, m in samples[name])
        print(f"{name:8} {wall * 1000:10.1f} {wall / floor_time:6.3f} "
              f"{memory:9.0f} {memory / floor_memory:6.3f}")
    for exe in ("regval.exe", "bench/floor.exe"):
        print(f"{exe} stripped: {(WINDOWS / exe).stat().st_size} bytes")
    print(f"{args.rounds} interleaved rounds; goals: time ratios at most 1.10, regval.exe at most "
          f"24576 bytes")


if __name__ == "__main__":
    main()
