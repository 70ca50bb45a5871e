"""The screen of an X display read directly through Xlib (ctypes), for the measuring scripts.

Finds the viewable top-level windows and looks for a pixel of a given colour in a part of the
screen, so a script can tell from outside when a program's window appears and when its page is
painted, without asking the program anything.
"""

import ctypes
import sys


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_char)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int),
                ("depth", ctypes.c_int), ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong),
                ("class_", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormaps", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
                ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
                ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
                ("screen", ctypes.c_void_p)]


IS_VIEWABLE = 2
Z_PIXMAP = 2
ALL_PLANES = ctypes.c_ulong(0xFFFFFFFF)


def pixel_bytes(css_colour):
    """'#rrggbb' as the bytes of one pixel of a 24-bit screen (blue first)."""
    value = int(css_colour.lstrip("#"), 16)
    return bytes([value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF])


class Screen:
    def __init__(self):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XDisplayWidth.argtypes = x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XGetImage.restype = ctypes.POINTER(XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 2 + [
            ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)), ctypes.POINTER(ctypes.c_uint)]
        x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                 ctypes.POINTER(ctypes.c_char_p)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                           ctypes.POINTER(XWindowAttributes)]
        x.XFree.argtypes = [ctypes.c_void_p]
        # A window may go away between listing it and asking about it: ignore such errors.
        self.on_error = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
            lambda display, event: 0)
        x.XSetErrorHandler(self.on_error)
        self.x = x
        self.display = x.XOpenDisplay(None)
        if not self.display:
            sys.exit("no X display; run the script under scripts/with-xvfb")
        self.root = x.XDefaultRootWindow(self.display)
        self.width = x.XDisplayWidth(self.display, 0)
        self.height = x.XDisplayHeight(self.display, 0)

    def viewable_windows(self):
        """[(name or b'', (x, y, width, height))] of the viewable top-level windows that a
        window manager would manage (menus and tooltips set override-redirect and are left out)."""
        x = self.x
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not x.XQueryTree(self.display, self.root, ctypes.byref(root), ctypes.byref(parent),
                            ctypes.byref(children), ctypes.byref(count)):
            return []
        found = []
        try:
            for i in range(count.value):
                a = XWindowAttributes()
                if (not x.XGetWindowAttributes(self.display, children[i], ctypes.byref(a))
                        or a.map_state != IS_VIEWABLE or a.override_redirect):
                    continue
                name = ctypes.c_char_p()
                title = b""
                if x.XFetchName(self.display, children[i], ctypes.byref(name)) and name.value:
                    title = name.value
                    x.XFree(name)
                found.append((title, (a.x, a.y, a.width, a.height)))
        finally:
            if children:
                x.XFree(children)
        return found

    def shows(self, pixel, box=None):
        """Whether the pixel (pixel_bytes) is on the screen, within box (x, y, w, h) if given."""
        left, top, width, height = box or (0, 0, self.width, self.height)
        left, top = max(left, 0), max(top, 0)
        width, height = min(width, self.width - left), min(height, self.height - top)
        if width <= 0 or height <= 0:
            return False
        image = self.x.XGetImage(self.display, self.root, left, top, width, height,
                                 ALL_PLANES, Z_PIXMAP)
        if not image:
            return False
        try:
            size = image.contents.bytes_per_line * image.contents.height
            pixels = ctypes.string_at(image.contents.data, size)
        finally:
            self.x.XDestroyImage(image)
        # Only whole pixels: a match must start on a 4-byte boundary.
        at = pixels.find(pixel)
        while at >= 0 and at % 4:
            at = pixels.find(pixel, at + 1)
        return at >= 0
