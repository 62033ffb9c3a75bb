"""Running Windows programs in the project's Wine prefix: timed, with their peak memory, with
the wine server's request count, and waiting until the prefix is quiet between runs."""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time

PREFIX = os.environ["WINEPREFIX"]
# The processes Wine keeps running for the prefix; anything else is a run's own.
SYSTEM = {"services.exe", "winedevice.exe", "plugplay.exe", "explorer.exe", "rpcss.exe", "svchost.exe",
          "conhost.exe", "wineserver"}
QUIET = open(os.devnull, "wb")


class BenchError(Exception):
    pass


def drive_c(path_in_c):
    """C:\\a\\b as the Linux path inside the prefix."""
    return os.path.join(PREFIX, "drive_c", path_in_c[3:].replace("\\", "/"))


def _prefix_processes():
    """(pid, name) of the prefix's Windows programs that are not Wine's own services, and of
    Wine loaders on their way to becoming one."""
    marker = b"WINEPREFIX=" + PREFIX.encode() + b"\0"
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                first = f.read().split(b"\0")[0].decode(errors="replace")
            name = re.split(r"[\\/]", first)[-1].lower()
            if not (name.endswith(".exe") or name in ("wine", "wine-preloader")) or name in SYSTEM:
                continue
            with open(f"/proc/{entry}/environ", "rb") as f:
                if marker not in f.read() + b"\0":
                    continue
        except OSError:
            continue
        found.append((int(entry), name))
    return found


def settle(timeout=180):
    """Waits until no program of a run is left in the prefix. Returns when the last one was
    seen gone, or None when none was there to begin with."""
    start = time.monotonic()
    waited = False
    while True:
        left = _prefix_processes()
        if not left:
            return time.monotonic() if waited else None
        if time.monotonic() - start > timeout:
            raise BenchError(f"programs still running in the prefix after {timeout} s: {left}")
        waited = True
        time.sleep(0.02)


def timed(argv, expect=0):
    """Runs `wine argv...` and waits for it and every program it left running.
    Returns (seconds until it exited, seconds until the prefix was quiet, peak RSS in KiB).
    The peak comes from GNU time, a small parent: a child forked from this Python process
    would count Python's own pages in its high-water mark."""
    settle()
    with tempfile.NamedTemporaryFile("r") as report:
        t0 = time.monotonic()
        code = subprocess.run(["/usr/bin/time", "-f", "%x %M", "-o", report.name, "wine", *argv],
                              stdin=subprocess.DEVNULL, stdout=QUIET, stderr=QUIET).returncode
        t1 = time.monotonic()
        t2 = settle()
        kib = int(report.read().split()[-1])
    if expect is not None and code != expect:
        raise BenchError(f"{' '.join(argv)} ended with exit code {code}, expected {expect}")
    return t1 - t0, (t2 or t1) - t0, kib


def _wine(argv):
    """Runs `wine argv...`; returns (exit code, standard output, standard error). Output goes
    through files, not pipes: services Wine starts on the way inherit the handles and would
    hold a pipe open long after the program ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(["wine", *argv], stdin=subprocess.DEVNULL, stdout=out, stderr=err).returncode
        out.seek(0)
        err.seek(0)
        return code, out.read().decode("utf-8", errors="replace"), err.read().decode("utf-8", errors="replace")


def run(argv, check=True):
    """Runs `wine argv...` untimed; returns its standard output."""
    code, out, err = _wine(argv)
    if check and code != 0:
        raise BenchError(f"wine {' '.join(argv)} ended with {code}: {err}")
    return out


def reg_value(key, value):
    """A registry value's data, or None when the key or value is missing."""
    code, out, _ = _wine(["reg", "query", key, "/v", value])
    if code != 0:
        return None
    for line in out.splitlines():
        parts = re.split(r"\s+REG_[A-Z_]+\s+", line.strip(), maxsplit=1)
        if len(parts) == 2 and parts[0].lower() == value.lower():
            return parts[1].strip()
    return ""


def reg_key_exists(key):
    return _wine(["reg", "query", key])[0] == 0


def split_command(command):
    """A Windows command line into its words (quotes group, as the C runtime reads them)."""
    words, word, quoted, any_ = [], "", False, False
    for ch in command:
        if ch == '"':
            quoted, any_ = not quoted, True
        elif ch in " \t" and not quoted:
            if word or any_:
                words.append(word)
            word, any_ = "", False
        else:
            word += ch
    if word or any_:
        words.append(word)
    return words


def _server(args, **kw):
    return subprocess.Popen(["wineserver", *args], stdin=subprocess.DEVNULL, **kw)


def stop_server():
    subprocess.run(["wineserver", "-k"], stdin=subprocess.DEVNULL, stdout=QUIET, stderr=QUIET)
    subprocess.run(["wineserver", "-w"], stdin=subprocess.DEVNULL, stdout=QUIET, stderr=QUIET)


def start_warm_server():
    """One server for the whole run, kept alive, with Wine's services started: every timed run
    then pays only for its own process, as on Windows where the system is already up."""
    stop_server()
    _server(["-p"], stdout=QUIET, stderr=QUIET)
    run(["cmd", "/c", "exit", "0"], check=False)
    settle()


REQUEST = re.compile(rb"^[0-9a-f]{4,8}: [a-z_0-9]+\(")
REPLY = re.compile(rb"\) = ")


class RequestCounter:
    """A server of its own with its request trace on (-d1); counts request lines as they come."""

    def __init__(self):
        stop_server()
        self.count = 0
        self.server = _server(["-f", "-d1", "-p"], stdout=QUIET, stderr=subprocess.PIPE)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        run(["cmd", "/c", "exit", "0"], check=False)
        settle()

    def _read(self):
        for line in self.server.stderr:
            if REQUEST.match(line) and not REPLY.search(line):
                self.count += 1

    def requests_of(self, argv, expect=0):
        """The requests the server received from the run of argv and what it left running."""
        settle()
        time.sleep(0.5)
        before = self.count
        timed(argv, expect)
        time.sleep(0.5)
        return self.count - before

    def close(self):
        stop_server()
        self.server.wait(timeout=60)
        self.reader.join(timeout=10)


def first_window(argv, seen, temp):
    """Starts `wine argv...` and returns the seconds until seen() is true; the program is then
    killed (it would wait for a person), and what it left in the temporary folder `temp`
    removed, so that the next start has no dead run's folder to clear."""
    settle()
    before = set(os.listdir(temp))
    t0 = time.monotonic()
    proc = subprocess.Popen(["wine", *argv], stdin=subprocess.DEVNULL, stdout=QUIET, stderr=QUIET)
    try:
        while not seen():
            if proc.poll() is not None:
                raise BenchError(f"{' '.join(argv)} ended with {proc.returncode} before showing its first page")
            if time.monotonic() - t0 > 60:
                raise BenchError(f"{' '.join(argv)} showed no page within 60 s")
            time.sleep(0.005)
        return time.monotonic() - t0
    finally:
        for pid, _ in _prefix_processes():
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        proc.wait()
        settle()
        for name in set(os.listdir(temp)) - before:
            full = os.path.join(temp, name)
            if os.path.isdir(full):
                shutil.rmtree(full, ignore_errors=True)
            else:
                os.remove(full)
