"""Drives a built Torvek program through its standard input, as a GUI or a
person at a console would, and collects what it writes."""
import atexit
import os
import shutil
import subprocess
import tempfile
import threading
import queue

_HERE = os.path.dirname(os.path.abspath(__file__))
UCI = os.path.abspath(os.environ.get("TORVEK_UCI", os.path.join(_HERE, "../../build/torvek_uci")))
WB = os.path.abspath(os.environ.get("TORVEK_WB", os.path.join(_HERE, "../../build/torvek")))
DATA = os.environ.get("TORVEK_DATA", "")
SANITIZE = os.environ.get("TORVEK_SANITIZE", "0") in ("1", "ON", "TRUE", "true")

# The data files a program reads from its working folder.
DATA_FILES = ("KPK.dat", "nork.book")


def scratch_dir():
    """A fresh working folder with the built data files linked in. Programs
    run there by default, so that what they write (learn.bin, test1.txt,
    suite.txt) never lands in the build folder, where it would change what
    later runs and other tests find."""
    folder = tempfile.mkdtemp(prefix="torvek_run_")
    atexit.register(shutil.rmtree, folder, True)
    for name in DATA_FILES:
        source = os.path.join(DATA or os.path.dirname(UCI), name)
        if os.path.exists(source):
            os.symlink(os.path.abspath(source), os.path.join(folder, name))
    return folder


def run_script(program, lines, timeout=60, cwd=None, args=()):
    """Feeds all lines at once, closes stdin, waits for the exit.
    Returns (stdout, stderr, returncode)."""
    text = "".join(line + "\n" for line in lines)
    proc = subprocess.run([program, *args], input=text, capture_output=True, text=True,
                          timeout=timeout, cwd=cwd or scratch_dir())
    return proc.stdout, proc.stderr, proc.returncode


class Engine:
    """An interactive session: send a line, wait for an answer line."""

    def __init__(self, program, cwd=None, args=()):
        self.proc = subprocess.Popen([program, *args], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     text=True, bufsize=1, cwd=cwd or scratch_dir())
        self.lines = queue.Queue()
        self.log = []
        threading.Thread(target=self._pump, daemon=True).start()

    def _pump(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip("\n"))
        self.lines.put(None)

    def send(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def expect(self, predicate, timeout=30):
        """Reads lines until one satisfies predicate (a string prefix or a
        callable); returns it. Raises AssertionError on timeout or exit."""
        if isinstance(predicate, str):
            prefix = predicate
            predicate = lambda l: l.startswith(prefix)
        while True:
            try:
                line = self.lines.get(timeout=timeout)
            except queue.Empty:
                raise AssertionError("timeout; seen: %r" % self.log[-20:])
            if line is None:
                raise AssertionError("engine exited; seen: %r" % self.log[-20:])
            self.log.append(line)
            if predicate(line):
                return line

    def close(self, timeout=30):
        try:
            self.send("quit")
        except (BrokenPipeError, ValueError):
            pass
        try:
            self.proc.stdin.close()
        except BrokenPipeError:
            pass
        rc = self.proc.wait(timeout=timeout)
        # What the program wrote to stderr: a sanitizer's report.
        self.errors = self.proc.stderr.read()
        rest = []
        while True:
            line = self.lines.get(timeout=timeout)
            if line is None:
                break
            rest.append(line)
        self.log.extend(rest)
        self.proc.stdout.close()
        self.proc.stderr.close()
        return rc, rest
