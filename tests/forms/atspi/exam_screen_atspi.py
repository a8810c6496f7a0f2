#!/usr/bin/env python3
"""Drives the exam screen through the AT-SPI accessibility bus, as a screen reader does: one
question of each choice kind is answered with the controls' actions only (moving with "下一题"),
then the rows are read back from the bank with the SQLCipher shell.

    exam_screen_atspi.py DRIVER SQLCIPHER

Run it on an X display inside a D-Bus session (run_atspi_test.sh sets both up)."""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

driver, sqlcipher = sys.argv[1], sys.argv[2]
failures = []


def check(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


def find_application(name, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    raise SystemExit(f"{name} never appeared on the accessibility bus")


def find(root, name, role=None):
    """The first showing control with that accessible name (breadth first)."""
    pending = [root]
    while pending:
        node = pending.pop(0)
        try:
            state = node.getState()
            if node.name == name and state.contains(pyatspi.STATE_SHOWING) and (
                    role is None or node.getRole() == role):
                return node
            pending.extend(child for child in node if child is not None)
        except Exception:
            continue
    return None


def act(app, name, action, role=None):
    node = None
    end = time.time() + 10
    while node is None and time.time() < end:
        node = find(app, name, role)
        if node is None:
            time.sleep(0.1)
    if node is None:
        raise SystemExit(f"no showing control named {name}")
    actions = node.queryAction()
    names = [actions.getName(i).lower() for i in range(actions.nActions)]
    if action not in names:
        raise SystemExit(f"{name} offers {names}, not {action}")
    actions.doAction(names.index(action))
    time.sleep(0.4)  # a button's press is an animated click


def heading(app):
    # The heading label above the question ("多选题 第2题").
    pending = [app]
    while pending:
        node = pending.pop(0)
        try:
            if node.getRole() == pyatspi.ROLE_LABEL and " 第" in (node.name or "") and node.name.endswith("题"):
                return node.name
            pending.extend(child for child in node if child is not None)
        except Exception:
            continue
    return None


def expect_heading(app, want, timeout=10):
    """Waits for the question heading (a press lands a moment after the action)."""
    end = time.time() + timeout
    got = heading(app)
    while got != want and time.time() < end:
        time.sleep(0.1)
        got = heading(app)
    check("heading", got, want)


def stored(folder, table, number, column):
    sql = (f"PRAGMA key='5820417';\n"
           f"select {column} from {table} where tihao collate binary = '{number}';\n")
    out = subprocess.run([sqlcipher, os.path.join(folder, "kstk.dat")], input=sql,
                         capture_output=True, text=True, check=True).stdout.splitlines()
    return out[-1] if out and out[-1] != "ok" else ""


with tempfile.TemporaryDirectory() as folder:
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1")
    proc = subprocess.Popen([driver, folder], env=env, stdout=subprocess.PIPE, text=True)
    try:
        if proc.stdout.readline().strip() != "ready":
            raise SystemExit("the driver did not start")
        app = find_application("会计从业资格考试")
        toggle, press = "toggle", "press"
        act(app, "单选 C", toggle, pyatspi.ROLE_RADIO_BUTTON)
        act(app, "下一题", press)
        expect_heading(app, "多选题 第2题")
        act(app, "多选 D", toggle, pyatspi.ROLE_CHECK_BOX)
        act(app, "多选 A", toggle, pyatspi.ROLE_CHECK_BOX)
        act(app, "下一题", press)
        expect_heading(app, "是非题 第3题")
        act(app, "判断 错误", toggle, pyatspi.ROLE_RADIO_BUTTON)
        act(app, "下一题", press)
        expect_heading(app, "计算分析 第4题")
        act(app, "计算分析 第二题 B", toggle, pyatspi.ROLE_CHECK_BOX)
        act(app, "下一题", press)
        expect_heading(app, "案例分析 第5题")
        act(app, "案例分析 第五题 D", toggle, pyatspi.ROLE_CHECK_BOX)
        check("hand-in button", find(app, "交卷", pyatspi.ROLE_PUSH_BUTTON) is not None, True)
    finally:
        proc.terminate()
        proc.wait(timeout=20)

    check("dds 1 xuan", stored(folder, "dds", "1", "xuan"), "c")
    check("duo 2 xuan", stored(folder, "duo", "2", "xuan"), "ad")
    check("sf 3 xuan", stored(folder, "sf", "3", "xuan"), "b")
    check("jsfx 4 myc2", stored(folder, "jsfx", "4", "myc2"), "b")
    check("anli 5 myc5", stored(folder, "anli", "5", "myc5"), "d")

for failure in failures:
    print("FAIL", failure)
print(f"{1 if not failures else 0} passed, {1 if failures else 0} failed")
sys.exit(1 if failures else 0)
