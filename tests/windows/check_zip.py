#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows package: CPack's zip holds one folder with mirthkey.exe, the licence and
the notices; the program is one file that needs only Windows' own DLLs, with version
1.2.0.65 in its VERSIONINFO and the program icon.

    check_zip.py <cpack> <CPackConfig.cmake> <scratch folder> <version>
"""
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

import pefile

CPACK, CONFIG, SCRATCH, VERSION = sys.argv[1:5]
# DLLs of Windows itself; anything else would have to ship beside the program.
SYSTEM_DLLS = {
    "advapi32.dll", "authz.dll", "comdlg32.dll", "d3d11.dll", "d3d9.dll", "dwmapi.dll",
    "dwrite.dll", "dxgi.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll",
    "netapi32.dll", "ole32.dll", "oleaut32.dll", "setupapi.dll", "shcore.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "userenv.dll", "uxtheme.dll", "version.dll", "winmm.dll",
    "ws2_32.dll", "wtsapi32.dll", "cfgmgr32.dll", "crypt32.dll", "d2d1.dll", "dcomp.dll",
}


class Zip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        Path(SCRATCH).mkdir(parents=True, exist_ok=True)
        subprocess.run([CPACK, "--config", CONFIG, "-G", "ZIP", "-B", SCRATCH], check=True,
                       stdout=subprocess.DEVNULL)
        cls.path = Path(SCRATCH) / f"mirthkey-{VERSION}-windows-x86_64.zip"
        cls.folder = f"mirthkey-{VERSION}-windows-x86_64/"
        with zipfile.ZipFile(cls.path) as archive:
            cls.names = sorted(archive.namelist())
            cls.exe = archive.read(cls.folder + "mirthkey.exe")
            cls.notices = archive.read(cls.folder + "THIRD-PARTY-NOTICES.txt").decode()

    def test_contents(self):
        self.assertEqual(self.names, [self.folder + name for name in
                                      ("LICENSE.txt", "NOTICE.md", "THIRD-PARTY-NOTICES.txt",
                                       "mirthkey.exe")])
        for part in ("Qt 6", "FreeType", "HarfBuzz", "PCRE2", "zlib", "libpng", "winpthreads"):
            self.assertIn(part, self.notices)

    def test_program(self):
        pe = pefile.PE(data=self.exe)
        imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
        foreign = {dll for dll in imports
                   if dll not in SYSTEM_DLLS and not dll.startswith("api-ms-win-")}
        self.assertEqual(foreign, set())
        fixed = pe.VS_FIXEDFILEINFO[0]
        words = [fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                 fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF]
        self.assertEqual(".".join(map(str, words)), VERSION)
        self.assertEqual((fixed.ProductVersionMS, fixed.ProductVersionLS),
                         (fixed.FileVersionMS, fixed.FileVersionLS))
        resources = {entry.id for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries}
        self.assertIn(pefile.RESOURCE_TYPE["RT_GROUP_ICON"], resources)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
