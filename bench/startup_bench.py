#!/usr/bin/env python3
"""Start-up time, idle CPU and resident memory of the built program under Xvfb.

Start-up is measured from process start until its main window is mapped (xdotool
polling), against a minimal Qt program with one QWebEngineView in the same run.
Run from the repository: python3 bench/startup_bench.py [build-dir] [rounds]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
program_dir = os.path.join(build, "tongxue")
minimal = os.path.join(build, "bench", "minimal_webview")
page = os.path.join(program_dir, "site", "second", "guanggao.htm")
TITLE = "绿色免费软件"
HZ = os.sysconf("SC_CLK_TCK")
IDLE_SECONDS = 30.0


def wait_mapped(name, deadline=30.0):
    start = time.monotonic()
    while time.monotonic() - start < deadline:
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                           capture_output=True, text=True)
        if r.stdout.strip():
            return True
        time.sleep(0.005)
    return False


def tree(pid):
    out = [pid]
    for child in subprocess.run(["pgrep", "-P", str(pid)], capture_output=True,
                                text=True).stdout.split():
        out += tree(int(child))
    return out


def cpu_ticks(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except FileNotFoundError:
            pass
    return total


def rss_kib(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass
    return total


def time_start(cmd, cwd, name, env):
    t0 = time.monotonic()
    proc = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    ok = wait_mapped(name)
    elapsed = time.monotonic() - t0
    return proc, elapsed if ok else None


def main():
    # Xvfb chooses a free display and reports it once it accepts connections; -noreset keeps
    # it from resetting, and refusing connections, each time its last client leaves.
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
                             "-screen", "0", "1024x768x24"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, pass_fds=(write_end,))
    os.close(write_end)
    with os.fdopen(read_end) as announced:
        display = ":" + announced.readline().strip()
    os.environ["DISPLAY"] = display
    work = tempfile.mkdtemp(prefix="tx-bench-")
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy",
               QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu",
               TONGXUE_REGISTRY_FILE=os.path.join(work, "registry.json"))
    env.pop("QT_QPA_PLATFORM", None)
    try:
        # A private copy of the program folder, so the user's database is never touched.
        copy = os.path.join(work, "tongxue")
        shutil.copytree(program_dir, copy, symlinks=True)
        program = [os.path.join(copy, "tongxue")]
        floor, ours = [], []
        for _ in range(rounds):
            p, t = time_start([minimal, page], work, "minimal-webview", env)
            if _ == rounds - 1:
                time.sleep(5.0)
                floor_mem = rss_kib(tree(p.pid)) / 1024.0
            p.kill(); p.wait()
            floor.append(t)
            p, t = time_start(program, copy, TITLE, env)
            ours.append(t)
            if _ == rounds - 1:
                # Idle once the first page has settled and the courseware prewarm, which
                # starts after the window is shown and takes a few seconds, is over; 30 s
                # so that one clock tick is 0.03 %.
                time.sleep(20.0)
                pids = tree(p.pid)
                c0 = cpu_ticks(pids)
                time.sleep(IDLE_SECONDS)
                pids = tree(p.pid)
                idle = (cpu_ticks(pids) - c0) / HZ / IDLE_SECONDS * 100.0
                mem = rss_kib(pids) / 1024.0
            p.kill(); p.wait()
        floor = sorted(x for x in floor if x is not None)
        ours = sorted(x for x in ours if x is not None)
        f, o = floor[len(floor) // 2], ours[len(ours) // 2]
        print(f"start-up, median of {rounds}: minimal web view {f*1000:.0f} ms, "
              f"tongxue {o*1000:.0f} ms, ratio {o/f:.2f} (goal <= 1.3)")
        print(f"idle main window: {idle:.2f}% of a core over {IDLE_SECONDS:.0f} s, 20 s after "
              f"start-up (goal < 1%), "
              f"memory (PSS, all processes) {mem:.0f} MiB, minimal web view {floor_mem:.0f} MiB")
    finally:
        xvfb.terminate()  # not killed, so that it removes its lock file and socket
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
