#!/usr/bin/env python3
"""Makes the benchmark files in OUTDIR (default build/bench), each only when missing:
  progressive_1h.mp4  1 hour of 64x36 60 fps H.264 (B-frames, a keyframe a second) and
                      48 kHz AAC, moov at the end: some 385,000 samples
  fragmented_1h.mp4   the same streams fragmented at every keyframe: 3,600 moof/mdat pairs
  smooth_10min.ismv   the first 10 minutes as Smooth Streaming (tfxd/tfrf, mfra)
  fragmented_41ms.mp4 the hour fragmented every 41 ms, as a live recording is: 84,376
                      moof/mdat pairs, some 928,000 boxes, two tfra of 84,375 entries
  huge_mdat.mp4       a 4.75 GiB sparse 64-bit mdat before a small moov
The first four need ffmpeg; without it a synthetic progressive file of the same
table sizes (one 400,000-sample track) stands in, and the other two are left out.
"""
import os
import shutil
import struct
import subprocess
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


FTYP = box(b"ftyp", b"isom" + struct.pack(">I", 512) + b"isomavc1")


# The key and KID of the encrypted file (Common Encryption, AES-CTR).
CENC_KEY = "00112233445566778899aabbccddeeff"
CENC_KID = "0123456789abcdef0123456789abcdef"


def ffmpeg(*args):
    subprocess.run(["ffmpeg", "-nostdin", "-y", "-loglevel", "error", *args], check=True)


def make(path, write):
    if not os.path.exists(path):
        print(f"making {path}", file=sys.stderr)
        write(path + ".part")
        os.replace(path + ".part", path)
    return path


def main(outdir):
    """Makes the files; returns their paths, the progressive one first."""
    os.makedirs(outdir, exist_ok=True)
    at = lambda name: os.path.join(outdir, name)  # noqa: E731
    files = []
    if shutil.which("ffmpeg"):
        progressive = make(at("progressive_1h.mp4"), lambda out: ffmpeg(
            "-f", "lavfi", "-i", "testsrc=size=64x36:rate=60:duration=3600",
            "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=3600",
            "-c:v", "libx264", "-preset", "veryfast", "-g", "60", "-bf", "2",
            "-c:a", "aac", "-b:a", "16k", "-ac", "1", "-f", "mp4", out))
        files.append(progressive)
        files.append(make(at("fragmented_1h.mp4"), lambda out: ffmpeg(
            "-i", progressive, "-c", "copy", "-movflags", "frag_keyframe+empty_moov+default_base_moof",
            "-f", "mp4", out)))
        files.append(make(at("smooth_10min.ismv"), lambda out: ffmpeg(
            "-i", progressive, "-t", "600", "-c", "copy", "-f", "ismv", out)))
        files.append(make(at("fragmented_41ms.mp4"), lambda out: ffmpeg(
            "-i", progressive, "-c", "copy", "-movflags", "+empty_moov+default_base_moof",
            "-frag_duration", "41666", "-f", "mp4", out)))
        files.append(make(at("cenc_2min_720p.mp4"), lambda out: ffmpeg(
            "-f", "lavfi", "-i", "testsrc=size=1280x720:rate=30:duration=120",
            "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=120",
            "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac", "-b:a", "128k",
            "-encryption_scheme", "cenc-aes-ctr", "-encryption_key", CENC_KEY, "-encryption_kid", CENC_KID,
            "-f", "mp4", out)))
    else:
        def synthetic(out):
            with open(out, "wb") as f:
                f.write(FTYP + moov(SAMPLES) + box(b"mdat", bytes(64)))
        files.append(make(at("big_moov.mp4"), synthetic))

    def huge(out):
        mdat_size = int(4.75 * 2**30)
        with open(out, "wb") as f:
            f.write(FTYP)
            f.write(struct.pack(">I4sQ", 1, b"mdat", mdat_size))
            f.seek(len(FTYP) + mdat_size)  # sparse: nothing of the mdat is written
            f.write(moov(100))
    files.append(make(at("huge_mdat.mp4"), huge))
    return files


if __name__ == "__main__":
    for path in main(sys.argv[1] if len(sys.argv) > 1 else "build/bench"):
        print(path)
