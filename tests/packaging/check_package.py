#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks of the Debian package and of the Windows resources.

    check_package.py build             builds the .deb with CPack and unpacks it
    check_package.py <TestClass>...    runs those checks on the unpacked package

Settings come from the environment (see tests/packaging/CMakeLists.txt). A check whose tool
is missing is skipped; when every check of a run is skipped, the exit status is 77.
"""

import datetime
import email.utils
import fnmatch
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

ENV = os.environ
SCRATCH = Path(ENV.get("MIRTHKEY_SCRATCH", "."))
ROOT = SCRATCH / "root"
USR = ROOT / "usr"
VERSION = ENV.get("MIRTHKEY_VERSION", "")
APP_ID = ENV.get("MIRTHKEY_APP_ID", "")
RUNTIME_PACKAGES = ("libqt6core6", "libqt6gui6", "libqt6widgets6", "qt6-qpa-plugins",
                    "fonts-arphic-uming", "qt6-translations-l10n", "xdg-utils")
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def run(*args, check=True):
    return subprocess.run(args, check=check, capture_output=True, text=True)


def run_bytes(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout


def need(*tools):
    missing = [tool for tool in tools if not shutil.which(tool)]
    if missing:
        raise unittest.SkipTest("missing " + ", ".join(missing))


def the_deb():
    debs = sorted((SCRATCH / "out").glob("*.deb"))
    if len(debs) != 1:
        raise AssertionError(f"expected one .deb in {SCRATCH / 'out'}, found {debs}")
    return debs[0]


def build():
    """Makes the package from this build tree into SCRATCH/out and unpacks it into SCRATCH/root."""
    need("dpkg-deb", "dpkg-shlibdeps")
    shutil.rmtree(SCRATCH, ignore_errors=True)
    SCRATCH.mkdir(parents=True)
    result = run(ENV["MIRTHKEY_CPACK"], "--config", ENV["MIRTHKEY_CPACK_CONFIG"],
                 "-G", "DEB", "-B", str(SCRATCH / "out"), check=False)
    if result.returncode != 0:
        sys.exit(f"cpack failed:\n{result.stdout}{result.stderr}")
    deb = the_deb()
    arch = run("dpkg", "--print-architecture").stdout.strip()
    if deb.name != f"mirthkey_{VERSION}_{arch}.deb":
        sys.exit(f"package file is named {deb.name}")
    run("dpkg-deb", "-x", str(deb), str(ROOT))
    print(f"built and unpacked {deb.name}")


def desktop_entry():
    """The [Desktop Entry] group of the installed .desktop file as a dict."""
    path = USR / "share/applications" / f"{APP_ID}.desktop"
    entry, group = {}, None
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("["):
            group = line
        elif group == "[Desktop Entry]" and "=" in line and not line.startswith("#"):
            key, value = line.split("=", 1)
            entry[key.strip()] = value.strip()
    return entry


class Control(unittest.TestCase):
    """The package's control fields and its dependency line."""

    @classmethod
    def setUpClass(cls):
        need("dpkg-deb")
        cls.fields = {}
        for line in run("dpkg-deb", "-f", str(the_deb())).stdout.splitlines():
            if line and not line[0].isspace():
                key, value = line.split(":", 1)
                cls.fields[key] = value.strip()
            elif line:
                cls.fields["Description"] += "\n" + line

    def test_fields(self):
        f = self.fields
        self.assertEqual(f["Package"], "mirthkey")
        self.assertEqual(f["Version"], VERSION)
        self.assertEqual(f["Section"], "utils")
        self.assertEqual(f["Architecture"], run("dpkg", "--print-architecture").stdout.strip())
        self.assertTrue(f["Maintainer"].endswith(f"<{ENV['MIRTHKEY_AUTHOR_EMAIL']}>"),
                        f["Maintainer"])
        self.assertEqual(f["Homepage"], ENV["MIRTHKEY_WEBSITE"])
        summary, *body = f["Description"].split("\n")
        self.assertTrue(summary and len(summary) < 80, summary)
        self.assertTrue(body, "no extended description")
        for line in body:  # a space, then at most 79 columns
            self.assertRegex(line, r"^ \S", f"badly formed description line {line!r}")
            self.assertLessEqual(len(line), 80, f"description line too long: {line!r}")

    def test_depends_on_the_runtime(self):
        depends = [part.strip() for part in self.fields["Depends"].split(",")]
        names = [re.match(r"[a-z0-9.+-]+", alt.strip()).group(0)
                 for part in depends for alt in part.split("|")]
        for package in RUNTIME_PACKAGES:
            self.assertIn(package, names)
        self.assertEqual(len(names), len(set(names)), f"a package is named twice: {names}")

        # This machine runs the program in the other tests: every dependency must be met here.
        for part in depends:
            met = False
            for alt in part.split("|"):
                m = re.fullmatch(r"\s*([a-z0-9.+-]+)\s*(?:\((\S+)\s+(\S+)\))?\s*", alt)
                self.assertIsNotNone(m, f"unreadable dependency {alt!r}")
                name, op, wanted = m.groups()
                status, _, have = run("dpkg-query", "-W", "-f=${Status}|${Version}", name,
                                      check=False).stdout.partition("|")
                if status.endswith(" installed") and (not op or subprocess.run(
                        ["dpkg", "--compare-versions", have, op, wanted]).returncode == 0):
                    met = True
            self.assertTrue(met, f"dependency {part!r} is not met on this machine")


class Contents(unittest.TestCase):
    """Where the files go, who owns them, and the programs themselves."""

    def test_layout_and_modes(self):
        need("dpkg-deb")
        listing = run("dpkg-deb", "-c", str(the_deb())).stdout.splitlines()
        executables = {"./usr/bin/mirthkey"}
        for line in listing:
            mode, owner, _size, _date, _time, path = line.split(None, 5)
            self.assertEqual(owner, "root/root", path)
            self.assertTrue(path.startswith("./usr/"), f"{path} is outside /usr")
            if mode.startswith("-"):
                wanted = "-rwxr-xr-x" if path in executables else "-rw-r--r--"
                self.assertEqual(mode, wanted, path)
                executables.discard(path)
        self.assertFalse(executables, "missing from the package")

    def test_programs(self):
        need("file", "objdump", "objcopy")
        program = USR / "bin/mirthkey"
        kind = run("file", "-b", str(program)).stdout
        self.assertRegex(kind, r"^ELF .* executable")
        self.assertRegex(kind, r", stripped$")
        dynamic = run("objdump", "-p", str(program)).stdout.splitlines()
        paths = [line.strip() for line in dynamic if re.match(r"\s+(RPATH|RUNPATH)\s", line)]
        self.assertEqual(paths, [], "the program has a library search path")

        # Stripping must keep the version record the window's caption is read from.
        with tempfile.TemporaryDirectory() as tmp:
            section = Path(tmp) / "section"
            run("objcopy", f"--dump-section=.mirthkey_version={section}", str(program),
                str(Path(tmp) / "copy"))
            built = Path(ENV["MIRTHKEY_APP_RECORD"]).read_bytes()
            self.assertEqual(section.read_bytes(), built, "the version record changed")

    def test_notice(self):
        notice = USR / "share/doc/mirthkey/NOTICE.md"
        source = Path(ENV["MIRTHKEY_SOURCE_DIR"]) / "assets/NOTICE.md"
        self.assertEqual(notice.read_bytes(), source.read_bytes())

    def test_copyright(self):
        # Debian's machine-readable format: a header, then paragraphs whose License
        # names each have a stand-alone licence paragraph; the code is GPL-3.0-or-later.
        text = (USR / "share/doc/mirthkey/copyright").read_text(encoding="utf-8")
        paragraphs = [p for p in text.split("\n\n") if p.strip()]
        self.assertTrue(paragraphs[0].startswith("Format: https://www.debian.org/doc/"
                                                 "packaging-manuals/copyright-format/1.0/"))
        fields = [dict(re.findall(r"^([A-Za-z-]+): ?(.*)$", p, re.M)) for p in paragraphs]
        files = [f for f in fields if "Files" in f]
        licences = {f["License"] for f in fields if "License" in f and "Files" not in f}
        self.assertEqual(files[0]["Files"], "*")
        self.assertEqual(files[0]["License"], "GPL-3.0-or-later")
        self.assertRegex(files[0]["Copyright"], r"^\d{4}")
        for paragraph in files:
            self.assertIn(paragraph["License"], licences)
        self.assertNotIn("@", text.replace(ENV["MIRTHKEY_AUTHOR_EMAIL"], ""))


class DesktopEntry(unittest.TestCase):
    """The menu entry: valid, in both languages, pointing at what the package installs."""

    def test_validates(self):
        need("desktop-file-validate")
        path = USR / "share/applications" / f"{APP_ID}.desktop"
        result = run("desktop-file-validate", str(path), check=False)
        self.assertEqual((result.returncode, result.stdout), (0, ""), result.stdout)

    def test_keys(self):
        entry = desktop_entry()
        for key in ("Name", "Name[zh_CN]", "Comment", "Comment[zh_CN]"):
            self.assertTrue(entry.get(key), f"{key} missing")
        self.assertTrue((USR / "bin" / entry["Exec"].split()[0]).is_file(), entry["Exec"])
        self.assertTrue((USR / "share/icons/hicolor/256x256/apps" /
                         f"{entry['Icon']}.png").is_file(), entry["Icon"])


class Metainfo(unittest.TestCase):
    """The AppStream description: valid alone and with the installed tree."""

    def test_validates(self):
        need("appstreamcli")
        path = USR / "share/metainfo" / f"{APP_ID}.metainfo.xml"
        for args in (["validate", "--no-net", str(path)],
                     ["validate-tree", "--no-net", str(ROOT)]):
            result = run("appstreamcli", *args, check=False)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_follows_the_build(self):
        root = ET.parse(USR / "share/metainfo" / f"{APP_ID}.metainfo.xml").getroot()
        self.assertEqual(root.findtext("id"), APP_ID)
        launchable = root.findtext("launchable[@type='desktop-id']")
        self.assertTrue((USR / "share/applications" / launchable).is_file(), launchable)
        self.assertEqual(root.findtext("url[@type='homepage']"), ENV["MIRTHKEY_WEBSITE"])
        binary = root.findtext("provides/binary")
        self.assertTrue((USR / "bin" / binary).is_file(), f"provides {binary}")
        releases = root.findall("releases/release")
        self.assertEqual(releases[0].get("version"), VERSION)
        self.assertRegex(releases[0].get("date"), r"^\d{4}-\d{2}-\d{2}$")


class Icons(unittest.TestCase):
    """The hicolor icons, at the size their folder says."""

    def test_sizes(self):
        need("file")
        hicolor = USR / "share/icons/hicolor"
        icon = desktop_entry()["Icon"]
        for size in ICON_SIZES:
            kind = run("file", "-b", str(hicolor / f"{size}x{size}/apps/{icon}.png")).stdout
            self.assertIn(f"PNG image data, {size} x {size}, 8-bit/color RGBA", kind)
        kind = run("file", "-b", str(hicolor / f"scalable/apps/{icon}.svg")).stdout
        self.assertIn("SVG", kind)


class Hardening(unittest.TestCase):
    """The packaged program as hardening-check (package devscripts) reads it."""

    def test_every_protection(self):
        need("hardening-check")
        result = run("hardening-check", str(USR / "bin/mirthkey"), check=False)
        report = dict(line.strip().split(": ", 1) for line in result.stdout.splitlines()[1:]
                      if ": " in line)
        for name in ("Position Independent Executable", "Stack protected",
                     "Fortify Source functions", "Read-only relocations", "Immediate binding",
                     "Control flow integrity"):
            self.assertRegex(report.get(name, "missing"), r"^yes\b", f"{name}\n{result.stdout}")
        # Stack clash protection shows only in functions with frames larger than a page;
        # where there is none, the tool cannot tell.
        self.assertRegex(report.get("Stack clash protection", "missing"), r"^(yes|unknown)\b",
                         result.stdout)
        self.assertEqual(result.returncode, 0, result.stdout)


class Lintian(unittest.TestCase):
    """Debian's package checker finds nothing to say, at any level."""

    def test_no_tags(self):
        need("lintian")
        result = run("lintian", "--pedantic", "--display-info", "--fail-on",
                     "error,warning,info,pedantic", str(the_deb()), check=False)
        tags = [line for line in result.stdout.splitlines() if re.match(r"^[A-Z]: ", line)]
        self.assertEqual(tags, [], result.stdout)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)


class Documents(unittest.TestCase):
    """The changelog, made from the update history, and the manual page."""

    def test_changelog(self):
        need("dpkg-parsechangelog", "gzip")
        with tempfile.TemporaryDirectory() as tmp:
            changelog = Path(tmp) / "changelog"
            changelog.write_bytes(run_bytes("gzip", "-dc", str(USR / "share/doc/mirthkey/changelog.gz")))
            fields = run("dpkg-parsechangelog", "-l", str(changelog)).stdout
        entry = dict(re.findall(r"^([A-Za-z-]+): (.*)$", fields, re.M))
        self.assertEqual(entry["Source"], "mirthkey")
        self.assertEqual(entry["Version"], VERSION)
        self.assertEqual(entry["Maintainer"], run("dpkg-deb", "-f", str(the_deb()),
                                                  "Maintainer").stdout.strip())
        # The same lines as the history button shows: the first note, and the version as the
        # history names it (major.minor and the fourth part), released on the metainfo's date.
        major, minor, _patch, build = VERSION.split(".")
        changes = fields.split("Changes:", 1)[1]
        self.assertIn("* 2005年07月17日 软件的雏形诞生；", changes)
        self.assertIn(f"* 软件己更新到 V{major}.{minor}.{build}版", changes)
        released = ET.parse(USR / "share/metainfo" / f"{APP_ID}.metainfo.xml").getroot().find(
            f"releases/release[@version='{VERSION}']").get("date")
        day = run("date", "-u", "-d", entry["Date"], "+%Y-%m-%d %H:%M:%S").stdout.strip()
        self.assertEqual(day, f"{released} 00:00:00")

    def test_manual_page(self):
        need("man")
        page = USR / "share/man/man1/mirthkey.1.gz"
        result = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", str(page)],
                                capture_output=True, text=True,
                                env=dict(ENV, MANWIDTH="80", MAN_KEEP_FORMATTING="0"))
        self.assertEqual(result.stderr, "")
        text = re.sub(r".\x08", "", result.stdout)
        for section in ("NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "ENVIRONMENT", "FILES",
                        "EXIT STATUS"):
            self.assertRegex(text, rf"(?m)^{section}$")
        for word in ("QT_QPA_PLATFORM", "DISPLAY", ".mirthkey-backup", "XDG_CACHE_HOME"):
            self.assertIn(word, text)

        # Every file the package installs is named under FILES, and every name there is in it.
        source = run_bytes("gzip", "-dc", str(page)).decode()
        named = re.findall(r"^\.I (/\S+)$", source, re.M)
        installed = ["/" + str(p.relative_to(ROOT)) for p in ROOT.rglob("*") if p.is_file()]
        for pattern in named:
            glob = pattern.rstrip("/") + ("/*" if pattern.endswith("/") else "")
            self.assertTrue([p for p in installed if fnmatch.fnmatch(p, glob)], pattern)
        for path in installed:
            if "/man/" not in path:
                self.assertTrue([n for n in named if fnmatch.fnmatch(path, n.rstrip("/") + (
                    "/*" if n.endswith("/") else ""))], f"{path} is not under FILES")


class History(unittest.TestCase):
    """The update history as the build reads it (commands/History.cmake)."""

    HEADER = "heading 软件更新历史：\nnote 2005-07-17 软件的雏形诞生；\nupdated 软件己更新到 V@VERSION@版\n"

    def read(self, history, version, days=()):
        with tempfile.TemporaryDirectory() as tmp:
            path = Path(tmp) / "history.txt"
            path.write_text(history, encoding="utf-8")
            result = run(ENV.get("MIRTHKEY_CMAKE", "cmake"), f"-DPROJECT_VERSION={version}",
                         f"-DMIRTHKEY_HISTORY_FILE={path}", f"-DDAYS={';'.join(days)}", "-P",
                         str(Path(__file__).with_name("history.cmake")), check=False)
        return result.returncode, dict(re.findall(r"^-- ([^=]+)=(.*)$", result.stdout, re.M)), \
            result.stderr

    def test_days(self):
        # Against Python's own calendar: leap days, the turn of centuries and of years.
        days = ("1970-01-01", "2000-02-29", "2005-07-17", "2024-12-31", "2026-12-08",
                "2100-03-01")
        status, read, errors = self.read(self.HEADER + "release 2026-12-08 1.2.0.65\n",
                                         "1.2.0.65", days)
        self.assertEqual(status, 0, errors)
        for day in days:
            when = datetime.datetime.strptime(day, "%Y-%m-%d").replace(tzinfo=datetime.timezone.utc)
            self.assertEqual(read[day], f"{int(when.timestamp())}|"
                             f"{email.utils.format_datetime(when).replace('-0000', '+0000')}")
        self.assertEqual(read["release date"], "2026-12-08")
        self.assertEqual(read["updated"], "软件己更新到 V1.2.65版")

    def test_newest_release_is_the_version(self):
        status, read, _ = self.read(self.HEADER + "release 2026-12-08 1.2.0.65\n"
                                    "release 2027-03-01 1.3.0.70\n", "1.3.0.70")
        self.assertEqual((status, read["release date"], read["updated"]),
                         (0, "2027-03-01", "软件己更新到 V1.3.70版"))

    def test_refusals(self):
        cases = {
            "a version without its release line": (
                self.HEADER + "release 2026-12-08 1.2.0.65\n", "1.3.0.70",
                "add a line 'release <yyyy-mm-dd> 1.3.0.70'"),
            "a day the calendar does not have": (
                self.HEADER + "release 2026-02-29 1.2.0.65\n", "1.2.0.65", "no day 2026-02-29"),
            "entries out of order": (
                self.HEADER + "release 2004-01-01 1.2.0.65\n", "1.2.0.65", "oldest first"),
            "a line of no known kind": (
                self.HEADER + "released 2026-12-08 1.2.0.65\n", "1.2.0.65", "cannot read"),
        }
        for name, (history, version, said) in cases.items():
            with self.subTest(name):
                status, _, errors = self.read(history, version)
                self.assertNotEqual(status, 0)
                self.assertIn(said, " ".join(errors.split()))


class WindowsResources(unittest.TestCase):
    """The icon resource compiles with the version resource into one Windows program."""

    def test_icon_and_version(self):
        windres, ld = ENV.get("MIRTHKEY_WINDRES"), ENV.get("MIRTHKEY_MINGW_LD")
        if not windres or not ld:
            raise unittest.SkipTest("no MinGW resource compiler or linker")
        try:
            import pefile
        except ImportError:
            raise unittest.SkipTest("python3-pefile missing")
        with tempfile.TemporaryDirectory() as tmp:
            objects = []
            for rc in (ENV["MIRTHKEY_ICON_RC"], ENV["MIRTHKEY_APP_RC"]):
                objects.append(str(Path(tmp) / (Path(rc).stem + ".o")))
                run(windres, "--preprocessor=cpp", rc, "-O", "coff", "-o", objects[-1])
            exe = str(Path(tmp) / "resources.exe")
            run(ld, *objects, "-o", exe, "--entry=0")
            pe = pefile.PE(exe)

        types = {entry.id: entry for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries}
        self.assertIn(pefile.RESOURCE_TYPE["RT_VERSION"], types)
        groups = types[pefile.RESOURCE_TYPE["RT_GROUP_ICON"]].directory.entries
        self.assertEqual([str(group.name) for group in groups], ["IDI_ICON1"])
        data_entry = groups[0].directory.entries[0].data.struct
        data = pe.get_data(data_entry.OffsetToData, data_entry.Size)
        count = int.from_bytes(data[4:6], "little")
        sizes = sorted(data[6 + 14 * i] or 256 for i in range(count))  # 0 stands for 256
        self.assertEqual(sizes, [16, 24, 32, 48, 256])


def main(argv):
    if argv[1:] == ["build"]:
        try:
            build()
        except unittest.SkipTest as skip:
            print(f"skipped: {skip}")
            return 77
        return 0
    loader = unittest.defaultTestLoader
    suite = unittest.TestSuite(loader.loadTestsFromName(name, sys.modules[__name__])
                               for name in argv[1:])
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    if not result.wasSuccessful():
        return 1
    return 77 if len(result.skipped) == result.testsRun else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
