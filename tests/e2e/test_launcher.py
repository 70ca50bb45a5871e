"""The desktop launcher that quillora-pack writes beside an e-book, started the way a file
manager starts it (GLib's launcher, here `gio launch`) from another working folder, after the
book's folder was copied elsewhere."""

import os
import shutil
import signal
import subprocess
import tempfile
import unittest

from quillora_e2e import PACK, RUNTIME, E2ETestCase

SOURCE = os.path.join(os.path.dirname(__file__), "..", "..", "examples", "atlas")
TITLE = "Atlas of the North"  # the sample's title setting


class Launcher(E2ETestCase):
    def test_the_launcher_of_a_copied_folder_opens_its_book(self):
        if not PACK:
            self.skipTest("QUILLORA_PACK does not name the built quillora-pack")
        work = tempfile.mkdtemp(prefix="quillora-e2e-launcher-")
        self.addCleanup(shutil.rmtree, work, True)
        packed = os.path.join(work, "packed")
        subprocess.run([PACK, "--runtime", RUNTIME, SOURCE, "-o", packed + "/"], check=True)
        # A name that needs quoting on the launcher's Exec line.
        copied = os.path.join(work, "copied $elsewhere")
        shutil.copytree(packed, copied, symlinks=True)
        shutil.rmtree(packed)
        elsewhere = os.path.join(work, "somewhere else")
        os.mkdir(elsewhere)

        env = dict(os.environ, DISPLAY=self.display.name, NO_AT_BRIDGE="1", GDK_BACKEND="x11")
        env.pop("WAYLAND_DISPLAY", None)
        # gio ends once the book is started; the book stays in gio's process group.
        launcher = subprocess.Popen(["gio", "launch", os.path.join(copied, "atlas.desktop")],
                                    cwd=elsewhere, env=env, stdin=subprocess.DEVNULL,
                                    start_new_session=True)
        self.addCleanup(self.kill_group, launcher.pid)
        self.assertEqual(launcher.wait(timeout=60), 0)
        window = self.display.wait_for_window(TITLE, timeout=60)
        self.display.close_window(window)

    @staticmethod
    def kill_group(group):
        try:
            os.killpg(group, signal.SIGKILL)
        except ProcessLookupError:
            pass


if __name__ == "__main__":
    unittest.main()
