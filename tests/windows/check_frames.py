#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The window's three frames in a screenshot of its client area taken at `scale` device
pixels per pixel: on each side that the controls leave free, a dark (808080) and a white
line, each continuous; every cut across a side, away from the corners and the caption,
reads the same. Prints, per frame, where each side's lines lie and how thick they are.

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
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
