#!/usr/bin/env python3
"""Draws the launcher's title picture and writes it as a Windows bitmap file.

Usage: make_title.py OUTPUT.bmp

The picture is 501 x 334 pixels, 8 bits per pixel, uncompressed, with a
colour table of 256 entries and the pixel data at byte 1078, rows bottom-up
and padded to 504 bytes. It shows "Brindlecote Quillon" over a dark staff
with a wave of data running through it, and along its foot the names of the
three modules beside the places where the launcher draws its markers
(x = 0, 125 and 250, y = 300 to 334).
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 501, 334
ROW = (WIDTH + 3) // 4 * 4
FOOT_TOP = 296
MARKER_X = (0, 125, 250)
LABELS = ("KESTROVALLIAN", "LIBRARIAN", "M1 EDITOR")

# A 5 x 7 pixel font, one string of five cells per row.
FONT = {
    "A": [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "B": ["#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "],
    "C": [" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "],
    "D": ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    "E": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    "F": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "],
    "G": [" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"],
    "H": ["#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "I": [" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "K": ["#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"],
    "L": ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    "M": ["#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"],
    "N": ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "P": ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    "Q": [" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"],
    "R": ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    "S": [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    "T": ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    "U": ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "V": ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    "W": ["#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"],
    "X": ["#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"],
    "Y": ["#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "],
    "1": ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "0": [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    ".": ["     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "],
    "-": ["     ", "     ", "     ", "#####", "     ", "     ", "     "],
    " ": ["     "] * 7,
}


class Palette:
    """Named colours and ramps, each given its own entries of the 256."""

    def __init__(self):
        self.colours = []

    def add(self, rgb):
        self.colours.append(tuple(int(round(c)) for c in rgb))
        return len(self.colours) - 1

    def ramp(self, start, end, count):
        first = len(self.colours)
        for i in range(count):
            f = i / (count - 1)
            self.add([a + (b - a) * f for a, b in zip(start, end)])
        return first

    def table(self):
        assert len(self.colours) <= 256, len(self.colours)
        return self.colours + [(0, 0, 0)] * (256 - len(self.colours))


palette = Palette()
SKY = palette.ramp((8, 12, 34), (36, 52, 104), 64)        # background, top to bottom
STAFF = palette.ramp((40, 58, 110), (92, 118, 180), 8)     # staff lines
WAVE = palette.ramp((40, 120, 140), (120, 230, 220), 16)   # the data wave, dim to bright
GOLD = palette.ramp((120, 78, 20), (255, 226, 140), 24)    # title letters, shade to light
SHADOW = palette.add((4, 6, 16))
SILVER = palette.ramp((110, 118, 140), (232, 236, 246), 8)
FOOT = palette.ramp((6, 8, 18), (16, 20, 40), 8)
RULE = palette.add((200, 160, 70))
WHITE = palette.add((255, 255, 255))
RED = palette.add((255, 0, 0))

# Ordered dither for the background ramp (4 x 4 Bayer matrix).
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]

pixels = [[0] * ROW for _ in range(HEIGHT)]  # top-down while drawing


def put(x, y, index):
    if 0 <= x < ROW and 0 <= y < HEIGHT:
        pixels[y][x] = index


def fill(x0, y0, x1, y1, index):
    for y in range(max(y0, 0), min(y1, HEIGHT)):
        row = pixels[y]
        for x in range(max(x0, 0), min(x1, ROW)):
            row[x] = index


def text_width(text, scale, spacing):
    return len(text) * (5 * scale + spacing) - spacing


def draw_text(text, x, y, scale, colour_of, spacing=None):
    """colour_of(px, py, gy, edges) gives the entry for a pixel: px, py its
    place in the glyph (pixels), gy the font row, edges which of its sides
    (top, left, bottom, right) lie on the glyph's outline."""
    if spacing is None:
        spacing = scale
    for ch in text:
        glyph = FONT[ch]

        def ink(gx, gy):
            return 0 <= gy < 7 and 0 <= gx < 5 and glyph[gy][gx] == "#"

        for gy, line in enumerate(glyph):
            for gx, cell in enumerate(line):
                if cell != "#":
                    continue
                for sy in range(scale):
                    for sx in range(scale):
                        edges = (sy == 0 and not ink(gx, gy - 1),
                                 sx == 0 and not ink(gx - 1, gy),
                                 sy == scale - 1 and not ink(gx, gy + 1),
                                 sx == scale - 1 and not ink(gx + 1, gy))
                        put(x + gx * scale + sx, y + gy * scale + sy,
                            colour_of(gx * scale + sx, gy * scale + sy, gy, edges))
        x += 5 * scale + spacing


def background():
    for y in range(HEIGHT):
        for x in range(ROW):
            # A gentle diagonal fall-off toward the lower right.
            f = (y / (FOOT_TOP - 1)) * 0.8 + (x / WIDTH) * 0.2
            level = f * 63 + BAYER[y & 3][x & 3] / 16.0 - 0.5
            pixels[y][x] = SKY + max(0, min(63, int(round(level))))


def staff_and_wave():
    lines = [150 + 14 * i for i in range(5)]
    for i, ly in enumerate(lines):
        for x in range(24, WIDTH - 24):
            # The lines fade in and out at their ends.
            edge = min(x - 24, WIDTH - 24 - x) / 60.0
            put(x, ly, STAFF + min(7, int(edge * 7)))
    centre = lines[2]
    for x in range(24, WIDTH - 24):
        t = (x - 24) / (WIDTH - 48)
        envelope = math.sin(math.pi * t)
        y = centre + 24 * envelope * math.sin(t * 2 * math.pi * 5.5) * math.cos(t * 2 * math.pi * 0.7)
        bright = int(envelope * 15)
        for dy in (-1, 0, 1):
            put(x, int(round(y)) + dy, WAVE + max(0, bright - (4 if dy else 0)))
    # Data "bytes" as small ticks riding on the staff.
    for k in range(12):
        x = 60 + k * 34
        ly = lines[k % 5]
        fill(x, ly - 3, x + 6, ly + 4, SILVER + 3 + (k % 3))


def gold_cell(px, py, gy, edges):
    # Letters lit from above: lighter toward the top, a bright rim on the
    # upper and left outline and a shade on the lower and right one.
    top, left, bottom, right = edges
    base = 21 - py * 12 // 56
    if top or left:
        base = 23
    if bottom or right:
        base -= 9
    return GOLD + max(0, min(23, base))


def title():
    big = "QUILLON"
    scale = 8
    w = text_width(big, scale, 6)
    x = (WIDTH - w) // 2
    y = 58
    draw_text(big, x + 4, y + 4, scale, lambda *a: SHADOW, 6)
    draw_text(big, x, y, scale, gold_cell, 6)
    small = "BRINDLECOTE"
    scale = 3
    w = text_width(small, scale, 6)
    draw_text(small, (WIDTH - w) // 2 + 1, 28 + 1, scale, lambda *a: SHADOW, 6)
    draw_text(small, (WIDTH - w) // 2, 28, scale, lambda px, py, gy, e: SILVER + 7 - gy // 2, 6)
    sub = "SYSTEM EXCLUSIVE TOOLKIT"
    scale = 2
    w = text_width(sub, scale, 3)
    draw_text(sub, (WIDTH - w) // 2, 242, scale, lambda *a: SILVER + 5, 3)


def foot():
    for y in range(FOOT_TOP, HEIGHT):
        level = (y - FOOT_TOP) * 7 // (HEIGHT - FOOT_TOP)
        fill(0, y, ROW, y + 1, FOOT + 7 - level)
    fill(0, FOOT_TOP - 2, ROW, FOOT_TOP, RULE)
    for x0, label in zip(MARKER_X, LABELS):
        draw_text(label, x0 + 12, 310, 1, lambda *a: SILVER + 7, 2)
        # The places of the markers, white as the launcher first draws them.
        fill(x0, 300, x0 + 5, 334, WHITE)


def write_bitmap(path):
    table = palette.table()
    image_size = ROW * HEIGHT
    offset = 14 + 40 + 4 * 256
    out = bytearray()
    out += b"BM" + struct.pack("<IHHI", offset + image_size, 0, 0, offset)
    out += struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, image_size, 2835, 2835, 256, 0)
    for r, g, b in table:
        out += bytes((b, g, r, 0))
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up
        out += bytes(pixels[y])
    assert len(out) == offset + image_size
    folder = os.path.dirname(path)
    if folder:
        os.makedirs(folder, exist_ok=True)
    with open(path, "wb") as f:
        f.write(out)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_title.py OUTPUT.bmp")
    background()
    staff_and_wave()
    title()
    foot()
    write_bitmap(sys.argv[1])


if __name__ == "__main__":
    main()
