#!/usr/bin/env python3
"""Draws dopliki32.ico: a folder with an arrow carrying it into the new year.

Run it to change the icon; the build uses the committed .ico and needs no
Python. Each size is drawn at 4x4 samples a pixel and kept as a 32-bit image.
"""
import struct

SIZES = (16, 24, 32, 48, 64)
FOLDER = (232, 176, 48)
FOLDER_DARK = (176, 120, 24)
TAB = (214, 152, 32)
ARROW = (32, 140, 48)
OUTLINE = (70, 50, 10)


def inside_folder(x, y):
    body = 0.10 <= x <= 0.90 and 0.30 <= y <= 0.86
    tab = 0.10 <= x <= 0.45 and 0.20 <= y <= 0.31
    return body, tab


def arrow(x, y):
    # A right-pointing arrow across the folder's front.
    shaft = 0.30 <= x <= 0.62 and 0.52 <= y <= 0.66
    head = 0.60 <= x <= 0.84 and abs(y - 0.59) <= (0.84 - x) * 0.75
    return shaft or head


def colour(x, y):
    if arrow(x, y):
        return ARROW + (255,)
    body, tab = inside_folder(x, y)
    if body:
        edge = x < 0.13 or x > 0.87 or y < 0.33 or y > 0.83
        return (OUTLINE if edge else (FOLDER if y > 0.40 else FOLDER_DARK)) + (255,)
    if tab:
        return TAB + (255,)
    return (0, 0, 0, 0)


def image(size):
    samples = 4
    rows = []
    for row in range(size - 1, -1, -1):  # bottom-up, as bitmaps are stored
        line = bytearray()
        for column in range(size):
            total = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (column + (sx + 0.5) / samples) / size
                    y = (row + (sy + 0.5) / samples) / size
                    r, g, b, a = colour(x, y)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            alpha = total[3] // (samples * samples)
            if total[3]:
                r, g, b = (total[i] // total[3] for i in range(3))
            else:
                r = g = b = 0
            line += bytes((b, g, r, alpha))
        rows.append(bytes(line))
    pixels = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def main():
    images = [image(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open("dopliki32.ico", "wb") as icon:
        icon.write(directory + entries + b"".join(images))


if __name__ == "__main__":
    main()
