#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up, memory and idle cost of desktop programs under X11, each run alone.

    bench-idle.py [--runs N] [--idle S] [--bare LABEL] [--floor LABEL] LABEL=PROGRAM ...

Every run gets a new Xvfb with openbox, a new empty home folder and no session bus, so
that each program pays its own start-up (font caches included) and its window is active,
as on a desktop. Runs are interleaved (a warm-up round first, then A B C A B C ...).
Per run:
  map      exec to the first top-level window of the program becoming viewable, seen
           from an X client that watches the server's events (no polling);
  peak RSS VmHWM of the program at the end of the run;
  then, from 2 s after the map, for the idle window:
  CPU      of all threads of the program (schedstat, nanoseconds);
  wake-ups times its threads were put on a processor, per second;
  X CPU    of the X server, which draws what the program sends;
  then the same again in the background, as the program is used beside the chat: once a
  small window of the benchmark's own, in the screen's corner, has the keyboard.
Prints one line per figure ("name: result"), medians with min and max, and ratios: map
and peak RSS to the bare window, the idle figures to the floor.
Needs Python's standard library, Xvfb and openbox.
"""
import argparse
import os
import select
import shlex
import shutil
import signal
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time

CREATE_NOTIFY, MAP_NOTIFY = 16, 19
STRUCTURE, SUBSTRUCTURE = 0x20000, 0x80000


class X:
    """Just enough of the X11 protocol: events, and the replies asked for."""

    def __init__(self, display):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect("/tmp/.X11-unix/X%d" % display)
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self._read(8)
        body = self._read(struct.unpack_from("<H", head, 6)[0] * 4)
        if head[0] != 1:
            raise RuntimeError("the X server refused the connection")
        self.base, self.mask = struct.unpack_from("<II", body, 4)
        vendor, formats = struct.unpack_from("<H", body, 16)[0], body[21]
        self.root = struct.unpack_from("<I", body, 32 + (vendor + 3) // 4 * 4 + 8 * formats)[0]
        self.seq = 0
        self.next_id = 1
        self.buffer = b""
        self.events = []  # (time read, event)
        self.replies = {}

    def _read(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise RuntimeError("the X server closed the connection")
            data += chunk
        return data

    def close(self):
        self.sock.close()

    def new_id(self):
        self.next_id += 1
        return self.base | (self.next_id & self.mask)

    def owner(self, xid):
        return xid & ~self.mask

    def send(self, opcode, data=0, body=b""):
        body += b"\0" * (-len(body) % 4)
        self.sock.sendall(struct.pack("<BBH", opcode, data, 1 + len(body) // 4) + body)
        self.seq = (self.seq + 1) & 0xFFFF
        return self.seq

    def pump(self, timeout):
        """Reads what the server sent within timeout; False when nothing came."""
        ready, _, _ = select.select([self.sock], [], [], max(0.0, timeout))
        if not ready:
            return False
        chunk = self.sock.recv(1 << 16)
        if not chunk:
            raise RuntimeError("the X server closed the connection")
        now = time.monotonic()
        self.buffer += chunk
        while len(self.buffer) >= 32:
            kind = self.buffer[0]
            size = 32 + (4 * struct.unpack_from("<I", self.buffer, 4)[0] if kind == 1 else 0)
            if len(self.buffer) < size:
                break
            message, self.buffer = self.buffer[:size], self.buffer[size:]
            if kind == 1:
                self.replies[struct.unpack_from("<H", message, 2)[0]] = message
            elif kind == 0:
                self.replies[struct.unpack_from("<H", message, 2)[0]] = None
            else:
                self.events.append((now, message))
        return True

    def reply(self, seq, timeout=10):
        deadline = time.monotonic() + timeout
        while seq not in self.replies:
            if time.monotonic() > deadline:
                raise RuntimeError("the X server did not answer")
            self.pump(deadline - time.monotonic())
        return self.replies.pop(seq)

    def select_input(self, window, mask):
        self.send(2, 0, struct.pack("<III", window, 0x800, mask))

    def attributes(self, window):
        """(viewable, input-output, override-redirect), or None for a window that is gone."""
        r = self.reply(self.send(3, 0, struct.pack("<I", window)))
        return r and (r[26] == 2, struct.unpack_from("<H", r, 12)[0] == 1, bool(r[27]))

    def size(self, window):
        r = self.reply(self.send(14, 0, struct.pack("<I", window)))
        return r and struct.unpack_from("<HH", r, 16)

    def children(self, window):
        r = self.reply(self.send(15, 0, struct.pack("<I", window)))
        return list(struct.unpack_from("<%dI" % struct.unpack_from("<H", r, 16)[0], r, 32))

    def atom(self, name):
        r = self.reply(self.send(16, 0, struct.pack("<HH", len(name), 0) + name.encode()))
        return struct.unpack_from("<I", r, 8)[0]

    def has_property(self, window, atom):
        r = self.reply(self.send(20, 0, struct.pack("<IIIII", window, atom, 0, 0, 1)))
        return bool(r and r[1])

    def focus_elsewhere(self):
        """Maps a small window of this client in the screen's corner, away from the
        program's, and gives it the keyboard: the program's window is no longer active."""
        window = self.new_id()
        self.send(1, 0, struct.pack("<IIhhHHHHII", window, self.root, 0, 0, 40, 20, 0, 1, 0,
                                    0x200) + struct.pack("<I", 1))  # override-redirect
        self.send(8, 0, struct.pack("<I", window))
        self.send(42, 1, struct.pack("<II", window, 0))  # SetInputFocus, revert to pointer root
        self.sync()

    def sync(self):
        self.reply(self.send(43))  # GetInputFocus


def sched(pid):
    """(nanoseconds on a processor, times put on one), summed over the threads of pid."""
    ns = runs = 0
    try:
        threads = os.listdir("/proc/%d/task" % pid)
    except OSError:
        return 0, 0
    for tid in threads:
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, tid)) as f:
                fields = f.read().split()
        except OSError:
            continue
        ns += int(fields[0])
        runs += int(fields[2])
    return ns, runs


def peak_rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return None


def stop(process):
    if process and process.poll() is None:
        process.terminate()
        try:
            process.wait(3)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def start_xvfb(log):
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp", "-dpi", "96", "-noreset"],
                            pass_fds=(write,), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                            start_new_session=True)
    os.close(write)
    number = b""
    while select.select([read], [], [], 10)[0]:
        chunk = os.read(read, 16)
        if not chunk:
            break
        number += chunk
        if b"\n" in number:
            break
    os.close(read)
    if not number.strip().isdigit():
        stop(xvfb)
        raise RuntimeError("Xvfb did not start")
    return xvfb, int(number)


def start_openbox(x, env, log):
    """Openbox, once it manages windows: it drops maps that come while it starts, so a
    probe window is mapped until openbox has framed one."""
    wm = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdin=subprocess.DEVNULL,
                          stdout=log, stderr=log, start_new_session=True)
    check = x.atom("_NET_SUPPORTING_WM_CHECK")
    deadline = time.monotonic() + 15
    while not x.has_property(x.root, check):
        if wm.poll() is not None or time.monotonic() > deadline:
            raise RuntimeError("openbox did not start")
        time.sleep(0.02)
    framed = False
    while not framed and time.monotonic() < deadline:
        probe = x.new_id()
        x.send(1, 0, struct.pack("<IIhhHHHHII", probe, x.root, 0, 0, 10, 10, 0, 1, 0, 0x800)
               + struct.pack("<I", STRUCTURE))
        x.send(8, 0, struct.pack("<I", probe))
        until = time.monotonic() + 0.3
        while not framed and time.monotonic() < until:
            x.pump(0.05)
            framed = any(e[0] & 0x7F == 21 for _, e in x.events)  # ReparentNotify
            x.events.clear()
        x.send(4, 0, struct.pack("<I", probe))
    if not framed:
        raise RuntimeError("openbox did not frame a window")
    x.sync()
    time.sleep(0.1)
    x.events.clear()
    return wm


def idle_cost(program, xvfb, idle, suffix):
    """CPU and wake-ups of the program, and the X server's CPU, over idle seconds."""
    cpu0, xcpu0 = sched(program.pid), sched(xvfb.pid)
    began = time.monotonic()
    time.sleep(idle)
    cpu1, xcpu1 = sched(program.pid), sched(xvfb.pid)
    span = time.monotonic() - began
    if program.poll() is not None:
        raise RuntimeError("%s ended while idle" % program.args[0])
    return {"cpu_ms" + suffix: (cpu1[0] - cpu0[0]) / 1e6 * idle / span,
            "wakeups_hz" + suffix: (cpu1[1] - cpu0[1]) / span,
            "xcpu_ms" + suffix: (xcpu1[0] - xcpu0[0]) / 1e6 * idle / span}


def measure(command, settle, idle):
    """One run of command; a dict of figures."""
    scratch = tempfile.mkdtemp(prefix="mirthkey-bench-idle-")
    log = open(os.path.join(scratch, "log"), "wb")
    xvfb = wm = program = x = None
    try:
        xvfb, display = start_xvfb(log)
        x = X(display)
        home = os.path.join(scratch, "home")
        runtime = os.path.join(scratch, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        env = {"HOME": home, "DISPLAY": ":%d" % display, "LANG": "C.UTF-8",
               "PATH": os.environ.get("PATH", "/usr/bin:/bin"), "XDG_RUNTIME_DIR": runtime,
               "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + os.path.join(scratch, "no-bus")}
        wm = start_openbox(x, env, log)
        known = {x.owner(w) for w in x.children(x.root)} | {x.base}
        x.select_input(x.root, SUBSTRUCTURE)
        x.sync()
        x.events.clear()
        start = time.monotonic()
        program = subprocess.Popen(command, env=env, cwd=home, stdin=subprocess.DEVNULL,
                                   stdout=log, stderr=log, start_new_session=True)
        candidates, mapped = [], None
        while mapped is None:
            if time.monotonic() > start + 30 or program.poll() is not None:
                raise RuntimeError("%s showed no window" % command[0])
            x.pump(0.1)
            events, x.events = x.events, []
            maps = [t for t, e in events if e[0] & 0x7F == MAP_NOTIFY]
            for _, e in events:
                parent, window = struct.unpack_from("<II", e, 4)
                if e[0] & 0x7F == CREATE_NOTIFY and parent == x.root \
                        and x.owner(window) not in known:
                    candidates.append(window)
                    x.select_input(window, STRUCTURE)
            for window in candidates if maps else []:
                state = x.attributes(window)
                if state and state[0] and state[1] and not state[2] \
                        and min(x.size(window) or (0, 0)) > 1:
                    mapped = maps[-1]
                    break
        time.sleep(max(0.0, mapped + settle - time.monotonic()))
        figures = {"map_ms": (mapped - start) * 1000}
        figures.update(idle_cost(program, xvfb, idle, ""))
        # Then as it is used, beside the chat: another window has the keyboard.
        x.focus_elsewhere()
        time.sleep(settle)
        figures.update(idle_cost(program, xvfb, idle, "_background"))
        figures["rss_kib"] = peak_rss_kib(program.pid)
        return figures
    finally:
        for process in (program, wm, xvfb):
            stop(process)
        if x:
            x.close()
        log.close()
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--idle", type=float, default=20, help="seconds of idle window")
    parser.add_argument("--settle", type=float, default=2, help="seconds from map to idle")
    parser.add_argument("--bare", help="label that map and peak RSS are compared with")
    parser.add_argument("--floor", help="label that the idle figures are compared with")
    parser.add_argument("programs", nargs="+", metavar="LABEL=PROGRAM")
    args = parser.parse_args()
    programs = []
    for label, _, command in (p.partition("=") for p in args.programs):
        words = shlex.split(command)
        if "/" in words[0]:  # the program runs in a home folder of its own
            words[0] = os.path.abspath(words[0])
        programs.append((label, words))
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    load = os.getloadavg()[0]
    results = {label: [] for label, _ in programs}
    for round_ in range(args.runs + 1):  # the first round warms the file cache
        for label, command in programs:
            run = measure(command, args.settle, args.idle)
            if round_:
                results[label].append(run)
    load = max(load, os.getloadavg()[0])

    def median(label, key):
        return statistics.median(r[key] for r in results[label])

    def spread(label, key, unit, digits):
        values = [r[key] for r in results[label]]
        return "median %.*f %s (min %.*f, max %.*f), n=%d" % (
            digits, statistics.median(values), unit, digits, min(values), digits, max(values),
            len(values))

    def ratio(label, other, key, target):
        if not other or label in (other, args.bare) or not median(other, key):
            return ""
        return "; %.2fx %s (target %s)" % (median(label, key) / median(other, key), other, target)

    idle = "%g s" % args.idle
    figures = [("map_ms", "start-up, exec to window viewable with a window manager", "ms", 1,
                args.bare, "≤ 1.25x"),
               ("rss_kib", "peak RSS", "KiB", 0, args.bare, "≤ 1.3x"),
               ("cpu_ms", "idle CPU per " + idle, "ms", 1, args.floor, "≤ 0.6x"),
               ("wakeups_hz", "idle wake-ups per second", "/s", 1, args.floor, "≤ 0.5x"),
               ("xcpu_ms", "X server CPU per %s of idle" % idle, "ms", 1, args.floor, "≤ 0.6x"),
               ("cpu_ms_background", "idle CPU per %s, in the background" % idle, "ms", 1,
                args.floor, "≤ 0.6x"),
               ("wakeups_hz_background", "idle wake-ups per second, in the background", "/s",
                1, args.floor, "≤ 0.5x"),
               ("xcpu_ms_background", "X server CPU per %s of idle, in the background" % idle,
                "ms", 1, args.floor, "≤ 0.6x")]
    for key, name, unit, digits, other, target in figures:
        for label, _ in programs:
            print("%s, %s: %s%s" % (name, label, spread(label, key, unit, digits),
                                    ratio(label, other, key, target)))
    print("load average during the idle runs: up to %.1f" % load)


if __name__ == "__main__":
    main()
