#!/usr/bin/env python3
# Draws Arrowbench's icon (three axis arrows over a ground patch) and writes res/main_icon.ico:
# 32 and 16 px in 16 colours for the dialog, 48 and 256 px in 32 bits for Explorer and
# high-dpi task bars, the same pictures as the PNGs.
# Run: python3 res/make_icon.py            -> only the .ico, next to this script
#      python3 res/make_icon.py --png DIR  -> also DIR/arrowbench-{16,32,48,256}.png
import math
import os
import struct
import sys
import zlib

PNG_MAGIC = b"\x89PNG\r\n\x1a\n"

# Windows' fixed 16-colour palette, in index order, so the .ico needs no custom colours.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# Picked so the nearest VGA entries are red, dark green, blue, silver and black.
RED, GREEN, BLUE = (214, 44, 44), (36, 150, 62), (34, 78, 222)
GROUND, ORIGIN = (196, 200, 208), (40, 40, 46)
GROUND_ALPHA = 0.55

# In 32px design units, y down; layers() scales and snaps them for each size.
O = (6.5, 25.5)
REACH = {"x": (24.25, 0.0), "y": (18.25, -18.25), "z": (0.0, -24.25)}  # tip minus origin
# Right-angled heads stay clean at 32px, even on the 45-degree depth axis.
SHAFT, DIAG_SHAFT, HEAD_LEN, HEAD_W = 3.0, 2.8, 5.5, 11.0

# 16px is drawn by hand: scaled-down vectors blur into a blob at that size.
PIXELS_16 = """
..BB............
.BBBB...........
BBBBBB.....GG...
..BB....GGGGG...
..BB.....GGGG...
..BB....GGGG....
..BB....GG.G....
..BB...GG.......
..BB..GGgggggg..
..BB.GGgggggg...
..BBGGgggggg.R..
..BBGgggggg..RR.
..kkRRRRRRRRRRRR
..kkRRRRRRRRRRRR
.............RR.
.............R..
"""
KEY_16 = {"R": (RED, 1.0), "G": (GREEN, 1.0), "B": (BLUE, 1.0), "g": (GROUND, GROUND_ALPHA),
          "k": (ORIGIN, 1.0)}


def arrow(origin, tip, width, k):
    """Shaft quad plus head triangle, in pixels; k is pixels per design unit."""
    dx, dy = tip[0] - origin[0], tip[1] - origin[1]
    n = (dx * dx + dy * dy) ** 0.5
    ux, uy = dx / n, dy / n
    px, py = -uy, ux
    bx, by = tip[0] - ux * HEAD_LEN * k, tip[1] - uy * HEAD_LEN * k
    s, h = width / 2, HEAD_W * k / 2
    # The shaft runs a little into the head so antialiased seams never show.
    ex, ey = bx + ux * 0.5, by + uy * 0.5
    shaft = [(origin[0] + px * s, origin[1] + py * s), (ex + px * s, ey + py * s),
             (ex - px * s, ey - py * s), (origin[0] - px * s, origin[1] - py * s)]
    head = [(bx + px * h, by + py * h), tip, (bx - px * h, by - py * h)]
    return [shaft, head]


def circle(c, r, n=32):
    return [(c[0] + r * math.cos(2 * math.pi * i / n), c[1] + r * math.sin(2 * math.pi * i / n))
            for i in range(n)]


def layers(size):
    """Back to front: ground, depth axis, x, z, then the origin dot on top."""
    k = size / 32
    w = round(SHAFT * k)
    # Snap the origin so the straight shafts get whole-pixel edges at this size.
    o = tuple(int(c * k) + 0.5 if w % 2 else float(round(c * k)) for c in O)
    tip = {a: (o[0] + dx * k, o[1] + dy * k) for a, (dx, dy) in REACH.items()}
    xv, yv = REACH["x"][0] * 0.55 * k, (REACH["y"][0] * 0.5 * k, REACH["y"][1] * 0.5 * k)
    ground = [o, (o[0] + xv, o[1]), (o[0] + xv + yv[0], o[1] + yv[1]), (o[0] + yv[0], o[1] + yv[1])]
    return [([ground], GROUND, GROUND_ALPHA), (arrow(o, tip["y"], DIAG_SHAFT * k, k), GREEN, 1.0),
            (arrow(o, tip["x"], w, k), RED, 1.0), (arrow(o, tip["z"], w, k), BLUE, 1.0),
            ([circle(o, 2.6 * k)], ORIGIN, 1.0)]


def coverage(polys, size, sub):
    """Per-pixel coverage of the union of polys (in pixels); sub rows per pixel, exact along x."""
    cov = [0.0] * (size * size)
    rows = [(i + 0.5) / sub for i in range(sub)]
    weight = 1.0 / sub
    for py in range(size):
        for fy in rows:
            y = py + fy
            xs = []
            for poly in polys:
                for (x0, y0), (x1, y1) in zip(poly, poly[1:] + poly[:1]):
                    if (y0 <= y) != (y1 <= y):
                        xs.append((x0 + (y - y0) * (x1 - x0) / (y1 - y0), 1 if y1 > y0 else -1))
            xs.sort()
            wind, start = 0, 0.0
            for x, d in xs:  # nonzero winding, so overlapping parts of one arrow don't cancel
                if wind == 0:
                    start = x
                wind += d
                if wind == 0:
                    span(cov, py * size, size, start, x, weight)
    return [min(c, 1.0) for c in cov]


def span(cov, row, size, a, b, weight):
    a, b = max(a, 0.0), min(b, float(size))
    for px in range(int(a), min(int(b) + 1, size)):
        cov[row + px] += max(0.0, min(b, px + 1) - max(a, px)) * weight


def render(size, sub=4, crisp=False):
    """Straight-alpha RGBA floats, layers composited with 'over'. Crisp keeps only
    pixels at least half covered, so a palette image gets no blended edge colours."""
    img = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
    for polys, rgb, alpha in layers(size):
        for p, c in zip(img, coverage(polys, size, sub)):
            over(p, rgb, alpha * (c >= 0.5 if crisp else c))
    return img


def over(p, rgb, a):
    if a <= 0:
        return
    out = a + p[3] * (1 - a)
    for i in range(3):
        p[i] = (rgb[i] * a + p[i] * p[3] * (1 - a)) / out
    p[3] = out


def hand_16():
    img = []
    for ch in "".join(PIXELS_16.split()):
        img.append(list(KEY_16[ch][0]) + [KEY_16[ch][1]] if ch in KEY_16 else [0.0] * 4)
    assert len(img) == 256, "the 16px grid must be 16 rows of 16"
    return img


def nearest(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, VGA[i])))


def to_palette(img):
    """Index per pixel, and opaque flags; the half-see-through ground counts as solid."""
    return [nearest(p[:3]) for p in img], [p[3] >= 0.25 for p in img]


def ico_image(size, idx, solid):
    """A 16-colour DIB (header, palette, XOR pixels, AND mask) for the dialog's sizes."""
    xor_stride, and_stride = (size * 4 + 31) // 32 * 4, (size + 31) // 32 * 4
    xor = bytearray()
    for y in reversed(range(size)):  # DIBs are stored bottom row first
        row = [idx[y * size + x] if solid[y * size + x] else 0 for x in range(size)]
        bits = bytes((row[x] << 4) | (row[x + 1] if x + 1 < size else 0) for x in range(0, size, 2))
        xor += bits.ljust(xor_stride, b"\0")
    mask = and_mask(size, solid)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA)
    return header + palette + bytes(xor) + mask


def and_mask(size, solid):
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for y in reversed(range(size)):
        m = 0
        for x in range(size):
            m = (m << 1) | (0 if solid[y * size + x] else 1)
        mask += m.to_bytes((size + 7) // 8, "big").ljust(stride, b"\0")
    return bytes(mask)


def rgba_bytes(img):
    """8-bit straight-alpha RGBA, rounded the way the PNGs are."""
    return [tuple(round(max(0.0, min(1.0, v / 255 if i < 3 else v)) * 255) for i, v in enumerate(p))
            for p in img]


def ico_image_32(size, pixels):
    """A 32-bit BGRA DIB with its AND mask (still read by old shells) for the larger sizes."""
    xor = bytearray()
    for y in reversed(range(size)):
        for r, g, b, a in pixels[y * size:(y + 1) * size]:
            xor += bytes((b, g, r, a))
    mask = and_mask(size, [p[3] > 0 for p in pixels])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + mask


def write_ico(path, entries):
    """entries: (size, colours, bits per pixel, image bytes), largest first."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for s, colours, bpp, blob in entries:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, colours, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(e[3] for e in entries))


def read_ico(path):
    """Decodes the file again, independently of the writer, so packing slips show up.
    Gives {size: (indices, solid)} for 16-colour images, {size: RGBA tuples} for
    32-bit ones and {size: bytes} for PNG ones."""
    data = open(path, "rb").read()
    _, kind, count = struct.unpack_from("<HHH", data)
    assert kind == 1 and count == 4, "expected an icon with four images"
    found = {}
    for n in range(count):
        w, h, colours, _, planes, bpp, length, at = struct.unpack_from("<BBBBHHII", data, 6 + 16 * n)
        w = w or 256
        assert (w, h or 256, planes) == (w, w, 1) and at + length <= len(data)
        if data[at:at + 8] == PNG_MAGIC:
            iw, ih = struct.unpack_from(">II", data, at + 16)
            assert (iw, ih, bpp, colours) == (w, w, 32, 0)
            found[w] = data[at:at + length]
            continue
        hsize, bw, bh, _, bits = struct.unpack_from("<IiiHH", data, at)
        assert (hsize, bw, bh, bits) == (40, w, 2 * w, bpp) and bpp in (4, 32)
        ms = (w + 31) // 32 * 4
        if bpp == 32:
            assert colours == 0
            xor_at = at + 40
            assert xor_at + 4 * w * w + ms * w == at + length
            px = [None] * (w * w)
            for y in range(w):
                for x in range(w):
                    b, g, r, a = data[xor_at + 4 * ((w - 1 - y) * w + x): xor_at + 4 * ((w - 1 - y) * w + x) + 4]
                    px[y * w + x] = (r, g, b, a)
            found[w] = px
            continue
        assert colours == 16
        pal = [tuple(data[at + 40 + 4 * i: at + 43 + 4 * i][::-1]) for i in range(16)]
        assert pal == VGA
        xs = (w * 4 + 31) // 32 * 4
        xor_at = at + 40 + 64
        and_at = xor_at + xs * w
        assert and_at + ms * w == at + length
        idx, solid = [0] * (w * w), [False] * (w * w)
        for y in range(w):
            r = w - 1 - y
            for x in range(w):
                byte = data[xor_at + r * xs + x // 2]
                idx[y * w + x] = byte >> 4 if x % 2 == 0 else byte & 15
                solid[y * w + x] = not (data[and_at + r * ms + x // 8] >> (7 - x % 8)) & 1
        found[w] = (idx, solid)
    return found


def png_bytes(img, size):
    raw = b"".join(b"\0" + bytes(c for p in rgba_bytes(img[y * size:(y + 1) * size]) for c in p)
                   for y in range(size))

    def chunk(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body))
    return (PNG_MAGIC + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(argv):
    if argv and (argv[0] != "--png" or len(argv) != 2):
        sys.exit("usage: make_icon.py [--png DIR]")
    here = os.path.dirname(os.path.abspath(__file__))
    # The dialog's own sizes stay 16-colour; the larger ones are the PNGs' pictures.
    images = {32: to_palette(render(32, 8, crisp=True)), 16: to_palette(hand_16())}
    full = {s: hand_16() if s == 16 else render(s) for s in (16, 32, 48, 256)}
    pngs = {s: png_bytes(img, s) for s, img in full.items()}
    pixels_48 = rgba_bytes(full[48])
    # 256px as PNG, as Windows wants it at that size; 48px as a DIB that every shell reads.
    ico = os.path.join(here, "main_icon.ico")
    write_ico(ico, [(256, 0, 32, pngs[256]), (48, 0, 32, ico_image_32(48, pixels_48)),
                    (32, 16, 4, ico_image(32, *images[32])), (16, 16, 4, ico_image(16, *images[16]))])
    back = read_ico(ico)
    for s, (idx, solid) in images.items():
        assert back[s][1] == solid, f"{s}px mask did not survive the round trip"
        assert [i if m else 0 for i, m in zip(idx, solid)] == back[s][0], f"{s}px colours differ"
    assert back[48] == pixels_48, "48px pixels differ"
    assert back[256] == pngs[256], "256px PNG differs"
    for s in (16, 32):
        used = {i for i, m in zip(*images[s]) if m}
        assert {9, 2, 12} <= used, f"{s}px lost an axis colour: {sorted(used)}"
    print("wrote", ico)
    if argv:
        out = argv[1]
        os.makedirs(out, exist_ok=True)
        for s, data in pngs.items():
            path = os.path.join(out, f"arrowbench-{s}.png")
            with open(path, "wb") as f:
                f.write(data)
            print("wrote", path)


if __name__ == "__main__":
    main(sys.argv[1:])
