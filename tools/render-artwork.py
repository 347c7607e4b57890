#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Render Mirthkey's artwork into assets/.

Run it with Debian's interpreter, which has Pillow (package python3-pil)
with the raqm text-layout engine; a python3 earlier on PATH may lack Pillow:

    /usr/bin/python3 tools/render-artwork.py [TSV] [--out DIR] [--check]

TSV defaults to ../shared/emoticons.tsv relative to the repository root;
--out defaults to the repository's assets/ directory.  With --check nothing
is written: the exit status is 1 when any generated file would change.

Needs the Debian packages python3-pil and fonts-noto-color-emoji (the
emoji pictures), fonts-dejavu-core (the banner's lettering) and zopfli
(zopflipng, which makes the PNG files smaller without changing a pixel).

Generated (byte-identical for the same input and fonts):
  emoticons/NN.png, emoticons/NN@2x.png   NN = 01..96, 20x20 and 40x40 RGBA
  icons/mirthkey-SIZE.png                 window icon, hicolor sizes 16..256
  icons/mirthkey.svg                      the same icon, drawn as vectors
  icons/mirthkey.ico                      the same icon for Windows (16..256)
  banner.png, banner@2x.png               374x64 and 748x128 RGB, shown over
                                          the palette
  assets.qrc                              the resource list for Qt
Hand-written, left alone: NOTICE.md, CMakeLists.txt.

Every emoticon is checked to have rendered as exactly one glyph
(no missing-glyph box, no empty picture, no sequence falling apart into
several glyphs); the script stops with an error otherwise.
"""

import argparse
import csv
import io
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont, features

EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
EMOJI_FONT_SIZE = 109  # the only size the bitmap strikes come in
LETTER_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
# Lossless PNG squeezer (Debian package zopfli); its output is the same on every run.
ZOPFLIPNG = "zopflipng"

EMOTICON_COUNT = 96
EMOTICON_SIZE = 20
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
# The sizes Windows asks an .ico for (Explorer views, title bar, task bar).
ICO_SIZES = (16, 24, 32, 48, 256)
BANNER_SIZE = (374, 64)

WINDOW_COLOUR = (0xE9, 0xF8, 0xF8)
# Icon colours: pale cyan cap top, teal skirt, dark teal outline.
CAP_TOP_HI = (0xF7, 0xFE, 0xFE)
CAP_TOP_LO = (0xC4, 0xEE, 0xEE)
CAP_SKIRT_HI = (0x6C, 0xCB, 0xCB)
CAP_SKIRT_LO = (0x34, 0x9B, 0x9E)
CAP_OUTLINE = (0x23, 0x74, 0x78)
CAP_TOP_EDGE = (0x8A, 0xD6, 0xD7)
# The face on the key: grinning face (big eyes and grin read well at 16 px).
ICON_FACE = "\U0001F600"
# Emoticons shown on the banner, by index into the table (NOTICE.md names them).
BANNER_EMOTICONS = (14, 13, 3, 77)
BANNER_RULE = (0xC2, 0xE6, 0xE7)
LETTER_COLOUR = (0x1B, 0x66, 0x6A)

REPO_ROOT = Path(__file__).resolve().parent.parent


class ArtworkError(Exception):
    pass


# ---------------------------------------------------------------- input

def read_table(path):
    """Return [(index, code, emoji string)] for the 96 rows, validated."""
    with open(path, encoding="utf-8", newline="") as fh:
        rows = list(csv.DictReader(fh, delimiter="\t"))
    if len(rows) != EMOTICON_COUNT:
        raise ArtworkError(f"{path}: {len(rows)} rows, expected {EMOTICON_COUNT}")
    table = []
    for number, row in enumerate(rows, start=1):
        try:
            index = int(row["index"])
            text = "".join(chr(int(cp.removeprefix("U+"), 16))
                           for cp in row["codepoints"].split())
        except (KeyError, TypeError, ValueError) as exc:
            raise ArtworkError(f"{path}: row {number} unreadable: {exc}") from exc
        if index != number:
            raise ArtworkError(f"{path}: row {number} has index {index}")
        if not text:
            raise ArtworkError(f"{path}: row {number} has no codepoints")
        if row.get("emoji") and row["emoji"] != text:
            raise ArtworkError(f"{path}: row {number}: emoji column "
                               f"{row['emoji']!r} differs from codepoints {text!r}")
        table.append((index, row["code"], text))
    return table


# ---------------------------------------------------------------- emoji

class EmojiRenderer:
    def __init__(self, font_path):
        if not features.check("raqm"):
            raise ArtworkError("Pillow lacks the raqm layout engine; emoji "
                               "sequences would not join (use /usr/bin/python3)")
        self.font = ImageFont.truetype(font_path, EMOJI_FONT_SIZE,
                                       layout_engine=ImageFont.Layout.RAQM)
        self.advance = self.font.getlength("\U0001F600")
        # What this font draws for a character it lacks.
        self.missing = self._draw("\U0010FFFD")

    def _draw(self, text):
        left, top, right, bottom = self.font.getbbox(text)
        pad = 32
        canvas = Image.new("RGBA", (right - left + 2 * pad, bottom - top + 2 * pad))
        ImageDraw.Draw(canvas).text((pad - left, pad - top), text,
                                    font=self.font, embedded_color=True)
        box = canvas.getchannel("A").getbbox()
        return canvas.crop(box) if box else None

    def glyph(self, text, label):
        """The glyph for text, cropped to its visible pixels; checked."""
        advance = self.font.getlength(text)
        if abs(advance - self.advance) > 0.5:
            raise ArtworkError(f"{label}: {text!r} lays out as "
                               f"{advance / self.advance:.2f} glyphs, not one")
        image = self._draw(text)
        if image is None:
            raise ArtworkError(f"{label}: {text!r} rendered nothing (glyph missing)")
        if self.missing is not None and image.tobytes() == self.missing.tobytes():
            raise ArtworkError(f"{label}: {text!r} rendered the missing-glyph box")
        if min(image.size) < EMOJI_FONT_SIZE // 5 or max(image.size) < EMOJI_FONT_SIZE // 2:
            raise ArtworkError(f"{label}: {text!r} rendered only {image.size}")
        opaque = sum(image.getchannel("A").histogram()[128:])
        if opaque < image.width * image.height // 8:
            raise ArtworkError(f"{label}: {text!r} is almost empty")
        if len(text) > 1 and "\u200d" in text:
            first = self._draw(text[0])
            if first is not None and first.tobytes() == image.tobytes():
                raise ArtworkError(f"{label}: {text!r} drew only its first part")
        return image


def fit_square(image, size):
    """Centre image in a transparent square and scale it to size x size."""
    side = max(image.size)
    square = Image.new("RGBA", (side, side))
    square.paste(image, ((side - image.width) // 2, (side - image.height) // 2))
    return square.resize((size, size), Image.Resampling.LANCZOS)


# ---------------------------------------------------------------- icon

def _icon_layout(size):
    """Key-cap geometry in units of a 256-unit square.

    skirt/top: (x0, y0, x1, y1, corner radius); face: (centre x, centre y,
    diameter); outline: skirt outline width, about 2 px from 32 px up;
    top_edge: width of the lighter rim round the top (none when tiny).
    Sizes up to 24 px get a larger face and thinner margins.
    """
    if size <= 24:
        return {"skirt": (4, 8, 252, 252, 44), "top": (22, 10, 234, 206, 34),
                "face": (128, 108, 176), "outline": 14, "top_edge": 0}
    return {"skirt": (10, 16, 246, 246, 44), "top": (30, 18, 226, 204, 34),
            "face": (128, 111, 140), "outline": max(6, 256 // size * 2),
            "top_edge": 3}


def _gradient(size, top, bottom):
    width, height = size
    column = Image.new("RGB", (1, height))
    for y in range(height):
        t = y / max(1, height - 1)
        column.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return column.resize((width, height), Image.Resampling.NEAREST)


def _rounded_mask(canvas_size, box, radius):
    mask = Image.new("L", canvas_size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
    return mask


def _inset(box, by):
    return [box[0] + by, box[1] + by, box[2] - by, box[3] - by]


def render_icon(size, face):
    """The key cap with the emoji face, drawn large and scaled down."""
    lay = _icon_layout(size)
    big = size * (max(4, 2048 // size) if size < 256 else 8)
    unit = big / 256
    whole = (0, 0, big, big)
    canvas = Image.new("RGBA", (big, big), (0, 0, 0, 0))

    *skirt, radius = lay["skirt"]
    skirt = [round(v * unit) for v in skirt]
    radius = round(radius * unit)
    canvas.paste(CAP_OUTLINE, whole, _rounded_mask(canvas.size, skirt, radius))
    o = round(lay["outline"] * unit)
    canvas.paste(_gradient(canvas.size, CAP_SKIRT_HI, CAP_SKIRT_LO), (0, 0),
                 _rounded_mask(canvas.size, _inset(skirt, o), max(1, radius - o)))

    *top, radius = lay["top"]
    top = [round(v * unit) for v in top]
    radius = round(radius * unit)
    if lay["top_edge"]:
        canvas.paste(CAP_TOP_EDGE, whole, _rounded_mask(canvas.size, top, radius))
        e = round(lay["top_edge"] * unit)
        top, radius = _inset(top, e), max(1, radius - e)
    gradient = Image.new("RGB", canvas.size)
    gradient.paste(_gradient((big, top[3] - top[1]), CAP_TOP_HI, CAP_TOP_LO), (0, top[1]))
    canvas.paste(gradient, (0, 0), _rounded_mask(canvas.size, top, radius))

    cx, cy, diameter = lay["face"]
    face_px = round(diameter * unit)
    face_img = fit_square(face, max(face.size)).resize((face_px, face_px),
                                                       Image.Resampling.BICUBIC)
    canvas.alpha_composite(face_img, (round(cx * unit - face_px / 2),
                                      round(cy * unit - face_px / 2)))
    return canvas.resize((size, size), Image.Resampling.LANCZOS)


def icon_svg():
    """The large-size icon as hand-drawn vectors (the face is our drawing)."""
    lay = _icon_layout(256)
    x0, y0, x1, y1, r = lay["skirt"]
    tx0, ty0, tx1, ty1, tr = lay["top"]
    cx, cy, d = lay["face"]
    o = lay["outline"]
    e = lay["top_edge"]
    R = d / 2 - 1

    def hexc(rgb):
        return "#%02x%02x%02x" % rgb

    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <title>Mirthkey</title>
  <defs>
    <linearGradient id="skirt" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{hexc(CAP_SKIRT_HI)}"/>
      <stop offset="1" stop-color="{hexc(CAP_SKIRT_LO)}"/>
    </linearGradient>
    <linearGradient id="top" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{hexc(CAP_TOP_HI)}"/>
      <stop offset="1" stop-color="{hexc(CAP_TOP_LO)}"/>
    </linearGradient>
    <radialGradient id="face" cx="0.42" cy="0.32" r="0.75">
      <stop offset="0" stop-color="#ffe77a"/>
      <stop offset="0.6" stop-color="#fcc930"/>
      <stop offset="1" stop-color="#f2a516"/>
    </radialGradient>
  </defs>
  <rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" rx="{r}" fill="{hexc(CAP_OUTLINE)}"/>
  <rect x="{x0 + o}" y="{y0 + o}" width="{x1 - x0 - 2 * o}" height="{y1 - y0 - 2 * o}" rx="{r - o}" fill="url(#skirt)"/>
  <rect x="{tx0}" y="{ty0}" width="{tx1 - tx0}" height="{ty1 - ty0}" rx="{tr}" fill="{hexc(CAP_TOP_EDGE)}"/>
  <rect x="{tx0 + e}" y="{ty0 + e}" width="{tx1 - tx0 - 2 * e}" height="{ty1 - ty0 - 2 * e}" rx="{tr - e}" fill="url(#top)"/>
  <g transform="translate({cx} {cy})">
    <circle r="{R:g}" fill="url(#face)" stroke="#e59a12" stroke-width="2"/>
    <ellipse cx="-23" cy="-24" rx="9" ry="14" fill="#40281a"/>
    <ellipse cx="23" cy="-24" rx="9" ry="14" fill="#40281a"/>
    <path d="M -46 2 Q 0 14 46 2 Q 42 52 0 54 Q -42 52 -46 2 Z" fill="#40281a"/>
    <path d="M -40 8 Q 0 19 40 8 L 38 18 Q 0 27 -38 18 Z" fill="#ffffff"/>
    <path d="M -22 46 Q 0 34 22 46 Q 12 51 0 51 Q -12 51 -22 46 Z" fill="#e0584a"/>
  </g>
</svg>
"""


# ---------------------------------------------------------------- banner

def render_banner(pictures, scale):
    """Name on the left, a row of emoticons on the right, on a soft gradient.

    Drawn at scale times BANNER_SIZE, every length scaled, so that the 2x banner
    is the same picture with twice the detail; pictures are the emoticons at
    2 * scale times their size (the banner shows them at 40 x 40).
    """
    width, height = (side * scale for side in BANNER_SIZE)
    margin = 16 * scale
    banner = _gradient((width, height), (0xFB, 0xFF, 0xFF), WINDOW_COLOUR).convert("RGBA")
    draw = ImageDraw.Draw(banner)
    draw.rectangle((0, height - scale, width - 1, height - 1), fill=BANNER_RULE + (255,))

    font = ImageFont.truetype(LETTER_FONT, 30 * scale)
    text = "Mirthkey"
    left, top, right, bottom = font.getbbox(text)
    tx = margin - left
    ty = (height - (bottom - top)) // 2 - top
    draw.text((tx + scale, ty + scale), text, font=font, fill=(0xFF, 0xFF, 0xFF, 255))
    draw.text((tx, ty), text, font=font, fill=LETTER_COLOUR + (255,))

    pics = [pictures[i] for i in BANNER_EMOTICONS]
    side = EMOTICON_SIZE * 2 * scale
    step = side + 6 * scale
    x = width - margin - side - step * (len(pics) - 1)
    if x < margin + (right - left) + 8 * scale:
        raise ArtworkError("banner: emoticons would overlap the name")
    for pic in pics:
        if pic.size != (side, side):
            raise ArtworkError(f"banner: emoticon of {pic.size}, expected {side} x {side}")
        banner.alpha_composite(pic, (x, (height - side) // 2))
        x += step
    return banner.convert("RGB")


# ---------------------------------------------------------------- output

def png_bytes(image):
    """The picture as a PNG file, squeezed by zopflipng; the pixels are checked."""
    buffer = io.BytesIO()
    image.save(buffer, "PNG", optimize=True)  # Pillow writes no time or text chunks
    with tempfile.TemporaryDirectory() as folder:
        plain, squeezed = Path(folder, "plain.png"), Path(folder, "squeezed.png")
        plain.write_bytes(buffer.getvalue())
        try:
            subprocess.run([ZOPFLIPNG, "-y", str(plain), str(squeezed)], check=True,
                           stdout=subprocess.DEVNULL)
        except (OSError, subprocess.CalledProcessError) as exc:
            raise ArtworkError(f"{ZOPFLIPNG} failed ({exc}); it comes with the "
                               "Debian package zopfli") from exc
        data = squeezed.read_bytes()
    with Image.open(io.BytesIO(data)) as check:
        if check.mode != image.mode or check.tobytes() != image.tobytes():
            raise ArtworkError("zopflipng changed the pixels of a picture")
    return data


def ico_bytes(images):
    """A Windows .ico holding the given square RGBA images, smallest first.

    Sizes below 256 are stored as 32-bit bitmaps with their AND mask, which
    every version of Windows reads; 256 is stored as PNG, as Windows expects
    for that size.  Written field by field, so the bytes depend only on the
    pixels.
    """
    entries = []
    for image in sorted(images, key=lambda im: im.width):
        size = image.width
        if image.height != size or not 16 <= size <= 256:
            raise ArtworkError(f"ico: unsupported picture size {image.size}")
        if size == 256:
            entries.append((size, png_bytes(image)))
            continue
        rgba = image.convert("RGBA")
        # Bitmap rows go bottom up, pixels as B, G, R, A.
        r, g, b, a = rgba.split()
        bgra = Image.merge("RGBA", (b, g, r, a)).transpose(Image.Transpose.FLIP_TOP_BOTTOM)
        mask_stride = (size + 31) // 32 * 4
        mask = bytearray()
        alpha = a.transpose(Image.Transpose.FLIP_TOP_BOTTOM).load()
        for y in range(size):
            row = bytearray(mask_stride)
            for x in range(size):
                if alpha[x, y] == 0:  # 1 = transparent where the alpha is 0
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                             size * size * 4 + len(mask), 0, 0, 0, 0)
        entries.append((size, header + bgra.tobytes() + bytes(mask)))

    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        dim = size % 256  # 0 stands for 256
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in entries)


def qrc_text(names):
    lines = ['<!-- SPDX-License-Identifier: GPL-3.0-or-later -->', '<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/">']
    lines += [f"    <file>{name}</file>" for name in names]
    lines += ["</qresource>", "</RCC>", ""]
    return "\n".join(lines)


def build(table, font_path):
    renderer = EmojiRenderer(font_path)
    files = {}
    emoticons_2x = {}
    banner_pictures_2x = {}
    for index, code, text in table:
        glyph = renderer.glyph(text, f"emoticon {index:02d} ({code})")
        small = fit_square(glyph, EMOTICON_SIZE)
        large = fit_square(glyph, EMOTICON_SIZE * 2)
        files[f"emoticons/{index:02d}.png"] = png_bytes(small)
        files[f"emoticons/{index:02d}@2x.png"] = png_bytes(large)
        emoticons_2x[index] = large
        if index in BANNER_EMOTICONS:
            banner_pictures_2x[index] = fit_square(glyph, EMOTICON_SIZE * 4)

    face = renderer.glyph(ICON_FACE, "icon face")
    icons = {}
    for size in ICON_SIZES:
        icons[size] = render_icon(size, face)
        files[f"icons/mirthkey-{size}.png"] = png_bytes(icons[size])
    files["icons/mirthkey.svg"] = icon_svg().encode("utf-8")
    files["icons/mirthkey.ico"] = ico_bytes([icons[size] for size in ICO_SIZES])

    files["banner.png"] = png_bytes(render_banner(emoticons_2x, 1))
    files["banner@2x.png"] = png_bytes(render_banner(banner_pictures_2x, 2))

    resources = [name for name in files if name.endswith(".png")]
    files["assets.qrc"] = qrc_text(resources).encode("utf-8")
    return files


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("table", nargs="?",
                        default=str(REPO_ROOT.parent / "shared" / "emoticons.tsv"),
                        help="emoticon table (TSV); default %(default)s")
    parser.add_argument("--out", default=str(REPO_ROOT / "assets"),
                        help="assets directory to write; default %(default)s")
    parser.add_argument("--font", default=EMOJI_FONT, help="emoji font; default %(default)s")
    parser.add_argument("--check", action="store_true",
                        help="write nothing; exit 1 if any file would change")
    args = parser.parse_args(argv)

    try:
        files = build(read_table(args.table), args.font)
    except (ArtworkError, OSError) as exc:
        print(f"render-artwork: error: {exc}", file=sys.stderr)
        return 2

    out = Path(args.out)
    stale = []
    for name, data in files.items():
        path = out / name
        if path.is_file() and path.read_bytes() == data:
            continue
        stale.append(name)
        if not args.check:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
    verb = "out of date" if args.check else "written"
    print(f"render-artwork: {len(files)} files, {len(stale)} {verb}"
          + "".join(f"\n  {name}" for name in stale[:20])
          + ("\n  ..." if len(stale) > 20 else ""))
    return 1 if args.check and stale else 0


if __name__ == "__main__":
    sys.exit(main())
