"""What an e-book leaves behind on the reader's machine: nothing in the user's data and cache
folders, whatever its pages store."""

import os
import shutil
import tempfile
import time
import unittest

from quillora_e2e import E2ETestCase, finish

PAGE_COLOUR = (0x2A, 0x8C, 0x3B)
# Stores what a page can store, then shows its colour.
STORING_PAGE = f"""<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Storing</title></head><body style="margin:0">
<script>
localStorage.setItem("kept", "yes");
sessionStorage.setItem("kept", "yes");
const request = indexedDB.open("notes", 1);
request.onupgradeneeded = () => request.result.createObjectStore("notes");
const done = () => {{ document.body.style.background = "rgb{PAGE_COLOUR}"; }};
request.onsuccess = () => {{
  const store = request.result.transaction("notes", "readwrite").objectStore("notes");
  store.put("a note", 1).onsuccess = done;
}};
request.onerror = done;
</script></body></html>
"""


def everything_in(folder):
    return sorted(os.path.relpath(os.path.join(root, name), folder)
                  for root, folders, files in os.walk(folder) for name in folders + files)


class EngineDataTest(E2ETestCase):
    def colour_shows(self, window, colour, minimum, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.count_colour(window, colour) >= minimum:
                return True
            time.sleep(0.2)
        return False

    def test_a_book_writes_nothing_to_the_users_data_or_cache_folders(self):
        home = tempfile.mkdtemp(prefix="quillora-e2e-home-")
        self.addCleanup(shutil.rmtree, home, True)
        data, cache = os.path.join(home, "data"), os.path.join(home, "cache")
        os.makedirs(data)
        os.makedirs(cache)
        book = self.make_book(pages={"index.html": STORING_PAGE})
        # The graphics driver keeps a shader cache of its own there for every program that
        # draws with it; that is the desktop's, not the book's.
        process = self.launch(book.path, XDG_DATA_HOME=data, XDG_CACHE_HOME=cache,
                              MESA_SHADER_CACHE_DISABLE="true")
        window = self.display.wait_for_window("Quillora test book", process=process)
        self.assertTrue(self.colour_shows(window, PAGE_COLOUR, minimum=640 * 200),
                        "the page never finished storing")
        self.display.close_window(window)
        self.assertEqual(finish(process), 0)
        self.assertEqual(everything_in(data), [])
        self.assertEqual(everything_in(cache), [])


if __name__ == "__main__":
    unittest.main()
