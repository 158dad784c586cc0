#!/usr/bin/env python3
"""Sets a .deb's Installed-Size the way dpkg-gencontrol counts it: each
regular file rounded up to a KiB, every other entry one KiB. CPack adds up
the st_size of the staged tree instead, and a directory's st_size depends
on the file system, so one build gave different packages on ext4 and tmpfs.
Only the control member is rewritten; the data member keeps its bytes.
The ar headers get the mode dpkg-deb gives its members, 0644: CPack takes
the modes of the files it wrote, which follow the builder's umask.
Usage: deb_installed_size.py PACKAGE.deb
"""
import gzip
import io
import re
import sys
import tarfile


def read_ar(data):
    if data[:8] != b"!<arch>\n":
        sys.exit("not an ar archive")
    members, at = [], 8
    while at < len(data):
        header = data[at:at + 60]
        size = int(header[48:58])
        members.append((header[:16].decode().strip().rstrip("/"), header, data[at + 60:at + 60 + size]))
        at += 60 + size + (size & 1)
    return members


def write_ar(members):
    out = bytearray(b"!<arch>\n")
    for _, header, body in members:
        out += header[:40] + b"100644".ljust(8) + str(len(body)).ljust(10).encode() + header[58:60]
        out += body + (b"\n" if len(body) & 1 else b"")
    return bytes(out)


def installed_kib(data_tar):
    with tarfile.open(fileobj=io.BytesIO(data_tar), mode="r:*") as tar:
        return sum((m.size + 1023) // 1024 if m.isfile() else 1 for m in tar.getmembers())


def with_size(control_tar, kib):
    out = io.BytesIO()
    with tarfile.open(fileobj=io.BytesIO(control_tar), mode="r:gz") as src, \
            gzip.GzipFile(fileobj=out, mode="wb", mtime=0, filename="") as gz, \
            tarfile.open(fileobj=gz, mode="w", format=tarfile.GNU_FORMAT) as dst:
        found = False
        for info in src.getmembers():
            body = src.extractfile(info).read() if info.isfile() else None
            if info.name.lstrip("./") == "control":
                body, n = re.subn(rb"(?m)^Installed-Size: *\d+$", b"Installed-Size: %d" % kib, body)
                found = n == 1
                info.size = len(body)
            dst.addfile(info, io.BytesIO(body) if body is not None else None)
    if not found:
        sys.exit("no Installed-Size line in the control file")
    return out.getvalue()


def main(argv):
    if len(argv) != 1:
        sys.exit(__doc__.strip().splitlines()[-1])
    with open(argv[0], "rb") as f:
        members = read_ar(f.read())
    names = [m[0] for m in members]
    if len(names) != 3 or names[0] != "debian-binary" or names[1] != "control.tar.gz" \
            or not names[2].startswith("data.tar"):
        sys.exit(f"unexpected members {names}")
    kib = installed_kib(members[2][2])
    members[1] = (names[1], members[1][1], with_size(members[1][2], kib))
    with open(argv[0], "wb") as f:
        f.write(write_ar(members))


if __name__ == "__main__":
    main(sys.argv[1:])
