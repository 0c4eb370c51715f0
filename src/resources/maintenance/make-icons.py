#!/usr/bin/env python3
"""Draws the pictures of the group and script maintenance windows and writes them as .ico files
(16 x 16 and 32 x 32, 32-bit with alpha). Run it from this folder after changing a drawing."""
import struct

FOLDER_DARK = (176, 128, 24, 255)
FOLDER = (248, 200, 72, 255)
FOLDER_LIGHT = (255, 228, 140, 255)


def canvas():
    return [[(0, 0, 0, 0)] * 16 for _ in range(16)]


def rect(c, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            c[y][x] = colour


def folder(c):
    rect(c, 1, 3, 6, 4, FOLDER_DARK)          # tab
    rect(c, 1, 4, 14, 13, FOLDER_DARK)        # outline
    rect(c, 2, 6, 13, 12, FOLDER)
    rect(c, 2, 5, 13, 5, FOLDER_LIGHT)


def plus(c, colour=(24, 150, 48, 255)):
    rect(c, 8, 8, 15, 15, (255, 255, 255, 255))
    rect(c, 11, 9, 12, 14, colour)
    rect(c, 9, 11, 14, 12, colour)


def cross(c, colour=(210, 32, 32, 255)):
    rect(c, 9, 9, 15, 15, (255, 255, 255, 255))
    for i in range(5):
        for dx in (0, 1):
            x = 10 + i
            c[10 + i][min(15, x + dx)] = colour
            c[14 - i][min(15, x + dx)] = colour


def pencil(c):
    body = (40, 90, 200, 255)
    tip = (60, 60, 60, 255)
    for i in range(6):
        x, y = 9 + i, 15 - i
        c[y][x] = body
        if y - 1 >= 0:
            c[y - 1][x] = body
        if x + 1 < 16:
            c[y][x + 1] = body
    c[15][8] = tip
    c[14][8] = tip
    c[15][9] = tip


def stack(c):
    # two folders, one behind the other: the list of groups
    back = canvas()
    folder(back)
    for y in range(16):
        for x in range(16):
            if back[y][x][3] and x + 1 < 16 and y - 2 >= 0:
                r, g, b, a = back[y][x]
                c[y - 2][min(15, x + 1)] = (r * 3 // 4, g * 3 // 4, b * 3 // 4, a)
    front = canvas()
    folder(front)
    for y in range(16):
        for x in range(16):
            if front[y][x][3] and x >= 1:
                c[y][x - 1] = front[y][x]


PAGE_EDGE = (96, 104, 120, 255)
PAGE = (255, 255, 255, 255)
PAGE_FOLD = (208, 216, 228, 255)
TEXT_LINE = (72, 120, 200, 255)


def page(c, x0=3, y0=1):
    # a sheet with its top right corner folded and three lines of text: a script file
    x1, y1 = x0 + 9, y0 + 13
    rect(c, x0, y0, x1, y1, PAGE_EDGE)
    rect(c, x0 + 1, y0 + 1, x1 - 1, y1 - 1, PAGE)
    fold = x1 - 3
    for i in range(4):  # row i of the corner: the fold's back, its diagonal edge, then nothing
        for x in range(fold, fold + i):
            c[y0 + i][x] = PAGE_FOLD
        c[y0 + i][fold + i] = PAGE_EDGE
        for x in range(fold + i + 1, x1 + 1):
            c[y0 + i][x] = (0, 0, 0, 0)
    rect(c, fold, y0, fold, y0 + 3, PAGE_EDGE)
    rect(c, fold, y0 + 3, x1, y0 + 3, PAGE_EDGE)
    for row in (5, 8, 11):
        rect(c, x0 + 2, y0 + row, x1 - 2, y0 + row, TEXT_LINE)


def pages(c):
    # two sheets, one behind the other: the list of scripts
    page(c, 5, 0)
    for y in range(16):
        for x in range(16):
            r, g, b, a = c[y][x]
            if a:
                c[y][x] = (r * 4 // 5, g * 4 // 5, b * 4 // 5, a)
    page(c, 1, 2)


def arrow_in(c, colour=(24, 150, 48, 255)):
    # a thick arrow from the left into the sheet: a file taken into the group
    rect(c, 0, 10, 6, 13, (255, 255, 255, 255))
    rect(c, 0, 11, 5, 12, colour)
    for i in range(4):
        rect(c, 5 + i, 8 + i, 5 + i, 15 - i, colour)


def floppy(c):
    # a disk: the script written to a file
    body = (40, 70, 150, 255)
    rect(c, 1, 1, 14, 14, body)
    rect(c, 4, 1, 11, 5, (224, 228, 236, 255))
    rect(c, 9, 2, 10, 4, body)
    rect(c, 3, 8, 12, 14, (255, 255, 255, 255))
    for row in (10, 12):
        rect(c, 4, row, 11, row, TEXT_LINE)
    c[1][14] = (0, 0, 0, 0)


def name_field(c):
    # an entry field holding a name, the caret after it: a new name for the script
    rect(c, 0, 4, 15, 11, PAGE_EDGE)
    rect(c, 1, 5, 14, 10, PAGE)
    for x in (2, 3, 5, 6, 8):
        rect(c, x, 7, x, 9, (40, 40, 40, 255))
    rect(c, 2, 6, 3, 6, (40, 40, 40, 255))
    rect(c, 5, 6, 6, 6, (40, 40, 40, 255))
    rect(c, 11, 3, 11, 12, (210, 32, 32, 255))
    rect(c, 10, 3, 12, 3, (210, 32, 32, 255))
    rect(c, 10, 12, 12, 12, (210, 32, 32, 255))


def doubled(c):
    return [[c[y // 2][x // 2] for x in range(32)] for y in range(32)]


def image(c):
    size = len(c)
    pixels = b"".join(struct.pack("BBBB", p[2], p[1], p[0], p[3]) for row in reversed(c) for p in row)
    mask_row = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(c):
        out = bytearray(mask_row)
        for x, p in enumerate(row):
            if p[3] == 0:
                out[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(out)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def write_ico(path, c16):
    images = [image(c16), image(doubled(c16))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


def drawn(*steps):
    c = canvas()
    for step in steps:
        step(c)
    return c


write_ico("group-new.ico", drawn(folder, plus))
write_ico("group-delete.ico", drawn(folder, cross))
write_ico("group-rename.ico", drawn(folder, pencil))
write_ico("group-config.ico", drawn(stack))
write_ico("script-new.ico", drawn(page, plus))
write_ico("script-edit.ico", drawn(page, pencil))
write_ico("script-delete.ico", drawn(page, cross))
write_ico("script-import.ico", drawn(page, arrow_in))
write_ico("script-save.ico", drawn(floppy))
write_ico("script-rename.ico", drawn(name_field))
write_ico("script-config.ico", drawn(pages))
