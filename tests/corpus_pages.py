#!/usr/bin/env python3
"""Writes every box page and every sub page of every corpus file with corvel, so that
two builds can be compared page for page (diff -r of two output folders).

usage: tests/corpus_pages.py OUTDIR [CORVEL] [CORPUS]

OUTDIR/NAME/ID.html is the page of box ID (the box's number in tree order, from 1);
OUTDIR/NAME/ID_K.html is sub page K of that box's entry or sample list. The pages name
the title icon and their sub-page folder by absolute path: compare outputs written to
the same OUTDIR by the same corvel path (move the first one aside before the second run).
"""
import os
import re
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(here)


def tree(corvel, path):
    """(id, depth, type) of every box, in tree order."""
    out = subprocess.run([corvel, "tree", path], capture_output=True).stdout.decode("utf-8", "surrogateescape")
    boxes = []
    for line in out.splitlines():
        depth = (len(line) - len(line.lstrip(" "))) // 2
        # The code is what stands before the offset, the size and any note: it may end in
        # blanks ("url ") and take more than four bytes ("\u00a9nam").
        code = re.sub(r" (truncated: .*|incomplete FLV tag at \d+)$", "", line[depth * 2:])
        boxes.append((len(boxes) + 1, depth, re.sub(r" \d+ \d+$", "", code)))
    return boxes


def box_paths(boxes):
    """BOXPATH of each box id; None for a box that a path cannot name (a code corvel prints with dots)."""
    paths, stack, seen = {}, [], [{}]  # stack of paths by depth; seen: per level, count per type
    for ident, depth, code in boxes:
        del stack[depth:]
        del seen[depth + 1:]
        counts = seen[depth]
        n = counts.get(code, 0)
        counts[code] = n + 1
        seen.append({})
        parent = stack[-1] if stack else ""
        step = f"{code}[{n}]"
        path = None if parent is None or "." in code or "/" in code else (parent + "/" if parent else "") + step
        stack.append(path)
        paths[ident] = path
    return paths


def run(corvel, args):
    return subprocess.run([corvel] + args, capture_output=True).returncode


def main():
    outdir = os.path.abspath(sys.argv[1])
    corvel = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "build/release/corvel")
    corpus = sys.argv[3] if len(sys.argv) > 3 else os.path.join(os.path.dirname(root), "shared/corpus")
    option = re.compile(r'<select[^>]*box_pos ?= ?(\d+)[^>]*>(.*?)</select>', re.S)
    pages = 0
    for name in sorted(os.listdir(corpus)):
        path = os.path.join(corpus, name)
        if not os.path.isfile(path) or name == "README.md":
            continue
        folder = os.path.join(outdir, name)
        os.makedirs(folder, exist_ok=True)
        boxes = tree(corvel, path)
        paths = box_paths(boxes)
        subpages = set()
        for ident, _, _ in boxes:
            if paths[ident] is None:
                continue
            page = os.path.join(folder, f"{ident}.html")
            run(corvel, ["page", path, paths[ident], "-o", page])
            pages += 1
            with open(page, "rb") as f:
                html = f.read().decode("latin-1")
            for target, options in option.findall(html):
                count = options.count("<option") - 1  # less the "Select" prompt
                for k in range(count):
                    subpages.add((int(target), k))
        for target, k in sorted(subpages):
            if paths.get(target) is None:
                continue
            run(corvel, ["subpage", path, paths[target], str(k), "-o", os.path.join(folder, f"{target}_{k}.html")])
            pages += 1
    print(f"{pages} pages written to {outdir}")


if __name__ == "__main__":
    main()
