# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
"""What a screen reader finds through AT-SPI (the names and roles of each
control are checked in-process by main_window_test.cpp).

  atspi_probe.py tree PROGRAM   the program's window holds its 13 shown controls
  atspi_probe.py alerts CHILD waits   the wait windows announce their text,
                                      and the X server holds their titles exactly
Exits 1 naming what is wrong."""
import subprocess, sys, threading, time
import pyatspi
from gi.repository import GLib

mode, program = sys.argv[1], sys.argv[2:]
heard, problems = [], []
child = None


def frame():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "vantric":
            for i in range(app.childCount):
                if app.getChildAtIndex(i).name == " Vantric":
                    return app.getChildAtIndex(i)
    return None


def finish():
    window = frame()
    if mode == "tree" and (not window or window.childCount != 13):
        problems.append(f'window " Vantric" holds {window.childCount if window else "no"} controls, not 13')
    for message in ["Please Wait Checking Your Drives", "Please Wait Writing To Disk", "Please Wait Reading From Disk"]:
        if mode == "alerts" and message not in heard:
            problems.append(f'"{message}" was not announced')
    # Checking, writing, reading; Qt alone would put the program's name on the writing window.
    titles = child.stdout.read() if mode == "alerts" and child else ""
    if mode == "alerts" and titles != "           |           \n|\n | \n":
        problems.append(f"the X server holds the titles {titles!r}")
    pyatspi.Registry.stop()


def start():
    global child
    child = subprocess.Popen(program, stdout=subprocess.PIPE if mode == "alerts" else subprocess.DEVNULL, text=True)
    return False


def wait_then_finish():
    for _ in range(100):
        time.sleep(0.2)
        if (mode == "tree" and frame()) or (mode == "alerts" and child and child.poll() is not None):
            break
    time.sleep(0.5)
    GLib.idle_add(lambda: finish() and False)


pyatspi.Registry.registerEventListener(lambda event: heard.append(str(event.any_data)), "object:text-changed:insert")
GLib.timeout_add(500, start)
threading.Thread(target=wait_then_finish, daemon=True).start()
pyatspi.Registry.start()
if child:
    child.kill()
for p in problems:
    print("FAIL:", p, file=sys.stderr)
sys.exit(1 if problems else 0)
