#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows package: CPack's zip holds one folder with mirthkey.exe, a README.txt, the
licence and the notices; the program is one file that needs only Windows' own DLLs, with
version 1.2.0.65 in its VERSIONINFO and the program icon. The oldest Windows that the
README.txt in the zip and the README of the source name is the one the program's imports
need: the newest Windows among the first versions that have each imported function
(FIRST_WINDOWS); the manifest names the systems from that one on.

    check_zip.py <cpack> <CPackConfig.cmake> <scratch folder> <version>
"""
import calendar
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
from pathlib import Path

import pefile
from xml.etree import ElementTree

MANIFEST_NAMES = {
    "v1": "urn:schemas-microsoft-com:asm.v1",
    "asmv3": "urn:schemas-microsoft-com:asm.v3",
    "compat": "urn:schemas-microsoft-com:compatibility.v1",
    "ws2005": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
    "ws2016": "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
}
# Windows releases as (major, minor, build), by the names README and README.txt use.
WINDOWS = {
    "Windows Vista": (6, 0, 6000),
    "Windows 7": (6, 1, 7600),
    "Windows 8": (6, 2, 9200),
    "Windows 8.1": (6, 3, 9600),
    "Windows 10": (10, 0, 10240),
    "Windows 10, version 1607": (10, 0, 14393),
    "Windows 10, version 1703": (10, 0, 15063),
    "Windows 10, version 1803": (10, 0, 17134),
    "Windows 10, version 1809": (10, 0, 17763),
}
W7, W8, W81 = WINDOWS["Windows 7"], WINDOWS["Windows 8"], WINDOWS["Windows 8.1"]
W10_1607, W10_1703 = WINDOWS["Windows 10, version 1607"], WINDOWS["Windows 10, version 1703"]
# The first Windows that has each function the program imports, for the functions newer than
# Windows 7 (Microsoft's API reference, "Minimum supported client"), and the first that has
# each DLL or API set newer than Windows 7; every other import is taken to be as old as
# Windows 7 or older. An import from an API set, or with "Dpi" or "Pointer" in its name, must
# be found here.
FIRST_WINDOWS = {
    # user32: per-monitor DPI awareness, scaled metrics and non-client areas.
    "SetProcessDpiAwarenessContext": W10_1703,
    "AdjustWindowRectExForDpi": W10_1607,
    "EnableNonClientDpiScaling": W10_1607,
    "GetAwarenessFromDpiAwarenessContext": W10_1607,
    "GetDpiForWindow": W10_1607,
    "GetSystemMetricsForDpi": W10_1607,
    "GetWindowDpiAwarenessContext": W10_1607,
    "SystemParametersInfoForDpi": W10_1607,
    # shcore: the monitors' DPI and the process's awareness.
    "GetDpiForMonitor": W81,
    "GetProcessDpiAwareness": W81,
    "SetProcessDpiAwareness": W81,
    # dxgi
    "CreateDXGIFactory2": W81,
    # user32: pointer input, timers, screen rotation.
    "GetPointerFrameTouchInfo": W8,
    "GetPointerFrameTouchInfoHistory": W8,
    "GetPointerInfo": W8,
    "GetPointerPenInfo": W8,
    "GetPointerPenInfoHistory": W8,
    "GetPointerType": W8,
    "SkipPointerFrameMessages": W8,
    "SetCoalescableTimer": W8,
    "GetDisplayAutoRotationPreferences": W8,
    "SetDisplayAutoRotationPreferences": W8,
    # The synchronization API set: waits on an address.
    "WaitOnAddress": W8,
    "WakeByAddressAll": W8,
    "WakeByAddressSingle": W8,
}
FIRST_WINDOWS_OF_DLL = {
    "shcore.dll": W8,
    "api-ms-win-core-synch-l1-2-0.dll": W8,
    "api-ms-win-core-winrt-l1-1-0.dll": W8,
    "api-ms-win-core-winrt-string-l1-1-0.dll": W8,
}
NEWER_NAMES = re.compile(r"Dpi|(?<!File)Pointer")
# The manifest's supportedOS entries, each for the systems from its version on up to the next
# entry's: Vista, 7, 8, 8.1, and 10 and 11.
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": (6, 0),
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": (6, 1),
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": (6, 2),
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": (6, 3),
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": (10, 0),
}
SOURCE = Path(__file__).resolve().parents[2]
SOURCE_README = SOURCE / "README.md"


def windows_name(version):
    return next(name for name, v in WINDOWS.items() if v == version)


def needed_windows(pe):
    """The newest first Windows among the imported functions, the functions that need it, and
    the imports FIRST_WINDOWS should know but does not."""
    needed, why, unknown = W7, [], []
    for entry in pe.DIRECTORY_ENTRY_IMPORT:
        dll = entry.dll.decode().lower()
        dll_first = FIRST_WINDOWS_OF_DLL.get(dll, W7)
        for function in entry.imports:
            name = function.name.decode() if function.name else f"#{function.ordinal}"
            if name not in FIRST_WINDOWS and (NEWER_NAMES.search(name) or (
                    dll.startswith("api-ms-win-") and dll not in FIRST_WINDOWS_OF_DLL)):
                unknown.append(f"{dll}!{name}")
            first = max(FIRST_WINDOWS.get(name, W7), dll_first)
            if first > needed:
                needed, why = first, []
            if first == needed:
                why.append(name)
    return needed, sorted(why), unknown


def stated_windows(text):
    """The oldest Windows a text names, as in "Windows 10, version 1703 or later"."""
    found = re.findall(r"(Windows [0-9.]+(?:, version \d{4})?|Windows Vista) or later", text)
    return sorted({WINDOWS[name] for name in found if name in WINDOWS}), found


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
            cls.readme = archive.read(cls.folder + "README.txt")

    def test_contents(self):
        self.assertEqual(self.names, [self.folder + name for name in
                                      ("LICENSE.txt", "NOTICE.md", "README.txt",
                                       "THIRD-PARTY-NOTICES.txt", "mirthkey.exe")])
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
        resources = {entry.id: entry for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries}
        self.assertIn(pefile.RESOURCE_TYPE["RT_GROUP_ICON"], resources)

        # The application manifest: resource 1 of RT_MANIFEST, as Windows reads it.
        manifests = resources[pefile.RESOURCE_TYPE["RT_MANIFEST"]].directory.entries
        self.assertEqual([entry.id for entry in manifests], [1])
        data = manifests[0].directory.entries[0].data.struct
        manifest = ElementTree.fromstring(pe.get_data(data.OffsetToData, data.Size))
        found = lambda path: manifest.findall(path, MANIFEST_NAMES)
        needed, _, _ = needed_windows(pe)
        # An entry stands for its systems up to the next entry's: the last one the program
        # cannot run on is the one below the oldest it runs on.
        runs_on = {guid for guid, first in SUPPORTED_OS.items()
                   if not any(first < other <= needed[:2] for other in SUPPORTED_OS.values())}
        self.assertEqual({node.get("Id") for node in found(".//compat:supportedOS")}, runs_on)
        self.assertEqual([node.text for node in found(".//ws2016:dpiAwareness")], ["PerMonitorV2"])
        self.assertEqual([node.text for node in found(".//ws2005:dpiAware")], ["true/pm"])
        self.assertEqual([node.get("level") for node in found(".//asmv3:requestedExecutionLevel")],
                         ["asInvoker"])
        controls = [node for node in found(".//v1:dependentAssembly/v1:assemblyIdentity")
                    if node.get("name") == "Microsoft.Windows.Common-Controls"]
        self.assertEqual([node.get("version") for node in controls], ["6.0.0.0"])

    def test_stated_windows_is_what_the_imports_need(self):
        pe = pefile.PE(data=self.exe)
        needed, why, unknown = needed_windows(pe)
        self.assertEqual(unknown, [], "imports whose first Windows FIRST_WINDOWS does not know")
        print(f"\nthe imports need {windows_name(needed)}: {', '.join(why)}", file=sys.stderr)
        # Notepad before Windows 10 1903 reads a text file without a byte order mark in the
        # system's code page, and the README.txt is partly Chinese.
        self.assertTrue(self.readme.startswith(b"\xef\xbb\xbf"))
        self.assertIn(b"\r\n", self.readme)
        for where, text in (("README.txt", self.readme.decode("utf-8-sig")),
                            ("README.md", SOURCE_README.read_text(encoding="utf-8"))):
            stated, phrases = stated_windows(text)
            self.assertEqual(stated, [needed], f"{where} states {phrases}")
        # Nor may the header ask for a newer Windows than that.
        header = pe.OPTIONAL_HEADER
        self.assertLessEqual((header.MajorSubsystemVersion, header.MinorSubsystemVersion),
                             needed[:2])
        self.assertLessEqual(
            (header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion), needed[:2])


# The zip as a release: the very program that was built, text in Windows' line ends, and
# nothing of the hour or the machine of the build.
TEXTS = {"LICENSE.txt": "LICENSE", "NOTICE.md": "assets/NOTICE.md",
         "THIRD-PARTY-NOTICES.txt": "packaging/windows/THIRD-PARTY-NOTICES.txt"}


def package_time():
    """SOURCE_DATE_EPOCH, else the last commit's time, else the release date (README)."""
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    commit = subprocess.run(["git", "-C", str(SOURCE), "log", "-1", "--format=%ct"],
                            capture_output=True, text=True)
    top = subprocess.run(["git", "-C", str(SOURCE), "rev-parse", "--show-toplevel"],
                         capture_output=True, text=True)
    if commit.returncode == 0 and Path(top.stdout.strip()) == SOURCE:
        return int(commit.stdout)
    history = (SOURCE / "commands/data/history.txt").read_text(encoding="utf-8")
    day = re.search(rf"^release (\S+) {re.escape(VERSION)}$", history, re.M).group(1)
    return calendar.timegm(time.strptime(day, "%Y-%m-%d"))


class ZipRelease(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        out = Path(SCRATCH) / "release"
        shutil.rmtree(out, ignore_errors=True)
        subprocess.run([CPACK, "--config", CONFIG, "-G", "ZIP", "-B", str(out)], check=True,
                       stdout=subprocess.DEVNULL)
        cls.archive = zipfile.ZipFile(out / f"mirthkey-{VERSION}-windows-x86_64.zip")
        cls.folder = f"mirthkey-{VERSION}-windows-x86_64/"
        cls.exe = cls.archive.read(cls.folder + "mirthkey.exe")

    def test_the_program_built(self):
        # Not stripped or otherwise rewritten on the way into the zip.
        built = Path(CONFIG).parent / "mirthkey.exe"
        self.assertEqual(self.exe, built.read_bytes(), f"{built} differs from the zip's")

    def test_no_link_time_and_hardened(self):
        pe = pefile.PE(data=self.exe)
        self.assertEqual(pe.FILE_HEADER.TimeDateStamp, 0)
        for entry in getattr(pe, "DIRECTORY_ENTRY_DEBUG", []):
            self.assertEqual(entry.struct.TimeDateStamp, 0)
        characteristics = pe.OPTIONAL_HEADER.DllCharacteristics
        for flag in ("IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE",
                     "IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA",
                     "IMAGE_DLLCHARACTERISTICS_NX_COMPAT"):
            self.assertTrue(characteristics & pefile.DLL_CHARACTERISTICS[flag], flag)
        # libssp, linked in: what the stack protector and the fortified functions call on a
        # broken stack or an overflowing buffer.
        self.assertIn(b"*** stack smashing detected ***", self.exe)
        self.assertIn(b"*** buffer overflow detected ***", self.exe)

    def test_texts_end_lines_with_cr_lf(self):
        for name, source in TEXTS.items():
            text = self.archive.read(self.folder + name)
            original = (SOURCE / source).read_bytes().replace(b"\r\n", b"\n")
            self.assertEqual(text, original.replace(b"\n", b"\r\n"), name)

    def test_entries_in_order_with_one_time(self):
        entries = self.archive.infolist()
        names = [entry.filename for entry in entries]
        self.assertEqual(names, sorted(names))
        # A zip keeps local times without a zone; the package's are UTC, in two-second steps.
        when = time.gmtime(package_time())
        expected = when[:5] + (when.tm_sec // 2 * 2,)
        self.assertEqual({entry.filename: entry.date_time for entry in entries},
                         {name: expected for name in names})


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
