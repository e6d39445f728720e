#!/usr/bin/env python3
"""Times `corvel tree` on the synthetic files: wall time and peak memory per run.

usage: bench/run.py [CORVEL] [RUNS]   (default: build/release/corvel, 10 runs)
"""
import os
import resource
import statistics
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(here)
sys.path.insert(0, here)
import make_files  # noqa: E402


def measure(corvel, path, runs):
    walls, peaks = [], []
    for _ in range(runs):
        start = time.perf_counter()
        # posix_spawn: the child's peak memory must not include a copy of this interpreter.
        pid = os.posix_spawn(corvel, [corvel, "tree", path], os.environ,
                             file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0)])
        _, status, usage = os.wait4(pid, 0)
        walls.append((time.perf_counter() - start) * 1000)
        peaks.append(usage.ru_maxrss / 1024)
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"corvel tree {path} failed")
    return walls, peaks


def main():
    corvel = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build/release/corvel")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    outdir = os.path.join(root, "build/bench")
    make_files.main(outdir)
    for name in ("big_moov.mp4", "huge_mdat.mp4"):
        path = os.path.join(outdir, name)
        walls, peaks = measure(corvel, path, runs)
        size = os.path.getsize(path) / 2**20
        print(f"{name:16s} {size:9.1f} MiB  wall ms: min {min(walls):6.2f}  median {statistics.median(walls):6.2f}"
              f"  peak RSS MiB: {max(peaks):6.1f}")


if __name__ == "__main__":
    main()
