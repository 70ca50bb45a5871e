"""Start-up of packed e-books, seen from outside: the window and its page, the start-up
warnings, an error in the settings, and a runtime without payload."""

import http.server
import os
import socket
import subprocess
import threading
import unittest

from quillora_e2e import E2ETestCase, default_settings, finish

PAGE_COLOUR = (0x1E, 0x6F, 0xC8)
HOME_PAGE = f"""<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Página inicial</title></head>
<body style="margin:0;background:rgb{PAGE_COLOUR}"><h1 style="color:white">Olá</h1></body></html>
"""


def closed_loopback_port():
    """A loopback port that nothing listens on (bound once, then released)."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class LoopbackServer:
    """An HTTP server on loopback that stands for the internet while a test runs."""

    def __init__(self):
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                                      http.server.BaseHTTPRequestHandler)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/"

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class StartupTest(E2ETestCase):
    def test_good_book_shows_its_home_page(self):
        book = self.make_book(pages={"index.html": HOME_PAGE})
        process = self.launch(book.path)
        window = self.display.wait_for_window("Quillora test book", process=process)
        # The page is drawn once loaded: wait until its colour covers much of the window.
        self.assertTrue(self.wait_for_colour(window, PAGE_COLOUR, minimum=640 * 200),
                        "the home page's colour never showed in the window")
        self.display.close_window(window)
        self.assertEqual(finish(process), 0)

    def test_missing_home_page_warns_and_ends_without_window(self):
        settings = default_settings(home="missing.html")
        book = self.make_book(settings=settings, pages={"index.html": HOME_PAGE})
        process = self.launch(book.path)
        dialog = self.display.wait_for_window("Quillora", process=process)
        titles = [title for _, title in self.display.mapped_windows()]
        self.assertNotIn("Quillora test book", titles, "the main window must not be shown")
        self.display.close_window(dialog)
        self.assertEqual(finish(process), 0)

    def test_internet_required_offline_warns_and_ends(self):
        settings = default_settings()
        settings[99] = "-1"
        book = self.make_book(settings=settings, pages={"index.html": HOME_PAGE})
        process = self.launch(book.path,
                              QUILLORA_PROBE_URL=f"http://127.0.0.1:{closed_loopback_port()}/")
        dialog = self.display.wait_for_window("Quillora", process=process)
        titles = [title for _, title in self.display.mapped_windows()]
        self.assertNotIn("Quillora test book", titles)
        self.display.close_window(dialog)
        self.assertEqual(finish(process), 0)

    def test_internet_required_online_opens(self):
        server = LoopbackServer()
        self.addCleanup(server.close)
        settings = default_settings()
        settings[99] = "True"
        book = self.make_book(settings=settings, pages={"index.html": HOME_PAGE})
        process = self.launch(book.path, QUILLORA_PROBE_URL=server.url)
        window = self.display.wait_for_window("Quillora test book", process=process)
        self.assertTrue(self.wait_for_colour(window, PAGE_COLOUR, minimum=640 * 200))

    def test_malformed_flag_reports_once_and_keeps_window_without_page(self):
        settings = default_settings()
        settings[11] = "yes"  # toolbar_visible: not a flag
        book = self.make_book(settings=settings, pages={"index.html": HOME_PAGE})
        process = self.launch(book.path)
        # The report carries the applied title as caption.
        report = self.display.wait_for_window("Quillora test book", process=process)
        windows = self.display.mapped_windows()
        self.assertEqual(len([w for w, t in windows if t == "Quillora test book"]), 1,
                         "only the report is up while start-up runs")
        self.display.close_window(report)
        window = self.wait_for_main_window_after_report(report, process)
        self.assertEqual(self.count_colour(window, PAGE_COLOUR), 0, "no page may be shown")
        self.assertIsNone(process.poll(), "the window stays open until it is closed")
        self.display.close_window(window)
        self.assertEqual(finish(process), 0)

    def test_runtime_without_payload_opens_bare_window(self):
        book = self.make_book(payload=False)
        process = self.launch(book.path)
        window = self.display.wait_for_window("Título", process=process)
        self.assertEqual(len(self.display.mapped_windows()), 1, "no message, only the window")
        self.display.close_window(window)
        self.assertEqual(finish(process), 0)

    def test_without_a_display_one_line_says_a_desktop_is_needed(self):
        book = self.make_book(pages={"index.html": HOME_PAGE})
        unused_display = f":{9000 + os.getpid() % 1000}"
        # environment -> the one line names what is missing, the exit status is not 0
        cases = [({}, "neither DISPLAY nor WAYLAND_DISPLAY"),
                 ({"DISPLAY": unused_display}, f'DISPLAY="{unused_display}"')]
        base = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        for extra, named in cases:
            with self.subTest(extra=extra):
                result = subprocess.run([book.path], env=dict(base, **extra), timeout=60,
                                        stdin=subprocess.DEVNULL, capture_output=True, text=True)
                self.assertNotEqual(result.returncode, 0)
                lines = result.stderr.splitlines()
                self.assertEqual(len(lines), 1, result.stderr)
                self.assertIn("this e-book needs a graphical desktop", lines[0])
                self.assertIn(named, lines[0])

    # --- helpers ---------------------------------------------------------------------------
    def wait_for_colour(self, window, colour, minimum, timeout=30.0):
        import time
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.count_colour(window, colour) >= minimum:
                return True
            time.sleep(0.3)
        return False

    def wait_for_main_window_after_report(self, report, process, timeout=30.0):
        import time
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for window, title in self.display.mapped_windows():
                if title == "Quillora test book" and window.id != report.id:
                    return window
            self.assertIsNone(process.poll(), "the e-book ended after the report")
            time.sleep(0.1)
        self.fail("the main window did not open after the report was dismissed")


if __name__ == "__main__":
    unittest.main()
