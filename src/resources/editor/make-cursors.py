#!/usr/bin/env python3
"""Draws the editor control's cursors and writes them as .cur files (32 x 32, monochrome): the left bar's arrow
pointing right, and the arrows for dragging selected text and for dragging it with Ctrl to copy.
Run it from this folder after changing a drawing."""
import struct

ARROW = [
    "B",
    "BB",
    "BWB",
    "BWWB",
    "BWWWB",
    "BWWWWB",
    "BWWWWWB",
    "BWWWWWWB",
    "BWWWWWWWB",
    "BWWWWWWWWB",
    "BWWWWWBBBBB",
    "BWWBWWB",
    "BWB BWWB",
    "BB  BWWB",
    "B    BWWB",
    "     BWWB",
    "      BB",
]


def blank():
    return [[" "] * 32 for _ in range(32)]


def stamp(c, rows, x0, y0, mirror=False):
    for y, row in enumerate(rows):
        for x, p in enumerate(row):
            if p == " ":
                continue
            cx = x0 - x if mirror else x0 + x
            c[y0 + y][cx] = p


def box(c, x0, y0, x1, y1, dotted):
    for x in range(x0, x1 + 1):
        for y in (y0, y1):
            c[y][x] = "B" if not dotted or (x + y) % 2 == 0 else "W"
    for y in range(y0, y1 + 1):
        for x in (x0, x1):
            c[y][x] = "B" if not dotted or (x + y) % 2 == 0 else "W"
    for y in range(y0 + 1, y1):
        for x in range(x0 + 1, x1):
            c[y][x] = "W"


def plus(c, x0, y0):
    box(c, x0, y0, x0 + 8, y0 + 8, False)
    for i in range(2, 7):
        c[y0 + 4][x0 + i] = "B"
        c[y0 + i][x0 + 4] = "B"


def cur(c, hotspot):
    xor_rows, and_rows = [], []
    for y in range(31, -1, -1):  # bottom-up
        xb, ab = 0, 0
        for x in range(32):
            p = c[y][x]
            bit = 1 << (31 - x)
            if p == "W":
                xb |= bit
            elif p == " ":
                ab |= bit
        xor_rows.append(struct.pack(">I", xb))
        and_rows.append(struct.pack(">I", ab))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 256, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + image


def main():
    right = blank()
    stamp(right, ARROW, 31, 0, mirror=True)
    drag = blank()
    stamp(drag, ARROW, 0, 0)
    box(drag, 8, 18, 18, 26, True)
    copy = blank()
    stamp(copy, ARROW, 0, 0)
    box(copy, 8, 18, 18, 26, True)
    plus(copy, 16, 22)
    for name, canvas, hot in (("right-arrow.cur", right, (31, 0)), ("drag-sel.cur", drag, (0, 0)),
                              ("drag-sel-copy.cur", copy, (0, 0))):
        with open(name, "wb") as f:
            f.write(cur(canvas, hot))


if __name__ == "__main__":
    main()
