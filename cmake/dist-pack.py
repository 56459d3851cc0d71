#!/usr/bin/env python3
"""Packs the release: writes SHA256SUMS for the package's files into STAGING,
then STAGING's files into ZIP, the same bytes from the same files whatever
their times, permissions or order on disk.

    dist-pack.py STAGING ZIP EPOCH

The entries come in a fixed order (64-bit, 32-bit, the guide, the sums),
each dated EPOCH (seconds since 1970, UTC; the commit's time), readable by
all, compressed at a fixed level. Nothing of the packing machine goes in.
"""
import hashlib
import os
import sys
import time
import zipfile

FILES = ["64-bit/dopliki32.exe", "32-bit/dopliki32.exe", "INSTRUKCJA.html"]
SUMS = "SHA256SUMS"


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: dist-pack.py STAGING ZIP EPOCH")
    staging, out, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    missing = [name for name in FILES if not os.path.isfile(os.path.join(staging, name))]
    if missing:
        sys.exit("dist-pack.py: missing in %s: %s" % (staging, ", ".join(missing)))

    # sha256sum's format ("HASH  NAME", binary mode implied), so that
    # `sha256sum -c SHA256SUMS` checks an unpacked copy.
    with open(os.path.join(staging, SUMS), "w", encoding="ascii", newline="\n") as sums:
        for name in FILES:
            sums.write("%s  %s\n" % (sha256(os.path.join(staging, name)), name))

    # A zip dates its entries in DOS time, from 1980 on, in 2 s steps.
    date_time = max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))
    partial = out + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in FILES + [SUMS]:
            entry = zipfile.ZipInfo(name, date_time)
            entry.create_system = 3  # Unix, so that the permissions below hold
            entry.external_attr = 0o100644 << 16  # a regular file, read by all
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(staging, name), "rb") as f:
                archive.writestr(entry, f.read(), compresslevel=9)
    os.replace(partial, out)


if __name__ == "__main__":
    main()
