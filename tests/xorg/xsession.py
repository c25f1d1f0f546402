# SPDX-License-Identifier: GPL-3.0-or-later
"""The program as a user meets it under a real X server.

Starts build/bin/seaclone (and the radio simulator) with a home, settings and
lock folder of their own, and reads back what reached the screen: the windows
the program mapped, their titles and places as the X server holds them,
screen pixels, and the accessible objects a screen reader sees on the AT-SPI
bus. Runs under tests/xorg/with-x, which provides the display and the buses.

Everything waits with a time limit instead of sleeping: a fault shows as a
TimeoutError naming what did not appear.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

BIN_DIR = os.environ.get("SEACLONE_BIN_DIR", "")
SOURCE_DIR = os.environ.get("SEACLONE_SOURCE_DIR", "")
APP_TITLE = "Seaclone Marine VHF Programmer"

DEFAULT_SETTINGS = {
    "Global": {"BBT": 753951, "ComPort": 1, "ComSpeedHigh": 1, "Current Directory": ""},
    "Recent File List": {"Recent%d" % n: "" for n in range(10)},
    "View Option": {"FontSize Percentage": 100, "Toolbar Visible": 1, "FontSize Printer": 10},
    "Window Position": {"Left": 40, "Top": 30, "Width": 800, "Height": 600, "SplitterV": 200},
    "Setup": {"ModelType": 0, "ChListType": 0, "VerifyAfterWrite": 0},
}


def wait_for(predicate, timeout=30.0, what="the condition", interval=0.05):
    """Polls predicate until it returns something true; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=30, **kwargs)


# --- The X server's view ---------------------------------------------------


def root_size():
    out = run(["xwininfo", "-root"]).stdout
    return int(re.search(r"Width: (\d+)", out).group(1)), int(re.search(r"Height: (\d+)", out).group(1))


def window_title(wid):
    """WM_NAME and _NET_WM_NAME of a window, as the X server holds them."""
    out = run(["xprop", "-id", str(wid), "WM_NAME", "_NET_WM_NAME"],
              env=dict(os.environ, LC_ALL="C.UTF-8")).stdout
    names = {}
    for line in out.splitlines():
        m = re.match(r'(\w+)\([^)]*\) = "(.*)"$', line)
        if m:
            names[m.group(1)] = re.sub(r'\\(.)', r'\1', m.group(2))
    return names


def window_geometry(wid):
    """The window's outer rectangle on the root, in device pixels: (x, y, w, h)."""
    out = run(["xwininfo", "-id", str(wid)]).stdout

    def field(name):
        return int(re.search(name + r":\s+(-?\d+)", out).group(1))

    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
            field("Height"))


def close_window(wid):
    """Asks a window to close as a window manager's close button does: a
    WM_DELETE_WINDOW message (xdotool's windowclose would destroy it)."""
    import ctypes
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("pad", ctypes.c_long * 12)]

    display = x11.XOpenDisplay(None)
    if not display:
        raise RuntimeError("cannot open the display")
    try:
        event = ClientMessage()
        event.type = 33  # ClientMessage
        event.window = wid
        event.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.data[1] = 0  # CurrentTime
        x11.XSendEvent(display, wid, 0, 0, ctypes.byref(event))
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)


class Image:
    """A screen grab (binary PPM) with pixel access."""

    def __init__(self, data):
        # P6 <w> <h> <max> then raw RGB
        parts = []
        pos = 0
        while len(parts) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            parts.append(data[pos:end])
            pos = end
        if parts[0] != b"P6" or int(parts[3]) != 255:
            raise ValueError("not an 8-bit binary PPM")
        self.width, self.height = int(parts[1]), int(parts[2])
        self.pixels = data[pos + 1:]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def colours(self, rect):
        """The distinct colours inside (x, y, w, h), clipped to the image."""
        x, y, w, h = rect
        seen = set()
        for yy in range(max(y, 0), min(y + h, self.height)):
            row = (yy * self.width) * 3
            for xx in range(max(x, 0), min(x + w, self.width)):
                i = row + xx * 3
                seen.add(bytes(self.pixels[i:i + 3]))
        return seen


def grab(window="root", keep=None):
    """Grabs the screen (or one window) as ImageMagick's import sees it; with
    keep, also saves it as that PNG file."""
    data = subprocess.run(["import", "-window", str(window), "-depth", "8", "ppm:-"],
                          capture_output=True,
                          timeout=30, check=True).stdout
    if keep:
        subprocess.run(["convert", "ppm:-", keep], input=data, timeout=30, check=True)
    return Image(data)


# --- The accessibility bus --------------------------------------------------


def atspi():
    import pyatspi  # Debian's python3-pyatspi, for /usr/bin/python3
    return pyatspi


def role_name(obj):
    try:
        return obj.getRoleName()
    except Exception:
        return ""


def children(obj):
    try:
        found = (obj.getChildAtIndex(i) for i in range(obj.childCount))
        return [c for c in found if c is not None]
    except Exception:
        return []


def find_all(root, predicate, skip_tables=True, limit=20000):
    """Breadth-first search below root. Table cells are not walked (a page
    has thousands); tables themselves are found."""
    found, queue, seen = [], [root], 0
    while queue and seen < limit:
        obj = queue.pop(0)
        seen += 1
        if obj is None:
            continue
        try:
            if obj is not root and predicate(obj):
                found.append(obj)
        except Exception:
            pass
        if skip_tables and role_name(obj) in ("table", "tree table", "tree"):
            continue
        queue.extend(children(obj))
    return found


def find(root, predicate, what, timeout=30.0, skip_tables=True):
    return wait_for(lambda: (find_all(root, predicate, skip_tables) or [None])[0], timeout, what)


def named(name, role=None):
    def match(obj):
        return obj.name == name and (role is None or role_name(obj) == role)
    return match


def do_action(obj, names=("press", "click", "activate", "toggle", "Press", "SetFocus")):
    """Invokes the first of the usual actions the object offers."""
    action = obj.queryAction()
    available = [action.getName(i) for i in range(action.nActions)]
    for n in names:
        if n in available:
            action.doAction(available.index(n))
            return n
    if available:
        action.doAction(0)
        return available[0]
    raise RuntimeError("%s %r offers no action" % (role_name(obj), obj.name))


def table_cells(table):
    """A table's cells as rows of texts, read through the Table interface as
    a screen reader reads them."""
    t = table.queryTable()
    rows = []
    for r in range(t.nRows):
        row = []
        for c in range(t.nColumns):
            cell = t.getAccessibleAt(r, c)
            row.append(cell.name if cell is not None else None)
        rows.append(row)
    return rows


# --- The program ----------------------------------------------------------


class Program:
    """One run of seaclone with a home of its own."""

    def __init__(self, settings=None, scale=None, env=None):
        self.dir = tempfile.mkdtemp(prefix="seaclone-xorg-")
        self.home = os.path.join(self.dir, "home")
        self.config = os.path.join(self.dir, "config")
        self.locks = os.path.join(self.dir, "locks")
        for d in (self.home, self.config, self.locks):
            os.makedirs(d)
        self.env = dict(os.environ)
        self.env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config,
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "SEACLONE_LOCK_DIR": self.locks,
            "SEACLONE_BACKUP_DIR": os.path.join(self.dir, "backups"),
            "QT_QPA_PLATFORM": "xcb",
            "QT_ACCESSIBILITY": "1",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        })
        self.env.pop("SEACLONE_NONINTERACTIVE", None)
        if scale:
            self.env["QT_SCALE_FACTOR"] = str(scale)
        if env:
            self.env.update(env)
        self.process = None
        self.sim = None
        self.ports = {}
        if settings is not False:
            self.write_settings(settings or {})

    def path(self, name):
        return os.path.join(self.dir, name)

    def settings_file(self):
        return os.path.join(self.config, "Recent", "K4T.conf")

    def write_settings(self, overrides):
        """A complete settings store as a previous run left it; overrides
        are {group: {key: value}}."""
        groups = {g: dict(v) for g, v in DEFAULT_SETTINGS.items()}
        for g, values in overrides.items():
            groups.setdefault(g, {}).update(values)
        if self.ports:
            groups.setdefault("Ports", {}).update(self.ports)
        os.makedirs(os.path.dirname(self.settings_file()), exist_ok=True)
        with open(self.settings_file(), "w") as f:
            for g, values in groups.items():
                f.write("[%s]\n" % ("General" if g == "General" else g.replace(" ", "%20")))
                for k, v in values.items():
                    f.write("%s=%s\n" % (k.replace(" ", "%20"), v))
                f.write("\n")

    def read_settings(self):
        groups, group = {}, None
        with open(self.settings_file()) as f:
            for line in f:
                line = line.rstrip("\n")
                if line.startswith("["):
                    group = groups.setdefault(line[1:-1].replace("%20", " "), {})
                elif "=" in line and group is not None:
                    k, v = line.split("=", 1)
                    group[k.replace("%20", " ")] = v
        return groups

    def start_simulator(self, *options, port=7):
        """Starts the radio simulator and maps COM<port> to its terminal."""
        sim = os.path.join(BIN_DIR, "seaclone-radio-sim")
        self.sim_err = open(self.path("sim.err"), "w")
        self.sim = subprocess.Popen([sim, *options], stdout=subprocess.PIPE, stderr=self.sim_err,
                                    text=True)
        device = self.sim.stdout.readline().strip()
        if not device.startswith("/dev/"):
            raise RuntimeError("the simulator gave no device: %r" % device)
        self.ports["COM%d" % port] = device
        return device

    def start(self, *args):
        program = os.path.join(BIN_DIR, "seaclone")
        self.stderr = open(self.path("program.err"), "w")
        self.process = subprocess.Popen([program, *args], env=self.env, cwd=self.home,
                                        stdout=subprocess.DEVNULL, stderr=self.stderr)
        return self.process

    @property
    def pid(self):
        return self.process.pid

    def windows(self):
        """The program's mapped top-level windows, oldest first."""
        if self.process is None or self.process.poll() is not None:
            return []
        out = run(["xdotool", "search", "--onlyvisible", "--pid", str(self.pid), "--name", ""])
        # Qt's own untitled helper windows are left out; every window it
        # shows for the user has a title (a popup's is the program's name).
        return [int(w) for w in out.stdout.split() if window_title(int(w)).get("WM_NAME") is not None]

    def titled(self, title, timeout=30.0):
        """Waits for a mapped window whose title (WM_NAME) is title."""
        def look():
            for w in self.windows():
                if window_title(w).get("WM_NAME") == title:
                    return w
            return None
        return wait_for(look, timeout, "a window titled %r" % title)

    def main_window(self, timeout=60.0):
        return wait_for(lambda: next((w for w in self.windows()
                                      if window_title(w).get("WM_NAME", "").endswith(APP_TITLE)
                                      and window_geometry(w)[2] >= 300), None),
                        timeout, "the main window")

    def accessible(self, timeout=30.0):
        """The program's application object on the accessibility bus."""
        pyatspi = atspi()

        def look():
            desktop = pyatspi.Registry.getDesktop(0)
            for app in children(desktop):
                try:
                    if app is not None and app.get_process_id() == self.pid:
                        return app
                except Exception:
                    pass
            return None
        return wait_for(look, timeout, "the program on the accessibility bus")

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def stop(self, timeout=10.0):
        """Ends the program (SIGTERM, then SIGKILL) and the simulator; returns
        the program's exit status (None when it was never started)."""
        status = None
        if self.process is not None:
            if self.process.poll() is None:
                self.process.send_signal(signal.SIGTERM)
                try:
                    self.process.wait(timeout)
                except subprocess.TimeoutExpired:
                    self.process.kill()
                    self.process.wait()
            status = self.process.returncode
            self.stderr.close()
            self.process = None
        if self.sim is not None:
            if self.sim.poll() is None:
                self.sim.send_signal(signal.SIGTERM)
                try:
                    self.sim.wait(timeout)
                except subprocess.TimeoutExpired:
                    self.sim.kill()
                    self.sim.wait()
            self.sim.stdout.close()
            self.sim_err.close()
            self.sim = None
        return status

    def errors(self):
        try:
            with open(self.path("program.err")) as f:
                return f.read()
        except OSError:
            return ""

    def cleanup(self):
        self.stop()
        if os.environ.get("SEACLONE_XORG_KEEP"):
            print("kept", self.dir)
        else:
            shutil.rmtree(self.dir, ignore_errors=True)
