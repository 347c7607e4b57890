#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the source of a build tree again in another folder and compares the results.

    rebuild_elsewhere.py <build dir> <work dir> <cpack generator> <file>...

The source of <build dir> (its commit, with the changes of the work tree) is copied under
<work dir>/second, its build folder placed as in the first (inside the source or beside it),
configured with the same settings (tests left out), built from nothing, without a compiler
cache, and packed with cpack. Each <file>, a path relative to a build folder, and the package
must be the same bytes in both; where they are not, diffoscope (Debian package
diffoscope-minimal) says how. The work folder stays after a failure, for a closer look.

A compiler cache would hand a build objects compiled in another folder, and rewrites the
paths it compiles with: the second copy never uses one, and where <build dir> was compiled
through one, a first copy is built under <work dir>/first as well.
"""

import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

# Settings that shape what is built; found programs and internal entries are found again.
SETTINGS = re.compile(r"^(CMAKE_BUILD_TYPE|CMAKE_INSTALL_PREFIX|CMAKE_(C|CXX)_COMPILER|"
                      r"CMAKE_(C|CXX|EXE_LINKER)_FLAGS(_[A-Z]+)?|CMAKE_TOOLCHAIN_FILE|"
                      r"QT_CHAINLOAD_TOOLCHAIN_FILE|MIRTHKEY_(AUTHOR_NICK|AUTHOR_EMAIL|WEBSITE|"
                      r"RIGHTS|APP_ID|SCREENSHOT_URL|HARDENING))$")


def run(*args, cwd=None, env=None, stdin=None):
    result = subprocess.run(args, cwd=cwd, env=env, input=stdin, capture_output=True)
    if result.returncode != 0:
        sys.exit(f"{' '.join(map(str, args))} failed:\n"
                 f"{result.stdout.decode(errors='replace')[-4000:]}"
                 f"{result.stderr.decode(errors='replace')[-4000:]}")
    return result.stdout


def cache_of(build):
    entries = {}
    for line in (build / "CMakeCache.txt").read_text(encoding="utf-8").splitlines():
        m = re.match(r"^([^#/][^:]*):([A-Z]+)=(.*)$", line)
        if m:
            entries[m.group(1)] = (m.group(2), m.group(3))
    return entries


def copy_source(source, dest):
    """The commit checked out in `source`, with its uncommitted changes and new files."""
    git = shutil.which("git")
    top = subprocess.run([git, "-C", source, "rev-parse", "--show-toplevel"], capture_output=True,
                         text=True) if git else None
    if not top or top.returncode != 0 or Path(top.stdout.strip()) != source:
        # No repository: the files as they are, without build folders.
        shutil.copytree(source, dest, symlinks=True,
                        ignore=shutil.ignore_patterns(".git", "build*"))
        return
    run(git, "clone", "--quiet", "--shared", "--no-checkout", source, dest)
    run(git, "-C", dest, "checkout", "--quiet", "--detach",
        run(git, "-C", source, "rev-parse", "HEAD").decode().strip())
    changes = run(git, "-C", source, "diff", "--binary", "HEAD")
    if changes:
        run(git, "-C", dest, "apply", "--binary", "-", stdin=changes)
    others = run(git, "-C", source, "ls-files", "-z", "--others", "--exclude-standard")
    for name in filter(None, others.decode().split("\0")):
        (dest / name).parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source / name, dest / name, follow_symlinks=False)


def package(build, generator, out):
    shutil.rmtree(out, ignore_errors=True)
    run("cpack", "--config", build / "CPackConfig.cmake", "-G", generator, "-B", out)
    found = sorted(p for p in out.iterdir() if p.is_file())
    if len(found) != 1:
        sys.exit(f"cpack left {found} in {out}")
    return found[0]


def through_launcher(build, cache):
    """Whether the build compiles through a launcher, such as a compiler cache: its compile
    commands do not start with the compiler."""
    compiler = cache.get("CMAKE_CXX_COMPILER", (None, None))[1]
    if not compiler:  # chosen by a toolchain file, and kept beside the cache
        for found in build.glob("CMakeFiles/*/CMakeCXXCompiler.cmake"):
            compiler = re.search(r'^set\(CMAKE_CXX_COMPILER "([^"]*)"\)', found.read_text(),
                                 re.M).group(1)
    rules = [build / "CMakeFiles/rules.ninja"] if (build / "build.ninja").exists() else \
        build.glob("**/CMakeFiles/*.dir/build.make")
    for path in rules:
        for line in path.read_text(errors="replace").splitlines():
            m = re.match(r"^(?:\s*command = |\t(?:cd \S+ && )?)(\S+) .* -c (\$in|\S+\.cpp)$", line)
            if m:
                return m.group(1) != compiler
    return False


def build_copy(first, cache, root):
    """Copies the source of `first` under `root` and builds it; returns the new build folder.
    The build folder lies where it lies from its source in `first`: the relative paths between
    them (in the includes of generated files, say) are the same."""
    source = Path(cache["CMAKE_HOME_DIRECTORY"][1])
    common = Path(os.path.commonpath([source, first]))
    copy_source(source, root / source.relative_to(common))
    build = root / first.relative_to(common)
    env = {k: v for k, v in os.environ.items() if not k.endswith("_COMPILER_LAUNCHER")}
    env["CCACHE_DISABLE"] = "1"
    settings = [f"-D{name}:{kind}={value}" for name, (kind, value) in cache.items()
                if SETTINGS.match(name)]
    run("cmake", "-S", root / source.relative_to(common), "-B", build,
        "-G", cache["CMAKE_GENERATOR"][1], "-DBUILD_TESTING=OFF", *settings, env=env)
    started = time.monotonic()
    run("cmake", "--build", build, "--parallel", str(os.cpu_count() or 2), env=env)
    print(f"built {build} in {time.monotonic() - started:.0f} s")
    return build


def main(argv):
    first, work, generator, *files = argv[1:]
    first, work = Path(first).resolve(), Path(work).resolve()
    cache = cache_of(first)
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    # A build through a compiler cache may hold objects compiled elsewhere, and with the
    # cache's own rewriting of paths: then the first copy is built here too.
    if through_launcher(first, cache):
        print(f"{first} compiles through a launcher: building a first copy as well")
        first = build_copy(first, cache, work / "first")
    second = build_copy(first, cache_of(first), work / "second")

    pairs = [(first / name, second / name) for name in files]
    pairs.append((package(first, generator, work / "package-first"),
                  package(second, generator, work / "package-second")))
    differ = [(a, b) for a, b in pairs if a.read_bytes() != b.read_bytes()]
    for pair in pairs:
        for path in pair:
            print(subprocess.run(["sha256sum", path], capture_output=True, text=True).stdout,
                  end="")
        print(f"{pair[0].name}: {'they differ' if pair in differ else 'the same bytes'}")
    if not differ:
        shutil.rmtree(work)
        return 0
    for a, b in differ:
        print(f"\n{a}\n{b}\ndiffer.")
        if shutil.which("diffoscope"):
            shown = subprocess.run(["diffoscope", "--text", "-", "--max-report-size", "200000",
                                    a, b], capture_output=True, text=True).stdout
            print("\n".join(shown.splitlines()[:300]))
        else:
            print("(install diffoscope-minimal to see where)")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
