#!/usr/bin/env python3
"""Draws the main program's icons and writes them as .ico files.

Usage: make_icons.py OUTPUT_FOLDER

Every icon holds two images, 32x32 and 16x16, as 32-bit BGRA bitmaps with
an AND mask. The pictures are drawn on a 32-unit grid and scaled for the
small image, so both sizes show the same pictogram.
"""
import math
import os
import struct
import sys

TRANSPARENT = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
GREY = (160, 160, 160, 255)
DARK_GREY = (90, 90, 90, 255)
LIGHT_GREY = (215, 215, 215, 255)
BLUE = (30, 80, 190, 255)
LIGHT_BLUE = (150, 190, 240, 255)
RED = (200, 40, 40, 255)
GREEN = (30, 150, 60, 255)
YELLOW = (245, 205, 60, 255)
BROWN = (150, 100, 50, 255)


class Canvas:
    """A square RGBA picture addressed in 32-unit coordinates."""

    def __init__(self, size):
        self.size = size
        self.scale = size / 32.0
        self.pixels = [[TRANSPARENT] * size for _ in range(size)]

    def _put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle [x0, x1) x [y0, y1) given in grid units."""
        s = self.scale
        for y in range(int(round(y0 * s)), max(int(round(y1 * s)), int(round(y0 * s)) + 1)):
            for x in range(int(round(x0 * s)), max(int(round(x1 * s)), int(round(x0 * s)) + 1)):
                self._put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour, width=1):
        self.rect(x0, y0, x1, y0 + width, colour)
        self.rect(x0, y1 - width, x1, y1, colour)
        self.rect(x0, y0, x0 + width, y1, colour)
        self.rect(x1 - width, y0, x1, y1, colour)

    def line(self, x0, y0, x1, y1, colour, width=2.0):
        """A straight stroke between two grid points."""
        s = self.scale
        half = max(width * s / 2.0, 0.5)
        ax, ay, bx, by = x0 * s, y0 * s, x1 * s, y1 * s
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy
        for py in range(self.size):
            for px in range(self.size):
                cx, cy = px + 0.5, py + 0.5
                t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((cx - ax) * dx + (cy - ay) * dy) / length2))
                qx, qy = ax + t * dx, ay + t * dy
                if (cx - qx) ** 2 + (cy - qy) ** 2 <= half * half:
                    self._put(px, py, colour)

    def polyline(self, points, colour, width=2.0):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.line(x0, y0, x1, y1, colour, width)

    def disc(self, cx, cy, radius, colour):
        s = self.scale
        r = radius * s
        for py in range(self.size):
            for px in range(self.size):
                if (px + 0.5 - cx * s) ** 2 + (py + 0.5 - cy * s) ** 2 <= r * r:
                    self._put(px, py, colour)

    def ring(self, cx, cy, radius, colour, width=2.0):
        s = self.scale
        outer, inner = radius * s, max(radius * s - width * s, 0)
        for py in range(self.size):
            for px in range(self.size):
                d2 = (px + 0.5 - cx * s) ** 2 + (py + 0.5 - cy * s) ** 2
                if inner * inner <= d2 <= outer * outer:
                    self._put(px, py, colour)


# ---- The pictures ----------------------------------------------------------

def draw_program(c):
    """The program: a five-pin MIDI socket."""
    c.disc(16, 16, 15, DARK_GREY)
    c.disc(16, 16, 12.5, BLACK)
    for angle in (180, 135, 90, 45, 0):
        a = math.radians(angle)
        c.disc(16 + 8 * math.cos(a), 17 - 8 * math.sin(a), 1.8, WHITE)
    c.rect(14, 26, 18, 29, DARK_GREY)


def draw_page(c, fill=WHITE):
    c.rect(6, 2, 22, 30, fill)
    c.rect(22, 8, 26, 30, fill)
    c.polyline([(6, 2), (21, 2), (26, 7), (26, 30), (6, 30), (6, 2)], BLACK, 1.5)
    c.polyline([(21, 2), (21, 7), (26, 7)], BLACK, 1.5)


def draw_files(c):
    """A .syx file: a page of data framed by F0 and F7 marks."""
    draw_page(c)
    c.rect(9, 10, 12, 13, BLUE)
    for y in (10, 15, 20):
        c.rect(13 if y == 10 else 9, y, 23, y + 2, GREY)
    c.rect(9, 25, 19, 27, GREY)
    c.rect(20, 24, 23, 27, RED)


def draw_keys(c, x0, y0, x1, y1):
    """A small keyboard filling the rectangle."""
    c.rect(x0, y0, x1, y1, WHITE)
    # The small picture has room for fewer keys: C to F instead of C to B.
    keys, black = ((7, (1, 2, 4, 5, 6)) if c.size >= 32 else (4, (1, 2)))
    step = (x1 - x0) / keys
    for k in range(1, keys):
        c.rect(x0 + k * step - 0.5, y0, x0 + k * step + 0.5, y1, BLACK)
    for k in black:
        cx = x0 + k * step
        c.rect(cx - step * 0.3, y0, cx + step * 0.3, y0 + (y1 - y0) * 0.6, BLACK)
    c.frame(x0, y0, x1, y1, BLACK, 1)


def draw_instruments(c):
    """An instrument definition: a keyboard under a data sheet."""
    c.rect(4, 3, 28, 16, LIGHT_BLUE)
    c.frame(4, 3, 28, 16, BLUE, 1.5)
    for y in (6, 9, 12):
        c.rect(7, y, 25, y + 1.5, BLUE)
    c.rect(2, 17, 30, 20, DARK_GREY)
    draw_keys(c, 2, 20, 30, 30)


def draw_banks(c):
    """A bank file: a cabinet of three drawers."""
    c.rect(4, 2, 28, 30, BROWN)
    c.frame(4, 2, 28, 30, BLACK, 1.5)
    for top in (4, 13, 22):
        c.rect(7, top, 25, top + 7, YELLOW)
        c.frame(7, top, 25, top + 7, BLACK, 1)
        c.rect(13, top + 3, 19, top + 4.5, BLACK)


def draw_step_read(c):
    """Uninstall, first step: read the dialog box."""
    c.rect(3, 5, 29, 27, WHITE)
    c.rect(3, 5, 29, 10, BLUE)
    c.frame(3, 5, 29, 27, BLACK, 1.5)
    for y in (13, 17):
        c.rect(7, y, 25, y + 1.5, GREY)
    c.rect(18, 21, 26, 25, LIGHT_GREY)
    c.frame(18, 21, 26, 25, BLACK, 1)


def draw_step_delete(c):
    """Uninstall, second step: delete the files."""
    c.rect(6, 6, 26, 9, DARK_GREY)
    c.rect(13, 3, 19, 6, DARK_GREY)
    c.rect(8, 10, 24, 30, GREY)
    c.frame(8, 10, 24, 30, BLACK, 1.5)
    for x in (12, 16, 20):
        c.rect(x - 0.75, 13, x + 0.75, 27, DARK_GREY)


def draw_step_done(c):
    """Uninstall, last step: done."""
    c.disc(16, 16, 14, GREEN)
    c.polyline([(8, 16), (14, 23), (25, 9)], WHITE, 4)


def draw_m1(c):
    """The M1 editor: a synthesizer panel with faders above its keys."""
    c.rect(1, 5, 31, 17, DARK_GREY)
    c.frame(1, 5, 31, 17, BLACK, 1)
    for x in (5, 10, 15):
        c.rect(x - 0.5, 7, x + 0.5, 15, BLACK)
    for x, y in ((5, 12), (10, 8), (15, 10)):
        c.rect(x - 2, y, x + 2, y + 2, WHITE)
    c.rect(19, 8, 29, 13, (60, 160, 120, 255))
    c.frame(19, 8, 29, 13, BLACK, 1)
    draw_keys(c, 1, 17, 31, 28)


def draw_wave(c, top, points):
    c.polyline([(x, top + y) for x, y in points], BLACK, 2.0)


TRIANGLE = [(2, 12), (9, 3), (16, 12), (23, 3), (30, 12)]
SAW_UP = [(2, 12), (16, 3), (16, 12), (30, 3), (30, 12)]
SAW_DOWN = [(2, 3), (2, 12), (16, 3), (16, 12), (30, 3)]
SQUARE = [(2, 12), (2, 3), (9, 3), (9, 12), (16, 12), (16, 3), (23, 3), (23, 12), (30, 12)]


def draw_wave1(c):
    """Beside the first two MG wave buttons: triangle, upward saw."""
    draw_wave(c, 0, TRIANGLE)
    draw_wave(c, 16, SAW_UP)


def draw_wave2(c):
    """Beside the last two MG wave buttons: downward saw, square."""
    draw_wave(c, 0, SAW_DOWN)
    draw_wave(c, 16, SQUARE)


ICONS = {
    "aprogramicon.ico": draw_program,
    "bfilesicon.ico": draw_files,
    "cinstrumentsicon.ico": draw_instruments,
    "dbanksicon.ico": draw_banks,
    "zicon1.ico": draw_step_read,
    "zicon2.ico": draw_step_delete,
    "zicon3.ico": draw_step_done,
    "zm1icon.ico": draw_m1,
    "zwave1.ico": draw_wave1,
    "zwave2.ico": draw_wave2,
}


# ---- .ico encoding ---------------------------------------------------------

def encode_image(canvas):
    """BITMAPINFOHEADER, bottom-up BGRA pixels, then the AND mask."""
    size = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(canvas.pixels):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(canvas.pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def encode_icon(draw):
    images = []
    for size in (32, 16):
        canvas = Canvas(size)
        draw(canvas)
        images.append((size, encode_image(canvas)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icons.py OUTPUT_FOLDER")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, draw in ICONS.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(encode_icon(draw))


if __name__ == "__main__":
    main()
