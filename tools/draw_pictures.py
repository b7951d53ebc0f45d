#!/usr/bin/env python3
"""Draws the program's pictures and writes them as 32 x 32 XPM files.

Usage: tools/draw_pictures.py [output folder]   (default: resources/ next to tools/)

Every picture is drawn pixel by pixel on a 32 x 32 grid of colour values; the XPM
writer gives each colour a one-character key. Colours come from the classic
16-colour palette, plus None (transparent).
"""

import math
import sys
from pathlib import Path

SIZE = 32

# The classic 16-colour palette (only the entries used here).
BLACK = "#000000"
TEAL = "#008080"
GREY = "#808080"
LIGHT_GREY = "#C0C0C0"
BLUE = "#0000FF"
RED = "#FF0000"
YELLOW = "#FFFF00"
CYAN = "#00FFFF"
WHITE = "#FFFFFF"
NONE = "None"


class Canvas:
    def __init__(self, ground):
        self.pixels = [[ground] * SIZE for _ in range(SIZE)]

    def rect(self, x, y, width, height, colour):
        """Fills the width x height block whose top-left pixel is (x, y)."""
        for row in range(y, y + height):
            for col in range(x, x + width):
                self.pixels[row][col] = colour

    def frame(self, x, y, width, height, colour):
        """Draws a one-pixel outline just inside the width x height block at (x, y)."""
        self.rect(x, y, width, 1, colour)
        self.rect(x, y + height - 1, width, 1, colour)
        self.rect(x, y, 1, height, colour)
        self.rect(x + width - 1, y, 1, height, colour)

    def ring_of_squares(self, centre_x, centre_y, radius_x, radius_y, side, colour):
        """Eight side x side squares around a centre given in pixel-edge coordinates
        (the centre of a 20-pixel-wide field is 10.0): top, bottom, left, right and
        the four diagonals."""
        for step in range(8):
            angle = step * math.pi / 4
            x = centre_x + radius_x * math.sin(angle) - side / 2
            y = centre_y - radius_y * math.cos(angle) - side / 2
            self.rect(round(x), round(y), side, side, colour)

    def xpm(self, name):
        colours = []
        for row in self.pixels:
            for colour in row:
                if colour not in colours:
                    colours.append(colour)
        keys = "abcdefghijklmnopqrstuvwxyz"
        if len(colours) > 16:
            raise ValueError(f"{name}: {len(colours)} colours, at most 16")
        key_of = {colour: keys[i] for i, colour in enumerate(colours)}
        lines = [f"{SIZE} {SIZE} {len(colours)} 1"]
        lines += [f"{key_of[colour]} c {colour}" for colour in colours]
        lines += ["".join(key_of[colour] for colour in row) for row in self.pixels]
        body = ",\n".join(f'"{line}"' for line in lines)
        return f"/* XPM */\nstatic const char *{name}[] = {{\n{body}\n}};\n"


# Flags: a 20 x 15 field in a one-pixel black frame (22 x 17), centred horizontally
# on a light grey ground. The window cuts the bottom three rows off, so the frame is
# centred vertically in the 29 rows that remain visible.
FLAG_WIDTH, FLAG_HEIGHT = 20, 15
FRAME_X = (SIZE - FLAG_WIDTH - 2) // 2
FRAME_Y = (SIZE - 3 - FLAG_HEIGHT - 2) // 2
FIELD_X, FIELD_Y = FRAME_X + 1, FRAME_Y + 1


def flag(draw_field):
    canvas = Canvas(LIGHT_GREY)
    canvas.frame(FRAME_X, FRAME_Y, FLAG_WIDTH + 2, FLAG_HEIGHT + 2, BLACK)
    draw_field(canvas)
    return canvas


def europe_field(canvas):
    canvas.rect(FIELD_X, FIELD_Y, FLAG_WIDTH, FLAG_HEIGHT, BLUE)
    # 15 rows cannot centre a 2-pixel square, so left and right sit half a pixel low.
    canvas.ring_of_squares(FIELD_X + 10, FIELD_Y + 7.5, 6, 5.5, 2, YELLOW)


def france_field(canvas):
    widths = (7, 6, 7)
    x = FIELD_X
    for width, colour in zip(widths, (BLUE, WHITE, RED)):
        canvas.rect(x, FIELD_Y, width, FLAG_HEIGHT, colour)
        x += width


def usa_field(canvas):
    for row in range(FLAG_HEIGHT):
        canvas.rect(FIELD_X, FIELD_Y + row, FLAG_WIDTH, 1, RED if row % 2 == 0 else WHITE)
    # Canton over the top seven stripes: two rows of three 2 x 2 stars.
    canton_width, canton_height = 10, 7
    canvas.rect(FIELD_X, FIELD_Y, canton_width, canton_height, BLUE)
    for star_row in range(2):
        for star_col in range(3):
            canvas.rect(FIELD_X + 1 + 3 * star_col, FIELD_Y + 1 + 3 * star_row, 2, 2, YELLOW)


def germany_field(canvas):
    band = FLAG_HEIGHT // 3
    for index, colour in enumerate((BLACK, RED, YELLOW)):
        canvas.rect(FIELD_X, FIELD_Y + index * band, FLAG_WIDTH, band, colour)


def euro_icon():
    canvas = Canvas(NONE)
    canvas.rect(0, 2, SIZE, 28, BLUE)
    canvas.ring_of_squares(16, 16, 9, 9, 2, YELLOW)
    return canvas


def key_grid(canvas, left, top, key_width, key_height, gap_x, gap_y, draw_key, wide_last):
    """A grid of four columns by five rows of keys; with wide_last the last key of the
    bottom row spans the last two columns."""
    for row in range(5):
        for col in range(4):
            x = left + col * (key_width + gap_x)
            y = top + row * (key_height + gap_y)
            width = key_width
            if wide_last and row == 4:
                if col == 3:
                    continue
                if col == 2:
                    width = 2 * key_width + gap_x
            draw_key(canvas, x, y, width, key_height)


def calculator_icon():
    canvas = Canvas(NONE)
    # Body: columns 4..27, rows 1..30, teal inside a light edge.
    canvas.rect(4, 1, 24, 30, TEAL)
    canvas.frame(4, 1, 24, 30, LIGHT_GREY)
    canvas.rect(4, 1, 24, 1, WHITE)
    canvas.rect(4, 1, 1, 30, WHITE)
    # Display strip with a sunken top-left edge.
    canvas.rect(7, 3, 18, 5, WHITE)
    canvas.rect(7, 3, 18, 1, GREY)
    canvas.rect(7, 3, 1, 5, GREY)

    def key(c, x, y, width, height):
        c.rect(x, y, width, height, LIGHT_GREY)
        c.rect(x, y + height - 1, width, 1, GREY)

    key_grid(canvas, 7, 10, 3, 3, 2, 1, key, wide_last=True)
    return canvas


def about_calculator():
    canvas = Canvas(LIGHT_GREY)
    # Body: columns 6..25, rows 1..30, black outline around teal.
    canvas.rect(6, 1, 20, 30, TEAL)
    canvas.frame(6, 1, 20, 30, BLACK)
    # Cyan display strip with a black border.
    canvas.rect(8, 3, 16, 6, CYAN)
    canvas.frame(8, 3, 16, 6, BLACK)

    def key(c, x, y, width, height):
        c.rect(x, y, width, height, GREY)

    key_grid(canvas, 9, 11, 2, 2, 2, 2, key, wide_last=False)
    return canvas


PICTURES = {
    "flag_europe": lambda: flag(europe_field),
    "flag_france": lambda: flag(france_field),
    "flag_usa": lambda: flag(usa_field),
    "flag_germany": lambda: flag(germany_field),
    "euro_icon": euro_icon,
    "calculator_icon": calculator_icon,
    "about_calculator": about_calculator,
}


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent.parent / "resources"
    for name, draw in PICTURES.items():
        (folder / f"{name}.xpm").write_text(draw().xpm(name))


if __name__ == "__main__":
    main()
