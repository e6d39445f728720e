#!/usr/bin/env python3
"""Makes the benchmark's synthetic files in OUTDIR:
  big_moov.mp4  - a moov of about 6 MB: one video track of 400,000 samples with
                  stts, ctts, stsc, stsz, stco and stss tables
  huge_mdat.mp4 - a 4.75 GiB sparse 64-bit mdat before a small moov
"""
import os
import struct
import sys

SAMPLES = 400_000
PER_CHUNK = 10


def box(kind, payload):
    return struct.pack(">I", 8 + len(payload)) + kind + payload


def full(kind, payload, version=0, flags=0):
    return box(kind, struct.pack(">I", (version << 24) | flags) + payload)


def table(kind, rows, fmt):
    return full(kind, struct.pack(">I", len(rows)) + b"".join(struct.pack(fmt, *r) for r in rows))


def track(samples):
    chunks = (samples + PER_CHUNK - 1) // PER_CHUNK
    stts = table(b"stts", [(4, 1000 + i % 7) for i in range(samples // 4)], ">II")
    ctts = table(b"ctts", [(1, (i % 3) * 1000) for i in range(samples)], ">II")
    stsc = table(b"stsc", [(1, PER_CHUNK, 1)], ">III")
    stsz = full(b"stsz", struct.pack(">II", 0, samples) + b"".join(struct.pack(">I", 100 + i % 500) for i in range(samples)))
    stco = table(b"stco", [(4096 + i * 5000,) for i in range(chunks)], ">I")
    stss = table(b"stss", [(1 + i * 10,) for i in range(samples // 10)], ">I")
    stsd = full(b"stsd", struct.pack(">I", 0))
    stbl = box(b"stbl", stsd + stts + ctts + stsc + stsz + stco + stss)
    hdlr = full(b"hdlr", struct.pack(">I4sIII", 0, b"vide", 0, 0, 0) + b"bench\0")
    mdhd = full(b"mdhd", struct.pack(">IIIIHH", 0, 0, 90000, samples * 1000, 0x55C4, 0))
    minf = box(b"minf", full(b"vmhd", struct.pack(">HHHH", 0, 0, 0, 0), flags=1) + stbl)
    tkhd = full(b"tkhd", struct.pack(">IIIII", 0, 0, 1, 0, samples) + bytes(52) + struct.pack(">II", 1920 << 16, 1080 << 16), flags=3)
    return box(b"trak", tkhd + box(b"mdia", mdhd + hdlr + minf))


def moov(samples):
    mvhd = full(b"mvhd", struct.pack(">IIII", 0, 0, 1000, samples) + bytes(80))
    return box(b"moov", mvhd + track(samples))


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    ftyp = box(b"ftyp", b"isom" + struct.pack(">I", 512) + b"isomavc1")
    big = os.path.join(outdir, "big_moov.mp4")
    if not os.path.exists(big):
        with open(big, "wb") as f:
            f.write(ftyp + moov(SAMPLES) + box(b"mdat", bytes(64)))
    huge = os.path.join(outdir, "huge_mdat.mp4")
    if not os.path.exists(huge):
        mdat_size = int(4.75 * 2**30)
        with open(huge, "wb") as f:
            f.write(ftyp)
            f.write(struct.pack(">I4sQ", 1, b"mdat", mdat_size))
            f.seek(len(ftyp) + mdat_size)  # sparse: nothing of the mdat is written
            f.write(moov(100))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build/bench")
