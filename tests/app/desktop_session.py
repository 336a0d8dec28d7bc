#!/usr/bin/python3
"""End-to-end: the built program on a copy of its starter library, in a real X session
(Xvfb) with the accessibility bus, driven only through what assistive technology sees.

It starts the program, finds the main window and its buttons by role and name, opens the
arithmetic quiz, starts it, presses an answer button and reads the changed labels back, then
quits through "退出→" and its confirmation, and checks the exit status.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session_support import program_on_bus, run_in_session, wait_for  # noqa: E402

TITLE = "绿色免费软件->声音+图文并茂的最好教学平台->NEW-> 实现了<在线-离线 幼儿课件FALSH教学>"


def click_at(node, dx=None, dy=None):
    """A real click of the window system, at the node's centre or at an offset into it."""
    import subprocess
    import pyatspi
    ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x = ext.x + (ext.width // 2 if dx is None else dx)
    y = ext.y + (ext.height // 2 if dy is None else dy)
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def literacy(program, main, press):
    """Opens literacy, clicks a character, reads the pronunciation window, leaves both."""
    import time
    import pyatspi
    find = program.find

    def window(prefix):
        return lambda: program.window(lambda n: n.startswith(prefix))

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
    missing = find(shown, "label", "此字没有录音,请录制声音进行教学")
    assert missing is None or not missing.getState().contains(pyatspi.STATE_SHOWING), \
        "the recording was not found"
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
    with program_on_bus(program_dir) as program:
        import pyatspi

        find = program.find

        def press(node):
            action = node.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            assert "Press" in names, "%r offers %r" % (node.name, names)
            action.doAction(names.index("Press"))

        wait_for("the program on the accessibility bus", program.application)
        main = wait_for("the main window", lambda: program.window(lambda n: n == TITLE))
        for caption in ["幼儿识字", "幼儿学诗", "幼儿学英语", "幼儿算数", "美食菜谱", "实用网址",
                        "最小化", "退出→"]:
            wait_for("button " + caption, lambda: find(main, "push button", caption))

        literacy(program, main, press)

        press(find(main, "push button", "幼儿算数"))
        quiz = wait_for("the quiz window",
                        lambda: program.window(lambda n: n.startswith("幼儿算数->")))
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
        wait_for("the quiz closed", lambda: None if program.window(
            lambda n: n.startswith("幼儿算数->")) else True)

        press(find(main, "push button", "退出→"))
        box = wait_for("the quit question", lambda: program.window(lambda n: n == "系统信息"))
        yes = wait_for("Yes", lambda: find(box, "push button", "Yes") or
                       find(box, "push button", "&Yes") or find(box, "push button", "是(Y)"))
        press(yes)
        status = program.proc.wait(timeout=30)
        assert status == 0, "exit status %d" % status
        print("started, answered, quit cleanly")
        return 0


if __name__ == "__main__":
    if len(sys.argv) > 2 and sys.argv[1] == "--inside":
        sys.exit(inside(sys.argv[2]))
    sys.exit(run_in_session(os.path.abspath(sys.argv[1]), os.path.abspath(__file__), timeout=240))
