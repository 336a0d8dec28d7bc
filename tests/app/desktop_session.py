#!/usr/bin/python3
"""End-to-end: the built program on a copy of its starter library, in a real X session
(Xvfb) with the accessibility bus, driven only through what assistive technology sees.

It starts the program, finds the main window and its buttons by role and name, opens
literacy and clicks a character (a real click) to see the pronunciation window with it, opens
the arithmetic quiz, starts it, presses an answer button and reads the changed labels back, then
quits through "退出→" and its confirmation, and checks the exit status.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TITLE = "绿色免费软件->声音+图文并茂的最好教学平台->NEW-> 实现了<在线-离线 幼儿课件FALSH教学>"


def start_session(program_dir):
    """Xvfb plus a private session bus, then this script again inside them."""
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
        return subprocess.run(["dbus-run-session", "--", sys.executable, __file__, "--inside",
                               program_dir], env=env, timeout=240).returncode
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
        if found is not None:
            return found
        time.sleep(0.1)
    raise AssertionError("not found within %.0f s: %s" % (timeout, what))


def click_at(node, dx=None, dy=None):
    """A real click of the window system, at the node's centre or at an offset into it."""
    import pyatspi
    ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x = ext.x + (ext.width // 2 if dx is None else dx)
    y = ext.y + (ext.height // 2 if dy is None else dy)
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def literacy(app, main, find, press):
    """Opens literacy, clicks a character, reads the pronunciation window, leaves both."""
    import pyatspi

    def window(prefix):
        return lambda: next((w for w in app if w is not None and w.name.startswith(prefix)),
                            None)

    press(find(main, "push button", "幼儿识字"))
    lit = wait_for("the literacy window", window("识字教学->"))
    entry = wait_for("the character 一 as a list item", lambda: pyatspi.findDescendant(
        lit, lambda n: n is not None and n.getRoleName() == "list item" and n.name == "一"))
    click_at(entry)
    shown = wait_for("the pronunciation window", window("课件网址:"))
    wait_for("the character in it", lambda: find(shown, "label", "一"))
    wait_for("its pronunciation line", lambda: pyatspi.findDescendant(
        shown, lambda n: n is not None and n.getRoleName() == "label" and
        n.name.startswith("发音+词组: ")))
    assert find(shown, "label", "此字没有录音,请录制声音进行教学") is None or not \
        find(shown, "label", "此字没有录音,请录制声音进行教学").getState().contains(
            pyatspi.STATE_SHOWING), "the recording was not found"
    # Both plays and the waits take about 7.5 s; a click on the free surface then closes it.
    time.sleep(8.5)
    ext = shown.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    click_at(shown, 10, ext.height - 10)
    wait_for("the pronunciation window closed",
             lambda: None if window("课件网址:")() is not None else True)
    print("literacy: clicked 一, saw it with its pronunciation line")
    press(find(lit, "push button", "返回→"))
    wait_for("the literacy window closed",
             lambda: None if window("识字教学->")() is not None else True)


def inside(program_dir):
    import pyatspi

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
                   TONGXUE_REGISTRY_FILE=os.path.join(work, "registry.json"))
        time.sleep(0.5)
        proc = subprocess.Popen([os.path.join(copy, "tongxue")], cwd=copy, env=env)

        def application():
            assert proc.poll() is None, "the program ended at once with status %d" % proc.returncode
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.get_process_id() == proc.pid:
                    return app
            return None

        def find(root, role, name):
            return pyatspi.findDescendant(
                root, lambda n: n is not None and n.getRoleName() == role and n.name == name)

        def press(node):
            action = node.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            assert "Press" in names, "%r offers %r" % (node.name, names)
            action.doAction(names.index("Press"))

        app = wait_for("the program on the accessibility bus", application)
        main = wait_for("the main window", lambda: next(
            (w for w in app if w is not None and w.name == TITLE), None))
        for caption in ["幼儿识字", "幼儿学诗", "幼儿学英语", "幼儿算数", "美食菜谱", "实用网址",
                        "最小化", "退出→"]:
            wait_for("button " + caption, lambda: find(main, "push button", caption))

        literacy(app, main, find, press)

        press(find(main, "push button", "幼儿算数"))
        quiz = wait_for("the quiz window", lambda: next(
            (w for w in app if w is not None and w.name.startswith("幼儿算数->")), None))
        press(wait_for("开始练习", lambda: find(quiz, "push button", "开始练习")))
        # The operands appear at once; the answer buttons take input once they are spoken.
        def operands():
            digits = []
            pyatspi.findAllDescendants(quiz, lambda n: n is not None and
                                       n.getRoleName() == "label" and n.name.isdigit() and
                                       digits.append(int(n.name)) is None)
            return digits if len(digits) >= 2 else None

        first, second = wait_for("the two operands", operands)[:2]
        press(find(quiz, "push button", str(first + second)))
        wait_for("the score after a right answer",
                 lambda: find(quiz, "label", "20分"), timeout=30.0)
        wait_for("the mark", lambda: find(quiz, "label", "√") or pyatspi.findDescendant(
            quiz, lambda n: n is not None and n.name == "√"))
        print("%d + %d answered, score read back" % (first, second))
        press(find(quiz, "push button", "返回→"))
        wait_for("the quiz closed", lambda: None if any(
            w is not None and w.name.startswith("幼儿算数->") for w in app) else True)

        press(find(main, "push button", "退出→"))
        box = wait_for("the quit question", lambda: next(
            (w for w in app if w is not None and w.name == "系统信息"), None))
        yes = wait_for("Yes", lambda: find(box, "push button", "Yes") or
                       find(box, "push button", "&Yes") or find(box, "push button", "是(Y)"))
        press(yes)
        status = proc.wait(timeout=30)
        assert status == 0, "exit status %d" % status
        print("started, answered, quit cleanly")
        return 0
    finally:
        if proc is not None and proc.poll() is None:
            proc.kill()
            proc.wait()
        os.killpg(bus.pid, signal.SIGTERM)
        bus.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) > 2 and sys.argv[1] == "--inside":
        sys.exit(inside(sys.argv[2]))
    sys.exit(start_session(os.path.abspath(sys.argv[1])))
