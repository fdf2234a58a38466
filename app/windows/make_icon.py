#!/usr/bin/env python3
"""Draws collatzperm.ico: three rows of a search table, divisions as dots and
multiplications as filled squares, each row ending in the yellow square that
marks 1, on the console's black.

    make_icon.py ICO           write the icon
    make_icon.py --check ICO   exit 1 unless ICO is what this script writes
"""
import struct
import sys
import zlib

# The rows of the picture: "." a division, "#" a multiplication, "1" the end.
PATTERN = ("..1", "#.1", ".#1")
BLACK = (0, 0, 0, 255)
COLOURS = {"#": (255, 255, 255, 255), "1": (255, 255, 85, 255), ".": (170, 170, 170, 255)}
# Each size is 16 gaps: a gap, then per column a square of 4 gaps and a gap.
SIZES = (16, 32, 48, 256)
# Windows takes PNG images in an icon; the large one would be 256 KiB as a bitmap.
PNG_FROM = 256


def pixels(size):
    """Rows of RGBA tuples, top row first."""
    gap = size // 16
    picture = [[BLACK] * size for _ in range(size)]
    for row, marks in enumerate(PATTERN):
        for column, mark in enumerate(marks):
            left, top = gap + column * 5 * gap, gap + row * 5 * gap
            # A dot is the middle half of its square.
            inset = gap if mark == "." else 0
            for y in range(top + inset, top + 4 * gap - inset):
                for x in range(left + inset, left + 4 * gap - inset):
                    picture[y][x] = COLOURS[mark]
    return picture


def bitmap(size):
    """A 32-bit bitmap as an icon holds it: twice the height, bottom row
    first, then an AND mask that the alpha channel makes unused."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels(size)) for r, g, b, a in row)
    mask = bytes(((size + 31) // 32) * 4 * size)
    return header + colour + mask


def png(size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in pixels(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon():
    images = [png(size) if size >= PNG_FROM else bitmap(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for size, image in zip(SIZES, images):
        # A width or height of 0 means 256.
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def main(arguments):
    check = arguments[:1] == ["--check"]
    paths = arguments[1:] if check else arguments
    if len(paths) != 1:
        sys.exit(__doc__)
    data = icon()
    if check:
        with open(paths[0], "rb") as existing:
            if existing.read() != data:
                sys.exit(f"{paths[0]} is not what {sys.argv[0]} draws: run it to write the icon again")
        return
    with open(paths[0], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv[1:])
