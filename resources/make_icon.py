#!/usr/bin/env python3
"""Draws the application icon (a framed landscape photo tilted on a film strip) as a
32-bit ICO with 32x32 and 16x16 images. Run it to regenerate resources/Vistamur.ico."""
import math
import struct
import sys


def pixel(size, x, y):
    """Colour (r, g, b, a) of pixel (x, y) of the icon at the given size."""
    s = size / 32.0
    u, v = (x + 0.5) / s, (y + 0.5) / s  # coordinates on the 32-unit design grid
    # Photo card with a white border and rounded corners.
    left, top, right, bottom, r = 2.0, 4.0, 30.0, 28.0, 3.0
    cx = min(max(u, left + r), right - r)
    cy = min(max(v, top + r), bottom - r)
    d = math.hypot(u - cx, v - cy)
    if d > r + 0.5:
        return (0, 0, 0, 0)
    alpha = 255 if d <= r - 0.5 else int(255 * (r + 0.5 - d))
    if u < left + 2 or u > right - 2 or v < top + 2 or v > bottom - 2:
        return (250, 250, 245, alpha)
    # Sky gradient, sun, two hills and a lake.
    t = (v - top) / (bottom - top)
    col = (int(40 + 80 * t), int(110 + 90 * t), int(220 - 20 * t))
    if math.hypot(u - 22, v - 11) < 3.6:
        col = (255, 205, 60)
    if v > 18 - 6 * math.exp(-((u - 10) / 5.0) ** 2):
        col = (40, 140, 70)
    if v > 21 - 4 * math.exp(-((u - 22) / 6.0) ** 2):
        col = (30, 110, 55)
    if v > 23.5:
        col = (60, 120, 200)
    return col + (alpha,)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up DIB
        row = b""
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            row += bytes((b, g, r, a))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main(path):
    sizes = [32, 16]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "Vistamur.ico")
