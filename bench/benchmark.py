#!/usr/bin/env python3
"""Start-up cost of regval.exe and regval64.exe under Wine, each against do-nothing GUI programs of
its own architecture built the same way.

For every architecture this machine's Wine can run (scripts/wine.sh decides), runs a write, a read,
the floor program and a floor that only imports advapi32 (what any registry tool pays), all in
interleaved rounds (the order rotates each round) with a running wineserver, and prints the median
wall time and peak memory of each, their ratios to the floor of the same architecture, and the
stripped sizes.
"""
import argparse
import os
import pathlib
import statistics
import subprocess
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
WINE_SH = ROOT / "scripts" / "wine.sh"
KEY = r"Software\regval-bench"
# Architecture, build folder, program.
PROGRAMS = [("i686", "windows", "regval.exe"), ("x86_64", "windows64", "regval64.exe")]


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


def loader(arch, env):
    """The Wine loader for arch, or None (with the reason printed) where it cannot run here."""
    found = subprocess.run(["bash", str(WINE_SH), arch, "--loader"], env=env, text=True,
                           capture_output=True)
    if found.returncode == 77:
        print(f"{arch}: not measured: {found.stderr.strip()}")
        return None
    if found.returncode != 0:
        raise SystemExit(f"{arch}: Wine is broken: {found.stderr.strip()}")
    return found.stdout.strip()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--rounds", type=int, default=60)
    args = parser.parse_args()

    prefix = ROOT / "build" / "bench-prefix"
    env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    if not (prefix / "system.reg").exists():
        subprocess.run(["bash", str(WINE_SH), "x86_64", "wineboot", "--init"], env=env, check=True,
                       capture_output=True)
        # Let the new prefix settle: its boot goes on in the background after wineboot returns.
        subprocess.run(["wineserver", "-w"], env=env, check=True)
    # A running server, as on a machine in use: the figures are the programs', not its start.
    subprocess.run(["wineserver", "-p60"], env=env, check=True)
    out_file = "Z:" + str(ROOT / "build" / "bench-out.txt").replace("/", "\\")

    commands = {}
    # regval writes only into existing keys; Wine's own reg.exe makes this one.
    subprocess.run(["bash", str(WINE_SH), "x86_64", "reg", "add", "HKCU\\" + KEY, "/f"], env=env,
                   check=True, capture_output=True)
    for arch, build, program in PROGRAMS:
        wine = loader(arch, env)
        if wine is None:
            continue
        folder = ROOT / "build" / build
        regval = str(folder / program)
        commands[(arch, "floor")] = [wine, str(folder / "bench" / "floor.exe")]
        commands[(arch, "advapi32")] = [wine, str(folder / "bench" / "advapi32_floor.exe")]
        commands[(arch, "write")] = [wine, regval, "W", "HKEY_CURRENT_USER", KEY, "V", "Hello"]
        commands[(arch, "read")] = [wine, regval, "R", "HKEY_CURRENT_USER", KEY, "V", out_file]
    names = list(commands)
    for name in names:  # warm-up: page cache and registry
        run(commands[name], env)
    samples = {name: [] for name in names}
    for round_index in range(args.rounds):
        shift = round_index % len(names)
        for name in names[shift:] + names[:shift]:
            samples[name].append(run(commands[name], env))
    subprocess.run(["wineserver", "-k"], env=env, check=False)

    print(f"{'arch':7} {'what':8} {'median ms':>10} {'ratio':>6} {'peak KiB':>9} {'ratio':>6}")
    for arch, build, program in PROGRAMS:
        if (arch, "floor") not in samples:
            continue
        floor_time = statistics.median(t for t, _ in samples[(arch, "floor")])
        floor_memory = statistics.median(m for _, m in samples[(arch, "floor")])
        for what in ("floor", "advapi32", "write", "read"):
            wall = statistics.median(t for t, _ in samples[(arch, what)])
            memory = statistics.median(m for _, m in samples[(arch, what)])
            print(f"{arch:7} {what:8} {wall * 1000:10.1f} {wall / floor_time:6.3f} "
                  f"{memory:9.0f} {memory / floor_memory:6.3f}")
        for exe in (program, "bench/floor.exe"):
            size = (ROOT / "build" / build / exe).stat().st_size
            print(f"{arch:7} {exe} stripped: {size} bytes")
    print(f"{args.rounds} interleaved rounds; goals: time ratios at most 1.10, each program at "
          f"most 24576 bytes")


if __name__ == "__main__":
    main()
