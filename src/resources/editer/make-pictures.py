#!/usr/bin/env python3
"""Draws the pictures of the script editor window (its image list: 0 save, 1 close) into one strip of
16 x 16 pictures, a 24-bit BMP whose magenta (255, 0, 255) is transparent. Run it from this folder after
changing a drawing."""
import struct

KEY = (255, 0, 255)


def canvas():
    return [[KEY] * 16 for _ in range(16)]


def rect(c, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            c[y][x] = colour


def save():
    # a floppy disk: dark blue body, white label, grey shutter
    c = canvas()
    rect(c, 1, 1, 14, 14, (24, 48, 120))
    rect(c, 2, 2, 13, 13, (48, 88, 176))
    rect(c, 4, 2, 11, 7, (250, 250, 250))
    rect(c, 5, 3, 10, 3, (160, 160, 160))
    rect(c, 5, 5, 10, 5, (160, 160, 160))
    rect(c, 4, 10, 11, 14, (192, 192, 192))
    rect(c, 8, 11, 9, 13, (24, 48, 120))
    c[1][14] = KEY  # the cut corner
    return c


def close():
    # a window with a red cross on its title bar
    c = canvas()
    rect(c, 1, 2, 14, 13, (64, 64, 64))
    rect(c, 2, 5, 13, 12, (255, 255, 255))
    rect(c, 2, 3, 13, 4, (40, 80, 200))
    red = (210, 32, 32)
    for i in range(6):
        for dx in (0, 1):
            c[6 + i][5 + i + dx] = red
            c[11 - i][5 + i + dx] = red
    return c


def write_strip(path, pictures):
    width, height = 16 * len(pictures), 16
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for p in pictures:
            for r, g, b in p[y]:
                row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        pixels += row
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(path, "wb") as f:
        f.write(file_header + header + pixels)


if __name__ == "__main__":
    write_strip("mImageList.bmp", [save(), close()])
