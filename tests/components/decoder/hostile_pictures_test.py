#!/usr/bin/env python3
"""PsyQrDcd.dll against hostile pictures: decompression bombs, headers that
claim billions of pixels or point past the end of the file, a GIF of ten
thousand frames. Each file is decoded 200 times in a Wine process of its own,
so a crash fails only its own case. Every case must give its documented code,
stay far from pathological time and memory, and leave the process's memory
where the warm-up calls left it.

usage: hostile_pictures_test.py WINE_RUN DECODE_PROBE_EXE
"""

import os
import shutil
import sys

import hostile_pictures

CALLS = 200
# Bounds against pathological behaviour, not timings of normal speed: the
# files are refused from their headers, or (the GIF) decode one 400x400 frame.
MAX_FIRST_CALL_MS = 10_000
MAX_PEAK_MB = 1024
MAX_GROWTH_MB = 16


def main():
    wine_run, probe = sys.argv[1], sys.argv[2]
    folder = hostile_pictures.scratch_folder()
    failures = []
    try:
        for name, file_name, expected in hostile_pictures.make_all(folder):
            r = hostile_pictures.run_probe(wine_run, probe, os.path.join(folder, file_name),
                                           CALLS, limit_seconds=120, limit_mb=MAX_PEAK_MB)
            print(f"{name}: {r['outcome']}, code {r['code']}, first call {r['ms']:.0f} ms, "
                  f"peak {r['peak_mb']:.0f} MB, growth over {CALLS} calls {r['growth_mb']} MB",
                  flush=True)
            problems = []
            if r["outcome"] != "ok":
                problems.append(f"the process {r['outcome']} ({r['output']!r})")
            else:
                if r["code"] != expected:
                    problems.append(f"code {r['code']}, expected {expected}")
                if r["ms"] > MAX_FIRST_CALL_MS:
                    problems.append(f"first call took {r['ms']:.0f} ms")
                if r["growth_mb"] > MAX_GROWTH_MB:
                    problems.append(f"memory grew by {r['growth_mb']:.1f} MB")
            if r["peak_mb"] > MAX_PEAK_MB:
                problems.append(f"peak memory {r['peak_mb']:.0f} MB")
            failures += [f"{name}: {p}" for p in problems]
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    for f in failures:
        print("FAILED", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
