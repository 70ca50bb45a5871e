"""An e-book packed by quillora-pack with a gradient caption, a skin and an opening animation,
seen from outside: its title, the colours on the screen, and how long the animation takes."""

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

# An appearing ellipse on a 640 x 480 window has one step per 4 pixels of the shorter side,
# each followed by a 10 ms pause.
ELLIPSE_STEPS_640x480 = 121


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
        started = time.monotonic()
        process = self.launch(self.book)
        window = self.display.wait_for_window("Appearance test", process=process, timeout=30)
        mapped = time.monotonic()
        unshaped = self.wait_until_unshaped(window)
        animation = unshaped - mapped
        minimum = ELLIPSE_STEPS_640x480 * 0.010
        self.assertGreaterEqual(animation, minimum * 0.8,
                                f"the animation took {animation:.2f} s, under its pauses")
        self.assertLess(animation, minimum * 6, f"the animation took {animation:.2f} s")
        print(f"\nstart to window {mapped - started:.2f} s, animation {animation:.2f} s "
              f"for {ELLIPSE_STEPS_640x480} steps", flush=True)

        time.sleep(1.0)  # let the page and the caption paint
        pixels = self.display.pixels(window)
        x, y, width, height = self.display.geometry(window)
        # The title bar is the window's top rows, inside a thin frame: red towards the left,
        # the theme's caption colour (blue in the default theme) towards the right.
        caption_row = 14
        left_end = pixels[caption_row][:30]
        self.assertTrue(any(r > 150 and g < 90 for r, g, b in left_end),
                        f"no start colour at the left end of the caption: {left_end}")
        right_half = [pixels[caption_row][i] for i in range(width // 2, width - 120)]
        self.assertTrue(any(b > r + 40 for r, g, b in right_half),
                        f"no caption colour towards the right: {right_half[-1]}")
        # The graphite skin gives a dark tool bar under the caption.
        dark_rows = [y for y in range(caption_row, min(len(pixels), 120))
                     if sum(1 for p in pixels[y] if max(p) < 0x50) > width // 2]
        self.assertGreater(len(dark_rows), 20, "the skin's dark tool bar does not show")

        self.display.screenshot(os.path.join(self.out, "appearance.png"))
        self.display.close_window(window)
        self.assertEqual(finish(process), 0)

    def wait_until_unshaped(self, window, timeout=30.0):
        """The moment the window's visible region is the whole window again."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            geometry = window.get_geometry()
            try:
                rectangles = window.shape_get_rectangles(shape.SK.Bounding).rectangles
            except Exception:
                rectangles = []
            if (len(rectangles) == 1 and rectangles[0].width == geometry.width
                    and rectangles[0].height == geometry.height):
                return time.monotonic()
            time.sleep(0.002)
        self.fail("the window never showed whole")



if __name__ == "__main__":
    unittest.main()
