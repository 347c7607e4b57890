#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes textfile/data/gb18030-two-byte.bin, the two-byte part of GB18030 as the C library
encodes it (glibc's GB18030-2022), for the program's own encoder on systems that have no
GB18030 converter.

The file has one little-endian 16-bit code point for each two-byte code, lead bytes 0x81
to 0xFE, trail bytes 0x40 to 0xFE without 0x7F (126 x 190 cells, row by row), 0 where
the code stands for nothing or for one of the six characters beyond U+FFFF that have
two-byte codes, which textfile/Gb18030Table.cpp lists. Four-byte codes need no table: the standard hands them out
in code-point order to the characters without a shorter code; the few places where it
departs from that order are listed in textfile/Gb18030Table.cpp, and the tests compare
the whole Basic Multilingual Plane with the C library.

    tools/gb18030-table.py [output]
"""
import ctypes
import ctypes.util
import struct
import sys
from pathlib import Path

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4


def decoder():
    handle = libc.iconv_open(b"UTF-32LE", b"GB18030")

    def decode(code: bytes):
        source = ctypes.create_string_buffer(code, len(code))
        target = ctypes.create_string_buffer(8)
        in_ptr = ctypes.c_void_p(ctypes.addressof(source))
        out_ptr = ctypes.c_void_p(ctypes.addressof(target))
        in_left = ctypes.c_size_t(len(code))
        out_left = ctypes.c_size_t(8)
        libc.iconv(handle, None, None, None, None)
        result = libc.iconv(handle, ctypes.byref(in_ptr), ctypes.byref(in_left),
                            ctypes.byref(out_ptr), ctypes.byref(out_left))
        if result == ctypes.c_size_t(-1).value or in_left.value or out_left.value != 4:
            return 0
        return struct.unpack("<I", target.raw[:4])[0]

    return decode


def main() -> int:
    output = Path(sys.argv[1] if len(sys.argv) > 1 else
                  Path(__file__).resolve().parent.parent / "textfile/data/gb18030-two-byte.bin")
    decode = decoder()
    cells = bytearray()
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            if trail == 0x7F:
                continue
            point = decode(bytes([lead, trail]))
            cells += struct.pack("<H", point if point <= 0xFFFF else 0)
    output.write_bytes(bytes(cells))
    codes = sum(1 for (point,) in struct.iter_unpack("<H", cells) if point)
    print(f"{output}: {len(cells) // 2} cells, {codes} codes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
