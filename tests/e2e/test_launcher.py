"""The desktop launcher that quillora-pack writes beside an e-book, started from another working
folder: by `gio launch`, and by GLib's launcher given the launcher's file as file managers give
it, after the book's folder was copied elsewhere."""

import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import unittest

from quillora_e2e import PACK, RUNTIME, E2ETestCase

SOURCE = os.path.join(os.path.dirname(__file__), "..", "..", "examples", "atlas")
TITLE = "Atlas of the North"  # the sample's title setting


def kill_books_in(folder):
    """Ends every process whose program lies in `folder`."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            program = os.readlink(f"/proc/{pid}/exe")
        except OSError:
            continue
        if program.startswith(folder + os.sep):
            try:
                os.kill(int(pid), signal.SIGKILL)
            except ProcessLookupError:
                pass


def launch_as_file_manager(launcher, env):
    """Starts a launcher the way file managers do: GLib's launcher made from the file, so that
    %k names it."""
    gio = ctypes.CDLL("libgio-2.0.so.0")
    gio.g_desktop_app_info_new_from_filename.restype = ctypes.c_void_p
    gio.g_desktop_app_info_new_from_filename.argtypes = [ctypes.c_char_p]
    gio.g_app_launch_context_new.restype = ctypes.c_void_p
    gio.g_app_launch_context_setenv.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p]
    gio.g_app_info_launch.argtypes = [ctypes.c_void_p] * 4
    gio.g_object_unref.argtypes = [ctypes.c_void_p]
    info = gio.g_desktop_app_info_new_from_filename(launcher.encode())
    if not info:
        raise AssertionError(f"GLib does not read {launcher} as a launcher")
    context = gio.g_app_launch_context_new()
    for name, value in env.items():
        gio.g_app_launch_context_setenv(context, name.encode(), value.encode())
    started = gio.g_app_info_launch(info, None, context, None)
    gio.g_object_unref(context)
    gio.g_object_unref(info)
    return started


class Launcher(E2ETestCase):
    def setUp(self):
        if not PACK:
            self.skipTest("QUILLORA_PACK does not name the built quillora-pack")
        self.work = tempfile.mkdtemp(prefix="quillora-e2e-launcher-")
        self.addCleanup(shutil.rmtree, self.work, True)
        self.addCleanup(kill_books_in, self.work)
        # A folder name that needs quoting on the launcher's Exec line.
        self.packed = os.path.join(self.work, "packed $HOME 100%")
        subprocess.run([PACK, "--runtime", RUNTIME, SOURCE, "-o", self.packed + "/"], check=True)
        self.elsewhere = os.path.join(self.work, "somewhere else")
        os.mkdir(self.elsewhere)
        self.env = {"DISPLAY": self.display.name, "NO_AT_BRIDGE": "1", "GDK_BACKEND": "x11"}

    def see_the_book_open(self):
        window = self.display.wait_for_window(TITLE, timeout=60)
        self.display.close_window(window)

    def test_gio_launch_opens_the_book_where_it_was_written(self):
        env = dict(os.environ, **self.env)
        env.pop("WAYLAND_DISPLAY", None)
        status = subprocess.run(["gio", "launch", os.path.join(self.packed, "atlas.desktop")],
                                cwd=self.elsewhere, env=env, stdin=subprocess.DEVNULL,
                                timeout=60).returncode
        self.assertEqual(status, 0)
        self.see_the_book_open()

    def test_a_file_manager_opens_the_book_of_a_copied_folder(self):
        copied = os.path.join(self.work, "copied `x` \"y\"")
        shutil.copytree(self.packed, copied, symlinks=True)
        shutil.rmtree(self.packed)
        os.chdir(self.elsewhere)
        self.addCleanup(os.chdir, os.path.dirname(os.path.abspath(__file__)))
        self.assertTrue(launch_as_file_manager(os.path.join(copied, "atlas.desktop"), self.env))
        self.see_the_book_open()


if __name__ == "__main__":
    unittest.main()
