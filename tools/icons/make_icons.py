#!/usr/bin/env python3
"""Draws the main window's pictures and the program icon, and writes them as BMP and ICO files.

    tools/icons/make_icons.py [output folder]   (default: src/resources/main)

imgIcon.bmp: a strip of 16 x 16 pictures (24-bit, magenta is transparent), in the order of MainResources.h.
canopia.ico: the program icon at 16 and 32 pixels (32-bit with alpha).
Everything is drawn here with a few primitives, so the pictures stay small, sharp and consistent.
"""
import math
import os
import struct
import sys

MAGENTA = (255, 0, 255)
OUTLINE = (64, 64, 64)
BLUE = (40, 96, 184)
LIGHT_BLUE = (150, 190, 240)
GREEN = (40, 150, 60)
LIGHT_GREEN = (120, 200, 110)
YELLOW = (240, 200, 60)
DARK_YELLOW = (180, 140, 30)
RED = (200, 50, 40)
WHITE = (255, 255, 255)
GREY = (150, 150, 150)
LIGHT_GREY = (220, 220, 220)
BROWN = (140, 90, 50)


class Canvas:
    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        self.px = [[background for _ in range(w)] for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill=None, outline=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge and outline:
                    self.set(x, y, outline)
                elif fill:
                    self.set(x, y, fill)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, fill, outline=None):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d <= r:
                    self.set(x, y, outline if outline and d > r - 1 else fill)

    def polygon(self, pts, fill, outline=None):
        for y in range(self.h):
            for x in range(self.w):
                if inside(pts, x + 0.5, y + 0.5):
                    self.set(x, y, fill)
        if outline:
            for i in range(len(pts)):
                (ax, ay), (bx, by) = pts[i], pts[(i + 1) % len(pts)]
                self.line(int(ax), int(ay), int(bx), int(by), outline)


def inside(pts, x, y):
    n, c = len(pts), False
    for i in range(n):
        (xi, yi), (xj, yj) = pts[i], pts[i - 1]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            c = not c
    return c


def pin(c):
    c.disc(8, 5, 4.5, RED, (140, 30, 20))
    c.set(6, 3, (250, 150, 140))
    c.set(7, 3, (250, 150, 140))
    c.line(8, 9, 8, 15, GREY)
    c.line(7, 10, 7, 13, LIGHT_GREY)


def gear(c):
    for k in range(8):
        a = k * math.pi / 4
        x, y = 8 + 6 * math.cos(a), 8 + 6 * math.sin(a)
        c.rect(int(round(x - 1.5)), int(round(y - 1.5)), int(round(x + 0.5)), int(round(y + 0.5)), GREY, GREY)
    c.disc(8, 8, 5.2, GREY, OUTLINE)
    c.disc(8, 8, 2, MAGENTA)


def exit_door(c):
    c.rect(2, 1, 10, 14, (200, 160, 110), BROWN)
    c.set(8, 8, DARK_YELLOW)
    c.polygon([(9, 5), (14, 8), (9, 11)], GREEN, (20, 100, 40))
    c.rect(6, 7, 10, 9, GREEN)


def folder(c):
    c.polygon([(1, 3), (6, 3), (7, 5), (14, 5), (14, 13), (1, 13)], YELLOW, DARK_YELLOW)
    c.line(2, 7, 13, 7, (250, 230, 150))


def page(c, lines=True):
    c.polygon([(3, 1), (10, 1), (13, 4), (13, 14), (3, 14)], WHITE, OUTLINE)
    c.line(10, 1, 10, 4, OUTLINE)
    c.line(10, 4, 13, 4, OUTLINE)
    if lines:
        for y in (6, 8, 10, 12):
            c.line(5, y, 11, y, BLUE)


def edit_pencil(c):  # edit in the editor: a page with a pencil across it
    page(c)
    c.polygon([(6, 13), (13, 6), (15, 8), (8, 15)], YELLOW, DARK_YELLOW)
    c.polygon([(4, 15), (6, 13), (8, 15)], (230, 200, 160), BROWN)
    c.set(5, 15, OUTLINE)


def save_disk(c):  # save to a file: a floppy disk
    c.rect(1, 1, 14, 14, BLUE, (20, 60, 130))
    c.rect(4, 1, 11, 5, LIGHT_GREY, OUTLINE)
    c.rect(9, 2, 10, 4, BLUE)
    c.rect(3, 8, 12, 14, WHITE, OUTLINE)
    c.line(5, 10, 10, 10, GREY)
    c.line(5, 12, 10, 12, GREY)


def delete_cross(c):  # delete: a red cross
    for d in (-1, 0, 1):
        c.line(3 + d, 3, 12 + d, 12, RED)
        c.line(12 + d, 3, 3 + d, 12, RED)
    c.line(3, 4, 11, 12, (140, 30, 20))
    c.line(12, 4, 4, 12, (140, 30, 20))


def run(c):
    c.polygon([(4, 2), (13, 8), (4, 14)], GREEN, (20, 100, 40))
    c.line(5, 5, 5, 11, LIGHT_GREEN)


def two_windows(c):
    c.rect(1, 1, 10, 9, WHITE, OUTLINE)
    c.rect(1, 1, 10, 3, GREY, OUTLINE)
    c.rect(5, 5, 14, 14, WHITE, OUTLINE)
    c.rect(5, 5, 14, 7, BLUE, OUTLINE)


def restore(c):
    c.rect(1, 4, 14, 14, WHITE, OUTLINE)
    c.rect(1, 4, 14, 6, BLUE, OUTLINE)
    c.polygon([(8, 0), (12, 4), (4, 4)], GREEN, (20, 100, 40))
    c.rect(7, 4, 9, 11, GREEN)


def prompt(c):
    c.rect(0, 2, 15, 13, (30, 30, 30), OUTLINE)
    c.line(2, 5, 4, 7, WHITE)
    c.line(4, 7, 2, 9, WHITE)
    c.line(6, 10, 11, 10, LIGHT_GREEN)


def help_mark(c):
    c.disc(8, 8, 7.5, BLUE, (20, 60, 130))
    for x, y in [(6, 4), (7, 3), (8, 3), (9, 3), (10, 4), (10, 5), (9, 6), (8, 7), (8, 8), (8, 9)]:
        c.set(x, y, WHITE)
        c.set(x - 1 if x < 8 else x, y + 0, WHITE)
    c.rect(7, 11, 8, 12, WHITE)


def globe(c):
    c.disc(8, 8, 7.5, LIGHT_BLUE, BLUE)
    c.line(8, 1, 8, 15, BLUE)
    c.line(1, 8, 15, 8, BLUE)
    for y in range(2, 15):
        dx = int(round(3.2 * math.sqrt(max(0.0, 1 - ((y - 8) / 7.0) ** 2))))
        c.set(8 - dx, y, BLUE)
        c.set(8 + dx, y, BLUE)
    c.line(3, 4, 13, 4, BLUE)
    c.line(3, 12, 13, 12, BLUE)


def single_page(c):
    page(c, lines=False)
    c.rect(5, 6, 11, 12, LIGHT_BLUE, BLUE)
    c.line(6, 11, 10, 7, BLUE)


def about(c):
    c.disc(8, 8, 7.5, (60, 140, 220), (20, 60, 130))
    c.rect(7, 3, 8, 4, WHITE)
    c.rect(7, 6, 8, 12, WHITE)
    c.rect(6, 12, 9, 12, WHITE)


# Pictures 3, 4 and 5 are the maintenance pop-ups' edit, save-to-file and delete; 7 is the tray menu's restore.
PICTURES = [pin, gear, exit_door, edit_pencil, save_disk, delete_cross, two_windows, restore, prompt, help_mark,
            globe, single_page, about, folder, page, run]


def tree_icon(size):
    """The program icon: a green canopy over a trunk on a blue tile, drawn at 64 and reduced for sharpness."""
    big = 64
    c = Canvas(big, big, None)
    for y in range(big):
        for x in range(big):
            # Rounded tile.
            rx = min(x, big - 1 - x)
            ry = min(y, big - 1 - y)
            r = 10
            if rx < r and ry < r and math.hypot(r - rx - 0.5, r - ry - 0.5) > r:
                continue
            c.set(x, y, (30 + y, 80 + y // 2, 170 + y // 3))
    c.rect(28, 36, 35, 56, BROWN, (90, 55, 25))
    c.line(8, 56, 55, 56, WHITE)
    c.line(8, 57, 55, 57, WHITE)
    for cx, cy, r in [(32, 24, 16), (18, 32, 11), (46, 32, 11), (32, 34, 12)]:
        c.disc(cx, cy, r, GREEN)
    for cx, cy, r in [(27, 18, 6), (16, 29, 4), (43, 27, 5)]:
        c.disc(cx, cy, r, LIGHT_GREEN)
    f = big // size
    out = Canvas(size, size, None)
    for y in range(size):
        for x in range(size):
            acc, n, a = [0, 0, 0], 0, 0
            for yy in range(f):
                for xx in range(f):
                    p = c.px[y * f + yy][x * f + xx]
                    if p is not None:
                        acc = [acc[i] + p[i] for i in range(3)]
                        n += 1
            if n:
                out.set(x, y, (tuple(v // n for v in acc), 255 * n // (f * f)))
    return out


def write_bmp24(path, c):
    row = (c.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(c.h - 1, -1, -1):
        line = bytearray()
        for x in range(c.w):
            r, g, b = c.px[y][x] or MAGENTA
            line += bytes((b, g, r))
        data += line + bytes(row - len(line))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def icon_image(c):
    xor = bytearray()
    for y in range(c.h - 1, -1, -1):
        for x in range(c.w):
            p = c.px[y][x]
            if p is None:
                xor += bytes(4)
            else:
                (r, g, b), a = p
                xor += bytes((b, g, r, a))
    mask_row = ((c.w + 31) // 32) * 4
    mask = bytearray()
    for y in range(c.h - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(c.w):
            p = c.px[y][x]
            if p is None or p[1] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "resources", "main")
    os.makedirs(out, exist_ok=True)
    strip = Canvas(16 * len(PICTURES), 16, MAGENTA)
    for i, draw in enumerate(PICTURES):
        c = Canvas(16, 16, MAGENTA)
        draw(c)
        for y in range(16):
            for x in range(16):
                strip.px[y][i * 16 + x] = c.px[y][x]
    write_bmp24(os.path.join(out, "imgIcon.bmp"), strip)
    write_ico(os.path.join(out, "canopia.ico"), [tree_icon(32), tree_icon(16)])


if __name__ == "__main__":
    main()
