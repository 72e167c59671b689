#!/usr/bin/env python3
"""Prints, for every hostile picture class, what PsyQrDcd.dll answers, how long
its first call takes, the peak memory of the process and the memory a call
leaves behind, for two builds of the DLL side by side (before and after a
change). Each decode runs in a Wine process of its own, stopped by its id if
it passes 2.5 GB or 60 s.

usage: hostile_table.py BEFORE_DIR [AFTER_DIR] [--calls N] [--only a.png,b.gif]
Each folder holds decode_probe.exe beside the PsyQrDcd.dll to measure (for
the current build: build/win64/bin).
"""

import argparse
import os
import shutil
import sys

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(root, "tests", "components", "decoder"))
import hostile_pictures  # noqa: E402


def measure(wine_run, folder, picture, calls):
    probe = os.path.join(folder, "decode_probe.exe")
    first = hostile_pictures.run_probe(wine_run, probe, picture, 1)
    # A slow or failing first call would make a long loop pointless: fewer
    # calls still show what each one leaves behind.
    loop_calls = calls if first["outcome"] == "ok" and first["ms"] < 1000 else 20
    loop = hostile_pictures.run_probe(wine_run, probe, picture, loop_calls)
    per_call = None
    if loop["growth_mb"] is not None:
        per_call = loop["growth_mb"] / max(1, loop_calls - 10)
    return first, loop, loop_calls, per_call


def cell(first, loop, loop_calls, per_call):
    code = first["code"] if first["outcome"] == "ok" else first["outcome"]
    leak = "-" if per_call is None else f"{per_call:+.2f} MB/call over {loop_calls}"
    if loop["outcome"] != "ok":
        leak = f"loop of {loop_calls}: {loop['outcome']} at {loop['peak_mb']:.0f} MB"
    return f"{code} | {first['ms']:.0f} ms | {first['peak_mb']:.0f} MB | {leak}"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("builds", nargs="+", metavar="DIR")
    parser.add_argument("--calls", type=int, default=200)
    parser.add_argument("--only", default="", help="file names to measure, comma-separated")
    args = parser.parse_args()
    wine_run = os.path.join(root, "scripts", "wine-run.sh")
    folder = hostile_pictures.scratch_folder()
    try:
        rows = hostile_pictures.make_all(folder)
        print("| class | expected |" +
              "".join(f" {os.path.basename(os.path.normpath(b))}: code | first call | peak"
                      " | per call |" for b in args.builds))
        print("|---|---|" + "---|---|---|---|" * len(args.builds))
        for name, file_name, expected in rows:
            if args.only and file_name not in args.only.split(","):
                continue
            picture = os.path.join(folder, file_name)
            cells = [cell(*measure(wine_run, b, picture, args.calls)) for b in args.builds]
            print(f"| {name} | {expected} | " + " | ".join(cells) + " |", flush=True)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
