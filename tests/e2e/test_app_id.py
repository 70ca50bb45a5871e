"""The name a packed e-book's window carries for the desktop (its app id), on X11 and natively on
Wayland: the launcher's name, so that docks and task switchers show the book's own name and icon.
On Wayland the book also runs as a whole there: its home page loads, an action closes it, and
closing ends the program."""

import os
import re
import signal
import subprocess
import unittest

from quillora_e2e import RUNTIME, Book, E2ETestCase, default_settings

WITH_WESTON = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "with-weston")
BOOK_NAME = "My Atlas 2"
APP_ID = "My_Atlas_2"  # what the launcher beside it is named after, less ".desktop"
TITLE = "Atlas do mundo"


def named_book(test, pages=None):
    """A book whose file name is no valid app id as it stands."""
    settings = default_settings()
    settings[0] = TITLE
    book = test.make_book(settings=settings, pages=pages or {
        "index.html": "<!DOCTYPE html><title>Home</title><body>Home</body>"})
    path = os.path.join(book.folder, BOOK_NAME)
    os.rename(book.path, path)
    return path


class X11AppIdTest(E2ETestCase):
    def test_the_window_class_is_the_books_app_id(self):
        process = self.launch(named_book(self))
        window = self.display.wait_for_window(TITLE, process=process)
        self.assertEqual(window.get_wm_class(), (APP_ID, APP_ID))


@unittest.skipUnless(RUNTIME and os.access(RUNTIME, os.X_OK), "QUILLORA_RUNTIME does not name the built runtime")
class WaylandBookTest(unittest.TestCase):
    def make_book(self, **kwargs):
        book = Book(**kwargs)
        self.addCleanup(book.remove)
        return book

    def test_the_book_opens_names_itself_and_ends_when_closed(self):
        # The home page closes the book by an action once it has loaded.
        path = named_book(self, pages={"index.html": (
            "<!DOCTYPE html><title>Home</title><body>"
            "<a id='x' href='ACTION:APPLICATIONEXIT()'>x</a>"
            "<script>onload = () => document.getElementById('x').click()</script></body>")})
        env = dict(os.environ, NO_AT_BRIDGE="1", WAYLAND_DEBUG="1", WEBKIT_DISABLE_COMPOSITING_MODE="1")
        process = subprocess.Popen([WITH_WESTON, path], env=env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                   start_new_session=True)
        try:
            _, errors = process.communicate(timeout=120)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGTERM)  # the script stops its compositor on the way
            process.communicate()
            raise AssertionError("the book did not end when its action closed it")
        log = errors.decode("utf-8", "replace")
        self.assertEqual(process.returncode, 0, log[-3000:])
        # WAYLAND_DEBUG shows each request the book sends its compositor.
        self.assertRegex(log, r'xdg_toplevel[@#]\d+\.set_app_id\("' + re.escape(APP_ID) + r'"\)')
        self.assertRegex(log, r'xdg_toplevel[@#]\d+\.set_title\("' + re.escape(TITLE) + r'"\)')
        # weston's headless back end has no seat, which no desktop lacks: GDK's own criticals
        # about the missing seat and its devices are the compositor's; nothing else may be.
        criticals = [line for line in log.splitlines() if "-CRITICAL" in line and
                     "'GDK_IS_SEAT (seat)'" not in line and "'GDK_IS_DEVICE (device)'" not in line]
        self.assertEqual(criticals, [])


if __name__ == "__main__":
    unittest.main()
