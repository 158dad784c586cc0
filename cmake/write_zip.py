#!/usr/bin/env python3
"""Writes a zip that has the same bytes whenever it is given the same files:
members in the order given, one time for all, no extra fields (no atime or
ctime from the disk), and only the executable bit taken from the file.
Usage: write_zip.py OUT.zip EPOCH BASE_DIR NAME...   (NAMEs relative to BASE_DIR)
"""
import os
import sys
import time
import zipfile

DOS_EPOCH = 315532800  # 1980-01-01, the earliest time a zip can hold


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__.strip().splitlines()[-1])
    out, epoch, base, names = argv[0], int(argv[1]), argv[2], argv[3:]
    stamp = time.gmtime(max(epoch, DOS_EPOCH))[:6]
    with zipfile.ZipFile(out, "w") as archive:
        for name in names:
            path = os.path.join(base, name)
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 3  # Unix, so the mode bits below are read as such
            info.external_attr = (0o100755 if os.stat(path).st_mode & 0o111 else 0o100644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv[1:])
