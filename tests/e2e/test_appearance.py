"""An e-book packed by quillora-pack with a gradient caption, a skin and an opening animation,
seen from outside: its title, the colours on the screen, and the animation's order: the window
shows in part first, then whole. How long the animation takes is measured by
scripts/measure-animation, not asserted here: wall-clock times depend on the machine's load."""

import os
import subprocess
import tempfile
import shutil
import time
import unittest

from Xlib.ext import shape

from quillora_e2e import PACK, E2ETestCase, finish

BOOK_CONF = """\
# A book that shows off the window's looks.
title = Appearance test
home_page = pages/index.html
window_width = 640
window_height = 480
gradient_caption_on = -1
gradient_start_color = clRed
caption_font = DejaVu Sans,11,clWhite,Negrito
skin_on = -1
skin_index = 1
animation_on = -1
animation_kind = 1
"""
PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Looks</title></head>
<body style="background:#ffffff"><p>Olá</p></body></html>"""

class AppearanceTest(E2ETestCase):
    def setUp(self):
        if not PACK or not os.access(PACK, os.X_OK):
            self.skipTest("QUILLORA_PACK does not name the built authoring tool")
        self.source = tempfile.mkdtemp(prefix="quillora-e2e-source-")
        self.addCleanup(shutil.rmtree, self.source, True)
        os.makedirs(os.path.join(self.source, "pages"))
        with open(os.path.join(self.source, "book.conf"), "w", encoding="utf-8") as conf:
            conf.write(BOOK_CONF)
        with open(os.path.join(self.source, "pages", "index.html"), "w", encoding="utf-8") as page:
            page.write(PAGE)
        self.out = tempfile.mkdtemp(prefix="quillora-e2e-out-")
        self.addCleanup(shutil.rmtree, self.out, True)
        subprocess.run([PACK, "--runtime", os.environ["QUILLORA_RUNTIME"], self.source,
                        os.path.join(self.out, "looks")], check=True)
        self.book = os.path.join(self.out, "looks")

    def test_caption_skin_and_animation(self):
        process = self.launch(self.book)
        window = self.display.wait_for_window("Appearance test", process=process, timeout=30)
        # The opening animation: first part of the window, at the end all of it.
        shown_in_part, _ = wait_until_unshaped(window)
        self.assertTrue(shown_in_part, "the window showed whole at once: no opening animation")

        # Once the page and the caption are painted: the title bar is the window's top rows,
        # inside a thin frame, red towards the left and the theme's caption colour (blue in the
        # default theme) towards the right; the graphite skin gives a dark tool bar under it.
        caption_row = 14
        deadline = time.monotonic() + 30
        while True:
            pixels = self.display.pixels(window)
            x, y, width, height = self.display.geometry(window)
            left_end = pixels[caption_row][:30]
            right_half = [pixels[caption_row][i] for i in range(width // 2, width - 120)]
            dark_rows = [y for y in range(caption_row, min(len(pixels), 120))
                         if sum(1 for p in pixels[y] if max(p) < 0x50) > width // 2]
            start_colour = any(r > 150 and g < 90 for r, g, b in left_end)
            caption_colour = any(b > r + 40 for r, g, b in right_half)
            if (start_colour and caption_colour and len(dark_rows) > 20) or time.monotonic() > deadline:
                break
            time.sleep(0.05)
        self.assertTrue(start_colour, f"no start colour at the left end of the caption: {left_end}")
        self.assertTrue(caption_colour, f"no caption colour towards the right: {right_half[-1]}")
        self.assertGreater(len(dark_rows), 20, "the skin's dark tool bar does not show")

        self.display.screenshot(os.path.join(self.out, "appearance.png"))
        self.display.close_window(window)
        self.assertEqual(finish(process), 0)


def wait_until_unshaped(window, timeout=60.0):
    """Whether the window's visible region was ever less than the whole window, and the moment
    it was the whole window again."""
    shown_in_part = False
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        geometry = window.get_geometry()
        try:
            rectangles = window.shape_get_rectangles(shape.SK.Bounding).rectangles
        except Exception:
            rectangles = []
        if (len(rectangles) == 1 and rectangles[0].width == geometry.width
                and rectangles[0].height == geometry.height):
            return shown_in_part, time.monotonic()
        shown_in_part = shown_in_part or len(rectangles) > 0
        time.sleep(0.002)
    raise AssertionError("the window never showed whole")


if __name__ == "__main__":
    unittest.main()
