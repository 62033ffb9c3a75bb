"""Watches the X display for a program's first page: a viewable top-level window with a given
title and at least a given size. Wine makes one X window per top-level Windows window."""
import ctypes
import ctypes.util

_x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_x.XOpenDisplay.restype = ctypes.c_void_p
_x.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x.XDefaultRootWindow.restype = ctypes.c_ulong
_x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                          ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                          ctypes.POINTER(ctypes.c_uint)]
_x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
_x.XFree.argtypes = [ctypes.c_void_p]
_x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]


class _Attributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


_x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(_Attributes)]
IS_VIEWABLE = 2

# A window may go between listing and asking about it; Xlib's default handler would end the
# process on that error.
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
_x.XSetErrorHandler(_ERROR_HANDLER)


class Display:
    def __init__(self, name):
        self.display = _x.XOpenDisplay(name.encode())
        if not self.display:
            raise RuntimeError(f"cannot open the X display {name}")
        self.root = _x.XDefaultRootWindow(self.display)

    def windows(self):
        """(title, width, height) of every viewable top-level window."""
        _x.XSync(self.display, 0)
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not _x.XQueryTree(self.display, self.root, ctypes.byref(root), ctypes.byref(parent),
                             ctypes.byref(children), ctypes.byref(count)):
            return []
        found = []
        try:
            for i in range(count.value):
                attributes = _Attributes()
                if not _x.XGetWindowAttributes(self.display, children[i], ctypes.byref(attributes)):
                    continue
                if attributes.map_state != IS_VIEWABLE:
                    continue
                name = ctypes.c_char_p()
                title = ""
                if _x.XFetchName(self.display, children[i], ctypes.byref(name)) and name.value is not None:
                    title = name.value.decode(errors="replace")
                    _x.XFree(name)
                found.append((title, attributes.width, attributes.height))
        finally:
            if children:
                _x.XFree(children)
        return found

    def shows(self, title, min_width, min_height):
        return any(t == title and w >= min_width and h >= min_height for t, w, h in self.windows())
