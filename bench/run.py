#!/usr/bin/env python3
"""Times corvel against its peers on the benchmark files (bench/make_files.py).

usage: bench/run.py [ROUNDS] [BUILD_DIR]   (default: 15 rounds, build/release)

Each round runs every command on every file once, in turn, so that the commands share
the machine's state alike; the table gives the median and the minimum wall time and
the peak resident memory of each, then the targets the project holds itself to.
Peers run when installed: AtomicParsley -T (box tree), mediainfo (default report), ffmpeg
(decrypting every sample of the encrypted file, against corvel samples --key).
"read floor" (bench/read_floor) makes the reads of a tree walk and parses nothing: the
floor under the tree's time on each file.
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(here)
sys.path.insert(0, here)
import make_files  # noqa: E402


def run(peak_memory, argv):
    """Peak RSS (bytes) and wall time (ms) of one run of argv."""
    out = subprocess.run([peak_memory, *argv], capture_output=True, text=True).stdout.split()
    if len(out) != 2:
        sys.exit(f"could not run {' '.join(argv)}")
    return int(out[0]), int(out[1]) / 1000


def top_level(corvel, path):
    """(type, size) of each top-level box, from corvel tree."""
    tree = subprocess.run([corvel, "tree", path], capture_output=True, text=True).stdout
    return [(m.group(1), int(m.group(2))) for m in re.finditer(r"^(\S{4}) \d+ (\d+)", tree, re.M)]


def last_sample_page(corvel, path, boxes):
    """The box path and page number of the last sample sub page of the file."""
    moofs = sum(1 for kind, _ in boxes if kind == "moof")
    if moofs:
        return f"moof[{moofs - 1}]/traf[0]", "0"
    lines = subprocess.run([corvel, "samples", path, "moov/trak[0]"], capture_output=True, text=True).stdout
    samples = max(1, lines.count("\n") - 1)  # a header line, then a line per sample
    return "moov/trak[0]/mdia/minf/stbl", str((samples - 1) // 200)


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 15
    build = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "build/release")
    corvel = os.path.join(build, "corvel")
    peak_memory = os.path.join(build, "bench/peak_memory")
    files = make_files.main(os.path.join(root, "build/bench"))
    scratch = tempfile.mkdtemp(prefix="tessaly_bench_")

    commands = {}  # (file, name) -> argv
    facts = {}
    for path in files:
        name = os.path.basename(path)
        boxes = top_level(corvel, path)
        media = sum(size - 16 for kind, size in boxes if kind == "mdat")
        json_bytes = len(subprocess.run([corvel, "json", path], capture_output=True).stdout)
        facts[name] = {"non_mdat": os.path.getsize(path) - media, "json_bytes": json_bytes}
        box, page = last_sample_page(corvel, path, boxes)
        commands[(name, "read floor")] = [os.path.join(build, "bench/read_floor"), path]
        commands[(name, "corvel tree")] = [corvel, "tree", path]
        commands[(name, "corvel json")] = [corvel, "json", path]
        commands[(name, "corvel check")] = [corvel, "check", path]
        commands[(name, "corvel subpage (last)")] = [corvel, "subpage", path, box, page, "-o",
                                                      os.path.join(scratch, "sub.html")]
        if name.startswith("cenc_"):
            # Every sample read and decrypted, against ffmpeg reading and decrypting them.
            commands[(name, "corvel samples --key")] = [corvel, "samples", path, "--key", make_files.CENC_KEY]
            if shutil.which("ffmpeg"):
                commands[(name, "ffmpeg decrypt")] = ["ffmpeg", "-v", "error", "-decryption_key", make_files.CENC_KEY,
                                                      "-i", path, "-map", "0", "-c", "copy", "-f", "null", "-"]
        if shutil.which("AtomicParsley"):
            commands[(name, "AtomicParsley -T")] = ["AtomicParsley", path, "-T"]
        if shutil.which("mediainfo"):
            commands[(name, "mediainfo")] = ["mediainfo", path]

    results = {key: ([], []) for key in commands}
    for _ in range(rounds):
        for key, argv in commands.items():
            peak, ms = run(peak_memory, argv)
            results[key][0].append(ms)
            results[key][1].append(peak)
    shutil.rmtree(scratch, ignore_errors=True)

    print(f"{'file':22s} {'command':24s} {'median ms':>10s} {'min ms':>9s} {'peak RSS MB':>12s}")
    for (name, command), (walls, peaks) in results.items():
        print(f"{name:22s} {command:24s} {statistics.median(walls):10.2f} {min(walls):9.2f} {max(peaks) / 2**20:12.1f}")

    def median(name, command):
        key = (name, command)
        return statistics.median(results[key][0]) if key in results else None

    names = [os.path.basename(p) for p in files]
    progressive, huge = names[0], names[-1]
    print("\ntargets")

    def target(text, value, limit, higher_is_better=False):
        if value is None:
            print(f"  {text:58s} {'(peer not installed)':>12s}")
            return
        ok = value >= limit if higher_is_better else value <= limit
        print(f"  {text:58s} {value:8.2f} {'>=' if higher_is_better else '<='} {limit:<6g} {'ok' if ok else 'MISSED'}")

    for name in (progressive, huge):
        ap = median(name, "AtomicParsley -T")
        target(f"tree / AtomicParsley -T, {name}", ap and median(name, "corvel tree") / ap, 1.2)
    for name, limit in (("fragmented_1h.mp4", 2.0), ("smooth_10min.ismv", 1.5)):
        if name in names:
            target(f"tree {name} / tree {progressive}",
                   median(name, "corvel tree") / median(progressive, "corvel tree"), limit)
            # What no tree of the file can go below: its reads alone, against the same tree.
            floor = median(name, "read floor") / median(progressive, "corvel tree")
            print(f"  {'  floor: read floor ' + name + ' / tree ' + progressive:58s} {floor:8.2f}")
    for name in ("fragmented_1h.mp4", "smooth_10min.ismv"):
        if name in names:
            rate = facts[name]["json_bytes"] / 1e6 / (median(name, "corvel json") / 1000)
            target(f"json MB/s, {name} ({facts[name]['json_bytes'] / 1e6:.1f} MB)", rate, 250, True)
    for name in (progressive, "fragmented_1h.mp4"):
        if name in names:
            target(f"check / json, {name}", median(name, "corvel check") / median(name, "corvel json"), 2.0)
    for name in names:
        if name.startswith("cenc_"):
            ff = median(name, "ffmpeg decrypt")
            target(f"samples --key / ffmpeg decrypt, {name}", ff and median(name, "corvel samples --key") / ff, 1.0)
    for name in names:
        for command in ("corvel tree", "corvel json"):
            peak = max(results[(name, command)][1]) / 2**20
            limit = facts[name]["non_mdat"] / 2**20 + 6
            target(f"{command} peak RSS MB, {name}", peak, round(limit, 1))

    # The desktop program, offscreen: the tree of the live recording shown within 0.3 s
    # of its parse, in less than 250 MB.
    open_bench = os.path.join(build, "bench/open_bench")
    if os.path.exists(open_bench):
        env = {**os.environ, "TESSALY_BENCH_ROUNDS": str(min(rounds, 5))}
        table = subprocess.run([open_bench, *files], capture_output=True, text=True, env=env).stdout
        print("\ndesktop program, offscreen (ms; peak resident MB)\n" + table)
        for line in table.splitlines():
            cells = line.split()
            if cells and cells[0] == "fragmented_41ms.mp4":
                parse, tree, peak = float(cells[2]), float(cells[3]), float(cells[8])
                target("open to tree less the parse ms, fragmented_41ms.mp4", tree - parse, 300)
                target("open peak RSS MB, fragmented_41ms.mp4", peak, 250)


if __name__ == "__main__":
    main()
