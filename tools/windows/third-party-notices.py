#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the notices of everything the static Windows program carries besides its own
code: Qt (Core, Gui, Widgets and the Windows platform plug-in), the libraries Qt bundles
into those, and the MinGW-w64 runtime linked in with -static.

    third-party-notices.py <qt6-base source folder> <output file>

The Qt parts come from the qt_attribution.json files of Debian's qt6-base source (the one
tools/windows/qt-mingw.sh builds); only the components compiled into the program's
configuration are listed (no network, OpenGL, Vulkan, D-Bus, JPEG or other platforms).
The runtime's terms come from the Debian packages of the cross compiler.
"""
import json
import sys
from pathlib import Path

# (attribution folder, attribution ids) of what the configuration compiles in.
LINKED = [
    ("src/corelib/text", ["unicode-character-database", "unicode-cldr"]),
    ("src/corelib/tools", ["siphash"]),
    ("src/3rdparty/blake2", ["blake2"]),
    ("src/3rdparty/double-conversion", ["doubleconversion"]),
    ("src/3rdparty/easing", ["easing"]),
    ("src/3rdparty/md4", ["md4"]),
    ("src/3rdparty/md5", ["md5"]),
    ("src/3rdparty/rfc6234", ["rfc6234"]),
    ("src/3rdparty/sha1", ["sha1"]),
    ("src/3rdparty/sha3", ["sha3_endian", "sha3_keccak"]),
    ("src/3rdparty/tinycbor", ["tinycbor"]),
    ("src/3rdparty/pcre2", ["pcre2", "pcre2-sljit"]),
    ("src/3rdparty/zlib", ["zlib"]),
    ("src/3rdparty/libpng", ["libpng"]),
    ("src/3rdparty/freetype", ["freetype", "freetype-zlib", "freetype-bdf", "freetype-pcf"]),
    ("src/3rdparty/harfbuzz-ng", ["harfbuzz-ng"]),
    ("src/3rdparty/md4c", ["md4c"]),
    ("src/3rdparty/icc", ["icc-sRGB-color-profile"]),
    ("src/gui/painting", ["grayraster", "smooth-scaling-algorithm", "xserverhelper"]),
    ("src/gui/text", ["aglfn"]),
]

RUNTIME = [
    ("The GNU C++ library and the GCC runtime (libstdc++, libgcc), linked in statically under "
     "the GCC Runtime Library Exception", "/usr/share/doc/gcc-mingw-w64-base/copyright"),
    ("The MinGW-w64 C runtime and winpthreads", "/usr/share/doc/mingw-w64-common/copyright"),
]

RULE = "=" * 78 + "\n"


def attributions(folder: Path):
    text = (folder / "qt_attribution.json").read_text(encoding="utf-8")
    data = json.loads(text, strict=False)
    return data if isinstance(data, list) else [data]


def section(title: str, body: str) -> str:
    return RULE + title + "\n" + RULE + "\n" + body.rstrip() + "\n\n"


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    source, output = Path(sys.argv[1]), Path(sys.argv[2])
    parts = [
        "Third-party notices of mirthkey.exe\n\n"
        "mirthkey.exe is one file: the Qt libraries and the C++ runtime are linked into it.\n"
        "The program's own code is licensed under the GNU General Public License, version 3\n"
        "or later (LICENSE). What follows are the terms of the parts that come from others.\n\n"
    ]
    lgpl = (source / "LICENSES/LGPL-3.0-only.txt").read_text(encoding="utf-8")
    parts.append(section(
        "Qt 6 (Qt Core, Qt Gui, Qt Widgets, the Windows platform plug-in)",
        "Copyright (C) The Qt Company Ltd. and other contributors.\n"
        "Qt is available under the GNU Lesser General Public License version 3, the GNU\n"
        "General Public License version 2 or version 3. mirthkey.exe uses it under the GNU\n"
        "General Public License version 3 (its text is in LICENSE); the LGPL text follows.\n"
        "The source of the Qt built into this program is Debian's qt6-base package,\n"
        "https://packages.debian.org/source/bookworm/qt6-base\n\n" + lgpl))
    for relative, ids in LINKED:
        folder = source / relative
        entries = {entry.get("Id"): entry for entry in attributions(folder)}
        for wanted in ids:
            entry = entries[wanted]
            licence_file = entry.get("LicenseFile")
            licence = ((folder / licence_file).read_text(encoding="utf-8", errors="replace")
                       if licence_file else "Public domain: no licence text.")
            lines = [f"Used in Qt: {entry.get('QtUsage', '').strip()}"]
            if entry.get("Version"):
                lines.append(f"Version: {entry['Version']}")
            if entry.get("Homepage"):
                lines.append(f"Home page: {entry['Homepage']}")
            lines.append(f"Licence: {entry.get('License', entry.get('LicenseId', ''))}")
            if entry.get("Copyright"):
                lines.append("\n" + entry["Copyright"].strip())
            parts.append(section(entry.get("Name", wanted), "\n".join(lines) + "\n\n" + licence))
    for title, path in RUNTIME:
        parts.append(section(title, Path(path).read_text(encoding="utf-8", errors="replace")))
    output.write_text("".join(parts), encoding="utf-8", newline="\r\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
