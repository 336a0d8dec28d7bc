"""The built program in a real X session (Xvfb) with its own accessibility bus, for the
end-to-end scripts beside this file.

A script calls run_in_session(program_dir, script) from its main; the script is then run
again inside the session with "--inside program_dir", where program_on_bus() starts the
program on a copy of its starter library and yields it with its accessible application.
"""
import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def run_in_session(program_dir, script, timeout=600):
    """Xvfb plus a private session bus, then script again inside them."""
    # Xvfb picks a free display itself and writes its number once it accepts connections;
    # guessing a number and waiting for its socket is fooled by a stale socket of another run.
    # Without -noreset the server resets whenever its last client leaves, refusing a client
    # that connects meanwhile and dropping the accessibility bus address from the root window.
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
                             "-screen", "0", "1024x768x24"], stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            pass_fds=(write_end,))
    os.close(write_end)
    with os.fdopen(read_end) as announced:
        display = announced.readline().strip()
    assert display.isdigit(), "no X server could start (exit %r)" % xvfb.poll()
    try:
        env = dict(os.environ, DISPLAY=":" + display)
        env.pop("QT_QPA_PLATFORM", None)
        return subprocess.run(["dbus-run-session", "--", sys.executable, script, "--inside",
                               program_dir], env=env, timeout=timeout).returncode
    finally:
        # Terminated, not killed, so that it removes its lock file and socket.
        xvfb.terminate()
        try:
            xvfb.wait(timeout=10)
        except subprocess.TimeoutExpired:
            xvfb.kill()
            xvfb.wait()


def wait_for(what, find, timeout=30.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = find()
        if found is not None and found is not False:
            return found
        time.sleep(0.1)
    raise AssertionError("not found within %.0f s: %s" % (timeout, what))


def press_close_box(window_id):
    """What a window manager sends when a window's close box is clicked: WM_DELETE_WINDOW."""
    import ctypes
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("pad", ctypes.c_long * 12)]

    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(ClientMessage)]
    display = x11.XOpenDisplay(None)
    assert display, "no X display"
    try:
        event = ClientMessage()
        event.type = 33  # ClientMessage
        event.window = window_id
        event.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.data[1] = 0  # CurrentTime
        x11.XSendEvent(display, window_id, 0, 0, ctypes.byref(event))
        x11.XFlush(ctypes.c_void_p(display))
    finally:
        x11.XCloseDisplay(ctypes.c_void_p(display))


class Program:
    """The running program as assistive technology sees it."""

    def __init__(self, proc, work):
        import pyatspi
        self.pyatspi = pyatspi
        self.proc = proc
        self.work = work

    def alive(self):
        return self.proc.poll() is None

    def application(self):
        assert self.alive(), "the program ended with status %d" % self.proc.returncode
        for app in self.pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.proc.pid:
                return app
        return None

    def windows(self):
        """The application's windows that can be read now (one may go while it is read)."""
        from gi.repository import GLib
        app = self.application()
        found = []
        try:
            for w in app or []:
                if w is not None:
                    w.name
                    found.append(w)
        except GLib.GError:
            assert self.alive(), "the program ended with status %d" % self.proc.returncode
        return found

    def window(self, test):
        return next((w for w in self.windows() if test(w.name)), None)

    def find(self, root, role, name):
        return self.pyatspi.findDescendant(
            root, lambda n: n is not None and n.getRoleName() == role and n.name == name)


@contextlib.contextmanager
def program_on_bus(program_dir):
    """The program started from a copy of its folder, on a fresh accessibility bus."""
    # Its own process group, so that its bus daemon ends with it.
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           start_new_session=True)
    work = tempfile.mkdtemp(prefix="tx-e2e-")
    proc = None
    try:
        # The program folder with its own copy of the database; the media are shared.
        copy = os.path.join(work, "tongxue")
        os.mkdir(copy)
        for name in os.listdir(program_dir):
            src = os.path.join(program_dir, name)
            if name.startswith("edusz.mdb"):
                shutil.copy2(src, os.path.join(copy, name))
            else:
                os.symlink(src, os.path.join(copy, name))
        os.unlink(os.path.join(copy, "tongxue"))
        shutil.copy2(os.path.join(program_dir, "tongxue"), os.path.join(copy, "tongxue"))
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy",
                   QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu", QTWEBENGINE_DISABLE_SANDBOX="1",
                   TONGXUE_REGISTRY_FILE=os.path.join(work, "registry.json"),
                   XDG_CACHE_HOME=os.path.join(work, "cache"),
                   XDG_DATA_HOME=os.path.join(work, "data"))
        time.sleep(0.5)
        proc = subprocess.Popen([os.path.join(copy, "tongxue")], cwd=copy, env=env)
        yield Program(proc, work)
    finally:
        if proc is not None and proc.poll() is None:
            proc.kill()
            proc.wait()
        os.killpg(bus.pid, signal.SIGTERM)
        bus.wait()
        shutil.rmtree(work, ignore_errors=True)
