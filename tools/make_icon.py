#!/usr/bin/env python3
"""Writes the program's icon (src/win/ostraconv.ico): a boring column of coloured layers
with an arrow, at 16, 32 and 48 pixels, 32-bit colour with alpha.

    tools/make_icon.py src/win/ostraconv.ico
"""
import struct
import sys

# Layers of the column, top to bottom (red, green, blue).
LAYERS = [(150, 110, 60), (200, 170, 90), (120, 120, 120), (90, 140, 90), (170, 90, 60)]
ARROW = (30, 80, 200)


def pixel(x, y, size):
    """The colour (r, g, b, a) at (x, y), y from the top."""
    s = size / 32.0
    left, right = int(4 * s), int(16 * s)
    top, bottom = int(3 * s), int(29 * s)
    edge = max(1, int(s))
    if left <= x < right and top <= y < bottom:
        if x < left + edge or x >= right - edge or y < top + edge or y >= bottom - edge:
            return (40, 40, 40, 255)
        band = (y - top) * len(LAYERS) // (bottom - top)
        return LAYERS[band] + (255,)
    # An arrow to the right of the column: the conversion.
    cy = int(16 * s)
    shaft = max(1, int(2 * s))
    if int(18 * s) <= x < int(24 * s) and abs(y - cy) < shaft:
        return ARROW + (255,)
    head = int(24 * s)
    if head <= x < int(30 * s) and abs(y - cy) < int(30 * s) - x:
        return ARROW + (255,)
    return (0, 0, 0, 0)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = b""
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            row += bytes((b, g, r, a))
        rows.append(row)
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"\0" * (mask_row * size)


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1])
