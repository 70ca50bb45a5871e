"""Looks at packed e-books from outside, as a person would: a virtual X display, the e-book as
a separate process, its top-level windows, their titles, pixels and the exit status."""

import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import unittest

from Xlib import X, Xatom, display as xdisplay, protocol

RUNTIME = os.environ.get("QUILLORA_RUNTIME", "")
PACK = os.environ.get("QUILLORA_PACK", "")
SIGNATURE = bytes.fromhex("05A1AB9FA8EDC34589F4369315A947EB")
SETTING_COUNT = 103


class VirtualDisplay:
    """An Xvfb server of our own on a free display number."""

    def __init__(self, width=1280, height=1024):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"
        self.x = xdisplay.Display(self.name)
        self.width, self.height = width, height

    def close(self):
        self.x.close()
        self.process.terminate()
        self.process.wait(timeout=10)

    # --- windows -------------------------------------------------------------------------
    def _title(self, window):
        try:
            name = window.get_full_property(self.x.intern_atom("_NET_WM_NAME"),
                                            self.x.intern_atom("UTF8_STRING"))
            if name is not None:
                return name.value.decode("utf-8", "replace")
            legacy = window.get_wm_name()
            return legacy if isinstance(legacy, str) else None
        except Exception:  # the window went away while we looked
            return None

    def mapped_windows(self):
        """(window, title) of every mapped top-level window with a title."""
        found = []
        for window in self.x.screen().root.query_tree().children:
            try:
                if window.get_attributes().map_state != X.IsViewable:
                    continue
            except Exception:
                continue
            title = self._title(window)
            if title is not None:
                found.append((window, title))
        return found

    def wait_for_window(self, title, timeout=30.0, process=None):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for window, window_title in self.mapped_windows():
                if window_title == title:
                    return window
            if process is not None and process.poll() is not None:
                raise AssertionError(f"the e-book ended (status {process.returncode}) "
                                     f"before a window titled {title!r} appeared")
            time.sleep(0.1)
        titles = [t for _, t in self.mapped_windows()]
        raise AssertionError(f"no window titled {title!r} within {timeout} s; windows: {titles}")

    def close_window(self, window):
        """Asks the window to close, as a window manager's close box does."""
        wm_protocols = self.x.intern_atom("WM_PROTOCOLS")
        wm_delete = self.x.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=window, client_type=wm_protocols,
                                             data=(32, [wm_delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        self.x.flush()

    def geometry(self, window):
        geometry = window.get_geometry()
        origin = window.translate_coords(self.x.screen().root, 0, 0)
        return -origin.x, -origin.y, geometry.width, geometry.height

    def pixels(self, window):
        """The window's pixels as a list of rows of (r, g, b)."""
        geometry = window.get_geometry()
        image = window.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xFFFFFFFF)
        data = image.data
        stride = len(data) // geometry.height
        rows = []
        for y in range(geometry.height):
            row = data[y * stride:y * stride + geometry.width * 4]
            rows.append([(row[i + 2], row[i + 1], row[i]) for i in range(0, len(row), 4)])
        return rows

    def screenshot(self, path):
        """Saves the whole screen as PNG for people to look at (needs ImageMagick)."""
        subprocess.run(["import", "-display", self.name, "-window", "root", path],
                       check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def default_settings(pages_folder="pages", home="index.html"):
    """A complete, valid settings list for a plain e-book."""
    s = [""] * SETTING_COUNT
    values = {
        0: "Quillora test book", 1: "0", 2: "clNavy", 3: "0", 4: "2", 5: "640", 6: "480",
        7: "-1", 8: "-1", 9: "-1", 10: f"C:\\Books\\{pages_folder}\\{home}", 11: "-1", 12: "-1",
        20: "", 21: "-1", 22: "0", 23: "0", 24: "0", 32: "-1", 33: "0", 36: "0",
        49: "The home page is missing.", 50: "0", 51: "", 80: "0",
        82: "-1", 83: "-1", 84: "-1", 85: "-1", 86: "-1", 87: "-1", 88: "-1", 89: "-1", 90: "-1",
        92: "0", 93: "0", 94: "0", 98: "22", 99: "0", 100: "No internet connection.",
        101: "0", 102: "0",
    }
    for index, value in values.items():
        s[index] = value
    for index, hint in zip(range(37, 47), ["Home", "Back", "Forward", "Refresh", "Stop",
                                           "Select all", "Copy", "Print", "Exit", "About"]):
        s[index] = hint
    return s


class Book:
    """An e-book in a temporary folder: the runtime with a payload appended, and its pages."""

    def __init__(self, settings=None, pages=None, pages_folder="pages", payload=True):
        self.folder = tempfile.mkdtemp(prefix="quillora-e2e-")
        self.path = os.path.join(self.folder, "book")
        with open(RUNTIME, "rb") as runtime:
            image = runtime.read()
        if payload:
            text = "\r\n".join(settings if settings is not None else default_settings()) + "\r\n"
            data = text.encode("utf-8")
            image += data + SIGNATURE + struct.pack("<ii", len(image), len(data))
        with open(self.path, "wb") as out:
            out.write(image)
        os.chmod(self.path, 0o755)
        if pages:
            os.makedirs(os.path.join(self.folder, pages_folder), exist_ok=True)
            for name, html in pages.items():
                with open(os.path.join(self.folder, pages_folder, name), "w",
                          encoding="utf-8") as page:
                    page.write(html)

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


def start(executable, display, **extra_env):
    env = dict(os.environ, DISPLAY=display.name, NO_AT_BRIDGE="1", GDK_BACKEND="x11")
    env.pop("WAYLAND_DISPLAY", None)
    env.update(extra_env)
    # What the e-book prints to standard error goes to the test log.
    return subprocess.Popen([executable], env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, start_new_session=True)


def finish(process, timeout=15):
    """Waits for the process to end by itself; kills it (and fails) when it does not."""
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise AssertionError(f"the e-book did not end within {timeout} s")


def stop(process):
    if process.poll() is None:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()


class E2ETestCase(unittest.TestCase):
    """One virtual display for all tests of a class; every test cleans up its processes."""

    @classmethod
    def setUpClass(cls):
        if not RUNTIME or not os.access(RUNTIME, os.X_OK):
            raise unittest.SkipTest("QUILLORA_RUNTIME does not name the built runtime")
        cls.display = VirtualDisplay()

    @classmethod
    def tearDownClass(cls):
        cls.display.close()

    def launch(self, executable, **extra_env):
        process = start(executable, self.display, **extra_env)
        self.addCleanup(stop, process)
        return process

    def make_book(self, **kwargs):
        book = Book(**kwargs)
        self.addCleanup(book.remove)
        return book

    def count_colour(self, window, colour, tolerance=8):
        count = 0
        for row in self.display.pixels(window):
            for pixel in row:
                if all(abs(a - b) <= tolerance for a, b in zip(pixel, colour)):
                    count += 1
        return count
