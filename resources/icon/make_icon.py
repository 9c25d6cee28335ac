#!/usr/bin/env python3
"""Build the program icon from its text pixel map.

usage: make_icon.py penguin.txt out.ico [--png out.png --scale N]

The map has a "palette:" section (symbol, #RRGGBB or "none", optional note)
and a "pixels:" section of 32 rows of 32 symbols; '#' lines are comments.
One 32x32 8 bpp image: every Windows version and Wine can show that. Its colour
table has all 256 entries, as an 8 bpp icon's does, those past the colours used
left black: 2,216 bytes with the header (40), pixels (1,024) and mask (128).
"""
import argparse
import struct
import sys
import zlib

SIZE = 32


def fail(msg):
    sys.exit("make_icon: " + msg)


def load_map(path):
    palette, rows, section = {}, [], None
    with open(path, encoding="utf-8") as f:
        for num, line in enumerate(f, 1):
            line = line.rstrip()
            where = f"{path}:{num}"
            if line in ("palette:", "pixels:"):
                section = line[:-1]
            elif not line or line.startswith("#"):
                pass
            elif section == "pixels":
                rows.append((where, line))
            elif section == "palette":
                parts = line.split(None, 2)
                if len(parts) < 2 or len(parts[0]) != 1:
                    fail(f"{where}: expected 'symbol #RRGGBB|none [note]'")
                sym, value = parts[0], parts[1].lstrip("#")
                if sym in palette:
                    fail(f"{where}: symbol {sym!r} defined twice")
                if value != "none" and (len(value) != 6 or value.strip(
                        "0123456789abcdefABCDEF")):
                    fail(f"{where}: bad colour {parts[1]!r}")
                palette[sym] = None if value == "none" else int(value, 16)
            else:
                fail(f"{where}: text outside a section")
    if len(rows) != SIZE:
        fail(f"{path}: need {SIZE} pixel rows, found {len(rows)}")
    for where, row in rows:
        if len(row) != SIZE:
            fail(f"{where}: need {SIZE} symbols, found {len(row)}")
        for sym in row:
            if sym not in palette:
                fail(f"{where}: undefined symbol {sym!r}")
    return [[palette[s] for s in row] for _, row in rows]


def build_ico(pixels):
    # Index 0 stays black and is what transparent pixels point at.
    colours = [0] + sorted({c for row in pixels for c in row if c is not None})
    if len(colours) > 256:
        fail(f"{len(colours) - 1} colours; 8 bpp leaves room for 255")
    index = {c: i for i, c in enumerate(colours) if i}
    palette = b"".join(struct.pack("<BBBx", c & 255, c >> 8 & 255, c >> 16)
                       for c in colours).ljust(1024, b"\0")
    xor = mask = b""
    for row in reversed(pixels):  # DIB rows run bottom-up
        xor += bytes(0 if c is None else index[c] for c in row)
        bits = 0
        for c in row:  # AND mask: set bit = transparent, MSB first
            bits = bits << 1 | (c is None)
        mask += bits.to_bytes(SIZE // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + palette + xor + mask
    return (struct.pack("<HHH", 0, 1, 1)
            + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 22)
            + image)


def build_png(pixels, scale):
    raw = b""
    for row in pixels:
        line = b"".join((b"\0" * 4 if c is None
                         else c.to_bytes(3, "big") + b"\xff") * scale
                        for c in row)
        raw += (b"\0" + line) * scale  # filter type 0 on every scanline

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))

    side = SIZE * scale
    ihdr = struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    ap = argparse.ArgumentParser(description="Build the icon from its map.")
    ap.add_argument("map")
    ap.add_argument("ico")
    ap.add_argument("--png", help="also write an enlarged PNG preview")
    ap.add_argument("--scale", type=int, default=8)
    args = ap.parse_args()
    if args.scale < 1:
        fail("--scale must be at least 1")
    try:
        pixels = load_map(args.map)
        with open(args.ico, "wb") as f:
            f.write(build_ico(pixels))
        if args.png:
            with open(args.png, "wb") as f:
                f.write(build_png(pixels, args.scale))
    except (OSError, UnicodeError) as e:
        fail(str(e))


if __name__ == "__main__":
    main()
