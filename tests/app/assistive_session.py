#!/usr/bin/python3
"""End-to-end, as a screen reader uses the program: through the accessibility bus only.

1. Every button and clickable label of the main window, the quiz and each web window, the
   sponsor band, and entries of the learning windows' lists and trees are pressed through
   the bus; every reply must come within 500 ms (a screen reader reports a
   program that does not answer as hung), and what the control does must be seen to happen.
2. Each window that appears has its whole accessible tree read, as a screen reader does when
   a window appears; two courseware movies are opened in turn, and the program must stay up.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session_support import (press_close_box, program_on_bus, run_in_session,  # noqa: E402
                             wait_for)

TITLE = "绿色免费软件->声音+图文并茂的最好教学平台->NEW-> 实现了<在线-离线 幼儿课件FALSH教学>"
REPLY_LIMIT = 0.5
ACTIONS = ("Press", "Toggle")


class Session:
    def __init__(self, program):
        import pyatspi
        self.pyatspi = pyatspi
        self.program = program
        self.replies = []

    # ---- reading ---------------------------------------------------------------------

    def walk(self, node, depth=0):
        """Reads everything a screen reader reads of node and below; answers the count."""
        assert self.program.alive(), "the program ended while its tree was read"
        if node is None:
            return 0
        node.name, node.getRoleName(), node.description
        node.getState().getStates()
        try:
            node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        except NotImplementedError:
            pass
        try:
            text = node.queryText()
            text.getText(0, min(text.characterCount, 200))
        except NotImplementedError:
            pass
        try:
            action = node.queryAction()
            [action.getName(i) for i in range(action.nActions)]
        except NotImplementedError:
            pass
        count = 1
        if depth < 40:
            for i in range(node.childCount):
                count += self.walk(node.getChildAtIndex(i), depth + 1)
        return count

    def actionable(self, root):
        found = []

        def collect(node, depth=0):
            if node is None or depth > 40:
                return
            if node.getRoleName() in ("push button", "radio button", "check box", "label",
                                      "static", "toggle button", "panel"):
                try:
                    action = node.queryAction()
                    names = [action.getName(i) for i in range(action.nActions)]
                    if any(a in names for a in ACTIONS):
                        found.append(node)
                except NotImplementedError:
                    pass
            # Web content belongs to the page, not to the window's own controls.
            if node.getRoleName() in ("document web", "document frame", "frame") and depth:
                return
            for i in range(node.childCount):
                collect(node.getChildAtIndex(i), depth + 1)

        collect(root)
        return found

    # ---- acting ----------------------------------------------------------------------

    def press(self, node, label=None):
        label = label or "%s %r" % (node.getRoleName(), node.name)
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        index = next((names.index(a) for a in ACTIONS if a in names), None)
        assert index is not None, "%s offers %r" % (label, names)
        start = time.monotonic()
        action.doAction(index)
        took = time.monotonic() - start
        self.replies.append((label, took))
        assert took < REPLY_LIMIT, "%s: the press answered after %.0f ms" % (label, took * 1000)
        return took

    def new_window(self, before, timeout=20.0):
        def appeared():
            for w in self.program.windows():
                if w.name not in before and w.getState().contains(self.pyatspi.STATE_SHOWING):
                    return w
            return None
        return wait_for("a new window", appeared, timeout)

    def names(self):
        return {w.name for w in self.program.windows()
                if w.getState().contains(self.pyatspi.STATE_SHOWING)}

    def gone(self, name, timeout=20.0):
        wait_for("window %r closed" % name, lambda: name not in self.names(), timeout)

    def close(self, window):
        """Closes a window as its user would: its own return or OK button, else Esc."""
        name = window.name
        for role, caption in (("push button", "返回→"), ("push button", "OK"),
                              ("push button", "返回"), ("push button", "确定")):
            button = self.program.find(window, role, caption)
            if button is not None:
                self.press(button, "%r of %r" % (caption, name))
                self.gone(name)
                return
        # Else its close box.
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                "^" + re.escape(name) + "$"], capture_output=True, text=True)
        ids = found.stdout.split()
        assert ids, "no X window named %r" % name
        press_close_box(int(ids[-1]))
        self.gone(name)

    def opens_window(self, node, expect=None, read=True, then=None):
        """Presses node; a window must appear (named as expected); it is read and closed."""
        before = self.names()
        label = "%s %r" % (node.getRoleName(), node.name)
        self.press(node, label)
        window = self.new_window(before)
        if expect is not None:
            assert expect(window.name), "%s opened %r" % (label, window.name)
        if read:
            time.sleep(0.5)
            count = self.walk(window)
            print("  %s -> %r, %d accessible nodes read" % (label, window.name, count))
        if then is not None:
            then(window)
        if window.name in self.names():
            self.close(window)
        return window


def make_movies(program_dir, folder, count):
    """Copies of the sample courseware under other names, so each is a different file."""
    sample = os.path.join(program_dir, "site", "second", "kejian", "sample.swf")
    paths = []
    for i in range(count):
        path = os.path.join(folder, "课件 %d.swf" % (i + 1))
        shutil.copy(sample, path)
        paths.append(path)
    return paths


def choose_file(session, path):
    """The file dialog of "离线课件效果": the path typed into its name box, then Open."""
    program = session.program
    dialog = wait_for("the file dialog", lambda: program.window(lambda n: n == "打开"))
    time.sleep(0.3)
    box = wait_for("the file name box", lambda: session.pyatspi.findDescendant(
        dialog, lambda n: n is not None and n.getRoleName() == "text" and
        n.getState().contains(session.pyatspi.STATE_EDITABLE)))
    box.queryEditableText().setTextContents(path)
    button = wait_for("Open", lambda: program.find(dialog, "push button", "Open") or
                      program.find(dialog, "push button", "打开"))
    session.press(button, "Open of the file dialog")


def inside(program_dir):
    with program_on_bus(program_dir) as program:
        s = Session(program)
        find = program.find
        wait_for("the program on the accessibility bus", program.application)
        main = wait_for("the main window", lambda: program.window(lambda n: n == TITLE))
        wait_for("the main window's buttons", lambda: find(main, "push button", "退出→"))
        print("main window: %d accessible nodes read" % s.walk(main))

        # -- courseware: two movies in turn, each window read whole --------------------
        movies = make_movies(program_dir, program.work, 2)

        def movie_shown(window):
            wait_for("the movie playing", lambda: s.pyatspi.findDescendant(
                window, lambda n: n is not None and n.name == "课件-播放中") or None,
                timeout=60.0)

        for path in movies:
            before = s.names()
            s.press(find(main, "push button", "离线课件效果"))
            choose_file(s, path)
            window = s.new_window(before - {"打开"} | {"打开"})
            assert window.name.startswith("课件:你选择的课件"), window.name
            time.sleep(1.0)
            for _ in range(3):  # as a screen reader does, again while the movie loads
                count = s.walk(window)
                time.sleep(0.3)
            print("  courseware %r: %d accessible nodes read" % (os.path.basename(path), count))
            s.close(window)
            time.sleep(0.5)
            assert program.alive(), "the program ended after reading the courseware window"
        s.opens_window(find(main, "push button", "在线课件效果"),
                       lambda n: n.startswith("课件:幼儿识字"))

        # Cancelling the file dialog: the warning, then nothing opens.
        s.press(find(main, "push button", "离线课件效果"))
        dialog = wait_for("the file dialog", lambda: program.window(lambda n: n == "打开"))
        s.press(wait_for("Cancel", lambda: find(dialog, "push button", "Cancel") or
                         find(dialog, "push button", "取消")))
        warning = wait_for("the warning", lambda: program.window(lambda n: n == "关于选取.swf文件"))
        s.walk(warning)
        s.press(wait_for("确定", lambda: find(warning, "push button", "确定")))
        s.gone("关于选取.swf文件")

        # -- the main window's links and tool bar ---------------------------------------
        def about(window):
            # The address label opens the maker's page window above the About window.
            address = next(n for n in s.actionable(window) if n.getRoleName() == "label")
            s.opens_window(address)

        openers = [
            ("label", lambda n: n.endswith("-幼儿园小学管理软件 第一品牌"), None),
            ("label", lambda n: n == "中小学教育资源中心", None),
            ("label", lambda n: n == "大旗育儿频道", None),
            ("label", lambda n: n == "中华儿童网", None),
            ("label", lambda n: n == "美国签证专家", None),
            ("label", lambda n: n == "电脑维修服务中心", None),
            ("label", lambda n: n == "->您的广告位置", None),
            ("push button", lambda n: n == "关于沐川", about),
            ("push button", lambda n: n == "软件升级", None),
            ("push button", lambda n: n == "用户反馈专栏", None),
            ("push button", lambda n: n == "课件网址收集", None),
            ("push button", lambda n: n == "实用网址", None),
        ]
        # The band itself, beside its labels.
        band = [n for n in s.actionable(main) if n.getRoleName() == "panel"]
        assert len(band) == 1, "pressable panels: %r" % [n.name for n in band]
        s.opens_window(band[0])

        for role, name, then in openers:
            node = s.pyatspi.findDescendant(
                main, lambda n: n is not None and n.getRoleName() == role and name(n.name))
            assert node is not None, "no %s on the main window" % role

            def each_control(window, then=then):
                if then is not None:
                    then(window)
                    return
                # Every control of a web window, pressed in turn; windows they open are
                # read and closed.
                for control in s.actionable(window):
                    if control.name in ("返回→", "OK"):
                        continue
                    before = s.names()
                    s.press(control, "%r in %r" % (control.name, window.name))
                    if control.getRoleName() == "radio button":
                        wait_for("%r marked" % control.name, lambda c=control: c.getState()
                                 .contains(s.pyatspi.STATE_CHECKED))
                    time.sleep(0.3)
                    extra = s.names() - before
                    for other in [w for w in program.windows() if w.name in extra]:
                        s.walk(other)
                        s.close(other)

            s.opens_window(node, then=each_control)

        for radio in [n for n in s.actionable(main) if n.getRoleName() == "radio button"]:
            s.press(radio)
            wait_for("%r marked" % radio.name,
                     lambda: radio.getState().contains(s.pyatspi.STATE_CHECKED))

        # -- the quiz: every control, also while an exercise is spoken -------------------
        quiz = s.opens_window(find(main, "push button", "幼儿算数"),
                              lambda n: n.startswith("幼儿算数->"),
                              then=lambda w: quiz_controls(s, w))

        # -- the learning windows: an entry pressed acts as a click on it -----------------
        s.opens_window(find(main, "push button", "幼儿识字"), lambda n: n.startswith("识字教学->"),
                       then=lambda w: literacy_entries(s, w))
        for caption in ("幼儿学诗", "幼儿学英语"):
            s.opens_window(find(main, "push button", caption), then=lambda w: tree_entries(s, w))
        s.opens_window(find(main, "push button", "美食菜谱"))

        s.press(find(main, "push button", "退出→"))
        box = wait_for("the quit question", lambda: program.window(lambda n: n == "系统信息"))
        s.walk(box)
        s.press(wait_for("是(Y)", lambda: find(box, "push button", "是(Y)")))
        status = program.proc.wait(timeout=30)
        assert status == 0, "exit status %d" % status
        slowest = max(s.replies, key=lambda r: r[1])
        print("%d presses answered, slowest %.0f ms (%s)" % (len(s.replies), slowest[1] * 1000,
                                                              slowest[0]))
        return 0


def descendants(root, role):
    import pyatspi
    found = []
    pyatspi.findAllDescendants(root, lambda n: n is not None and n.getRoleName() == role and
                               found.append(n) is None)
    return found


def pressable(nodes):
    """Leaves out the items of a combo box's list, which only select."""
    def offers_press(node):
        action = node.queryAction()
        return "Press" in [action.getName(i) for i in range(action.nActions)]
    return [n for n in nodes if offers_press(n)]


def literacy_entries(s, window):
    """A character pressed opens its pronunciation window, closed again during its plays."""
    entries = wait_for("the characters as list items",
                       lambda: pressable(descendants(window, "list item")) or None)
    entry = entries[min(1, len(entries) - 1)]
    before = s.names()
    s.press(entry, "character %r" % entry.name)
    shown = s.new_window(before)
    assert shown.name.startswith("课件网址:"), shown.name
    wait_for("%r in the pronunciation window" % entry.name,
             lambda: s.program.find(shown, "label", entry.name))
    print("  pressed %r: %d accessible nodes read" % (entry.name, s.walk(shown)))
    s.close(shown)


def tree_entries(s, window):
    """The second entry pressed shows its own text instead of the first one's."""
    # Qt's bridge gives tree items the role of a table cell.
    entries = wait_for("the entries as tree items", lambda: pressable(
        descendants(window, "table cell") + descendants(window, "tree item")) or None)
    assert len(entries) >= 2, "the first chapter of %r has %d entries" % (window.name,
                                                                         len(entries))
    shown = next(n for n in descendants(window, "text")
                 if not n.getState().contains(s.pyatspi.STATE_EDITABLE))

    def text():
        t = shown.queryText()
        return t.getText(0, t.characterCount)

    first = wait_for("the first entry's text", lambda: text() or None)
    s.press(entries[1], "entry %r" % entries[1].name)
    wait_for("%r shown" % entries[1].name, lambda: text() != first)
    assert entries[1].getState().contains(s.pyatspi.STATE_SELECTED)
    print("  pressed %r in %r" % (entries[1].name, window.name))


def quiz_controls(s, quiz):
    find = s.program.find
    pyatspi = s.pyatspi
    s.press(wait_for("开始练习", lambda: find(quiz, "push button", "开始练习")))

    def operands():
        digits = []
        pyatspi.findAllDescendants(quiz, lambda n: n is not None and n.getRoleName() == "label"
                                   and n.name.isdigit() and digits.append(int(n.name)) is None)
        return digits if len(digits) >= 2 else None

    # Pressed while the exercise is being spoken: the handler waits seconds, the reply not.
    first, second = wait_for("the two operands", operands)[:2]
    s.press(find(quiz, "push button", str(first + second)))
    wait_for("the score", lambda: find(quiz, "label", "20分"), timeout=30.0)
    s.opens_window(find(quiz, "push button", "使用方法"))
    s.opens_window(find(quiz, "label", "->您的广告位置"))
    for caption in ("-减法运算", "+加法运算"):
        radio = find(quiz, "radio button", caption)
        if radio is not None:
            s.press(radio)
            wait_for("%r marked" % caption, lambda: radio.getState().contains(
                pyatspi.STATE_CHECKED), timeout=30.0)
    for n in range(1, 11):
        s.press(find(quiz, "push button", str(n)))
    print("  quiz: %d accessible nodes read" % s.walk(quiz))


if __name__ == "__main__":
    if len(sys.argv) > 2 and sys.argv[1] == "--inside":
        sys.exit(inside(sys.argv[2]))
    sys.exit(run_in_session(os.path.abspath(sys.argv[1]), os.path.abspath(__file__), timeout=900))
