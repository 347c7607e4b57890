#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The window's three frames in a screenshot of its client area taken at `scale` device
pixels per pixel: on each side that the controls leave free, a dark (808080) and a white
line, each continuous; every cut across a side, away from the corners and the caption,
reads the same. Prints, per frame, where each side's lines lie and how thick they are.
And the composition box's own frame, in the band of device pixels between the box's edge
and its viewport and scroll bar (each edge on the device pixel nearest to it): on every
side a line first, every cut the same, and nothing black (undrawn) in the band or
anywhere in the empty box right of its caret.

    check_frames.py <screenshot.png> <scale>
"""
import math
import subprocess
import sys

WINDOW = (0xE9, 0xF8, 0xF8)
DARK = (0x80, 0x80, 0x80)
WHITE = (0xFF, 0xFF, 0xFF)
# Name, left, top, width, height in pixels; the palette's last column and row cover the
# right and bottom dark line of its frame, as they do at one pixel per pixel.
FRAMES = [
    ("Frame1", 10, 67, 388, 158, ("left", "top")),
    ("Frame2", 10, 228, 387, 105, ("left", "top", "right", "bottom")),
    ("Frame4", 11, 376, 386, 38, ("left", "top", "right", "bottom")),
]
# The composition box and, one pixel inside it, its viewport and scroll bar.
BOX = ("Text1", 14, 243, 379, 88)
BOX_FRAME = 1
BLACK = (0, 0, 0)


def read_image(path):
    ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                         capture_output=True).stdout
    fields = ppm.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    data = fields[4]
    return width, height, lambda x, y: tuple(data[3 * (y * width + x):3 * (y * width + x) + 3])


def profile(pixel, start, step, count, first, second):
    """(offset of the first line, its thickness, the second line's thickness) read from
    outside in, or None when something other than the window colour comes first."""
    x, y = start
    colours = [pixel(x + step[0] * i, y + step[1] * i) for i in range(count)]
    i = 0
    while i < count and colours[i] != first:
        if colours[i] != WINDOW:
            return None
        i += 1
    offset = i
    while i < count and colours[i] == first:
        i += 1
    thick_first = i - offset
    j = i
    while j < count and colours[j] == second:
        j += 1
    return offset, thick_first, j - i


def check_side(pixel, rect, side, s):
    left, top, width, height = rect
    right, bottom = left + width - 1, top + height - 1
    reach = 2 * math.ceil(s) + 3
    vertical = side in ("left", "right")
    first, second = (DARK, WHITE) if side in ("left", "top") else (WHITE, DARK)
    if vertical:
        along = range(math.ceil((top + 14) * s), math.floor((bottom - 4) * s) + 1)
    else:
        along = range(math.ceil((left + width // 2) * s), math.floor((right - 4) * s) + 1)
    seen = None
    for a in along:
        if side == "left":
            start, step = (math.floor(left * s) - 1, a), (1, 0)
        elif side == "right":
            start, step = (math.ceil((right + 1) * s), a), (-1, 0)
        elif side == "top":
            start, step = (a, math.floor(top * s)), (0, 1)
        else:
            start, step = (a, math.ceil((bottom + 1) * s)), (0, -1)
        p = profile(pixel, start, step, math.ceil(12 * s) if side == "top" else reach,
                    first, second)
        if p is None or p[1] == 0 or p[2] == 0:
            return f"no two lines at {a}: {p}"
        # A white control may follow the white line on the left and the top.
        if second == WHITE:
            p = (p[0], p[1], min(p[2], 1))
        if seen is not None and p != seen:
            return f"at {a} {p}, before {seen}"
        seen = p
    edge = start[0] if vertical else start[1]
    direction = step[0] if vertical else step[1]
    return f"{first == DARK and 'dark' or 'white'} first at {edge + direction * seen[0]}, " \
           f"{seen[1]} + {seen[2]} px"


def device(left, top, width, height, s):
    """The device pixels a widget covers: its edges rounded to the nearest device pixel
    (halves up), as Qt clips a widget and places its children."""
    edge = lambda v: math.floor(v * s + 0.5)
    return edge(left), edge(top), edge(left + width) - 1, edge(top + height) - 1


def check_box_side(pixel, side, s):
    _, left, top, width, height = BOX
    f = BOX_FRAME
    outer = device(left, top, width, height, s)
    inner = device(left + f, top + f, width - 2 * f, height - 2 * f, s)
    corner = 3 * math.ceil(s)
    vertical = side in ("left", "right")
    first, last = (outer[1], outer[3]) if vertical else (outer[0], outer[2])
    seen = None
    for a in range(first + corner, last - corner + 1):
        if side == "left":
            band = [pixel(x, a) for x in range(outer[0], inner[0])]
        elif side == "right":
            band = [pixel(x, a) for x in range(outer[2], inner[2], -1)]
        elif side == "top":
            band = [pixel(a, y) for y in range(outer[1], inner[1])]
        else:
            band = [pixel(a, y) for y in range(outer[3], inner[3], -1)]
        read = " ".join(bytes(c).hex() for c in band)
        if not band or band[0] == WINDOW or BLACK in band:
            return f"at {a}: {read or 'no band'}"
        if seen is not None and band != seen[0]:
            return f"at {a} {read}, before {seen[1]}"
        seen = (band, read)
    return f"line {bytes(seen[0][0]).hex()}, band {seen[1]}"


def black_in_box(pixel, s):
    """Black pixels in the empty box right of its caret: (count, first, last) or None."""
    _, left, top, width, height = BOX
    x0, y0, x1, y1 = device(left + 40, top, width - 40, height, s)
    found = [(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)
             if pixel(x, y) == BLACK]
    return (len(found), found[0], found[-1]) if found else None


def main():
    path, scale = sys.argv[1], float(sys.argv[2])
    width, height, pixel = read_image(path)
    print(f"client area {width}x{height} at {scale:g}")
    failed = False
    for name, *rect, sides in FRAMES:
        for side in sides:
            result = check_side(pixel, rect, side, scale)
            ok = result.startswith(("dark", "white"))
            failed |= not ok
            print(f"  {name} {side}: {'' if ok else 'BROKEN '}{result}")
    for side in ("left", "top", "right", "bottom"):
        result = check_box_side(pixel, side, scale)
        ok = result.startswith("line")
        failed |= not ok
        print(f"  {BOX[0]} {side}: {'' if ok else 'BROKEN '}{result}")
    black = black_in_box(pixel, scale)
    failed |= black is not None
    print(f"  {BOX[0]} black pixels: " + (f"BROKEN {black[0]}, from {black[1]} to {black[2]}"
                                           if black else "none"))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
