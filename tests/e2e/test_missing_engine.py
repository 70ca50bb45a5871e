"""A book started on a system where WebKitGTK 4.1 cannot be loaded: the engine's two library
files are hidden in a private mount namespace of the book alone. It says so in one line on
standard error and, when there is a display, in a window, and ends with a non-zero status."""

import os
import shutil
import subprocess
import time
import unittest

from Xlib import X, Xatom

from quillora_e2e import E2ETestCase, default_settings, finish

ENGINE_LIBRARIES = ("libjavascriptcoregtk-4.1.so.0", "libwebkit2gtk-4.1.so.0")
PACKAGES = ("libwebkit2gtk-4.1-0", "webkit2gtk4.1", "webkit2gtk-4.1")
# Hides each file given after the program by mounting an empty file over it, then runs the
# program; the mounts end with the namespace.
HIDE_AND_RUN = 'empty="$1"; book="$2"; shift 2; ' \
               'for f in "$@"; do mount --bind "$empty" "$f" || exit 97; done; exec "$book"'


def engine_library_files():
    """The files the loader opens for the engine's libraries, links followed."""
    listing = subprocess.run(["ldconfig", "-p"], capture_output=True, text=True,
                             check=True).stdout
    files = []
    for library in ENGINE_LIBRARIES:
        for line in listing.splitlines():
            name, _, path = line.strip().partition(" => ")
            if name.split(" ")[0] == library:
                files.append(os.path.realpath(path))
                break
        else:
            raise AssertionError(f"ldconfig knows no {library}")
    return files


def private_mounts_available():
    if os.geteuid() != 0:
        return "hiding the engine needs a private mount namespace, so root (as in CI)"
    if not shutil.which("unshare"):
        return "hiding the engine needs unshare (util-linux)"
    if subprocess.run(["unshare", "--mount", "true"], capture_output=True).returncode != 0:
        return "unshare --mount is not allowed here (a container without CAP_SYS_ADMIN?)"
    return None


class MissingEngineTest(E2ETestCase):
    def setUp(self):
        reason = private_mounts_available()
        if reason:
            self.skipTest(reason)
        self.hidden = engine_library_files()

    def start_without_engine(self, book, env):
        empty = os.path.join(book.folder, "empty")
        open(empty, "wb").close()
        process = subprocess.Popen(
            ["unshare", "--mount", "--propagation", "private", "sh", "-c", HIDE_AND_RUN,
             "hide-engine", empty, book.path, *self.hidden],
            env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE, text=True, start_new_session=True)
        self.addCleanup(self.end, process)
        return process

    @staticmethod
    def end(process):
        if process.poll() is None:
            os.killpg(process.pid, 9)
            process.wait()
        process.stderr.close()

    def display_env(self):
        env = dict(os.environ, DISPLAY=self.display.name, NO_AT_BRIDGE="1", GDK_BACKEND="x11")
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def assert_one_line(self, stderr):
        lines = stderr.splitlines()
        self.assertEqual(len(lines), 1, stderr)
        self.assertIn("book: this e-book needs WebKitGTK 4.1, which cannot be loaded (", lines[0])
        for package in PACKAGES:
            self.assertIn(package, lines[0])

    def test_the_reader_is_told_in_a_window_and_on_standard_error(self):
        # payload -> the window's caption
        cases = [(True, "Quillora test book"), (False, "Quillora")]
        for payload, caption in cases:
            with self.subTest(payload=payload):
                book = self.make_book(settings=default_settings() if payload else None,
                                      payload=payload)
                process = self.start_without_engine(book, self.display_env())
                window = self.display.wait_for_window(caption, timeout=60, process=process)
                text = self.shown_text(window)
                self.assertIn("This e-book needs WebKitGTK 4.1", text)
                for package in PACKAGES:
                    self.assertIn(package, text)
                self.assertIsNone(process.poll(), "the book waits until the reader closes it")
                self.display.close_window(window)
                self.assertNotEqual(finish(process, timeout=30), 0)
                self.assert_one_line(process.stderr.read())

    def test_without_a_display_the_line_alone_tells(self):
        book = self.make_book()
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        process = self.start_without_engine(book, env)
        self.assertNotEqual(finish(process, timeout=30), 0)
        self.assert_one_line(process.stderr.read())

    # --- helpers ---------------------------------------------------------------------------
    def shown_text(self, window, timeout=30.0):
        """The text of the window's message, as the reader can select it: Tab from the OK
        button to the text, select all, and read the X primary selection."""
        deadline = time.monotonic() + timeout
        text = ""
        while time.monotonic() < deadline:
            subprocess.run(["xdotool", "windowfocus", "--sync", str(window.id), "key", "Tab",
                            "ctrl+a"], env=dict(os.environ, DISPLAY=self.display.name),
                           check=False, capture_output=True, timeout=30)
            text = self.primary_selection() or ""
            if "WebKitGTK" in text:
                return text
            time.sleep(0.3)
        self.fail(f"the window showed no selectable message; last selection {text!r}")

    def primary_selection(self, timeout=5.0):
        x = self.display.x
        requestor = x.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
        try:
            into = x.intern_atom("QUILLORA_E2E_SELECTION")
            requestor.convert_selection(Xatom.PRIMARY, x.intern_atom("UTF8_STRING"), into,
                                        X.CurrentTime)
            x.flush()
            deadline = time.monotonic() + timeout
            while time.monotonic() < deadline:
                while x.pending_events():
                    event = x.next_event()
                    if event.type == X.SelectionNotify and event.requestor.id == requestor.id:
                        if event.property == X.NONE:
                            return None
                        value = requestor.get_full_property(into, X.AnyPropertyType)
                        return value.value.decode("utf-8", "replace") if value else None
                time.sleep(0.05)
            return None
        finally:
            requestor.destroy()
            x.flush()


if __name__ == "__main__":
    unittest.main()
